#include "remittance/frmannullarimessa.h"
#include "ui_frmannullarimessa.h"

#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"
#include "data/connessione.h"
#include "data/istruzioni.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "fields/campodata.h"

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

// Both statements in one transaction on the shared connection variable, which receives a new
// connection for it and holds none afterwards.
void frmAnnullaRimessa::EseguiAnnullamento()
{
    std::unique_ptr<Connessione> &connessione = modPrincipale::ConnessioneComune();
    bool transazione = false;
    try {
        connessione = std::make_unique<Connessione>(modPrincipale::PercorsoDatabase());
        connessione->setTimeoutComandi(timeoutAnnullamento);

        // Both statements are built before anything runs: a number that is not a whole number
        // or a date that is not one is refused here.
        const QString numero = ui->txtNum->text();
        const QString testoData = CampoData::testo(ui->txtData);
        const QDate data = Sql::leggiData(testoData);
        const QString annullaLdv = Istruzioni::annullaRimessaLdv(numero, data);
        const QString eliminaRecord = Istruzioni::eliminaContrassegni(numero, data);

        connessione->apri();
        connessione->iniziaTransazione();
        transazione = true;
        // No waybill and no record has an empty remittance date: with the date field left
        // empty nothing can match, and the server (which refuses '' as a date) is not asked.
        if (!data.isNull()) {
            connessione->esegui(annullaLdv);
            connessione->esegui(eliminaRecord);
        }
        connessione->confermaTransazione();
        transazione = false;

        Messaggi::informazione(this, Messaggi::titoloApplicazione(),
                               QStringLiteral("Rimessa contrassegni: ") + numero +
                                   QStringLiteral(" del ") + testoData +
                                   QStringLiteral(" annullata."));
        ui->txtNum->clear();
        CampoData::svuota(ui->txtData);
        std::unique_ptr<Recordset> nessuno;
        ChiudiConnessione(nessuno, connessione, true, false);
    } catch (...) {
        if (transazione && connessione) {
            try {
                connessione->annullaTransazione();
            } catch (...) {
                // Closing the connection below rolls back as well.
            }
        }
        std::unique_ptr<Recordset> nessuno;
        ChiudiConnessione(nessuno, connessione, true, false);
        Messaggi::avviso(this, Messaggi::titoloApplicazione(),
                         QStringLiteral("Impossibile annullare la rimessa contrassegni."));
    }
}
