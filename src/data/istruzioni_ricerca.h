#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>
#include <QVector>

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

// --- Reading a list a page at a time ---------------------------------------------------------

// One column of a list's order: an expression a WHERE can compare, and its direction.
struct ColonnaOrdine
{
    QString espressione;
    bool discendente = false;
};

// The order of a list, as far as reading it by pages needs it: the columns of the statement's
// own ORDER BY (aliases written as the columns they stand for), then the waybill's key, added to
// the ORDER BY so that every row's place is unique.
struct Ordinamento
{
    QVector<ColonnaOrdine> proprie;
    QVector<ColonnaOrdine> chiave;

    // Every column, the statement's own first.
    QVector<ColonnaOrdine> colonne() const { return proprie + chiave; }
    // A list without an order of its own cannot be read by pages.
    bool vuoto() const { return proprie.isEmpty(); }
};

// The order of the lists of a mode (TipoRicerca); empty for modes 10 and 11, whose statements
// have no ORDER BY, and for unknown modes.
Ordinamento ordinamento(int tipoRicerca);

// A page of the list `istruzione` (one of the texts above, with its ORDER BY): at most `righe`
// rows (0: no limit, the rest of the list), those after the row whose order values are `dopo`
// (empty: from the first row). Every
// column of the order is selected after the statement's own, aliased chiave_pagina_<n>, so the
// last row of a page gives the values of the next; the waybill's key is added to the ORDER BY.
// Values go in through Sql::letterale; NULL comes first ascending and last descending, as the
// server sorts it. The empty text when the statement has no ORDER BY, the order is empty or
// `dopo` does not give one value per column.
QString pagina(const QString &istruzione, const Ordinamento &ordine, const QVariantList &dopo,
               int righe);

} // namespace IstruzioniRicerca
