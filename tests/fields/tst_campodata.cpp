#include "data/erroredb.h"
#include "fields/campodata.h"
#include "fields/comportamentocampo.h"

#include "support/rispostemessaggi.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <functional>
#include <memory>

// The masked date field as an operator meets it: focus moved by Tab, by a click on another
// control and by the program, on a small window holding the field, another field and a button.
class tst_CampoData : public QObject
{
    Q_OBJECT

public:
    enum Uscita { Tab, Clic, ClicFinestra, Programma };

private slots:
    void init();
    void cleanup();

    void proprietaIniziali();
    void senzaControllo_data();
    void senzaControllo();
    void validita_data();
    void validita();
    void riempitoDaCodice();
    void ricercaSoloConQualcosaScritto_data();
    void ricercaSoloConQualcosaScritto();
    void mascheraCondizionata();
    void svuotatoMentreHaIlFuoco();
    void gestoreCheFallisce();

private:
    static void aggiungiUscite();
    // Moves the focus out of the field the way the row says.
    void esci(Uscita come);
    void entra();
    // Shows the window; the field, first in it, takes the focus (and its mask, when it has one).
    void mostra(bool conMaschera = true);

    std::unique_ptr<RisposteMessaggi> m_risposte;
    std::unique_ptr<QWidget> m_finestra;
    QLineEdit *m_campo = nullptr;
    QLineEdit *m_altro = nullptr;
    QPushButton *m_pulsante = nullptr;
};

Q_DECLARE_METATYPE(tst_CampoData::Uscita)

namespace {
const QString messaggio = QStringLiteral("Data di inizio periodo non valida.");
const std::pair<const char *, tst_CampoData::Uscita> uscite[] = {
    {"Tab", tst_CampoData::Tab},
    {"click on a button", tst_CampoData::Clic},
    {"click on a button through the window", tst_CampoData::ClicFinestra},
    {"focus moved by the program", tst_CampoData::Programma}};
} // namespace

void tst_CampoData::init()
{
    m_risposte = std::make_unique<RisposteMessaggi>();
    m_finestra = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_finestra.get());
    m_campo = new QLineEdit;
    m_campo->setObjectName(QStringLiteral("txtDataDa"));
    m_altro = new QLineEdit;
    m_pulsante = new QPushButton(QStringLiteral("&Rimessa"));
    layout->addWidget(m_campo);
    layout->addWidget(m_altro);
    layout->addWidget(m_pulsante);
    CampoData::preparaCampo(m_campo);
}

void tst_CampoData::cleanup()
{
    m_finestra.reset();
    m_risposte.reset();
}

void tst_CampoData::mostra(bool conMaschera)
{
    m_finestra->show();
    m_finestra->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_finestra.get()));
    // The field, first in the window, took the focus as the window became active: it has its
    // mask, and leaving it untouched says nothing.
    QTRY_VERIFY(m_campo->hasFocus());
    if (conMaschera)
        QCOMPARE(CampoData::testo(m_campo), CampoData::mascheraVuota());
    else
        QCOMPARE(m_campo->inputMask(), QString());
    m_altro->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(m_altro->hasFocus());
    QCOMPARE(m_risposte->testi(), QStringList());
    QCOMPARE(m_campo->text(), QString());
    QCOMPARE(m_campo->inputMask(), QString());
}

void tst_CampoData::entra()
{
    QTest::mouseClick(m_finestra->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      m_campo->mapTo(m_finestra.get(), m_campo->rect().center()));
    QTRY_VERIFY(m_campo->hasFocus());
}

void tst_CampoData::esci(Uscita come)
{
    switch (come) {
    case Tab:
        QTest::keyClick(m_campo, Qt::Key_Tab);
        break;
    case Clic:
        QTest::mouseClick(m_pulsante, Qt::LeftButton);
        break;
    case ClicFinestra:
        // Through the window, as the window system delivers an operator's click.
        QTest::mouseClick(m_finestra->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          m_pulsante->mapTo(m_finestra.get(), m_pulsante->rect().center()));
        break;
    case Programma:
        m_altro->setFocus(Qt::OtherFocusReason);
        break;
    }
    QCoreApplication::processEvents();
}

void tst_CampoData::aggiungiUscite()
{
    QTest::addColumn<Uscita>("come");
    for (const auto &[nome, come] : uscite)
        QTest::newRow(nome) << come;
}

void tst_CampoData::proprietaIniziali()
{
    CampoData::senzaControllo(m_campo);
    QCOMPARE(m_campo->inputMask(), QString());
    QCOMPARE(m_campo->maxLength(), 10);
    QCOMPARE(m_campo->toolTip(), QStringLiteral("Premere F12 per la ricerca"));
    QCOMPARE(CampoData::testo(m_campo), QString());
    QCOMPARE(CampoData::mascheraVuota(), QStringLiteral("__/__/____"));
}

void tst_CampoData::senzaControllo_data()
{
    QTest::addColumn<Uscita>("come");
    QTest::addColumn<QString>("cifre");
    for (const auto &[nome, come] : uscite) {
        QTest::addRow("untouched, %s", nome) << come << QString();
        QTest::addRow("one digit, %s", nome) << come << QStringLiteral("1");
    }
}

// A field without a check: the mask comes on entering and goes on leaving an untouched field;
// a digit keeps it. It never holds the focus nor swallows a click.
void tst_CampoData::senzaControllo()
{
    QFETCH(Uscita, come);
    QFETCH(QString, cifre);
    CampoData::senzaControllo(m_campo);
    QSignalSpy clic(m_pulsante, &QPushButton::clicked);
    QVERIFY(clic.isValid());
    mostra();

    const bool vuoto = cifre.isEmpty();
    for (int volta = 0; volta < (vuoto ? 2 : 1); ++volta) { // nothing left over from a visit
        entra();
        QVERIFY(!m_campo->inputMask().isEmpty());
        QCOMPARE(CampoData::testo(m_campo), CampoData::mascheraVuota());
        QTest::keyClick(m_campo, Qt::Key_Home);
        QTest::keyClicks(m_campo, cifre);
        esci(come);
        QTRY_VERIFY(!m_campo->hasFocus());
        QCOMPARE(CampoData::testo(m_campo), vuoto ? QString() : QStringLiteral("1_/__/____"));
        QCOMPARE(m_campo->inputMask().isEmpty(), vuoto);
        QCOMPARE(m_campo->maxLength(), 10); // unmasked again with its own length limit
    }
    QCOMPARE(clic.count(), come == Clic || come == ClicFinestra ? (vuoto ? 2 : 1) : 0);
}

void tst_CampoData::validita_data()
{
    QTest::addColumn<Uscita>("come");
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("accettata");

    for (const auto &[nome, come] : uscite) {
        QTest::addRow("untouched accepted, %s", nome) << come << QString() << true;
        QTest::addRow("one digit refused, %s", nome) << come << "1" << false;
        QTest::addRow("31/02/2015 refused, %s", nome) << come << "31/02/2015" << false;
        QTest::addRow("29/02/2016 accepted, %s", nome) << come << "29/02/2016" << true;
        QTest::addRow("29/02/2015 refused, %s", nome) << come << "29/02/2015" << false;
        QTest::addRow("half a date refused, %s", nome) << come << "0403" << false;
    }
}

// A field with the check: a date that is not whole and real keeps the focus, with one box, the
// text selected and the click that would have left swallowed; corrected, it lets go.
void tst_CampoData::validita()
{
    QFETCH(Uscita, come);
    QFETCH(QString, data);
    QFETCH(bool, accettata);
    CampoData::conValidita(m_campo, messaggio);
    QSignalSpy clic(m_pulsante, &QPushButton::clicked);
    QVERIFY(clic.isValid());
    mostra();

    entra();
    QTest::keyClick(m_campo, Qt::Key_Home);
    QTest::keyClicks(m_campo, data);
    const QString scritto = CampoData::testo(m_campo);
    RisposteMessaggi &risposte = *m_risposte;
    if (!accettata)
        risposte.rispondi(QMessageBox::Ok);
    esci(come);
    if (accettata) {
        QTRY_VERIFY(!m_campo->hasFocus());
        QTest::qWait(50);
        QCOMPARE(risposte.registrati().size(), 0);
        QCOMPARE(CampoData::testo(m_campo), data); // unchanged, not reformatted
        QCOMPARE(m_campo->inputMask().isEmpty(), data.isEmpty());
        QCOMPARE(clic.count(), come == Clic || come == ClicFinestra ? 1 : 0);
        return;
    }
    QVERIFY(risposte.attendi(1));
    QTRY_VERIFY(m_campo->hasFocus());
    QTest::qWait(50); // nothing else may follow
    QCOMPARE(risposte.registrati().size(), 1);
    const MessaggioRegistrato box = risposte.registrati().at(0);
    QCOMPARE(box.testo, messaggio);
    QCOMPARE(box.titolo, QStringLiteral("Riscuti"));
    QCOMPARE(box.icona, QMessageBox::NoIcon);
    QCOMPARE(box.pulsanti, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(m_campo->hasFocus());
    QVERIFY(!m_altro->hasFocus());
    QCOMPARE(CampoData::testo(m_campo), scritto);
    QCOMPARE(m_campo->selectionStart(), 0);
    QCOMPARE(m_campo->selectedText().size(), scritto.size());
    QCOMPARE(clic.count(), 0);

    QTest::keyClick(m_campo, Qt::Key_Home);
    QTest::keyClicks(m_campo, QStringLiteral("01012015"));
    esci(come);
    QTRY_VERIFY(!m_campo->hasFocus());
    QCOMPARE(CampoData::testo(m_campo), QStringLiteral("01/01/2015"));
    QCOMPARE(risposte.registrati().size(), 1);
}

void tst_CampoData::riempitoDaCodice()
{
    CampoData::senzaControllo(m_campo);
    mostra();

    m_campo->setText(QStringLiteral("04/03/2015"));
    QCOMPARE(m_campo->inputMask(), QString());
    QCOMPARE(CampoData::testo(m_campo), QStringLiteral("04/03/2015"));

    entra();
    QVERIFY(!m_campo->inputMask().isEmpty());
    QCOMPARE(m_campo->displayText(), QStringLiteral("04/03/2015"));
    esci(Tab);
    QTRY_VERIFY(!m_campo->hasFocus());
    QCOMPARE(CampoData::testo(m_campo), QStringLiteral("04/03/2015"));

    // Cleared by code: back to the untouched state.
    CampoData::svuota(m_campo);
    QCOMPARE(m_campo->inputMask(), QString());
    QCOMPARE(m_campo->text(), QString());
    QCOMPARE(m_campo->maxLength(), 10);
}

void tst_CampoData::ricercaSoloConQualcosaScritto_data()
{
    aggiungiUscite();
}

void tst_CampoData::ricercaSoloConQualcosaScritto()
{
    QFETCH(Uscita, come);
    QStringList ricerche;
    bool fallisce = false;
    CampoData::conRicerca(m_campo, [&] {
        if (fallisce)
            throw std::runtime_error("ricerca fallita");
        ricerche << CampoData::testo(m_campo);
    });
    QSignalSpy clic(m_pulsante, &QPushButton::clicked);
    QVERIFY(clic.isValid());
    mostra();

    entra();
    esci(come);
    QTRY_VERIFY(!m_campo->hasFocus());
    QCOMPARE(ricerche, QStringList());

    entra();
    QTest::keyClick(m_campo, Qt::Key_Home);
    QTest::keyClicks(m_campo, QStringLiteral("3102"));
    esci(come);
    QTRY_VERIFY(!m_campo->hasFocus()); // never refused, even for a date that is not valid
    QCOMPARE(ricerche, QStringList{QStringLiteral("31/02/____")});
    QCOMPARE(clic.count(), come == Clic || come == ClicFinestra ? 2 : 0);

    // A failing lookup ends in a message, and the field still lets the focus go.
    RisposteMessaggi &risposte = *m_risposte;
    risposte.rispondi(QMessageBox::Ok);
    fallisce = true;
    entra();
    esci(come);
    QVERIFY(risposte.attendi(1));
    QCOMPARE(risposte.registrati().at(0).icona, QMessageBox::Critical);
    QTRY_VERIFY(!m_campo->hasFocus());
}

void tst_CampoData::mascheraCondizionata()
{
    bool conMaschera = false;
    m_campo->setMaxLength(64);
    m_campo->setToolTip(QString());
    CampoData::conMascheraCondizionata(m_campo, [&] { return conMaschera; });
    mostra(false);

    entra();
    QCOMPARE(m_campo->inputMask(), QString());
    QTest::keyClicks(m_campo, QStringLiteral("2015"));
    esci(Tab);
    QTRY_VERIFY(!m_campo->hasFocus());
    QCOMPARE(m_campo->text(), QStringLiteral("2015"));
    QCOMPARE(m_campo->maxLength(), 64);

    // A date search: mask and length 10 on entering.
    m_campo->clear();
    conMaschera = true;
    entra();
    QVERIFY(!m_campo->inputMask().isEmpty());
    QCOMPARE(m_campo->maxLength(), 10);
    QCOMPARE(CampoData::testo(m_campo), CampoData::mascheraVuota());
    esci(Clic);
    QTRY_VERIFY(!m_campo->hasFocus());
    QCOMPARE(m_campo->inputMask(), QString());
    QCOMPARE(m_campo->text(), QString());

    // Back to a year search: no mask again.
    conMaschera = false;
    entra();
    QCOMPARE(m_campo->inputMask(), QString());
    QTest::keyClicks(m_campo, QStringLiteral("2014"));
    QCOMPARE(m_campo->text(), QStringLiteral("2014"));
}

// A window that empties its date field while the field has the focus (a clearing after a run):
// leaving the empty field is not a wrong date.
void tst_CampoData::svuotatoMentreHaIlFuoco()
{
    CampoData::conValidita(m_campo, messaggio);
    mostra();
    entra();
    QTest::keyClicks(m_campo, QStringLiteral("0403"));
    CampoData::svuota(m_campo);
    esci(Tab);
    QTRY_VERIFY(!m_campo->hasFocus());
    QTest::qWait(50);
    QCOMPARE(m_risposte->testi(), QStringList());
    QCOMPARE(m_campo->text(), QString());
}

// A focus handler that throws ends in the error's message; the field goes on working.
void tst_CampoData::gestoreCheFallisce()
{
    auto *comportamento = new ComportamentoCampo(m_campo);
    int perdite = 0;
    comportamento->suPerditaFocus = [&] { ++perdite; };
    mostra(false);
    QCOMPARE(perdite, 1);

    comportamento->suFocus = [] { throw ErroreDb(2002, QStringLiteral("Server assente")); };
    comportamento->suValidazione = []() -> bool { throw std::runtime_error("guasto"); };
    m_risposte->rispondi({QMessageBox::Ok, QMessageBox::Ok});
    QTest::mouseClick(m_campo, Qt::LeftButton);
    QVERIFY(m_risposte->attendi(1));
    // Back from the message, as the window system gives the activation back.
    m_finestra->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_finestra.get()));
    QTRY_VERIFY(m_campo->hasFocus());
    QCOMPARE(m_risposte->registrati().size(), 1); // coming back is no new focus gain

    esci(Tab);
    QVERIFY(m_risposte->attendi(2));
    QTRY_VERIFY(!m_campo->hasFocus());
    QCOMPARE(m_risposte->testi(), QStringList({"2002 Server assente", "5 guasto"}));
    for (const MessaggioRegistrato &box : m_risposte->registrati()) {
        QCOMPARE(box.icona, QMessageBox::Critical);
        QCOMPARE(box.titolo, QStringLiteral("Riscuti"));
    }
    QCOMPARE(perdite, 2); // a failed validation refuses nothing
}

QTEST_MAIN(tst_CampoData)
#include "tst_campodata.moc"
