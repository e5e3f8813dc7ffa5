#pragma once

#include "data/istruzioni_registro.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

class Connessione;

// The audit trail as the writes use it. A database without the table (one set up before it
// existed) is told apart once per connection text, and its writes go on without audit rows.
namespace Registro {

using IstruzioniRegistro::Autore;

// The computer's name as the system reports it, at most 31 characters.
QString nomeComputer();
// This station and the operating-system user of this process.
Autore autoreLocale();

// Whether the database that `connessione` (open) reaches has the audit table. Asked of the
// server the first time for each connection text, or again with `rileggi`.
bool presente(Connessione &connessione, bool rileggi = false);

// One waybill as a save finds it: its key, its customer and the save's sixteen columns, each a
// null QVariant for NULL or its text (amounts with a point, dates yyyy-mm-dd).
struct StatoLdv
{
    Istruzioni::ChiaveRimessa chiave;
    QString cliente;
    QVector<QVariant> valori;
};
// The waybills that a save of `chiave` writes, on `connessione`; with `blocca` they stay locked
// until the transaction ends.
QList<StatoLdv> leggiStato(const Istruzioni::ChiaveLdv &chiave, bool blocca,
                           Connessione &connessione);
// Every column whose value differs between the two readings of the same waybills.
QList<IstruzioniRegistro::Modifica> modifiche(const QList<StatoLdv> &prima,
                                              const QList<StatoLdv> &dopo);
// Writes the rows of a save's changes, when there are any, inside the caller's transaction.
void registraIncasso(const QList<StatoLdv> &prima, const QList<StatoLdv> &dopo,
                     Connessione &connessione);

} // namespace Registro
