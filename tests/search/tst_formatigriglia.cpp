#include "search/formatigriglia.h"

#include <QDate>
#include <QTest>

// What the shipment grid shows for a value, per formatter.
class tst_FormatiGriglia : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void bordero_data();
    void bordero();
    void importo_data();
    void importo();
    void statoIncasso_data();
    void statoIncasso();
    void testo_data();
    void testo();
};

void tst_FormatiGriglia::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void tst_FormatiGriglia::bordero_data()
{
    QTest::addColumn<QVariant>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("1 is marked") << QVariant(1) << "*";
    QTest::newRow("any non-zero is marked") << QVariant(-3) << "*";
    QTest::newRow("0 shows nothing") << QVariant(0) << "";
    QTest::newRow("NULL shows nothing") << QVariant(QMetaType::fromType<int>()) << "";
    QTest::newRow("a text flag \"0\" shows nothing") << QVariant(QStringLiteral("0")) << "";
}

void tst_FormatiGriglia::bordero()
{
    QFETCH(QVariant, valore);
    QFETCH(QString, atteso);
    QCOMPARE(FormatiGriglia::bordero(valore), atteso);
}

// The amount's own texts are tst_importo's; here what the grid makes of a cell.
void tst_FormatiGriglia::importo_data()
{
    QTest::addColumn<QVariant>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("NULL shows nothing") << QVariant(QMetaType::fromType<QString>()) << "";
    QTest::newRow("zero shows nothing") << QVariant(QStringLiteral("0.00")) << "";
    QTest::newRow("an amount in the operator's currency")
        << QVariant(QStringLiteral("1234.50")) << QStringLiteral("1.234,50\u00A0€");
    QTest::newRow("a text that is no amount is shown as it is")
        << QVariant(QStringLiteral("n/d")) << "n/d";
}

void tst_FormatiGriglia::importo()
{
    QFETCH(QVariant, valore);
    QFETCH(QString, atteso);
    QCOMPARE(FormatiGriglia::importo(valore, QLocale()), atteso);
}

void tst_FormatiGriglia::statoIncasso_data()
{
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("code 1 not sent") << "1.0"
                                     << "Cassa";
    QTest::newRow("code 1 sent") << "1.1"
                                 << "Cassa-inviato";
    QTest::newRow("code 2 not sent") << "2.0"
                                     << "Ass.Mitt.";
    QTest::newRow("code 2 sent") << "2.1"
                                 << "Ass.Mitt.-inviato";
    QTest::newRow("code 3 not sent") << "3.0"
                                     << "Ns.Ass.";
    QTest::newRow("code 3 sent") << "3.1"
                                 << "Ns.Ass.-inviato";
    QTest::newRow("code 4 not sent") << "4.0"
                                     << "Bonifico";
    QTest::newRow("code 4 sent") << "4.1"
                                 << "Bonifico-inviato";
    QTest::newRow("code 0 shows nothing, sent or not") << "0.1"
                                                       << "";
    QTest::newRow("code 5 shows nothing") << "5.0"
                                          << "";
    QTest::newRow("no point: the flag was NULL") << "1"
                                                 << "";
    QTest::newRow("empty first part") << ".1"
                                      << "";
    QTest::newRow("first part not a number") << "x.0"
                                             << "";
    QTest::newRow("empty value") << ""
                                 << "";
}

void tst_FormatiGriglia::statoIncasso()
{
    QFETCH(QString, valore);
    QFETCH(QString, atteso);
    QCOMPARE(FormatiGriglia::statoIncasso(valore), atteso);
}

void tst_FormatiGriglia::testo_data()
{
    QTest::addColumn<QVariant>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("date as day/month/year") << QVariant(QDate(2015, 3, 4)) << "04/03/2015";
    QTest::newRow("whole number without grouping") << QVariant(12345) << "12345";
    QTest::newRow("text with its blanks") << QVariant(QStringLiteral(" 12 ")) << " 12 ";
    QTest::newRow("NULL date is empty") << QVariant(QMetaType::fromType<QDate>()) << "";
}

void tst_FormatiGriglia::testo()
{
    QFETCH(QVariant, valore);
    QFETCH(QString, atteso);
    QCOMPARE(FormatiGriglia::testo(valore), atteso);
}

QTEST_GUILESS_MAIN(tst_FormatiGriglia)
#include "tst_formatigriglia.moc"
