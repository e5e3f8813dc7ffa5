#pragma once

#include <QObject>

#include <functional>

class QWidget;

// The focus life of one field: focus gain, a validation step that runs before the focus leaves
// the field and can refuse the move (the focus then stays), and focus loss. A mouse press on
// another control of the window is validated before it lands, so a refused move also swallows
// the click; Tab, Enter-driven and programmatic moves are validated as the focus goes. Losing the
// focus to another window (a message box, a dialog) is neither validated nor a focus loss, and
// coming back from it is no focus gain. A handler that throws ends in the error's message.
class ComportamentoCampo : public QObject
{
    Q_OBJECT
public:
    explicit ComportamentoCampo(QWidget *campo);

    std::function<void()> suFocus;
    std::function<bool()> suValidazione; // false refuses the move
    std::function<void()> suPerditaFocus;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    bool convalida();
    void esegui(const std::function<void()> &gestore);
    void riportaFocus();
    bool destinazioneDiClic(QObject *oggetto) const;

    QWidget *m_campo;
    bool m_convalidato = false; // validated by a mouse press, focus about to leave
    bool m_inValidazione = false;
    bool m_fuoriFinestra = false;   // the focus went to another window while in the field
    bool m_scartaPressione = false; // a click's focus move was refused: swallow its press
};
