#include "fields/comportamentocampo.h"

#include "services/messaggi.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <utility>

// One application-wide filter sees the field's own events and the presses on the other
// controls. (A second filter on the field itself would handle each focus event twice: every
// event passes the application's filters first and then the receiver's.)
ComportamentoCampo::ComportamentoCampo(QWidget *campo) : QObject(campo), m_campo(campo)
{
    qApp->installEventFilter(this);
}

// A handler that fails ends with the error's message, as every event handler of the windows
// does; a validation that failed so refuses nothing.
bool ComportamentoCampo::convalida()
{
    if (!suValidazione || m_inValidazione)
        return true;
    m_inValidazione = true;
    bool esito = true;
    eseguiGestore(m_campo->window(), [&] { esito = suValidazione(); });
    m_inValidazione = false;
    return esito;
}

void ComportamentoCampo::esegui(const std::function<void()> &gestore)
{
    if (gestore)
        eseguiGestore(m_campo->window(), gestore);
}

// After a refusal the focus goes back into the field with its whole text selected, once the
// move in progress has ended. The message box that explained the refusal had the activation:
// the field's window takes it back.
void ComportamentoCampo::riportaFocus()
{
    QTimer::singleShot(0, m_campo, [this, campo = m_campo] {
        m_scartaPressione = false; // the press, if one caused the move, has been delivered
        if (!campo->isActiveWindow())
            campo->activateWindow();
        campo->setFocus(Qt::OtherFocusReason);
        if (auto *testo = qobject_cast<QLineEdit *>(campo))
            testo->selectAll();
    });
}

// A press that would take the focus away from the field: on another control of the same window
// that takes the focus on a click.
bool ComportamentoCampo::destinazioneDiClic(QObject *oggetto) const
{
    auto *widget = qobject_cast<QWidget *>(oggetto);
    if (!widget || !m_campo->hasFocus() || widget->window() != m_campo->window())
        return false;
    for (QWidget *w = widget; w && w != m_campo->window(); w = w->parentWidget()) {
        if (w == m_campo)
            return false;
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus))
            return true;
    }
    return false;
}

bool ComportamentoCampo::eventFilter(QObject *oggetto, QEvent *evento)
{
    // A click from the window system moves the focus before the press reaches any filter: the
    // refusal came from the focus loss below, and the press that caused it is swallowed here.
    if (evento->type() == QEvent::MouseButtonPress && m_scartaPressione) {
        auto *widget = qobject_cast<QWidget *>(oggetto);
        if (widget && widget->window() == m_campo->window()) {
            m_scartaPressione = false;
            return true;
        }
    }
    if (evento->type() == QEvent::MouseButtonPress && oggetto != m_campo &&
        destinazioneDiClic(oggetto)) {
        if (!convalida()) {
            riportaFocus();
            return true; // the click is swallowed, the focus stays
        }
        m_convalidato = true;
        return false;
    }
    if (oggetto != m_campo)
        return false;
    if (evento->type() == QEvent::FocusIn) {
        const auto motivo = static_cast<QFocusEvent *>(evento)->reason();
        m_convalidato = false;
        // Coming back from another window is no focus gain; but the focus a window gives its
        // first field as it becomes active for the first time is one.
        const bool ritorno =
            std::exchange(m_fuoriFinestra, false) &&
            (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason);
        if (!ritorno)
            esegui(suFocus);
    } else if (evento->type() == QEvent::FocusOut) {
        const auto motivo = static_cast<QFocusEvent *>(evento)->reason();
        if (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason) {
            // A window closed with the focus in the field starts afresh when shown again.
            m_fuoriFinestra = m_campo->window()->isVisible();
            return false;
        }
        const bool giaConvalidato = m_convalidato;
        m_convalidato = false;
        if (!giaConvalidato && !convalida()) {
            m_scartaPressione = motivo == Qt::MouseFocusReason;
            riportaFocus();
            return false;
        }
        esegui(suPerditaFocus);
    }
    return false;
}
