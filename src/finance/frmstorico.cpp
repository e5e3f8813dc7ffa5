#include "finance/frmstorico.h"
#include "ui_frmstorico.h"

#include "data/connessione.h"
#include "data/recordset.h"
#include "data/registro.h"
#include "data/sql.h"
#include "fields/campodata.h"
#include "finance/uscitaprospetto.h"
#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"

#include <QStandardItemModel>

namespace {

// Nobody reads more changes than this on screen; the filters narrow the list down.
const int righeMassime = 5000;

QString nomeFileCsv()
{
    return QStringLiteral("storico-contrassegni-%1.csv")
        .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace

frmStorico *frmStorico::istanza(bool crea)
{
    return istanzaDiProcesso<frmStorico>(crea);
}

frmStorico::frmStorico(QWidget *parent)
    : FinestraLavoro(parent), ui(new Ui::frmStorico), m_modello(new QStandardItemModel(this))
{
    ui->setupUi(this);
    for (QLineEdit *data : {ui->txtDal, ui->txtAl}) {
        CampoData::preparaCampo(data);
        CampoData::senzaControllo(data);
    }
    ui->Griglia->setModel(m_modello);

    connect(ui->cmdCerca, &QPushButton::clicked, this,
            [this] { eseguiGestore(this, [this] { Cerca(); }); });
    connect(ui->cmdCsv, &QPushButton::clicked, this, [this] {
        eseguiGestore(this,
                      [this] { UscitaProspetto::esportaCsv(this, m_prospetto, nomeFileCsv()); });
    });
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmStorico::scarica);
}

frmStorico::~frmStorico() = default;

// Opens on the latest changes; a database without the audit table gets the instructions
// instead (asked again at every opening, so the window sees a table installed meanwhile).
void frmStorico::caricamento()
{
    for (QLineEdit *campo : {ui->txtLdv, ui->txtCliente, ui->txtDistinta})
        campo->clear();
    CampoData::svuota(ui->txtDal);
    CampoData::svuota(ui->txtAl);
    m_modello->clear();
    m_prospetto = {};
    Connessione connessione(modPrincipale::PercorsoDatabase());
    connessione.apri();
    const bool presente = Registro::presente(connessione, true);
    ui->lblAvviso->setVisible(!presente);
    ui->lblAvviso->setText(
        presente ? QString()
                 : QStringLiteral("Il registro delle modifiche non è installato in questo "
                                  "database: farlo creare dall'amministratore con lo script "
                                  "db/registro.sql (e concedere agli operatori i permessi di "
                                  "db/permessi.sql)."));
    AbilitaRicerca(presente);
    if (presente)
        Cerca();
    ui->txtLdv->setFocus(Qt::OtherFocusReason);
}

void frmStorico::AbilitaRicerca(bool abilita)
{
    ui->fraFiltri->setEnabled(abilita);
    ui->Griglia->setEnabled(abilita);
    ui->cmdCsv->setEnabled(abilita);
}

bool frmStorico::LeggiFiltro(IstruzioniRegistro::FiltroStorico &filtro)
{
    filtro.ldv = ui->txtLdv->text().trimmed();
    filtro.cliente = ui->txtCliente->text().trimmed();
    filtro.distinta = ui->txtDistinta->text().trimmed();
    filtro.righe = righeMassime;
    for (const QString *numero : {&filtro.cliente, &filtro.distinta}) {
        if (!numero->isEmpty() && !Sql::eIntero(*numero)) {
            Messaggi::avviso(this, windowTitle(),
                             QStringLiteral("Il codice cliente e il numero di distinta devono "
                                            "essere numeri."));
            return false;
        }
    }
    for (auto [campo, data] :
         {std::pair{ui->txtDal, &filtro.dal}, std::pair{ui->txtAl, &filtro.al}}) {
        const QString testo = CampoData::testo(campo);
        if (testo.isEmpty() || testo == CampoData::mascheraVuota())
            continue;
        if (!CampoData::eDataValida(testo)) {
            Messaggi::avviso(this, windowTitle(),
                             QStringLiteral("Indicare una data valida (gg/mm/aaaa)."));
            return false;
        }
        *data = Sql::leggiData(testo);
    }
    return true;
}

void frmStorico::Cerca()
{
    IstruzioniRegistro::FiltroStorico filtro;
    if (!LeggiFiltro(filtro))
        return;
    Recordset r;
    r.apri(IstruzioniRegistro::storico(filtro), modPrincipale::PercorsoDatabase());
    Prospetto p;
    p.titolo = windowTitle();
    p.intestazioni << QStringLiteral("Quando") << QStringLiteral("Azione")
                   << QStringLiteral("Filiale") << QStringLiteral("Nr. LDV")
                   << QStringLiteral("Anno") << QStringLiteral("Cliente")
                   << QStringLiteral("Ragione sociale") << QStringLiteral("Distinta")
                   << QStringLiteral("Data distinta") << QStringLiteral("Colonna")
                   << QStringLiteral("Prima") << QStringLiteral("Dopo")
                   << QStringLiteral("Postazione") << QStringLiteral("Utente database")
                   << QStringLiteral("Utente sistema");
    for (r.primo(); !r.eof(); r.successivo()) {
        QList<Cella> celle{Cella::dataOra(r.campo(QStringLiteral("Quando")).toDateTime())};
        for (int i = 1; i < r.numeroCampi(); ++i) {
            const QVariant valore = r.campo(i);
            if (valore.isNull())
                celle << Cella::testo(QString());
            else if (valore.typeId() == QMetaType::QDate)
                celle << Cella::data(valore.toDate());
            else
                celle << Cella::testo(valore.toString());
        }
        p.righe << celle;
    }
    m_prospetto = p;
    UscitaProspetto::mostra(ui->Griglia, m_modello, m_prospetto);
    ui->lblRighe->setText(p.righe.size() == righeMassime
                              ? QStringLiteral("Le %1 modifiche più recenti: restringere la "
                                               "ricerca per vedere le altre.")
                                    .arg(righeMassime)
                              : QStringLiteral("Modifiche trovate: %1").arg(p.righe.size()));
}
