#pragma once

#include <QDialog>
#include <QWidget>

// A working window of the component: one instance per process, loaded on its first showing and
// after every close, shown modeless. Closing unloads it (the instance and its values stay) and
// raises Uscita.
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
    // Runs each time the window becomes the active window; errors end in a message.
    virtual void attivazione() {}

    bool event(QEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    bool m_caricata = false;
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
    virtual void attivazione() {}
    // Closes (unloads) the dialog.
    void scarica();

    bool event(QEvent *evento) override;
    void done(int risultato) override;

private:
    bool m_caricata = false;
};
