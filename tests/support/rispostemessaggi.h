#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTimer>

#include <functional>

// What the helper saw of one modal window and how it answered it.
struct MessaggioRegistrato
{
    QString classe;      // class of the window: "QMessageBox", "frmRicerca", ...
    QString nomeOggetto; // its objectName()
    QString titolo;      // windowTitle()
    // Message boxes only:
    QString testo;            // text()
    QString testoInformativo; // informativeText()
    QMessageBox::Icon icona = QMessageBox::NoIcon;
    QMessageBox::StandardButtons pulsanti; // standardButtons()
    QStringList testiPulsanti;             // the text of every button, custom ones too
    // The standard button clicked (NoButton when a handler answered, or a custom button).
    QMessageBox::StandardButton risposta = QMessageBox::NoButton;
    bool senzaRisposta = false;     // nothing was queued: the default answer was given
    bool rispostaNonValida = false; // the queued button was not on the box: default given
};

// What an operator sees of a message box on one line (icon, buttons, title, text), so that one
// QCOMPARE shows every difference: "Information [Ok] Riscuti: Campo Ricerca vuoto! ...".
QString comeAppare(const MessaggioRegistrato &box);
QString comeAppare(const QString &testo, const QString &titolo, QMessageBox::Icon icona,
                   QMessageBox::StandardButtons pulsanti = QMessageBox::Ok);

// Answers the modal message boxes and dialogs that a widget test sets off, and records them.
// Queue the answers before the action, run it, then read what was shown:
//     RisposteMessaggi risposte;
//     risposte.rispondi({QMessageBox::Yes, QMessageBox::Ok});
//     QTest::mouseClick(cmdRimessa, Qt::LeftButton);
//     QCOMPARE(risposte.registrati().size(), 2);
//     QCOMPARE(risposte.registrati().at(0).testo, QStringLiteral("Effettuare ..."));
// Every appearance of a modal window on top of the others takes the next answer in the queue,
// also a box opened while another one is open, or while a handler is working on a dialog.
// A window that finds the queue empty gets the default answer (a message box its default,
// escape or only button; a dialog reject(); any other window close()) and is recorded with
// senzaRisposta, so that a test never hangs on an unexpected box.
class RisposteMessaggi : public QObject
{
    Q_OBJECT
public:
    // A handler receives the modal window and answers it (fills fields, clicks a button,
    // accept()...). If the window is still open and on top afterwards, it takes the next answer.
    using Gestore = std::function<void(QWidget *finestra)>;

    explicit RisposteMessaggi(QObject *parent = nullptr);
    ~RisposteMessaggi() override;

    // Queues the button to click on the next modal window. A dialog that is not a message box
    // is accepted for Ok, Yes, Save, Open, Apply and YesToAll, rejected for any other button.
    void rispondi(QMessageBox::StandardButton pulsante);
    void rispondi(std::initializer_list<QMessageBox::StandardButton> pulsanti);
    // Queues a handler for the next modal window.
    void gestisci(const Gestore &gestore);

    const QList<MessaggioRegistrato> &registrati() const { return m_registrati; }
    // The text() of every recorded message box, in order.
    QStringList testi() const;
    int risposteInAttesa() const { return int(m_coda.size()); }
    // Waits, running the event loop, until `quanti` windows in all have been recorded.
    bool attendi(int quanti, int millisecondi = 5000);
    // Forgets the queued answers and the recorded windows.
    void azzera();

private:
    struct Risposta
    {
        QMessageBox::StandardButton pulsante = QMessageBox::NoButton;
        Gestore gestore;
    };
    struct Gestione
    {
        QPointer<QWidget> finestra;
        bool inCorso = false;
        QElapsedTimer risposta; // since the answer was given
    };

    void controlla();
    void rispondiA(QPointer<QWidget> finestra);
    Gestione *gestione(QWidget *finestra);

    QTimer m_timer;
    QQueue<Risposta> m_coda;
    QList<MessaggioRegistrato> m_registrati;
    QList<Gestione> m_gestioni;
};
