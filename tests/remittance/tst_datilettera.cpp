#include "remittance/datilettera.h"
#include "remittance/importoassegno.h"

#include "data/erroredb.h"

#include <QTest>

// The letter's nine entries and the amount of our cheque or transfer on its way into them and
// into the statements.
class tst_DatiLettera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void importoPerIstruzione_data();
    void importoPerIstruzione();
    void importoRifiutato_data();
    void importoRifiutato();
    void importoInValuta_data();
    void importoInValuta();
    void componi_data();
    void componi();
};

namespace {

const QLocale italiano(QLocale::Italian, QLocale::Italy);
const QString nbsp = QString(QChar::Nbsp);

} // namespace

void tst_DatiLettera::initTestCase()
{
    QLocale::setDefault(italiano);
}

void tst_DatiLettera::importoPerIstruzione_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("digitato");
    QTest::addColumn<QString>("atteso");

    const auto riga = [](const char *nome, const QString &digitato, const QString &atteso,
                         const QLocale &locale = italiano) {
        QTest::newRow(nome) << locale << digitato << atteso;
    };
    riga("comma decimal, point grouping", QStringLiteral("1.234,56"), QStringLiteral("1234.56"));
    riga("plain digits with comma", QStringLiteral("1234,5"), QStringLiteral("1234.5"));
    riga("whole number", QStringLiteral("12"), QStringLiteral("12"));
    riga("several groups", QStringLiteral("1.234.567,89"), QStringLiteral("1234567.89"));
    riga("euro sign and blanks", QStringLiteral(" € 12,50 "), QStringLiteral("12.50"));
    riga("negative", QStringLiteral("-3,00"), QStringLiteral("-3.00"));
    riga("trailing zeros past the cents", QStringLiteral("12,500"), QStringLiteral("12.50"));
    riga("no integer digits", QStringLiteral(",5"), QStringLiteral("0.5"));
    riga("no decimal digits", QStringLiteral("5,"), QStringLiteral("5"));
    riga("leading zeros", QStringLiteral("007,10"), QStringLiteral("7.10"));
    riga("zero", QStringLiteral("0"), QStringLiteral("0"));
    riga("beyond a double's precision", QStringLiteral("123.456.789.012.345,67"),
         QStringLiteral("123456789012345.67"));
    riga("another locale's separators", QStringLiteral("1,234.56"), QStringLiteral("1234.56"),
         QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_DatiLettera::importoPerIstruzione()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, digitato);
    QFETCH(QString, atteso);
    QCOMPARE(ImportoAssegno::perIstruzione(digitato, locale), atteso);
}

void tst_DatiLettera::importoRifiutato_data()
{
    QTest::addColumn<QString>("digitato");
    QTest::newRow("empty: our cheque must have an amount") << QString();
    QTest::newRow("blanks only") << QStringLiteral("   ");
    QTest::newRow("letters") << QStringLiteral("dodici");
    QTest::newRow("a point is grouping here, not decimals") << QStringLiteral("12.50");
    QTest::newRow("groups of other than three digits") << QStringLiteral("1.23,40");
    QTest::newRow("cents past the second decimal") << QStringLiteral("12,345");
    QTest::newRow("two decimal separators") << QStringLiteral("1,2,3");
    QTest::newRow("separator alone") << QStringLiteral(",");
    QTest::newRow("sign alone") << QStringLiteral("-");
    QTest::newRow("blank inside") << QStringLiteral("12 50");
    QTest::newRow("more digits than a statement takes") << QStringLiteral("1234567890123456789");
}

void tst_DatiLettera::importoRifiutato()
{
    QFETCH(QString, digitato);
    try {
        const QString letto = ImportoAssegno::perIstruzione(digitato);
        QFAIL(qPrintable(QStringLiteral("accepted as %1").arg(letto)));
    } catch (const ErroreDb &errore) {
        QCOMPARE(errore.numero(), int(ErroreDb::TipoNonCorrispondente));
        QVERIFY2(errore.descrizione().contains(QLatin1Char('\'') + digitato + QLatin1Char('\'')),
                 qPrintable(errore.descrizione()));
    }
}

void tst_DatiLettera::importoInValuta_data()
{
    QTest::addColumn<QString>("decimale");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("grouped, two decimals")
        << QStringLiteral("1234.5") << QStringLiteral("1.234,50") + nbsp + QStringLiteral("€");
    QTest::newRow("whole amount") << QStringLiteral("12")
                                  << QStringLiteral("12,00") + nbsp + QStringLiteral("€");
    QTest::newRow("negative") << QStringLiteral("-3.05")
                              << QStringLiteral("-3,05") + nbsp + QStringLiteral("€");
    QTest::newRow("exact beyond a double")
        << QStringLiteral("123456789012345.67")
        << QStringLiteral("123.456.789.012.345,67") + nbsp + QStringLiteral("€");
}

void tst_DatiLettera::importoInValuta()
{
    QFETCH(QString, decimale);
    QFETCH(QString, atteso);
    QCOMPARE(ImportoAssegno::inValuta(decimale), atteso);
}

void tst_DatiLettera::componi_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QStringList>("righe"); // entries 2 to 5

    const QStringList assegniIncassati{
        QStringLiteral(
            "In allegato vi trasmettiamo i sottoelencati assegni incassati per Vs. conto."),
        QStringLiteral("L'occasione è gradita per porgerVi cordiali saluti."), QString(),
        QString()};
    const QString riga2 = QStringLiteral("In allegato vi trasmettiamo assegno/bonifico nr. A-77/1 "
                                         "emesso a Vs. ordine,");
    const QString riga3 = QStringLiteral("tratto su: Banca dell'Adda per l'importo di 1.234,50") +
                          nbsp + QStringLiteral("€");
    const QString riga4 =
        QStringLiteral("relativo ai contrassegni incassati a fronte delle seguenti spedizioni:");

    QTest::newRow("0 empty type: collected cheques") << 0 << assegniIncassati;
    QTest::newRow("1 In Cassa: collected cheques") << 1 << assegniIncassati;
    QTest::newRow("2 Invio assegno mitt.: collected cheques") << 2 << assegniIncassati;
    QTest::newRow("3 Invio ns assegno: our cheque attached")
        << 3 << QStringList{riga2, riga3, riga4, QStringLiteral("Allegato n.1 assegno bancario")};
    QTest::newRow("4 Bonifico Bancario: no attachment")
        << 4 << QStringList{riga2, riga3, riga4, QString()};
}

void tst_DatiLettera::componi()
{
    QFETCH(int, tipo);
    QFETCH(QStringList, righe);

    Istruzioni::DatiAssegno assegno;
    assegno.riferimento = QStringLiteral("A-77/1");
    assegno.banca = QStringLiteral("Banca dell'Adda");
    assegno.importo = QStringLiteral("1234.5");
    const Istruzioni::ChiaveRimessa prima{QStringLiteral("03"), QStringLiteral("4711"),
                                          QStringLiteral("2025")};
    const QString query = QStringLiteral("SELECT * from PC01Rimessa;");

    const QStringList attesi =
        QStringList{QStringLiteral("1001"), query} + righe +
        QStringList{QStringLiteral("4711"), QStringLiteral("2025"), QStringLiteral("03")};
    const QStringList dati =
        DatiLettera::componi(QStringLiteral("1001"), query, tipo, assegno, prima);
    QCOMPARE(dati.size(), int(DatiLettera::NumeroDati));
    QCOMPARE(dati, attesi);
}

QTEST_GUILESS_MAIN(tst_DatiLettera)
#include "tst_datilettera.moc"
