// The remittance run on the real server, without windows: what the posting of each type writes
// and hands to the letter, what a refused statement or a cut connection leaves of a posting or a
// cancellation (nothing), the station's work table, and several stations posting at once (the
// check against another station's posting among them).
#include "remittance/annullamentorimessa.h"
#include "remittance/registrazionerimessa.h"

#include "data/connessione.h"
#include "remittance/controllidb.h"
#include "remittance/postazione.h"
#include "remittance/tabellalavoro.h"
#include "services/modprincipale.h"
#include "support/errori.h"

#include <QProcess>
#include <QSet>
#include <QTest>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using ControlliDb::testi;

namespace {

const QString tabella = u"PC01Rimessa"_s;
const QString assegno = u"A-77/1|Banca dell'Adda|1234.50"_s;

QStringList letteraAssegno(const QString &allegato)
{
    return {u"In allegato vi trasmettiamo assegno/bonifico nr. A-77/1 emesso a Vs. ordine,"_s,
            u"tratto su: Banca dell'Adda per l'importo di 1.234,50\u00a0€"_s,
            u"relativo ai contrassegni incassati a fronte delle seguenti spedizioni:"_s, allegato};
}

// Customer 1001, January 2025, our cheque A-77/1 of 1,234.50 on Banca dell'Adda.
RichiestaRimessa richiesta(int tipo)
{
    const Istruzioni::DatiAssegno assegno{u"A-77/1"_s, u"Banca dell'Adda"_s,
                                          Importo::daCentesimi(123450)};
    return {u"1001"_s, tipo, QDate(2025, 1, 1), QDate(2025, 1, 31), assegno};
}

} // namespace

class tst_RegistrazioneRimessa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void registra_data();
    void registra();
    void guasto_data();
    void guasto();
    void tabellaDiLavoro_data();
    void tabellaDiLavoro();
    void postazioniConcorrenti_data();
    void postazioniConcorrenti();

private:
    // The waybills' remittance state, the records and the last number, as lines.
    QStringList stato()
    {
        return testi(*m_db, u"SELECT lefili, lenrlv, leanlv, lendvc, ledtvc, leflsc FROM "
                            "letve00f ORDER BY 1, 2, 3"_s) +
               testi(*m_db, u"SELECT NrDistinta, DataDistinta, Riferimento, Banca, Importo "
                            "FROM contrassegni ORDER BY Id"_s) +
               testi(*m_db, u"SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f"_s);
    }

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<Connessione> m_connessione;
};

void tst_RegistrazioneRimessa::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    modPrincipale::setPercorsoFileIni(QStringLiteral(RISCUTI_SOURCE_DIR "/db/riscuti-demo.ini"));
}

void tst_RegistrazioneRimessa::init()
{
    m_connessione.reset(); // with whatever a fault left open on it
    const QString pulizia = u"DROP TRIGGER IF EXISTS guasto; DROP TABLE IF EXISTS PC01Rimessa;"_s;
    QVERIFY(m_db->caricaTesto(pulizia + QString::fromUtf8(ControlliDb::datiRimessa)));
    m_connessione = std::make_unique<Connessione>(m_db->testoConnessione());
    m_connessione->apri();
}

void tst_RegistrazioneRimessa::registra_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("chiavi");      // in the order of their collection dates
    QTest::addColumn<QStringList>("lettera"); // entries 2 to 5
    const QStringList incassati{
        u"In allegato vi trasmettiamo i sottoelencati assegni incassati per Vs. conto."_s,
        u"L'occasione è gradita per porgerVi cordiali saluti."_s, QString(), QString()};
    QTest::newRow("In Cassa") << 1 << u"01|1001|2025 02|1002|2025"_s << incassati;
    QTest::newRow("Invio assegno mitt.") << 2 << u"01|2001|2025"_s << incassati;
    QTest::newRow("Invio ns assegno") << 3 << u"01|3001|2025 01|3002|2025 03|3003|2025"_s
                                      << letteraAssegno(u"Allegato n.1 assegno bancario"_s);
    QTest::newRow("Bonifico Bancario") << 4 << u"01|4001|2025"_s << letteraAssegno({});
}

// Every row the posting writes (the waybills' stamps and sent marks, a record of our cheque or
// transfer per waybill, the work table's stamps, the last number 41 -> 42), its progress and the
// letter's nine texts. (The provisional letter, which changes nothing, is the window's "No".)
void tst_RegistrazioneRimessa::registra()
{
    QFETCH(int, tipo);
    QFETCH(QString, chiavi);
    QFETCH(QStringList, lettera);
    const QString oggi = u"42|"_s + QDate::currentDate().toString(Qt::ISODate);
    const QString timbri = tipo >= 3 ? oggi + u'|' + assegno : u"-|-|-|-|-"_s;
    const QStringList ldv = chiavi.split(u' ');
    QStringList atteso = stato();
    for (QString &riga : atteso) {
        if (ldv.contains(riga.section(u'|', 0, 2)))
            riga = riga.section(u'|', 0, 2) + u'|' + oggi + u"|1"_s;
    }
    QStringList copie;
    for (const QString &chiave : ldv) {
        copie << chiave + u'|' + oggi + u'|' + timbri;
        if (tipo >= 3)
            atteso.insert(atteso.size() - 1, timbri);
    }
    atteso.last() = u"42"_s;

    RegistrazioneRimessa rimessa(*m_connessione, richiesta(tipo));
    QList<int> passi;
    rimessa.setAvanzamento([&](const QString &, int fatti, int tutti) { passi << fatti << tutti; });
    QVERIFY(rimessa.seleziona());
    rimessa.registra({tabella, ModelloCreaTabella(), NomeComputer()});

    const QStringList prima = ldv.first().split(u'|');
    QCOMPARE(rimessa.datiLettera(), QStringList({u"1001"_s, u"SELECT * from PC01Rimessa;"_s}) +
                                        lettera +
                                        QStringList({prima.at(1), prima.at(2), prima.at(0)}));
    QCOMPARE(stato(), atteso);
    QCOMPARE(testi(*m_db, u"SELECT lefili, lenrlv, leanlv, lendvc, ledtvc, NrDistinta, "
                          "DataDistinta, Riferimento, Banca, Importo FROM PC01Rimessa ORDER BY "
                          "ledtin"_s),
             copie);
    // Steps done, of all: a waybill copied, posted and marked counts one each.
    const int n = 3 * int(copie.size());
    QCOMPARE(QList<int>({passi.first(), passi.at(passi.size() - 2), passi.last()}),
             QList<int>({0, n, n}));
}

void tst_RegistrazioneRimessa::guasto_data()
{
    QTest::addColumn<bool>("annullamento");  // else the posting of the three cheque waybills
    QTest::addColumn<QString>("evento");     // the trigger's event and table, "*" the work table
    QTest::addColumn<QString>("condizione"); // which of its rows count
    QTest::addColumn<int>("k");              // the counted row it fails at
    QTest::addColumn<bool>("taglio"); // the server cuts the connection there instead of refusing
    const auto riga = [](const char *nome, bool annulla, const QString &evento,
                         const QString &condizione, int k, bool taglio) {
        QTest::newRow(nome) << annulla << evento << condizione << k << taglio;
    };
    const QString timbro = u"NEW.lendvc <> OLD.lendvc"_s;
    riga("number update refused", false, u"UPDATE ON zolvimacon_tabge00f"_s, u"TRUE"_s, 1, false);
    riga("waybill stamp refused", false, u"UPDATE ON letve00f"_s, timbro, 2, false);
    riga("work-table stamp refused", false, u"UPDATE ON *"_s, timbro, 2, false);
    riga("last remittance record refused", false, u"INSERT ON contrassegni"_s, u"TRUE"_s, 3, false);
    riga("work-table cheque data refused", false, u"UPDATE ON *"_s,
         u"NOT NEW.NrDistinta <=> OLD.NrDistinta"_s, 1, false);
    riga("last sent mark refused", false, u"UPDATE ON letve00f"_s, u"NEW.leflsc <> OLD.leflsc"_s, 3,
         false);
    riga("cut during a waybill stamp", false, u"UPDATE ON letve00f"_s, timbro, 2, true);
    riga("cut while copying into the work table", false, u"INSERT ON *"_s, u"TRUE"_s, 2, true);
    riga("cancellation: reset refused", true, u"UPDATE ON letve00f"_s, u"TRUE"_s, 2, false);
    riga("cancellation: deletion refused", true, u"DELETE ON contrassegni"_s, u"TRUE"_s, 2, false);
    riga("cancellation: cut during the deletion", true, u"DELETE ON contrassegni"_s, u"TRUE"_s, 2,
         true);
}

// Nothing of the action stays (the work table keeps its copies, unstamped); the fault gone, the
// same action completes.
void tst_RegistrazioneRimessa::guasto()
{
    QFETCH(bool, annullamento);
    QFETCH(QString, evento);
    QFETCH(QString, condizione);
    QFETCH(int, k);
    QFETCH(bool, taglio);
    if (evento.endsWith(u'*'))
        CreaTabella(tabella, u"vdaticontrassegni"_s, ModelloCreaTabella(),
                    m_db->testoConnessione());
    // The trigger counts its rows in a variable of the component's session, one per test row.
    static int righeGuaste = 0;
    const QString n = u"@riga%1"_s.arg(++righeGuaste);
    ESEGUI_SQL(*m_db, u"CREATE TRIGGER guasto BEFORE %1 FOR EACH ROW BEGIN IF %2 THEN SET %3 = "
                      "IFNULL(%3, 0) + 1; IF %3 = %4 THEN %5; END IF; END IF; END"_s
                          .arg(QString(evento).replace(u'*', tabella), condizione, n)
                          .arg(k)
                          .arg(taglio ? u"KILL CONNECTION_ID()"_s : u"SIGNAL SQLSTATE '45000'"_s));
    const QStringList prima = stato();
    const auto azione = [&] {
        if (annullamento)
            return AnnullamentoRimessa::annulla(u"40"_s, QDate(2025, 2, 10), *m_connessione);
        RegistrazioneRimessa rimessa(*m_connessione, richiesta(3));
        rimessa.seleziona();
        rimessa.registra({tabella, ModelloCreaTabella(), NomeComputer()});
    };
    QCOMPARE(numeroErrore(azione), taglio ? 1927 : 1644);
    QCOMPARE(stato(), prima);
    // Rolled back at once, before the error goes on: nothing stays locked.
    ESEGUI_SQL(*m_db,
               u"SELECT 1 FROM zolvimacon_tabge00f, letve00f, contrassegni FOR UPDATE NOWAIT"_s);
    QVERIFY(annullamento ||
            testi(*m_db, u"SELECT 1 FROM PC01Rimessa WHERE lendvc OR NrDistinta"_s).isEmpty());

    // The fault gone (the run drops its work table at its end, the trigger on it with it), the
    // posting posts; the cancellation takes exactly its two waybills back and its two records.
    init();
    azione();
    QStringList annullata = prima;
    annullata.replaceInStrings(u"|40|2025-02-10|1"_s, u"|0|-|0"_s)
        .removeAll(u"40|2025-02-10|A-1|Banca Sella|23.00"_s);
    if (annullamento)
        QCOMPARE(stato(), annullata);
    else
        QCOMPARE(ControlliDb::esitoRimessa(*m_db), u"3|3|42"_s);
}

void tst_RegistrazioneRimessa::tabellaDiLavoro_data()
{
    QTest::addColumn<QString>("lasciata"); // by an interrupted run, with a waybill it posted
    QTest::addColumn<QString>("modello");
    QTest::addColumn<int>("errore");
    QTest::addColumn<QString>("esito");
    QTest::addColumn<int>("righe"); // the work table's; -1: none
    QTest::newRow("left over: used as it is")
        << u"CREATE TABLE PC01Rimessa SELECT * FROM vdaticontrassegni WHERE lenrlv='4040'"_s
        << ModelloCreaTabella() << 0 << u"3|3|42"_s << 4;
    QTest::newRow("template without placeholders: fails before posting")
        << u"DROP TABLE IF EXISTS PC01Rimessa"_s << u"CREATE TABLE x (a INT);"_s << 5 << u"0|0|41"_s
        << -1;
}

void tst_RegistrazioneRimessa::tabellaDiLavoro()
{
    QFETCH(QString, lasciata);
    QFETCH(QString, modello);
    QFETCH(int, errore);
    QFETCH(QString, esito);
    QFETCH(int, righe);
    ESEGUI_SQL(*m_db, lasciata);
    const QStringList prima = stato();
    RegistrazioneRimessa rimessa(*m_connessione, richiesta(3));
    QVERIFY(rimessa.seleziona());
    QCOMPARE(numeroErrore([&] { rimessa.registra({tabella, modello, NomeComputer()}); }), errore);
    QCOMPARE(ControlliDb::esitoRimessa(*m_db), esito);
    if (errore)
        QCOMPARE(stato(), prima);
    const QString contate = u"SELECT COUNT(*) FROM PC01Rimessa"_s;
    QCOMPARE(rimessa.tabellaPronta() ? m_db->valore(contate).toInt() : -1, righe);
}

void tst_RegistrazioneRimessa::postazioniConcorrenti_data()
{
    QTest::addColumn<QStringList>("stazioni"); // computer name, station name, customer, type
    QTest::newRow("four customers at once")
        << QStringList{"12-sede.nord 2SEDENORD 2001 1", "magazzino_est MAGAZZINO 2002 3",
                       "-1pc\\/\"3 PC3 2003 1", "pc,'4 PC4 2004 4"};
    QTest::newRow("two stations, one work table's name")
        << QStringList{"FILIALE01-PC3 FILIALE01 2006 3", "FILIALE01-PC4 FILIALE01 2007 1"};
    QTest::newRow("one customer from two stations")
        << QStringList{"PC5 PC5 2005 3", "PC6 PC6 2005 3"};
}

// Stations with their own computer names (their own UTS namespaces, see postazione_worker.cpp)
// select, then post at the same moment. Each lists its customer's six waybills from its own work
// table, with a number of its own; every waybill is remitted once; a station whose waybills
// another one posted after its selection is told so and posts nothing.
void tst_RegistrazioneRimessa::postazioniConcorrenti()
{
    QFETCH(QStringList, stazioni);
    // The number update holds the parameter row half a second: long enough for every station to
    // read the same last number, were the read not waiting for the lock.
    QString dati = u"DELETE FROM letve00f; UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=0; "
                   "CREATE TRIGGER guasto BEFORE UPDATE ON zolvimacon_tabge00f FOR EACH ROW SET "
                   "@a = SLEEP(0.5);"_s;
    std::vector<std::unique_ptr<QProcess>> processi;
    for (const QString &stazione : stazioni) {
        const QStringList p = stazione.split(u' ');
        dati += u"INSERT IGNORE INTO letve00f (lefili, lenrlv, leanlv, lecodi, lecnss, leflic, "
                "ledtin) SELECT %1 MOD 100, CONCAT('5', seq), 2025, %1, seq, '%2', '2025-01-03' "
                "FROM seq_1_to_6;"_s.arg(p.at(2), p.at(3));
        processi.push_back(std::make_unique<QProcess>());
        processi.back()->setArguments(
            {u"--uts"_s, u"sh"_s, u"-c"_s,
             u"printf %s \"$0\" > /proc/sys/kernel/hostname && exec \"$@\""_s, p.at(0),
             QStringLiteral(RISCUTI_POSTAZIONE), m_db->testoConnessione(), p.at(2), p.at(3)});
    }
    QVERIFY(m_db->caricaTesto(dati));
    // Every station has made its selection (or has ended): all post at once.
    QList<QByteArray> uscite(stazioni.size());
    for (int i = 0; i < stazioni.size(); ++i) {
        processi[i]->start(u"unshare"_s, processi[i]->arguments());
        while (!uscite[i].contains('\n') && processi[i]->waitForReadyRead(60000))
            uscite[i] += processi[i]->readAllStandardOutput();
    }
    for (const auto &processo : processi)
        processo->closeWriteChannel();

    QSet<int> numeri;
    int assegni = 0;
    for (int i = 0; i < stazioni.size(); ++i) {
        processi[i]->waitForFinished(60000); // (one still running goes with its QProcess)
        uscite[i] += processi[i]->readAllStandardOutput() + processi[i]->readAllStandardError();
        const QStringList p = stazioni.at(i).split(u' ');
        const QStringList uscita = QString::fromUtf8(uscite[i]).split(u'\n', Qt::SkipEmptyParts);
        const int numero = uscita.filter(u"numero|"_s).value(0).mid(7).toInt();
        QStringList attese{u"pronto|%1Rimessa"_s.arg(p.at(1)),
                           numero ? u"numero|%1"_s.arg(numero) : u"nelfrattempo|6|6"_s};
        if (numero)
            attese += QStringList(6, u"riga|%1|%2"_s.arg(p.at(2)).arg(numero));
        QCOMPARE(uscita, attese);
        if (numero)
            numeri << numero;
        assegni += numero && p.at(3).toInt() >= 3;
    }
    // One number per customer, 1 to n, the last left in the table; every waybill stamped and
    // sent; six records of our cheque per remittance by cheque.
    QCOMPARE(m_db->valore(u"SELECT CONCAT_WS('|', COUNT(DISTINCT lecodi, lendvc), COUNT(DISTINCT "
                          "lecodi), MAX(lendvc), (SELECT UltimoNumDistVersam FROM "
                          "zolvimacon_tabge00f), SUM(leflsc=1 AND ledtvc=CURDATE()) DIV 6, "
                          "(SELECT COUNT(*) FROM contrassegni WHERE NrDistinta<40) DIV 6) FROM "
                          "letve00f"_s)
                 .toString(),
             u"%1|%1|%1|%1|%1|%2"_s.arg(numeri.size()).arg(assegni));
}

QTEST_GUILESS_MAIN(tst_RegistrazioneRimessa)
#include "tst_registrazionerimessa.moc"
