#include "rispostemessaggi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMetaEnum>
#include <QPushButton>
#include <QTest>

namespace {

// How often the top modal window is looked for.
const int IntervalloMs = 10;
// A window still on top this long after its answer is taken as shown anew.
const int RipresaMs = 100;

QAbstractButton *pulsantePredefinito(QMessageBox *box)
{
    if (QAbstractButton *pulsante = box->defaultButton())
        return pulsante;
    if (QAbstractButton *pulsante = box->escapeButton())
        return pulsante;
    const QList<QAbstractButton *> pulsanti = box->buttons();
    return pulsanti.isEmpty() ? nullptr : pulsanti.first();
}

bool accetta(QMessageBox::StandardButton pulsante)
{
    switch (pulsante) {
    case QMessageBox::Ok:
    case QMessageBox::Yes:
    case QMessageBox::Save:
    case QMessageBox::Open:
    case QMessageBox::Apply:
    case QMessageBox::YesToAll:
        return true;
    default:
        return false;
    }
}

MessaggioRegistrato descrivi(QWidget *finestra)
{
    MessaggioRegistrato voce;
    voce.classe = QString::fromLatin1(finestra->metaObject()->className());
    voce.nomeOggetto = finestra->objectName();
    voce.titolo = finestra->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(finestra)) {
        voce.testo = box->text();
        voce.testoInformativo = box->informativeText();
        voce.icona = box->icon();
        voce.pulsanti = box->standardButtons();
        for (QAbstractButton *pulsante : box->buttons())
            voce.testiPulsanti.append(pulsante->text());
    }
    return voce;
}

} // namespace

RisposteMessaggi::RisposteMessaggi(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(IntervalloMs);
    connect(&m_timer, &QTimer::timeout, this, &RisposteMessaggi::controlla);
    m_timer.start();
}

RisposteMessaggi::~RisposteMessaggi() = default;

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

QString comeAppare(const MessaggioRegistrato &box)
{
    return comeAppare(box.testo, box.titolo, box.icona, box.pulsanti);
}

QString comeAppare(const QString &testo, const QString &titolo, QMessageBox::Icon icona,
                   QMessageBox::StandardButtons pulsanti)
{
    const QByteArray nomeIcona = QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(icona);
    // FirstButton and LastButton share their values with Ok and RestoreDefaults: left out.
    const QMetaEnum tipi = QMetaEnum::fromType<QMessageBox::StandardButtons>();
    QStringList nomiPulsanti;
    for (int i = 0; i < tipi.keyCount(); ++i) {
        const QLatin1String nome(tipi.key(i));
        if (tipi.value(i) != 0 && (int(pulsanti) & tipi.value(i)) == tipi.value(i) &&
            nome != QLatin1String("FirstButton") && nome != QLatin1String("LastButton"))
            nomiPulsanti << nome;
    }
    return QStringLiteral("%1 [%2] %3: %4")
        .arg(QString::fromLatin1(nomeIcona), nomiPulsanti.join(QLatin1Char('|')), titolo, testo);
}

QStringList RisposteMessaggi::testi() const
{
    QStringList risultato;
    for (const MessaggioRegistrato &voce : m_registrati) {
        if (voce.classe == QLatin1String("QMessageBox"))
            risultato.append(voce.testo);
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

RisposteMessaggi::Gestione *RisposteMessaggi::gestione(QWidget *finestra)
{
    m_gestioni.removeIf([](const Gestione &g) { return g.finestra.isNull(); });
    for (Gestione &g : m_gestioni) {
        if (g.finestra == finestra)
            return &g;
    }
    return nullptr;
}

// Runs on the timer. The answer itself is posted, not given here: a Qt timer does not fire
// again while its own handler runs, and an answer may open a nested modal window that this
// timer must still see.
void RisposteMessaggi::controlla()
{
    QWidget *finestra = QApplication::activeModalWidget();
    if (!finestra || !finestra->isVisible())
        return;
    Gestione *g = gestione(finestra);
    if (g) {
        if (g->inCorso || g->risposta.elapsed() < RipresaMs)
            return;
    } else {
        m_gestioni.append({finestra, false, {}});
        g = &m_gestioni.last();
    }
    g->inCorso = true;
    QMetaObject::invokeMethod(
        this, [this, p = QPointer<QWidget>(finestra)] { rispondiA(p); }, Qt::QueuedConnection);
}

void RisposteMessaggi::rispondiA(QPointer<QWidget> finestra)
{
    if (finestra.isNull())
        return;
    if (!finestra->isVisible()) {
        // Gone before its answer: it counts as new if it shows again.
        m_gestioni.removeIf([&](const Gestione &g) { return g.finestra == finestra; });
        return;
    }

    MessaggioRegistrato voce = descrivi(finestra);
    Risposta risposta;
    if (m_coda.isEmpty())
        voce.senzaRisposta = true;
    else
        risposta = m_coda.dequeue();
    auto *box = qobject_cast<QMessageBox *>(finestra.data());

    // The record goes in before the answer: an answer may open further windows.
    const qsizetype indice = m_registrati.size();
    m_registrati.append(voce);

    if (risposta.gestore) {
        risposta.gestore(finestra);
    } else if (box) {
        QAbstractButton *pulsante = nullptr;
        if (risposta.pulsante != QMessageBox::NoButton) {
            pulsante = box->button(risposta.pulsante);
            if (!pulsante) {
                m_registrati[indice].rispostaNonValida = true;
                qWarning("RisposteMessaggi: \"%s\" has no button %d; its default answers it",
                         qPrintable(voce.testo), int(risposta.pulsante));
            }
        }
        if (!pulsante)
            pulsante = pulsantePredefinito(box);
        if (voce.senzaRisposta)
            qWarning("RisposteMessaggi: no answer queued for \"%s\" (%s); its default answers it",
                     qPrintable(voce.testo), qPrintable(voce.titolo));
        if (pulsante) {
            m_registrati[indice].risposta = box->standardButton(pulsante);
            pulsante->click();
        } else {
            box->close();
        }
    } else if (auto *dialogo = qobject_cast<QDialog *>(finestra.data())) {
        if (voce.senzaRisposta)
            qWarning("RisposteMessaggi: no answer queued for the dialog %s; it is rejected",
                     qPrintable(voce.classe));
        m_registrati[indice].risposta =
            voce.senzaRisposta ? QMessageBox::Cancel : risposta.pulsante;
        if (!voce.senzaRisposta && accetta(risposta.pulsante))
            dialogo->accept();
        else
            dialogo->reject();
    } else {
        if (voce.senzaRisposta)
            qWarning("RisposteMessaggi: no answer queued for the modal window %s; it is closed",
                     qPrintable(voce.classe));
        finestra->close();
    }

    if (Gestione *g = gestione(finestra)) {
        g->inCorso = false;
        g->risposta.start();
    }
}
