#include "remittance/datilettera.h"

#include <QTest>

// The letter's nine entries.
class tst_DatiLettera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
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
    assegno.importo = Importo::daCentesimi(123450);
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
