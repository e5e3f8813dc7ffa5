#pragma once

#include <QObject>

#include <functional>

class QWidget;

// The focus life of one field: focus gain, a validation step that runs before the focus leaves
// the field and can refuse the move (the focus then stays), and focus loss. A mouse press on
// another control of the window is validated before it lands, so a refused move also swallows
// the click; Tab, Enter-driven and programmatic moves are validated as the focus goes. Losing the
// focus to another window (a message box, a dialog) is neither validated nor a focus loss.
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
    bool destinazioneDiClic(QObject *oggetto) const;

    QWidget *m_campo;
    bool m_convalidato = false; // validated by a mouse press, focus about to leave
    bool m_inValidazione = false;
};
