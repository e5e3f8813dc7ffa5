// The database the component works on: db/schema.sql (defaults, the view of the
// cash-on-delivery waybills, the copy the remittance makes of it, the indexes the lookups use)
// and db/demo.sql (consistent, repeatable, and holding the facts other suites build on).
#include "support/databasediprova.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <memory>

class tst_Schema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void parametriUnaRiga();
    void serverRigoroso();
    void nomiTabelleSenzaMaiuscole();
    void predefinitiWaybill();
    void insertRimessaDelComponente();
    void vistaUnaRigaPerWaybill();
    void vistaECopia();

    void demoCollegamenti_data();
    void demoCollegamenti();
    void demoPartiteIva();
    void demoFatti_data();
    void demoFatti();
    void demoIndici_data();
    void demoIndici();
    void demoRipetibile();

private:
    std::unique_ptr<DatabaseDiProva> m_db;   // the schema alone, emptied before every test
    std::unique_ptr<DatabaseDiProva> m_demo; // schema and demo data, read only
};

namespace {

// Italian VAT number: eleven digits, the last one a check digit over the first ten.
bool partitaIvaValida(const QString &partitaIva)
{
    static const QRegularExpression undiciCifre(QStringLiteral("^[0-9]{11}$"));
    if (!undiciCifre.match(partitaIva).hasMatch())
        return false;
    int somma = 0;
    for (int i = 0; i < 10; ++i) {
        int cifra = partitaIva.at(i).digitValue();
        if (i % 2 == 1) {
            cifra *= 2;
            if (cifra > 9)
                cifra -= 9;
        }
        somma += cifra;
    }
    return (10 - somma % 10) % 10 == partitaIva.at(10).digitValue();
}

QString testo(const QVariant &valore)
{
    return valore.isNull() ? QStringLiteral("NULL") : valore.toString();
}

} // namespace

void tst_Schema::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    m_demo = std::make_unique<DatabaseDiProva>(QStringLiteral("tst_schema_demo"));
    QVERIFY(m_demo->pronto());
    QVERIFY(m_demo->caricaDemo());
    // Fresh statistics, so that the plans checked below are the ones a loaded database gets.
    QVERIFY(m_demo->esegui(QStringLiteral(
        "ANALYZE TABLE letve00f, giace00f, contrassegni, clien, forni, filiali, codicizona")));
}

void tst_Schema::init()
{
    QVERIFY(m_db->caricaTesto(
        QStringLiteral("DELETE FROM letve00f; DELETE FROM giace00f; DELETE FROM contrassegni;"
                       "DROP TABLE IF EXISTS copia_vista;")));
}

void tst_Schema::parametriUnaRiga()
{
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM zolvimacon_tabge00f")).toInt(), 1);
    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f")).toInt(),
        0);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM azienda")).toInt(), 1);
}

// The statements of the suite were written for lenient servers; the tests must meet the strict
// one that production runs: a value too long for its column is refused, not cut.
void tst_Schema::serverRigoroso()
{
    QVERIFY(m_db->valore(QStringLiteral("SELECT @@sql_mode"))
                .toString()
                .contains(QLatin1String("STRICT_TRANS_TABLES")));
    QSqlQuery query(m_db->db());
    QVERIFY(!query.exec(QStringLiteral("INSERT INTO letve00f (lenrlv, leanlv, lefinc) "
                                       "VALUES ('1', 2026, '123')")));
    QCOMPARE(query.lastError().nativeErrorCode(), QStringLiteral("1406"));
}

// The suite names the customer register "Clien" in one place and "clien" in another.
void tst_Schema::nomiTabelleSenzaMaiuscole()
{
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM Clien")).toInt(), 0);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM LETVE00F")).toInt(), 0);
}

// A test inserts a waybill naming only the columns it cares about; the rest takes values that
// mean "nothing happened yet".
void tst_Schema::predefinitiWaybill()
{
    const QStringList colonne{"lefili", "lecodi", "lecnss", "leimcs", "leflic", "leflsc",
                              "leflia", "leflip", "letpin", "lefinc", "ledtin", "leflco",
                              "lendvc", "ledtvc", "lendap", "lenrft", "lendiv", "lerfgi",
                              "leflbc"};
    const QStringList attesi{"01",   "0",    "0.00", "0.00", "0", "0", "0", "0", "NULL", "NULL",
                             "NULL", "0",    "0",    "NULL", "0", "0", "0", "0", "0"};
    ESEGUI_SQL(*m_db, QStringLiteral("INSERT INTO letve00f (lenrlv, leanlv, ledtlv) "
                                     "VALUES ('1', 2026, '2026-03-02')"));
    QStringList valori;
    for (const QVariant &valore :
         m_db->righe(QStringLiteral("SELECT %1 FROM letve00f").arg(colonne.join(u','))).value(0))
        valori << testo(valore);
    QCOMPARE(valori, attesi);
}

// The remittance posting writes exactly this; the row gets its own id.
void tst_Schema::insertRimessaDelComponente()
{
    ESEGUI_SQL(*m_db, QStringLiteral("insert into contrassegni set NrDistinta=42,"
                                     "DataDistinta='2026-03-02', Riferimento='Assegno n. 7', "
                                     "Banca='Banco BPM', Importo=1234.56;"));
    ESEGUI_SQL(*m_db, QStringLiteral("insert into contrassegni set NrDistinta=42,"
                                     "DataDistinta='2026-03-02', Riferimento='Assegno n. 7', "
                                     "Banca='Banco BPM', Importo=1234.56;"));
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(DISTINCT Id) FROM contrassegni")).toInt(),
             2);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT SUM(Importo) FROM contrassegni")).toString(),
             QStringLiteral("2469.12"));
}

// contrassegni holds one identical row per remitted waybill: the view still shows each
// cash-on-delivery waybill once, with its own remittance's data (number and date both count).
void tst_Schema::vistaUnaRigaPerWaybill()
{
    ESEGUI_SQL(*m_db,
               QStringLiteral(
                   "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lecodi, lecnss, leimcs, "
                   "leflic, leflsc, ledtin, lendvc, ledtvc) VALUES "
                   "('01', '101', 2026, '2026-03-02', 1001, 150.00, 150.00, '3', 1, "
                   "'2026-03-04', 7, '2026-04-06'),"
                   "('01', '102', 2026, '2026-03-02', 1001, 80.00, 80.00, '3', 1, '2026-03-05', "
                   "7, '2026-04-06'),"
                   "('01', '103', 2026, '2026-03-03', 1001, 0, 0, '0', 0, NULL, 0, NULL),"
                   "('02', '104', 2026, '2026-03-03', 1002, 60.00, 60.00, '1', 0, '2026-03-06', "
                   "0, NULL)"));
    ESEGUI_SQL(*m_db, QStringLiteral(
                          "INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, "
                          "Importo) VALUES "
                          "(7, '2026-04-06', 'Assegno n. 123', 'Banco BPM', 230.00),"
                          "(7, '2026-04-06', 'Assegno n. 123', 'Banco BPM', 230.00),"
                          "(7, '2025-04-07', 'CRO 99', 'UniCredit', 1.00)"));

    const QList<QVariantList> righe = m_db->righe(
        QStringLiteral("SELECT lenrlv, NrDistinta, DataDistinta, Riferimento, Banca, Importo "
                       "FROM vdaticontrassegni ORDER BY lenrlv"));
    QCOMPARE(righe.size(), 3);
    const QStringList attese = {
        QStringLiteral("101|7|2026-04-06|Assegno n. 123|Banco BPM|230.00"),
        QStringLiteral("102|7|2026-04-06|Assegno n. 123|Banco BPM|230.00"),
        QStringLiteral("104|NULL|NULL|NULL|NULL|NULL"),
    };
    for (int i = 0; i < righe.size(); ++i) {
        QStringList campi;
        for (const QVariant &campo : righe.at(i))
            campi.append(campo.typeId() == QMetaType::QDate && !campo.isNull()
                             ? campo.toDate().toString(Qt::ISODate)
                             : testo(campo));
        QCOMPARE(campi.join(u'|'), attese.at(i));
    }
}

// What the remittance, the shipment list and the collection window read from the view; the
// remittance makes a station's work table as a copy of the view's structure with the waybill
// key, and the copy must get real column types and that key.
void tst_Schema::vistaECopia()
{
    QSqlQuery query(m_db->db());
    QVERIFY_SQL(query, exec(QStringLiteral("SELECT * FROM vdaticontrassegni LIMIT 0")));
    for (const char *colonna :
         {"lenrlv",     "leanlv",       "lefili",      "ledtlv", "lerife", "lerifd", "ledest",
          "lecodi",     "lecnss",       "leanpc",      "leimpa", "leflic", "leflsc", "leflia",
          "leflsa",     "leflip",       "leflsp",      "ledtin", "lendvc", "lefinc", "letpin",
          "leban",      "lenras",       "lepiaz",      "leimcs", "leimap", "leinpa", "leflco",
          "ledtvc",     "lendap",       "ledtap",      "lenrft", "ledtft", "lendiv", "ledtiv",
          "NrDistinta", "DataDistinta", "Riferimento", "Banca",  "Importo"})
        QVERIFY2(query.record().indexOf(QLatin1String(colonna)) >= 0, colonna);

    ESEGUI_SQL(*m_db, QStringLiteral("CREATE TABLE copia_vista (PRIMARY KEY (lefili, lenrlv, "
                                     "leanlv)) SELECT * FROM vdaticontrassegni LIMIT 0"));
    const QString tipi = QStringLiteral(
        "SELECT GROUP_CONCAT(COLUMN_NAME, ' ', COLUMN_TYPE ORDER BY COLUMN_NAME SEPARATOR ', ') "
        "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = "
        "'copia_vista' AND COLUMN_NAME IN ('lenrlv', 'leanlv', 'lefili', 'ledtlv', 'lecodi', "
        "'lecnss', 'leflic', 'leflsc', 'ledtin', 'lendvc', 'ledtvc', 'NrDistinta', "
        "'DataDistinta', 'Riferimento', 'Banca', 'Importo')");
    QCOMPARE(m_db->valore(tipi).toString(),
             QStringLiteral("Banca varchar(40), DataDistinta date, Importo decimal(12,2), "
                            "leanlv int(11), lecnss decimal(12,2), lecodi int(11), ledtin date, "
                            "ledtlv date, ledtvc date, lefili varchar(2), leflic varchar(2), "
                            "leflsc tinyint(4), lendvc int(11), lenrlv varchar(10), "
                            "NrDistinta int(11), Riferimento varchar(40)"));
    QCOMPARE(m_db->valore(QStringLiteral("SELECT GROUP_CONCAT(COLUMN_NAME ORDER BY SEQ_IN_INDEX) "
                                         "FROM information_schema.STATISTICS WHERE "
                                         "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = "
                                         "'copia_vista' AND INDEX_NAME = 'PRIMARY'"))
                 .toString(),
             QStringLiteral("lefili,lenrlv,leanlv"));
}

void tst_Schema::demoCollegamenti_data()
{
    QTest::addColumn<QString>("violazioni");
    // Each query counts the rows that break one rule of the demo data; all must find none.
    QTest::newRow("every waybill finds its branch, zone and carrier (the lookups inner-join)")
        << QStringLiteral("SELECT (SELECT COUNT(*) FROM letve00f) - COUNT(*) FROM letve00f "
                          "JOIN filiali ON lefili = filiali.codice "
                          "JOIN codicizona ON lelin1 = codicizona.Codice "
                          "JOIN forni ON forni.Codice = lecdve");
    QTest::newRow("every waybill belongs to a known customer")
        << QStringLiteral("SELECT COUNT(*) FROM letve00f LEFT JOIN clien ON Codice = lecodi "
                          "WHERE Codice IS NULL");
    QTest::newRow("number and date find one waybill")
        << QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT lenrlv, ledtlv) FROM letve00f");
    QTest::newRow("reference and date find one waybill")
        << QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT lerife, lerifd) FROM letve00f");
    QTest::newRow("the view shows each cash-on-delivery waybill once")
        << QStringLiteral("SELECT ABS((SELECT COUNT(*) FROM vdaticontrassegni) - "
                          "(SELECT COUNT(*) FROM letve00f WHERE lecnss > 0))");
    QTest::newRow("a remitted amount was collected, marked sent and dated")
        << QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc > 0 AND (leimcs <= 0 OR "
                          "leflsc <> 1 OR leflic = '0' OR ledtvc IS NULL OR ledtin > ledtvc)");
    QTest::newRow("a sent amount belongs to a remittance")
        << QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE leflsc = 1 AND lendvc = 0");
    QTest::newRow("a remittance is of one customer and one collection code")
        << QStringLiteral("SELECT COUNT(*) FROM (SELECT lendvc FROM letve00f WHERE lendvc > 0 "
                          "GROUP BY lendvc HAVING COUNT(DISTINCT lecodi, leflic, ledtvc) > 1) r");
    QTest::newRow("cheque and transfer remittances have one remittance row per waybill")
        << QStringLiteral(
               "SELECT COUNT(*) FROM (SELECT lendvc, ledtvc, COUNT(*) AS n FROM letve00f "
               "WHERE lendvc > 0 AND leflic IN ('3', '4') GROUP BY lendvc, ledtvc) l "
               "LEFT JOIN (SELECT NrDistinta, DataDistinta, COUNT(*) AS n, SUM(Importo) AS s "
               "FROM contrassegni GROUP BY NrDistinta, DataDistinta) c "
               "ON c.NrDistinta = l.lendvc AND c.DataDistinta = l.ledtvc "
               "WHERE c.n IS NULL OR c.n <> l.n");
    QTest::newRow("remittance rows only for cheque and transfer remittances")
        << QStringLiteral("SELECT COUNT(*) FROM contrassegni c WHERE NOT EXISTS (SELECT 1 "
                          "FROM letve00f WHERE lendvc = c.NrDistinta AND ledtvc = c.DataDistinta "
                          "AND leflic IN ('3', '4'))");
    QTest::newRow("a remittance row carries the remittance's total")
        << QStringLiteral("SELECT COUNT(*) FROM contrassegni c WHERE Importo <> (SELECT "
                          "SUM(lecnss) FROM letve00f WHERE lendvc = c.NrDistinta AND "
                          "ledtvc = c.DataDistinta)");
    QTest::newRow("the last remittance number is the highest one used")
        << QStringLiteral("SELECT COUNT(*) FROM zolvimacon_tabge00f WHERE UltimoNumDistVersam "
                          "<> (SELECT MAX(lendvc) FROM letve00f)");
    QTest::newRow("a waybill's held-shipment record exists and names it")
        << QStringLiteral("SELECT COUNT(*) FROM letve00f LEFT JOIN giace00f ON gifili = lefili "
                          "AND ginrgi = lerfgi AND giangi = leangi AND ginrlv = lenrlv AND "
                          "gianlv = leanlv WHERE lerfgi > 0 AND ginrgi IS NULL");
    QTest::newRow("every held shipment is referred to by its waybill")
        << QStringLiteral("SELECT COUNT(*) FROM giace00f LEFT JOIN letve00f ON gifili = lefili "
                          "AND ginrgi = lerfgi AND giangi = leangi WHERE lenrlv IS NULL");
    QTest::newRow("codes and payment means are in their lists")
        << QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE leflic NOT IN ('0','1','2','3',"
                          "'4') OR leflia NOT IN ('0','1','2','3','4') OR leflip NOT IN ('0','1',"
                          "'2','3','4') OR letpin NOT IN ('1','2','3')");
    QTest::newRow("a cheque payment names bank, cheque number and place")
        << QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE letpin = '2' AND (leban IS NULL "
                          "OR lenras IS NULL OR lepiaz IS NULL)");
    QTest::newRow("postcodes have five digits and provinces two capitals") << QStringLiteral(
        "SELECT COUNT(*) FROM (SELECT Cap, Provincia FROM clien UNION ALL SELECT Cap, "
        "Provincia FROM forni UNION ALL SELECT Cap, Provincia FROM destinatari UNION ALL "
        "SELECT Cap, Provincia FROM filiali) r WHERE Cap NOT REGEXP '^[0-9]{5}$' OR "
        "BINARY Provincia NOT REGEXP '^[A-Z]{2}$'");
}

void tst_Schema::demoCollegamenti()
{
    QFETCH(QString, violazioni);
    const QVariant conteggio = m_demo->valore(violazioni);
    QVERIFY(conteggio.isValid());
    QCOMPARE(conteggio.toLongLong(), 0);
}

void tst_Schema::demoPartiteIva()
{
    const QList<QVariantList> righe = m_demo->righe(QStringLiteral(
        "SELECT 'clien', Codice, PartitaIva FROM clien UNION ALL "
        "SELECT 'forni', Codice, PartitaIva FROM forni UNION ALL "
        "SELECT 'destinatari', Codice, PartitaIva FROM destinatari WHERE PartitaIva IS NOT NULL "
        "UNION ALL SELECT 'azienda', Id, PartitaIva FROM azienda"));
    QVERIFY(righe.size() > 60);
    for (const QVariantList &riga : righe) {
        QVERIFY2(partitaIvaValida(riga.at(2).toString()),
                 qPrintable(QStringLiteral("%1 %2: %3")
                                .arg(riga.at(0).toString(), riga.at(1).toString(),
                                     riga.at(2).toString())));
    }
}

void tst_Schema::demoFatti_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("atteso");
    // Facts about the demo data that the README lists and other suites build on.
    QTest::newRow("4000 waybills")
        << QStringLiteral("SELECT COUNT(*) FROM letve00f") << QStringLiteral("4000");
    QTest::newRow("from 1 January 2025 to 30 November 2026")
        << QStringLiteral("SELECT CONCAT(MIN(ledtlv), ' ', MAX(ledtlv)) FROM letve00f")
        << QStringLiteral("2025-01-01 2026-11-30");
    QTest::newRow("customers 1001 to 1005 send more than 300 waybills each from branch 01")
        << QStringLiteral("SELECT COUNT(*) FROM (SELECT lecodi FROM letve00f WHERE lecodi "
                          "BETWEEN 1001 AND 1005 AND lefili = '01' GROUP BY lecodi "
                          "HAVING COUNT(*) > 300) c")
        << QStringLiteral("5");
    QTest::newRow("reference RIF-2026-00549 of 21/11/2026 is waybill 10930, collected in cash")
        << QStringLiteral("SELECT CONCAT_WS(' ', lefili, lenrlv, ledtlv, lecodi, lecnss, leflic, "
                          "leflsc, ledtin, lendvc) FROM letve00f WHERE lerife = 'RIF-2026-00549' "
                          "AND lerifd = '2026-11-21'")
        << QStringLiteral("01 10930 2026-11-21 1001 1535.00 1 0 2026-11-23 0");
    QTest::newRow("remittance 972 of 05/11/2026: two waybills by our cheque")
        << QStringLiteral("SELECT CONCAT_WS(' ', COUNT(*), MIN(lecodi), MIN(leflic), "
                          "GROUP_CONCAT(lenrlv ORDER BY lenrlv)) FROM letve00f "
                          "WHERE lendvc = 972 AND ledtvc = '2026-11-05'")
        << QStringLiteral("2 1001 3 10777,10854");
    QTest::newRow("its remittance rows")
        << QStringLiteral("SELECT CONCAT_WS(' | ', COUNT(*), MIN(Riferimento), MIN(Banca), "
                          "MIN(Importo)) FROM contrassegni WHERE NrDistinta = 972")
        << QStringLiteral("2 | Assegno n. 0007500924 | Banco BPM - Milano Sede | 2904.61");
    QTest::newRow("last remittance number")
        << QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f")
        << QStringLiteral("1008");
    QTest::newRow("customer 1005: five cash collections of November 2026 wait for remittance")
        << QStringLiteral("SELECT CONCAT_WS(' ', COUNT(*), SUM(leimcs)) FROM vdaticontrassegni "
                          "WHERE leflic = '1' AND leflsc = 0 AND (ledtin BETWEEN '2026-11-01' "
                          "AND '2026-11-30') AND lendvc = 0 AND lecodi = 1005")
        << QStringLiteral("5 4151.96");
    QTest::newRow("held shipment 24 of 2026 at branch 01 is waybill 10885")
        << QStringLiteral("SELECT CONCAT_WS(' ', ginrlv, gianlv, gicodi) FROM giace00f "
                          "WHERE gifili = '01' AND ginrgi = 24 AND giangi = 2026")
        << QStringLiteral("10885 2026 1005");
}

void tst_Schema::demoFatti()
{
    QFETCH(QString, query);
    QFETCH(QString, atteso);
    QCOMPARE(m_demo->valore(query).toString(), atteso);
}

void tst_Schema::demoIndici_data()
{
    QTest::addColumn<QString>("query");
    const QString testaLookup = QStringLiteral(
        "SELECT letve00f.*, giace00f.*, forni.RagioneSociale as Vettore, filiali.Descrizione as "
        "filiale, codicizona.Descrizione as linea from (((letve00f LEFT JOIN giace00f on "
        "lefili=gifili and lenrlv=ginrlv and leanlv=gianlv) inner JOIN filiali ON "
        "lefili=filiali.codice) INNER JOIN codicizona on lelin1=codicizona.Codice) INNER join "
        "forni ON forni.Codice=lecdve WHERE ");
    QTest::newRow("waybill by reference")
        << testaLookup + QStringLiteral("lerife='RIF-2026-00549' and lerifd='2026-11-21';");
    QTest::newRow("waybill by number and date")
        << testaLookup + QStringLiteral("lenrlv='10930' and ledtlv='2026-11-21';");
    QTest::newRow("waybill by number, date and branch")
        << testaLookup + QStringLiteral("lenrlv='10930' and ledtlv='2026-11-21' and lefili='01';");
    QTest::newRow("view by number and date")
        << QStringLiteral("SELECT * from vdaticontrassegni WHERE lenrlv='10854' and "
                          "ledtlv='2026-10-26';");
    QTest::newRow("shipment list by reference")
        << QStringLiteral("select lenrlv, leflbc as Bord_Inv, lerife as Numero_Rif, ginrgi from "
                          "letve00f left join giace00f on lefili=gifili and lenrlv=ginrlv and "
                          "leanlv=gianlv where lecodi=1001 and LERIFE>='RIF-2026' and "
                          "year(LERIFD)=2026 and lefili='01' ORDER BY lerife, ledtlv;");
    QTest::newRow("shipment list by number")
        << QStringLiteral("select lenrlv as Num_Ldv, ginrgi from letve00f left join giace00f on "
                          "lefili=gifili and lenrlv=ginrlv and leanlv=gianlv where lecodi=1001 "
                          "and lefili='01' and LENRLV>='10900' ORDER BY CAST(lenrlv as "
                          "unsigned), leanlv;");
    QTest::newRow("waybills of a held-shipment record")
        << QStringLiteral("SELECT lenrlv from (letve00f inner JOIN giace00f on lefili=gifili "
                          "and lerfgi=ginrgi and leangi=giangi) where ginrgi='24' and "
                          "giangi=2026;");
    QTest::newRow("a customer's held shipments")
        << QStringLiteral("select ginrlv, ledtlv FROM giace00f INNER join letve00f on "
                          "gifili=lefili and ginrlv=lenrlv and gianlv=leanlv where giangi=2026 "
                          "and letve00f.lecodi='1005';");
    QTest::newRow("a customer's collections")
        << QStringLiteral("select lerife AS Nr_Rif, lerifd AS Data_Rif, cast(concat_WS('.',leflic,"
                          "leflsc)as char) AS Inc_contr, lenrlv AS Nr_LDV from vdaticontrassegni "
                          "where lecodi=1001 "
                          "and lefili='01' ORDER BY Data_Rif desc, Nr_Rif desc;");
    QTest::newRow("remittance selection")
        << QStringLiteral("SELECT * from vdaticontrassegni where leflic='1' and leflsc=0 and "
                          "(ledtin between '2026-11-01' and '2026-11-30') and lendvc =0 and "
                          "lecodi=1005;");
    QTest::newRow("provisional letter")
        << QStringLiteral("SELECT * from vdaticontrassegni where leflic='1' and leflsc=0 and "
                          "(ledtin between '2026-11-01' and '2026-11-30') and lendvc =0;");
    QTest::newRow("collection save")
        << QStringLiteral("update letve00f set leban='Credem' where lenrlv='10930' and "
                          "lefili='01' and ledtlv='2026-11-21';");
    QTest::newRow("remittance cancellation")
        << QStringLiteral("UPDATE letve00f SET LENDVC=0, LEDTVC=Null, LEFLSC=0 WHERE LENDVC=972 "
                          "AND LEDTVC='2026-11-05';");
    QTest::newRow("remittance rows cancellation")
        << QStringLiteral("Delete from contrassegni where NrDistinta=972 and "
                          "DataDistinta='2026-11-05';");
}

// No lookup of the component reads a whole table of waybills, held shipments or remittance rows.
void tst_Schema::demoIndici()
{
    QFETCH(QString, query);
    QSqlQuery piano(m_demo->db());
    QVERIFY_SQL(piano, exec(QStringLiteral("EXPLAIN ") + query));
    const int tabella = piano.record().indexOf(QStringLiteral("table"));
    const int tipo = piano.record().indexOf(QStringLiteral("type"));
    int righe = 0;
    while (piano.next()) {
        ++righe;
        QVERIFY2(
            piano.value(tipo).toString() != QLatin1String("ALL"),
            qPrintable(QStringLiteral("%1 is read whole").arg(piano.value(tabella).toString())));
    }
    QVERIFY(righe > 0);
}

// Loading the demo again gives exactly the same rows.
void tst_Schema::demoRipetibile()
{
    const QString somme = QStringLiteral(
        "CHECKSUM TABLE letve00f, giace00f, contrassegni, clien, forni, destinatari, "
        "zolvimacon_tabge00f EXTENDED");
    const QList<QVariantList> prima = m_demo->righe(somme);
    QCOMPARE(prima.size(), 7);
    DatabaseDiProva seconda(QStringLiteral("tst_schema_demo2"));
    QVERIFY(seconda.pronto());
    QVERIFY(seconda.caricaDemo());
    const QList<QVariantList> dopo = seconda.righe(somme);
    QCOMPARE(dopo.size(), prima.size());
    for (int i = 0; i < prima.size(); ++i) {
        QVERIFY(!prima.at(i).at(1).isNull());
        QCOMPARE(dopo.at(i).at(1), prima.at(i).at(1));
    }
}

QTEST_GUILESS_MAIN(tst_Schema)

#include "tst_schema.moc"
