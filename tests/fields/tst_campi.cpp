#include "data/erroredb.h"
#include "fields/campocliente.h"
#include "fields/campodata.h"
#include "fields/campoimporto.h"

#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

// The masked date field and the amount field as an operator meets them, on a small window of
// their own: the date field first, another field, a button, two amount fields and a plain one.
// The customer code's rule needs no window.
class tst_Campi : public QObject
{
    Q_OBJECT

public:
    enum Variante { Nessuna, Ricerca, Validita };
    enum Uscita { Tab, Clic, Programma };
    Q_ENUM(Variante)
    Q_ENUM(Uscita)

private slots:
    void initTestCase();
    void init();
    void data_data();
    void data();
    void mascheraCondizionata();
    void importo_data();
    void importo();
    void codiceCliente_data();
    void codiceCliente();

private:
    void mostra();
    void entra(const QString &cifre = QString());
    void esci(Uscita come);

    std::unique_ptr<RisposteMessaggi> m_risposte;
    std::unique_ptr<QWidget> m_finestra;
    QLineEdit *m_campo = nullptr;
    QLineEdit *m_altro = nullptr;
    QPushButton *m_pulsante = nullptr;
    CampoImporto *m_importo = nullptr;
    CampoImporto *m_copia = nullptr; // shows as its text what the other should show
    QLineEdit *m_semplice = nullptr; // a plain field, for what a focused field shows
};

namespace {
const QString messaggio = QStringLiteral("Data di inizio periodo non valida.");
} // namespace

void tst_Campi::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QApplication::setCursorFlashTime(0); // a caret that does not blink looks the same each time
}

void tst_Campi::init()
{
    m_risposte = std::make_unique<RisposteMessaggi>();
    m_finestra = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_finestra.get());
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_campo = new QLineEdit, m_altro = new QLineEdit, m_pulsante = new QPushButton("&Ok"),
          m_importo = new CampoImporto, m_copia = new CampoImporto, m_semplice = new QLineEdit})
        layout->addWidget(w);
    m_semplice->setAlignment(m_importo->alignment());
    CampoData::preparaCampo(m_campo);
}

// Shows the window; the date field, first in it, takes the focus, then gives it to the other
// field untouched.
void tst_Campi::mostra()
{
    m_finestra->show();
    QVERIFY(QTest::qWaitForWindowActive(m_finestra.get()));
    QTRY_VERIFY(m_campo->hasFocus());
    m_altro->setFocus(Qt::OtherFocusReason);
}

// A click into the date field, and `cifre` typed from its first position.
void tst_Campi::entra(const QString &cifre)
{
    QTest::mouseClick(m_finestra->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      m_campo->mapTo(m_finestra.get(), m_campo->rect().center()));
    QTRY_VERIFY(m_campo->hasFocus());
    QTest::keyClick(m_campo, Qt::Key_Home);
    QTest::keyClicks(m_campo, cifre);
}

void tst_Campi::esci(Uscita come)
{
    if (come == Tab)
        QTest::keyClick(m_campo, Qt::Key_Tab);
    else if (come == Clic) // through the window, as the window system delivers a click
        QTest::mouseClick(m_finestra->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          m_pulsante->mapTo(m_finestra.get(), m_pulsante->rect().center()));
    else
        m_altro->setFocus(Qt::OtherFocusReason);
}

void tst_Campi::data_data()
{
    QTest::addColumn<Variante>("variante");
    QTest::addColumn<Uscita>("come");
    QTest::addColumn<QString>("cifre");
    QTest::addColumn<QString>("lasciato"); // the text it is left with
    QTest::addColumn<QString>("box");      // the message shown on the way
    const QString no = comeAppare(messaggio, "Riscuti", QMessageBox::NoIcon);
    const QString guasto = comeAppare("2002 Server assente", "Riscuti", QMessageBox::Critical);
    // clang-format off
    const struct
    {
        Variante variante;
        const char *cifre, *lasciato;
        QString box{};
    } casi[] = {
        {Nessuna, "", ""}, {Nessuna, "1", "1_/__/____"}, {Ricerca, "", ""},
        {Ricerca, "3102", "31/02/____"}, {Ricerca, "99", "99/__/____", guasto}, // it fails
        {Validita, "", ""}, {Validita, "29022016", "29/02/2016"},
        {Validita, "1", "01/01/2015", no}, {Validita, "31022015", "01/01/2015", no}};
    // clang-format on
    for (const Uscita come : {Tab, Clic, Programma})
        for (const auto &caso : casi)
            QTest::addRow("%s %s '%s'", QMetaEnum::fromType<Variante>().valueToKey(caso.variante),
                          QMetaEnum::fromType<Uscita>().valueToKey(come), caso.cifre)
                << caso.variante << come << caso.cifre << caso.lasciato << caso.box;
}

// The mask comes with the focus and goes when the field is left untouched; the lookup runs when
// something was typed and never keeps the focus, a failing one ends in its message; the check of
// validity refuses what is no whole and real date with one box, keeps the focus with the text
// selected and swallows the click that would have left; corrected, the date lets it go.
void tst_Campi::data()
{
    QFETCH(Variante, variante);
    QFETCH(Uscita, come);
    QFETCH(QString, cifre);
    QFETCH(QString, lasciato);
    QFETCH(QString, box);
    QStringList ricerche;
    if (variante == Ricerca)
        CampoData::conRicerca(m_campo, [&] {
            ricerche << CampoData::testo(m_campo);
            if (ricerche.last().startsWith("99"))
                throw ErroreDb(2002, QStringLiteral("Server assente"));
        });
    else if (variante == Validita)
        CampoData::conValidita(m_campo, messaggio);
    else
        CampoData::senzaControllo(m_campo);
    QSignalSpy pressione(m_pulsante, &QPushButton::pressed);
    mostra();
    entra();
    QCOMPARE(CampoData::testo(m_campo), CampoData::mascheraVuota());
    QTest::keyClicks(m_campo, cifre);
    if (!box.isEmpty())
        m_risposte->rispondi(QMessageBox::Ok);
    esci(come);
    QCOMPARE(m_risposte->registrati().size(), box.isEmpty() ? 0 : 1); // as the focus went
    if (variante == Validita && !box.isEmpty()) {
        QTRY_VERIFY(m_campo->hasFocus());
        QCOMPARE(m_campo->selectedText(), m_campo->displayText());
        QCOMPARE(pressione.count(), 0);
        // A box of the window's own takes the focus and gives it back: no move, nothing checked.
        m_risposte->rispondi(QMessageBox::Ok);
        QMessageBox::information(m_finestra.get(), "Riscuti", "Altro");
        m_finestra->activateWindow(); // as the window system gives the activation back
        QTRY_VERIFY(m_campo->hasFocus());
        QTest::keyClick(m_campo, Qt::Key_Home);
        QTest::keyClicks(m_campo, "01012015");
        esci(come);
    }
    QTRY_VERIFY(!m_campo->hasFocus());
    QTest::qWait(50); // nothing else may follow
    QCOMPARE(m_risposte->registrati().size(), box.isEmpty() ? 0 : variante == Validita ? 2 : 1);
    if (!box.isEmpty())
        QCOMPARE(comeAppare(m_risposte->registrati().at(0)), box);
    QCOMPARE(CampoData::testo(m_campo), lasciato);
    QCOMPARE(m_campo->inputMask().isEmpty(), lasciato.isEmpty());
    QCOMPARE(ricerche.join(' '), variante == Ricerca ? lasciato : QString());
    QCOMPARE(pressione.count(), come == Clic ? 1 : 0);
}

// A field that takes a year or a date, by the search: the mask (and length 10) only for a date.
// A date the window puts into the unmasked field shows as it is and keeps through the mask;
// emptied by the window, the field is untouched again.
void tst_Campi::mascheraCondizionata()
{
    bool conMaschera = false;
    m_campo->setMaxLength(64);
    CampoData::conMascheraCondizionata(m_campo, [&] { return conMaschera; });
    mostra();
    entra("2015");
    esci(Tab);
    QTRY_VERIFY(!m_campo->hasFocus());
    QCOMPARE(m_campo->text() + m_campo->inputMask(), QStringLiteral("2015"));
    QCOMPARE(m_campo->maxLength(), 64);
    conMaschera = true;
    m_campo->setText(QStringLiteral("04/03/2015"));
    QCOMPARE(CampoData::testo(m_campo) + m_campo->inputMask(), QStringLiteral("04/03/2015"));
    entra();
    QVERIFY(!m_campo->inputMask().isEmpty() && m_campo->maxLength() == 10);
    QCOMPARE(CampoData::testo(m_campo), QStringLiteral("04/03/2015"));
    CampoData::svuota(m_campo);
    QCOMPARE(CampoData::testo(m_campo) + m_campo->inputMask(), QString());
    QCOMPARE(m_campo->maxLength(), 10);
}

void tst_Campi::importo_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("mostrato"); // without the focus: grouped, negative in brackets,
    const std::pair<const char *, const char *> casi[] = {// rounded at the cent, or as it is
                                                          {"1234,5", "€1.234,50"},
                                                          {"-3", "(€3,00)"},
                                                          {"1,005", "€1,01"},
                                                          {"dodici", "dodici"}};
    for (const auto &[testo, mostrato] : casi)
        QTest::newRow(testo) << QString::fromUtf8(testo) << QString::fromUtf8(mostrato);
}

// Without the focus the amount field shows Importo's display text, drawn as the field draws its
// own; with the focus, the plain text, as any line edit does.
void tst_Campi::importo()
{
    QFETCH(QString, testo);
    QFETCH(QString, mostrato);
    mostra();
    m_importo->setText(testo);
    m_copia->setText(mostrato);
    m_semplice->setText(testo);
    QCOMPARE(m_importo->testoVisualizzato(), mostrato);
    QCOMPARE(m_importo->grab().toImage(), m_copia->grab().toImage());
    m_importo->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(m_importo->hasFocus());
    const QImage conFuoco = m_importo->grab().toImage();
    m_semplice->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(m_semplice->hasFocus());
    QCOMPARE(conFuoco, m_semplice->grab().toImage());
}

void tst_Campi::codiceCliente_data()
{
    QTest::addColumn<QString>("codice");
    QTest::addColumn<bool>("valido");
    QTest::newRow("one digit") << "7" << true;
    QTest::newRow("nine digits") << "123456789" << true;
    QTest::newRow("ten digits") << "1234567890" << false;
    QTest::newRow("a letter") << "12A" << false;
    QTest::newRow("an underscore") << "12_" << false;
    QTest::newRow("a sign") << "-12" << false;
    QTest::newRow("empty") << "" << false;
}

// What reaches the customer lookup: a code the statement can take bare, or the window's
// "Codice cliente assente o errato" instead.
void tst_Campi::codiceCliente()
{
    QFETCH(QString, codice);
    QFETCH(bool, valido);
    QCOMPARE(CampoCliente::codiceValido(codice), valido);
}

QTEST_MAIN(tst_Campi)
#include "tst_campi.moc"
