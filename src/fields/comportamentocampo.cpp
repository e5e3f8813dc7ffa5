#include "fields/comportamentocampo.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

// One application-wide filter sees the field's own events and the presses on the other
// controls. (A second filter on the field itself would handle each focus event twice: every
// event passes the application's filters first and then the receiver's.)
ComportamentoCampo::ComportamentoCampo(QWidget *campo) : QObject(campo), m_campo(campo)
{
    qApp->installEventFilter(this);
}

bool ComportamentoCampo::convalida()
{
    if (!suValidazione || m_inValidazione)
        return true;
    m_inValidazione = true;
    bool esito = false;
    try {
        esito = suValidazione();
    } catch (...) {
        m_inValidazione = false;
        throw;
    }
    m_inValidazione = false;
    return esito;
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
    if (evento->type() == QEvent::MouseButtonPress && oggetto != m_campo
        && destinazioneDiClic(oggetto)) {
        if (!convalida())
            return true; // the click is swallowed, the focus stays
        m_convalidato = true;
        return false;
    }
    if (oggetto != m_campo)
        return false;
    if (evento->type() == QEvent::FocusIn) {
        const auto motivo = static_cast<QFocusEvent *>(evento)->reason();
        m_convalidato = false;
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason && suFocus)
            suFocus();
    } else if (evento->type() == QEvent::FocusOut) {
        const auto motivo = static_cast<QFocusEvent *>(evento)->reason();
        if (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason)
            return false;
        const bool giaConvalidato = m_convalidato;
        m_convalidato = false;
        if (!giaConvalidato && !convalida()) {
            // Refused: bring the focus back, with the whole text selected, once the move in
            // progress has ended.
            QTimer::singleShot(0, m_campo, [campo = m_campo] {
                campo->setFocus(Qt::OtherFocusReason);
                if (auto *testo = qobject_cast<QLineEdit *>(campo))
                    testo->selectAll();
            });
            return false;
        }
        if (suPerditaFocus)
            suPerditaFocus();
    }
    return false;
}
