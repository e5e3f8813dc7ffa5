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
    // at a time as the grid shows it (Ctrl+End reads the last page from the end of the list); a
    // page refused while scrolling is reported once the scroll is over.
    m_adoTariffe = new ModelloPaginato(this);
    m_adoTariffe->setObjectName(QStringLiteral("adoTariffe"));
    connect(
        m_adoTariffe, &ModelloPaginato::letturaFallita, this,
        [this](const QSqlError &errore) {
            eseguiGestore(this, [&errore] { Connessione::lancia(errore); });
        },
        Qt::QueuedConnection);
    // Narrow columns: a condensed face where the system has one, headings on two lines.
    ui->Griglia->setHorizontalHeader(new IntestazioneGriglia(ui->Griglia));
    QFont carattere = ui->Griglia->font();
    carattere.setStretch(QFont::SemiCondensed);
    ui->Griglia->setFont(carattere);
    ui->Griglia->setModel(m_adoTariffe);
    ui->Griglia->installEventFilter(this);
    ui->Griglia->setItemDelegate(FormatoColonna::Predefinito(this));
    using Formato = ModoRicerca::Formato;
    m_formati = {
        {Formato::BorCons, FormatoColonna::BorCons(this)},
        {Formato::Contr, FormatoColonna::Importo(QStringLiteral("Contr"), this)},
        {Formato::TipoContr, FormatoColonna::StatoIncasso(QStringLiteral("TipoContr"), this)},
        {Formato::Anticip, FormatoColonna::Importo(QStringLiteral("Anticip"), this)},
        {Formato::TipoAnt, FormatoColonna::StatoIncasso(QStringLiteral("TipoAnt"), this)},
        {Formato::Assegnato, FormatoColonna::Importo(QStringLiteral("Assegnato"), this)},
        {Formato::TipoAss, FormatoColonna::StatoIncasso(QStringLiteral("TipoAss"), this)},
    };

    // The year or date field takes a date mask only in the date searches.
    m_campoAnnoData = CampoData::conMascheraCondizionata(
        ui->txtAnnoData, [this] { return modo().regole.testFlag(ModoRicerca::MascheraData); });

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
        apriLista(modo().primaLista);
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
    for (QWidget *controllo :
         {static_cast<QWidget *>(ui->lblRif), static_cast<QWidget *>(ui->txtValore),
          static_cast<QWidget *>(ui->lblAnno), static_cast<QWidget *>(ui->txtAnnoData),
          static_cast<QWidget *>(ui->cmdVisualizza), static_cast<QWidget *>(ui->cmdSeleziona)}) {
        controllo->setVisible(true);
        controllo->setEnabled(true);
    }
    ui->cmdEsci->setVisible(false);
    ui->lblRisposta->clear();
    ui->Griglia->setVisible(true);
}

ValoriRicerca frmRicercaGia::valori() const
{
    QString annoData = CampoData::testo(ui->txtAnnoData);
    if (annoData == CampoData::mascheraVuota())
        annoData.clear();
    return {m_codiceCliente, m_filiale,      m_riferimentoCliente,  m_annoRifLdv, m_numLetVett,
            m_giacenza,      m_annoGiacenza, ui->txtValore->text(), annoData};
}

void frmRicercaGia::apriLista(ModoRicerca::Costruttore costruttore)
{
    // Built first: a value the list refuses leaves the record source as it was.
    std::optional<IstruzioniRicerca::ListaRicerca> lista;
    if (costruttore)
        lista = costruttore(valori());
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

// The mode's hidden and formatted columns, found by their headings.
void frmRicercaGia::regoleGriglia()
{
    azzeraColonne();
    const auto colonna = [this](const QString &nome) {
        const int trovata = m_adoTariffe->colonna(nome);
        if (trovata < 0)
            qWarning("frmRicercaGia: the list of mode %d has no column %s", m_tipoRicerca,
                     qPrintable(nome));
        return trovata;
    };
    for (const QString &nome : modo().colonneNascoste) {
        if (const int indice = colonna(nome); indice >= 0)
            ui->Griglia->setColumnHidden(indice, true);
    }
    for (const ModoRicerca::ColonnaFormattata &formattata : modo().formati) {
        if (const int indice = colonna(formattata.colonna); indice >= 0)
            ui->Griglia->setItemDelegateForColumn(indice, m_formati.at(formattata.formato));
    }
}

void frmRicercaGia::regoleControlli()
{
    const ModoRicerca::Regole regole = modo().regole;
    const bool annoDataSpento = regole.testFlag(ModoRicerca::AnnoDataSpento);
    for (QWidget *annoData :
         {static_cast<QWidget *>(ui->txtAnnoData), static_cast<QWidget *>(ui->lblAnno)}) {
        annoData->setVisible(!regole.testFlag(ModoRicerca::AnnoDataNascosto));
        annoData->setEnabled(!annoDataSpento);
    }
    coloraSfondo(
        ui->txtAnnoData,
        palette().color(QPalette::Active, annoDataSpento ? QPalette::Button : QPalette::Base));
    ui->lblRif->setVisible(!regole.testFlag(ModoRicerca::ValoreNascosto));
    ui->txtValore->setVisible(!regole.testFlag(ModoRicerca::ValoreNascosto));
    ui->cmdVisualizza->setVisible(!regole.testFlag(ModoRicerca::VisualizzaNascosto));
    ui->cmdSeleziona->setText(regole.testFlag(ModoRicerca::SelezionaEsce)
                                  ? QStringLiteral("&Esci")
                                  : QStringLiteral("&Seleziona"));
}

void frmRicercaGia::LarghezzaColonne()
{
    const int larghezza = Geometria::daTwips(larghezzaColonnaTwips, this);
    for (int colonna = 0; colonna < m_adoTariffe->columnCount(); ++colonna)
        ui->Griglia->setColumnWidth(colonna, larghezza);
}

void frmRicercaGia::VerificaRisultato()
{
    if (m_adoTariffe->rowCount() == 0) {
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

bool frmRicercaGia::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == ui->Griglia && evento->type() == QEvent::KeyPress) {
        const auto *tasto = static_cast<QKeyEvent *>(evento);
        if (tasto->key() == Qt::Key_End && tasto->modifiers() & Qt::ControlModifier)
            m_adoTariffe->attendiConteggio();
    }
    return DialogoModale::eventFilter(oggetto, evento);
}

QString frmRicercaGia::testoCella(int riga, const QString &colonna) const
{
    const QModelIndex indice = m_adoTariffe->index(riga, m_adoTariffe->colonna(colonna));
    if (!indice.isValid())
        return QString();
    auto *formato = qobject_cast<QStyledItemDelegate *>(ui->Griglia->itemDelegateForIndex(indice));
    const QVariant valore = m_adoTariffe->data(indice);
    return formato ? formato->displayText(valore, ui->Griglia->locale())
                   : FormatiGriglia::testo(valore);
}

// "&Visualizza": the grid drops its column layout, then the list of the mode is built from the
// dialog's fields and shown with the mode's grid rules. A mode may need a value first; without
// a list of its own, or without the date it needs, the list shown runs again.
void frmRicercaGia::cmdVisualizza_Click()
{
    azzeraColonne();
    const ModoRicerca &modo = this->modo();
    const ValoriRicerca valori = this->valori();
    if (valori.valore.isEmpty() && !modo.valoreRichiesto.isEmpty()) {
        Messaggi::informazione(this, Messaggi::titoloApplicazione(), modo.valoreRichiesto);
        return;
    }
    const bool senzaData = modo.regole.testFlag(ModoRicerca::VisualizzaConData) &&
                           !CampoData::eDataValida(valori.annoData);
    if (modo.listaVisualizza && !senzaData)
        apriLista(modo.listaVisualizza);
    else
        aggiornaDati();

    regoleGriglia();
    LarghezzaColonne();
    VerificaRisultato();
}

// "&Seleziona": the number and date of the current row, as the grid shows them.
void frmRicercaGia::cmdSeleziona_Click()
{
    const ModoRicerca::Scelta &scelta = modo().scelta;
    const QModelIndex corrente = ui->Griglia->currentIndex();
    const int riga = corrente.isValid() ? corrente.row() : 0;
    if (!scelta.numero.isEmpty() && riga < m_adoTariffe->rowCount()) {
        m_numLetVett = testoCella(riga, scelta.numero).trimmed();
        m_dataLdv = testoCella(riga, scelta.data);
        if (!modo().regole.testFlag(ModoRicerca::DataComeMostrata))
            m_dataLdv = m_dataLdv.trimmed();
    }
    scarica();
}

void frmRicercaGia::cmdEsci_Click()
{
    m_numLetVett.clear();
    scarica();
}
