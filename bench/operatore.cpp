#include "operatore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace Operatore {

void attendiAttiva(QWidget *finestra)
{
    // The offscreen platform does not give the activation back to a window when a modal box
    // over it closes, as a desktop's window manager does: ask for it.
    if (!finestra->isActiveWindow())
        finestra->activateWindow();
    if (!QTest::qWaitForWindowActive(finestra, 5000))
        throw std::runtime_error(finestra->objectName().toStdString() + " did not become active");
}

void eventiInSospeso()
{
    QCoreApplication::processEvents();
}

namespace {

// The operator types into the active window only: after a message box or a dialog the window
// gets its activation back first, and until then focus moves do not happen.
void inFinestraAttiva(QWidget *controllo)
{
    if (!controllo->window()->isActiveWindow())
        attendiAttiva(controllo->window());
}

// Gives a control the focus as Tab or a click would, when it has not got it.
void daiFocus(QWidget *controllo)
{
    inFinestraAttiva(controllo);
    if (!controllo->hasFocus()) {
        controllo->setFocus(Qt::TabFocusReason);
        eventiInSospeso();
    }
}

} // namespace

void scrivi(QLineEdit *campo, const QString &testo)
{
    daiFocus(campo);
    campo->selectAll();
    QTest::keyClicks(campo, testo);
}

void scriviData(QLineEdit *campo, const QString &cifre)
{
    daiFocus(campo);
    // What the field held goes first: with a mask, typed digits fill the blanks.
    campo->selectAll();
    QTest::keyClick(campo, Qt::Key_Delete);
    QTest::keyClick(campo, Qt::Key_Home);
    QTest::keyClicks(campo, cifre);
}

void svuota(QLineEdit *campo)
{
    daiFocus(campo);
    campo->selectAll();
    QTest::keyClick(campo, Qt::Key_Delete);
}

void tab(QWidget *campo)
{
    inFinestraAttiva(campo);
    QTest::keyClick(campo, Qt::Key_Tab);
    eventiInSospeso();
}

void scegli(QComboBox *lista, int voce)
{
    daiFocus(lista);
    QTest::keyClick(lista, Qt::Key_Home);
    for (int i = 0; i < voce; ++i)
        QTest::keyClick(lista, Qt::Key_Down);
}

void clic(QWidget *controllo)
{
    inFinestraAttiva(controllo);
    QTest::mouseClick(controllo, Qt::LeftButton, Qt::NoModifier, controllo->rect().center());
}

} // namespace Operatore

OsservatoreDipinto::OsservatoreDipinto(QWidget *widget, std::function<bool()> condizione)
    : m_widget(widget), m_condizione(std::move(condizione))
{
    m_widget->installEventFilter(this);
}

OsservatoreDipinto::~OsservatoreDipinto()
{
    m_widget->removeEventFilter(this);
}

bool OsservatoreDipinto::attendi(int millisecondi)
{
    QElapsedTimer attesa;
    attesa.start();
    while (!m_dipinto && attesa.elapsed() < millisecondi)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return m_dipinto;
}

bool OsservatoreDipinto::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == m_widget && evento->type() == QEvent::Paint && !m_dipinto &&
        (!m_condizione || m_condizione())) {
        m_dipinto = true;
        if (dopo)
            QTimer::singleShot(0, this, [this] { dopo(); });
    }
    return false;
}

Risponditore::Risponditore(std::function<double()> orologio) : m_orologio(std::move(orologio))
{
    m_timer.setInterval(1);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Risponditore::controlla);
    m_timer.start();
}

void Risponditore::rispondi(std::initializer_list<QMessageBox::StandardButton> pulsanti)
{
    for (QMessageBox::StandardButton pulsante : pulsanti)
        m_coda.enqueue(pulsante);
}

QString Risponditore::testi() const
{
    QStringList testi;
    for (const Visto &visto : m_visti)
        testi << QLatin1Char('"') + visto.testo + QLatin1Char('"');
    return testi.join(QStringLiteral(", "));
}

void Risponditore::azzera()
{
    m_coda.clear();
    m_visti.clear();
}

void Risponditore::controlla()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_visti.append({box->text(), box->windowTitle(), box->icon(), m_orologio()});
    QAbstractButton *pulsante = m_coda.isEmpty() ? nullptr : box->button(m_coda.dequeue());
    if (!pulsante)
        pulsante = box->defaultButton() ? static_cast<QAbstractButton *>(box->defaultButton())
                                        : box->escapeButton();
    if (pulsante)
        pulsante->click();
    else
        box->close();
}
