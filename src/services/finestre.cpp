#include "services/finestre.h"

#include "services/messaggi.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QMessageBox>
#include <QWindow>

#include <functional>
#include <utility>

namespace {

// Runs `azione` once, when the watched dialog hides: inside its closing, before the code that
// showed it goes on.
class AllaChiusura : public QObject
{
public:
    AllaChiusura(QWidget *dialogo, std::function<void()> azione)
        : QObject(dialogo), m_azione(std::move(azione))
    {
        dialogo->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() == QEvent::Hide && m_azione) {
            oggetto->removeEventFilter(this);
            deleteLater();
            std::exchange(m_azione, nullptr)();
        }
        return false;
    }

private:
    std::function<void()> m_azione;
};

// A modal window other than `finestra` is open: the window system may still move the activation
// around while it maps, but the window cannot be worked on.
QWidget *modaleSopra(const QWidget *finestra)
{
    QWidget *modale = QApplication::activeModalWidget();
    return modale && modale != finestra ? modale : nullptr;
}

} // namespace

FinestraLavoro::FinestraLavoro(QWidget *parent) : QWidget(parent, Qt::Window)
{
    // Another window of the host taking the focus ends the wait for a modal's return: off screen,
    // or when the operator leaves a message box for another program, that return never comes.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *nuova) {
        if (nuova && nuova != windowHandle() && nuova->modality() == Qt::NonModal)
            m_ritornoDaModale = false;
    });
}

void FinestraLavoro::mostra()
{
    if (!m_caricata) {
        caricamento();
        m_caricata = true;
    }
    show();
    raise();
    activateWindow();
}

void FinestraLavoro::scarica()
{
    if (m_caricata)
        close();
}

bool FinestraLavoro::event(QEvent *evento)
{
    switch (evento->type()) {
    case QEvent::WindowActivate:
        if (m_caricata && !modaleSopra(this))
            attiva();
        break;
    case QEvent::WindowDeactivate:
        lasciataPerModale(modaleSopra(this));
        break;
    case QEvent::Show:
    case QEvent::Hide:
        // A window shown anew is activated by whoever showed it, not returned to.
        m_ritornoDaModale = false;
        break;
    default:
        break;
    }
    return QWidget::event(evento);
}

void FinestraLavoro::attiva()
{
    if (std::exchange(m_ritornoDaModale, false))
        return;
    eseguiGestore(this, [this] { attivazione(); });
}

void FinestraLavoro::lasciataPerModale(QWidget *modale)
{
    m_ritornoDaModale = modale != nullptr;
    if (!modale || qobject_cast<QMessageBox *>(modale) || !qobject_cast<QDialog *>(modale) ||
        m_dialogoOsservato == modale)
        return;
    m_dialogoOsservato = modale;
    const QPointer<FinestraLavoro> finestra(this);
    new AllaChiusura(modale, [finestra] {
        if (!finestra)
            return;
        finestra->m_dialogoOsservato = nullptr;
        if (finestra->m_caricata)
            eseguiGestore(finestra, [finestra] { finestra->attivazione(); });
    });
}

void FinestraLavoro::closeEvent(QCloseEvent *evento)
{
    evento->accept();
    if (!m_caricata)
        return;
    m_caricata = false;
    emit Uscita();
}

DialogoModale::DialogoModale(QWidget *parent) : QDialog(parent) {}

void DialogoModale::mostraModale()
{
    caricamento();
    m_caricata = true;
    exec();
    m_caricata = false;
}

void DialogoModale::scarica()
{
    done(QDialog::Rejected);
}

bool DialogoModale::event(QEvent *evento)
{
    if (evento->type() == QEvent::WindowActivate && m_caricata && !modaleSopra(this))
        eseguiGestore(this, [this] { attivazione(); });
    return QDialog::event(evento);
}

void DialogoModale::done(int risultato)
{
    m_caricata = false;
    QDialog::done(risultato);
}
