#include "remittance/registrazionerimessa.h"

#include "data/blocco.h"
#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/istruzioni_registro.h"
#include "data/recordset.h"
#include "data/registro.h"
#include "data/riprova.h"
#include "data/transazione.h"
#include "remittance/datilettera.h"
#include "remittance/tabellalavoro.h"

#include <limits>

namespace {

const QString vistaContrassegni = QStringLiteral("vdaticontrassegni");
const QString tabellaLdv = QStringLiteral("letve00f");
// Seconds a posting statement may run.
const int timeoutRegistrazione = 30;
// Rows of the work table written by one insert: a few hundred kilobytes of text, far below the
// server's packet limit.
const int righePerInserimento = 1000;
// The server's number for a setting it does not have.
const int variabileSconosciuta = 1193;

Istruzioni::ChiaveRimessa chiaveRiga(const Recordset &riga)
{
    return {riga.campo(QStringLiteral("Lefili")).toString(),
            riga.campo(QStringLiteral("Lenrlv")).toString(),
            riga.campo(QStringLiteral("Leanlv")).toString()};
}

// The selection's fields, every one of which the work table must have.
QStringList colonneDaCopiare(const Recordset &selezione, const Recordset &tabella)
{
    QStringList colonne;
    for (int i = 0; i < selezione.numeroCampi(); ++i) {
        colonne << selezione.nomeCampo(i);
        if (!tabella.haCampo(colonne.last()))
            throw ErroreDb::elementoNonTrovato(colonne.last());
    }
    return colonne;
}

} // namespace

RegistrazioneRimessa::RegistrazioneRimessa(Connessione &connessione,
                                           const RichiestaRimessa &richiesta)
    : m_connessione(connessione), m_testoConnessione(connessione.testoConnessione()),
      m_richiesta(richiesta)
{}

RegistrazioneRimessa::~RegistrazioneRimessa() = default;

bool RegistrazioneRimessa::seleziona()
{
    m_chiavi.clear();
    m_selezione = std::make_unique<Recordset>();
    m_selezione->apri(Istruzioni::selezioneRimessa(m_richiesta.tipo, m_richiesta.dal,
                                                   m_richiesta.al, m_richiesta.cliente),
                      m_connessione);
    m_chiavi.reserve(m_selezione->numeroRighe());
    for (m_selezione->primo(); !m_selezione->eof(); m_selezione->successivo())
        m_chiavi.append(chiaveRiga(*m_selezione));
    return !m_chiavi.isEmpty();
}

void RegistrazioneRimessa::registra(const TabellaLavoro &tabella)
{
    preparaTabella(tabella);
    copiaInTabellaLavoro();
    leggiDatiRecenti();
    m_registro = Registro::presente(m_connessione);
    // A conflict with another station's posting (on a cluster, one that another node committed
    // first) runs the transaction again from its start: a new number, the check anew.
    ripetiSeInConflitto([this] { registraInTransazione(); });
}

void RegistrazioneRimessa::preparaTabella(const TabellaLavoro &tabella)
{
    m_tabella = tabella;
    OccupaTabellaLavoro(tabella.nome, tabella.computer, m_connessione);
    m_occupata = true;
    if (TabellaMancante(tabella.nome, m_testoConnessione))
        CreaTabella(tabella.nome, vistaContrassegni, tabella.modello, m_testoConnessione);
    m_tabellaPronta = true;
    ChiaveTabellaLavoro(tabella.nome, m_connessione);
}

void RegistrazioneRimessa::liberaTabellaLavoro()
{
    if (m_tabellaPronta) {
        // One left behind is used as it is by the next run.
        try {
            Connessione propria(m_testoConnessione);
            propria.apri();
            propria.esegui(Istruzioni::eliminaTabella(m_tabella.nome));
        } catch (...) {
        }
        m_tabellaPronta = false;
    }
    if (m_occupata) {
        LiberaTabellaLavoro(m_tabella.nome, m_tabella.computer, m_testoConnessione);
        m_occupata = false;
    }
}

// Every selected row, field by field, outside the posting transaction, in inserts of many rows;
// a refused row takes its insert back with it.
void RegistrazioneRimessa::copiaInTabellaLavoro()
{
    const QString fase = QStringLiteral("Copia delle spedizioni nella tabella di lavoro...");
    avanza(fase, 0);
    Recordset tabella;
    tabella.apri(Istruzioni::tuttaLaTabella(m_tabella.nome), m_connessione);
    const QStringList colonne = colonneDaCopiare(*m_selezione, tabella);
    QList<QVariantList> righe;
    int copiate = 0;
    const auto scrivi = [&] {
        m_connessione.esegui(Istruzioni::inserisciRighe(m_tabella.nome, colonne, righe));
        copiate += int(righe.size());
        righe.clear();
        avanza(fase, copiate);
    };
    for (m_selezione->primo(); !m_selezione->eof(); m_selezione->successivo()) {
        QVariantList valori;
        valori.reserve(colonne.size());
        for (int i = 0; i < colonne.size(); ++i)
            valori << m_selezione->campo(i);
        righe << valori;
        if (righe.size() == righePerInserimento)
            scrivi();
    }
    if (!righe.isEmpty())
        scrivi();
}

// The stamps go in blocks, in the order of the waybills; the progress follows the blocks the
// server has run.
void RegistrazioneRimessa::registraInTransazione()
{
    const int n = selezionate();
    const QString fasePosta = QStringLiteral("Registrazione della rimessa...");
    const QString faseInviati = QStringLiteral("Contrassegni segnati come inviati...");
    avanza(fasePosta, n);

    Transazione transazione(m_connessione);
    m_connessione.setTimeoutComandi(timeoutRegistrazione);
    const QString numero = nuovoNumero();
    controllaLdvAncoraDaRimettere();
    // One date for the whole remittance, also when the posting runs past midnight: the
    // cancellation finds its waybills and records by number and date.
    const QDate data = QDate::currentDate();
    const bool conAssegno = DatiLettera::conAssegno(m_richiesta.tipo);
    const int perLdv = conAssegno ? 4 : 2;
    {
        BloccoIstruzioni blocco(m_connessione);
        blocco.setDopoInvio([&](int eseguite) { avanza(fasePosta, n + eseguite / perLdv); });
        for (const Istruzioni::ChiaveRimessa &chiave : m_chiavi) {
            blocco.aggiungi(Istruzioni::timbraRimessa(tabellaLdv, numero, data, chiave));
            blocco.aggiungi(Istruzioni::timbraRimessa(m_tabella.nome, numero, data, chiave));
            if (conAssegno) {
                blocco.aggiungi(
                    Istruzioni::inserisciContrassegno(numero, data, m_richiesta.assegno));
                blocco.aggiungi(Istruzioni::timbraAssegnoTabellaLavoro(
                    m_tabella.nome, numero, data, m_richiesta.assegno, chiave));
            }
        }
        blocco.invia();
    }
    {
        BloccoIstruzioni blocco(m_connessione);
        blocco.setDopoInvio([&](int eseguite) { avanza(faseInviati, 2 * n + eseguite); });
        for (const Istruzioni::ChiaveRimessa &chiave : m_chiavi)
            blocco.aggiungi(Istruzioni::segnaInviato(chiave));
        blocco.invia();
    }
    // One audit row per waybill that now bears the number, in the posting's transaction.
    if (m_registro)
        m_connessione.esegui(IstruzioniRegistro::registraDistinta(
            Registro::autoreLocale(), IstruzioniRegistro::Azione::Rimessa, numero, data));
    transazione.conferma();
    m_numero = numero;
    m_data = data;
}

// On a cluster the reads of the posting wait until this node has applied what the other nodes
// committed before them, so the check sees another node's posting. A server that is no cluster
// node does not know the setting, which it then does not need.
void RegistrazioneRimessa::leggiDatiRecenti()
{
    try {
        m_connessione.esegui(Istruzioni::letturaCausale());
    } catch (const ErroreDb &errore) {
        if (errore.numero() != variabileSconosciuta)
            throw;
    }
}

// The next remittance number, read and written back inside the posting transaction. The read
// locks the parameter row until the commit or the rollback, so a station posting at the same
// time waits here and then reads the number this one wrote: no two remittances get the same
// number, and a rolled-back posting gives its number back.
QString RegistrazioneRimessa::nuovoNumero()
{
    Recordset ultimo;
    ultimo.apri(Istruzioni::leggiUltimoNumero(), m_connessione);
    const QVariant valore = ultimo.campo(0);
    if (valore.isNull())
        throw ErroreDb(94, QStringLiteral("Utilizzo non valido di Null."));
    const qlonglong numero = valore.toLongLong() + 1;
    if (numero > std::numeric_limits<qint32>::max())
        throw ErroreDb(6, QStringLiteral("Overflow."));
    const QString testo = QString::number(numero);
    m_connessione.esegui(Istruzioni::scriviUltimoNumero(testo));
    return testo;
}

// Another station may have posted some of the same waybills after this one's selection read
// them. Postings take the number lock in turn, so by now that posting has committed; a locking
// read sees its stamps, and keeps the waybills locked until this posting ends.
void RegistrazioneRimessa::controllaLdvAncoraDaRimettere()
{
    Recordset rimesse;
    rimesse.apri(Istruzioni::ldvRimesseNelFrattempo(m_tabella.nome), m_connessione);
    const int quante = rimesse.campo(0).toInt();
    if (quante > 0)
        throw LdvRimesseNelFrattempo{quante, selezionate()};
}

void RegistrazioneRimessa::registraLetteraProvvisoria()
{
    if (m_chiavi.isEmpty() || !Registro::presente(m_connessione))
        return;
    const QString righe = IstruzioniRegistro::registraLdv(
        Registro::autoreLocale(), IstruzioniRegistro::Azione::RimessaProvvisoria,
        m_richiesta.cliente, m_chiavi);
    ripetiSeInConflitto([&] {
        Transazione transazione(m_connessione);
        m_connessione.esegui(righe);
        transazione.conferma();
    });
}

QStringList RegistrazioneRimessa::datiLettera() const
{
    const QString query = m_numero.isEmpty()
                              ? Istruzioni::selezioneRimessaProvvisoria(
                                    m_richiesta.tipo, m_richiesta.dal, m_richiesta.al)
                              : Istruzioni::tuttaLaTabella(m_tabella.nome);
    return DatiLettera::componi(m_richiesta.cliente, query, m_richiesta.tipo, m_richiesta.assegno,
                                m_chiavi.value(0));
}

void RegistrazioneRimessa::avanza(const QString &fase, int fatti)
{
    if (m_avanzamento)
        m_avanzamento(fase, fatti, 3 * selezionate());
}
