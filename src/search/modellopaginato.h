#pragma once

#include "data/istruzioni_ricerca.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>

// The rows of a list for a grid, read a page at a time as the grid shows them: the first page when
// the list is opened, shown at once, while the server counts the rows on a connection of its own
// in a thread (on a large list the count takes longer than the page); once counted, the scroll bar
// covers the whole list; then each page the view asks a cell of. A page next to one read follows on from it by its key;
// the last page (Ctrl+End, the scroll bar at its bottom) is read from the end of the list, the
// order reversed; a page in the middle by its offset from the nearer end. A list without an order
// of its own is read whole. Read-only; the headings are the result's field names and the cells
// its values, as a QSqlQueryModel gives them. The pages' results stay open on `database` until
// the model is emptied or opened again: empty it before the connection goes.
//     modello->apri(connessione.database(), IstruzioniRicerca::contrassegni(cliente, filiale, {}));
class ModelloPaginato : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int righePerPagina = 256;

    explicit ModelloPaginato(QObject *parent = nullptr);
    ~ModelloPaginato() override;

    // Runs the list on the connection `database`: its first page, and its count in the
    // background. A refused page throws ErroreDb with the server's number and text and leaves the
    // list shown before; a refused count is reported by letturaFallita.
    void apri(const QSqlDatabase &database, const IstruzioniRicerca::ListaRicerca &lista);
    // No rows, no columns, no connection.
    void svuota();
    // The column whose heading is `nome` (in any case); -1 for none.
    int colonna(const QString &nome) const { return m_lista.intestazioni.indexOf(nome); }
    // The pages read so far.
    int pagineLette() const { return int(m_lista.pagine.size()); }
    // Waits for the count when it is still running and extends the rows to it: Ctrl+End and a
    // scroll bar at its bottom ask for it (fetchMore).
    void attendiConteggio();

    // The last refusal of a page read while the grid scrolled (a cell cannot throw); the rows of
    // that page show empty.
    QSqlError lastError() const { return m_errore; }

    int rowCount(const QModelIndex &genitore = QModelIndex()) const override;
    int columnCount(const QModelIndex &genitore = QModelIndex()) const override;
    QVariant data(const QModelIndex &indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &genitore) const override;
    void fetchMore(const QModelIndex &genitore) override;

signals:
    // A page read while the grid scrolled was refused.
    void letturaFallita(const QSqlError &errore);

private:
    // One page's result, held on the client as a scrollable QSqlQuery holds it; cells are read
    // from it when the grid asks, as QSqlQueryModel reads them. A page read from the end holds
    // its rows the other way round.
    struct Pagina
    {
        int prima = 0; // the list's row of the page's first row
        int righe = 0;
        bool inversa = false;
        QVariantList primaChiave;  // the order's values of its first row, in the list's order
        QVariantList ultimaChiave; // and of its last
        mutable QSqlQuery risultato;
    };

    // One list as far as it has been read, its pages by number.
    struct Lista
    {
        QString connessione;
        IstruzioniRicerca::ListaRicerca istruzione;
        QSqlRecord intestazioni;
        int righe = 0;
        std::map<int, Pagina> pagine;
    };

    // A count running in its thread (defined with the model's code).
    struct Conteggio;

    // Reads page `numero` of `lista`, on from a neighbour read before when there is one; the
    // whole list for a list without an order. False, with m_errore, when refused.
    bool leggiPagina(Lista &lista, int numero) const;
    bool esegui(Lista &lista, const QString &testo, int numero, bool inversa) const;
    const Pagina *paginaDi(int riga) const;
    void avviaConteggio(const QString &testo);
    // Takes the finished count `conteggio` when it is still the shown list's.
    void conteggioFinito(const std::shared_ptr<Conteggio> &conteggio);

    mutable Lista m_lista;
    mutable QSqlError m_errore;
    std::shared_ptr<Conteggio> m_conteggio; // the shown list's, while it runs
    QList<QPointer<QThread>> m_thread;      // every count still running
};
