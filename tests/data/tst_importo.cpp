#include "data/importo.h"

#include <QTest>

// Money to the cent: what each reader takes and what it makes of it, sums that stay exact, and
// every text an amount is shown or written as.
class tst_Importo : public QObject
{
    Q_OBJECT

public:
    enum Lettore { Database, Letterale, Digitato, Numero };
    Q_ENUM(Lettore)

private slots:
    void initTestCase();
    void lettura_data();
    void lettura();
    void eNumero_data();
    void eNumero();
    void sommeEsatte();
    void testi_data();
    void testi();
};

namespace {

const QLocale italiano(QLocale::Italian, QLocale::Italy);
const QLocale americano(QLocale::English, QLocale::UnitedStates);
const QVariant niente;

} // namespace

void tst_Importo::initTestCase()
{
    QLocale::setDefault(italiano);
}

void tst_Importo::lettura_data()
{
    QTest::addColumn<Lettore>("lettore");
    QTest::addColumn<QVariant>("valore");
    QTest::addColumn<QVariant>("centesimi"); // null: nothing read
    QTest::addColumn<QLocale>("locale");
    const auto riga = [](const char *nome, Lettore lettore, const QVariant &valore,
                         const QVariant &centesimi, const QLocale &locale = italiano) {
        QTest::newRow(nome) << lettore << valore << centesimi << locale;
    };
    const auto c = [](qint64 centesimi) { return QVariant(centesimi); };

    // What the server gives for a DECIMAL column: exact or nothing.
    riga("db two decimals", Database, "12.50", c(1250));
    riga("db one decimal, negative", Database, "-3.1", c(-310));
    riga("db zeros past the cents", Database, "1.2300", c(123));
    riga("db largest DECIMAL(12,2)", Database, "9999999999.99", c(999999999999));
    riga("db whole number column", Database, 42, c(4200));
    riga("db NULL", Database, QVariant(QMetaType::fromType<QString>()), niente);
    riga("db a third decimal is not rounded", Database, "1.005", niente);
    riga("db text", Database, "n/d", niente);
    riga("db more than 16 digits of euros", Database, "12345678901234567", niente);

    // A literal as the database stores it in a two-decimal column.
    riga("literal rounds half away from zero", Letterale, "1.005", c(101));
    riga("literal, negative", Letterale, "-2.675", c(-268));
    riga("literal rounding carries", Letterale, "9.995", c(1000));
    riga("literal below half a cent", Letterale, "0.004", c(0));
    riga("literal with two points", Letterale, "1.234.56", niente);

    // Our cheque's amount as typed.
    riga("typed grouping and comma", Digitato, "1.234.567,89", c(123456789));
    riga("typed euro sign and blanks", Digitato, " € 12,5 ", c(1250));
    riga("typed minus, then a blank", Digitato, "- 3,00", c(-300));
    riga("typed zeros past the cents", Digitato, "12,500", c(1250));
    riga("typed comma first", Digitato, ",5", c(50));
    riga("typed comma last", Digitato, "5,", c(500));
    riga("typed beyond a double", Digitato, "12.345.678.901.234,56", c(1234567890123456));
    riga("typed in another locale", Digitato, "1,234.56", c(123456), americano);
    riga("typed empty", Digitato, "", niente);
    riga("typed point as decimals", Digitato, "12.50", niente);
    riga("typed groups not of three", Digitato, "1.23,40", niente);
    riga("typed third decimal", Digitato, "12,345", niente);
    riga("typed two commas", Digitato, "1,2,3", niente);
    riga("typed separator alone", Digitato, ",", niente);
    riga("typed blank inside", Digitato, "12 50", niente);
    riga("typed plus", Digitato, "+5", niente);
    riga("typed more than 16 digits of euros", Digitato, "12345678901234567", niente);

    // A number in the locale's own syntax, rounded at the cent.
    riga("number grouped", Numero, "1.234,56", c(123456));
    riga("number rounds half away from zero", Numero, "-2,675", c(-268));
    riga("number with an exponent", Numero, "1,5e3", c(150000));
    riga("number with blanks and plus", Numero, " +12,5 ", c(1250));
    riga("number: a point is grouping here", Numero, "12.5", niente);
    riga("number: inf", Numero, "inf", niente);
    riga("number beyond any amount", Numero, "1e17", niente);
}

void tst_Importo::lettura()
{
    QFETCH(Lettore, lettore);
    QFETCH(QVariant, valore);
    QFETCH(QVariant, centesimi);
    QFETCH(QLocale, locale);

    std::optional<Importo> letto;
    switch (lettore) {
    case Database:
        letto = Importo::daDatabase(valore);
        break;
    case Letterale:
        letto = Importo::daLetterale(valore.toString());
        break;
    case Digitato:
        letto = Importo::daDigitato(valore.toString(), locale);
        break;
    case Numero:
        letto = Importo::daNumero(valore.toString(), locale);
        break;
    }
    QCOMPARE(letto.has_value(), !centesimi.isNull());
    if (letto)
        QCOMPARE(letto->centesimi(), centesimi.toLongLong());
}

// The locale's reading of a number (what makes an amount field hold one), without a double.
void tst_Importo::eNumero_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<bool>("numero");
    QTest::newRow("decimal comma") << "12,5" << true;
    QTest::newRow("grouping") << "1.234,56" << true;
    QTest::newRow("grouping alone") << "1.234" << true;
    QTest::newRow("blanks and a sign") << "\t-,5 " << true;
    QTest::newRow("exponent") << "1e3" << true;
    QTest::newRow("inf and nan") << "-INF" << true;
    QTest::newRow("the largest double") << "1,7976931348623157e308" << true;
    QTest::newRow("just beyond a double") << "1,8e308" << false;
    QTest::newRow("far beyond a double") << "1e400" << false;
    QTest::newRow("so small it is 0") << "1e-324" << false;
    QTest::newRow("point as decimals") << "12.5" << false;
    QTest::newRow("groups not of three") << "1.23,4" << false;
    QTest::newRow("blank after the sign") << "- 5" << false;
    QTest::newRow("euro sign") << "5 €" << false;
    QTest::newRow("signed nan") << "-nan" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_Importo::eNumero()
{
    QFETCH(QString, testo);
    QFETCH(bool, numero);
    QCOMPARE(Importo::eNumero(testo), numero);
}

void tst_Importo::sommeEsatte()
{
    const Importo dieci = *Importo::daDatabase(QStringLiteral("0.10"));
    const Importo venti = *Importo::daDatabase(QStringLiteral("0.20"));
    QCOMPARE((dieci + venti).centesimi(), qint64(30));
    QVERIFY(dieci + venti == *Importo::daDatabase(QStringLiteral("0.30")));
    QCOMPARE((dieci + venti - *Importo::daDatabase(QStringLiteral("0.31"))).centesimi(),
             qint64(-1));

    // A thousand times 0.10 in binary would drift; in cents it is 100.00.
    Importo somma;
    for (int i = 0; i < 1000; ++i)
        somma += dieci;
    QCOMPARE(somma.centesimi(), qint64(10000));

    const Importo massimo = *Importo::daDatabase(QStringLiteral("9999999999.99"));
    QCOMPARE((massimo + massimo + massimo).perSql(), QStringLiteral("29999999999.97"));
    QVERIFY(venti < dieci + dieci + Importo::daCentesimi(1));
    QVERIFY(!(dieci - venti).positivo());
}

void tst_Importo::testi_data()
{
    QTest::addColumn<qint64>("centesimi");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("visualizzato");
    QTest::addColumn<QString>("valuta"); // the grid's too, unless zero
    QTest::addColumn<QString>("sql");
    // Qt's Italian currency text puts a no-break space before the symbol.
    const QString euro = QStringLiteral("\u00A0€");
    QTest::newRow("grouping and cents") << qint64(123450) << italiano << "1234,50"
                                        << "€1.234,50"
                                        << "1.234,50" + euro << "1234.50";
    QTest::newRow("negative") << qint64(-300) << italiano << "-3,00"
                              << "(€3,00)"
                              << "-3,00" + euro << "-3.00";
    QTest::newRow("cents only, negative") << qint64(-5) << italiano << "-0,05"
                                          << "(€0,05)"
                                          << "-0,05" + euro << "-0.05";
    QTest::newRow("zero, empty in the grid") << qint64(0) << italiano << "0,00"
                                             << "€0,00"
                                             << "0,00" + euro << "0.00";
    QTest::newRow("largest amount") << qint64(999999999999) << italiano << "9999999999,99"
                                    << "€9.999.999.999,99"
                                    << "9.999.999.999,99" + euro << "9999999999.99";
    QTest::newRow("the locale's layout") << qint64(-75) << americano << "-0.75"
                                         << "(€0.75)"
                                         << "($0.75)"
                                         << "-0.75";
}

void tst_Importo::testi()
{
    QFETCH(qint64, centesimi);
    QFETCH(QLocale, locale);
    QFETCH(QString, valuta);
    const Importo importo = Importo::daCentesimi(centesimi);
    QTEST(importo.testoCampo(locale), "campo");
    QTEST(importo.testoVisualizzato(locale), "visualizzato");
    QCOMPARE(importo.valuta(locale), valuta);
    QCOMPARE(importo.testoGriglia(locale), centesimi == 0 ? QString() : valuta);
    QTEST(importo.perSql(), "sql");
    // What the field holds reads back as the same amount.
    const std::optional<Importo> riletto = Importo::daNumero(importo.testoCampo(locale), locale);
    QVERIFY(riletto);
    QCOMPARE(riletto->centesimi(), centesimi);
}

QTEST_GUILESS_MAIN(tst_Importo)
#include "tst_importo.moc"
