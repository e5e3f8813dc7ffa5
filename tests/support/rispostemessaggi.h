#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTimer>

#include <functional>

// What an operator saw of one modal window.
struct MessaggioRegistrato
{
    QString classe; // "QMessageBox", "frmRicerca", ...
    QString titolo;
    QString testo; // message boxes only, like the two below
    QMessageBox::Icon icona = QMessageBox::NoIcon;
    QMessageBox::StandardButtons pulsanti;
    QMessageBox::StandardButton risposta = QMessageBox::NoButton; // the button clicked
};

// A message box on one line (icon, buttons, title, text), so that one QCOMPARE shows every
// difference: "Information [Ok] Riscuti: Campo Ricerca vuoto!".
QString comeAppare(const MessaggioRegistrato &box);
QString comeAppare(const QString &testo, const QString &titolo, QMessageBox::Icon icona,
                   QMessageBox::StandardButtons pulsanti = QMessageBox::Ok);

// Answers the modal windows a widget test sets off, in order, and records them. Queue the
// answers, act, then read what was shown:
//     RisposteMessaggi risposte;
//     risposte.rispondi({QMessageBox::Yes, QMessageBox::Ok});
//     QTest::mouseClick(cmdRimessa, Qt::LeftButton);
//     QCOMPARE(risposte.testi(), QStringList{...});
// Every modal window on top takes the next answer, also one opened while another is open. A
// modal window that finds no answer queued, or not the button queued, fails the running test at
// once and is closed, so a fault never leaves a test waiting on a box. While no RisposteMessaggi
// exists, a modal window that stays up a few tenths of a second fails the test and is closed too.
class RisposteMessaggi : public QObject
{
    Q_OBJECT
public:
    // A handler gets the modal window and answers it (fills fields, clicks a button...).
    using Gestore = std::function<void(QWidget *finestra)>;

    RisposteMessaggi();
    ~RisposteMessaggi() override;

    // A dialog that is not a message box is accepted for Ok and Yes, rejected otherwise.
    void rispondi(QMessageBox::StandardButton pulsante);
    void rispondi(std::initializer_list<QMessageBox::StandardButton> pulsanti);
    void gestisci(const Gestore &gestore);

    const QList<MessaggioRegistrato> &registrati() const { return m_registrati; }
    // The text of every message box, in order.
    QStringList testi() const;
    int risposteInAttesa() const { return int(m_coda.size()); }
    // Waits, at most `millisecondi`, until `quanti` windows in all have been recorded.
    bool attendi(int quanti, int millisecondi = 5000);
    void azzera();

private:
    struct Risposta
    {
        QMessageBox::StandardButton pulsante = QMessageBox::NoButton;
        Gestore gestore;
    };

    void controlla();
    void rispondiA(QPointer<QWidget> finestra);

    QTimer m_timer;
    QQueue<Risposta> m_coda;
    QList<MessaggioRegistrato> m_registrati;
    QPointer<QWidget> m_inRisposta; // answered, not yet gone
};
