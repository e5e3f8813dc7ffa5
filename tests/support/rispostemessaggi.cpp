#include "support/rispostemessaggi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMetaEnum>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

void fallisce(const QString &motivo)
{
    const QByteArray testo = "RisposteMessaggi: " + motivo.toUtf8();
    if (QTest::currentTestFunction())
        QTest::qFail(testo.constData(), __FILE__, __LINE__);
    else
        qWarning("%s", testo.constData());
}

int vivi = 0; // RisposteMessaggi alive

// Outside any RisposteMessaggi nobody answers: a modal window found up at two checks in a row is
// one nobody expected (a modal loop would otherwise hold the test until ctest's time-out).
void sorveglia()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(200);
    QObject::connect(timer, &QTimer::timeout, [visto = QPointer<QWidget>()]() mutable {
        QWidget *modale = vivi ? nullptr : QApplication::activeModalWidget();
        if (!modale || !modale->isVisible() || modale != visto) {
            visto = modale;
            return;
        }
        fallisce(QStringLiteral("a modal window nobody expected, with no answers set up: ") +
                 QString::fromLatin1(modale->metaObject()->className()) + QLatin1Char(' ') +
                 modale->windowTitle());
        modale->close();
        visto = nullptr;
    });
    timer->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(sorveglia)

QString comeAppare(const MessaggioRegistrato &box)
{
    return comeAppare(box.testo, box.titolo, box.icona, box.pulsanti);
}

QString comeAppare(const QString &testo, const QString &titolo, QMessageBox::Icon icona,
                   QMessageBox::StandardButtons pulsanti)
{
    const QMetaEnum tipi = QMetaEnum::fromType<QMessageBox::StandardButtons>();
    QStringList nomi;
    for (int i = 0; i < tipi.keyCount(); ++i) {
        const QLatin1String nome(tipi.key(i));
        // FirstButton and LastButton share their values with Ok and RestoreDefaults.
        if (tipi.value(i) != 0 && (int(pulsanti) & tipi.value(i)) == tipi.value(i) &&
            nome != QLatin1String("FirstButton") && nome != QLatin1String("LastButton"))
            nomi << nome;
    }
    return QStringLiteral("%1 [%2] %3: %4")
        .arg(QLatin1String(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(icona)),
             nomi.join(QLatin1Char('|')), titolo, testo);
}

RisposteMessaggi::~RisposteMessaggi()
{
    --vivi;
}

RisposteMessaggi::RisposteMessaggi()
{
    ++vivi;
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &RisposteMessaggi::controlla);
    m_timer.start();
}

void RisposteMessaggi::rispondi(QMessageBox::StandardButton pulsante)
{
    m_coda.enqueue({pulsante, {}});
}

void RisposteMessaggi::rispondi(std::initializer_list<QMessageBox::StandardButton> pulsanti)
{
    for (QMessageBox::StandardButton pulsante : pulsanti)
        rispondi(pulsante);
}

void RisposteMessaggi::gestisci(const Gestore &gestore)
{
    m_coda.enqueue({QMessageBox::NoButton, gestore});
}

QStringList RisposteMessaggi::testi() const
{
    QStringList risultato;
    for (const MessaggioRegistrato &voce : m_registrati) {
        if (voce.classe == QLatin1String("QMessageBox"))
            risultato << voce.testo;
    }
    return risultato;
}

bool RisposteMessaggi::attendi(int quanti, int millisecondi)
{
    return QTest::qWaitFor([&] { return m_registrati.size() >= quanti; }, millisecondi);
}

void RisposteMessaggi::azzera()
{
    m_coda.clear();
    m_registrati.clear();
}

// Runs on the timer; the answer is posted, not given here: a timer does not fire again while
// its own handler runs, and an answer may open a nested modal window this timer must still see.
void RisposteMessaggi::controlla()
{
    QWidget *finestra = QApplication::activeModalWidget();
    if (!finestra || !finestra->isVisible() || finestra == m_inRisposta)
        return;
    m_inRisposta = finestra;
    QMetaObject::invokeMethod(
        this, [this, p = QPointer<QWidget>(finestra)] { rispondiA(p); }, Qt::QueuedConnection);
}

void RisposteMessaggi::rispondiA(QPointer<QWidget> finestra)
{
    if (!finestra || !finestra->isVisible()) {
        m_inRisposta = nullptr;
        return;
    }
    MessaggioRegistrato voce;
    voce.classe = QString::fromLatin1(finestra->metaObject()->className());
    voce.titolo = finestra->windowTitle();
    auto *box = qobject_cast<QMessageBox *>(finestra.data());
    if (box) {
        voce.testo = box->text();
        voce.icona = box->icon();
        voce.pulsanti = box->standardButtons();
    }
    const qsizetype indice = m_registrati.size();
    m_registrati.append(voce); // before the answer, which may open further windows
    if (m_coda.isEmpty()) {
        fallisce(QStringLiteral("a modal window nobody expected: ") +
                 (box ? comeAppare(voce) : voce.classe + QLatin1Char(' ') + voce.titolo));
        finestra->close();
    } else if (const Risposta risposta = m_coda.dequeue(); risposta.gestore) {
        risposta.gestore(finestra);
    } else if (box) {
        if (QAbstractButton *pulsante = box->button(risposta.pulsante)) {
            m_registrati[indice].risposta = risposta.pulsante;
            pulsante->click();
        } else {
            fallisce(QStringLiteral("no button %1 on ").arg(int(risposta.pulsante)) +
                     comeAppare(voce));
            box->close();
        }
    } else if (auto *dialogo = qobject_cast<QDialog *>(finestra.data())) {
        m_registrati[indice].risposta = risposta.pulsante;
        risposta.pulsante == QMessageBox::Ok || risposta.pulsante == QMessageBox::Yes
            ? dialogo->accept()
            : dialogo->reject();
    } else {
        finestra->close();
    }
    // A window still up after its answer (a refused entry shows its box again) is a new one.
    if (m_inRisposta == finestra)
        m_inRisposta = nullptr;
}
