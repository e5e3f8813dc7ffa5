// Several workstations post remittances at the same moment, each in a process of its own with
// its own computer name (its own UTS namespace). For different customers: every waybill is
// remitted once, every remittance gets a number of its own, the last number counts them, every
// station lists its own rows from its own work table and drops it. For the same customer: one
// station posts, the other is told that the waybills went meanwhile and posts nothing.
#include "support/databasediprova.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const QString modelloTabella = QStringLiteral(
    "CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) SELECT * FROM ? LIMIT 0;");

// One station: its computer name, its customer and the remittance type it posts.
struct Postazione
{
    QString computer;
    int cliente;
    int tipo;
};

const QList<Postazione> postazioni = {{QStringLiteral("PC-1"), 2001, 1},
                                      {QStringLiteral("sede.PC2"), 2002, 3},
                                      {QStringLiteral("PC3"), 2003, 1},
                                      {QStringLiteral("9pc-4"), 2004, 4}};
const QStringList tabelleAttese = {QStringLiteral("PC1Rimessa"), QStringLiteral("SEDEPC2Rimessa"),
                                   QStringLiteral("PC3Rimessa"), QStringLiteral("PC4Rimessa")};
// Two stations remitting the same customer's cheques.
const QList<Postazione> stessoCliente = {{QStringLiteral("PC5"), 2005, 3},
                                         {QStringLiteral("PC6"), 2005, 3}};
const int ldvPerCliente = 6;
const QString domandaDefinitiva = QStringLiteral("Effettuare la stampa definitiva della rimessa?");
const QString rimesseNelFrattempo = QStringLiteral(
    "Nel frattempo un'altra postazione ha rimesso 6 delle 6 spedizioni selezionate. La rimessa "
    "non è stata registrata: ripeterla.");

// What a station wrote on its standard output, by kind.
struct Resoconto
{
    QMultiMap<QString, QString> righe;
    QString errori;
    int codiceUscita = -1;
};

} // namespace

class tst_PostazioniConcorrenti : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void numeriDistintiSottoConcorrenza();
    void stessoClienteDaDuePostazioni();

private:
    bool preparaDati(const QList<Postazione> &stazioni);
    QList<Resoconto> eseguiPostazioni(const QList<Postazione> &stazioni);
    int contaRighe(const QString &daDove);

    std::unique_ptr<DatabaseDiProva> m_db;
    QTemporaryDir m_cartella;
};

void tst_PostazioniConcorrenti::initTestCase()
{
    QVERIFY(m_cartella.isValid());
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty(),
             "unshare (util-linux) gives each station its own computer name");
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    // The number update waits half a second while it holds the parameter row: long enough for
    // every station to have read the last number, and made its selection, in between if the
    // read did not wait for the lock.
    ESEGUI_SQL(*m_db,
               QStringLiteral("CREATE TRIGGER numero_lento BEFORE UPDATE ON zolvimacon_tabge00f "
                              "FOR EACH ROW SET @attesa = SLEEP(0.5)"));
    QFile ini(m_cartella.filePath(QStringLiteral("suite.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[DLLStampe]\nIdentificativoDll=Postazione\n\n[FRMBOLLCARICHIINT]\nSTRCREATABELLA=" +
              modelloTabella.toUtf8() + "\n");
}

int tst_PostazioniConcorrenti::contaRighe(const QString &daDove)
{
    return m_db->valore(QStringLiteral("SELECT COUNT(*) FROM ") + daDove).toInt();
}

// Six collected, unremitted waybills per customer of the stations; the same numbers for every
// customer, in different branches, so that only the full key tells them apart.
bool tst_PostazioniConcorrenti::preparaDati(const QList<Postazione> &stazioni)
{
    bool ok = m_db->esegui(QStringLiteral("DELETE FROM letve00f")) &&
              m_db->esegui(QStringLiteral("DELETE FROM contrassegni")) &&
              m_db->esegui(QStringLiteral("DELETE FROM clien")) &&
              m_db->esegui(QStringLiteral("UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=0"));
    QList<int> clienti;
    for (const Postazione &p : stazioni) {
        if (clienti.contains(p.cliente))
            continue;
        clienti << p.cliente;
        ok = ok && m_db->esegui(QStringLiteral("INSERT INTO clien (Codice, RagioneSociale) "
                                               "VALUES (%1, 'Cliente %1')")
                                    .arg(p.cliente));
        ok = ok && m_db->esegui(QStringLiteral(
                                    "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lecodi, "
                                    "lecnss, leimcs, leflic, leflsc, ledtin, lendvc) "
                                    "SELECT LPAD(%1 MOD 100, 2, '0'), CONCAT('5', seq), 2025, "
                                    "'2025-01-02', %1, 10 + seq, 10 + seq, '%2', 0, "
                                    "'2025-01-03', 0 FROM seq_1_to_%3")
                                    .arg(p.cliente)
                                    .arg(p.tipo)
                                    .arg(ldvPerCliente));
    }
    return ok;
}

// Starts every station, waits until each has typed its entries, lifts the barrier and waits
// for all of them to end.
QList<Resoconto> tst_PostazioniConcorrenti::eseguiPostazioni(const QList<Postazione> &stazioni)
{
    const QString barriera = m_cartella.filePath(QStringLiteral("via"));
    std::vector<std::unique_ptr<QProcess>> processi;
    for (const Postazione &p : stazioni) {
        auto processo = std::make_unique<QProcess>();
        QStringList argomenti{QStringLiteral("--uts"),
                              QStringLiteral("sh"),
                              QStringLiteral("-c"),
                              QStringLiteral("hostname \"$0\" && exec \"$@\""),
                              p.computer,
                              QStringLiteral(RISCUTI_POSTAZIONE),
                              m_db->testoConnessione(),
                              m_cartella.filePath(QStringLiteral("suite.ini")),
                              QString::number(p.cliente),
                              QString::number(p.tipo),
                              QStringLiteral("01/01/2025"),
                              QStringLiteral("31/01/2025"),
                              barriera};
        if (p.tipo >= 3)
            argomenti << QStringLiteral("R-%1").arg(p.cliente)
                      << QStringLiteral("Banca %1'").arg(p.cliente) << QStringLiteral("100,5");
        processo->start(QStringLiteral("unshare"), argomenti);
        processi.push_back(std::move(processo));
    }

    QByteArrayList uscite(int(processi.size()));
    const auto leggi = [&] {
        for (size_t i = 0; i < processi.size(); ++i)
            uscite[int(i)] += processi[i]->readAllStandardOutput();
    };
    // Ready when every station has typed its entries; a station that ended before is not.
    const auto pronte = [&] {
        int quante = 0;
        for (size_t i = 0; i < processi.size(); ++i) {
            if (uscite.at(int(i)).contains("pronto|"))
                ++quante;
            else if (processi[i]->state() == QProcess::NotRunning)
                return -1;
        }
        return quante;
    };
    const bool finito = QTest::qWaitFor(
        [&] {
            leggi();
            return pronte() < 0 || pronte() == int(processi.size());
        },
        60000);
    const bool pronti = finito && pronte() == int(processi.size());
    if (pronti) {
        QFile via(barriera);
        via.open(QIODevice::WriteOnly);
    }

    QList<Resoconto> resoconti;
    for (size_t i = 0; i < processi.size(); ++i) {
        QProcess &processo = *processi[i];
        if (!pronti || !processo.waitForFinished(120000))
            processo.kill(); // this test's own child, by its handle
        processo.waitForFinished(5000);
        uscite[int(i)] += processo.readAllStandardOutput();
        Resoconto resoconto;
        resoconto.codiceUscita =
            processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1;
        resoconto.errori = QString::fromUtf8(processo.readAllStandardError());
        for (const QByteArray &riga : uscite.at(int(i)).split('\n')) {
            const int separatore = riga.indexOf('|');
            if (separatore > 0)
                resoconto.righe.insert(QString::fromUtf8(riga.left(separatore)),
                                       QString::fromUtf8(riga.mid(separatore + 1)));
        }
        resoconti << resoconto;
    }
    QFile::remove(barriera);
    return resoconti;
}

void tst_PostazioniConcorrenti::numeriDistintiSottoConcorrenza()
{
    QVERIFY(preparaDati(postazioni));
    const QList<Resoconto> resoconti = eseguiPostazioni(postazioni);
    QCOMPARE(resoconti.size(), postazioni.size());

    // Each station: no error, its own work table, and a letter listing exactly its customer's
    // waybills, all with the number it was given.
    QSet<int> numeri;
    for (int i = 0; i < postazioni.size(); ++i) {
        const Postazione &p = postazioni.at(i);
        const Resoconto &r = resoconti.at(i);
        const QByteArray chi = p.computer.toUtf8();
        if (r.codiceUscita != 0)
            qWarning("%s: %s %s", chi.constData(), qPrintable(r.errori),
                     qPrintable(r.righe.values(QStringLiteral("errore")).join(u' ')));
        QCOMPARE(r.codiceUscita, 0);
        QCOMPARE(r.righe.values(QStringLiteral("messaggio")), QStringList{domandaDefinitiva});
        QCOMPARE(r.righe.value(QStringLiteral("tabella")), tabelleAttese.at(i));
        QCOMPARE(r.righe.value(QStringLiteral("query")),
                 QStringLiteral("SELECT * from %1;").arg(tabelleAttese.at(i)));

        const QStringList righe = r.righe.values(QStringLiteral("riga"));
        QCOMPARE(int(righe.size()), ldvPerCliente);
        const int numero = righe.first().split(u'|').last().toInt();
        QVERIFY2(numero > 0, chi.constData());
        numeri.insert(numero);
        QSet<QString> ldv;
        for (const QString &riga : righe) {
            const QStringList campi = riga.split(u'|');
            QCOMPARE(campi.at(3).toInt(), p.cliente);
            QCOMPARE(campi.at(4).toInt(), numero);
            ldv.insert(campi.at(1));
        }
        QCOMPARE(ldv.size(), ldvPerCliente);

        // In the database: every waybill of the customer remitted with that number and sent.
        QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lecodi=%1 AND "
                                             "lendvc=%2 AND leflsc=1 AND ledtvc=CURDATE()")
                                  .arg(p.cliente)
                                  .arg(numero))
                     .toInt(),
                 ldvPerCliente);
        // Our cheque or transfer: one record per waybill, with this remittance's number.
        QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM contrassegni WHERE "
                                             "NrDistinta=%1 AND Banca='Banca %2\\''")
                                  .arg(numero)
                                  .arg(p.cliente))
                     .toInt(),
                 p.tipo >= 3 ? ldvPerCliente : 0);
    }

    // Every remittance its own number, the numbers 1 to n, the last one left in the table.
    QCOMPARE(numeri.size(), postazioni.size());
    QCOMPARE(numeri, (QSet<int>{1, 2, 3, 4}));
    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f")).toInt(),
        postazioni.size());
    // Nothing else written or lost: no waybill left unremitted, no stray record, no work table.
    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc=0 OR leflsc=0"))
            .toInt(),
        0);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM contrassegni")).toInt(),
             2 * ldvPerCliente);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE "
                                         "TABLE_SCHEMA=DATABASE() AND TABLE_NAME LIKE '%rimessa'"))
                 .toInt(),
             0);
}

// Both stations select the same six waybills before either posts. The one that takes the number
// first posts them; the other, once it has the number, finds them remitted, posts nothing and
// says so. Without that check the second would stamp them again with a number of its own and
// write six more records.
void tst_PostazioniConcorrenti::stessoClienteDaDuePostazioni()
{
    QVERIFY(preparaDati(stessoCliente));
    const QList<Resoconto> resoconti = eseguiPostazioni(stessoCliente);
    QCOMPARE(resoconti.size(), stessoCliente.size());

    QStringList avvisati;
    QList<int> stampate;
    for (const Resoconto &r : resoconti) {
        if (r.codiceUscita != 0)
            qWarning("%s %s", qPrintable(r.errori),
                     qPrintable(r.righe.values(QStringLiteral("errore")).join(u' ')));
        QCOMPARE(r.codiceUscita, 0);
        // QMultiMap lists the values of a key newest first.
        QStringList messaggi = r.righe.values(QStringLiteral("messaggio"));
        std::reverse(messaggi.begin(), messaggi.end());
        QCOMPARE(messaggi.value(0), domandaDefinitiva);
        if (messaggi.size() > 1)
            avvisati << messaggi.mid(1);
        stampate << int(r.righe.values(QStringLiteral("riga")).size());
    }
    // One station told why, with nothing printed; the other printed the six waybills.
    QCOMPARE(avvisati, QStringList{rimesseNelFrattempo});
    std::sort(stampate.begin(), stampate.end());
    QCOMPARE(stampate, (QList<int>{0, ldvPerCliente}));

    // Every waybill remitted once, by remittance 1; the refused posting left nothing.
    const int cliente = stessoCliente.first().cliente;
    QCOMPARE(contaRighe(QStringLiteral("letve00f WHERE lecodi=%1 AND lendvc=1 AND leflsc=1 AND "
                                       "ledtvc=CURDATE()")
                            .arg(cliente)),
             ldvPerCliente);
    QCOMPARE(contaRighe(QStringLiteral("contrassegni WHERE NrDistinta=1")), ldvPerCliente);
    QCOMPARE(contaRighe(QStringLiteral("contrassegni")), ldvPerCliente);
    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f")).toInt(),
        1);
    QCOMPARE(contaRighe(QStringLiteral("information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
                                       "AND TABLE_NAME LIKE '%rimessa'")),
             0);
}

QTEST_GUILESS_MAIN(tst_PostazioniConcorrenti)
#include "tst_postazioni_concorrenti.moc"
