#include "search/modellopaginato.h"

#include "data/connessione.h"

#include <QSqlField>

ModelloPaginato::ModelloPaginato(QObject *parent) : QAbstractTableModel(parent) {}

// The new list replaces the shown one only once its first page and its count are read: a refused
// statement leaves the grid as it was.
void ModelloPaginato::apri(const QSqlDatabase &database,
                           const IstruzioniRicerca::ListaRicerca &lista)
{
    Connessione::controllaIstruzione(lista.testo());
    Lista nuova;
    nuova.connessione = database.connectionName();
    nuova.istruzione = lista;
    if (!leggiPagina(nuova, 0))
        Connessione::lancia(m_errore);
    const Pagina &prima = nuova.pagine.at(0);
    // A short first page is the whole list; otherwise the server counts the rest.
    nuova.righe = prima.righe;
    if (prima.righe == righePerPagina && !lista.ordine.vuoto()) {
        QSqlQuery conta(database);
        if (!conta.exec(IstruzioniRicerca::conteggio(lista)) || !conta.next())
            Connessione::lancia(conta.lastError());
        nuova.righe = conta.value(0).toInt();
    }
    beginResetModel();
    m_lista = std::move(nuova);
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

bool ModelloPaginato::leggiPagina(Lista &lista, int numero) const
{
    const IstruzioniRicerca::ListaRicerca &istruzione = lista.istruzione;
    if (istruzione.ordine.vuoto())
        return esegui(lista, istruzione.testo(), 0, false);
    const int prima = numero * righePerPagina;
    // The first page is read before the count, and its length decides it.
    const int righe = numero == 0 ? righePerPagina : qMin(righePerPagina, lista.righe - prima);
    const auto precedente = lista.pagine.find(numero - 1);
    const auto seguente = lista.pagine.find(numero + 1);
    QString testo;
    bool inversa = false;
    if (numero == 0) {
        testo = IstruzioniRicerca::pagina(istruzione, {}, righe);
    } else if (precedente != lista.pagine.end()) {
        testo = IstruzioniRicerca::pagina(istruzione, precedente->second.ultimaChiave, righe);
    } else if (seguente != lista.pagine.end()) {
        inversa = true;
        testo = IstruzioniRicerca::pagina(istruzione, seguente->second.primaChiave, righe, true);
    } else if (prima < lista.righe / 2) {
        testo = IstruzioniRicerca::pagina(istruzione, {}, righe, false, prima);
    } else {
        inversa = true;
        testo = IstruzioniRicerca::pagina(istruzione, {}, righe, true, lista.righe - prima - righe);
    }
    return esegui(lista, testo, numero, inversa);
}

bool ModelloPaginato::esegui(Lista &lista, const QString &testo, int numero, bool inversa) const
{
    QSqlQuery query(QSqlDatabase::database(lista.connessione, false));
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query.exec(testo)) {
        m_errore = query.lastError();
        return false;
    }
    const QSqlRecord campi = query.record();
    const int chiave =
        lista.istruzione.ordine.vuoto() ? 0 : int(lista.istruzione.ordine.colonne().size());
    const int visibili = campi.count() - chiave;
    if (lista.intestazioni.isEmpty()) {
        for (int i = 0; i < visibili; ++i)
            lista.intestazioni.append(campi.field(i));
    }
    Pagina pagina;
    pagina.prima = numero * righePerPagina;
    pagina.inversa = inversa;
    pagina.righe = query.size();
    if (pagina.righe < 0)
        pagina.righe = query.last() ? query.at() + 1 : 0;
    const auto chiaveDi = [&](int riga) {
        QVariantList valori;
        if (query.seek(riga)) {
            for (int i = visibili; i < campi.count(); ++i)
                valori.append(query.value(i));
        }
        return valori;
    };
    if (chiave > 0 && pagina.righe > 0) {
        pagina.primaChiave = chiaveDi(inversa ? pagina.righe - 1 : 0);
        pagina.ultimaChiave = chiaveDi(inversa ? 0 : pagina.righe - 1);
    }
    pagina.risultato = std::move(query);
    lista.pagine[numero] = std::move(pagina);
    return true;
}

const ModelloPaginato::Pagina *ModelloPaginato::paginaDi(int riga) const
{
    const int numero = m_lista.istruzione.ordine.vuoto() ? 0 : riga / righePerPagina;
    auto trovata = m_lista.pagine.find(numero);
    if (trovata == m_lista.pagine.end()) {
        if (!leggiPagina(m_lista, numero)) {
            // Reported once the view has done asking: a signal in the middle of a paint would
            // open a message box there.
            QMetaObject::invokeMethod(
                const_cast<ModelloPaginato *>(this),
                [this, errore = m_errore] {
                    emit const_cast<ModelloPaginato *>(this)->letturaFallita(errore);
                },
                Qt::QueuedConnection);
            m_lista.pagine[numero] = Pagina{numero * righePerPagina, 0, false, {}, {}, {}};
        }
        trovata = m_lista.pagine.find(numero);
    }
    return &trovata->second;
}

int ModelloPaginato::rowCount(const QModelIndex &genitore) const
{
    return genitore.isValid() ? 0 : m_lista.righe;
}

int ModelloPaginato::columnCount(const QModelIndex &genitore) const
{
    return genitore.isValid() ? 0 : m_lista.intestazioni.count();
}

QVariant ModelloPaginato::data(const QModelIndex &indice, int ruolo) const
{
    if (!indice.isValid() || (ruolo != Qt::DisplayRole && ruolo != Qt::EditRole) ||
        indice.row() >= m_lista.righe || indice.column() >= m_lista.intestazioni.count())
        return QVariant();
    const Pagina *pagina = paginaDi(indice.row());
    const int riga = indice.row() - pagina->prima;
    if (riga >= pagina->righe ||
        !pagina->risultato.seek(pagina->inversa ? pagina->righe - 1 - riga : riga))
        return QVariant();
    return pagina->risultato.value(indice.column());
}

QVariant ModelloPaginato::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const
{
    if (orientamento == Qt::Horizontal && ruolo == Qt::DisplayRole && sezione >= 0 &&
        sezione < m_lista.intestazioni.count())
        return m_lista.intestazioni.fieldName(sezione);
    return QAbstractTableModel::headerData(sezione, orientamento, ruolo);
}
