#include "remittance/frmrimessa.h"
#include "ui_frmrimessa.h"

#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"
#include "data/blocco.h"
#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "fields/campocliente.h"
#include "fields/campodata.h"
#include "search/apriricerca.h"
#include "remittance/aprirecordset.h"
#include "remittance/avanzamentorimessa.h"
#include "remittance/datilettera.h"
#include "remittance/importoassegno.h"
#include "remittance/postazione.h"
#include "remittance/tabellalavoro.h"
#include "suite/cModuliStampa.h"
#include "suite/creamodulistampa.h"
#include "suite/modulistampapredefinito.h"

#include <QCloseEvent>
#include <QScopeGuard>

#include <limits>

namespace {

const QString titoloRimessa = QStringLiteral("Gestione riscuti contrassegni");
const QString titoloErrore = QStringLiteral("Gestione rimessa contrassegni");
const QString vistaContrassegni = QStringLiteral("vdaticontrassegni");
const QString tabellaLdv = QStringLiteral("letve00f");
const QString prefissoTabellaLavoro = QStringLiteral("Rimessa");
// The remittance letter among the print component's forms.
const int moduloRimessa = 8;
// Seconds a posting statement may run.
const int timeoutRegistrazione = 30;
// Rows of the work table written by one insert: a few hundred kilobytes of text, far below the
// server's packet limit.
const int righePerInserimento = 1000;

// Some of the selected waybills were remitted by another station after the selection read them.
struct LdvRimesseNelFrattempo
{
    int quante;
};

Connessione &connessioneComune()
{
    std::unique_ptr<Connessione> &connessione = modPrincipale::ConnessioneComune();
    if (!connessione)
        throw ErroreDb::connessioneChiusa();
    return *connessione;
}

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

// The button pictures live in the component's resources; a static archive needs them registered.
static void caricaRisorseRimessa()
{
    Q_INIT_RESOURCE(remittance);
}

frmRimessa *frmRimessa::istanza(bool crea)
{
    return istanzaDiProcesso<frmRimessa>(crea);
}

frmRimessa::frmRimessa(QWidget *parent) : FinestraLavoro(parent), ui(new Ui::frmRimessa)
{
    caricaRisorseRimessa();
    ui->setupUi(this);

    CampoData::preparaCampo(ui->txtDataDa);
    CampoData::preparaCampo(ui->txtDataAl);
    CampoData::conValidita(ui->txtDataDa,
                           QStringLiteral("Controllare l'inserimento della data iniziale."));
    CampoData::conValidita(ui->txtDataAl,
                           QStringLiteral("Controllare l'inserimento della data finale."));

    CampoCliente::Opzioni opzioni;
    opzioni.bloccaDopoConvalida = false;
    opzioni.pulisci = [this] { PulisciCampi(false); };
    opzioni.cerca = [] { return ApriRicerca(1, QStringLiteral("Clien")); };
    opzioni.focusDopoRicerca = ui->cmbCodInc;
    m_campoCliente =
        new CampoCliente(ui->txtCodiceCli, ui->cmdCercaCliente, ui->barCliente, std::move(opzioni));

    connect(ui->cmbCodInc, &QComboBox::currentIndexChanged, this, &frmRimessa::SceltaTipoRimessa);
    connect(ui->cmdRimessa, &QPushButton::clicked, this,
            [this] { eseguiGestore(this, [this] { EseguiRimessa(); }); });
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmRimessa::scarica);
}

frmRimessa::~frmRimessa() = default;

void frmRimessa::caricamento()
{
    CaricaCodiciIncasso(ui->cmbCodInc);
    PulisciCampi(true);
    // The operator starts from the customer.
    ui->txtCodiceCli->setFocus(Qt::OtherFocusReason);
}

void frmRimessa::closeEvent(QCloseEvent *evento)
{
    // A run is posting or printing: the window stays until it has ended.
    if (m_inEsecuzione) {
        evento->ignore();
        return;
    }
    FinestraLavoro::closeEvent(evento);
}

void frmRimessa::PulisciCampi(bool pulisciCliente)
{
    if (pulisciCliente)
        ui->txtCodiceCli->clear();
    for (QGroupBox *riquadro : {ui->fraData, ui->fraDatiAssegno}) {
        for (QLineEdit *campo : riquadro->findChildren<QLineEdit *>())
            campo->clear();
    }
    // The empty type, with the list's own reaction as for an operator's choice.
    if (ui->cmbCodInc->currentIndex() == 0)
        SceltaTipoRimessa();
    else
        ui->cmbCodInc->setCurrentIndex(0);
    CampoData::svuota(ui->txtDataDa);
    CampoData::svuota(ui->txtDataAl);
    ui->barCliente->clear();
    AbilitaDatiAssegno(false);
}

void frmRimessa::AbilitaDatiAssegno(bool abilita)
{
    ui->fraDatiAssegno->setEnabled(abilita);
    const QColor sfondo = abilita ? QColor(Qt::white) : palette().color(QPalette::Window);
    for (QLineEdit *campo :
         {ui->txtRiferimento, ui->txtBanca, static_cast<QLineEdit *>(ui->txtImportoAss)}) {
        QPalette colori = campo->palette();
        colori.setColor(QPalette::Base, sfondo);
        campo->setPalette(colori);
    }
}

void frmRimessa::SceltaTipoRimessa()
{
    AbilitaDatiAssegno(DatiLettera::conAssegno(TipoRimessa()));
}

int frmRimessa::TipoRimessa() const
{
    return ui->cmbCodInc->currentData().toInt();
}

// The remittance run. One handler covers every step: a failure before the commit rolls the
// whole posting back; after it the remittance stays posted. Either way the shared connection
// is released and the work table dropped, and the window keeps what the operator entered.
void frmRimessa::EseguiRimessa()
{
    if (m_inEsecuzione)
        return;
    m_inEsecuzione = true;
    const auto fineEsecuzione = qScopeGuard([this] { m_inEsecuzione = false; });

    std::unique_ptr<Recordset> selezione;
    std::unique_ptr<Recordset> tabella;
    bool tabellaPronta = false;
    QString nomeTabella;
    try {
        if (!Selezione(selezione))
            return;

        const bool definitiva = Messaggi::domanda(
            this, titoloRimessa, QStringLiteral("Effettuare la stampa definitiva della rimessa?"));
        m_tipo = TipoRimessa();
        m_assegno = DatiAssegnoFinestra(m_tipo);

        if (definitiva) {
            // The station's work table, from which the letter lists the posted waybills.
            nomeTabella = NomeTabellaLavoro(prefissoTabellaLavoro);
            if (TabellaMancante(nomeTabella))
                CreaTabella(nomeTabella, vistaContrassegni);
            tabellaPronta = true;

            AvanzamentoRimessa avanzamento(this, 3 * selezione->numeroRighe());
            m_avanzamento = &avanzamento;
            const auto senzaAvanzamento = qScopeGuard([this] { m_avanzamento = nullptr; });

            avanzamento.fase(QStringLiteral("Copia delle spedizioni nella tabella di lavoro..."));
            ApriRecordset(tabella, modPrincipale::ConnessioneComune(), nomeTabella,
                          RecordsetAggiornabile);
            CopiaInTabellaLavoro(*selezione, *tabella, nomeTabella);

            avanzamento.fase(QStringLiteral("Registrazione della rimessa..."));
            RegistraRimessa(*selezione, nomeTabella);
            avanzamento.fase(QStringLiteral("Contrassegni segnati come inviati..."));
            SegnaInviati(m_chiaviSelezione);
            connessioneComune().confermaTransazione();
            m_transazioneAperta = false;
        }
        ChiudiRecordset(selezione);
        ChiudiRecordset(tabella);

        const QString query = definitiva
                                  ? Istruzioni::tuttaLaTabella(nomeTabella)
                                  : Istruzioni::selezioneRimessaProvvisoria(
                                        m_tipo, Sql::leggiData(CampoData::testo(ui->txtDataDa)),
                                        Sql::leggiData(CampoData::testo(ui->txtDataAl)));
        StampaRimessa(DatiLettera::componi(ui->txtCodiceCli->text(), query, m_tipo, m_assegno,
                                           m_chiaviSelezione.constFirst()));
        PulisciCampi(true);
        PassiFinali(selezione, tabellaPronta, nomeTabella);
    } catch (const LdvRimesseNelFrattempo &rimesse) {
        AnnullaRegistrazione();
        Messaggi::avviso(this, titoloRimessa,
                         QStringLiteral("Nel frattempo un'altra postazione ha rimesso %1 delle %2 "
                                        "spedizioni selezionate. La rimessa non è stata "
                                        "registrata: ripeterla.")
                             .arg(rimesse.quante)
                             .arg(m_chiaviSelezione.size()));
        PassiFinali(selezione, tabellaPronta, nomeTabella);
    } catch (...) {
        AnnullaRegistrazione();
        Messaggi::critico(
            this, titoloErrore,
            Messaggi::testoErrore(std::current_exception()) +
                QStringLiteral("\r\nerrore generato da stampa rimessa contrassegni."));
        PassiFinali(selezione, tabellaPronta, nomeTabella);
    }
}

// Rolled back before any message: no row stays locked while the box waits.
void frmRimessa::AnnullaRegistrazione()
{
    if (!m_transazioneAperta)
        return;
    m_transazioneAperta = false;
    try {
        connessioneComune().annullaTransazione();
    } catch (...) {
        // Closing the connection in the final steps rolls back as well.
    }
}

bool frmRimessa::Selezione(std::unique_ptr<Recordset> &selezione)
{
    const QString dataDa = CampoData::testo(ui->txtDataDa);
    const QString dataAl = CampoData::testo(ui->txtDataAl);
    const QString istruzione = Istruzioni::selezioneRimessa(
        TipoRimessa(), Sql::leggiData(dataDa), Sql::leggiData(dataAl), ui->txtCodiceCli->text());
    ApriRecordset(selezione, modPrincipale::ConnessioneComune(), istruzione, RecordsetSolaLettura);

    if (selezione->eof()) {
        Messaggi::avviso(this, titoloRimessa,
                         QStringLiteral("Non ci sono riscuti di tipo: '") +
                             ui->cmbCodInc->currentText() + QStringLiteral("' nel periodo dal ") +
                             dataDa + QStringLiteral(" al ") + dataAl + QStringLiteral("."));
        ChiudiConnessione(selezione, modPrincipale::ConnessioneComune(), true, false);
        return false;
    }

    m_chiaviSelezione.clear();
    m_chiaviSelezione.reserve(selezione->numeroRighe());
    for (selezione->primo(); !selezione->eof(); selezione->successivo())
        m_chiaviSelezione.append(chiaveRiga(*selezione));
    return true;
}

Istruzioni::DatiAssegno frmRimessa::DatiAssegnoFinestra(int tipo) const
{
    Istruzioni::DatiAssegno assegno;
    assegno.riferimento = ui->txtRiferimento->text();
    assegno.banca = ui->txtBanca->text();
    // Only our cheque or transfer has an amount; an empty or unreadable one stops the run here,
    // before anything is written.
    if (DatiLettera::conAssegno(tipo))
        assegno.importo = ImportoAssegno::perIstruzione(ui->txtImportoAss->text());
    return assegno;
}

// Copies every selected row into the work table, field by field, outside the posting
// transaction: the print component reads the table on a connection of its own. The rows go
// in blocks, one insert each; a refused row takes its block back with it.
void frmRimessa::CopiaInTabellaLavoro(Recordset &selezione, const Recordset &tabella,
                                      const QString &nomeTabella)
{
    const QStringList colonne = colonneDaCopiare(selezione, tabella);
    Connessione &connessione = connessioneComune();
    QList<QVariantList> righe;
    const auto scrivi = [&] {
        connessione.esegui(Istruzioni::inserisciRighe(nomeTabella, colonne, righe));
        for (int i = 0; i < righe.size(); ++i)
            passoAvanzamento();
        righe.clear();
    };
    for (selezione.primo(); !selezione.eof(); selezione.successivo()) {
        QVariantList valori;
        valori.reserve(colonne.size());
        for (int i = 0; i < colonne.size(); ++i)
            valori << selezione.campo(i);
        righe << valori;
        if (righe.size() == righePerInserimento)
            scrivi();
    }
    if (!righe.isEmpty())
        scrivi();
}

// The next remittance number, read and written back inside the posting transaction on the
// shared connection. The read locks the parameter row until the commit or the rollback, so a
// station posting at the same time waits here and then reads the number this one wrote: no two
// remittances get the same number, and a rolled-back posting gives its number back.
QString frmRimessa::NuovoNumeroRimessa()
{
    Connessione &connessione = connessioneComune();
    Recordset ultimo;
    ultimo.apri(Istruzioni::leggiUltimoNumero(), connessione);
    const QVariant valore = ultimo.campo(0);
    if (valore.isNull())
        throw ErroreDb(94, QStringLiteral("Utilizzo non valido di Null."));
    const qlonglong numero = valore.toLongLong() + 1;
    if (numero > std::numeric_limits<qint32>::max())
        throw ErroreDb(6, QStringLiteral("Overflow."));
    const QString testo = QString::number(numero);
    connessione.esegui(Istruzioni::scriviUltimoNumero(testo));
    return testo;
}

// Begins the posting transaction and stamps every selected waybill, and its work-table copy,
// with the new number and today's date; our cheque or transfer gets one remittance record per
// waybill. The statements go in blocks, in the order of the waybills. The transaction stays
// open for SegnaInviati and the commit.
void frmRimessa::RegistraRimessa(Recordset &selezione, const QString &tabella)
{
    Connessione &connessione = connessioneComune();
    connessione.iniziaTransazione();
    m_transazioneAperta = true;
    connessione.setTimeoutComandi(timeoutRegistrazione);

    selezione.primo();
    const QString numero = NuovoNumeroRimessa();
    ControllaLdvAncoraDaRimettere(tabella);
    // One date for the whole remittance, also when the posting runs past midnight: the
    // cancellation finds its waybills and records by number and date.
    m_dataRimessa = QDate::currentDate();
    const bool conAssegno = DatiLettera::conAssegno(m_tipo);
    BloccoIstruzioni blocco(connessione);
    for (; !selezione.eof(); selezione.successivo()) {
        const Istruzioni::ChiaveRimessa chiave = chiaveRiga(selezione);
        blocco.aggiungi(Istruzioni::timbraRimessa(tabellaLdv, numero, m_dataRimessa, chiave));
        blocco.aggiungi(Istruzioni::timbraRimessa(tabella, numero, m_dataRimessa, chiave));
        if (conAssegno) {
            blocco.aggiungi(Istruzioni::inserisciContrassegno(numero, m_dataRimessa, m_assegno));
            blocco.aggiungi(Istruzioni::timbraAssegnoTabellaLavoro(tabella, numero, m_dataRimessa,
                                                                   m_assegno, chiave));
        }
        passoAvanzamento();
    }
    blocco.invia();
}

// Another station may have posted some of the same waybills after this one's selection read
// them. Postings take the number lock in turn, so by now that posting has committed; a locking
// read sees its stamps, and keeps the waybills locked until this posting ends.
void frmRimessa::ControllaLdvAncoraDaRimettere(const QString &tabella)
{
    Recordset rimesse;
    rimesse.apri(Istruzioni::ldvRimesseNelFrattempo(tabella), connessioneComune());
    const int quante = rimesse.campo(0).toInt();
    if (quante > 0)
        throw LdvRimesseNelFrattempo{quante};
}

void frmRimessa::SegnaInviati(const QVector<Istruzioni::ChiaveRimessa> &chiavi)
{
    BloccoIstruzioni blocco(connessioneComune());
    for (const Istruzioni::ChiaveRimessa &chiave : chiavi) {
        blocco.aggiungi(Istruzioni::segnaInviato(chiave));
        passoAvanzamento();
    }
    blocco.invia();
}

// Hands the letter to the print component that the suite's INI file names, or to the default
// one. The window leaves the topmost band while the component may show something.
void frmRimessa::StampaRimessa(const QStringList &datiLettera)
{
    ImpostaInPrimoPiano(this, false);
    std::unique_ptr<cModuliStampa> stampa = std::make_unique<cModuliStampaPredefinito>();
    CreaModuliStampa(stampa);
    stampa->setPercorsoDb(modPrincipale::PercorsoDatabase());
    stampa->setNumeroModulo(moduloRimessa);
    stampa->setFileLogo(modPrincipale::PercorsoLogoIntestazione());
    stampa->DatiStampa(datiLettera);
    QString testo;
    bool flag = true;
    stampa->Stampa(testo, flag);
    stampa.reset();
    ImpostaInPrimoPiano(this, true);
}

void frmRimessa::PassiFinali(std::unique_ptr<Recordset> &selezione, bool tabellaPronta,
                             const QString &tabella)
{
    ChiudiConnessione(selezione, modPrincipale::ConnessioneComune(), true, false);
    if (tabellaPronta)
        EseguiComando(Istruzioni::eliminaTabella(tabella));
}

void frmRimessa::passoAvanzamento()
{
    if (m_avanzamento)
        m_avanzamento->passo();
}
