#include "data/istruzioni_ricerca.h"

#include "support/errori.h"

#include <QTest>

#include <functional>

// The shipment lists of the search dialog and their pages, compared whole with the text the
// server receives (the doubled blanks and the one "Char" are part of the texts).
class tst_IstruzioniRicerca : public QObject
{
    Q_OBJECT

private slots:
    void testi_data();
    void testi();
    void valoriNonNumerici();
};

namespace {

QString chiaviPagina(const QStringList &colonne)
{
    QString testo;
    for (int i = 0; i < colonne.size(); ++i)
        testo += QStringLiteral(", %1 AS chiave_pagina_%2").arg(colonne.at(i)).arg(i);
    return testo;
}

} // namespace

void tst_IstruzioniRicerca::testi_data()
{
    QTest::addColumn<QString>("istruzione");
    QTest::addColumn<QString>("attesa");
    using namespace IstruzioniRicerca;
    const QString daLdv = " from letve00f left join giace00f on lefili=gifili and lenrlv=ginrlv "
                          "and leanlv=gianlv where lecodi=1001 and ";
    const QString rif = "select lenrlv, leflbc as Bord_Inv, lerife as Numero_Rif, lerifd as "
                        "Data_Rif, ledest as Destinatario, ledtlv as Data_Emissione, ginrgi as "
                        "Num_Giac, giangi as Anno_giac,lerico as Riconsegna ";
    const QString num = "select lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as Bord_Inv, "
                        "lerife as Numero_Rif, lerifd as Data_Rif, ledest as Destinatario,  "
                        "ginrgi as Num_Giac, giangi as Anno_giac, lerico as Riconsegna";
    const QString gia = "select ginrlv, ledtlv, Ginrgi as Giacenza, gidtgi as Data_Giac, gicodi "
                        "as cod_cliente, Lerife as Rif_Mitt, Lerifd as Data_Rif_Mitt,ledest as "
                        "Destinatario, GIDTBF as Buon_Fine FROM giace00f INNER join letve00f on "
                        "gifili=lefili and ginrlv=lenrlv and gianlv=leanlv where ";
    const QString con = "select lerife AS Nr_Rif,lerifd AS Data_Rif,ledest AS Destinatario,lecnss "
                        "AS Contrassegno,cast(concat_WS('.',leflic,leflsc)as char) AS Inc_contr,"
                        "leanpc AS Anticipata,cast(concat_WS('.',leflia,leflsa)as char) AS "
                        "Inc_Anticip,leimpa as Porto_Ass, cast(concat_WS('.',leflip,leflsp)as "
                        "char) as Inc_PortoAss,lenrlv AS Nr_LDV,ledtlv AS Data_LDV";
    const QString conChar = QString(con).replace("leflsc)as char", "leflsc)as Char");
    const QString daCon = " from vdaticontrassegni where lecodi=1001 and ";
    const QString ordine1 = " ORDER BY lerife, ledtlv", ordine7 = " ORDER BY CAST(lenrlv as "
                                                                  "unsigned), leanlv";
    const QString ordine12 = " ORDER BY Data_Rif desc, Nr_Rif desc";
    const QString ordine12v = " ORDER BY lerifd desc, lerife desc";
    const QString chiavi12 = chiaviPagina({"lerifd", "lerife", "lenrlv", "leanlv"});
    const QString d = "'2026-11-30'";
    const QVariantList dopo{QDate(2026, 11, 30), "'", "1", 6};
    // clang-format off
    QTest::newRow("mode 1, a year that is none") << riferimentiDa("1001", "R", "1.5", "01").testo()
        << rif + daLdv + "LERIFE>='R' and lefili='01'" + ordine1 + ";";
    QTest::newRow("mode 1, blanks, quotes") << riferimentiDa(" 1001 ", "R'\\", " 15", "0'").testo()
        << rif + daLdv + "LERIFE>='R\\'\\\\' and year(LERIFD)=15 and lefili='0\\''" + ordine1 + ";";
    QTest::newRow("mode 1, Visualizza") << riferimentiDaValore("1001", "R-2", "03").testo()
        << QString(rif).replace(",lerico", ", lerico") + daLdv + "lerife >='R-2' and lefili='03'"
           + ordine1 + ";";
    QTest::newRow("mode 7, a year") << numeriDa("1001", "01", "9", "2016").testo()
        << num + daLdv + "lefili='01' and LENRLV>='9' and LEANLV=2016" + ordine7 + ";";
    QTest::newRow("mode 7, Visualizza") << numeriDaValore("1001", "9", "2016", "01").testo()
        << num + daLdv + "cast(lenrlv as unsigned) >=9 and leanlv>='2016' and lefili='01'" + ordine7
           + ";";
    QTest::newRow("mode 7, Visualizza, no year") << numeriDaValore("1001", "9", "", "01").testo()
        << num + daLdv + "cast(lenrlv as unsigned) >=9 and lefili='01'" + ordine7 + ";";
    QTest::newRow("mode 10") << spedizioniGiacenza("4'5", "2015").testo()
        << "SELECT lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as Bord_Inv, lerife as "
           "Numero_Rif, lerifd as Data_Rif, ledest as Destinatario, lerico as Riconsegna from "
           "(letve00f inner JOIN giace00f on lefili=gifili and lerfgi=ginrgi and leangi=giangi) "
           "where ginrgi='4\\'5' and giangi=2015;";
    QTest::newRow("mode 11") << giacenzeAnno("1001", 2026).testo()
        << gia + "giangi=2026 and letve00f.lecodi='1001';";
    QTest::newRow("mode 11, from a date") << giacenzeDal("1001", QDate(2025, 3, 4)).testo()
        << gia + "letve00f.Lecodi='1001' and gidtgi>='2025-03-04';";
    QTest::newRow("mode 12") << contrassegni("1001", "01", "").testo()
        << conChar + daCon + "lefili='01'" + ordine12 + ";";
    QTest::newRow("mode 12, escapes") << contrassegni("1001", "01", "D'A\\B%").testo()
        << con + daCon + "lefili='01' and Lerife like('%D\\'A\\\\\\\\B%%')" + ordine12 + ";";
    QTest::newRow("mode 12, Visualizza") << contrassegniValore("1001", "7/", "01").testo()
        << con + daCon + "lerife like('%7/%') and lefili='01'" + ordine12v + ";";
    QTest::newRow("mode 12, Visualizza, no value") << contrassegniValore("1001", "", "01").testo()
        << con + daCon + "lefili='01'" + ordine12v + ";";
    // Pages: the order's columns too, the rows after the last one read (NULL first ascending,
    // last descending), the waybill's key added to the order; no LIMIT for the rest.
    QTest::newRow("mode 7, first page") << pagina(numeriDa("1001", "01", "9", ""), {}, 256)
        << num + chiaviPagina({"CAST(lenrlv as unsigned)", "leanlv", "lenrlv"}) + daLdv +
           "lefili='01' and LENRLV>='9'" + ordine7 + ", lenrlv LIMIT 256;";
    QTest::newRow("mode 12, the rest") << pagina(contrassegni("1001", "01", ""), dopo, 0)
        << conChar + chiavi12 + daCon + "lefili='01' and (((lerifd < " + d + " OR lerifd IS NULL))"
           " OR (lerifd <=> " + d + " AND (lerife < '\\'' OR lerife IS NULL)) OR (lerifd <=> " + d +
           " AND lerife <=> '\\'' AND (lenrlv < '1' OR lenrlv IS NULL)) OR (lerifd <=> " + d +
           " AND lerife <=> '\\'' AND lenrlv <=> '1' AND (leanlv < 6 OR leanlv IS NULL)))" +
           ordine12 + ", lenrlv desc, leanlv desc;";
    QTest::newRow("mode 12, after a row with NULLs: its ties")
        << pagina(contrassegni("1001", "01", ""), {QVariant(), QVariant(), "7", 5}, 9)
        << conChar + chiavi12 + daCon + "lefili='01' and ((lerifd <=> NULL AND lerife <=> NULL AND "
           "(lenrlv < '7' OR lenrlv IS NULL)) OR (lerifd <=> NULL AND lerife <=> NULL AND lenrlv "
           "<=> '7' AND (leanlv < 5 OR leanlv IS NULL)))" + ordine12 + ", lenrlv desc, leanlv desc "
           "LIMIT 9;";
    QTest::newRow("mode 1, after a row without a date")
        << pagina(riferimentiDa("1001", "R", "", "01"), {"R9", QVariant(), "5", 4}, 9)
        << rif + chiaviPagina({"lerife", "ledtlv", "lenrlv", "leanlv"}) + daLdv + "LERIFE>='R' and "
           "lefili='01' and ((lerife > 'R9') OR (lerife <=> 'R9' AND ledtlv IS NOT NULL) OR "
           "(lerife <=> 'R9' AND ledtlv <=> NULL AND lenrlv > '5') OR (lerife <=> 'R9' AND "
           "ledtlv <=> NULL AND lenrlv <=> '5' AND leanlv > 4))" + ordine1 + ", lenrlv, leanlv "
           "LIMIT 9;";
    QTest::newRow("no page without an order") << pagina(giacenzeAnno("1", 2026), {}, 9) << "";
    QTest::newRow("no page after a row missing a value")
        << pagina(contrassegni("1", "01", ""), {1}, 9) << "";
    // clang-format on
}

void tst_IstruzioniRicerca::testi()
{
    QFETCH(QString, istruzione);
    QTEST(istruzione, "attesa");
}

// A code or a year that is no number builds no list.
void tst_IstruzioniRicerca::valoriNonNumerici()
{
    using namespace IstruzioniRicerca;
    const std::function<ListaRicerca()> liste[] = {
        [] { return riferimentiDa("10a", "R", "", "01"); },
        [] { return contrassegni("", "01", ""); }, [] { return giacenzeAnno("1 or 1=1", 2015); },
        [] { return numeriDaValore("1", "9 or 1", "", "01"); },
        [] { return spedizioniGiacenza("1", "2015;"); }};
    for (const auto &lista : liste)
        QCOMPARE(numeroErrore([&] { lista(); }), 13);
}

QTEST_GUILESS_MAIN(tst_IstruzioniRicerca)
#include "tst_istruzioni_ricerca.moc"
