#pragma once

#include <QDate>
#include <QString>

// Statement texts of the shipment search dialog, one pure function per list. Texts go in through
// Sql::testo, numbers through Sql::intero (blanks around a number are dropped first); a value
// that is not the number a statement needs throws ErroreDb(TipoNonCorrispondente).
namespace IstruzioniRicerca {

// Whether a year typed or handed over selects the statement variant with the year: a whole
// number, blanks around it allowed.
bool eAnno(const QString &anno);

// Mode 1 (waybills from a sender's reference on), first list. The year of the reference date is
// added when `anno` is a year (eAnno), else left out.
QString riferimentiDa(const QString &codiceCliente, const QString &riferimento, const QString &anno,
                      const QString &filiale);
// Mode 1, "&Visualizza" from the reference typed in the dialog.
QString riferimentiDaValore(const QString &codiceCliente, const QString &valore,
                            const QString &filiale);

// Mode 7 (waybills from a number on), first list: the number compared as text, the waybill year
// added when `anno` is a year.
QString numeriDa(const QString &codiceCliente, const QString &filiale, const QString &numero,
                 const QString &anno);
// Mode 7, "&Visualizza": the number compared as a number; the year condition only when
// `annoData` is not empty (compared as text, as typed).
QString numeriDaValore(const QString &codiceCliente, const QString &valore, const QString &annoData,
                       const QString &filiale);

// Mode 10: the waybills of one held-shipment record.
QString spedizioniGiacenza(const QString &giacenza, const QString &annoGiacenza);

// Mode 11, first list: the customer's held shipments of one year.
QString giacenzeAnno(const QString &codiceCliente, int anno);
// Mode 11, "&Visualizza": held from a date on.
QString giacenzeDal(const QString &codiceCliente, const QDate &dal);

// Mode 12, first list: cash-on-delivery rows of the customer in the branch; when `riferimento`
// is not empty only those whose reference contains it.
QString contrassegni(const QString &codiceCliente, const QString &filiale,
                     const QString &riferimento);
// Mode 12, "&Visualizza" with the reference typed in the dialog (empty: every row).
QString contrassegniValore(const QString &codiceCliente, const QString &valore,
                           const QString &filiale);

} // namespace IstruzioniRicerca
