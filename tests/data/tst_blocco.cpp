#include "data/blocco.h"
#include "data/connessione.h"
#include "data/erroredb.h"

#include "support/databasediprova.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <memory>

// Statements sent several to a round trip against the real server: they run in order, a block
// is sent as it fills, and a refusal anywhere in a block is thrown with the server's number
// while the statements after it do not run and the connection stays usable.
class tst_Blocco : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void istruzioniInOrdine_data();
    void istruzioniInOrdine();
    void rifiutoNelBlocco_data();
    void rifiutoNelBlocco();
    void testoConPiuIstruzioniMaiInviato();

private:
    QList<int> righe();

    std::unique_ptr<DatabaseDiProva> m_db;
};

namespace {

// Each row records its number and the order it arrived in.
QString inserisci(int n)
{
    return QStringLiteral("insert into prova_blocco (n) values (%1);").arg(n);
}

} // namespace

void tst_Blocco::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    ESEGUI_SQL(*m_db, QStringLiteral("CREATE TABLE prova_blocco (ordine INT AUTO_INCREMENT "
                                     "PRIMARY KEY, n INT NOT NULL UNIQUE) ENGINE=InnoDB"));
}

void tst_Blocco::init()
{
    ESEGUI_SQL(*m_db, QStringLiteral("TRUNCATE TABLE prova_blocco"));
}

QList<int> tst_Blocco::righe()
{
    QList<int> numeri;
    for (const QVariantList &riga : m_db->righe(QStringLiteral("SELECT n FROM prova_blocco "
                                                               "ORDER BY ordine")))
        numeri << riga.value(0).toInt();
    return numeri;
}

void tst_Blocco::istruzioniInOrdine_data()
{
    QTest::addColumn<int>("byteMassimi");
    QTest::addColumn<int>("quante");

    // About 45 bytes a statement.
    QTest::newRow("all in one block") << 0 << 500;
    QTest::newRow("a few statements a block") << 200 << 23;
    QTest::newRow("one statement a block") << 10 << 5;
}

void tst_Blocco::istruzioniInOrdine()
{
    QFETCH(int, byteMassimi);
    QFETCH(int, quante);

    Connessione c(m_db->testoConnessione());
    c.apri();
    BloccoIstruzioni blocco(c, byteMassimi);
    QVERIFY(blocco.byteMassimi() > 0);
    QList<int> attesi;
    int inviate = 0;
    for (int n = 1; n <= quante; ++n) {
        // Every other statement without its ";": the block ends it.
        QString istruzione = inserisci(n);
        if (n % 2)
            istruzione.chop(1);
        const int prima = blocco.inAttesa();
        blocco.aggiungi(istruzione);
        if (blocco.inAttesa() <= prima)
            inviate += prima;
        attesi << n;
    }
    // What was sent while the block filled is in the table; the rest waits for invia().
    QCOMPARE(int(righe().size()), inviate);
    QCOMPARE(inviate + blocco.inAttesa(), quante);
    QCOMPARE(inviate > 0, byteMassimi > 0);
    blocco.invia();
    QCOMPARE(blocco.inAttesa(), 0);
    QCOMPARE(righe(), attesi);
    blocco.invia(); // nothing left: nothing sent
    QCOMPARE(righe(), attesi);
}

void tst_Blocco::rifiutoNelBlocco_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("byteMassimi");

    QTest::newRow("first of the block refused") << 1 << 0;
    QTest::newRow("middle of the block refused") << 4 << 0;
    QTest::newRow("last of the block refused") << 7 << 0;
    QTest::newRow("refused in a block sent while filling") << 3 << 100;
}

// Statement k repeats a number already in the table; inside a transaction the statements before
// it have run, those after it have not, and the rollback takes everything back.
void tst_Blocco::rifiutoNelBlocco()
{
    QFETCH(int, k);
    QFETCH(int, byteMassimi);
    ESEGUI_SQL(*m_db, QStringLiteral("insert into prova_blocco (n) values (0)"));

    Connessione c(m_db->testoConnessione());
    c.apri();
    c.iniziaTransazione();
    BloccoIstruzioni blocco(c, byteMassimi);
    try {
        for (int n = 1; n <= 7; ++n)
            blocco.aggiungi(inserisci(n == k ? 0 : n));
        blocco.invia();
        QFAIL("the refusal was not thrown");
    } catch (const ErroreDb &e) {
        QCOMPARE(e.numero(), 1062);
        QVERIFY2(e.descrizione().startsWith(QLatin1String("Duplicate entry '0'")),
                 qPrintable(e.descrizione()));
    }
    QSqlQuery query(c.database());
    QVERIFY_SQL(query, exec(QStringLiteral("SELECT COUNT(*), COALESCE(MAX(n), 0) FROM "
                                           "prova_blocco WHERE n > 0")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), k - 1);
    QCOMPARE(query.value(1).toInt(), k - 1);
    c.annullaTransazione();
    QCOMPARE(righe(), QList<int>{0});

    // The connection is in step again: the next block runs.
    BloccoIstruzioni dopo(c);
    dopo.aggiungi(inserisci(8));
    dopo.invia();
    QCOMPARE(righe(), (QList<int>{0, 8}));
}

void tst_Blocco::testoConPiuIstruzioniMaiInviato()
{
    Connessione c(m_db->testoConnessione());
    c.apri();
    BloccoIstruzioni blocco(c);
    blocco.aggiungi(inserisci(1));
    try {
        blocco.aggiungi(inserisci(2) + QStringLiteral(" drop table prova_blocco;"));
        QFAIL("the text of two statements was accepted");
    } catch (const ErroreDb &e) {
        QCOMPARE(e.numero(), 3001);
    }
    QCOMPARE(blocco.inAttesa(), 1);
    blocco.invia();
    QCOMPARE(righe(), QList<int>{1});
}

QTEST_GUILESS_MAIN(tst_Blocco)
#include "tst_blocco.moc"
