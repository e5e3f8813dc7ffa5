#include "search/formatigriglia.h"

#include <QDate>
#include <QTest>

#include <memory>

// What the shipment grid shows for a cell, through the grid's own formatters. They are given a
// locale that is not the operator's: amounts follow the operator's all the same.
class tst_FormatiGriglia : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void formati_data();
    void formati();
};

void tst_FormatiGriglia::formati_data()
{
    QTest::addColumn<QString>("formato");
    QTest::addColumn<QVariant>("valore");
    QTest::addColumn<QString>("atteso");
    // Cells as the grid gets them: flags, amounts and states as text, NULL as nothing.
    // clang-format off
    const char *const casi[][3] = {
        {"BorCons", "1", "*"}, {"BorCons", "-3", "*"}, {"BorCons", "0", ""},
        {"BorCons", nullptr, ""}, {"Contr", nullptr, ""}, {"Contr", "0.00", ""}, {"Contr", "0", ""},
        {"Assegnato", "1234.50", "1.234,50\u00A0€"}, {"Anticip", "n/d", "n/d"},
        {"TipoContr", "1.0", "Cassa"}, {"TipoAnt", "1.1", "Cassa-inviato"},
        {"TipoAss", "2.0", "Ass.Mitt."}, {"TipoContr", "3.1", "Ns.Ass.-inviato"},
        {"TipoContr", "4.0", "Bonifico"}, {"TipoContr", "4.2", "Bonifico-inviato"},
        {"TipoContr", "0.1", ""}, {"TipoContr", "5.0", ""}, {"TipoContr", "1", ""},
        {"TipoContr", "x.0", ""}, {"Testo", " 12 ", " 12 "}, {"Testo", nullptr, ""}};
    // clang-format on
    for (const auto &caso : casi) {
        QTest::addRow("%s %s", caso[0], caso[1] ? caso[1] : "NULL")
            << caso[0] << (caso[1] ? QVariant(caso[1]) : QVariant()) << QString::fromUtf8(caso[2]);
    }
    QTest::newRow("Testo date") << "Testo" << QVariant(QDate(2015, 3, 4)) << "04/03/2015";
    QTest::newRow("Testo number") << "Testo" << QVariant(12345) << "12345";
}

void tst_FormatiGriglia::formati()
{
    QFETCH(QString, formato);
    QFETCH(QVariant, valore);
    QFETCH(QString, atteso);

    std::unique_ptr<FormatoColonna> colonna(
        formato == "BorCons"         ? FormatoColonna::BorCons(nullptr)
        : formato == "Testo"         ? FormatoColonna::Predefinito(nullptr)
        : formato.startsWith("Tipo") ? FormatoColonna::StatoIncasso(formato, nullptr)
                                     : FormatoColonna::Importo(formato, nullptr));
    QCOMPARE(colonna->displayText(valore, QLocale::c()), atteso);
}

QTEST_GUILESS_MAIN(tst_FormatiGriglia)
#include "tst_formatigriglia.moc"
