#include "search/modellopaginato.h"

#include "data/connessione.h"

#include <QSqlField>
#include <QSqlQuery>

ModelloPaginato::ModelloPaginato(QObject *parent) : QAbstractTableModel(parent) {}

// The new list replaces the shown one only once its first page is read: a refused statement
// leaves the grid as it was.
void ModelloPaginato::apri(const QSqlDatabase &database, const QString &istruzione,
                           const IstruzioniRicerca::Ordinamento &ordine)
{
    Connessione::controllaIstruzione(istruzione);
    Lista lista;
    lista.connessione = database.connectionName();
    lista.istruzione = istruzione;
    lista.ordine = ordine;
    lista.finita = false;
    Righe prima;
    if (!leggiPagina(lista, righePerPagina, prima))
        Connessione::lancia(m_errore);
    lista.righe = std::move(prima);
    beginResetModel();
    m_lista = std::move(lista);
    m_errore = QSqlError();
    endResetModel();
}

void ModelloPaginato::svuota()
{
    beginResetModel();
    m_lista = Lista();
    m_errore = QSqlError();
    endResetModel();
}

bool ModelloPaginato::leggiPagina(Lista &lista, int righe, Righe &lette)
{
    const QString pagina =
        IstruzioniRicerca::pagina(lista.istruzione, lista.ordine, lista.ultimaChiave, righe);
    const bool perPagine = !pagina.isEmpty();
    QSqlQuery query(QSqlDatabase::database(lista.connessione, false));
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query.exec(perPagine ? pagina : lista.istruzione)) {
        m_errore = query.lastError();
        lista.finita = true;
        return false;
    }

    const QSqlRecord campi = query.record();
    const int colonneChiave = perPagine ? int(lista.ordine.colonne().size()) : 0;
    const int visibili = campi.count() - colonneChiave;
    if (lista.intestazioni.isEmpty()) {
        for (int i = 0; i < visibili; ++i)
            lista.intestazioni.append(campi.field(i));
    }
    int lettePagina = 0;
    while (query.next()) {
        QVector<QVariant> riga(visibili);
        for (int i = 0; i < visibili; ++i)
            riga[i] = query.value(i);
        lette.append(std::move(riga));
        ++lettePagina;
        if (colonneChiave > 0) {
            lista.ultimaChiave.clear();
            for (int i = visibili; i < campi.count(); ++i)
                lista.ultimaChiave.append(query.value(i));
        }
    }
    // A short page is the last one; a list without an order came whole.
    if (!perPagine || lettePagina < righe)
        lista.finita = true;
    return true;
}

void ModelloPaginato::aggiungi(Righe righe)
{
    if (righe.isEmpty())
        return;
    const int prima = int(m_lista.righe.size());
    beginInsertRows(QModelIndex(), prima, prima + int(righe.size()) - 1);
    m_lista.righe += std::move(righe);
    endInsertRows();
}

void ModelloPaginato::leggiTutto()
{
    Righe resto;
    bool letta = true;
    while (!m_lista.finita && letta)
        letta = leggiPagina(m_lista, righePerPaginaDelResto, resto);
    aggiungi(std::move(resto));
    if (!letta)
        emit letturaFallita(m_errore);
}

bool ModelloPaginato::canFetchMore(const QModelIndex &genitore) const
{
    return !genitore.isValid() && !m_lista.finita;
}

void ModelloPaginato::fetchMore(const QModelIndex &genitore)
{
    if (!canFetchMore(genitore))
        return;
    Righe pagina;
    const bool letta = leggiPagina(m_lista, righePerPagina, pagina);
    aggiungi(std::move(pagina));
    if (!letta)
        emit letturaFallita(m_errore);
}

int ModelloPaginato::rowCount(const QModelIndex &genitore) const
{
    return genitore.isValid() ? 0 : int(m_lista.righe.size());
}

int ModelloPaginato::columnCount(const QModelIndex &genitore) const
{
    return genitore.isValid() ? 0 : m_lista.intestazioni.count();
}

QVariant ModelloPaginato::data(const QModelIndex &indice, int ruolo) const
{
    if (!indice.isValid() || (ruolo != Qt::DisplayRole && ruolo != Qt::EditRole) ||
        indice.row() >= m_lista.righe.size() || indice.column() >= m_lista.intestazioni.count())
        return QVariant();
    return m_lista.righe[indice.row()][indice.column()];
}

QVariant ModelloPaginato::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const
{
    if (orientamento == Qt::Horizontal && ruolo == Qt::DisplayRole && sezione >= 0 &&
        sezione < m_lista.intestazioni.count())
        return m_lista.intestazioni.fieldName(sezione);
    return QAbstractTableModel::headerData(sezione, orientamento, ruolo);
}
