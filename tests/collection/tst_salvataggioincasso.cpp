#include "collection/salvataggioincasso.h"

#include "data/erroredb.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(DatiIncasso)

namespace {

const QString chiave =
    QStringLiteral(" where lenrlv='10001' and lefili='01' and ledtlv='2015-03-03';");

// An entry on waybill 10001 of 03/03/2015, branch 01, paid in cash, nothing collected yet.
DatiIncasso voce()
{
    DatiIncasso d;
    d.numeroLdv = QStringLiteral("10001");
    d.filiale = QStringLiteral("01");
    d.dataLdv = QStringLiteral("03/03/2015");
    d.filialeIncasso = QStringLiteral("01");
    d.testoIncassoCon = QStringLiteral("Contanti");
    d.incassoCon = 3;
    d.dataIncasso = QStringLiteral("05/03/2015");
    return d;
}

GruppoIncasso gruppo(const QString &importo, int codice, bool inviato = false)
{
    static const QStringList testi{"", "In Cassa", "Invio assegno mitt.", "Invio ns assegno",
                                   "Bonifico Bancario"};
    return GruppoIncasso{importo, testi.value(codice), codice, inviato};
}

QString testo(const char *colonna, const QString &valore)
{
    return QStringLiteral("update letve00f set %1='%2'").arg(QLatin1String(colonna), valore) +
           chiave;
}

QString nudo(const char *colonna, const QString &valore)
{
    return QStringLiteral("update letve00f set %1=%2").arg(QLatin1String(colonna), valore) + chiave;
}

} // namespace

// The statements of the save: which columns are written, in which order, with which values.
class TestSalvataggioIncasso : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }

    void istruzioni_data()
    {
        QTest::addColumn<DatiIncasso>("dati");
        QTest::addColumn<QStringList>("attese");

        DatiIncasso d = voce();
        d.contrassegno = gruppo(QStringLiteral("12,50"), 1);
        QTest::newRow("only the cash on delivery: the other groups' columns are left alone")
            << d << QStringList{testo("lefinc", "01"),   testo("letpin", "3"),
                                nudo("leimcs", "12.50"), testo("leflic", "1"),
                                nudo("leflsc", "0"),     testo("ledtin", "2015-03-05"),
                                nudo("leflco", "0")};

        d = voce();
        d.testoIncassoCon = QStringLiteral("Assegno Circolare");
        d.incassoCon = 2;
        d.banca = QStringLiteral("O'Brien \\ Banca");
        d.nrAssegno = QStringLiteral("0012345678");
        d.piazza = QStringLiteral("Reggio nell'Emilia");
        d.anticipata = gruppo(QStringLiteral("7,5"), 4, true);
        d.passaggioContabile = true;
        QTest::newRow("cheque details in their place, quote and backslash escaped")
            << d
            << QStringList{testo("lefinc", "01"),
                           testo("leban", "O\\'Brien \\\\ Banca"),
                           testo("letpin", "2"),
                           testo("lenras", "0012345678"),
                           testo("lepiaz", "Reggio nell\\'Emilia"),
                           nudo("leimap", "7.50"),
                           testo("leflia", "4"),
                           nudo("leflsa", "1"),
                           testo("ledtin", "2015-03-05"),
                           nudo("leflco", "1")};

        d = voce();
        d.filialeIncasso = QStringLiteral("1");
        d.contrassegno = gruppo(QStringLiteral("abc"), 0);
        d.anticipata = gruppo(QString(), 0);
        d.assegnato = gruppo(QStringLiteral("0"), 2, true);
        QTest::newRow("a one-letter branch and a non-number are skipped, a typed 0 is written")
            << d << QStringList{testo("letpin", "3"),          nudo("leinpa", "0.00"),
                                testo("leflip", "2"),          nudo("leflsp", "1"),
                                testo("ledtin", "2015-03-05"), nudo("leflco", "0")};

        d = voce();
        d.contrassegno = gruppo(QStringLiteral("-1,5"), 1);
        d.anticipata = gruppo(QStringLiteral("2"), 2);
        d.assegnato = gruppo(QStringLiteral("3,25"), 3);
        d.dataIncasso = QStringLiteral("__/__/____");
        QTest::newRow("three groups in order; an empty date mask writes no date")
            << d
            << QStringList{testo("lefinc", "01"), testo("letpin", "3"), nudo("leimcs", "-1.50"),
                           testo("leflic", "1"),  nudo("leflsc", "0"),  nudo("leimap", "2.00"),
                           testo("leflia", "2"),  nudo("leflsa", "0"),  nudo("leinpa", "3.25"),
                           testo("leflip", "3"),  nudo("leflsp", "0"),  nudo("leflco", "0")};
    }

    void istruzioni()
    {
        QFETCH(DatiIncasso, dati);
        QTEST(SalvataggioIncasso::istruzioni(dati), "attese");
    }

    void valoriRifiutati_data()
    {
        QTest::addColumn<DatiIncasso>("dati");
        QTest::addColumn<int>("numero");

        DatiIncasso d = voce();
        d.contrassegno = gruppo(QStringLiteral("5"), 1);
        d.dataIncasso = QStringLiteral("31/02/2015");
        QTest::newRow("a collection date that is no date") << d << 13;
        d = voce();
        d.dataLdv = QStringLiteral("3/3/15");
        QTest::newRow("a waybill date that is no date") << d << 13;
        d = voce();
        d.assegnato = gruppo(QStringLiteral("5"), 1);
        d.assegnato.codice = -1;
        QTest::newRow("an amount without a chosen code") << d << 381;
    }

    void valoriRifiutati()
    {
        QFETCH(DatiIncasso, dati);
        QFETCH(int, numero);
        try {
            const QStringList elenco = SalvataggioIncasso::istruzioni(dati);
            QFAIL(qPrintable(QStringLiteral("accepted: ") + elenco.join(QLatin1Char('\n'))));
        } catch (const ErroreDb &errore) {
            QCOMPARE(errore.numero(), numero);
        }
    }
};

QTEST_GUILESS_MAIN(TestSalvataggioIncasso)
#include "tst_salvataggioincasso.moc"
