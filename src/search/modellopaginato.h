#pragma once

#include "data/istruzioni_ricerca.h"

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

#include <vector>

// The rows of a list for a grid, read a page at a time: the first page when the list is opened,
// the next one (the rows after the last one read, in the list's order) each time the view asks
// for more, so a long list shows its first rows without waiting for the rest. A list without an
// order of its own is read whole. Read-only; the headings are the result's field names and the
// cells its values, as a QSqlQueryModel gives them. The pages' results stay open on `database`
// until the model is emptied or opened again: empty it before the connection goes.
//     modello->apri(connessione.database(), IstruzioniRicerca::contrassegni(cliente, filiale, {}));
class ModelloPaginato : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int righePerPagina = 256;

    explicit ModelloPaginato(QObject *parent = nullptr);

    // Runs the list on the connection `database` and reads its first page. A refused statement
    // throws ErroreDb with the server's number and text and leaves the list shown before.
    void apri(const QSqlDatabase &database, const IstruzioniRicerca::ListaRicerca &lista);
    // No rows, no columns, no connection.
    void svuota();
    // Reads every row not read yet, with one statement: the rows after the last one read.
    void leggiTutto();
    // The column whose heading is `nome` (in any case); -1 for none.
    int colonna(const QString &nome) const { return m_lista.intestazioni.indexOf(nome); }

    // The last refusal of a page read while scrolling (fetchMore cannot throw); it ends the list.
    QSqlError lastError() const { return m_errore; }

    int rowCount(const QModelIndex &genitore = QModelIndex()) const override;
    int columnCount(const QModelIndex &genitore = QModelIndex()) const override;
    QVariant data(const QModelIndex &indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &genitore = QModelIndex()) const override;
    void fetchMore(const QModelIndex &genitore = QModelIndex()) override;

signals:
    // A page read while scrolling was refused.
    void letturaFallita(const QSqlError &errore);

private:
    // One page's result, held on the client as a scrollable QSqlQuery holds it; cells are read
    // from it when the grid asks, as QSqlQueryModel reads them.
    struct Pagina
    {
        int prima = 0; // the list's row of the page's first row
        int righe = 0;
        mutable QSqlQuery risultato;
    };

    // One list as far as it has been read.
    struct Lista
    {
        QString connessione;
        IstruzioniRicerca::ListaRicerca istruzione;
        QSqlRecord intestazioni;
        std::vector<Pagina> pagine;
        int righe = 0;
        QVariantList ultimaChiave; // the order's values of the last row read
        bool finita = true;
    };

    // Runs the page of `lista` after its last row read (at most `righe` rows, 0: all of them; the
    // whole list when it has no order) into `pagina`, whose first row is the list's row
    // `primaRiga`. False, with m_errore, when refused.
    bool leggiPagina(Lista &lista, int righe, int primaRiga, Pagina &pagina);
    // A page read after the shown rows goes to the grid.
    void aggiungi(Pagina pagina);

    Lista m_lista;
    QSqlError m_errore;
};
