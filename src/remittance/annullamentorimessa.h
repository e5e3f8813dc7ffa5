#pragma once

#include <QDate>
#include <QString>

class Connessione;

namespace AnnullamentoRimessa {

// Cancels the remittance `numero` posted on `data`, on `connessione` (open): its waybills go back
// to collected but not remitted and its remittance rows are deleted, both in one transaction. A
// number that is not a whole number throws ErroreDb before anything runs; a refusal throws after
// the rollback. No waybill and no row has an empty remittance date, so with a null `data`
// nothing is sent (the server would refuse '' as a date) and the cancellation changes nothing.
void annulla(const QString &numero, const QDate &data, Connessione &connessione);

} // namespace AnnullamentoRimessa
