#include "remittance/frmrimessa.h"
#include "ui_frmrimessa.h"

#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/importo.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "fields/campocliente.h"
#include "fields/campodata.h"
#include "remittance/avanzamentorimessa.h"
#include "remittance/datilettera.h"
#include "remittance/postazione.h"
#include "remittance/registrazionerimessa.h"
#include "remittance/tabellalavoro.h"
#include "search/apriricerca.h"
#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"
#include "suite/cModuliStampa.h"
#include "suite/creamodulistampa.h"
#include "suite/modulistampapredefinito.h"

#include <QCloseEvent>
#include <QScopeGuard>

namespace {

const QString titoloRimessa = QStringLiteral("Gestione riscuti contrassegni");
const QString titoloErrore = QStringLiteral("Gestione rimessa contrassegni");
const QString prefissoTabellaLavoro = QStringLiteral("Rimessa");
// The remittance letter among the print component's forms.
const int moduloRimessa = 8;

// The amount of our cheque or transfer as typed; an empty or unreadable one stops the run.
Importo importoAssegno(const QString &testo)
{
    const std::optional<Importo> importo = Importo::daDigitato(testo);
    if (!importo)
        throw ErroreDb(ErroreDb::TipoNonCorrispondente,
                       QStringLiteral("Tipo non corrispondente: l'importo dell'assegno o del "
                                      "bonifico '%1' non è valido.")
                           .arg(testo));
    return *importo;
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

// The remittance run. One handler covers every step: a failure before the commit has rolled the
// whole posting back; after it the remittance stays posted. Either way the shared connection is
// released and the work table dropped, and the window keeps what the operator entered.
void frmRimessa::EseguiRimessa()
{
    if (m_inEsecuzione)
        return;
    m_inEsecuzione = true;
    const auto fineEsecuzione = qScopeGuard([this] { m_inEsecuzione = false; });

    std::unique_ptr<RegistrazioneRimessa> rimessa;
    try {
        if (!Selezione(rimessa))
            return;
        const bool definitiva = Messaggi::domanda(
            this, titoloRimessa, QStringLiteral("Effettuare la stampa definitiva della rimessa?"));
        rimessa->setAssegno(DatiAssegnoFinestra(TipoRimessa()));
        if (definitiva) {
            AvanzamentoRimessa avanzamento(this, 3 * rimessa->selezionate());
            rimessa->setAvanzamento([&avanzamento](const QString &fase, int fatti, int) {
                avanzamento.aggiorna(fase, fatti);
            });
            rimessa->registra(
                {NomeTabellaLavoro(prefissoTabellaLavoro), ModelloCreaTabella(), NomeComputer()});
            rimessa->setAvanzamento({});
        } else {
            rimessa->registraLetteraProvvisoria();
        }
        StampaRimessa(rimessa->datiLettera());
        PulisciCampi(true);
        PassiFinali(rimessa);
    } catch (const LdvRimesseNelFrattempo &rimesse) {
        Messaggi::avviso(this, titoloRimessa,
                         QStringLiteral("Nel frattempo un'altra postazione ha rimesso %1 delle %2 "
                                        "spedizioni selezionate. La rimessa non è stata "
                                        "registrata: ripeterla.")
                             .arg(rimesse.quante)
                             .arg(rimesse.selezionate));
        PassiFinali(rimessa);
    } catch (...) {
        Messaggi::critico(
            this, titoloErrore,
            Messaggi::testoErrore(std::current_exception()) +
                QStringLiteral("\r\nerrore generato da stampa rimessa contrassegni."));
        PassiFinali(rimessa);
    }
}

// Selects the waybills on the shared connection; false (after the message and the closing) when
// there are none.
bool frmRimessa::Selezione(std::unique_ptr<RegistrazioneRimessa> &rimessa)
{
    const QString dataDa = CampoData::testo(ui->txtDataDa);
    const QString dataAl = CampoData::testo(ui->txtDataAl);
    RichiestaRimessa richiesta;
    richiesta.cliente = ui->txtCodiceCli->text();
    richiesta.tipo = TipoRimessa();
    richiesta.dal = Sql::leggiData(dataDa);
    richiesta.al = Sql::leggiData(dataAl);
    rimessa =
        std::make_unique<RegistrazioneRimessa>(modPrincipale::ConnessioneComuneAperta(), richiesta);
    if (rimessa->seleziona())
        return true;
    Messaggi::avviso(this, titoloRimessa,
                     QStringLiteral("Non ci sono riscuti di tipo: '") +
                         ui->cmbCodInc->currentText() + QStringLiteral("' nel periodo dal ") +
                         dataDa + QStringLiteral(" al ") + dataAl + QStringLiteral("."));
    PassiFinali(rimessa);
    return false;
}

Istruzioni::DatiAssegno frmRimessa::DatiAssegnoFinestra(int tipo) const
{
    Istruzioni::DatiAssegno assegno;
    assegno.riferimento = ui->txtRiferimento->text();
    assegno.banca = ui->txtBanca->text();
    // Only our cheque or transfer has an amount; an empty or unreadable one stops the run here,
    // before anything is written.
    if (DatiLettera::conAssegno(tipo))
        assegno.importo = importoAssegno(ui->txtImportoAss->text());
    return assegno;
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

// The closing steps of every run: the shared connection released, then the work table dropped
// and given back on connections of their own.
void frmRimessa::PassiFinali(std::unique_ptr<RegistrazioneRimessa> &rimessa)
{
    std::unique_ptr<Recordset> nessuno;
    ChiudiConnessione(nessuno, modPrincipale::ConnessioneComune(), true, false);
    if (rimessa)
        rimessa->liberaTabellaLavoro();
    rimessa.reset();
}
