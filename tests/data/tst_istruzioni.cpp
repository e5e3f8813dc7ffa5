#include "data/erroredb.h"
#include "data/istruzioni.h"

#include <QTest>

#include <functional>

// Every statement the component sends, compared whole with the text the database receives.
class tst_Istruzioni : public QObject
{
    Q_OBJECT

private slots:
    void testi_data();
    void testi();
    void salvataggio_data();
    void salvataggio();
    void valoriNonNumericiRifiutati_data();
    void valoriNonNumericiRifiutati();
};

namespace {

using Costruttore = std::function<QString()>;

const QString testaLdv = QStringLiteral(
    "SELECT letve00f.*, giace00f.*, forni.RagioneSociale as Vettore, filiali.Descrizione as filiale, "
    "codicizona.Descrizione as linea from (((letve00f LEFT JOIN giace00f on lefili=gifili and "
    "lenrlv=ginrlv and leanlv=gianlv) inner JOIN filiali ON lefili=filiali.codice) INNER JOIN "
    "codicizona on lelin1=codicizona.Codice) INNER join forni ON forni.Codice=lecdve WHERE ");

const QDate marzo4(2015, 3, 4);
const Istruzioni::ChiaveLdv chiave{QStringLiteral("12345"), QStringLiteral("01"), marzo4};
const Istruzioni::ChiaveRimessa ldvRimessa{QStringLiteral("01"), QStringLiteral("12345"),
                                          QStringLiteral("2015")};
const Istruzioni::DatiAssegno assegno{QStringLiteral("AB123"), QStringLiteral("Banca Popolare"),
                                      Importo::daCentesimi(15000)};
const Istruzioni::DatiAssegno assegnoConApostrofi{
    QStringLiteral("R'1"), QStringLiteral("Credito d'Italia"), Importo::daCentesimi(50)};

} // namespace

Q_DECLARE_METATYPE(Costruttore)

void tst_Istruzioni::testi_data()
{
    QTest::addColumn<Costruttore>("costruttore");
    QTest::addColumn<QString>("atteso");

    using namespace Istruzioni;
    auto riga = [](const char *nome, Costruttore c, const QString &atteso) {
        QTest::newRow(nome) << c << atteso;
    };

    riga("customer name", [] { return nomeCliente("123"); },
         "select RagioneSociale from clien where Codice=123;");
    riga("waybill by reference", [] { return ldvPerRiferimento("R-100/15", marzo4); },
         testaLdv + "lerife='R-100/15' and lerifd='2015-03-04';");
    riga("waybill by picked number", [] { return ldvPerNumero("12345", QDate(2015, 12, 31)); },
         testaLdv + "lenrlv='12345' and ledtlv='2015-12-31';");
    riga("preset waybill with branch", [] { return ldvPreimpostata("12345", marzo4, "02"); },
         testaLdv + "lenrlv='12345' and ledtlv='2015-03-04' and lefili='02';");
    riga("collection data of a picked waybill", [] { return vistaPerNumero("12345", marzo4); },
         "SELECT * from vdaticontrassegni WHERE lenrlv='12345' and ledtlv='2015-03-04';");
    riga("reference with a quote stays inside its literal",
         [] { return ldvPerRiferimento("D'Amico", marzo4); },
         testaLdv + "lerife='D\\'Amico' and lerifd='2015-03-04';");

    riga("remittance selection for one customer",
         [] { return selezioneRimessa(3, QDate(2015, 1, 1), QDate(2015, 1, 31), "123"); },
         "SELECT * from vdaticontrassegni where leflic='3' and leflsc=0 and (ledtin between "
         "'2015-01-01' and '2015-01-31') and lendvc =0 and lecodi=123;");
    riga("remittance selection of the empty type",
         [] { return selezioneRimessa(0, QDate(2015, 1, 1), QDate(2015, 1, 31), "7"); },
         "SELECT * from vdaticontrassegni where leflic='0' and leflsc=0 and (ledtin between "
         "'2015-01-01' and '2015-01-31') and lendvc =0 and lecodi=7;");
    riga("remittance selection with empty dates",
         [] { return selezioneRimessa(1, QDate(), QDate(), "7"); },
         "SELECT * from vdaticontrassegni where leflic='1' and leflsc=0 and (ledtin between '' "
         "and '') and lendvc =0 and lecodi=7;");
    riga("provisional letter query, no customer",
         [] { return selezioneRimessaProvvisoria(4, QDate(2015, 2, 1), QDate(2015, 2, 28)); },
         "SELECT * from vdaticontrassegni where leflic='4' and leflsc=0 and (ledtin between "
         "'2015-02-01' and '2015-02-28') and lendvc =0;");

    riga("last remittance number", [] { return leggiUltimoNumero(); },
         "select UltimoNumDistVersam from zolvimacon_tabge00f for update;");
    riga("new last remittance number", [] { return scriviUltimoNumero("42"); },
         "UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=42;");
    riga("waybill stamped with the remittance",
         [] { return timbraRimessa("letve00f", "42", marzo4, ldvRimessa); },
         "UPDATE letve00f SET LENDVC=42,LEDTVC='2015-03-04' WHERE LEFILI='01' AND "
         "LENRLV='12345' AND LEANLV=2015;");
    riga("work table stamped with the remittance",
         [] { return timbraRimessa("PCUFFICIO1Rimessa", "42", marzo4, ldvRimessa); },
         "UPDATE PCUFFICIO1Rimessa SET LENDVC=42,LEDTVC='2015-03-04' WHERE LEFILI='01' AND "
         "LENRLV='12345' AND LEANLV=2015;");
    riga("remittance record of a cheque",
         [] { return inserisciContrassegno("42", marzo4, assegno); },
         "insert into contrassegni set NrDistinta=42,DataDistinta='2015-03-04', "
         "Riferimento='AB123', Banca='Banca Popolare', Importo=150.00;");
    riga("work table stamped with the cheque",
         [] { return timbraAssegnoTabellaLavoro("PCRimessa", "42", marzo4, assegno, ldvRimessa); },
         "UPDATE PCRimessa SET NrDistinta=42,DataDistinta='2015-03-04', Riferimento='AB123', "
         "Banca='Banca Popolare', Importo=150.00 WHERE LEFILI='01' AND LENRLV='12345' AND "
         "LEANLV=2015;");
    riga("waybill marked sent", [] { return segnaInviato(ldvRimessa); },
         "UPDATE letve00f SET LEFLSC=1 WHERE LEFILI='01' AND LENRLV='12345' AND LEANLV=2015;");
    riga(
        "bank with a quote stays inside its literal",
        [] { return inserisciContrassegno("1", marzo4, assegnoConApostrofi); },
        "insert into contrassegni set NrDistinta=1,DataDistinta='2015-03-04', "
        "Riferimento='R\\'1', Banca='Credito d\\'Italia', Importo=0.50;");

    riga("cancellation resets the waybills", [] { return annullaRimessaLdv("42", marzo4); },
         "UPDATE letve00f SET LENDVC=0, LEDTVC=Null, LEFLSC=0 WHERE LENDVC=42 AND "
         "LEDTVC='2015-03-04';");
    riga("cancellation deletes the records", [] { return eliminaContrassegni("42", marzo4); },
         "Delete from contrassegni where NrDistinta=42 and DataDistinta='2015-03-04';");

    riga("work table read whole", [] { return tuttaLaTabella("PCRimessa"); },
         "SELECT * from PCRimessa;");
    riga("work table existence probe", [] { return leggiTabella("PCRimessa"); },
         "select * from PCRimessa;");
    riga("work table dropped", [] { return eliminaTabella("PCRimessa"); },
         "Drop table PCRimessa;");
    riga("row copied into a table",
         [] {
             return inserisciRiga("PCRimessa", {"lenrlv", "leanlv", "lecnss", "ledtin", "leban"},
                                  {QStringLiteral("12345"), 2015, QStringLiteral("12.50"),
                                   QDate(2015, 3, 4), QVariant()});
         },
         "insert into PCRimessa (lenrlv,leanlv,lecnss,ledtin,leban) values "
         "('12345',2015,'12.50','2015-03-04',NULL);");
    riga("rows copied by one insert, each value escaped, a missing one NULL",
         [] {
             return inserisciRighe("2PCRimessa", {"lenrlv", "leban", "ledtin"},
                                   {{QStringLiteral("1"), QStringLiteral("Banca d'Alba\\"),
                                     QDate(2015, 3, 4)},
                                    {QStringLiteral("2"), QVariant()},
                                    {QStringLiteral("3"), QStringLiteral("x"), QDate()}});
         },
         "insert into `2PCRimessa` (lenrlv,leban,ledtin) values "
         "('1','Banca d\\'Alba\\\\','2015-03-04'),('2',NULL,NULL),('3','x',NULL);");
    riga("waybills remitted meanwhile by another station", [] {
             return ldvRimesseNelFrattempo("PCRimessa");
         },
         "SELECT COUNT(*) FROM letve00f INNER JOIN PCRimessa ON letve00f.LEFILI=PCRimessa.LEFILI "
         "AND letve00f.LENRLV=PCRimessa.LENRLV AND letve00f.LEANLV=PCRimessa.LEANLV WHERE "
         "PCRimessa.LENDVC=0 AND (letve00f.LENDVC<>0 OR letve00f.LEFLSC<>0) FOR UPDATE;");
}

void tst_Istruzioni::testi()
{
    QFETCH(Costruttore, costruttore);
    QFETCH(QString, atteso);
    QCOMPARE(costruttore(), atteso);
}

// The sixteen one-column updates of the collection save, in the order the save runs them.
void tst_Istruzioni::salvataggio_data()
{
    QTest::addColumn<Costruttore>("costruttore");
    QTest::addColumn<QString>("atteso");

    using namespace Istruzioni;
    const QString k = QStringLiteral(" where lenrlv='12345' and lefili='01' and ledtlv='2015-03-04';");
    auto riga = [](const char *nome, Costruttore c, const QString &atteso) {
        QTest::newRow(nome) << c << atteso;
    };

    riga("1 lefinc", [] { return aggiornaTesto("lefinc", "02", chiave); },
         "update letve00f set lefinc='02'" + k);
    riga("2 leban", [] { return aggiornaTesto("leban", "Banca Intesa", chiave); },
         "update letve00f set leban='Banca Intesa'" + k);
    riga("3 letpin", [] { return aggiornaTesto("letpin", "2", chiave); },
         "update letve00f set letpin='2'" + k);
    riga("4 lenras", [] { return aggiornaTesto("lenras", "0012345678", chiave); },
         "update letve00f set lenras='0012345678'" + k);
    riga("5 lepiaz", [] { return aggiornaTesto("lepiaz", "Milano", chiave); },
         "update letve00f set lepiaz='Milano'" + k);
    riga("6 leimcs", [] { return aggiornaImporto("leimcs", "12.50", chiave); },
         "update letve00f set leimcs=12.50" + k);
    riga("7 leflic", [] { return aggiornaTesto("leflic", "1", chiave); },
         "update letve00f set leflic='1'" + k);
    riga("8 leflsc", [] { return aggiornaIntero("leflsc", "1", chiave); },
         "update letve00f set leflsc=1" + k);
    riga("9 leimap", [] { return aggiornaImporto("leimap", "0", chiave); },
         "update letve00f set leimap=0" + k);
    riga("10 leflia", [] { return aggiornaTesto("leflia", "4", chiave); },
         "update letve00f set leflia='4'" + k);
    riga("11 leflsa", [] { return aggiornaIntero("leflsa", "0", chiave); },
         "update letve00f set leflsa=0" + k);
    riga("12 leinpa", [] { return aggiornaImporto("leinpa", "-3.5", chiave); },
         "update letve00f set leinpa=-3.5" + k);
    riga("13 leflip", [] { return aggiornaTesto("leflip", "3", chiave); },
         "update letve00f set leflip='3'" + k);
    riga("14 leflsp", [] { return aggiornaIntero("leflsp", "1", chiave); },
         "update letve00f set leflsp=1" + k);
    riga("15 ledtin", [] { return aggiornaData("ledtin", QDate(2016, 2, 29), chiave); },
         "update letve00f set ledtin='2016-02-29'" + k);
    riga("16 leflco", [] { return aggiornaIntero("leflco", "0", chiave); },
         "update letve00f set leflco=0" + k);
    riga("amount typed with a comma only before the decimals (,5 -> .5)",
         [] { return aggiornaImporto("leimcs", ".5", chiave); },
         "update letve00f set leimcs=.5" + k);
    riga("amount typed with a trailing separator (5, -> 5.)",
         [] { return aggiornaImporto("leimcs", "5.", chiave); },
         "update letve00f set leimcs=5." + k);
    riga("key values with quotes stay inside their literals",
         [] { return aggiornaTesto("leban", "x", {"1' or '1'='1", "0\\", marzo4}); },
         "update letve00f set leban='x' where lenrlv='1\\' or \\'1\\'=\\'1' and lefili='0\\\\' "
         "and ledtlv='2015-03-04';");
}

void tst_Istruzioni::salvataggio()
{
    QFETCH(Costruttore, costruttore);
    QFETCH(QString, atteso);
    QCOMPARE(costruttore(), atteso);
}

// A value written bare that is not the number asked for never becomes a statement, and neither
// does a name that is not a plain identifier.
void tst_Istruzioni::valoriNonNumericiRifiutati_data()
{
    QTest::addColumn<Costruttore>("costruttore");

    using namespace Istruzioni;
    auto riga = [](const char *nome, Costruttore c) { QTest::newRow(nome) << c; };

    riga("empty customer code", [] { return selezioneRimessa(1, marzo4, marzo4, ""); });
    riga("customer code with a statement after it",
         [] { return nomeCliente("1; drop table clien"); });
    riga("customer code with a decimal separator", [] { return nomeCliente("1,5"); });
    riga("thousands separator turned into a second point (1.234,56)",
         [] { return aggiornaImporto("leimcs", "1.234.56", chiave); });
    riga("amount with a comma", [] { return aggiornaImporto("leimcs", "12,50", chiave); });
    riga("amount that is text", [] { return aggiornaImporto("leimcs", "dodici", chiave); });
    riga("flag that is text", [] { return aggiornaIntero("leflsc", "si", chiave); });
    riga("remittance number with letters", [] { return annullaRimessaLdv("4a", marzo4); });
    riga("remittance number empty", [] { return eliminaContrassegni("", marzo4); });
    riga("year that is text", [] { return segnaInviato({"01", "1", "2015 or 1=1"}); });
    riga("column name with a blank", [] { return aggiornaTesto("leban =1, leflsc", "x", chiave); });
    riga("work table name with a quote", [] { return eliminaTabella("PC'Rimessa"); });
    riga("column name with a bracket in a copied row",
         [] { return inserisciRighe("PCRimessa", {"lenrlv)"}, {{QStringLiteral("1")}}); });
    riga("work table name with a blank in the check",
         [] { return ldvRimesseNelFrattempo("PC Rimessa"); });
}

void tst_Istruzioni::valoriNonNumericiRifiutati()
{
    QFETCH(Costruttore, costruttore);
    try {
        const QString istruzione = costruttore();
        QFAIL(qPrintable(QStringLiteral("built: ") + istruzione));
    } catch (const ErroreDb &e) {
        QCOMPARE(e.numero(), int(ErroreDb::TipoNonCorrispondente));
    }
}

QTEST_GUILESS_MAIN(tst_Istruzioni)
#include "tst_istruzioni.moc"
