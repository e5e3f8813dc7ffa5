#include "search/frmricercagia.h"
#include "ui_frmricercagia.h"

#include "data/connessione.h"
#include "data/istruzioni_ricerca.h"
#include "fields/campodata.h"
#include "search/formatigriglia.h"
#include "search/geometria.h"
#include "search/intestazionegriglia.h"
#include "search/modellopaginato.h"
#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"

#include <QDate>
#include <QKeyEvent>
#include <QSqlError>

namespace {

const int larghezzaColonnaTwips = 1000;

void coloraSfondo(QWidget *campo, const QColor &colore)
{
    QPalette colori = campo->palette();
    for (auto gruppo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colori.setColor(gruppo, QPalette::Base, colore);
    campo->setPalette(colori);
}

} // namespace

frmRicercaGia *frmRicercaGia::istanza(bool crea)
{
    return istanzaDiProcesso<frmRicercaGia>(crea);
}

frmRicercaGia::frmRicercaGia(QWidget *parent) : DialogoModale(parent), ui(new Ui::frmRicercaGia)
{
    ui->setupUi(this);

    connect(ui->cmdVisualizza, &QPushButton::clicked, this,
            [this] { eseguiGestore(this, [this] { cmdVisualizza_Click(); }); });
    connect(ui->cmdSeleziona, &QPushButton::clicked, this, &frmRicercaGia::cmdSeleziona_Click);
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmRicercaGia::cmdEsci_Click);
    // A double click on a row picks it, as "&Seleziona" does.
    connect(ui->Griglia, &QTableView::doubleClicked, this, [this] {
        if (ui->cmdSeleziona->isVisible())
            ui->cmdSeleziona->click();
    });

    // The data control: the dialog's connection and the statement the grid shows, read a page
    // at a time as the grid scrolls. Ctrl+End in the grid reads the rest first, so it reaches
    // the true last row; a page refused while scrolling is reported once the scroll is over.
    m_adoTariffe = new ModelloPaginato(this);
    m_adoTariffe->setObjectName(QStringLiteral("adoTariffe"));
    connect(
        m_adoTariffe, &ModelloPaginato::letturaFallita, this,
        [this](const QSqlError &errore) {
            eseguiGestore(this, [&errore] { Connessione::lancia(errore); });
        },
        Qt::QueuedConnection);
    ui->Griglia->installEventFilter(this);
    // Narrow columns: a condensed face where the system has one, headings on two lines.
    ui->Griglia->setHorizontalHeader(new IntestazioneGriglia(ui->Griglia));
    QFont carattere = ui->Griglia->font();
    carattere.setStretch(QFont::SemiCondensed);
    ui->Griglia->setFont(carattere);
    ui->Griglia->setModel(m_adoTariffe);
    ui->Griglia->setItemDelegate(FormatoColonna::Predefinito(this));
    m_borCons = FormatoColonna::BorCons(this);
    m_contr = FormatoColonna::Importo(QStringLiteral("Contr"), this);
    m_tipoContr = FormatoColonna::StatoIncasso(QStringLiteral("TipoContr"), this);
    m_anticip = FormatoColonna::Importo(QStringLiteral("Anticip"), this);
    m_tipoAnt = FormatoColonna::StatoIncasso(QStringLiteral("TipoAnt"), this);
    m_assegnato = FormatoColonna::Importo(QStringLiteral("Assegnato"), this);
    m_tipoAss = FormatoColonna::StatoIncasso(QStringLiteral("TipoAss"), this);

    // The year or date field takes a date mask only in the date searches.
    m_campoAnnoData = CampoData::conMascheraCondizionata(
        ui->txtAnnoData, [this] { return m_tipoRicerca == 2 || m_tipoRicerca == 11; });

    Geometria::adattaAlDpi(this);
    setFixedSize(size());
}

frmRicercaGia::~frmRicercaGia()
{
    svuotaDati();
}

QString frmRicercaGia::AnnoOdata() const
{
    return m_annoOdata.isEmpty() ? QStringLiteral("Anno :") : m_annoOdata;
}

// Loading: captions from the properties, the connection, the mode's first list and the grid and
// controls of the mode. A failure leaves the dialog unloaded and goes to the caller.
void frmRicercaGia::caricamento()
{
    ripristinaProgetto();
    setWindowTitle(m_titolo);
    ui->lblRif->setText(m_captionLabel);
    ui->lblCliente->setText(m_ragioneSocialeCliente);
    ui->lblAnno->setText(AnnoOdata());
    // Topmost from its first showing; each activation makes it so again.
    ImpostaInPrimoPiano(this, true);

    try {
        m_connessione = std::make_unique<Connessione>(modPrincipale::PercorsoDatabase());
        m_connessione->apri();
        apriLista(primaLista());
    } catch (...) {
        svuotaDati();
        m_lista.reset();
        m_connessione.reset();
        throw;
    }
    regoleGriglia();
    regoleControlli();
    LarghezzaColonne();
    // The buttons fit the result from the first showing on, whenever the activation comes.
    VerificaRisultato();

    for (QWidget *primo :
         {static_cast<QWidget *>(ui->txtValore), static_cast<QWidget *>(ui->txtAnnoData),
          static_cast<QWidget *>(ui->Griglia)}) {
        if (!primo->isHidden() && primo->isEnabled()) {
            primo->setFocus();
            break;
        }
    }
}

// Every control as drawn: the dialog object is reused from one showing to the next.
void frmRicercaGia::ripristinaProgetto()
{
    ui->txtValore->clear();
    CampoData::svuota(ui->txtAnnoData);
    ui->txtAnnoData->setMaxLength(64);
    coloraSfondo(ui->txtAnnoData, palette().color(QPalette::Active, QPalette::Base));
    for (QWidget *controllo :
         {static_cast<QWidget *>(ui->lblRif), static_cast<QWidget *>(ui->txtValore),
          static_cast<QWidget *>(ui->lblAnno), static_cast<QWidget *>(ui->txtAnnoData),
          static_cast<QWidget *>(ui->cmdVisualizza), static_cast<QWidget *>(ui->cmdSeleziona)}) {
        controllo->setVisible(true);
        controllo->setEnabled(true);
    }
    ui->cmdEsci->setVisible(false);
    ui->cmdSeleziona->setText(QStringLiteral("&Seleziona"));
    ui->lblRisposta->clear();
    ui->Griglia->setVisible(true);
}

std::optional<IstruzioniRicerca::ListaRicerca> frmRicercaGia::primaLista() const
{
    switch (m_tipoRicerca) {
    case 1:
        return IstruzioniRicerca::riferimentiDa(m_codiceCliente, m_riferimentoCliente, m_annoRifLdv,
                                                m_filiale);
    case 7:
        return IstruzioniRicerca::numeriDa(m_codiceCliente, m_filiale, m_numLetVett, m_annoRifLdv);
    case 10:
        return IstruzioniRicerca::spedizioniGiacenza(m_giacenza, m_annoGiacenza);
    case 11:
        return IstruzioniRicerca::giacenzeAnno(m_codiceCliente, QDate::currentDate().year());
    case 12:
        return IstruzioniRicerca::contrassegni(m_codiceCliente, m_filiale, m_riferimentoCliente);
    default:
        return std::nullopt; // no list for an unknown mode: the grid stays empty
    }
}

void frmRicercaGia::apriLista(std::optional<IstruzioniRicerca::ListaRicerca> lista)
{
    m_lista = std::move(lista);
    aggiornaDati();
}

// Runs the record source again. The model reads its first page now and the next ones as the
// grid needs them, in the order of the mode's lists; amounts come as exact decimal text.
void frmRicercaGia::aggiornaDati()
{
    if (!m_lista) {
        svuotaDati();
        return;
    }
    m_adoTariffe->apri(m_connessione->database(), *m_lista);
}

void frmRicercaGia::svuotaDati()
{
    m_adoTariffe->svuota();
}

void frmRicercaGia::azzeraColonne()
{
    for (int colonna = 0; colonna < m_adoTariffe->columnCount(); ++colonna) {
        ui->Griglia->setColumnHidden(colonna, false);
        ui->Griglia->setItemDelegateForColumn(colonna, nullptr);
    }
}

void frmRicercaGia::regoleGriglia()
{
    azzeraColonne();
    switch (m_tipoRicerca) {
    case 1:
        ui->Griglia->setItemDelegateForColumn(1, m_borCons);
        ui->Griglia->setColumnHidden(0, true);
        break;
    case 7:
    case 10:
        ui->Griglia->setItemDelegateForColumn(2, m_borCons);
        break;
    case 11:
        ui->Griglia->setColumnHidden(0, true);
        ui->Griglia->setColumnHidden(1, true);
        break;
    case 12:
        ui->Griglia->setItemDelegateForColumn(3, m_contr);
        ui->Griglia->setItemDelegateForColumn(4, m_tipoContr);
        ui->Griglia->setItemDelegateForColumn(5, m_anticip);
        ui->Griglia->setItemDelegateForColumn(6, m_tipoAnt);
        ui->Griglia->setItemDelegateForColumn(7, m_assegnato);
        ui->Griglia->setItemDelegateForColumn(8, m_tipoAss);
        break;
    default:
        break;
    }
}

void frmRicercaGia::regoleControlli()
{
    const QColor bianco = palette().color(QPalette::Active, QPalette::Base);
    switch (m_tipoRicerca) {
    case 1:
        ui->txtAnnoData->setEnabled(false);
        ui->lblAnno->setEnabled(false);
        coloraSfondo(ui->txtAnnoData, palette().color(QPalette::Active, QPalette::Button));
        break;
    case 7:
        ui->txtAnnoData->setEnabled(true);
        ui->lblAnno->setEnabled(true);
        coloraSfondo(ui->txtAnnoData, bianco);
        break;
    case 10:
        for (QWidget *controllo :
             {static_cast<QWidget *>(ui->txtAnnoData), static_cast<QWidget *>(ui->lblAnno),
              static_cast<QWidget *>(ui->lblRif), static_cast<QWidget *>(ui->txtValore),
              static_cast<QWidget *>(ui->cmdVisualizza)})
            controllo->setVisible(false);
        ui->cmdSeleziona->setText(QStringLiteral("&Esci"));
        break;
    case 11:
        ui->txtAnnoData->setEnabled(true);
        ui->lblAnno->setEnabled(true);
        coloraSfondo(ui->txtAnnoData, bianco);
        ui->lblRif->setVisible(false);
        ui->txtValore->setVisible(false);
        break;
    case 12:
        ui->txtAnnoData->setVisible(false);
        ui->lblAnno->setVisible(false);
        ui->lblRif->setVisible(true);
        ui->txtValore->setVisible(true);
        break;
    default:
        break;
    }
}

void frmRicercaGia::LarghezzaColonne()
{
    const int larghezza = Geometria::daTwips(larghezzaColonnaTwips, this);
    for (int colonna = 0; colonna < m_adoTariffe->columnCount(); ++colonna)
        ui->Griglia->setColumnWidth(colonna, larghezza);
}

void frmRicercaGia::VerificaRisultato()
{
    if (m_adoTariffe->rowCount() == 0 && !m_adoTariffe->canFetchMore()) {
        ui->cmdEsci->setVisible(true);
        ui->cmdSeleziona->setVisible(false);
        ui->lblRisposta->setText(
            QStringLiteral("Non ci sono spedizioni per il cliente selezionato."));
    } else {
        ui->lblRisposta->clear();
        ui->cmdEsci->setVisible(false);
        ui->cmdSeleziona->setVisible(true);
        ui->Griglia->setVisible(true);
    }
}

void frmRicercaGia::attivazione()
{
    ImpostaInPrimoPiano(this, true);
    VerificaRisultato();
    m_annoRifLdv.clear();
}

void frmRicercaGia::done(int risultato)
{
    DialogoModale::done(risultato);
    svuotaDati();
    m_connessione.reset();
}

bool frmRicercaGia::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == ui->Griglia && evento->type() == QEvent::KeyPress) {
        const auto *tasto = static_cast<QKeyEvent *>(evento);
        if (tasto->key() == Qt::Key_End && tasto->modifiers().testFlag(Qt::ControlModifier))
            m_adoTariffe->leggiTutto();
    }
    return DialogoModale::eventFilter(oggetto, evento);
}

// Esc leaves as "&Esci" does, also while the list offers "&Seleziona"; Enter reaches the default
// button "&Visualizza" through QDialog.
void frmRicercaGia::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
        cmdEsci_Click();
        return;
    }
    DialogoModale::keyPressEvent(evento);
}

QString frmRicercaGia::testoCella(int riga, int colonna) const
{
    if (colonna >= m_adoTariffe->columnCount())
        return QString();
    const QModelIndex indice = m_adoTariffe->index(riga, colonna);
    auto *formato = qobject_cast<QStyledItemDelegate *>(ui->Griglia->itemDelegateForIndex(indice));
    const QVariant valore = m_adoTariffe->data(indice);
    return formato ? formato->displayText(valore, ui->Griglia->locale())
                   : FormatiGriglia::testo(valore);
}

// "&Visualizza": the grid drops its column layout, then the list of the mode is built from the
// dialog's fields (modes 1 and 7 need a value first) and shown with the mode's grid rules.
void frmRicercaGia::cmdVisualizza_Click()
{
    azzeraColonne();

    const QString valore = ui->txtValore->text();
    QString annoData = CampoData::testo(ui->txtAnnoData);
    if (annoData == CampoData::mascheraVuota())
        annoData.clear();

    switch (m_tipoRicerca) {
    case 1:
        if (valore.isEmpty()) {
            Messaggi::informazione(this, Messaggi::titoloApplicazione(),
                                   QStringLiteral("Indicare un riferimento Cliente."));
            return;
        }
        apriLista(IstruzioniRicerca::riferimentiDaValore(m_codiceCliente, valore, m_filiale));
        break;
    case 7:
        if (valore.isEmpty()) {
            Messaggi::informazione(this, Messaggi::titoloApplicazione(),
                                   QStringLiteral("Indicare il numero di lettera di vettura."));
            return;
        }
        apriLista(IstruzioniRicerca::numeriDaValore(m_codiceCliente, valore, annoData, m_filiale));
        break;
    case 11:
        if (CampoData::eDataValida(annoData))
            apriLista(IstruzioniRicerca::giacenzeDal(
                m_codiceCliente, QDate::fromString(annoData, QStringLiteral("dd/MM/yyyy"))));
        else
            aggiornaDati();
        break;
    case 12:
        apriLista(IstruzioniRicerca::contrassegniValore(m_codiceCliente, valore, m_filiale));
        break;
    default:
        aggiornaDati(); // the list stays the one shown
        break;
    }

    regoleGriglia();
    if (m_tipoRicerca == 12)
        regoleControlli();
    LarghezzaColonne();
    VerificaRisultato();
}

// "&Seleziona": the number and date of the current row, as the grid shows them.
void frmRicercaGia::cmdSeleziona_Click()
{
    const QModelIndex corrente = ui->Griglia->currentIndex();
    const int riga = corrente.isValid() ? corrente.row() : 0;
    if (riga < m_adoTariffe->rowCount()) {
        switch (m_tipoRicerca) {
        case 1:
            m_dataLdv = testoCella(riga, 5);
            m_numLetVett = testoCella(riga, 0).trimmed();
            break;
        case 7:
        case 11:
            m_numLetVett = testoCella(riga, 0).trimmed();
            m_dataLdv = testoCella(riga, 1).trimmed();
            break;
        case 12:
            m_numLetVett = testoCella(riga, 9).trimmed();
            m_dataLdv = testoCella(riga, 10).trimmed();
            break;
        default:
            break;
        }
    }
    scarica();
}

void frmRicercaGia::cmdEsci_Click()
{
    m_numLetVett.clear();
    scarica();
}
