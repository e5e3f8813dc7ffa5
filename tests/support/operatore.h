#pragma once

#include "support/controlli.h"

#include <QString>

class DatabaseDiProva;

// Everything a widget suite sets up before its first window: Italian formatting, the component's
// settings on the suite's test database (its INI file defaults to db/riscuti-demo.ini), and
// letters filed into `cartellaStampe` as PDF only, never printed.
void preparaComponente(const DatabaseDiProva &db, const QString &cartellaStampe,
                       const QString &ini = QString());

// An operator at one window of the component: types into its named fields, leaves them, presses
// its buttons and reads what it shows. Every wait is bounded (seconds, not forever).
class Operatore
{
public:
    explicit Operatore(QWidget *finestra) : m_finestra(finestra) {}

    QWidget *finestra() const { return m_finestra; }
    template <typename T = QWidget> T *controllo(const QString &nome) const
    {
        return controlloDi<T>(m_finestra, nome);
    }

    // Brings the window forward and waits until it is the active window.
    bool attiva() const;
    // Clicks into the field, selects what it holds and types `testo`.
    void digita(const QString &campo, const QString &testo) const;
    // The same, then leaves the field with Tab, as the operator moves on.
    void compila(const QString &campo, const QString &testo) const;
    // A click in the middle of the button.
    void premi(const QString &pulsante) const;
    // What the operator reads in a control: a field's text as displayed (the mask's template
    // while masked), a label's text, the chosen entry of a list ("-" for none), a check box as
    // "0" or "1", "disabilitato" for a disabled control of any kind.
    QString mostrato(const QString &nome) const;

private:
    QWidget *m_finestra;
};
