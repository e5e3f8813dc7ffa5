#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>
#include <QVector>

// Statement texts of the shipment search dialog, one pure function per list. Texts go in through
// Sql::testo, numbers through Sql::intero (blanks around a number are dropped first); a value
// that is not the number a statement needs throws ErroreDb(TipoNonCorrispondente).
namespace IstruzioniRicerca {

// One column of a list's order: an expression a WHERE can compare, its direction, and the alias
// the list's ORDER BY names it by (empty: the ORDER BY writes the expression).
struct ColonnaOrdine
{
    QString espressione;
    bool discendente = false;
    QString alias{};
};

// The order of a list: its own ORDER BY, then the waybill's key, which only a page adds to the
// ORDER BY so that every row's place is unique.
struct Ordinamento
{
    QVector<ColonnaOrdine> proprie;
    QVector<ColonnaOrdine> chiave;

    // Every column, the list's own first.
    QVector<ColonnaOrdine> colonne() const { return proprie + chiave; }
    // A list without an order of its own is read whole.
    bool vuoto() const { return proprie.isEmpty(); }
};

// One list of the dialog, in the parts its statements are composed of: the list's whole text,
// and each page of it (see pagina).
struct ListaRicerca
{
    QString campi;      // "select" and the columns the grid shows
    QString origine;    // from " from " to the end of the WHERE, with every value in it
    Ordinamento ordine; // the ORDER BY (none when empty) and the key of its pages

    // campi + origine + " ORDER BY " + the order's own columns + ";".
    QString testo() const;
};

// Whether a year typed or handed over selects the statement variant with the year: a whole
// number, blanks around it allowed.
bool eAnno(const QString &anno);

// Mode 1 (waybills from a sender's reference on), first list. The year of the reference date is
// added when `anno` is a year (eAnno), else left out.
ListaRicerca riferimentiDa(const QString &codiceCliente, const QString &riferimento,
                           const QString &anno, const QString &filiale);
// Mode 1, "&Visualizza" from the reference typed in the dialog.
ListaRicerca riferimentiDaValore(const QString &codiceCliente, const QString &valore,
                                 const QString &filiale);

// Mode 7 (waybills from a number on), first list: the number compared as text, the waybill year
// added when `anno` is a year.
ListaRicerca numeriDa(const QString &codiceCliente, const QString &filiale, const QString &numero,
                      const QString &anno);
// Mode 7, "&Visualizza": the number compared as a number; the year condition only when
// `annoData` is not empty (compared as text, as typed).
ListaRicerca numeriDaValore(const QString &codiceCliente, const QString &valore,
                            const QString &annoData, const QString &filiale);

// Mode 10: the waybills of one held-shipment record. No order: read whole.
ListaRicerca spedizioniGiacenza(const QString &giacenza, const QString &annoGiacenza);

// Mode 11, first list: the customer's held shipments of one year. No order: read whole.
ListaRicerca giacenzeAnno(const QString &codiceCliente, int anno);
// Mode 11, "&Visualizza": held from a date on.
ListaRicerca giacenzeDal(const QString &codiceCliente, const QDate &dal);

// Mode 12, first list: cash-on-delivery rows of the customer in the branch; when `riferimento`
// is not empty only those whose reference contains it.
ListaRicerca contrassegni(const QString &codiceCliente, const QString &filiale,
                          const QString &riferimento);
// Mode 12, "&Visualizza" with the reference typed in the dialog (empty: every row).
ListaRicerca contrassegniValore(const QString &codiceCliente, const QString &valore,
                                const QString &filiale);

// A page of `lista`: at most `righe` rows (0: no limit, the rest of the list), those after the
// row whose order values are `dopo` (empty: from the first row). Composed as the list's columns,
// every column of the order aliased chiave_pagina_<n> (so the last row of a page gives the values
// of the next), the origin with the rows after `dopo`, the ORDER BY with the waybill's key, the
// LIMIT. Values go in through Sql::letterale; NULL comes first ascending and last descending, as
// the server sorts it. The empty text when the list has no order or `dopo` does not give one
// value per column. With `inversa` the list is read from its end (every column of the order the
// other way round, `dopo` then meaning before, in the list's order); `salta` rows of the result
// are skipped first (an OFFSET, with a LIMIT only).
QString pagina(const ListaRicerca &lista, const QVariantList &dopo, int righe, bool inversa = false,
               int salta = 0);
// The rows of the list: "select count(*)" and its origin.
QString conteggio(const ListaRicerca &lista);

} // namespace IstruzioniRicerca
