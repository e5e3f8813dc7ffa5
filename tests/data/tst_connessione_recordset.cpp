#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "data/riservaconnessioni.h"

#include "support/databasediprova.h"

#include <QSqlQuery>
#include <QTest>

#include <functional>
#include <memory>

// The connection and the recordset against the real server: errors carry the server's number,
// transactions hold, and results come back exact.
class tst_ConnessioneRecordset : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void apreEChiude();
    void connessioneFallita_data();
    void connessioneFallita();
    void istruzioneRifiutata_data();
    void istruzioneRifiutata();
    void transazioni();
    void timeoutComandi();
    void riservaDiConnessioni();

    void scorrimento();
    void campi();
    void valoriEsatti();
    void recordsetSuConnessioneComune();
    void aggiuntaRighe();
    void aggiuntaSoloSuTabella();
    void trova();

private:
    // Runs `azione` and checks it throws ErroreDb with `numero`; returns the description.
    QString erroreDi(const std::function<void()> &azione, int numero);

    std::unique_ptr<DatabaseDiProva> m_db;
};

QString tst_ConnessioneRecordset::erroreDi(const std::function<void()> &azione, int numero)
{
    try {
        azione();
    } catch (const ErroreDb &e) {
        [&] { QCOMPARE(e.numero(), numero); }();
        [&] { QCOMPARE(QString::fromUtf8(e.what()), e.testo()); }();
        return e.descrizione();
    }
    [&] { QFAIL(qPrintable(QStringLiteral("no error, expected %1").arg(numero))); }();
    return QString();
}

void tst_ConnessioneRecordset::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
}

void tst_ConnessioneRecordset::init()
{
    ESEGUI_SQL(*m_db, QStringLiteral("delete from clien"));
    ESEGUI_SQL(*m_db, QStringLiteral("delete from letve00f"));
}

void tst_ConnessioneRecordset::apreEChiude()
{
    Connessione c(m_db->testoConnessione());
    QVERIFY(!c.aperta());
    erroreDi([&] { c.esegui(QStringLiteral("select 1")); }, ErroreDb::ConnessioneChiusa);
    c.apri();
    QVERIFY(c.aperta());
    c.apri(); // already open: nothing happens
    QVERIFY(c.aperta());
    QCOMPARE(c.database().databaseName(), m_db->nome());
    c.esegui(QStringLiteral("select 1"));
    c.chiudi();
    QVERIFY(!c.aperta());
    c.chiudi(); // closing twice is harmless
    c.apri();   // and it opens again
    QVERIFY(c.aperta());
}

void tst_ConnessioneRecordset::connessioneFallita_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("nellaDescrizione");

    const QString socket = m_db ? m_db->socket() : QString();
    QTest::newRow("unknown database")
        << QStringLiteral("Socket=%1;Database=nessuno_qui;Uid=root;Pwd=;").arg(socket) << 1049
        << "nessuno_qui";
    QTest::newRow("wrong socket") << QStringLiteral(
                                         "Socket=/tmp/nessun-server/sock;Database=x;Uid=root;Pwd=;")
                                  << 2002
                                  << "Impossibile collegarsi al server del database "
                                     "(Can't connect to local server through socket "
                                     "'/tmp/nessun-server/sock'";
    QTest::newRow("unknown user")
        << QStringLiteral("Socket=%1;Database=%2;Uid=nessuno;Pwd=x;").arg(socket, m_db->nome())
        << 1045 << "nessuno";
}

void tst_ConnessioneRecordset::connessioneFallita()
{
    QFETCH(QString, testo);
    QFETCH(int, numero);
    QFETCH(QString, nellaDescrizione);

    Connessione c(testo);
    const QString descrizione = erroreDi([&] { c.apri(); }, numero);
    QVERIFY2(descrizione.contains(nellaDescrizione), qPrintable(descrizione));
    QVERIFY(!c.aperta());

    // The same failure through a recordset opened with the connection text.
    Recordset rs;
    erroreDi([&] { rs.apri(QStringLiteral("select 1"), testo); }, numero);
    QVERIFY(!rs.aperto());

    // A corrected text opens: the failed attempt left nothing behind.
    c.setTestoConnessione(m_db->testoConnessione());
    c.apri();
    QVERIFY(c.aperta());
}

void tst_ConnessioneRecordset::istruzioneRifiutata_data()
{
    QTest::addColumn<QString>("istruzione");
    QTest::addColumn<int>("numero");

    QTest::newRow("missing table") << "select * from PCNESSUNORimessa;" << 1146;
    QTest::newRow("syntax") << "selec 1;" << 1064;
    QTest::newRow("unknown column") << "update letve00f set lenessuna=1;" << 1054;
    QTest::newRow("value that does not fit") << "insert into letve00f (lenrlv, leanlv, lefili) "
                                                "values ('1', 2015, 'troppo lungo')"
                                             << 1406;
    QTest::newRow("two statements in one text, never sent")
        << "update letve00f set leban='x'; drop table clien;" << 3001;
}

void tst_ConnessioneRecordset::istruzioneRifiutata()
{
    QFETCH(QString, istruzione);
    QFETCH(int, numero);

    Connessione c(m_db->testoConnessione());
    c.apri();
    const QString descrizione = erroreDi([&] { c.esegui(istruzione); }, numero);
    QVERIFY(!descrizione.isEmpty());
    QVERIFY(c.aperta()); // a refused statement leaves the connection usable
    c.esegui(QStringLiteral("select 1"));

    Recordset rs;
    erroreDi([&] { rs.apri(istruzione, c); }, numero);
    QVERIFY(!rs.aperto());
    QCOMPARE(m_db->valore(QStringLiteral("select count(*) from information_schema.tables where "
                                         "table_schema=database() and table_name='clien'"))
                 .toInt(),
             1);
}

void tst_ConnessioneRecordset::transazioni()
{
    const QString conta = QStringLiteral("select count(*) from clien");
    auto inserisci = [](Connessione &c, int codice) {
        c.esegui(QStringLiteral("insert into clien (Codice, RagioneSociale) values (%1, 'x')")
                     .arg(codice));
    };

    Connessione c(m_db->testoConnessione());
    c.apri();
    c.iniziaTransazione();
    QVERIFY(c.inTransazione());
    inserisci(c, 1);
    inserisci(c, 2);
    QCOMPARE(m_db->valore(conta).toInt(), 0); // not visible from another connection yet
    c.confermaTransazione();
    QVERIFY(!c.inTransazione());
    QCOMPARE(m_db->valore(conta).toInt(), 2);

    c.iniziaTransazione();
    inserisci(c, 3);
    c.annullaTransazione();
    QVERIFY(!c.inTransazione());
    QCOMPARE(m_db->valore(conta).toInt(), 2);

    // A failing statement inside a transaction: the rollback takes the earlier ones back too.
    c.iniziaTransazione();
    inserisci(c, 4);
    erroreDi([&] { inserisci(c, 1); }, 1062);
    c.annullaTransazione();
    QCOMPARE(m_db->valore(conta).toInt(), 2);

    // Closing with a transaction open rolls it back.
    c.iniziaTransazione();
    inserisci(c, 5);
    c.chiudi();
    QVERIFY(!c.inTransazione());
    QCOMPARE(m_db->valore(conta).toInt(), 2);

    // After a commit, statements are committed one by one again.
    c.apri();
    inserisci(c, 6);
    QCOMPARE(m_db->valore(conta).toInt(), 3);
}

void tst_ConnessioneRecordset::timeoutComandi()
{
    Connessione c(m_db->testoConnessione());
    c.setTimeoutComandi(1);
    c.apri();
    QElapsedTimer tempo;
    tempo.start();
    const QString descrizione =
        erroreDi([&] { c.esegui(QStringLiteral("select sleep(3)")); }, 1969);
    QVERIFY2(tempo.elapsed() < 2500, qPrintable(QString::number(tempo.elapsed())));
    QVERIFY2(descrizione.contains(QLatin1String("max_statement_time")), qPrintable(descrizione));

    // Changed on an open connection, it applies at once; 0 means no limit.
    c.setTimeoutComandi(0);
    c.esegui(QStringLiteral("select sleep(1.2)"));
    c.setTimeoutComandi(1);
    erroreDi([&] { c.esegui(QStringLiteral("select sleep(3)")); }, 1969);

    // A recordset on the connection is held to the same limit.
    Recordset rs;
    erroreDi([&] { rs.apri(QStringLiteral("select sleep(3) as s"), c); }, 1969);
}

// A closed connection waits for the next opening from the same text; what it carries over must
// never reach its next holder: an open transaction, a time-out, a death while it waited.
void tst_ConnessioneRecordset::riservaDiConnessioni()
{
    const auto id = [](Connessione &c) {
        Recordset rs;
        rs.apri(QStringLiteral("select connection_id()"), c);
        return rs.campo(0).toLongLong();
    };
    const auto sessioniSulServer = [&] {
        return m_db
            ->valore(QStringLiteral("select count(*) from information_schema.processlist "
                                    "where db='%1'")
                         .arg(m_db->nome()))
            .toInt();
    };
    RiservaConnessioni::svuota();
    const int prima = sessioniSulServer();

    Connessione c(m_db->testoConnessione());
    c.setTimeoutComandi(1);
    c.apri();
    const qlonglong primo = id(c);
    c.iniziaTransazione();
    c.esegui(QStringLiteral("insert into clien (Codice, RagioneSociale) values (1, 'x')"));
    c.chiudi();
    QCOMPARE(RiservaConnessioni::numeroInAttesa(), 1);

    // Taken again: the same login, the transaction rolled back, autocommit, the new time-out.
    Connessione d(m_db->testoConnessione());
    d.apri();
    QCOMPARE(id(d), primo);
    QCOMPARE(m_db->valore(QStringLiteral("select count(*) from clien")).toInt(), 0);
    d.esegui(QStringLiteral("insert into clien (Codice, RagioneSociale) values (2, 'y')"));
    QCOMPARE(m_db->valore(QStringLiteral("select count(*) from clien")).toInt(), 1);
    Recordset tempo;
    tempo.apri(QStringLiteral("select @@max_statement_time"), d);
    QCOMPARE(tempo.campo(0).toDouble(), 0.0);
    d.chiudi();

    // Killed while it waited: the next opening gets a live connection and no error.
    ESEGUI_SQL(*m_db, QStringLiteral("kill connection %1").arg(primo));
    Recordset rs;
    rs.apri(QStringLiteral("select connection_id()"), m_db->testoConnessione());
    QVERIFY(rs.campo(0).toLongLong() != primo);
    rs.chiudi();

    // Cut in the middle of a transaction: the rollback on closing fails, so it does not wait.
    Connessione e(m_db->testoConnessione());
    e.apri();
    e.iniziaTransazione();
    const qlonglong tagliata = id(e);
    ESEGUI_SQL(*m_db, QStringLiteral("kill connection %1").arg(tagliata));
    e.chiudi();
    QCOMPARE(RiservaConnessioni::numeroInAttesa(), 0);

    // Only a few wait; emptying the reserve logs them all out.
    std::vector<std::unique_ptr<Connessione>> tante;
    for (int i = 0; i < 6; ++i) {
        tante.push_back(std::make_unique<Connessione>(m_db->testoConnessione()));
        tante.back()->apri();
    }
    tante.clear();
    QCOMPARE(RiservaConnessioni::numeroInAttesa(), 4);
    QTRY_COMPARE(sessioniSulServer(), prima + 4);
    RiservaConnessioni::svuota();
    QCOMPARE(RiservaConnessioni::numeroInAttesa(), 0);
    QTRY_COMPARE(sessioniSulServer(), prima);
}

void tst_ConnessioneRecordset::scorrimento()
{
    Recordset rs;
    QVERIFY(!rs.aperto());
    rs.apri(QStringLiteral("select Codice from clien;"), m_db->testoConnessione());
    QVERIFY(rs.aperto());
    QVERIFY(rs.eof());
    QVERIFY(rs.bof());
    erroreDi([&] { rs.campo(0); }, ErroreDb::NessunRecordCorrente);
    erroreDi([&] { rs.campo(QStringLiteral("Codice")); }, ErroreDb::NessunRecordCorrente);
    erroreDi([&] { rs.successivo(); }, ErroreDb::NessunRecordCorrente);

    ESEGUI_SQL(*m_db, QStringLiteral("insert into clien (Codice, RagioneSociale) values "
                                     "(10, 'a'), (20, 'b'), (30, 'c')"));
    rs.apri(QStringLiteral("select Codice from clien order by Codice"), m_db->testoConnessione());
    QVERIFY(!rs.eof());
    QVERIFY(!rs.bof());
    QList<int> visti;
    while (!rs.eof()) {
        visti << rs.campo(0).toInt();
        rs.successivo();
    }
    QCOMPARE(visti, QList<int>({10, 20, 30}));
    QVERIFY(rs.eof());
    QVERIFY(!rs.bof());
    erroreDi([&] { rs.campo(0); }, ErroreDb::NessunRecordCorrente);
    erroreDi([&] { rs.successivo(); }, ErroreDb::NessunRecordCorrente);
    rs.primo();
    QCOMPARE(rs.campo(0).toInt(), 10);

    rs.chiudi();
    QVERIFY(!rs.aperto());
    QVERIFY(rs.eof());
    erroreDi([&] { rs.campo(0); }, ErroreDb::ConnessioneChiusa);
}

void tst_ConnessioneRecordset::campi()
{
    ESEGUI_SQL(*m_db,
               QStringLiteral("insert into letve00f (lefili, lenrlv, leanlv, ledtlv, leimpa, "
                              "lendvc) values ('01', '77', 2015, '2015-03-04', 5, 9)"));
    Recordset rs;
    rs.apri(QStringLiteral("select lefili, Lenrlv, LEIMPA, lendvc as LENDVC from letve00f"),
            m_db->testoConnessione());
    QCOMPARE(rs.numeroCampi(), 4);
    QCOMPARE(rs.nomeCampo(1), QStringLiteral("Lenrlv"));
    QCOMPARE(rs.campo(QStringLiteral("LENRLV")).toString(), QStringLiteral("77"));
    QCOMPARE(rs.campo(QStringLiteral("lenrlv")).toString(), QStringLiteral("77"));
    QCOMPARE(rs.campo(QStringLiteral("leimpa")).toString(), QStringLiteral("5.00"));
    QCOMPARE(rs.campo(QStringLiteral("Lendvc")).toInt(), 9);
    QCOMPARE(rs.campo(0).toString(), QStringLiteral("01"));
    QCOMPARE(rs.campo(3).toInt(), 9);
    QVERIFY(rs.haCampo(QStringLiteral("LeFiLi")));
    QVERIFY(!rs.haCampo(QStringLiteral("leban")));

    const QString descrizione =
        erroreDi([&] { rs.campo(QStringLiteral("leban")); }, ErroreDb::ElementoNonTrovato);
    QVERIFY2(descrizione.contains(QLatin1String("leban")), qPrintable(descrizione));
    erroreDi([&] { rs.campo(4); }, ErroreDb::ElementoNonTrovato);
    erroreDi([&] { rs.campo(-1); }, ErroreDb::ElementoNonTrovato);

    // Opened again on other columns: only the new names; of two equal names, the first.
    rs.apri(QStringLiteral("select 1 as Doppio, 2 as DOPPIO, 3 as lenrlv"),
            m_db->testoConnessione());
    QCOMPARE(rs.campo(QStringLiteral("doppio")).toInt(), 1);
    QCOMPARE(rs.campo(QStringLiteral("LENRLV")).toInt(), 3);
    QVERIFY(!rs.haCampo(QStringLiteral("lefili")));
}

void tst_ConnessioneRecordset::valoriEsatti()
{
    ESEGUI_SQL(*m_db, QStringLiteral(
                          "insert into letve00f (lefili, lenrlv, leanlv, ledtlv, lecnss, leanpc, "
                          "leimpa, leban, ledtin) values "
                          "('01', '1', 2015, '2016-02-29', 12.5, 0.1, 0.2, NULL, NULL), "
                          "('01', '2', 2015, '2015-03-04', 9999999999.99, -0.01, 0, '', NULL)"));
    Recordset rs;
    rs.apri(QStringLiteral("select lecnss, leanpc + leimpa as somma, ledtlv, leban, ledtin, "
                           "sum(lecnss) over () as totale from letve00f order by lenrlv"),
            m_db->testoConnessione());
    QCOMPARE(rs.campo(QStringLiteral("lecnss")), QVariant(QStringLiteral("12.50")));
    QCOMPARE(rs.campo(QStringLiteral("somma")), QVariant(QStringLiteral("0.30")));
    QCOMPARE(rs.campo(QStringLiteral("totale")), QVariant(QStringLiteral("10000000012.49")));
    QCOMPARE(rs.campo(QStringLiteral("ledtlv")), QVariant(QDate(2016, 2, 29)));
    QVERIFY(rs.campo(QStringLiteral("leban")).isNull());
    QVERIFY(rs.campo(QStringLiteral("ledtin")).isNull());
    rs.successivo();
    QCOMPARE(rs.campo(QStringLiteral("lecnss")), QVariant(QStringLiteral("9999999999.99")));
    QCOMPARE(rs.campo(QStringLiteral("somma")), QVariant(QStringLiteral("-0.01")));
    QCOMPARE(rs.campo(QStringLiteral("ledtlv")), QVariant(QDate(2015, 3, 4)));
    QVERIFY(!rs.campo(QStringLiteral("leban")).isNull()); // an empty text is not NULL
    QCOMPARE(rs.campo(QStringLiteral("leban")).toString(), QString());
}

// A recordset on a connection the caller owns sees the caller's transaction and leaves the
// connection open when it closes.
void tst_ConnessioneRecordset::recordsetSuConnessioneComune()
{
    Connessione c(m_db->testoConnessione());
    c.apri();
    c.iniziaTransazione();
    c.esegui(QStringLiteral("insert into clien (Codice, RagioneSociale) values (5, 'in corso')"));
    {
        Recordset rs;
        rs.apri(QStringLiteral("select RagioneSociale from clien where Codice=5;"), c);
        QCOMPARE(rs.campo(0).toString(), QStringLiteral("in corso"));
        Recordset altro; // on a connection of its own: the insert is not committed yet
        altro.apri(QStringLiteral("select RagioneSociale from clien where Codice=5;"),
                   m_db->testoConnessione());
        QVERIFY(altro.eof());
    }
    QVERIFY(c.aperta());
    QVERIFY(c.inTransazione());
    c.annullaTransazione();
}

void tst_ConnessioneRecordset::aggiuntaRighe()
{
    const QStringList ostili = {QStringLiteral("D'Amico"),
                                QStringLiteral("\\'; drop table clien; --"), QStringLiteral("C:\\"),
                                QStringLiteral("Forlì 🚚")};
    Connessione c(m_db->testoConnessione());
    c.apri();
    Recordset rs;
    rs.apri(QStringLiteral("letve00f"), c);
    QVERIFY(rs.eof());
    for (int i = 0; i < ostili.size(); ++i) {
        rs.aggiungiNuovo();
        rs.impostaCampo(QStringLiteral("LENRLV"), QString::number(100 + i));
        rs.impostaCampo(QStringLiteral("leanlv"), 2015);
        rs.impostaCampo(QStringLiteral("ledtlv"), QDate(2015, 3, 4));
        rs.impostaCampo(QStringLiteral("lecnss"), QStringLiteral("12.35"));
        rs.impostaCampo(QStringLiteral("leban"), ostili.at(i));
        rs.impostaCampo(QStringLiteral("ledtin"), QVariant(QMetaType::fromType<QDate>()));
        rs.aggiorna();
        QCOMPARE(rs.campo(QStringLiteral("leban")).toString(), ostili.at(i));
    }
    erroreDi(
        [&] {
            rs.aggiungiNuovo();
            rs.impostaCampo(QStringLiteral("nessuna"), 1);
        },
        ErroreDb::ElementoNonTrovato);

    const QList<QVariantList> righe = m_db->righe(QStringLiteral(
        "select lenrlv, leban, lecnss, ledtlv, ledtin, lefili from letve00f order by lenrlv"));
    QCOMPARE(righe.size(), ostili.size());
    for (int i = 0; i < ostili.size(); ++i) {
        QCOMPARE(righe.at(i).at(0).toString(), QString::number(100 + i));
        QCOMPARE(righe.at(i).at(1).toString(), ostili.at(i));
        QCOMPARE(righe.at(i).at(2).toString(), QStringLiteral("12.35"));
        QCOMPARE(righe.at(i).at(3).toDate(), QDate(2015, 3, 4));
        QVERIFY(righe.at(i).at(4).isNull());
        QCOMPARE(righe.at(i).at(5).toString(), QStringLiteral("01")); // the column's default
    }

    // A refused row throws and writes nothing.
    rs.aggiungiNuovo();
    rs.impostaCampo(QStringLiteral("lenrlv"), QStringLiteral("100"));
    rs.impostaCampo(QStringLiteral("leanlv"), 2015);
    erroreDi([&] { rs.aggiorna(); }, 1062);
    QCOMPARE(m_db->valore(QStringLiteral("select count(*) from letve00f")).toInt(), ostili.size());
}

void tst_ConnessioneRecordset::aggiuntaSoloSuTabella()
{
    Recordset rs;
    rs.apri(QStringLiteral("select * from letve00f;"), m_db->testoConnessione());
    erroreDi([&] { rs.aggiungiNuovo(); }, 3251);
    erroreDi([&] { rs.impostaCampo(QStringLiteral("leban"), QStringLiteral("x")); }, 3251);

    // A bare name that is not a table of the database is the server's refusal.
    erroreDi([&] { rs.apri(QStringLiteral("PCNESSUNORimessa"), m_db->testoConnessione()); }, 1146);
}

void tst_ConnessioneRecordset::trova()
{
    ESEGUI_SQL(*m_db, QStringLiteral("insert into clien (Filiale, Codice, RagioneSociale) values "
                                     "('01', 100, 'Rossi'), ('02', 123, 'Bianchi'), "
                                     "('03', 1234, 'Rossini'), ('04', 200, 'Verdi')"));
    Recordset rs;
    rs.apri(QStringLiteral("select * from clien order by Filiale"), m_db->testoConnessione());

    QVERIFY(rs.trova(QStringLiteral(" Codice LIKE ('123')")));
    QCOMPARE(rs.campo(QStringLiteral("Filiale")).toString(), QStringLiteral("02"));
    // From the current row on: found again where it stands.
    QVERIFY(rs.trova(QStringLiteral(" Codice LIKE ('123')")));
    QCOMPARE(rs.campo(QStringLiteral("Filiale")).toString(), QStringLiteral("02"));
    // Only forward: the row before is not found, and a miss leaves the recordset at its end.
    rs.successivo();
    QVERIFY(!rs.trova(QStringLiteral(" Codice LIKE ('100')")));
    QVERIFY(rs.eof());
    erroreDi([&] { rs.campo(0); }, ErroreDb::NessunRecordCorrente);

    rs.primo();
    QVERIFY(rs.trova(QStringLiteral("RagioneSociale LIKE ('ross%')")));
    QCOMPARE(rs.campo(QStringLiteral("Codice")).toInt(), 100);
    rs.successivo();
    QVERIFY(rs.trova(QStringLiteral("RagioneSociale LIKE ('Ross%')")));
    QCOMPARE(rs.campo(QStringLiteral("Codice")).toInt(), 1234);
    rs.primo();
    QVERIFY(rs.trova(QStringLiteral("Codice = 200")));
    QCOMPARE(rs.campo(QStringLiteral("RagioneSociale")).toString(), QStringLiteral("Verdi"));
    rs.primo();
    QVERIFY(!rs.trova(QStringLiteral(" Codice LIKE ('12')")));
    QVERIFY(rs.eof());

    erroreDi(
        [&] {
            rs.primo();
            rs.trova(QStringLiteral("Nessuno LIKE ('1')"));
        },
        ErroreDb::ElementoNonTrovato);
}

QTEST_GUILESS_MAIN(tst_ConnessioneRecordset)
#include "tst_connessione_recordset.moc"
