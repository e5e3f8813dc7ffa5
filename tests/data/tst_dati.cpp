#include "data/erroredb.h"
#include "data/importo.h"
#include "data/istruzioni.h"
#include "data/riprova.h"
#include "data/sql.h"
#include "data/testoconnessione.h"

#include "support/errori.h"

#include <QTest>

#include <functional>

// The pure units of the data layer: how a value enters a statement, every statement the
// component sends (whole), money to the cent, connection texts, and the transaction run again
// after a conflict with another station.
class tst_Dati : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void testi_data();
    void testi();
    void nessunaIstruzioneConValoriErrati();
    void sommeEsatte();
    void ripetiSeInConflitto_data();
    void ripetiSeInConflitto();
};

namespace {

const char *const no = "errore 13";
const QDate d(2015, 3, 4);
const Istruzioni::ChiaveLdv ldv{"12345", "01", d};
const Istruzioni::ChiaveRimessa rimessa{"01", "12345", "2015"};
const Istruzioni::DatiAssegno assegno{"R'1", "Credito d'Italia", Importo::daCentesimi(-15050)};

// What the call returned, or "errore <number>" for the ErroreDb it threw.
QString esito(const std::function<QString()> &chiamata)
{
    try {
        return chiamata();
    } catch (const ErroreDb &e) {
        return QStringLiteral("errore %1").arg(e.numero());
    }
}

// A row "<nome> <input>" for each case: what `funzione` gives for the input, and what it should.
void casi(const char *nome, const std::function<QString(const QString &)> &funzione,
          std::initializer_list<std::pair<const char *, const char *>> casi)
{
    for (const auto &[ingresso, atteso] : casi)
        QTest::addRow("%s %s", nome, ingresso)
            << esito([&] { return funzione(QString::fromUtf8(ingresso)); })
            << QString::fromUtf8(atteso);
}

QString centesimi(const std::optional<Importo> &importo)
{
    return importo ? QString::number(importo->centesimi()) : QStringLiteral("-");
}

// What an amount is shown and written as: field | display | currency | grid | statement, and
// "=" when the field's text reads back as the same amount.
QString testiImporto(qint64 centesimi, const QLocale &locale = QLocale())
{
    const Importo i = Importo::daCentesimi(centesimi);
    const std::optional<Importo> riletto = Importo::daNumero(i.testoCampo(locale), locale);
    return QStringList({i.testoCampo(locale), i.testoVisualizzato(locale), i.valuta(locale),
                        i.testoGriglia(locale), i.perSql(), riletto == i ? "=" : "?"})
        .join(u'|');
}

// "host|port|database|user|password|socket|mode|ca|cert|key|cipher", the mode as ModoTls counts
// it: 0 DISABLED, 1 PREFERRED, 2 REQUIRED, 3 VERIFY_CA, 4 VERIFY_IDENTITY, 5 unknown.
QString parametri(const QString &testo)
{
    const ParametriConnessione p = leggiTestoConnessione(testo);
    return QStringList({p.host, QString::number(p.porta), p.database, p.utente, p.password,
                        p.socket, QString::number(int(p.modoTls)), p.sslCa, p.sslCert, p.sslKey,
                        p.sslCipher})
        .join(u'|');
}

} // namespace

// What the pure functions make of their input: values as a statement writes them, money, the
// connection texts, and every statement whole.
void tst_Dati::testi_data()
{
    QTest::addColumn<QString>("risultato");
    QTest::addColumn<QString>("atteso");
    using namespace Sql;
    // clang-format off
    casi("testo", testo, {{"Forlì è 🚚 \"%\"", "Forlì è 🚚 \"%\""}, {"D'Amico", "D\\'Amico"},
                          {"C:\\'", "C:\\\\\\'"}});
    QTest::newRow("testo NUL") << testo(QString(QChar(0))) << "\\0";
    casi("intero", intero, {{"0", "0"}, {"-7", "-7"}, {"007", "007"}, {"12.5", no}, {"", no},
                            {"123456789012345678", "123456789012345678"}, {" 5", no}, {"5 ", no},
                            {"1234567890123456789", no}, {"1e3", no}, {"0x1F", no}, {"--1", no},
                            {"-", no}, {"1; drop table clien", no}, {"1 or 1=1", no}});
    casi("decimale", decimale, {{"-12.50", "-12.50"}, {".5", ".5"}, {"5.", "5."}, {"-.5", "-.5"},
                                {"7", "7"}, {"", no}, {".", no}, {"12,50", no}, {"1.234.56", no},
                                {" 5", no}, {"1e3", no}, {"1 or 1=1", no}});
    casi("data", [](const QString &t) { return data(leggiData(t)); },
         {{"29/02/2016", "2016-02-29"}, {"", ""}, {"__/__/____", ""}, {"31/02/2015", no},
          {"29/02/2015", no}, {"1_/__/____", no}, {"04/03/15", no}, {"2015-03-04", no}});
    casi("nome", identificatore, {{"zolvimacon_tabge00f", "zolvimacon_tabge00f"}, {"2E3", "`2E3`"},
                                  {"`2E3`", "`2E3`"}, {"`clien`", "clien"}, {"", no}, {"P-1", no},
                                  {"`clien", no}, {"cl`ien", no}, {"c;drop table c", no},
                                  {"db.clien", no}});
    QTest::newRow("nome 64") << identificatore(QString(64, 'a')) << QString(64, 'a');
    QTest::newRow("nome 65") << esito([] { return identificatore(QString(65, 'a')); }) << no;
    int n = 0;
    for (const auto &[valore, atteso] : std::initializer_list<std::pair<QVariant, const char *>>{
             {QVariant(), "NULL"}, {QVariant(QMetaType::fromType<QDate>()), "NULL"},
             {QDate(), "NULL"}, {qlonglong(9000000000), "9000000000"}, {true, "1"},
             {d, "'2015-03-04'"}, {"l'a\\", "'l\\'a\\\\'"}})
        QTest::addRow("letterale %d", ++n) << letterale(valore) << atteso;
    casi("una", [](const QString &t) { return QString::number(unaSolaIstruzione(t)); },
         {{"select 1", "1"}, {"select 1;  -- fine\n ", "1"}, {"select 'l''a;b';", "1"},
          {"select 'C:\\\\\\'; drop table c; --';", "1"}, {"select \"a;b\" as `c;d`;", "1"},
          {"select 1 /* a; b */ # c; d\n;", "1"}, {"select 1; drop table c;", "0"},
          {"select 1; select 2", "0"}, {"select 1;;", "0"}, {"select 1 -- x\n; select 2", "0"},
          {"select 1 /*!; drop table c */", "0"}, {"select 1 /*M!; drop table c */", "0"},
          {"select 'a'; drop table c; --';", "0"}});

    // Money: each reader, in cents ("-" for nothing), and each text of an amount.
    casi("database", [](const QString &t) { return centesimi(Importo::daDatabase(t)); },
         {{"12.50", "1250"}, {"-3.1", "-310"}, {"1.2300", "123"}, {"1.005", "-"}, {"n/d", "-"},
          {"9999999999.99", "999999999999"}, {"12345678901234567", "-"}});
    casi("colonna", [](const QString &t) {
        return QString::number(Importo::daColonna(t == "NULL" ? QVariant() : t).centesimi());
    }, {{"12.50", "1250"}, {"NULL", "0"}, {"1.005", "errore 13"}});
    casi("letterale", [](const QString &t) { return centesimi(Importo::daLetterale(t)); },
         {{"1.005", "101"}, {"-2.675", "-268"}, {"9.995", "1000"}, {"0.004", "0"}, {"1.2.3", "-"}});
    casi("digitato", [](const QString &t) { return centesimi(Importo::daDigitato(t)); },
         {{"1.234.567,89", "123456789"}, {" € 12,5 ", "1250"}, {"- 3,00", "-300"}, {",5", "50"},
          {"12,500", "1250"}, {"5,", "500"}, {"12.345.678.901.234,56", "1234567890123456"},
          {"", "-"}, {"12.50", "-"}, {"1.23,40", "-"}, {"12,345", "-"}, {"1,2,3", "-"}, {",", "-"},
          {"12 50", "-"}, {"+5", "-"}, {"12345678901234567", "-"}});
    casi("numero", [](const QString &t) { return centesimi(Importo::daNumero(t)); },
         {{"1.234,56", "123456"}, {"-2,675", "-268"}, {"1,5e3", "150000"}, {" +12,5 ", "1250"},
          {"12.5", "-"}, {"inf", "-"}, {"1e17", "-"}});
    casi("eNumero", [](const QString &t) { return QString::number(Importo::eNumero(t)); },
         {{"1.234", "1"}, {"\t-,5 ", "1"}, {"-INF", "1"}, {"1,7976931348623157e308", "1"},
          {"1,8e308", "0"}, {"1e400", "0"}, {"1e-324", "0"}, {"1.23,4", "0"}, {"- 5", "0"},
          {"5 €", "0"}, {"-nan", "0"}, {"", "0"}});
    const QString e = QStringLiteral("\u00A0€"); // Qt's Italian currency text
    QTest::newRow("importo") << testiImporto(123450)
        << "1234,50|€1.234,50|1.234,50" + e + "|1.234,50" + e + "|1234.50|=";
    QTest::newRow("importo negative") << testiImporto(-5)
        << "-0,05|(€0,05)|-0,05" + e + "|-0,05" + e + "|-0.05|=";
    QTest::newRow("importo zero") << testiImporto(0) << "0,00|€0,00|0,00" + e + "||0.00|=";
    QTest::newRow("importo largest") << testiImporto(999999999999) << "9999999999,99|"
        "€9.999.999.999,99|9.999.999.999,99" + e + "|9.999.999.999,99" + e + "|9999999999.99|=";
    QTest::newRow("importo, the locale's") << testiImporto(-75, QLocale(QLocale::English,
        QLocale::UnitedStates)) << "-0.75|(€0.75)|($0.75)|($0.75)|-0.75|=";

    casi("connessione", parametri, {
        {"Driver={MariaDB ODBC 3.1 Driver};Server=h;Port=3306;Database=d;Uid=u;Pwd=p;Option=3;",
         "h|3306|d|u|p||0||||"},
        {"Provider=MSDASQL.1;Extended Properties=\"DRIVER={MySQL};SERVER=h;UID=u\";Port=3310",
         "h|3310||u|||0||||"},
        {" sErVeR = h ;dataBASE=d;UID= u ;\tpWd =\tp\t;PORT=x", "h|0|d|u|p||0||||"},
        {";;x;Pwd={ a;b=c}}d };Uid=\"x\"\"y;z\";Stmt=SET a=1",
         "localhost|0||x\"y;z| a;b=c}d ||0||||"},
        {"Data Source=h;Initial Catalog=d;User ID=u;Password=p;DB=e", "h|0|e|u|p||0||||"},
        {"Server=;Socket=/s;Address=", "localhost|0||||/s|0||||"},
        {"SslMode=VERIFY_IDENTITY;SslCa=/a;SslCert=/c;SslKey=/k;SslCipher=X",
         "localhost|0|||||4|/a|/c|/k|X"},
        {"SSLMODE=verify_ca;SSLCA={C:\\a}", "localhost|0|||||3|C:\\a|||"},
        {"SSL_KEY=k;Ssl-Mode=Required", "localhost|0|||||2|||k|"},
        {"SslMode=DISABLED;SslCa=/a", "localhost|0|||||0|/a|||"},
        {"SslCa=/a", "localhost|0|||||3|/a|||"}, {"SslCipher=x", "localhost|0|||||2||||x"},
        {"SslMode=VERIFY_FULL", "localhost|0|||||5||||"}});
    // clang-format on

    // Every statement, whole.
    using namespace Istruzioni;
    const QString testaLdv =
        "SELECT letve00f.*, giace00f.*, forni.RagioneSociale as Vettore, "
        "filiali.Descrizione as filiale, codicizona.Descrizione as linea from (((letve00f LEFT "
        "JOIN giace00f on lefili=gifili and lenrlv=ginrlv and leanlv=gianlv) inner JOIN filiali "
        "ON lefili=filiali.codice) INNER JOIN codicizona on lelin1=codicizona.Codice) INNER join "
        "forni ON forni.Codice=lecdve WHERE ";
    const QString u = "update letve00f set ";
    const QString k = " where lenrlv='12345' and lefili='01' and ledtlv='2015-03-04';";
    const QString kR = " WHERE LEFILI='01' AND LENRLV='12345' AND LEANLV=2015;";
    const QString sel = "SELECT * from vdaticontrassegni where leflic='3' and leflsc=0 and "
                        "(ledtin between '2015-03-04' and '2015-03-04') and lendvc =0";
    const QString cheque = "DataDistinta='2015-03-04', Riferimento='R\\'1', Banca='Credito "
                           "d\\'Italia', Importo=-150.50";
    // clang-format off
    QTest::newRow("session") << impostaSessione(30) << "SET SESSION sql_mode=REPLACE("
        "@@sql_mode,'NO_BACKSLASH_ESCAPES',''), max_statement_time=30";
    QTest::newRow("name") << nomeCliente("1") << "select RagioneSociale from clien where Codice=1;";
    QTest::newRow("by reference") << ldvPerRiferimento("D'A\\", d)
        << testaLdv + "lerife='D\\'A\\\\' and lerifd='2015-03-04';";
    QTest::newRow("by number") << ldvPerNumero("1", d) << testaLdv + "lenrlv='1' and ledtlv="
                                                                    "'2015-03-04';";
    QTest::newRow("preset") << ldvPreimpostata("1", d, "02")
        << testaLdv + "lenrlv='1' and ledtlv='2015-03-04' and lefili='02';";
    QTest::newRow("view") << vistaPerNumero("1'2", d)
        << "SELECT * from vdaticontrassegni WHERE lenrlv='1\\'2' and ledtlv='2015-03-04';";
    QTest::newRow("save text") << aggiornaTesto("leban", "d'A", ldv) << u + "leban='d\\'A'" + k;
    QTest::newRow("save flag") << aggiornaIntero("leflsc", "1", ldv) << u + "leflsc=1" + k;
    QTest::newRow("save amount") << aggiornaImporto("leinpa", "-.5", ldv) << u + "leinpa=-.5" + k;
    QTest::newRow("save date") << aggiornaData("ledtin", d, ldv) << u + "ledtin='2015-03-04'" + k;
    QTest::newRow("save, key quoted") << aggiornaTesto("x", "x", {"1'", "0\\", d}) << u + "x='x' "
        "where lenrlv='1\\'' and lefili='0\\\\' and ledtlv='2015-03-04';";
    QTest::newRow("selection") << selezioneRimessa(3, d, d, "7") << sel + " and lecodi=7;";
    QTest::newRow("provisional letter") << selezioneRimessaProvvisoria(3, d, d) << sel + ";";
    QTest::newRow("last number") << leggiUltimoNumero()
        << "select UltimoNumDistVersam from zolvimacon_tabge00f for update;";
    QTest::newRow("new last number") << scriviUltimoNumero("42")
        << "UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=42;";
    QTest::newRow("stamped") << timbraRimessa("2PC", "42", d, rimessa)
        << "UPDATE `2PC` SET LENDVC=42,LEDTVC='2015-03-04'" + kR;
    QTest::newRow("cheque") << inserisciContrassegno("42", d, assegno)
        << "insert into contrassegni set NrDistinta=42," + cheque + ";";
    QTest::newRow("cheque, work table") << timbraAssegnoTabellaLavoro("P", "4", d, assegno, rimessa)
        << "UPDATE P SET NrDistinta=4," + cheque + kR;
    QTest::newRow("sent") << segnaInviato(rimessa) << "UPDATE letve00f SET LEFLSC=1" + kR;
    QTest::newRow("remitted meanwhile") << ldvRimesseNelFrattempo("PC")
        << "SELECT COUNT(*) FROM letve00f INNER JOIN PC ON letve00f.LEFILI=PC.LEFILI AND "
           "letve00f.LENRLV=PC.LENRLV AND letve00f.LEANLV=PC.LEANLV WHERE PC.LENDVC=0 AND "
           "(letve00f.LENDVC<>0 OR letve00f.LEFLSC<>0) FOR UPDATE;";
    QTest::newRow("cancellation") << annullaRimessaLdv("42", d) << "UPDATE letve00f SET LENDVC=0, "
        "LEDTVC=Null, LEFLSC=0 WHERE LENDVC=42 AND LEDTVC='2015-03-04';";
    QTest::newRow("records cancelled") << eliminaContrassegni("42", d)
        << "Delete from contrassegni where NrDistinta=42 and DataDistinta='2015-03-04';";
    QTest::newRow("read") << tuttaLaTabella("PC") << "SELECT * from PC;";
    QTest::newRow("probed") << leggiTabella("PC") << "select * from PC;";
    QTest::newRow("dropped") << eliminaTabella("2PC") << "Drop table `2PC`;";
    QTest::newRow("rows copied") << inserisciRighe("P", {"a", "b", "c"}, {{"1", "'\\", d}, {2}})
        << "insert into P (a,b,c) values ('1','\\'\\\\','2015-03-04'),(2,NULL,NULL);";
    // clang-format on
}

void tst_Dati::testi()
{
    QFETCH(QString, risultato);
    QTEST(risultato, "atteso");
}

// A value written bare that is not the number asked for, or a name that is not a plain one,
// never becomes a statement: each builder checks each of its values.
void tst_Dati::nessunaIstruzioneConValoriErrati()
{
    using namespace Istruzioni;
    // clang-format off
    QCOMPARE(numeroErrore([] { nomeCliente("1; drop table clien"); }), 13);
    QCOMPARE(numeroErrore([] { selezioneRimessa(1, d, d, "1 or 1=1"); }), 13);
    QCOMPARE(numeroErrore([] { aggiornaImporto("leimcs", "12,50", ldv); }), 13);
    QCOMPARE(numeroErrore([] { aggiornaIntero("leflsc", "si", ldv); }), 13);
    QCOMPARE(numeroErrore([] { annullaRimessaLdv("4a", d); }), 13);
    QCOMPARE(numeroErrore([] { eliminaContrassegni("", d); }), 13);
    QCOMPARE(numeroErrore([] { scriviUltimoNumero("1 or 1"); }), 13);
    QCOMPARE(numeroErrore([] { timbraRimessa("letve00f", "4;", d, rimessa); }), 13);
    QCOMPARE(numeroErrore([] { timbraRimessa("letve00f", "4", d, {"01", "1", "2015 or 1"}); }), 13);
    QCOMPARE(numeroErrore([] { inserisciContrassegno("x", d, assegno); }), 13);
    QCOMPARE(numeroErrore([] { timbraAssegnoTabellaLavoro("PC", "x", d, assegno, rimessa); }), 13);
    QCOMPARE(numeroErrore([] { segnaInviato({"01", "1", "2015 or 1=1"}); }), 13);
    QCOMPARE(numeroErrore([] { aggiornaTesto("leban =1, leflsc", "x", ldv); }), 13);
    QCOMPARE(numeroErrore([] { aggiornaIntero("a b", "1", ldv); }), 13);
    QCOMPARE(numeroErrore([] { aggiornaImporto("a,b", "1", ldv); }), 13);
    QCOMPARE(numeroErrore([] { aggiornaData("a)", d, ldv); }), 13);
    QCOMPARE(numeroErrore([] { eliminaTabella("PC'R"); }), 13);
    QCOMPARE(numeroErrore([] { tuttaLaTabella("PC R"); }), 13);
    QCOMPARE(numeroErrore([] { inserisciRighe("T", {"a)"}, {{1}}); }), 13);
    QCOMPARE(numeroErrore([] { ldvRimesseNelFrattempo("P R"); }), 13);
    QCOMPARE(numeroErrore([] { timbraRimessa("P;", "1", d, rimessa); }), 13);
    QCOMPARE(numeroErrore([] { timbraAssegnoTabellaLavoro("P;", "1", d, assegno, rimessa); }), 13);
    // clang-format on
}

void tst_Dati::sommeEsatte()
{
    Importo somma;
    for (int i = 0; i < 1000; ++i) // in binary a thousand times 0.10 would drift
        somma += *Importo::daDatabase(QStringLiteral("0.10"));
    QCOMPARE((somma - Importo::daCentesimi(10001) + somma + somma).perSql(), QString("199.99"));
    QVERIFY(somma < somma + Importo::daCentesimi(1) && somma.positivo() && !Importo().positivo());
    const Importo massimo = Importo::daCentesimi(999999999999);
    QCOMPARE((massimo + massimo + massimo).perSql(), QStringLiteral("29999999999.97"));
}

// What each try of the transaction throws (0: it commits); past the list, a deadlock again.
void tst_Dati::ripetiSeInConflitto_data()
{
    QTest::addColumn<QList<int>>("errori");
    QTest::addColumn<int>("prove");
    QTest::addColumn<QString>("atteso"); // the error at the end, empty for none
    const int n = RipetiSeInConflitto::tentativi;
    QTest::newRow("a deadlock, then committed") << QList<int>{1213, 0} << 2 << "";
    QTest::newRow("lock waits up to the last try")
        << QList<int>(n - 1, 1205) + QList<int>{0} << n << "";
    QTest::newRow("a conflict every time")
        << QList<int>() << n
        << QStringLiteral("1213 Un'altra postazione stava modificando gli stessi dati: dopo %1 "
                          "tentativi non è stato registrato nulla. Riprovare fra qualche istante. "
                          "(conflitto 1213)")
               .arg(n);
    QTest::newRow("another error at once") << QList<int>{1062} << 1 << "1062 conflitto 1062";
    QTest::newRow("after a conflict, another")
        << QList<int>{1205, 2006} << 2 << "2006 conflitto 2006";
}

void tst_Dati::ripetiSeInConflitto()
{
    QFETCH(QList<int>, errori);
    int prove = 0;
    QString errore;
    try {
        ::ripetiSeInConflitto([&] {
            if (const int numero = errori.value(prove++, 1213))
                throw ErroreDb(numero, QStringLiteral("conflitto %1").arg(numero));
        });
    } catch (const ErroreDb &e) {
        errore = e.testo();
    }
    QTEST(prove, "prove");
    QTEST(errore, "atteso");
}

QTEST_GUILESS_MAIN(tst_Dati)
#include "tst_dati.moc"
