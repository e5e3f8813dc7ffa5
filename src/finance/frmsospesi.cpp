#include "finance/frmsospesi.h"
#include "ui_frmsospesi.h"

#include "data/connessione.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "fields/campodata.h"
#include "finance/uscitaprospetto.h"
#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"

#include <QHeaderView>
#include <QStandardItemModel>

frmSospesi *frmSospesi::istanza(bool crea)
{
    return istanzaDiProcesso<frmSospesi>(crea);
}

frmSospesi::frmSospesi(QWidget *parent)
    : FinestraLavoro(parent), ui(new Ui::frmSospesi), m_modello(new QStandardItemModel(this)),
      m_modelloLdv(new QStandardItemModel(this))
{
    ui->setupUi(this);
    CampoData::preparaCampo(ui->txtData);
    CampoData::senzaControllo(ui->txtData);
    ui->Griglia->setModel(m_modello);
    ui->GrigliaLdv->setModel(m_modelloLdv);

    const auto gestore = [this](void (frmSospesi::*azione)()) {
        return [this, azione] { eseguiGestore(this, [this, azione] { (this->*azione)(); }); };
    };
    connect(ui->cmdCalcola, &QPushButton::clicked, this, gestore(&frmSospesi::Calcola));
    connect(ui->Griglia, &QTableView::doubleClicked, this, [this](const QModelIndex &indice) {
        eseguiGestore(this, [this, indice] { MostraLdv(indice); });
    });
    connect(ui->GrigliaLdv, &QTableView::doubleClicked, this, [this](const QModelIndex &indice) {
        eseguiGestore(this, [this, indice] { ApriLdv(indice); });
    });
    connect(ui->cmdCsv, &QPushButton::clicked, this, [this] {
        eseguiGestore(this, [this] {
            UscitaProspetto::esportaCsv(this, m_prospetto, NomeFile(QStringLiteral("csv")));
        });
    });
    connect(ui->cmdPdf, &QPushButton::clicked, this, [this] {
        eseguiGestore(this, [this] {
            UscitaProspetto::salvaPdf(this, m_prospetto, NomeFile(QStringLiteral("pdf")));
        });
    });
    connect(ui->cmdStampa, &QPushButton::clicked, this, [this] {
        eseguiGestore(this, [this] { UscitaProspetto::stampa(this, m_prospetto); });
    });
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmSospesi::scarica);
}

frmSospesi::~frmSospesi() = default;

// The window opens on today's report for every branch and customer.
void frmSospesi::caricamento()
{
    CaricaFiliali();
    ui->txtCliente->clear();
    CampoData::svuota(ui->txtData);
    ui->txtData->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    Calcola();
    ui->Griglia->setFocus(Qt::OtherFocusReason);
}

void frmSospesi::CaricaFiliali()
{
    ui->cmbFiliale->clear();
    ui->cmbFiliale->addItem(QStringLiteral("Tutte"), QString());
    Recordset filiali;
    filiali.apri(IstruzioniRegistro::filiali(), modPrincipale::PercorsoDatabase());
    for (filiali.primo(); !filiali.eof(); filiali.successivo()) {
        const QString codice = filiali.campo(0).toString();
        ui->cmbFiliale->addItem(codice + QStringLiteral(" - ") + filiali.campo(1).toString(),
                                codice);
    }
}

bool frmSospesi::LeggiFiltro(IstruzioniRegistro::FiltroSospesi &filtro)
{
    filtro.filiale = ui->cmbFiliale->currentData().toString();
    filtro.cliente = ui->txtCliente->text().trimmed();
    if (!filtro.cliente.isEmpty() && !Sql::eIntero(filtro.cliente)) {
        Messaggi::avviso(this, windowTitle(),
                         QStringLiteral("Il codice cliente deve essere un numero."));
        return false;
    }
    const QString data = CampoData::testo(ui->txtData);
    if (!CampoData::eDataValida(data)) {
        Messaggi::avviso(this, windowTitle(),
                         QStringLiteral("Indicare una data valida (gg/mm/aaaa)."));
        return false;
    }
    filtro.data = Sql::leggiData(data);
    return true;
}

void frmSospesi::Calcola()
{
    IstruzioniRegistro::FiltroSospesi filtro;
    if (!LeggiFiltro(filtro))
        return;
    Connessione connessione(modPrincipale::PercorsoDatabase());
    connessione.apri();
    m_righe = Sospesi::leggi(filtro, connessione);
    m_filtro = filtro;
    m_prospetto = Sospesi::prospetto(m_righe, Ambito(filtro));
    UscitaProspetto::mostra(ui->Griglia, m_modello, m_prospetto);
    ui->lblAmbito->setText(m_prospetto.sottotitolo);
    m_ldv = {};
    m_clienteLdv.clear();
    UscitaProspetto::mostra(ui->GrigliaLdv, m_modelloLdv, m_ldv.prospetto);
    ui->lblLdv->setText(
        QStringLiteral("Doppio clic su un cliente per vederne le spedizioni in sospeso."));
}

// The grand total's line lists nothing.
void frmSospesi::MostraLdv(const QModelIndex &indice)
{
    if (!indice.isValid() || indice.row() >= m_righe.size())
        return;
    const RigaSospesi &riga = m_righe.at(indice.row());
    IstruzioniRegistro::FiltroSospesi filtro = m_filtro;
    filtro.cliente = riga.cliente;
    Connessione connessione(modPrincipale::PercorsoDatabase());
    connessione.apri();
    m_ldv = Sospesi::leggiLdv(filtro, connessione);
    m_clienteLdv = riga.cliente;
    UscitaProspetto::mostra(ui->GrigliaLdv, m_modelloLdv, m_ldv.prospetto);
    ui->lblLdv->setText(QStringLiteral("Spedizioni in sospeso di %1 %2 (doppio clic per "
                                       "l'incasso):")
                            .arg(riga.cliente, riga.nome));
}

void frmSospesi::ApriLdv(const QModelIndex &indice)
{
    if (!indice.isValid() || indice.row() >= m_ldv.chiavi.size())
        return;
    const Istruzioni::ChiaveLdv &chiave = m_ldv.chiavi.at(indice.row());
    emit apriIncasso(chiave.numero, chiave.data.toString(QStringLiteral("dd/MM/yyyy")),
                     chiave.filiale, m_clienteLdv);
}

QString frmSospesi::Ambito(const IstruzioniRegistro::FiltroSospesi &filtro) const
{
    return QStringLiteral("Filiale: %1 - Cliente: %2 - Situazione al %3")
        .arg(ui->cmbFiliale->currentText(),
             filtro.cliente.isEmpty() ? QStringLiteral("tutti") : filtro.cliente,
             filtro.data.toString(QStringLiteral("dd/MM/yyyy")));
}

QString frmSospesi::NomeFile(const QString &estensione) const
{
    return QStringLiteral("contrassegni-in-sospeso-%1.%2")
        .arg(m_filtro.data.toString(QStringLiteral("yyyy-MM-dd")), estensione);
}
