#include "data/blocco.h"
#include "data/connessione.h"
#include "data/istruzioni.h"
#include "data/istruzioni_registro.h"
#include "data/istruzioni_ricerca.h"
#include "data/recordset.h"
#include "data/riservaconnessioni.h"
#include "data/transazione.h"

#include "support/databasediprova.h"
#include "support/errori.h"

#include <QDeadlineTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <memory>

// The data layer against the real server: refusals, transactions, the reserve of connections,
// recordsets, blocks of statements, hostile text, and the schema every built statement meets.
class tst_Connessione : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void rifiuti_data();
    void rifiuti();
    void riserva();
    void recordset();
    void testoOstile_data();
    void testoOstile();
    void blocco_data();
    void blocco();
    void istruzioniSulloSchema();
    void copiaDellaVista();

private:
    // One column of every row, in order, NULL as "NULL": "select <colonna> from <resto>".
    QStringList valori(const QString &colonna, const QString &resto);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<DatabaseDiProva> m_demo; // the demo data, for the lookups' plans
};

namespace {

// The ErroreDb's text ("<number> <description>"); empty when `azione` throws none.
QString errore(const std::function<void()> &azione)
{
    try {
        azione();
    } catch (const ErroreDb &e) {
        return e.testo();
    }
    return QString();
}

QString inserisci(int n)
{
    return QStringLiteral("insert into prova_blocco (n) values (%1);").arg(n);
}

} // namespace

QStringList tst_Connessione::valori(const QString &colonna, const QString &resto)
{
    QStringList testi;
    for (const QVariantList &riga : m_db->righe("select " + colonna + " from " + resto))
        testi << (riga.at(0).isNull() ? QStringLiteral("NULL") : riga.at(0).toString());
    return testi;
}

void tst_Connessione::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    ESEGUI_SQL(*m_db, "CREATE TABLE prova_blocco (ordine INT AUTO_INCREMENT PRIMARY KEY, n INT "
                      "NOT NULL UNIQUE) ENGINE=InnoDB");
    // The demo data, for the lookups' plans.
    m_demo = std::make_unique<DatabaseDiProva>(QStringLiteral("tst_connessione_demo"));
    QVERIFY(m_demo->pronto() && m_demo->caricaDemo());
    QVERIFY(m_demo->esegui("ANALYZE TABLE letve00f, giace00f, contrassegni"));
}

void tst_Connessione::init()
{
    RiservaConnessioni::svuota();
    for (const char *tabella : {"letve00f", "contrassegni", "prova_blocco"})
        ESEGUI_SQL(*m_db, QStringLiteral("delete from ") + tabella);
}

void tst_Connessione::rifiuti_data()
{
    QTest::addColumn<QString>("testo"); // the connection text; empty: the suite's own
    QTest::addColumn<QString>("istruzione");
    QTest::addColumn<QString>("errore"); // how the message starts
    const QString s = "Socket=" + m_db->socket();
    // clang-format off
    QTest::newRow("unknown database") << s + ";Database=nessuno_qui;Uid=root" << "select 1"
        << "1049 Unknown database 'nessuno_qui'";
    QTest::newRow("no server") << "Socket=/tmp/nessun-server/sock;Uid=root" << "select 1"
        << "2002 Impossibile collegarsi al server del database (Can't connect to local server "
           "through socket '/tmp/nessun-server/sock'";
    QTest::newRow("unknown user") << s + ";Uid=nessuno;Pwd=x" << "select 1"
        << "1045 Accesso negato dal server del database (Access denied for user 'nessuno'@";
    QTest::newRow("missing table") << "" << "select * from PCNESSUNORimessa" << "1146 Table ";
    QTest::newRow("too long, on a strict server") << ""
        << "insert into letve00f (lefinc, lenrlv, leanlv) values ('123', '1', 1)"
        << "1406 Data too long for column 'lefinc'";
    QTest::newRow("two statements, never sent") << "" << "select 1; drop table prova_blocco;"
        << "3001 Il testo contiene più di un'istruzione";
    // clang-format on
}

// A refusal carries the server's number, the same through a recordset; the connection stays
// usable, and one that could not open opens once its text is right.
void tst_Connessione::rifiuti()
{
    QFETCH(QString, testo);
    QFETCH(QString, istruzione);
    QFETCH(QString, errore);
    Connessione c(testo.isEmpty() ? m_db->testoConnessione() : testo);
    const QString visto = ::errore([&] { c.apri(), c.esegui(istruzione); });
    QVERIFY2(visto.startsWith(errore), qPrintable(visto));
    Recordset rs;
    QCOMPARE(::errore([&] { rs.apri(istruzione, c.testoConnessione()); }), visto);
    c.setTestoConnessione(m_db->testoConnessione());
    c.apri();
    c.esegui(inserisci(1));
    QCOMPARE(valori("n", "prova_blocco"), QStringList{"1"});
}

// A closed connection waits for the next opening from the same text; nothing it carried may
// reach its next holder: a transaction, a time-out, a death while it waited.
void tst_Connessione::riserva()
{
    const auto sessione = [](Connessione &c) { // "<connection id> <statement time-out>"
        Recordset rs;
        rs.apri("select concat(connection_id(), ' ', round(@@max_statement_time))", c);
        return rs.campo(0).toString();
    };
    Connessione c(m_db->testoConnessione());
    c.setTimeoutComandi(1);
    c.apri();
    const QDeadlineTimer limite(2500);
    QCOMPARE(numeroErrore([&] { c.esegui("select sleep(3)"); }), 1969);
    QVERIFY(!limite.hasExpired());
    const QString primo = sessione(c).section(' ', 0, 0);
    c.iniziaTransazione();
    c.esegui(inserisci(1));
    c.chiudi();
    Connessione d(m_db->testoConnessione()); // without a time-out
    d.apri();
    QCOMPARE(sessione(d), primo + " 0");
    d.esegui(inserisci(2));
    QCOMPARE(valori("n", "prova_blocco"), QStringList{"2"}); // rolled back, then autocommit
    d.setTimeoutComandi(7);                                  // on an open connection: at once
    QCOMPARE(sessione(d), primo + " 7");
    d.chiudi();
    ESEGUI_SQL(*m_db, "kill connection " + primo);
    Connessione e(m_db->testoConnessione());
    e.apri();
    const QString nuova = sessione(e).section(' ', 0, 0);
    e.iniziaTransazione();
    ESEGUI_SQL(*m_db, "kill connection " + nuova);
    e.chiudi(); // its rollback fails: dropped, not kept
    QCOMPARE(RiservaConnessioni::numeroInAttesa(), 0);
}

void tst_Connessione::recordset()
{
    ESEGUI_SQL(*m_db, "insert into letve00f (lenrlv, leanlv, ledtlv, lecnss, leanpc, leban) values "
                      "('10', 1, '2016-02-29', 12.5, 0.1, NULL), ('20', 1, NULL, 9999999999.99, "
                      "0, ''), ('30', 1, NULL, 1, 0, 'Rossini')");
    Recordset rs;
    rs.apri("select lenrlv, LEBAN, leanpc + lecnss as somma, ledtlv, sum(lecnss) over () as "
            "totale, lefili as Doppio, leanlv as DOPPIO from letve00f order by lenrlv",
            m_db->testoConnessione());
    // By name in any case (the first of two equal names) or by position; DECIMAL as exact text.
    QCOMPARE(rs.campo("Lenrlv"), QVariant("10"));
    QCOMPARE(rs.campo("doppio"), QVariant("01"));
    QCOMPARE(rs.campo(2), QVariant("12.60"));
    QCOMPARE(rs.campo("totale"), QVariant("10000000013.49"));
    QVERIFY(rs.campo("leban").isNull());
    QCOMPARE(numeroErrore([&] { rs.campo("leban2"); }), 3265);
    QCOMPARE(numeroErrore([&] { rs.campo(7); }), 3265);
    rs.successivo();
    QVERIFY(!rs.campo("leban").isNull()); // empty, not NULL
    // Finding moves forward from the current row only; a miss leaves it past the end.
    QVERIFY(rs.trova("LEBAN LIKE ('ross%')") && rs.campo(0) == QVariant("30"));
    QVERIFY(!rs.trova("lenrlv = 20") && rs.eof() && !rs.bof());
    QCOMPARE(numeroErrore([&] { rs.campo(0); }), 3021);
    QCOMPARE(numeroErrore([&] { rs.successivo(); }), 3021);
    rs.chiudi();
    QCOMPARE(numeroErrore([&] { rs.campo(0); }), 3704);
    rs.apri("select * from prova_blocco", m_db->testoConnessione());
    QVERIFY(rs.eof() && rs.bof());
}

void tst_Connessione::testoOstile_data()
{
    QTest::addColumn<QString>("valore");
    for (const QString &ostile :
         QStringList{"D'Amico", "C:\\", "\\'", "' or 1=1 -- ", "'; drop c; --", "Forlì è 🚚💶",
                     "100%_", QString("a") + QChar(0) + "b"})
        QTest::newRow(qPrintable(ostile)) << ostile;
}

// A hostile text goes in through the save's statement and through a copied row, and comes
// back as typed; the other rows keep theirs.
void tst_Connessione::testoOstile()
{
    QFETCH(QString, valore);
    ESEGUI_SQL(*m_db, "insert into letve00f (lefili, lenrlv, leanlv, ledtlv, leban) values ('01', "
                      "'1', 1, '2015-03-04', 'uno'), ('01', '2', 1, '2015-03-04', 'due'), ('02', "
                      "'1', 1, '2015-03-04', 'tre'), ('01', '1', 2, NULL, 'quattro')");
    // Its session reads backslashes as escapes also on a server whose own mode does not.
    ESEGUI_SQL(*m_db, "SET GLOBAL sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES')");
    Connessione c(m_db->testoConnessione());
    const QString aperta = errore([&] { c.apri(); });
    ESEGUI_SQL(*m_db, "SET GLOBAL sql_mode = @@SESSION.sql_mode"); // the fixture's, as it was
    QCOMPARE(aperta, QString());
    c.esegui(Istruzioni::aggiornaTesto("leban", valore, {"1", "01", QDate(2015, 3, 4)}));
    c.esegui(Istruzioni::inserisciRighe("letve00f", {"lenrlv", "leanlv", "leban", "ledtin"},
                                        {{"3", 1, valore, QDate()}}));
    QCOMPARE(valori("leban", "letve00f order by lefili, lenrlv, leanlv"),
             QStringList({valore, "quattro", "due", valore, "tre"}));
}

void tst_Connessione::blocco_data()
{
    QTest::addColumn<int>("byteMassimi"); // about 43 bytes a statement with its separator
    QTest::addColumn<int>("rifiutata");   // the statement that repeats a number; 0: none
    QTest::addColumn<bool>("conferma");
    QTest::addColumn<QList<int>>("avanzamento");
    QTest::newRow("one block, committed") << 0 << 0 << true << QList<int>{7};
    QTest::newRow("three statements a block, no commit")
        << 150 << 0 << false << QList<int>{3, 6, 7};
    QTest::newRow("one refused") << 0 << 4 << true << QList<int>{};
    QTest::newRow("the last refused") << 0 << 7 << true << QList<int>{};
    QTest::newRow("refused in a block sent while filling") << 100 << 3 << true << QList<int>{2};
}

// Seven statements in a transaction run in order, a block goes as it fills, and the progress
// counts what the server ran; when one is refused, those before it have run and those after it
// have not. The transaction's guard rolls all back unless committed; then the connection goes
// on, each statement committed by itself.
void tst_Connessione::blocco()
{
    QFETCH(int, byteMassimi);
    QFETCH(int, rifiutata);
    QFETCH(bool, conferma);
    ESEGUI_SQL(*m_db, inserisci(0));
    Connessione c(m_db->testoConnessione());
    c.apri();
    QList<int> avanzamento;
    const QString scritti = QString("0,1,2,3,4,5,6,7").left(rifiutata ? 2 * rifiutata - 1 : 15);
    {
        Transazione transazione(c);
        const QString visto = errore([&] {
            BloccoIstruzioni blocco(c, byteMassimi);
            blocco.setDopoInvio([&](int eseguite) { avanzamento << eseguite; });
            for (int n = 1; n <= 7; ++n) // every other one without its ";"
                blocco.aggiungi(inserisci(n == rifiutata ? 0 : n).chopped(n % 2));
            blocco.invia();
            blocco.invia(); // nothing left, nothing sent
        });
        QCOMPARE(visto.left(24), QString(rifiutata ? "1062 Duplicate entry '0'" : ""));
        Recordset dentro;
        dentro.apri("select group_concat(n order by ordine) from prova_blocco", c);
        QCOMPARE(dentro.campo(0).toString(), scritti);
        QCOMPARE(valori("n", "prova_blocco"), QStringList{"0"}); // not seen outside yet
        if (conferma && !rifiutata)
            transazione.conferma();
    }
    QTEST(avanzamento, "avanzamento");
    BloccoIstruzioni(c).aggiungi(inserisci(9)); // what still waits when a block goes is not sent
    BloccoIstruzioni dopo(c);
    dopo.aggiungi(inserisci(8));
    QCOMPARE(numeroErrore([&] { dopo.aggiungi(inserisci(9) + "drop table x;"); }), 3001);
    dopo.invia();
    QCOMPARE(valori("n", "prova_blocco order by ordine"),
             ((conferma && !rifiutata ? scritti : "0") + ",8").split(','));
}

// Every statement the builders make runs on the schema: each column, table and view it names is
// there, and a value as long as a field lets it be fits on a strict server. No lookup, list page,
// report or cancellation reads a whole table of the demo data: each rides an index.
void tst_Connessione::istruzioniSulloSchema()
{
    using namespace Istruzioni;
    namespace R = IstruzioniRicerca;
    QCOMPARE(valori("UltimoNumDistVersam", "zolvimacon_tabge00f"), QStringList{"0"});
    ESEGUI_SQL(*m_db,
               "insert into letve00f (lenrlv, leanlv, ledtlv) values ('1', 1, '2026-11-21')");
    const QDate d(2026, 11, 21), dal(2026, 11, 1), al(2026, 11, 30), rimessa(2026, 11, 5);
    const ChiaveLdv ldv{"1", "01", d};
    // clang-format off
    const QStringList ricerche{
        ldvPerRiferimento("RIF-2026-00549", d), ldvPerNumero("10930", d), vistaPerNumero("1", d),
        ldvPreimpostata("10930", d, "01"), R::riferimentiDa("1001", "RIF", "2026", "01").testo(),
        R::numeriDa("1001", "01", "10900", "").testo(), R::spedizioniGiacenza("24", "2026").testo(),
        R::pagina(R::contrassegni("1001", "01", ""), {d, "RIF-2026-00549", "10930", 2026}, 9),
        selezioneRimessa(1, dal, al, "1005"), selezioneRimessaProvvisoria(1, dal, al),
        aggiornaTesto("leban", QString(40, 'b'), ldv),
        aggiornaTesto("lepiaz", QString(40, 'p'), ldv),
        annullaRimessaLdv("972", rimessa), eliminaContrassegni("972", rimessa),
        // The shipment list where the grid jumps: its rows counted, its end, its middle.
        R::conteggio(R::contrassegni("1001", "01", "")),
        R::pagina(R::contrassegni("1001", "01", ""), {}, 256, true),
        R::pagina(R::contrassegni("1001", "01", ""), {}, 256, false, 40),
        ricercaAnagrafica("clien", 2, 1, "ROSSI"),
        IstruzioniRegistro::statoIncasso(ldv, true),
        IstruzioniRegistro::storico({{}, "1001", {}, dal, al}),
        IstruzioniRegistro::sospesi({"01", "1001", al})};
    QStringList istruzioni = ricerche + QStringList{
        nomeCliente("1"), indirizzoCliente("1"), intestazioneAzienda(), leggiUltimoNumero(),
        scriviUltimoNumero("1"), timbraRimessa("letve00f", "1", d, {"01", "1", "1"}),
        segnaInviato({"01", "1", "1"}), aggiornaData("ledtin", d, ldv),
        aggiornaTesto("lenras", QString(20, '9'), ldv), R::giacenzeDal("1", d).testo(),
        inserisciContrassegno("1", d, {QString(40, 'r'), QString(40, 'b'),
                                       Importo::daCentesimi(-999999999999)}),
        R::riferimentiDaValore("1", "R", "01").testo(), R::giacenzeAnno("1", 2026).testo(),
        R::numeriDaValore("1", "1", "2026", "01").testo(),
        R::contrassegniValore("1", "R", "01").testo(),
        // What the collection window and the letter read by name from the view.
        "select lenrlv, leanlv, lefili, ledtlv, lerife, lerifd, lecodi, lecnss, leflic, leflsc, "
        "leflia, leflsa, leflip, leflsp, ledtin, lendvc, ledtvc, lefinc, letpin, leban, lenras, "
        "lepiaz, leimcs, leimap, leinpa, leflco, NrDistinta, DataDistinta, Riferimento, Banca, "
        "Importo from vdaticontrassegni"};
    // clang-format on
    for (const char *tabella : {"clien", "forni", "destinatari"})
        for (int campo = 1; campo <= 5; ++campo)
            istruzioni << ricercaAnagrafica(tabella, campo, 1, "1");
    for (const char *colonna : {"leimcs", "leimap", "leinpa"})
        istruzioni << aggiornaImporto(colonna, "-9999999999.99", ldv);
    Connessione c(m_db->testoConnessione());
    c.apri();
    QStringList rifiutate, intere;
    for (const QString &istruzione : std::as_const(istruzioni)) {
        if (const QString visto = errore([&] { c.esegui(istruzione); }); !visto.isEmpty())
            rifiutate << visto + " <- " + istruzione;
        QSqlQuery piano(m_demo->db());
        QVERIFY_SQL(piano, exec("EXPLAIN " + istruzione));
        while (piano.next() && ricerche.contains(istruzione)) {
            // (a derived table is the statement's own result, read once)
            if (piano.value("type").toString() == QLatin1String("ALL") &&
                !piano.value("table").toString().startsWith(u'<'))
                intere << piano.value("table").toString() + " <- " + istruzione;
        }
    }
    QCOMPARE(rifiutate, QStringList());
    QCOMPARE(intere, QStringList());
}

// The station's work table, a copy of the view's structure, gets the waybill's key and the type
// of every source column (not the type of an expression, nor a table without a key that every
// update of a row would read whole).
void tst_Connessione::copiaDellaVista()
{
    ESEGUI_SQL(*m_db, "CREATE OR REPLACE TABLE copia (PRIMARY KEY (lefili, lenrlv, leanlv)) "
                      "SELECT * FROM vdaticontrassegni LIMIT 0");
    const QString colonne = "information_schema.%1 k where TABLE_SCHEMA = database() and "
                            "TABLE_NAME = 'copia' and %2";
    QCOMPARE(valori("group_concat(COLUMN_NAME)",
                    colonne.arg("COLUMNS", "not COLUMN_TYPE <=> (select max(COLUMN_TYPE) from "
                                           "information_schema.COLUMNS where TABLE_SCHEMA = "
                                           "database() and TABLE_NAME in ('letve00f', "
                                           "'contrassegni') and COLUMN_NAME = k.COLUMN_NAME)")),
             QStringList{"NULL"});
    QCOMPARE(valori("group_concat(COLUMN_NAME order by SEQ_IN_INDEX)",
                    colonne.arg("STATISTICS", "INDEX_NAME = 'PRIMARY'")),
             QStringList{"lefili,lenrlv,leanlv"});
}

QTEST_GUILESS_MAIN(tst_Connessione)
#include "tst_connessione.moc"
