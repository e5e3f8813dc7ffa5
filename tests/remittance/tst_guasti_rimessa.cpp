// The posting of a remittance and its cancellation under faults: the server refuses one of their
// statements, or the connection is cut while one runs. Each time the operator reads the error,
// letve00f, contrassegni and the last number are exactly what they were, no work table is left,
// the window keeps its entries and the same action succeeds once the fault is gone.
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"

#include "services/modprincipale.h"
#include "data/recordset.h"
#include "remittance/controllidb.h"
#include "remittance/postazione.h"
#include "suite/RegistroComponenti.h"
#include "suite/cModuliStampa.h"
#include "suite/creamodulistampa.h"
#include "support/databasediprova.h"
#include "support/controlli.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

const QString domandaDefinitiva = QStringLiteral("Effettuare la stampa definitiva della rimessa?");
const QString codaErrore = QStringLiteral("\r\nerrore generato da stampa rimessa contrassegni.");
const QString tabellaLavoro = QStringLiteral("Rimessa");
const QStringList tabelleRimessa{QStringLiteral("letve00f"), QStringLiteral("contrassegni"),
                                 QStringLiteral("zolvimacon_tabge00f")};

// Customer 1001's three cash-on-delivery collections of January 2025 by our cheque, waiting for
// a remittance; remittance 42 of 10/02/2025 over three other waybills with its three records;
// another customer's collection that no action touches.
const char *const dati = R"(
DELETE FROM letve00f;
DELETE FROM contrassegni;
UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=42;
UPDATE conta_istruzioni SET n=0;
UPDATE tentativi_istruzioni SET n=0;
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lecodi, lecnss, leimcs, leflic, leflsc,
                      ledtin, lendvc, ledtvc)
VALUES ('01', '3001', 2025, '2025-01-01', 1001, 10, 10, '3', 0, '2025-01-01', 0, NULL),
       ('01', '3002', 2025, '2025-01-14', 1001, 20, 20, '3', 0, '2025-01-15', 0, NULL),
       ('03', '3003', 2025, '2025-01-19', 1001, 30.5, 30.5, '3', 0, '2025-01-20', 0, NULL),
       ('01', '4001', 2025, '2025-01-02', 1001, 11, 11, '3', 1, '2025-01-05', 42, '2025-02-10'),
       ('01', '4002', 2025, '2025-01-02', 1001, 12, 12, '3', 1, '2025-01-05', 42, '2025-02-10'),
       ('02', '4003', 2025, '2025-01-02', 1001, 13, 13, '3', 1, '2025-01-05', 42, '2025-02-10'),
       ('01', '3004', 2025, '2025-01-14', 1002, 35, 35, '3', 0, '2025-01-14', 0, NULL);
INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, Importo)
VALUES (42, '2025-02-10', 'A-1', 'Banca Sella', 36.00), (42, '2025-02-10', 'A-1', 'Banca Sella', 36.00),
       (42, '2025-02-10', 'A-1', 'Banca Sella', 36.00);
)";

// The rows the letter listed, read from the query it was given.
int righeStampate = -1;

class StampaContata : public cModuliStampa
{
public:
    void setPercorsoDb(const QString &percorso) override { m_percorso = percorso; }
    void setNumeroModulo(int) override {}
    void setFileLogo(const QString &) override {}
    void DatiStampa(const QStringList &dati) override { m_query = dati.value(1); }
    void Stampa(QString &, bool &) override
    {
        Recordset righe;
        righe.apri(m_query, m_percorso);
        righeStampate = righe.numeroRighe();
    }

private:
    QString m_percorso;
    QString m_query;
};

} // namespace

class tst_GuastiRimessa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void guastoNellaRegistrazione_data();
    void guastoNellaRegistrazione();
    void ldvRimesseDaUnAltraPostazione();
    void guastoNellAnnullamento_data();
    void guastoNellAnnullamento();

private:
    void colonne();
    void creaGuasto();
    template <typename T> T *controllo(const char *nome) const;
    void apri(FinestraLavoro *finestra);
    void compilaRimessa();
    QStringList mostrati() const;
    QMap<QString, QStringList> tabelle();
    int contatore(const char *tabella);
    QList<MessaggioRegistrato> premi(const char *pulsante, bool taglio, int attesi);

    std::unique_ptr<DatabaseDiProva> m_db;
    QTemporaryDir m_cartella;
    FinestraLavoro *m_finestra = nullptr;
};

template <typename T> T *tst_GuastiRimessa::controllo(const char *nome) const
{
    return controlloDi<T>(m_finestra, QLatin1String(nome));
}

void tst_GuastiRimessa::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QVERIFY(m_cartella.isValid());
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    // Statements seen by the fault's trigger inside the action's transaction (rolled back with
    // it), and all statements seen (MEMORY: a rollback leaves it as it is).
    QVERIFY(m_db->caricaTesto(QStringLiteral(
        "INSERT INTO clien (Codice, RagioneSociale) VALUES (1001, 'Elettroforniture Brambilla'), "
        "(1002, 'Moda Lombarda');"
        "CREATE TABLE conta_istruzioni (n INT NOT NULL) ENGINE=InnoDB;"
        "CREATE TABLE tentativi_istruzioni (n INT NOT NULL) ENGINE=MEMORY;"
        "INSERT INTO conta_istruzioni VALUES (0); INSERT INTO tentativi_istruzioni VALUES (0);")));
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());

    QFile ini(m_cartella.filePath(QStringLiteral("suite.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[DLLStampe]\nIdentificativoDll=Guasti\n\n[FRMBOLLCARICHIINT]\nSTRCREATABELLA="
              "CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) SELECT * FROM ? LIMIT 0;\n");
    modPrincipale::setPercorsoFileIni(ini.fileName());
    RegistroComponenti::registra(IdProgrammaticoStampa(QStringLiteral("Guasti")),
                                 [] { return new StampaContata; });
}

void tst_GuastiRimessa::init()
{
    righeStampate = -1;
    QVERIFY(m_db->esegui(QStringLiteral("DROP TRIGGER IF EXISTS guasto")));
    for (const QString &lasciata : ControlliDb::tabelleDiLavoro(*m_db))
        QVERIFY(m_db->esegui(QStringLiteral("DROP TABLE `%1`").arg(lasciata)));
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(dati)));
}

void tst_GuastiRimessa::cleanup()
{
    QTest::qWait(20);
    if (m_finestra)
        m_finestra->scarica();
    m_finestra = nullptr;
}

void tst_GuastiRimessa::apri(FinestraLavoro *finestra)
{
    m_finestra = finestra;
    finestra->mostra();
    QVERIFY(QTest::qWaitForWindowActive(finestra));
}

// The columns of both data tables: the trigger's table and event, which of its rows count
// (a condition on NEW and OLD), the row it fails at, and whether it cuts the connection there
// instead of refusing the statement.
void tst_GuastiRimessa::colonne()
{
    QTest::addColumn<QString>("tabella");
    QTest::addColumn<QString>("evento");
    QTest::addColumn<QString>("condizione");
    QTest::addColumn<int>("k");
    QTest::addColumn<bool>("taglio");
}

void tst_GuastiRimessa::creaGuasto()
{
    QFETCH(QString, tabella);
    QFETCH(QString, evento);
    QFETCH(QString, condizione);
    QFETCH(int, k);
    QFETCH(bool, taglio);
    // The station's work table, left by an earlier run, is used as it is: with a trigger on it
    // the copy of the rows and their stamps can fail too.
    if (tabella == tabellaLavoro) {
        tabella = NomeTabellaLavoro(tabellaLavoro);
        ESEGUI_SQL(*m_db, QStringLiteral("CREATE TABLE %1 (PRIMARY KEY (lefili, lenrlv, leanlv)) "
                                         "SELECT * FROM vdaticontrassegni LIMIT 0")
                              .arg(tabella));
    }
    ESEGUI_SQL(*m_db,
               QStringLiteral("CREATE TRIGGER guasto BEFORE %1 ON %2 FOR EACH ROW BEGIN IF %3 THEN "
                              "UPDATE conta_istruzioni SET n = n + 1; "
                              "UPDATE tentativi_istruzioni SET n = n + 1; "
                              "IF (SELECT n FROM conta_istruzioni) = %4 THEN %5; END IF; "
                              "END IF; END")
                   .arg(evento, tabella, condizione)
                   .arg(k)
                   .arg(taglio ? ControlliDb::attesaDelTaglio()
                               : QStringLiteral("SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
                                                "'Guasto iniettato'")));
}

// Customer 1001, "Invio ns assegno", January 2025 and our cheque, typed as an operator does.
void tst_GuastiRimessa::compilaRimessa()
{
    auto *cliente = controllo<QLineEdit>("txtCodiceCli");
    QTest::mouseClick(cliente, Qt::LeftButton);
    QTest::keyClicks(cliente, QStringLiteral("1001"));
    QTest::keyClick(cliente, Qt::Key_Tab);
    auto *tipo = controllo<QComboBox>("cmbCodInc");
    QTRY_VERIFY(tipo->hasFocus());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(tipo, Qt::Key_Down);
    for (const auto &[nome, testo] :
         {std::pair{"txtDataDa", "01012025"}, std::pair{"txtDataAl", "31012025"},
          std::pair{"txtRiferimento", "A-77/1"}, std::pair{"txtBanca", "Banca dell'Adda"},
          std::pair{"txtImportoAss", "60,5"}}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(controllo<QLineEdit>(nome)->hasFocus());
        QTest::keyClicks(controllo<QLineEdit>(nome), QLatin1String(testo));
    }
}

// What the operator sees in the window's fields and lists.
QStringList tst_GuastiRimessa::mostrati() const
{
    QStringList valori;
    for (QLineEdit *campo : m_finestra->findChildren<QLineEdit *>())
        valori << campo->objectName() + QLatin1Char('=') + campo->displayText();
    for (QComboBox *lista : m_finestra->findChildren<QComboBox *>())
        valori << lista->objectName() + QLatin1Char('=') + lista->currentText();
    return valori;
}

QMap<QString, QStringList> tst_GuastiRimessa::tabelle()
{
    QMap<QString, QStringList> righe;
    for (const QString &tabella : tabelleRimessa)
        righe.insert(tabella, ControlliDb::righe(*m_db, tabella));
    return righe;
}

int tst_GuastiRimessa::contatore(const char *tabella)
{
    return m_db->valore(QStringLiteral("SELECT n FROM %1").arg(QLatin1String(tabella))).toInt();
}

// Presses the window's button, answering Yes to its question; with `taglio` another thread
// cuts the connection when the trigger holds it. Returns the boxes shown.
QList<MessaggioRegistrato> tst_GuastiRimessa::premi(const char *pulsante, bool taglio, int attesi)
{
    RisposteMessaggi risposte;
    risposte.rispondi({QMessageBox::Yes, QMessageBox::Ok});
    std::optional<ControlliDb::TaglioConnessione> taglia;
    if (taglio)
        taglia.emplace(m_db->socket(), m_db->nome());
    QTest::mouseClick(controllo<QPushButton>(pulsante), Qt::LeftButton);
    risposte.attendi(attesi, 25000);
    if (taglia && !taglia->tagliata())
        qWarning("the connection was not cut");
    m_finestra->activateWindow();
    if (!QTest::qWaitForWindowActive(m_finestra))
        qWarning("%s did not become active again", qPrintable(m_finestra->objectName()));
    return risposte.registrati();
}

void tst_GuastiRimessa::guastoNellaRegistrazione_data()
{
    colonne();
    const QString timbro = QStringLiteral("NEW.lendvc <> OLD.lendvc");
    const QString inviato = QStringLiteral("NEW.leflsc <> OLD.leflsc");
    const QString numero = QStringLiteral("zolvimacon_tabge00f");
    const auto riga = [](const char *nome, const QString &tabella, const char *evento,
                         const QString &condizione, int k, bool taglio) {
        QTest::newRow(nome) << tabella << QString::fromLatin1(evento) << condizione << k << taglio;
    };
    const QString letve = QStringLiteral("letve00f");
    const QString record = QStringLiteral("contrassegni");
    riga("stamp of the first waybill refused", letve, "UPDATE", timbro, 1, false);
    riga("stamp of a middle waybill refused", letve, "UPDATE", timbro, 2, false);
    riga("stamp of the last waybill refused", letve, "UPDATE", timbro, 3, false);
    riga("number update refused", numero, "UPDATE", QStringLiteral("TRUE"), 1, false);
    riga("first remittance record refused", record, "INSERT", QStringLiteral("TRUE"), 1, false);
    riga("a middle remittance record refused", record, "INSERT", QStringLiteral("TRUE"), 2, false);
    riga("work table stamp of a middle waybill refused", tabellaLavoro, "UPDATE", timbro, 2, false);
    riga("first sent flag refused", letve, "UPDATE", inviato, 1, false);
    riga("last sent flag refused", letve, "UPDATE", inviato, 3, false);
    riga("connection cut during the number update", numero, "UPDATE", QStringLiteral("TRUE"), 1,
         true);
    riga("connection cut during a middle stamp", letve, "UPDATE", timbro, 2, true);
    riga("connection cut during the last remittance record", record, "INSERT",
         QStringLiteral("TRUE"), 3, true);
    riga("connection cut during the last sent flag", letve, "UPDATE", inviato, 3, true);
    riga("connection cut while copying into the work table", tabellaLavoro, "INSERT",
         QStringLiteral("TRUE"), 2, true);
}

void tst_GuastiRimessa::guastoNellaRegistrazione()
{
    QFETCH(int, k);
    QFETCH(bool, taglio);
    apri(frmRimessa::istanza());
    compilaRimessa();
    const QStringList schermo = mostrati();
    const QMap<QString, QStringList> prima = tabelle();
    creaGuasto();

    const QList<MessaggioRegistrato> messaggi = premi("cmdRimessa", taglio, 2);
    QCOMPARE(messaggi.size(), 2);
    QCOMPARE(messaggi.first().testo, domandaDefinitiva);
    const MessaggioRegistrato &errore = messaggi.last();
    QCOMPARE(errore.titolo, QStringLiteral("Gestione rimessa contrassegni"));
    QCOMPARE(errore.icona, QMessageBox::Critical);
    if (taglio)
        QVERIFY2(QRegularExpression(QStringLiteral("^(1927 \\S|(2006|2013) Connessione con il server del database).*\r\nerrore generato "
                                                   "da stampa rimessa contrassegni\\.$"))
                     .match(errore.testo)
                     .hasMatch(),
                 qPrintable(errore.testo));
    else
        QCOMPARE(errore.testo, QStringLiteral("1644 Guasto iniettato") + codaErrore);

    // Statements up to the k-th counted one reached the server; nothing of the posting stayed.
    // (The copy into the work table comes before the transaction, a block of rows to an insert:
    // a row refused takes its block back, and the rows go with the table.)
    QCOMPARE(contatore("tentativi_istruzioni"), k);
    QCOMPARE(contatore("conta_istruzioni"), 0);
    QCOMPARE(tabelle(), prima);
    QCOMPARE(ControlliDb::tabelleDiLavoro(*m_db), QStringList());
    QCOMPARE(righeStampate, -1);
    QVERIFY(!modPrincipale::ConnessioneComune());
    QCOMPARE(mostrati(), schermo);

    // The fault gone, the same entries post: number 43 on the three waybills and records.
    // (A trigger on the work table went with it.)
    ESEGUI_SQL(*m_db, QStringLiteral("DROP TRIGGER IF EXISTS guasto"));
    QCOMPARE(premi("cmdRimessa", false, 1).size(), 1);
    QCOMPARE(righeStampate, 3);
    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f")).toInt(),
        43);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc=43 AND "
                                         "leflsc=1 AND ledtvc=CURDATE() AND lecodi=1001"))
                 .toInt(),
             3);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM contrassegni WHERE NrDistinta=43 "
                                         "AND Banca='Banca dell''Adda' AND Importo=60.50"))
                 .toInt(),
             3);
    QCOMPARE(ControlliDb::tabelleDiLavoro(*m_db), QStringList());
}

// Another station remits one of the three waybills while this one copies them into its work
// table: the posting finds it stamped, rolls back and says so; the window keeps its entries and
// the next press posts the two left.
void tst_GuastiRimessa::ldvRimesseDaUnAltraPostazione()
{
    apri(frmRimessa::istanza());
    compilaRimessa();
    const QStringList schermo = mostrati();
    const QString tabella = NomeTabellaLavoro(tabellaLavoro);
    ESEGUI_SQL(*m_db, QStringLiteral("CREATE TABLE %1 (PRIMARY KEY (lefili, lenrlv, leanlv)) "
                                     "SELECT * FROM vdaticontrassegni LIMIT 0")
                          .arg(tabella));
    ESEGUI_SQL(*m_db, QStringLiteral("CREATE TRIGGER guasto AFTER INSERT ON %1 FOR EACH ROW "
                                     "UPDATE letve00f SET lendvc=99, ledtvc='2025-02-01', leflsc=1 "
                                     "WHERE lefili=NEW.lefili AND lenrlv=NEW.lenrlv AND "
                                     "lenrlv='3002'")
                          .arg(tabella));
    const QMap<QString, QStringList> prima = tabelle();

    const QList<MessaggioRegistrato> messaggi = premi("cmdRimessa", false, 2);
    QCOMPARE(messaggi.size(), 2);
    QCOMPARE(messaggi.first().testo, domandaDefinitiva);
    QCOMPARE(messaggi.last().testo,
             QStringLiteral("Nel frattempo un'altra postazione ha rimesso 1 delle 3 spedizioni "
                            "selezionate. La rimessa non è stata registrata: ripeterla."));
    QCOMPARE(messaggi.last().titolo, QStringLiteral("Gestione riscuti contrassegni"));
    QCOMPARE(messaggi.last().icona, QMessageBox::Warning);

    // Only the other station's stamp is new; no number taken, no record, no work table.
    const QStringList diverse = ControlliDb::differenze(prima, tabelle());
    QCOMPARE(diverse.size(), 2);
    for (const QString &riga : diverse)
        QVERIFY2(riga.mid(1).startsWith(QStringLiteral("letve00f: 01 ¦ 3002 ¦ 2025 ¦")),
                 qPrintable(riga));
    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT lendvc FROM letve00f WHERE lenrlv='3002'")).toInt(),
        99);
    QCOMPARE(ControlliDb::tabelleDiLavoro(*m_db), QStringList());
    QCOMPARE(righeStampate, -1);
    QVERIFY(!modPrincipale::ConnessioneComune());
    QCOMPARE(mostrati(), schermo);

    QCOMPARE(premi("cmdRimessa", false, 1).size(), 1);
    QCOMPARE(righeStampate, 2);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT GROUP_CONCAT(lenrlv ORDER BY lenrlv) FROM "
                                         "letve00f WHERE lendvc=43 AND leflsc=1"))
                 .toString(),
             QStringLiteral("3001,3003"));
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM contrassegni WHERE NrDistinta=43"))
                 .toInt(),
             2);
}

void tst_GuastiRimessa::guastoNellAnnullamento_data()
{
    colonne();
    const QString letve = QStringLiteral("letve00f");
    const QString record = QStringLiteral("contrassegni");
    const QString sempre = QStringLiteral("TRUE");
    QTest::newRow("waybills' reset refused") << letve << "UPDATE" << sempre << 2 << false;
    QTest::newRow("records' deletion refused") << record << "DELETE" << sempre << 3 << false;
    QTest::newRow("connection cut during the waybills' reset")
        << letve << "UPDATE" << sempre << 2 << true;
    QTest::newRow("connection cut during the records' deletion")
        << record << "DELETE" << sempre << 2 << true;
}

void tst_GuastiRimessa::guastoNellAnnullamento()
{
    QFETCH(int, k);
    QFETCH(bool, taglio);
    apri(frmAnnullaRimessa::istanza());
    auto *numero = controllo<QLineEdit>("txtNum");
    QTest::mouseClick(numero, Qt::LeftButton);
    QTest::keyClicks(numero, QStringLiteral("42"));
    QTest::keyClick(numero, Qt::Key_Tab);
    QTRY_VERIFY(controllo<QLineEdit>("txtData")->hasFocus());
    QTest::keyClicks(controllo<QLineEdit>("txtData"), QStringLiteral("10022025"));
    const QStringList schermo = mostrati();
    const QMap<QString, QStringList> prima = tabelle();
    creaGuasto();

    const QList<MessaggioRegistrato> messaggi = premi("cmdAnnullaRimessa", taglio, 2);
    QCOMPARE(messaggi.size(), 2);
    QCOMPARE(messaggi.first().testo, QStringLiteral("Annullare la rimessa 42 del 10/02/2025?"));
    QCOMPARE(messaggi.last().testo,
             QStringLiteral("Impossibile annullare la rimessa contrassegni."));
    QCOMPARE(messaggi.last().titolo, QStringLiteral("Riscuti"));
    QCOMPARE(messaggi.last().icona, QMessageBox::Warning);

    QCOMPARE(contatore("tentativi_istruzioni"), k);
    QCOMPARE(contatore("conta_istruzioni"), 0);
    QCOMPARE(tabelle(), prima);
    QVERIFY(!modPrincipale::ConnessioneComune());
    QCOMPARE(mostrati(), schermo);

    // The fault gone, the same entries cancel the remittance.
    ESEGUI_SQL(*m_db, QStringLiteral("DROP TRIGGER guasto"));
    QCOMPARE(premi("cmdAnnullaRimessa", false, 2).last().testo,
             QStringLiteral("Rimessa contrassegni: 42 del 10/02/2025 annullata."));
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc=0 AND "
                                         "leflsc=0 AND ledtvc IS NULL"))
                 .toInt(),
             7);
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM contrassegni")).toInt(), 0);
}

QTEST_MAIN(tst_GuastiRimessa)
#include "tst_guasti_rimessa.moc"
