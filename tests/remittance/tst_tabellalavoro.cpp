#include "remittance/postazione.h"
#include "remittance/tabellalavoro.h"

#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "services/modprincipale.h"
#include "support/databasediprova.h"
#include "support/errori.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The station's name, the work table's name and its creation from the suite's template.
class tst_TabellaLavoro : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nomePostazione_data();
    void nomePostazione();
    void nomeDiQuestaPostazione();
    void sostituisciSegnaposto_data();
    void sostituisciSegnaposto();
    void istruzioneCreaTabella();
    void creaTabellaDalModelloDemo();
    void modelloSenzaSegnaposto_data();
    void modelloSenzaSegnaposto();

private:
    QString scriviIni(const QString &modello);

    std::unique_ptr<DatabaseDiProva> m_db;
    QTemporaryDir m_cartella;
};

void tst_TabellaLavoro::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_cartella.isValid());
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
}

QString tst_TabellaLavoro::scriviIni(const QString &modello)
{
    const QString percorso = m_cartella.filePath(QStringLiteral("suite.ini"));
    QFile ini(percorso);
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    ini.write("[FRMBOLLCARICHIINT]\nSTRCREATABELLA=" + modello.toUtf8() + "\n");
    return percorso;
}

void tst_TabellaLavoro::nomePostazione_data()
{
    QTest::addColumn<QString>("computer");
    QTest::addColumn<QString>("postazione");
    QTest::newRow("separators out, one leading digit dropped")
        << QStringLiteral("12-sede.nord") << QStringLiteral("2SEDENORD");
    QTest::newRow("twelve letters cut to nine")
        << QStringLiteral("magazzinoest") << QStringLiteral("MAGAZZINO");
    QTest::newRow("short name upper case") << QStringLiteral("pc01") << QStringLiteral("PC01");
    QTest::newRow("every excluded character")
        << QStringLiteral("a-b_c.d\\e/f\"g,h'i") << QStringLiteral("ABCDEFGHI");
    QTest::newRow("separators go before the digit check")
        << QStringLiteral("-1ufficio") << QStringLiteral("UFFICIO");
    QTest::newRow("only the first digit") << QStringLiteral("99") << QStringLiteral("9");
    QTest::newRow("cut after the removals")
        << QStringLiteral("sede.centrale-01") << QStringLiteral("SEDECENTR");
    QTest::newRow("nothing left") << QStringLiteral("-._") << QString();
}

void tst_TabellaLavoro::nomePostazione()
{
    QFETCH(QString, computer);
    QFETCH(QString, postazione);
    QCOMPARE(NomePostazioneDa(computer), postazione);
}

void tst_TabellaLavoro::nomeDiQuestaPostazione()
{
    QVERIFY(NomeComputer().size() <= 31);
    QCOMPARE(NomeComputer(), QSysInfo::machineHostName().left(31));
    QCOMPARE(NomeTabellaLavoro(QStringLiteral("Rimessa")),
             NomePostazioneDa(QSysInfo::machineHostName().left(31)) + QStringLiteral("Rimessa"));
}

void tst_TabellaLavoro::sostituisciSegnaposto_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("first of two") << QStringLiteral("CREATE TABLE ? SELECT * FROM ?")
                                  << QStringLiteral("PC01Rimessa")
                                  << QStringLiteral("CREATE TABLE PC01Rimessa SELECT * FROM ?");
    QTest::newRow("at the start") << QStringLiteral("?x") << QStringLiteral("ab")
                                  << QStringLiteral("abx");
    QTest::newRow("at the end") << QStringLiteral("x?") << QStringLiteral("ab")
                                << QStringLiteral("xab");
    QTest::newRow("value holding a question mark")
        << QStringLiteral("? and ?") << QStringLiteral("?") << QStringLiteral("? and ?");
    QTest::newRow("empty value") << QStringLiteral("a?b") << QString() << QStringLiteral("ab");
}

void tst_TabellaLavoro::sostituisciSegnaposto()
{
    QFETCH(QString, testo);
    QFETCH(QString, valore);
    QFETCH(QString, atteso);
    QCOMPARE(SostituisciSegnaposto(testo, valore), atteso);
}

void tst_TabellaLavoro::istruzioneCreaTabella()
{
    QCOMPARE(IstruzioneCreaTabella(
                 QStringLiteral("CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) "
                                "SELECT * FROM ? LIMIT 0;"),
                 QStringLiteral("PC01Rimessa"), QStringLiteral("vdaticontrassegni")),
             QStringLiteral("CREATE TABLE PC01Rimessa (PRIMARY KEY (lefili, lenrlv, leanlv)) "
                            "SELECT * FROM vdaticontrassegni LIMIT 0;"));
    QCOMPARE(numeroErrore([] {
                 SostituisciSegnaposto(QStringLiteral("no placeholder"), QStringLiteral("x"));
             }),
             5);
    QCOMPARE(numeroErrore([] {
                 IstruzioneCreaTabella(QStringLiteral("CREATE TABLE ? SELECT * FROM ?"),
                                       QStringLiteral("x; DROP TABLE letve00f"),
                                       QStringLiteral("vdaticontrassegni"));
             }),
             int(ErroreDb::TipoNonCorrispondente));
}

// The demo INI's template on the real server: an ordinary table with the view's columns, typed
// as their sources, keyed on the waybill, and empty.
void tst_TabellaLavoro::creaTabellaDalModelloDemo()
{
    modPrincipale::setPercorsoFileIni(QStringLiteral(RISCUTI_INI_DEMO));
    const QString nome = QStringLiteral("PROVA1Rimessa");
    QVERIFY(TabellaMancante(nome, m_db->testoConnessione()));
    CreaTabella(nome, QStringLiteral("vdaticontrassegni"), ModelloCreaTabella(),
                m_db->testoConnessione());
    QVERIFY(!TabellaMancante(nome, m_db->testoConnessione()));

    const QString tipi = QStringLiteral(
        "SELECT lower(COLUMN_NAME), COLUMN_TYPE FROM information_schema.COLUMNS "
        "WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME='prova1rimessa' AND COLUMN_NAME IN "
        "('lenrlv','leanlv','lefili','lecnss','ledtin','lendvc','ledtvc','NrDistinta',"
        "'DataDistinta','Riferimento','Banca','Importo') ORDER BY ORDINAL_POSITION");
    QList<QVariantList> attesi{{QStringLiteral("lenrlv"), QStringLiteral("varchar(10)")},
                               {QStringLiteral("leanlv"), QStringLiteral("int(11)")},
                               {QStringLiteral("lefili"), QStringLiteral("varchar(2)")},
                               {QStringLiteral("lecnss"), QStringLiteral("decimal(12,2)")},
                               {QStringLiteral("ledtin"), QStringLiteral("date")},
                               {QStringLiteral("lendvc"), QStringLiteral("int(11)")},
                               {QStringLiteral("ledtvc"), QStringLiteral("date")},
                               {QStringLiteral("nrdistinta"), QStringLiteral("int(11)")},
                               {QStringLiteral("datadistinta"), QStringLiteral("date")},
                               {QStringLiteral("riferimento"), QStringLiteral("varchar(40)")},
                               {QStringLiteral("banca"), QStringLiteral("varchar(40)")},
                               {QStringLiteral("importo"), QStringLiteral("decimal(12,2)")}};
    QList<QVariantList> trovati;
    for (const QVariantList &riga : m_db->righe(tipi))
        trovati.append({riga.at(0).toString(), riga.at(1).toString()});
    QCOMPARE(trovati, attesi);

    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMNS WHERE "
                                    "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='prova1rimessa'"))
            .toInt(),
        m_db->valore(QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMNS WHERE "
                                    "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='vdaticontrassegni'"))
            .toInt());
    const QList<QVariantList> chiave = m_db->righe(QStringLiteral(
        "SELECT lower(COLUMN_NAME) FROM information_schema.KEY_COLUMN_USAGE WHERE "
        "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='prova1rimessa' AND CONSTRAINT_NAME='PRIMARY' "
        "ORDER BY ORDINAL_POSITION"));
    QCOMPARE(chiave, (QList<QVariantList>{{QStringLiteral("lefili")},
                                          {QStringLiteral("lenrlv")},
                                          {QStringLiteral("leanlv")}}));
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM PROVA1Rimessa")).toInt(), 0);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT TABLE_TYPE FROM information_schema.TABLES WHERE "
                                         "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='prova1rimessa'"))
                 .toString(),
             QStringLiteral("BASE TABLE"));

    // A second creation is refused by the server, which is why the run asks first.
    QCOMPARE(numeroErrore([&] {
                 CreaTabella(nome, QStringLiteral("vdaticontrassegni"), ModelloCreaTabella(),
                             m_db->testoConnessione());
             }),
             1050);

    EseguiComando(Istruzioni::eliminaTabella(nome));
    QVERIFY(TabellaMancante(nome, m_db->testoConnessione()));
}

void tst_TabellaLavoro::modelloSenzaSegnaposto_data()
{
    QTest::addColumn<QString>("modello");
    QTest::addColumn<int>("errore");
    QTest::newRow("no placeholder at all") << QStringLiteral("CREATE TABLE x (a int);") << 5;
    QTest::newRow("one placeholder only") << QStringLiteral("CREATE TABLE ? (a int);") << 5;
    QTest::newRow("key missing from the INI file") << QString() << 5;
    QTest::newRow("refused by the server")
        << QStringLiteral("CREATE TABLE ? SELECT * FROM ? WHERE") << 1064;
}

void tst_TabellaLavoro::modelloSenzaSegnaposto()
{
    QFETCH(QString, modello);
    QFETCH(int, errore);
    const QString ini = scriviIni(modello);
    QVERIFY(!ini.isEmpty());
    modPrincipale::setPercorsoFileIni(ini);
    const QString nome = QStringLiteral("PROVA2Rimessa");
    QCOMPARE(numeroErrore([&] {
                 CreaTabella(nome, QStringLiteral("vdaticontrassegni"), ModelloCreaTabella(),
                             m_db->testoConnessione());
             }),
             errore);
    QVERIFY(TabellaMancante(nome, m_db->testoConnessione()));
    QVERIFY(TabellaMancante(QStringLiteral("x"), m_db->testoConnessione()));
}

QTEST_GUILESS_MAIN(tst_TabellaLavoro)
#include "tst_tabellalavoro.moc"
