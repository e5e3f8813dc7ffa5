#pragma once

#include "data/istruzioni.h"

#include <QString>
#include <QStringList>

// The nine texts handed to the print component for the remittance letter:
//   0 customer code, 1 query of the waybills to list, 2-4 the letter's lines, 5 the attachment
//   line, 6-8 number, year and branch of the first selected waybill.
// Types 3 ("Invio ns assegno") and 4 ("Bonifico Bancario") describe our cheque or transfer;
// the other types announce the cheques collected for the customer.
namespace DatiLettera {

enum Indice {
    Cliente = 0,
    Query = 1,
    Riga1 = 2,
    Riga2 = 3,
    Riga3 = 4,
    Allegato = 5,
    NumeroLdv = 6,
    AnnoLdv = 7,
    FilialeLdv = 8,
    NumeroDati = 9
};

bool conAssegno(int tipo);

// `assegno.importo` is shown as currency of the default locale. It is not read for the types
// without cheque data.
QStringList componi(const QString &codiceCliente, const QString &query, int tipo,
                    const Istruzioni::DatiAssegno &assegno,
                    const Istruzioni::ChiaveRimessa &primaLdv);

} // namespace DatiLettera
