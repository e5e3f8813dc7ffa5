#include "collection/frmriscuti.h"
#include "ui_frmriscuti.h"

#include "collection/salvataggioincasso.h"
#include "data/connessione.h"
#include "data/importo.h"
#include "data/istruzioni.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "fields/campocliente.h"
#include "fields/campodata.h"
#include "search/apriricerca.h"
#include "search/frmricercagia.h"
#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"

#include <QDate>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include <utility>

namespace {

const QString titoloSalvataggio = QStringLiteral("Gestione riscuti contrassegni");

// A step of CaricaDati that cannot use its value: the step is skipped.
struct PassoSaltato
{
};

// Runs one step of a fill or a clearing; a step that fails is skipped and the next one runs.
template <typename Passo> void passo(Passo &&istruzioni)
{
    try {
        istruzioni();
    } catch (...) {
    }
}

QString testoNonNullo(const Recordset &rs, const char *colonna)
{
    const QVariant valore = rs.campo(QLatin1String(colonna));
    if (valore.isNull())
        throw PassoSaltato();
    return valore.toString();
}

QString testoVuotoSeNullo(const Recordset &rs, const char *colonna)
{
    const QVariant valore = rs.campo(QLatin1String(colonna));
    return valore.isNull() ? QString() : valore.toString();
}

QString dataTesto(const Recordset &rs, const char *colonna)
{
    const QDate data = rs.campo(QLatin1String(colonna)).toDate();
    if (!data.isValid())
        throw PassoSaltato();
    return data.toString(QStringLiteral("dd/MM/yyyy"));
}

qint64 intero(const Recordset &rs, const char *colonna)
{
    const QVariant valore = rs.campo(QLatin1String(colonna));
    bool numero = false;
    const qint64 n = valore.toString().trimmed().toLongLong(&numero);
    if (valore.isNull() || !numero)
        throw PassoSaltato();
    return n;
}

Importo importo(const Recordset &rs, const char *colonna)
{
    const std::optional<Importo> valore = Importo::daDatabase(rs.campo(QLatin1String(colonna)));
    if (!valore)
        throw PassoSaltato();
    return *valore;
}

// Selects the entry at `posizione`; a position the list does not have is not a value.
void selezionaVoce(QComboBox *lista, qint64 posizione)
{
    if (posizione < 0 || posizione >= lista->count())
        throw PassoSaltato();
    lista->setCurrentIndex(int(posizione));
}

void impostaSpunta(QCheckBox *casella, qint64 valore)
{
    if (valore != 0 && valore != 1)
        throw PassoSaltato();
    casella->setChecked(valore == 1);
}

// "<number> del <dd/mm/yyyy>" when the number is greater than 0; else the bar stays empty.
void statoElaborazione(QLabel *barra, const Recordset &rs, const char *numero, const char *data)
{
    const QVariant n = rs.campo(QLatin1String(numero));
    bool numerico = false;
    const double valore = n.toString().trimmed().toDouble(&numerico);
    if (n.isNull() || !numerico || valore <= 0)
        return;
    const QDate quando = rs.campo(QLatin1String(data)).toDate();
    barra->setText(n.toString() + QStringLiteral(" del ") +
                   (quando.isValid() ? quando.toString(QStringLiteral("dd/MM/yyyy")) : QString()));
}

// The background of a field or list: what it is painted with, whether enabled or not.
void impostaSfondo(QWidget *controllo, const QColor &colore)
{
    // Every lookup locks the three groups again: a palette set anew repolishes and repaints.
    if (controllo->palette().color(QPalette::Base) == colore)
        return;
    QPalette tavolozza = controllo->palette();
    tavolozza.setColor(QPalette::Base, colore);
    if (qobject_cast<QComboBox *>(controllo))
        tavolozza.setColor(QPalette::Button, colore);
    controllo->setPalette(tavolozza);
}

// Moves the focus once the event in progress (often a focus move of its own) has ended.
void focusDopo(QWidget *controllo)
{
    QTimer::singleShot(0, controllo, [controllo] { controllo->setFocus(Qt::OtherFocusReason); });
}

// The magnifier of the shipment-list button.
QIcon iconaLente()
{
    QPixmap immagine(32, 32);
    immagine.fill(Qt::transparent);
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    const QColor blu(0x1F, 0x3F, 0x7A);
    pittore.setBrush(QColor(0xDD, 0xEB, 0xFA));
    pittore.setPen(QPen(blu, 3));
    pittore.drawEllipse(QRectF(3.5, 3.5, 18, 18));
    pittore.setPen(QPen(blu, 5, Qt::SolidLine, Qt::RoundCap));
    pittore.drawLine(QPointF(20, 20), QPointF(28, 28));
    return QIcon(immagine);
}

} // namespace

frmRiscuti *frmRiscuti::istanza(bool crea)
{
    return istanzaDiProcesso<frmRiscuti>(crea);
}

frmRiscuti::frmRiscuti(QWidget *parent) : FinestraLavoro(parent), ui(new Ui::frmRiscuti)
{
    ui->setupUi(this);
    for (int voce = 0; voce < ui->cmbIncassoCon->count(); ++voce)
        ui->cmbIncassoCon->setItemData(voce, voce + 1);
    ui->cmdCerca->setIcon(iconaLente());
    for (QLineEdit *data : {ui->txtDataRif, ui->txtDataLdv, ui->txtDataInc})
        CampoData::preparaCampo(data);

    CampoCliente::Opzioni opzioni;
    opzioni.bloccaDopoConvalida = true;
    opzioni.pulisci = [this] { PulisciCampi(true); };
    opzioni.cerca = [] { return ApriRicerca(1, QStringLiteral("Clien")); };
    opzioni.focusDopoRicerca = ui->txtRiferimento;
    opzioni.dopoScelta = [this] {
        ui->cmdData->setEnabled(false);
        ui->txtRiferimento->setFocus(Qt::OtherFocusReason);
    };
    m_cliente =
        new CampoCliente(ui->txtCodiceCli, ui->cmdCercaCliente, ui->barCliente, std::move(opzioni));
    CampoData::conRicerca(ui->txtDataRif, [this] { RicercaPerRiferimento(); });
    CampoData::senzaControllo(ui->txtDataInc);
    ui->txtRiferimento->installEventFilter(this);

    connect(ui->cmdCerca, &QPushButton::clicked, this,
            [this] { eseguiGestore(this, [this] { ElencoSpedizioni(); }); });
    connect(ui->lblImpContr, &EtichettaImporto::captionCambiata, this,
            [this] { BloccaIncasso(1, ui->lblImpContr->text().isEmpty()); });
    connect(ui->lblImpAnt, &EtichettaImporto::cliccata, this,
            [this] { BloccaIncasso(2, ui->lblImpAnt->text().isEmpty()); });
    connect(ui->lblImpAssegnato, &EtichettaImporto::cliccata, this,
            [this] { BloccaIncasso(3, ui->lblImpAssegnato->text().isEmpty()); });
    connect(ui->cmdSalva, &QPushButton::clicked, this,
            [this] { eseguiGestore(this, [this] { Salva(); }); });
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmRiscuti::scarica);
}

frmRiscuti::~frmRiscuti() = default;

QString frmRiscuti::NLdv() const
{
    return m_NLdv;
}
void frmRiscuti::setNLdv(const QString &valore)
{
    m_NLdv = valore;
}
QString frmRiscuti::DataLdv() const
{
    return m_DataLdv;
}
void frmRiscuti::setDataLdv(const QString &valore)
{
    m_DataLdv = valore;
}
QString frmRiscuti::Filiale() const
{
    return m_Filiale;
}
void frmRiscuti::setFiliale(const QString &valore)
{
    m_Filiale = valore;
}
QString frmRiscuti::CodiceCliente() const
{
    return m_CodiceCliente;
}
void frmRiscuti::setCodiceCliente(const QString &valore)
{
    m_CodiceCliente = valore;
}

// --- Load and activation ---------------------------------------------------------------------

void frmRiscuti::caricamento()
{
    RipristinaProgetto();
    m_cliente->setClienteValido(false);
    CaricaCodiciIncasso(ui->cmbCodIncContr);
    CaricaCodiciIncasso(ui->cmbCodIncAnt);
    CaricaCodiciIncasso(ui->cmbCodIncAssegnato);
    PulisciCampi(false);
    ui->txtCodiceCli->setFocus(Qt::OtherFocusReason);
}

// A window loaded again starts as the designed one: no customer, lookup fields empty.
void frmRiscuti::RipristinaProgetto()
{
    ui->txtCodiceCli->clear();
    ui->txtCodiceCli->setReadOnly(false);
    ui->barCliente->clear();
    ui->cmdData->setEnabled(true);
    ui->txtRiferimento->clear();
    CampoData::svuota(ui->txtDataRif);
    ui->txtFiliale->setText(QStringLiteral("01"));
    ui->txtLDV->clear();
    CampoData::svuota(ui->txtDataLdv);
}

void frmRiscuti::attivazione()
{
    RicercaPreimpostata();
}

bool frmRiscuti::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == ui->txtRiferimento && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(evento)->key() == Qt::Key_F12)
        eseguiGestore(this, [this] { ElencoSpedizioni(); });
    return FinestraLavoro::eventFilter(oggetto, evento);
}

// --- Waybill lookup --------------------------------------------------------------------------

bool frmRiscuti::ClienteNumerico()
{
    if (CampoCliente::codiceValido(ui->txtCodiceCli->text()))
        return true;
    Messaggi::avviso(this, Messaggi::titoloApplicazione(),
                     QStringLiteral("Selezionare il codice cliente."));
    focusDopo(ui->txtCodiceCli);
    return false;
}

bool frmRiscuti::ControllaRicerca()
{
    const bool ok = !ui->txtRiferimento->text().isEmpty() &&
                    CampoData::eDataValida(CampoData::testo(ui->txtDataRif));
    if (!ok)
        Messaggi::avviso(
            this, Messaggi::titoloApplicazione(),
            QStringLiteral(
                "Controllare l'immissione del riferimento cliente e/o data rifer. cliente"));
    return ok;
}

// Leaving txtDataRif with something typed: the waybill of that reference and date, else the
// shipment list opened on the reference.
void frmRiscuti::RicercaPerRiferimento()
{
    if (!ClienteNumerico() || !ControllaRicerca())
        return;
    Recordset rsLdv;
    rsLdv.apri(Istruzioni::ldvPerRiferimento(ui->txtRiferimento->text(),
                                             Sql::leggiData(CampoData::testo(ui->txtDataRif))),
               modPrincipale::PercorsoDatabase());
    if (!rsLdv.eof()) {
        PulisciCampi(false);
        CaricaDati(rsLdv);
        return;
    }
    rsLdv.chiudi();
    CercaSpedizione(1);
    rsLdv.apri(Istruzioni::ldvPerNumero(m_NLdvScelta, Sql::leggiData(m_DataLdvScelta)),
               modPrincipale::PercorsoDatabase());
    PulisciCampi(false);
    if (!rsLdv.eof())
        CaricaDati(rsLdv);
}

// F12 in txtRiferimento or the list button: the customer's cash-on-delivery shipments.
void frmRiscuti::ElencoSpedizioni()
{
    if (!ClienteNumerico())
        return;
    CercaSpedizione(12);
    Recordset rsLdv;
    rsLdv.apri(Istruzioni::vistaPerNumero(m_NLdvScelta, Sql::leggiData(m_DataLdvScelta)),
               modPrincipale::PercorsoDatabase());
    PulisciCampi(false);
    if (!rsLdv.eof())
        CaricaDati(rsLdv);
}

void frmRiscuti::CercaSpedizione(int tipo)
{
    frmRicercaGia *elenco = frmRicercaGia::istanza();
    elenco->setCodiceCliente(m_cliente->CodCliente());
    elenco->setCaptionLabel(QStringLiteral("Riferimento"));
    elenco->setFiliale(ui->txtFiliale->text());
    elenco->setRagioneSocialeCliente(ui->barCliente->text());
    elenco->setTipoRicerca(tipo);
    elenco->setRiferimentoCliente(ui->txtRiferimento->text());
    const QString dataRiferimento = CampoData::testo(ui->txtDataRif);
    if (CampoData::eDataValida(dataRiferimento))
        elenco->setAnnoRif_LDV(QString::number(Sql::leggiData(dataRiferimento).year()));
    elenco->setTitolo(QStringLiteral("Ricerca per riferimento"));
    elenco->mostraModale();
    m_NLdvScelta = elenco->NumLetVett();
    m_DataLdvScelta = elenco->DataLdv();
}

void frmRiscuti::RicercaPreimpostata()
{
    if (m_NLdv.isEmpty() || m_Filiale.isEmpty() || m_CodiceCliente.isEmpty() ||
        !CampoData::eDataValida(m_DataLdv))
        return;
    ui->txtCodiceCli->setText(m_CodiceCliente);
    m_cliente->ConvalidaCliente();
    CaricaLdvPreimpostata();
}

void frmRiscuti::CaricaLdvPreimpostata()
{
    Recordset rsLdv;
    rsLdv.apri(Istruzioni::ldvPreimpostata(m_NLdv, Sql::leggiData(m_DataLdv), m_Filiale),
               modPrincipale::PercorsoDatabase());
    if (!rsLdv.eof()) {
        PulisciCampi(false);
        CaricaDati(rsLdv);
    }
}

// --- Display ---------------------------------------------------------------------------------

void frmRiscuti::PulisciCampi(bool ancheRicerca)
{
    for (QWidget *contenitore :
         {static_cast<QWidget *>(ui->Frame2), static_cast<QWidget *>(ui->fraIncasso)}) {
        for (QObject *figlio : contenitore->children()) {
            passo([figlio] {
                if (auto *testo = qobject_cast<QLineEdit *>(figlio))
                    testo->setText(QString());
                else if (auto *lista = qobject_cast<QComboBox *>(figlio))
                    lista->setCurrentIndex(-1);
            });
        }
    }
    if (ancheRicerca) {
        passo([this] { ui->txtRiferimento->clear(); });
        passo([this] { CampoData::svuota(ui->txtDataRif); });
        passo([this] { ui->txtFiliale->setText(QStringLiteral("01")); });
        passo([this] { ui->txtLDV->clear(); });
        passo([this] { CampoData::svuota(ui->txtDataLdv); });
    }
    passo([this] { ui->txtFilInc->setText(QStringLiteral("01")); });
    passo([this] { ui->lblImpContr->setText(QString()); });
    passo([this] { ui->lblImpAnt->setText(QString()); });
    passo([this] { ui->lblImpAssegnato->setText(QString()); });
    for (QLabel *etichetta : {ui->lblImpTot, ui->barFattAssegnato, ui->barDistintaContr,
                              ui->barAnticipata, ui->barInvioSede})
        passo([etichetta] { etichetta->clear(); });
    for (QCheckBox *casella :
         {ui->chkInvioContr, ui->chkInvioAnticipata, ui->chkInvioAssegnato, ui->chkPassCont})
        passo([casella] { casella->setChecked(false); });
    passo([this] {
        ui->txtDataInc->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    });
    for (int gruppo = 1; gruppo <= 3; ++gruppo)
        passo([this, gruppo] { BloccaIncasso(gruppo, true); });
}

// Copies the found row into the window, one step per target; a step whose column is missing,
// NULL where a text is needed, or not a usable value is skipped, and the target keeps what the
// clearing gave it. Both the waybill join and a row of vdaticontrassegni are read.
void frmRiscuti::CaricaDati(const Recordset &rs)
{
    passo([&] { ui->txtRiferimento->setText(testoNonNullo(rs, "LERIFE")); });
    passo([&] { ui->txtDataRif->setText(dataTesto(rs, "LERIFD")); });
    passo([&] { ui->txtFiliale->setText(testoNonNullo(rs, "lefili")); });
    passo([&] { ui->txtDataLdv->setText(dataTesto(rs, "ledtlv")); });
    passo([&] { ui->txtLDV->setText(testoNonNullo(rs, "lenrlv")); });
    passo([&] { ui->txtFilInc->setText(testoNonNullo(rs, "lefinc")); });
    passo([&] { ui->txtBanca->setText(testoNonNullo(rs, "leban")); });
    passo([&] {
        const qint64 mezzo = intero(rs, "letpin");
        if (mezzo > 0)
            selezionaVoce(ui->cmbIncassoCon, mezzo - 1);
    });
    passo([&] { ui->txtNrAssegno->setText(testoVuotoSeNullo(rs, "lenras")); });
    passo([&] { ui->txtPiazza->setText(testoVuotoSeNullo(rs, "lepiaz")); });

    // Each collected amount, then its code and sent flag when something was collected.
    const struct
    {
        QLineEdit *importo;
        QComboBox *codice;
        QCheckBox *inviato;
        const char *colonnaImporto;
        const char *colonnaCodice;
        const char *colonnaInviato;
    } incassi[] = {
        {ui->txtIncContrassegno, ui->cmbCodIncContr, ui->chkInvioContr, "leimcs", "leflic",
         "Leflsc"},
        {ui->txtIncAnticipata, ui->cmbCodIncAnt, ui->chkInvioAnticipata, "leimap", "leflia",
         "Leflsa"},
        {ui->txtIncAssegnato, ui->cmbCodIncAssegnato, ui->chkInvioAssegnato, "leinpa", "leflip",
         "Leflsp"},
    };
    for (const auto &incasso : incassi) {
        passo([&] {
            const Importo valore = importo(rs, incasso.colonnaImporto);
            incasso.importo->setText(valore.zero() ? QString() : valore.testoCampo());
        });
        passo([&] {
            if (!importo(rs, incasso.colonnaImporto).positivo())
                return;
            selezionaVoce(incasso.codice, intero(rs, incasso.colonnaCodice));
            impostaSpunta(incasso.inviato, intero(rs, incasso.colonnaInviato));
        });
    }

    passo([&] { ui->txtDataInc->setText(dataTesto(rs, "ledtin")); });
    passo([&] { impostaSpunta(ui->chkPassCont, intero(rs, "leflco")); });

    passo([&] {
        const Importo contrassegno = importo(rs, "lecnss");
        if (contrassegno.positivo())
            ui->lblImpContr->setText(contrassegno.valuta());
    });
    passo([&] {
        const Importo anticipata = importo(rs, "Leanpc");
        if (anticipata.positivo())
            ui->lblImpAnt->setText(anticipata.valuta());
    });
    passo([&] {
        const Importo assegnato = importo(rs, "LEIMPA");
        if (assegnato.positivo())
            ui->lblImpAssegnato->setText(assegnato.valuta());
    });
    passo([&] {
        const Importo dovuto =
            importo(rs, "lecnss") + importo(rs, "Leanpc") + importo(rs, "leimpa");
        const Importo incassato =
            importo(rs, "Leimcs") + importo(rs, "leimap") + importo(rs, "leinpa");
        if (dovuto.positivo())
            ui->lblImpTot->setText((dovuto - incassato).valuta());
    });

    passo([&] { statoElaborazione(ui->barFattAssegnato, rs, "Lenrft", "ledtft"); });
    passo([&] { statoElaborazione(ui->barInvioSede, rs, "Lendiv", "ledtiv"); });
    passo([&] { statoElaborazione(ui->barDistintaContr, rs, "Lendvc", "ledtvc"); });
    passo([&] { statoElaborazione(ui->barAnticipata, rs, "Lendap", "ledtap"); });
}

// Unlocked: the group's three controls take input, amount and code on white. Locked: disabled,
// amount and code on the window's background. The values stay as they are.
void frmRiscuti::BloccaIncasso(int tipo, bool blocca)
{
    QLineEdit *importo = nullptr;
    QComboBox *codice = nullptr;
    QCheckBox *inviato = nullptr;
    switch (tipo) {
    case 1:
        importo = ui->txtIncContrassegno, codice = ui->cmbCodIncContr, inviato = ui->chkInvioContr;
        break;
    case 2:
        importo = ui->txtIncAnticipata, codice = ui->cmbCodIncAnt, inviato = ui->chkInvioAnticipata;
        break;
    case 3:
        importo = ui->txtIncAssegnato, codice = ui->cmbCodIncAssegnato,
        inviato = ui->chkInvioAssegnato;
        break;
    default:
        return;
    }
    const QColor sfondo = blocca ? palette().color(QPalette::Window) : QColor(0xFF, 0xFF, 0xFF);
    importo->setEnabled(!blocca);
    impostaSfondo(importo, sfondo);
    codice->setEnabled(!blocca);
    impostaSfondo(codice, sfondo);
    inviato->setEnabled(!blocca);
}

// --- Save ------------------------------------------------------------------------------------

DatiIncasso frmRiscuti::datiIncasso() const
{
    const auto codiceScelto = [](const QComboBox *lista) {
        return lista->currentIndex() < 0 ? -1 : lista->currentData().toInt();
    };
    const auto gruppo = [&](const QLineEdit *importo, const QComboBox *codice,
                            const QCheckBox *inviato) {
        GruppoIncasso g;
        g.importo = importo->text();
        g.testoCodice = codice->currentText();
        g.codice = codiceScelto(codice);
        g.inviato = inviato->isChecked();
        return g;
    };
    DatiIncasso dati;
    dati.numeroLdv = ui->txtLDV->text();
    dati.filiale = ui->txtFiliale->text();
    dati.dataLdv = CampoData::testo(ui->txtDataLdv);
    dati.filialeIncasso = ui->txtFilInc->text();
    dati.banca = ui->txtBanca->text();
    dati.testoIncassoCon = ui->cmbIncassoCon->currentText();
    dati.incassoCon = codiceScelto(ui->cmbIncassoCon);
    dati.nrAssegno = ui->txtNrAssegno->text();
    dati.piazza = ui->txtPiazza->text();
    dati.contrassegno = gruppo(ui->txtIncContrassegno, ui->cmbCodIncContr, ui->chkInvioContr);
    dati.anticipata = gruppo(ui->txtIncAnticipata, ui->cmbCodIncAnt, ui->chkInvioAnticipata);
    dati.assegnato = gruppo(ui->txtIncAssegnato, ui->cmbCodIncAssegnato, ui->chkInvioAssegnato);
    dati.dataIncasso = CampoData::testo(ui->txtDataInc);
    dati.passaggioContabile = ui->chkPassCont->isChecked();
    return dati;
}

bool frmRiscuti::ControllaDati()
{
    const QString messaggio = SalvataggioIncasso::controlla(datiIncasso());
    if (messaggio.isEmpty())
        return true;
    Messaggi::avviso(this, SalvataggioIncasso::titoloControlli(), messaggio);
    return false;
}

// The click of cmdSalva: the checks, then every update of the waybill row in one transaction on
// a connection of the save's own. A failure rolls everything back and keeps the entry on screen.
void frmRiscuti::Salva()
{
    if (!ControllaDati())
        return;
    try {
        Connessione connessione(modPrincipale::PercorsoDatabase());
        connessione.setTimeoutComandi(30);
        connessione.apri();
        SalvataggioIncasso::salva(datiIncasso(), connessione);
    } catch (...) {
        Messaggi::critico(this, titoloSalvataggio, Messaggi::testoErrore(std::current_exception()));
        return;
    }
    Messaggi::informazione(this, titoloSalvataggio + QLatin1Char('.'),
                           QStringLiteral("Salvataggio effettuato correttamente."));
    PulisciCampi(false);
}
