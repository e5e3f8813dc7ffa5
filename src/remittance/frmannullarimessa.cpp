#include "remittance/frmannullarimessa.h"
#include "ui_frmannullarimessa.h"

#include "data/connessione.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "fields/campodata.h"
#include "remittance/annullamentorimessa.h"
#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"

namespace {

// Seconds a cancellation statement may run.
const int timeoutAnnullamento = 30;

} // namespace

frmAnnullaRimessa *frmAnnullaRimessa::istanza(bool crea)
{
    return istanzaDiProcesso<frmAnnullaRimessa>(crea);
}

frmAnnullaRimessa::frmAnnullaRimessa(QWidget *parent)
    : FinestraLavoro(parent), ui(new Ui::frmAnnullaRimessa)
{
    ui->setupUi(this);
    CampoData::preparaCampo(ui->txtData);
    CampoData::senzaControllo(ui->txtData);

    connect(ui->cmdAnnullaRimessa, &QPushButton::clicked, this,
            [this] { eseguiGestore(this, [this] { AnnullaRimessa(); }); });
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmAnnullaRimessa::scarica);
}

frmAnnullaRimessa::~frmAnnullaRimessa() = default;

void frmAnnullaRimessa::caricamento()
{
    // A window loads empty, also when its instance held values from an earlier showing.
    ui->txtNum->clear();
    CampoData::svuota(ui->txtData);
    ui->txtNum->setFocus(Qt::OtherFocusReason);
}

void frmAnnullaRimessa::AnnullaRimessa()
{
    // The fields are not checked before the question; the cancellation refuses what it cannot use.
    const QString domanda = QStringLiteral("Annullare la rimessa ") + ui->txtNum->text() +
                            QStringLiteral(" del ") + CampoData::testo(ui->txtData) +
                            QStringLiteral("?");
    if (Messaggi::domanda(this, Messaggi::titoloApplicazione(), domanda))
        EseguiAnnullamento();
}

// The cancellation runs on the shared connection variable, which receives a new connection for it
// and holds none afterwards.
void frmAnnullaRimessa::EseguiAnnullamento()
{
    std::unique_ptr<Connessione> &connessione = modPrincipale::ConnessioneComune();
    std::unique_ptr<Recordset> nessuno;
    const QString numero = ui->txtNum->text();
    const QString testoData = CampoData::testo(ui->txtData);
    try {
        connessione = std::make_unique<Connessione>(modPrincipale::PercorsoDatabase());
        connessione->setTimeoutComandi(timeoutAnnullamento);
        const QDate data = Sql::leggiData(testoData);
        connessione->apri();
        AnnullamentoRimessa::annulla(numero, data, *connessione);
    } catch (...) {
        ChiudiConnessione(nessuno, connessione, true, false);
        Messaggi::avviso(this, Messaggi::titoloApplicazione(),
                         QStringLiteral("Impossibile annullare la rimessa contrassegni."));
        return;
    }
    Messaggi::informazione(this, Messaggi::titoloApplicazione(),
                           QStringLiteral("Rimessa contrassegni: ") + numero +
                               QStringLiteral(" del ") + testoData + QStringLiteral(" annullata."));
    ui->txtNum->clear();
    CampoData::svuota(ui->txtData);
    ChiudiConnessione(nessuno, connessione, true, false);
}
