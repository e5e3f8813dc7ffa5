#include "search/modellopaginato.h"

#include "data/connessione.h"
#include "data/istruzioni.h"

#include <QAtomicInt>
#include <QPointer>
#include <QSqlField>
#include <QThread>

// The count of a list, in a thread of its own on a clone of the list's connection: the thread
// writes the result, the model reads it once the thread has finished.
struct ModelloPaginato::Conteggio
{
    QThread *thread = nullptr;
    int righe = -1;
    QSqlError errore;
};

namespace {

void conta(const QString &origine, const QString &testo, int &righe, QSqlError &errore)
{
    static QAtomicInt progressivo;
    const QString nome = QStringLiteral("conteggio-%1").arg(progressivo.fetchAndAddRelaxed(1));
    {
        QSqlDatabase database = QSqlDatabase::cloneDatabase(origine, nome);
        if (!database.open()) {
            errore = database.lastError();
        } else {
            // The session the component's connections have: the text's escapes read as such.
            QSqlQuery query(database);
            if (!query.exec(Istruzioni::impostaSessione(0)) || !query.exec(testo) || !query.next())
                errore = query.lastError();
            else
                righe = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(nome);
}

} // namespace

ModelloPaginato::ModelloPaginato(QObject *parent) : QAbstractTableModel(parent) {}

// A count still running ends before the model goes: its thread uses the driver.
ModelloPaginato::~ModelloPaginato()
{
    for (const QPointer<QThread> &thread : std::as_const(m_thread))
        if (thread)
            thread->wait();
}

// The new list replaces the shown one once its first page is read: a refused statement leaves the
// grid as it was. A short first page is the whole list; otherwise the server counts the rest.
void ModelloPaginato::apri(const QSqlDatabase &database,
                           const IstruzioniRicerca::ListaRicerca &lista)
{
    Connessione::controllaIstruzione(lista.testo());
    Lista nuova;
    nuova.connessione = database.connectionName();
    nuova.istruzione = lista;
    if (!leggiPagina(nuova, 0))
        Connessione::lancia(m_errore);
    nuova.righe = nuova.pagine.at(0).righe;
    beginResetModel();
    m_lista = std::move(nuova);
    m_errore = QSqlError();
    endResetModel();
    if (m_lista.righe == righePerPagina && !lista.ordine.vuoto())
        avviaConteggio(IstruzioniRicerca::conteggio(lista));
}

void ModelloPaginato::avviaConteggio(const QString &testo)
{
    // A count of the list shown before runs on; its result goes.
    auto conteggio = std::make_shared<Conteggio>();
    conteggio->thread = QThread::create([conteggio, origine = m_lista.connessione, testo] {
        conta(origine, testo, conteggio->righe, conteggio->errore);
    });
    connect(conteggio->thread, &QThread::finished, this,
            [this, conteggio] { conteggioFinito(conteggio); });
    connect(conteggio->thread, &QThread::finished, conteggio->thread, &QObject::deleteLater);
    m_thread.removeAll(nullptr);
    m_thread.append(conteggio->thread);
    m_conteggio = conteggio;
    conteggio->thread->start();
}

void ModelloPaginato::conteggioFinito(const std::shared_ptr<Conteggio> &conteggio)
{
    if (m_conteggio != conteggio)
        return;
    m_conteggio.reset();
    if (conteggio->righe < 0) {
        emit letturaFallita(conteggio->errore);
    } else if (conteggio->righe > m_lista.righe) {
        beginInsertRows(QModelIndex(), m_lista.righe, conteggio->righe - 1);
        m_lista.righe = conteggio->righe;
        endInsertRows();
    }
}

void ModelloPaginato::attendiConteggio()
{
    if (const std::shared_ptr<Conteggio> conteggio = m_conteggio) {
        conteggio->thread->wait();
        conteggioFinito(conteggio);
    }
}

bool ModelloPaginato::canFetchMore(const QModelIndex &genitore) const
{
    return !genitore.isValid() && m_conteggio;
}

void ModelloPaginato::fetchMore(const QModelIndex &genitore)
{
    if (!genitore.isValid())
        attendiConteggio();
}

void ModelloPaginato::svuota()
{
    m_conteggio.reset(); // a count still running runs on; its result goes
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
            Pagina vuota;
            vuota.prima = numero * righePerPagina;
            m_lista.pagine[numero] = std::move(vuota);
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
