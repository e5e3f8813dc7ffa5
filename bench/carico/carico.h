#pragma once

#include "collection/salvataggioincasso.h"

#include <QString>

// What the stations and the controller of the load driver agree on: who each station is, and
// what each save writes, so that the controller can recognise a save in the database.
namespace Carico {

// The stations' branch: two stations for each of the first ten branches (their computer names
// clean up to one station name, so they take turns on one work table), one for each of the
// others; 40 branches in all (bench/carico/genera.sql).
int filiale(int postazione);
QString codiceFiliale(int postazione); // "01"
// "FILIALE01-PC1", "FILIALE01-PC2", "FILIALE02-PC3": unique per station; the station name (nine
// characters, "-" dropped) is "FILIALE01" for both stations of branch 01.
QString nomeComputer(int postazione);

// Whether the station shares its branch (and its station name) with another of the `postazioni`.
bool inCoppia(int postazione, int postazioni);
// When the stations of a shared branch post its cash-up: half way through the run, one branch
// a second after the other.
qint64 chiusuraCassa(int postazione, qint64 inizioMs, int secondi);

// The customers of a branch: 2001 + c for every c with c mod 40 + 1 = the branch.
QList<int> clientiFiliale(int filiale);

// A save's number: the station and its own count, so that every save is told apart.
inline int idSalvataggio(int postazione, int progressivo)
{
    return postazione * 1000 + progressivo;
}
// The entry a station saves for the waybill (number, branch, date as dd/mm/yyyy): all sixteen
// columns, every value made from the save's number.
DatiIncasso datiSalvataggio(int id, const QString &numero, const QString &filiale,
                            const QString &dataLdv);
// The sixteen columns as the check reads them back, joined by "|" in the order of colonne().
QString colonneAttese(int id);
QString colonne(); // "lefinc, leban, ..."; the save's columns in that order
// The save's number from its cheque number ("S12003" gives 12003); -1 when it is no save's.
int idDaAssegno(const QString &nrAssegno);

} // namespace Carico
