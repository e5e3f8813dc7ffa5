#pragma once

#include <QString>
#include <QStringList>

class Connessione;

// What the save of the collection window reads, as the operator left the fields: plain values,
// so that the checks and the statements can be worked out without the window.
struct GruppoIncasso
{
    QString importo;     // the amount field's plain text ("12,50")
    QString testoCodice; // the code list's text; empty when nothing or the empty entry is chosen
    int codice = -1;     // item data of the chosen entry, -1 when none is chosen
    bool inviato = false;
};

struct DatiIncasso
{
    // The waybill's key as shown: number, branch and date (dd/mm/yyyy).
    QString numeroLdv;
    QString filiale;
    QString dataLdv;

    QString filialeIncasso;
    QString banca;
    QString testoIncassoCon; // the text of the "Incasso con :" list
    int incassoCon = -1;     // item data of its chosen entry
    QString nrAssegno;
    QString piazza;

    GruppoIncasso contrassegno; // group 1
    GruppoIncasso anticipata;   // group 2
    GruppoIncasso assegnato;    // group 3

    QString dataIncasso; // dd/mm/yyyy, or empty / "__/__/____"
    bool passaggioContabile = false;
};

namespace SalvataggioIncasso {

// The title of the checks' messages.
inline QString titoloControlli()
{
    return QStringLiteral("Gestione Riscuti contrassegni");
}

// The message of the first check the entry fails, in the order the operator meets them; empty
// when the entry may be saved. After the five checks of the entry comes the window's own: a
// save needs a waybill shown (number and date), else every update would compare the date with
// an empty text, which the server refuses.
QString controlla(const DatiIncasso &dati);

// The updates of the save, one column each, in the order they run; a column whose field is
// empty (or whose amount is no number in the default locale, Importo::eNumero) is left out. An
// amount goes in with every "," turned into ".", to the cent as the database stores it; a value
// that then cannot go into its statement (a thousands separator, a date that is not one) throws
// ErroreDb before anything runs.
QStringList istruzioni(const DatiIncasso &dati);

// Saves the entry on `connessione`, open: every update in one transaction, all or none. A
// refusal or a lost connection is thrown as ErroreDb after the rollback.
void salva(const DatiIncasso &dati, Connessione &connessione);

} // namespace SalvataggioIncasso
