#include "search/frmricerca.h"
#include "ui_frmricerca.h"

#include "suite/cCercaAnagrafica.h"
#include "services/istanze.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "search/geometria.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

namespace {

const QString titoloTrasportiRefuso = QStringLiteral("Gestione trasorti");

// The left-pointing arrow that shows the operator which input a message is about.
QPixmap freccia(int lato)
{
    QPixmap immagine(lato, lato);
    immagine.fill(Qt::transparent);
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    const qreal m = lato / 8.0;
    QPainterPath contorno;
    contorno.moveTo(m, lato / 2.0);
    contorno.lineTo(lato / 2.0, m);
    contorno.lineTo(lato / 2.0, lato * 0.34);
    contorno.lineTo(lato - m, lato * 0.34);
    contorno.lineTo(lato - m, lato * 0.66);
    contorno.lineTo(lato / 2.0, lato * 0.66);
    contorno.lineTo(lato / 2.0, lato - m);
    contorno.closeSubpath();
    pittore.setPen(QPen(QColor(0x80, 0x00, 0x00), 1.0));
    pittore.setBrush(QColor(0xd0, 0x10, 0x10));
    pittore.drawPath(contorno);
    return immagine;
}

// Register kind -> window caption, caption of optCodice.
struct Anagrafica
{
    QString titolo;
    QString codice;
};

Anagrafica anagrafica(int tipo)
{
    switch (tipo) {
    case 1:
        return {QStringLiteral("Ricerca Cliente"), QStringLiteral("Cod. Cliente")};
    case 2:
        return {QStringLiteral("Ricerca Fornitore"), QStringLiteral("Cod.Fornitore")};
    case 3:
        return {QStringLiteral("Ricerca Destinatario"), QStringLiteral("Cod.Destinatario")};
    default:
        return {QStringLiteral("Prove tecniche di trasmissione"), QStringLiteral("cod.fornitore")};
    }
}

std::unique_ptr<cCercaAnagrafica> creaComponente(int tipo)
{
    switch (tipo) {
    case 1:
        return std::make_unique<cCercaClienti>();
    case 2:
        return std::make_unique<cCercaFornitori>();
    case 3:
        return std::make_unique<cCercaDestinatari>();
    default:
        return nullptr;
    }
}

// A text that converts to a number in the operator's locale.
bool eNumerico(const QString &testo)
{
    bool numero = false;
    QLocale().toDouble(testo, &numero);
    return numero;
}

QString testoCampo(const Recordset &rs, const QString &nome)
{
    const QVariant valore = rs.campo(nome);
    return valore.isNull() ? QString() : valore.toString();
}

} // namespace

frmRicerca *frmRicerca::istanza(bool crea)
{
    return istanzaDiProcesso<frmRicerca>(crea);
}

frmRicerca::frmRicerca(QWidget *parent) : DialogoModale(parent), ui(new Ui::frmRicerca)
{
    ui->setupUi(this);

    connect(ui->optCodice, &QRadioButton::clicked, this,
            [this] { sceltaCampo(cCercaAnagrafica::Codice, cCercaAnagrafica::Uguale, false); });
    connect(ui->optRagSoc, &QRadioButton::clicked, this, [this] {
        sceltaCampo(cCercaAnagrafica::RagioneSociale, cCercaAnagrafica::IniziaCon, true);
    });
    connect(ui->optIva, &QRadioButton::clicked, this,
            [this] { sceltaCampo(cCercaAnagrafica::PartitaIva, cCercaAnagrafica::Uguale, false); });
    connect(ui->optLocalita, &QRadioButton::clicked, this,
            [this] { sceltaCampo(cCercaAnagrafica::Localita, cCercaAnagrafica::IniziaCon, true); });
    connect(ui->optProvincia, &QRadioButton::clicked, this, [this] {
        sceltaCampo(cCercaAnagrafica::Provincia, cCercaAnagrafica::IniziaCon, true);
    });
    connect(ui->optIniziale, &QRadioButton::clicked, this,
            [this] { sceltaConfronto(cCercaAnagrafica::IniziaCon); });
    connect(ui->optInterna, &QRadioButton::clicked, this,
            [this] { sceltaConfronto(cCercaAnagrafica::Contiene); });
    connect(ui->cmdRicerca, &QPushButton::clicked, this, &frmRicerca::cmdRicerca_Click);
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &frmRicerca::cmdAnnulla_Click);
    connect(ui->lstCerca, &QListWidget::itemClicked, this, &frmRicerca::sceltaRiga);
    connect(ui->lstCerca, &QListWidget::itemActivated, this, &frmRicerca::sceltaRiga);

    ui->lstCerca->installEventFilter(this);
    Geometria::adattaAlDpi(this);
    const QPixmap immagine = freccia(ui->Image2->width());
    for (QLabel *figura : {ui->Image2, ui->Image3, ui->Image4})
        figura->setPixmap(immagine);
}

frmRicerca::~frmRicerca() = default;

std::unique_ptr<Recordset> frmRicerca::prendiIdRecord()
{
    if (m_idRecord) {
        m_idRecordConsegnato = true;
        return std::move(m_idRecord);
    }
    if (m_idRecordConsegnato)
        return std::make_unique<Recordset>();
    return nullptr;
}

// Loading: a fresh result, the flags down, the controls as drawn, the caption and the component
// of the register. IdRecord is kept.
void frmRicerca::caricamento()
{
    m_risultato = std::make_unique<Recordset>();
    setGeometry(Geometria::daTwips(675, this), Geometria::daTwips(675, this),
                Geometria::daTwips(7365, this), Geometria::daTwips(4845, this));
    setFixedSize(size());
    m_nonTrovataOccorrenza = false;
    m_listaMostrata = false;
    m_sceltaInAttesa = false;
    ripristinaProgetto();

    const Anagrafica voce = anagrafica(m_clientiFornitori);
    setWindowTitle(voce.titolo);
    ui->optCodice->setText(voce.codice);
    m_componente = creaComponente(m_clientiFornitori);
    if (m_componente) {
        m_componente->setCampoRicerca(cCercaAnagrafica::RagioneSociale);
        m_componente->setTipoConfronto(cCercaAnagrafica::IniziaCon);
    }
    // Topmost from its first showing; each activation makes it so again.
    ImpostaInPrimoPiano(this, true);

    if (!m_componente) {
        for (QWidget *controllo :
             {static_cast<QWidget *>(ui->txtCerca), static_cast<QWidget *>(ui->fraSelezione),
              static_cast<QWidget *>(ui->fraTipoStringa), static_cast<QWidget *>(ui->lstCerca),
              static_cast<QWidget *>(ui->cmdRicerca)})
            controllo->setEnabled(false);
        coloraLista(false);
        Messaggi::informazione(this, Messaggi::titoloApplicazione(),
                               QStringLiteral("Tipo di anagrafica %1 non previsto: nessuna ricerca "
                                              "disponibile. Premere Annulla per uscire.")
                                   .arg(m_clientiFornitori));
    }
}

// Every control as drawn: the dialog object is reused from one showing to the next.
void frmRicerca::ripristinaProgetto()
{
    ui->txtCerca->clear();
    for (QWidget *controllo :
         {static_cast<QWidget *>(ui->txtCerca), static_cast<QWidget *>(ui->fraSelezione),
          static_cast<QWidget *>(ui->fraTipoStringa), static_cast<QWidget *>(ui->optIniziale),
          static_cast<QWidget *>(ui->optInterna), static_cast<QWidget *>(ui->lstCerca),
          static_cast<QWidget *>(ui->cmdRicerca)})
        controllo->setEnabled(true);
    ui->optRagSoc->setChecked(true);
    ui->optIniziale->setChecked(true);
    ui->lstCerca->clear();
    coloraLista(true);
    mostraImmagini({ui->Image2, ui->Image3, ui->Image4}, false);
    ui->txtCerca->setFocus();
}

void frmRicerca::attivazione()
{
    ImpostaInPrimoPiano(this, true);
}

void frmRicerca::done(int risultato)
{
    m_componente.reset();
    m_sceltaInAttesa = false;
    DialogoModale::done(risultato);
}

// Esc is "Annulla", as the cancel button of the window; Enter reaches the default button
// "&Avvia Ricerca" through QDialog.
void frmRicerca::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
        ui->cmdAnnulla->click();
        return;
    }
    DialogoModale::keyPressEvent(evento);
}

// A click on a row of the list gives the list the focus, and the focus chooses the row. The
// choice waits for the click to land, so that the row under the mouse is the selected one.
bool frmRicerca::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == ui->lstCerca && evento->type() == QEvent::FocusIn) {
        const auto motivo = static_cast<QFocusEvent *>(evento)->reason();
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason &&
            !m_sceltaInAttesa) {
            m_sceltaInAttesa = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!m_sceltaInAttesa)
                        return;
                    m_sceltaInAttesa = false;
                    sceltaRiga();
                },
                Qt::QueuedConnection);
        }
    }
    return DialogoModale::eventFilter(oggetto, evento);
}

void frmRicerca::coloraLista(bool attiva)
{
    QPalette colori = ui->lstCerca->palette();
    const QColor sfondo = attiva ? palette().color(QPalette::Active, QPalette::Base)
                                 : palette().color(QPalette::Active, QPalette::Button);
    for (auto gruppo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colori.setColor(gruppo, QPalette::Base, sfondo);
    ui->lstCerca->setPalette(colori);
}

void frmRicerca::mostraImmagini(std::initializer_list<QLabel *> immagini, bool visibili)
{
    for (QLabel *figura : immagini) {
        figura->setVisible(visibili);
        if (visibili)
            figura->raise();
    }
}

// A field option: the list goes grey and inactive until the next search; the component learns
// the field first, then the matching. Code and VAT number are matched whole, so "Normale" is
// selected and the matching frame locked.
void frmRicerca::sceltaCampo(int campo, int confronto, bool confrontoLibero)
{
    ui->lstCerca->setEnabled(false);
    coloraLista(false);
    ui->txtCerca->setEnabled(true);
    if (m_componente) {
        m_componente->setCampoRicerca(campo);
        m_componente->setTipoConfronto(confronto);
    }
    if (!confrontoLibero)
        ui->optIniziale->setChecked(true);
    ui->fraTipoStringa->setEnabled(confrontoLibero);
    ui->optIniziale->setEnabled(confrontoLibero);
    ui->optInterna->setEnabled(confrontoLibero);
}

void frmRicerca::sceltaConfronto(int confronto)
{
    if (m_componente)
        m_componente->setTipoConfronto(confronto);
}

void frmRicerca::cmdRicerca_Click()
{
    if (m_listaMostrata) {
        scarica();
        return;
    }
    if (!m_componente)
        return;
    ui->lstCerca->clear();
    try {
        ControllaInput();
        ui->txtCerca->setEnabled(false);
        ui->fraSelezione->setEnabled(false);
        ui->fraTipoStringa->setEnabled(false);

        m_componente->setStringaRicerca(ui->txtCerca->text());
        m_componente->setTabella(m_nomeTabella);
        m_componente->setPercorsoDb(m_percorsoDatabase);
        m_componente->EseguiRicerca(m_risultato);

        const int campo = m_componente->CampoRicerca();
        if (campo == cCercaAnagrafica::Codice || campo == cCercaAnagrafica::PartitaIva) {
            ConfermaScelta();
            return;
        }
        RiempiLista();
        ui->lstCerca->setEnabled(true);
        coloraLista(true);
    } catch (const ErroreDb &errore) {
        erroreRicerca(errore.numero(), errore.descrizione());
    } catch (const std::exception &errore) {
        erroreRicerca(5, QString::fromLocal8Bit(errore.what()));
    }
}

void frmRicerca::cmdAnnulla_Click()
{
    m_idRecord.reset();
    m_idRecordConsegnato = false;
    scarica();
}

// The checks on the search text, in order; the text is never trimmed.
void frmRicerca::ControllaInput() const
{
    const QString testo = ui->txtCerca->text();
    const bool numerico = eNumerico(testo);
    const bool perNumero = ui->optCodice->isChecked() || ui->optIva->isChecked();
    if (testo.isEmpty())
        throw ErroreDb(CampoVuoto, QString());
    if (!numerico && perNumero)
        throw ErroreDb(NonNumerico, QString());
    if (numerico && !perNumero)
        throw ErroreDb(Numerico, QString());
    if (ui->optIva->isChecked() && testo.size() != 11)
        throw ErroreDb(LunghezzaIva, QString());
}

// One row per record, from the current one to the end; the first field read of an empty result
// fails with 3021 ("not found"). A row whose code is not a whole number is left out; a missing
// name, town or province reads as empty.
void frmRicerca::RiempiLista()
{
    m_listaMostrata = true;
    const int campo = m_componente->CampoRicerca();
    if (campo != cCercaAnagrafica::RagioneSociale && campo != cCercaAnagrafica::Localita &&
        campo != cCercaAnagrafica::Provincia)
        return;
    Recordset &rs = *m_risultato;
    do {
        QString riga;
        switch (campo) {
        case cCercaAnagrafica::RagioneSociale:
            riga = testoCampo(rs, QStringLiteral("RagioneSociale"));
            break;
        case cCercaAnagrafica::Localita:
            riga = testoCampo(rs, QStringLiteral("RagioneSociale"));
            riga = riga.trimmed() + QStringLiteral(" --- ");
            riga = riga.trimmed() + testoCampo(rs, QStringLiteral("Localita"));
            break;
        default:
            riga = testoCampo(rs, QStringLiteral("Provincia"));
            riga = riga.trimmed() + QStringLiteral(" --- ");
            riga = riga.trimmed() + testoCampo(rs, QStringLiteral("RagioneSociale"));
            break;
        }
        bool intero = false;
        const int codice = rs.campo(QStringLiteral("Codice")).toString().trimmed().toInt(&intero);
        if (intero) {
            auto *voce = new QListWidgetItem(riga, ui->lstCerca);
            voce->setData(Qt::UserRole, codice);
        }
        rs.successivo();
    } while (!rs.eof());
}

void frmRicerca::ConfermaScelta()
{
    m_idRecord = std::move(m_risultato);
    m_idRecordConsegnato = false;
    scarica();
}

// The chosen row is found again in the result by its code, so two rows with the same text still
// give their own records. Every step goes on past a failure of its own. Without a selected row
// (the list reached with Tab) nothing is chosen.
void frmRicerca::sceltaRiga()
{
    m_sceltaInAttesa = false;
    if (!caricata() || !m_listaMostrata || !m_risultato || !ui->lstCerca->isEnabled())
        return;
    const QList<QListWidgetItem *> scelte = ui->lstCerca->selectedItems();
    if (scelte.isEmpty())
        return;
    Recordset &rs = *m_risultato;
    const QString criterio = QStringLiteral(" Codice LIKE ('") +
                             QString::number(scelte.first()->data(Qt::UserRole).toInt()).trimmed() +
                             QStringLiteral("')");
    try {
        rs.primo();
        rs.trova(criterio);
    } catch (const ErroreDb &) {
    }
    if (!rs.eof() && !rs.bof())
        ConfermaScelta();
}

// The one handler of the search's errors: the input checks point at the field with the arrows,
// an empty result closes the dialog, anything else is reported and the dialog stays as it is.
void frmRicerca::erroreRicerca(int numero, const QString &descrizione)
{
    const QString titolo = Messaggi::titoloSuite();
    switch (numero) {
    case CampoVuoto:
        mostraImmagini({ui->Image4}, true);
        ui->txtCerca->setFocus();
        Messaggi::informazione(this, titoloTrasportiRefuso,
                               QStringLiteral("Campo Ricerca vuoto! Bisogna inserire una stringa "
                                              "da ricercare"));
        mostraImmagini({ui->Image4}, false);
        break;
    case NonNumerico:
        mostraImmagini({ui->Image2, ui->Image3, ui->Image4}, true);
        Messaggi::informazione(this, titolo,
                               QStringLiteral("Bisogna inserire un valore numerico nella casella "
                                              "Ricerca, se si seleziona la ricerca per 'CODICE' o "
                                              "per 'P.IVA'"));
        ui->txtCerca->clear();
        ui->txtCerca->setFocus();
        mostraImmagini({ui->Image2, ui->Image3, ui->Image4}, false);
        break;
    case Numerico:
        mostraImmagini({ui->Image4}, true);
        Messaggi::informazione(this, titolo,
                               QStringLiteral("Selezionando la ricerca per 'Ragione "
                                              "Sociale','Località','Provincia'; bisogna inserire "
                                              "nella casella ricerca un valore non numerico"));
        ui->txtCerca->clear();
        ui->txtCerca->setFocus();
        mostraImmagini({ui->Image4}, false);
        break;
    case LunghezzaIva:
        mostraImmagini({ui->Image3, ui->Image4}, true);
        Messaggi::informazione(this, titolo,
                               QStringLiteral("Selezionando la ricerca per 'partita iva'; bisogna "
                                              "inserire nella casella ricerca un valore numerico "
                                              "di 11 caratteri"));
        ui->txtCerca->clear();
        ui->txtCerca->setFocus();
        mostraImmagini({ui->Image3, ui->Image4}, false);
        break;
    case ErroreDb::NessunRecordCorrente:
        Messaggi::informazione(this, titolo,
                               QStringLiteral("Occorrenza non trovata nel database."));
        if (m_componente)
            m_componente->ChiudiRicerca(m_risultato);
        m_nonTrovataOccorrenza = true;
        scarica();
        break;
    default:
        Messaggi::mostra(this, QMessageBox::NoIcon, Messaggi::titoloApplicazione(),
                         QStringLiteral("%1 - %2").arg(numero).arg(descrizione));
        break;
    }
}
