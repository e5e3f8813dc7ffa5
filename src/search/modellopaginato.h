#pragma once

#include "data/istruzioni_ricerca.h"

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

// The rows of a list statement for a grid, read a page at a time: the first page when the list
// is opened, the next one (the rows after the last one read, in the statement's order) each time
// the view asks for more, so a long list shows its first rows without waiting for the rest. A
// list without an order of its own is read whole. Read-only; the headings are the result's field
// names, as a QSqlQueryModel gives them.
//     modello->apri(connessione.database(), istruzione, IstruzioniRicerca::ordinamento(tipo));
class ModelloPaginato : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int righePerPagina = 256;
    // Ctrl+End reads the rest in bigger pages: fewer round trips, each still in index order.
    static constexpr int righePerPaginaDelResto = 16 * righePerPagina;

    explicit ModelloPaginato(QObject *parent = nullptr);

    // Runs the list on the connection `database` and reads its first page. A refused statement
    // throws ErroreDb with the server's number and text and leaves the model empty.
    void apri(const QSqlDatabase &database, const QString &istruzione,
              const IstruzioniRicerca::Ordinamento &ordine);
    // No rows, no columns, no connection.
    void svuota();
    // Reads every row not read yet.
    void leggiTutto();

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
    using Righe = QVector<QVector<QVariant>>;

    // One list as far as it has been read.
    struct Lista
    {
        QString connessione;
        QString istruzione;
        IstruzioniRicerca::Ordinamento ordine;
        QSqlRecord intestazioni;
        Righe righe;
        QVariantList ultimaChiave; // the order's values of the last row read
        bool finita = true;
    };

    // Reads into `lette` the page of `lista` after its last row read (or the whole list when it
    // has no order), keeping the order's columns apart. False, with m_errore, when refused.
    bool leggiPagina(Lista &lista, int righe, Righe &lette);
    void aggiungi(Righe righe);

    Lista m_lista;
    QSqlError m_errore;
};
