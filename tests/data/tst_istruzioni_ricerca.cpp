#include "data/erroredb.h"
#include "data/istruzioni_ricerca.h"

#include <QTest>

#include <functional>

// The shipment lists of the search dialog, compared whole with the text the database receives;
// the doubled blanks and the one "Char" are part of the texts.
class tst_IstruzioniRicerca : public QObject
{
    Q_OBJECT

private slots:
    void testi_data();
    void testi();
    void valoriNonNumericiRifiutati_data();
    void valoriNonNumericiRifiutati();
    void anno_data();
    void anno();
    void pagine_data();
    void pagine();
    void restoSenzaLimite();
};

namespace {

using Costruttore = std::function<IstruzioniRicerca::ListaRicerca()>;

const QString riferimenti = QStringLiteral(
    "select lenrlv, leflbc as Bord_Inv, lerife as Numero_Rif, lerifd as Data_Rif, ledest as "
    "Destinatario, ledtlv as Data_Emissione, ginrgi as Num_Giac, giangi as Anno_giac,lerico as "
    "Riconsegna  from letve00f left join giace00f on lefili=gifili and lenrlv=ginrlv and "
    "leanlv=gianlv where lecodi=");
const QString riferimentiVisualizza = QStringLiteral(
    "select lenrlv, leflbc as Bord_Inv, lerife as Numero_Rif, lerifd as Data_Rif, ledest as "
    "Destinatario, ledtlv as Data_Emissione, ginrgi as Num_Giac, giangi as Anno_giac, lerico as "
    "Riconsegna  from letve00f left join giace00f on lefili=gifili and lenrlv=ginrlv and "
    "leanlv=gianlv where lecodi=");
const QString numeri = QStringLiteral(
    "select lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as Bord_Inv, lerife as "
    "Numero_Rif, lerifd as Data_Rif, ledest as Destinatario,  ginrgi as Num_Giac, giangi as "
    "Anno_giac, lerico as Riconsegna from letve00f left join giace00f on lefili=gifili and "
    "lenrlv=ginrlv and leanlv=gianlv where lecodi=");
const QString giacenze = QStringLiteral(
    "select ginrlv, ledtlv, Ginrgi as Giacenza, gidtgi as Data_Giac, gicodi as cod_cliente, "
    "Lerife as Rif_Mitt, Lerifd as Data_Rif_Mitt,ledest as Destinatario, GIDTBF as Buon_Fine FROM "
    "giace00f INNER join letve00f on gifili=lefili and ginrlv=lenrlv and gianlv=leanlv where ");
const QString selezioneContrassegniChar = QStringLiteral(
    "select lerife AS Nr_Rif,lerifd AS Data_Rif,ledest AS Destinatario,lecnss AS Contrassegno,"
    "cast(concat_WS('.',leflic,leflsc)as Char) AS Inc_contr,leanpc AS Anticipata,"
    "cast(concat_WS('.',leflia,leflsa)as char) AS Inc_Anticip,leimpa as Porto_Ass, "
    "cast(concat_WS('.',leflip,leflsp)as char) as Inc_PortoAss,lenrlv AS Nr_LDV,ledtlv AS "
    "Data_LDV from vdaticontrassegni where lecodi=");
const QString selezioneContrassegni = QStringLiteral(
    "select lerife AS Nr_Rif,lerifd AS Data_Rif,ledest AS Destinatario,lecnss AS Contrassegno,"
    "cast(concat_WS('.',leflic,leflsc)as char) AS Inc_contr,leanpc AS Anticipata,"
    "cast(concat_WS('.',leflia,leflsa)as char) AS Inc_Anticip,leimpa as Porto_Ass, "
    "cast(concat_WS('.',leflip,leflsp)as char) as Inc_PortoAss,lenrlv AS Nr_LDV,ledtlv AS "
    "Data_LDV from vdaticontrassegni where lecodi=");

} // namespace

Q_DECLARE_METATYPE(Costruttore)
Q_DECLARE_METATYPE(IstruzioniRicerca::ListaRicerca)

void tst_IstruzioniRicerca::testi_data()
{
    QTest::addColumn<Costruttore>("costruttore");
    QTest::addColumn<QString>("atteso");

    using namespace IstruzioniRicerca;
    auto riga = [](const char *nome, Costruttore c, const QString &atteso) {
        QTest::newRow(nome) << c << atteso;
    };

    // Mode 1, waybills from a reference on.
    riga(
        "mode 1 without a year", [] { return riferimentiDa("1001", "R-100", "", "01"); },
        riferimenti + "1001 and LERIFE>='R-100' and lefili='01' ORDER BY lerife, ledtlv;");
    riga(
        "mode 1 with a year that is no number leaves the year out",
        [] { return riferimentiDa("1001", "R-100", "20a5", "01"); },
        riferimenti + "1001 and LERIFE>='R-100' and lefili='01' ORDER BY lerife, ledtlv;");
    riga(
        "mode 1 with a year adds year(LERIFD)",
        [] { return riferimentiDa("1001", "R-100", "2015", "01"); },
        riferimenti + "1001 and LERIFE>='R-100' and year(LERIFD)=2015 and lefili='01' ORDER BY "
                      "lerife, ledtlv;");
    riga(
        "mode 1 drops blanks around the customer code and the year",
        [] { return riferimentiDa(" 1001 ", "R-100", " 2015", "01"); },
        riferimenti + "1001 and LERIFE>='R-100' and year(LERIFD)=2015 and lefili='01' ORDER BY "
                      "lerife, ledtlv;");
    riga(
        "mode 1 reference with a quote and a backslash stays inside its literal",
        [] { return riferimentiDa("1001", "x' or '1'='1\\", "", "0'1"); },
        riferimenti + "1001 and LERIFE>='x\\' or \\'1\\'=\\'1\\\\' and lefili='0\\'1' ORDER BY "
                      "lerife, ledtlv;");
    riga(
        "mode 1 Visualizza", [] { return riferimentiDaValore("1001", "R-2", "03"); },
        riferimentiVisualizza + "1001 and lerife >='R-2' and lefili='03' ORDER BY lerife, ledtlv;");

    // Mode 7, waybills from a number on.
    riga(
        "mode 7 without a year compares the number as text",
        [] { return numeriDa("1001", "01", "9", ""); },
        numeri + "1001 and lefili='01' and LENRLV>='9' ORDER BY CAST(lenrlv as unsigned), "
                 "leanlv;");
    riga(
        "mode 7 with a year", [] { return numeriDa("1001", "01", "9", "2016"); },
        numeri + "1001 and lefili='01' and LENRLV>='9' and LEANLV=2016 ORDER BY CAST(lenrlv as "
                 "unsigned), leanlv;");
    riga(
        "mode 7 Visualizza with a year compares the number as a number",
        [] { return numeriDaValore("1001", "9", "2016", "01"); },
        numeri + "1001 and cast(lenrlv as unsigned) >=9 and leanlv>='2016' and lefili='01' ORDER "
                 "BY CAST(lenrlv as unsigned), leanlv;");
    riga(
        "mode 7 Visualizza without a year", [] { return numeriDaValore("1001", "9", "", "01"); },
        numeri + "1001 and cast(lenrlv as unsigned) >=9 and lefili='01' ORDER BY CAST(lenrlv as "
                 "unsigned), leanlv;");

    // Mode 10, one held-shipment record.
    riga(
        "mode 10", [] { return spedizioniGiacenza("45", "2015"); },
        "SELECT lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as Bord_Inv, lerife as "
        "Numero_Rif, lerifd as Data_Rif, ledest as Destinatario, lerico as Riconsegna from "
        "(letve00f inner JOIN giace00f on lefili=gifili and lerfgi=ginrgi and "
        "leangi=giangi) where ginrgi='45' and giangi=2015;");

    // Mode 11, held shipments.
    riga(
        "mode 11 of a year", [] { return giacenzeAnno("1001", 2026); },
        giacenze + "giangi=2026 and letve00f.lecodi='1001';");
    riga(
        "mode 11 Visualizza from a date", [] { return giacenzeDal("1001", QDate(2025, 3, 4)); },
        giacenze + "letve00f.Lecodi='1001' and gidtgi>='2025-03-04';");

    // Mode 12, cash-on-delivery rows.
    riga(
        "mode 12 without a reference keeps \"as Char\"",
        [] { return contrassegni("1001", "01", ""); },
        selezioneContrassegniChar + "1001 and lefili='01' ORDER BY Data_Rif desc, Nr_Rif desc;");
    riga(
        "mode 12 with a reference", [] { return contrassegni("1001", "01", "R-1"); },
        selezioneContrassegni +
            "1001 and lefili='01' and Lerife like('%R-1%') ORDER BY Data_Rif desc, Nr_Rif "
            "desc;");
    riga(
        "mode 12 reference with a quote and a backslash",
        [] { return contrassegni("1001", "01", "D'A\\B"); },
        selezioneContrassegni +
            "1001 and lefili='01' and Lerife like('%D\\'A\\\\\\\\B%') ORDER BY Data_Rif "
            "desc, Nr_Rif desc;");
    riga(
        "mode 12 Visualizza without a value", [] { return contrassegniValore("1001", "", "01"); },
        selezioneContrassegni + "1001 and lefili='01' ORDER BY lerifd desc, lerife desc;");
    riga(
        "mode 12 Visualizza with a value", [] { return contrassegniValore("1001", "7/", "01"); },
        selezioneContrassegni +
            "1001 and lerife like('%7/%') and lefili='01' ORDER BY lerifd desc, lerife "
            "desc;");
}

void tst_IstruzioniRicerca::testi()
{
    QFETCH(Costruttore, costruttore);
    QFETCH(QString, atteso);
    QCOMPARE(costruttore().testo(), atteso);
}

void tst_IstruzioniRicerca::valoriNonNumericiRifiutati_data()
{
    QTest::addColumn<Costruttore>("costruttore");

    using namespace IstruzioniRicerca;
    QTest::newRow("customer code with letters")
        << Costruttore([] { return riferimentiDa("10a", "R", "", "01"); });
    QTest::newRow("empty customer code") << Costruttore([] { return contrassegni("", "01", ""); });
    QTest::newRow("customer code of the held list, though quoted")
        << Costruttore([] { return giacenzeAnno("1 or 1=1", 2015); });
    QTest::newRow("waybill number typed for Visualizza")
        << Costruttore([] { return numeriDaValore("1001", "9 or 1", "", "01"); });
    QTest::newRow("year of the held-shipment record")
        << Costruttore([] { return spedizioniGiacenza("1", "2015;"); });
}

void tst_IstruzioniRicerca::valoriNonNumericiRifiutati()
{
    QFETCH(Costruttore, costruttore);
    try {
        const QString testo = costruttore().testo();
        QFAIL(qPrintable(QStringLiteral("statement built: ") + testo));
    } catch (const ErroreDb &errore) {
        QCOMPARE(errore.numero(), int(ErroreDb::TipoNonCorrispondente));
    }
}

void tst_IstruzioniRicerca::anno_data()
{
    QTest::addColumn<QString>("anno");
    QTest::addColumn<bool>("atteso");
    QTest::newRow("four digits") << "2015" << true;
    QTest::newRow("blanks around") << " 2015 " << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "anno" << false;
    QTest::newRow("a decimal is no year") << "2015.5" << false;
}

void tst_IstruzioniRicerca::anno()
{
    QFETCH(QString, anno);
    QFETCH(bool, atteso);
    QCOMPARE(IstruzioniRicerca::eAnno(anno), atteso);
}

// A page of a list: the order's columns selected after the list's own, the rows after the last
// one read (NULL first ascending, last descending), the waybill's key added to the order.
void tst_IstruzioniRicerca::pagine_data()
{
    using IstruzioniRicerca::ListaRicerca;
    QTest::addColumn<ListaRicerca>("lista");
    QTest::addColumn<QVariantList>("dopo");
    QTest::addColumn<QString>("atteso");

    using namespace IstruzioniRicerca;
    const QString chiavi12 = QStringLiteral(
        ", lerifd AS chiave_pagina_0, lerife AS chiave_pagina_1, lenrlv AS chiave_pagina_2, "
        "leanlv AS chiave_pagina_3 from vdaticontrassegni where lecodi=");
    const QString dove12 = QStringLiteral("1001 and lefili='01'");
    const QString ordine12 =
        QStringLiteral(" ORDER BY Data_Rif desc, Nr_Rif desc, lenrlv desc, leanlv desc LIMIT 256;");
    const auto conChiavi = [](QString selezione, const QString &chiavi) {
        return selezione.replace(QStringLiteral(" from vdaticontrassegni where lecodi="), chiavi);
    };

    QTest::newRow("mode 12, the first page")
        << contrassegni("1001", "01", "") << QVariantList()
        << conChiavi(selezioneContrassegniChar, chiavi12) + dove12 + ordine12;
    QTest::newRow("mode 12, after a row; a quote in the reference")
        << contrassegni("1001", "01", "")
        << QVariantList{QDate(2026, 11, 30), QStringLiteral("R'1"), QStringLiteral("123"), 2026}
        << conChiavi(selezioneContrassegniChar, chiavi12) + dove12 +
               " and (((lerifd < '2026-11-30' OR lerifd IS NULL)) OR "
               "(lerifd <=> '2026-11-30' AND (lerife < 'R\\'1' OR lerife IS NULL)) OR "
               "(lerifd <=> '2026-11-30' AND lerife <=> 'R\\'1' AND "
               "(lenrlv < '123' OR lenrlv IS NULL)) OR "
               "(lerifd <=> '2026-11-30' AND lerife <=> 'R\\'1' AND lenrlv <=> '123' AND "
               "(leanlv < 2026 OR leanlv IS NULL)))" +
               ordine12;
    QTest::newRow("mode 12, after a row without date or reference: only its ties come later")
        << contrassegni("1001", "01", "")
        << QVariantList{QVariant(QMetaType(QMetaType::QDate)), QVariant(), QStringLiteral("7"),
                        2025}
        << conChiavi(selezioneContrassegniChar, chiavi12) + dove12 +
               " and ((lerifd <=> NULL AND lerife <=> NULL AND "
               "(lenrlv < '7' OR lenrlv IS NULL)) OR "
               "(lerifd <=> NULL AND lerife <=> NULL AND lenrlv <=> '7' AND "
               "(leanlv < 2025 OR leanlv IS NULL)))" +
               ordine12;
    QTest::newRow("mode 12, \" ORDER BY \" typed into the reference is no order")
        << contrassegniValore("1001", " ORDER BY x", "01") << QVariantList()
        << conChiavi(selezioneContrassegni, chiavi12) +
               "1001 and lerife like('% ORDER BY x%') and lefili='01' ORDER BY lerifd desc, "
               "lerife desc, lenrlv desc, leanlv desc LIMIT 256;";
    QTest::newRow("mode 1, after a row without a waybill date")
        << riferimentiDa("1001", "R", "", "01")
        << QVariantList{QStringLiteral("R-9"), QVariant(QMetaType(QMetaType::QDate)),
                        QStringLiteral("5"), 2024}
        << QString(riferimenti)
                   .replace(QStringLiteral(" from letve00f"),
                            QStringLiteral(", lerife AS chiave_pagina_0, ledtlv AS "
                                           "chiave_pagina_1, lenrlv AS chiave_pagina_2, leanlv "
                                           "AS chiave_pagina_3 from letve00f")) +
               "1001 and LERIFE>='R' and lefili='01' and ((lerife > 'R-9') OR "
               "(lerife <=> 'R-9' AND ledtlv IS NOT NULL) OR "
               "(lerife <=> 'R-9' AND ledtlv <=> NULL AND lenrlv > '5') OR "
               "(lerife <=> 'R-9' AND ledtlv <=> NULL AND lenrlv <=> '5' AND leanlv > 2024)) "
               "ORDER BY lerife, ledtlv, lenrlv, leanlv LIMIT 256;";
    QTest::newRow("mode 7, ordered by the number as a number")
        << numeriDa("1001", "01", "9", "")
        << QVariantList{QVariant(qulonglong(9)), 2015, QStringLiteral("09")}
        << QString(numeri).replace(
               QStringLiteral(" from letve00f"),
               QStringLiteral(", CAST(lenrlv as unsigned) AS chiave_pagina_0, leanlv AS "
                              "chiave_pagina_1, lenrlv AS chiave_pagina_2 from letve00f")) +
               "1001 and lefili='01' and LENRLV>='9' and ((CAST(lenrlv as unsigned) > 9) OR "
               "(CAST(lenrlv as unsigned) <=> 9 AND leanlv > 2015) OR "
               "(CAST(lenrlv as unsigned) <=> 9 AND leanlv <=> 2015 AND lenrlv > '09')) "
               "ORDER BY CAST(lenrlv as unsigned), leanlv, lenrlv LIMIT 256;";

    // No page: the list is read whole.
    QTest::newRow("mode 11 has no order")
        << giacenzeAnno("1001", 2026) << QVariantList() << QString();
    QTest::newRow("a last row with a value missing")
        << contrassegni("1001", "01", "") << QVariantList{QDate(2026, 1, 1)} << QString();
}

void tst_IstruzioniRicerca::pagine()
{
    QFETCH(IstruzioniRicerca::ListaRicerca, lista);
    QFETCH(QVariantList, dopo);
    QFETCH(QString, atteso);
    QCOMPARE(IstruzioniRicerca::pagina(lista, dopo, 256), atteso);
}

// The rest of a list is the same page without its LIMIT.
void tst_IstruzioniRicerca::restoSenzaLimite()
{
    using namespace IstruzioniRicerca;
    const ListaRicerca lista = contrassegni("1001", "01", "");
    const QVariantList dopo{QDate(2026, 11, 30), QStringLiteral("R-1"), QStringLiteral("1"), 2026};
    QString pagina256 = pagina(lista, dopo, 256);
    QVERIFY(pagina256.endsWith(QLatin1String(" LIMIT 256;")));
    QCOMPARE(pagina(lista, dopo, 0), pagina256.remove(QStringLiteral(" LIMIT 256")));
}

QTEST_GUILESS_MAIN(tst_IstruzioniRicerca)
#include "tst_istruzioni_ricerca.moc"
