#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

// The component on a three-node Galera cluster (scripts/cluster-db.sh, started by ctest), each
// station talking to its own node, as branches do: conflicts between nodes surface at commit as
// deadlocks, which the save and the posting must absorb; nothing may be lost or doubled.
class tst_Cluster : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void stazioniSuNodiDiversi();
    void stessoClienteDaDueNodi();
    void salvataggiDellaStessaLdv();

private:
    QString testo(int nodo) const;
    QSqlDatabase nodo(int n);
    QVariant valore(int n, const QString &sql);
    bool esegui(int n, const QString &sql);
    // Starts the stations (computer name, node, arguments), lifts the barrier of every round and
    // gives each station's output lines.
    QList<QStringList> stazioni(const QList<QPair<QString, int>> &chi,
                                const QList<QStringList> &cosa, int giri);

    QString m_cartella = qEnvironmentVariable("RISCUTI_TEST_CLUSTER");
    QString m_database = QStringLiteral("tst_cluster_%1").arg(QCoreApplication::applicationPid());
    QTemporaryDir m_lavoro;
};

QString tst_Cluster::testo(int n) const
{
    return QStringLiteral("Socket=%1/n%2/sock;Database=%3;Uid=root;Pwd=;")
        .arg(m_cartella)
        .arg(n)
        .arg(m_database);
}

QSqlDatabase tst_Cluster::nodo(int n)
{
    const QString nome = QStringLiteral("nodo%1").arg(n);
    if (!QSqlDatabase::contains(nome)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), nome);
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=%1/n%2/sock").arg(m_cartella).arg(n));
        db.open();
        // Every read waits for what the other nodes committed before it.
        QSqlQuery(db).exec(QStringLiteral("SET SESSION wsrep_sync_wait=1"));
    }
    return QSqlDatabase::database(nome);
}

QVariant tst_Cluster::valore(int n, const QString &sql)
{
    QSqlQuery query(nodo(n));
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("errore: ") + query.lastError().text();
    return query.value(0);
}

bool tst_Cluster::esegui(int n, const QString &sql)
{
    QSqlQuery query(nodo(n));
    const bool ok = query.exec(sql);
    if (!ok)
        qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return ok;
}

void tst_Cluster::initTestCase()
{
    QVERIFY2(QFile::exists(m_cartella + QStringLiteral("/n3/sock")),
             "no cluster: run through ctest (RISCUTI_TEST_CLUSTER)");
    QVERIFY(m_lavoro.isValid());
    QVERIFY(esegui(1, QStringLiteral("DROP DATABASE IF EXISTS ") + m_database));
    QVERIFY(esegui(1, QStringLiteral("CREATE DATABASE ") + m_database));
    QProcess client;
    client.setStandardInputFile(QStringLiteral(RISCUTI_SCHEMA_SQL));
    client.start(QStringLiteral("mariadb"),
                 {QStringLiteral("--no-defaults"), QStringLiteral("-S"),
                  m_cartella + QStringLiteral("/n1/sock"), QStringLiteral("-u"),
                  QStringLiteral("root"), m_database});
    QVERIFY(client.waitForFinished(60000) && client.exitCode() == 0);
    for (int n = 1; n <= 3; ++n)
        QVERIFY(
            QTest::qWaitFor([&] { return esegui(n, QStringLiteral("USE ") + m_database); }, 10000));
}

// Customers 1 to 15, six collected January waybills each, the same numbers in every customer's
// own branch-like key; the counter at 0.
void tst_Cluster::init()
{
    const QString db;
    QVERIFY(esegui(1, QStringLiteral("DELETE FROM %1letve00f").arg(db)));
    QVERIFY(esegui(1, QStringLiteral("DELETE FROM %1contrassegni").arg(db)));
    QVERIFY(esegui(
        1, QStringLiteral("UPDATE %1zolvimacon_tabge00f SET UltimoNumDistVersam=0").arg(db)));
    QVERIFY(esegui(
        1, QStringLiteral("INSERT INTO %1letve00f (lefili, lenrlv, leanlv, ledtlv, lecodi, lecnss, "
                          "leimcs, leflic, leflsc, ledtin, lendvc) SELECT LPAD(c.seq, 2, '0'), "
                          "CONCAT('7', l.seq), 2025, '2025-01-02', c.seq, 10 + l.seq, 10 + l.seq, "
                          "'1', 0, '2025-01-03', 0 FROM seq_1_to_15 c, seq_1_to_6 l")
               .arg(db)));
}

QList<QStringList> tst_Cluster::stazioni(const QList<QPair<QString, int>> &chi,
                                         const QList<QStringList> &cosa, int giri)
{
    const QString barriera =
        m_lavoro.filePath(QStringLiteral("giro%1").arg(QRandomGenerator::global()->generate()));
    std::vector<std::unique_ptr<QProcess>> processi;
    for (int i = 0; i < chi.size(); ++i) {
        processi.push_back(std::make_unique<QProcess>());
        processi.back()->start(
            QStringLiteral("unshare"),
            QStringList{QStringLiteral("--uts"), QStringLiteral("sh"), QStringLiteral("-c"),
                        QStringLiteral("hostname \"$0\" && exec \"$@\""), chi[i].first,
                        QStringLiteral(RISCUTI_STAZIONE), testo(chi[i].second), barriera} +
                cosa[i]);
    }
    for (auto &p : processi)
        p->waitForStarted();
    QTest::qWait(300); // every station connected and waiting
    for (int giro = 0; giro < giri; ++giro)
        QFile(barriera + QString::number(giro)).open(QIODevice::WriteOnly);
    QList<QStringList> uscite;
    for (auto &p : processi) {
        if (!p->waitForFinished(120000))
            p->kill();
        uscite << QString::fromUtf8(p->readAllStandardOutput())
                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    return uscite;
}

// Three stations, each on its own node and all with one work table's name, posting five
// remittances each in step: every letter lists its own customer's waybills only, all fifteen
// posted, numbers 1 to 15 each once, every waybill remitted once, the three nodes identical.
void tst_Cluster::stazioniSuNodiDiversi()
{
    QList<QStringList> cosa;
    for (int s = 0; s < 3; ++s) {
        QStringList clienti{QStringLiteral("rimessa")};
        for (int c = 1; c <= 5; ++c)
            clienti << QString::number(s * 5 + c);
        cosa << clienti;
    }
    // The three names clean and cut to the same work table, FILIALE01Rimessa.
    const QList<QStringList> uscite = stazioni({{QStringLiteral("FILIALE01-PC3"), 1},
                                                {QStringLiteral("FILIALE01-PC4"), 2},
                                                {QStringLiteral("FILIALE01-PC5"), 3}},
                                               cosa, 5);
    QStringList numeri;
    for (const QStringList &righe : uscite) {
        QCOMPARE(righe.filter(QStringLiteral("numero|")).size(), 5);
        QCOMPARE(righe.filter(QStringLiteral("lettera|")), QStringList(5, "lettera|6 0"));
        numeri += righe.filter(QStringLiteral("numero|"));
    }
    numeri.replaceInStrings(QStringLiteral("numero|"), QString());
    std::sort(numeri.begin(), numeri.end(),
              [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    QStringList attesi;
    for (int n = 1; n <= 15; ++n)
        attesi << QString::number(n);
    QCOMPARE(numeri, attesi);
    const QString db = m_database + QLatin1Char('.');
    for (int n = 1; n <= 3; ++n) {
        // Each customer's six waybills under one number, all marked sent, on every node.
        QCOMPARE(valore(n, QStringLiteral("SELECT COUNT(DISTINCT lecodi, lendvc) FROM %1letve00f "
                                          "WHERE lendvc BETWEEN 1 AND 15 AND leflsc=1")
                               .arg(db))
                     .toInt(),
                 15);
        QCOMPARE(valore(n, QStringLiteral("SELECT COUNT(*) FROM %1letve00f WHERE lendvc=0").arg(db))
                     .toInt(),
                 0);
        QCOMPARE(
            valore(n,
                   QStringLiteral("SELECT UltimoNumDistVersam FROM %1zolvimacon_tabge00f").arg(db))
                .toInt(),
            15);
        QCOMPARE(valore(n, QStringLiteral("CHECKSUM TABLE %1letve00f").arg(db)),
                 valore(1, QStringLiteral("CHECKSUM TABLE %1letve00f").arg(db)));
    }
}

// Two stations on two nodes remitting the same customer at once: its waybills are remitted
// once, and the station that came second is told (or finds nothing left to remit).
void tst_Cluster::stessoClienteDaDueNodi()
{
    const QList<QStringList> uscite =
        stazioni({{QStringLiteral("NORD-PC1"), 1}, {QStringLiteral("SUD-PC1"), 2}},
                 {{QStringLiteral("rimessa"), QStringLiteral("7")},
                  {QStringLiteral("rimessa"), QStringLiteral("7")}},
                 1);
    const QStringList tutte = uscite.value(0) + uscite.value(1);
    QCOMPARE(tutte.filter(QStringLiteral("numero|")).size(), 1);
    QCOMPARE(tutte.filter(QRegularExpression(QStringLiteral("^(nelfrattempo|vuota)\\|"))).size(),
             1);
    QCOMPARE(valore(3, QStringLiteral("SELECT COUNT(DISTINCT lendvc) FROM %1.letve00f WHERE "
                                      "lecodi=7 AND lendvc<>0 AND leflsc=1")
                           .arg(m_database))
                 .toInt(),
             1);
}

// Two stations saving different collections on the same waybill on two nodes, round after
// round: both saves go through, and the row holds one of them whole, never a mix.
void tst_Cluster::salvataggiDellaStessaLdv()
{
    const QStringList a{QStringLiteral("salva"), QStringLiteral("71"), QStringLiteral("111,11"),
                        QStringLiteral("1"), QStringLiteral("5")};
    const QStringList b{QStringLiteral("salva"), QStringLiteral("71"), QStringLiteral("222,22"),
                        QStringLiteral("2"), QStringLiteral("5")};
    const QList<QStringList> uscite =
        stazioni({{QStringLiteral("CASSA-1"), 1}, {QStringLiteral("CASSA-2"), 2}}, {a, b}, 5);
    QCOMPARE(uscite.value(0).filter(QStringLiteral("salvato|")).size(), 5);
    QCOMPARE(uscite.value(1).filter(QStringLiteral("salvato|")).size(), 5);
    const QString riga =
        valore(3, QStringLiteral("SELECT CONCAT_WS('/', leimcs, leflic, leflsc, lefinc, "
                                 "leban, lenras, lepiaz) FROM %1.letve00f WHERE "
                                 "lefili='01' AND lenrlv='71'")
                      .arg(m_database))
            .toString();
    QVERIFY2(riga == QLatin1String("111.11/1/0/01/Banca 111,11/111,11/CASSA-1") ||
                 riga == QLatin1String("222.22/2/1/02/Banca 222,22/222,22/CASSA-2"),
             qPrintable(riga));
}

QTEST_GUILESS_MAIN(tst_Cluster)
#include "tst_cluster.moc"
