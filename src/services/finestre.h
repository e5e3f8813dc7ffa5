#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

// A working window of the component: one instance per process, loaded on its first showing and
// after every close, shown modeless. Closing unloads it (the instance and its values stay) and
// raises Uscita.
//
// Activation is the window becoming the active window coming from another window of the host.
// Coming back from a message box is no activation; coming back from a dialog runs the activation
// as the dialog closes, before the code that showed the dialog goes on (so that what that code
// then loads is what stays on screen). An activation that the window system reports while a modal
// window is still open is ignored: the window cannot be worked on then.
class FinestraLavoro : public QWidget
{
    Q_OBJECT
public:
    explicit FinestraLavoro(QWidget *parent = nullptr);

    // Loads the window when it is not loaded (a load failure is thrown to the caller, and the
    // window stays unloaded), then shows it and brings it forward.
    void mostra();
    // Unloads the window when it is loaded.
    void scarica();
    bool caricata() const { return m_caricata; }

signals:
    void Uscita();

protected:
    // The window's load handling; may throw.
    virtual void caricamento() {}
    // Runs each time the window is activated; errors end in a message.
    virtual void attivazione() {}

    bool event(QEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    void lasciataPerModale(QWidget *modale);
    void attiva();

    bool m_caricata = false;
    // The window was left for a modal window of the application: its return is no activation.
    bool m_ritornoDaModale = false;
    QPointer<QWidget> m_dialogoOsservato;
};

// A modal dialog of the component: loaded each time it is shown, unloaded when it closes.
class DialogoModale : public QDialog
{
    Q_OBJECT
public:
    explicit DialogoModale(QWidget *parent = nullptr);

    // Loads and shows the dialog modally; returns when it has closed.
    void mostraModale();
    bool caricata() const { return m_caricata; }

protected:
    virtual void caricamento() {}
    // Runs each time the dialog becomes the active window while no window is modal above it.
    virtual void attivazione() {}
    // Closes (unloads) the dialog.
    void scarica();

    bool event(QEvent *evento) override;
    void done(int risultato) override;

private:
    bool m_caricata = false;
};
