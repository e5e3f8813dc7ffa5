// The save of the collection window under faults: the server refuses statement k of the sixteen,
// for every k, or the connection is cut while statement k runs. Each time the operator reads
// the error, the waybill row is byte for byte what it was, the entry stays on screen, and the
// same entry saves once the fault is gone.
#include "collection/frmriscuti.h"

#include "component/cRiscuti.h"
#include "remittance/controllidb.h"
#include "support/databasediprova.h"
#include "support/controlli.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <optional>

namespace {

const char *const anagrafiche = R"(
INSERT INTO filiali (codice, Descrizione) VALUES ('01', 'Milano'), ('02', 'Torino');
INSERT INTO codicizona (Codice, Descrizione) VALUES (11, 'Milano città');
INSERT INTO forni (Codice, RagioneSociale, Vettore) VALUES (101, 'Autotrasporti Lombardi S.r.l.', 1);
INSERT INTO clien (Codice, RagioneSociale) VALUES (1001, 'Elettroforniture Brambilla S.p.A.');
-- Statements seen by the trigger inside the save's transaction (rolled back with it), and all
-- statements seen (a MEMORY table: not transactional, a rollback leaves it as it is).
CREATE TABLE conta_istruzioni (n INT NOT NULL) ENGINE=InnoDB;
CREATE TABLE tentativi_istruzioni (n INT NOT NULL) ENGINE=MEMORY;
INSERT INTO conta_istruzioni VALUES (0);
INSERT INTO tentativi_istruzioni VALUES (0);
)";

// The waybill saved, and two neighbours: the same number and date in another branch, and
// another number of the same customer.
const char *const lettere = R"(
DELETE FROM letve00f;
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, lelin1,
                      lecdve, lecnss, leanpc, leimpa, lefinc, leban)
VALUES ('01', '10001', 2015, '2015-03-03', 'RIF-001', '2015-03-02', 1001, 'Farmacia San Marco',
        11, 101, 150.00, 12.50, 19.90, '01', 'Banca di prima'),
       ('02', '10001', 2015, '2015-03-03', 'RIF-201', '2015-03-02', 1001, 'Rossi Mario',
        11, 101, 150.00, 12.50, 19.90, NULL, NULL),
       ('01', '10002', 2015, '2015-03-03', 'RIF-002', '2015-03-02', 1001, 'Ottica Moretti',
        11, 101, 80.00, 0, 0, NULL, NULL);
)";

// The sixteen columns of the save, in the order of its statements.
const QStringList colonne{"lefinc", "leban",  "letpin", "lenras", "lepiaz", "leimcs",
                          "leflic", "leflsc", "leimap", "leflia", "leflsa", "leinpa",
                          "leflip", "leflsp", "ledtin", "leflco"};
// What they hold after the entry of compilaTutto() is saved.
// clang-format off
const QStringList salvati{"03", "Banca d'Alba \\ Bra", "2", "A-0012", "Alba", "150.00", "3", "1",
                          "12.50", "1", "0", "19.90", "4", "1", "2015-03-15", "1"};
// clang-format on

} // namespace

class tst_GuastiSalvataggio : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void guastoNellIstruzione_data();
    void guastoNellIstruzione();

private:
    frmRiscuti *finestra() const { return frmRiscuti::istanza(); }
    template <typename T> T *controllo(const char *nome) const;
    void digita(const char *campo, const QString &testo);
    void compilaTutto();
    QStringList mostrati() const;
    QStringList recordIncasso();
    int contatore(const char *tabella);
    QList<MessaggioRegistrato> salva(int attesaMs = 5000);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<cRiscuti> m_componente;
};

template <typename T> T *tst_GuastiSalvataggio::controllo(const char *nome) const
{
    return controlloDi<T>(finestra(), QLatin1String(nome));
}

void tst_GuastiSalvataggio::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(anagrafiche)));
    m_componente = std::make_unique<cRiscuti>();
    m_componente->setPercorsoDatabase(m_db->testoConnessione());
}

// The host opens the window on waybill 10001; its amounts unlock the cash-on-delivery group.
void tst_GuastiSalvataggio::init()
{
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(lettere)));
    ESEGUI_SQL(*m_db, QStringLiteral("UPDATE conta_istruzioni SET n=0"));
    ESEGUI_SQL(*m_db, QStringLiteral("UPDATE tentativi_istruzioni SET n=0"));
    if (frmRiscuti *aperta = frmRiscuti::istanza(false))
        aperta->scarica();
    m_componente->MostraRiscutiEXT(QStringLiteral("10001"), QStringLiteral("03/03/2015"),
                                   QStringLiteral("01"), QStringLiteral("1001"));
    finestra()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(finestra()));
    QTRY_COMPARE(controllo<QLineEdit>("txtLDV")->text(), QStringLiteral("10001"));
}

void tst_GuastiSalvataggio::cleanup()
{
    QVERIFY(m_db->esegui(QStringLiteral("DROP TRIGGER IF EXISTS guasto")));
}

void tst_GuastiSalvataggio::cleanupTestCase()
{
    finestra()->scarica();
    m_componente.reset();
}

void tst_GuastiSalvataggio::digita(const char *campo, const QString &testo)
{
    auto *editor = controllo<QLineEdit>(campo);
    QTest::mouseClick(editor, Qt::LeftButton);
    QTRY_VERIFY(editor->hasFocus());
    editor->selectAll();
    QTest::keyClicks(editor, testo);
}

// Every field of the collection record filled, so that all sixteen statements run.
void tst_GuastiSalvataggio::compilaTutto()
{
    QTest::mouseClick(controllo<QLabel>("lblImpAnt"), Qt::LeftButton);
    QTest::mouseClick(controllo<QLabel>("lblImpAssegnato"), Qt::LeftButton);
    digita("txtFilInc", QStringLiteral("03"));
    controllo<QComboBox>("cmbIncassoCon")->setCurrentIndex(1);
    digita("txtBanca", QStringLiteral("Banca d'Alba \\ Bra"));
    digita("txtNrAssegno", QStringLiteral("A-0012"));
    digita("txtPiazza", QStringLiteral("Alba"));
    digita("txtIncContrassegno", QStringLiteral("150"));
    controllo<QComboBox>("cmbCodIncContr")->setCurrentIndex(3);
    QTest::mouseClick(controllo<QCheckBox>("chkInvioContr"), Qt::LeftButton);
    digita("txtIncAnticipata", QStringLiteral("12,5"));
    controllo<QComboBox>("cmbCodIncAnt")->setCurrentIndex(1);
    digita("txtIncAssegnato", QStringLiteral("19,90"));
    controllo<QComboBox>("cmbCodIncAssegnato")->setCurrentIndex(4);
    QTest::mouseClick(controllo<QCheckBox>("chkInvioAssegnato"), Qt::LeftButton);
    digita("txtDataInc", QStringLiteral("15032015"));
    QTest::mouseClick(controllo<QCheckBox>("chkPassCont"), Qt::LeftButton);
}

// What the operator sees of the waybill and of the entry.
QStringList tst_GuastiSalvataggio::mostrati() const
{
    QStringList valori;
    for (QLineEdit *campo : finestra()->findChildren<QLineEdit *>())
        valori << campo->objectName() + QLatin1Char('=') + campo->displayText();
    for (QComboBox *lista : finestra()->findChildren<QComboBox *>())
        valori << lista->objectName() + QLatin1Char('=') + lista->currentText();
    for (QCheckBox *casella : finestra()->findChildren<QCheckBox *>())
        valori << casella->objectName() +
                      (casella->isChecked() ? QStringLiteral("=1") : QStringLiteral("=0"));
    for (QLabel *etichetta : finestra()->findChildren<QLabel *>())
        valori << etichetta->objectName() + QLatin1Char('=') + etichetta->text();
    return valori;
}

QStringList tst_GuastiSalvataggio::recordIncasso()
{
    QStringList valori;
    for (const QVariant &valore :
         m_db->righe(QStringLiteral("SELECT %1 FROM letve00f WHERE lefili='01' AND "
                                    "lenrlv='10001'")
                         .arg(colonne.join(QLatin1Char(','))))
             .value(0))
        valori << (valore.isNull() ? QStringLiteral("NULL") : valore.toString());
    return valori;
}

int tst_GuastiSalvataggio::contatore(const char *tabella)
{
    return m_db->valore(QStringLiteral("SELECT n FROM %1").arg(QLatin1String(tabella))).toInt();
}

QList<MessaggioRegistrato> tst_GuastiSalvataggio::salva(int attesaMs)
{
    RisposteMessaggi risposte;
    QTest::mouseClick(controllo<QPushButton>("cmdSalva"), Qt::LeftButton);
    risposte.attendi(1, attesaMs);
    // The box gone, the window is the active one again (the offscreen platform does not give
    // the activation back by itself, a desktop does).
    finestra()->activateWindow();
    if (!QTest::qWaitForWindowActive(finestra()))
        qWarning("frmRiscuti did not become active again");
    return risposte.registrati();
}

void tst_GuastiSalvataggio::guastoNellIstruzione_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<bool>("taglio");
    for (int k = 1; k <= colonne.size(); ++k)
        QTest::addRow("statement %d (%s) refused", k, qPrintable(colonne.at(k - 1))) << k << false;
    for (int k : {1, 8, 16})
        QTest::addRow("connection cut during statement %d (%s)", k, qPrintable(colonne.at(k - 1)))
            << k << true;
}

// A trigger counts the save's statements; at the k-th it refuses it, or sleeps until another
// thread kills the connection.
void tst_GuastiSalvataggio::guastoNellIstruzione()
{
    QFETCH(int, k);
    QFETCH(bool, taglio);
    compilaTutto();
    const QStringList schermo = mostrati();
    const QStringList prima = ControlliDb::righe(*m_db, QStringLiteral("letve00f"));
    ESEGUI_SQL(*m_db,
               QStringLiteral("CREATE TRIGGER guasto BEFORE UPDATE ON letve00f FOR EACH ROW BEGIN "
                              "UPDATE conta_istruzioni SET n = n + 1; "
                              "UPDATE tentativi_istruzioni SET n = n + 1; "
                              "IF (SELECT n FROM conta_istruzioni) = %1 THEN %2; END IF; END")
                   .arg(k)
                   .arg(taglio ? ControlliDb::attesaDelTaglio()
                               : QStringLiteral("SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
                                                "'Istruzione %1 rifiutata'")
                                     .arg(k)));

    QList<MessaggioRegistrato> messaggi;
    {
        std::optional<ControlliDb::TaglioConnessione> taglia;
        if (taglio)
            taglia.emplace(m_db->socket(), m_db->nome());
        messaggi = salva(25000);
        QVERIFY(!taglia || taglia->tagliata());
    }

    // One critical message with the server's number and description.
    QCOMPARE(messaggi.size(), 1);
    QCOMPARE(messaggi.first().titolo, QStringLiteral("Gestione riscuti contrassegni"));
    QCOMPARE(messaggi.first().icona, QMessageBox::Critical);
    if (taglio)
        QVERIFY2(QRegularExpression(QStringLiteral("^(1927 \\S|(2006|2013) Connessione con il server del database)"))
                     .match(messaggi.first().testo)
                     .hasMatch(),
                 qPrintable(messaggi.first().testo));
    else
        QCOMPARE(messaggi.first().testo, QStringLiteral("1644 Istruzione %1 rifiutata").arg(k));

    // Statements 1 to k reached the server; none of them stayed.
    QCOMPARE(contatore("tentativi_istruzioni"), k);
    QCOMPARE(contatore("conta_istruzioni"), 0);
    QCOMPARE(ControlliDb::righe(*m_db, QStringLiteral("letve00f")), prima);
    // The entry is still on screen, to be saved again.
    QCOMPARE(mostrati(), schermo);

    ESEGUI_SQL(*m_db, QStringLiteral("DROP TRIGGER guasto"));
    messaggi = salva();
    QCOMPARE(messaggi.size(), 1);
    QCOMPARE(messaggi.first().testo, QStringLiteral("Salvataggio effettuato correttamente."));
    QCOMPARE(recordIncasso(), salvati);
    QCOMPARE(controllo<QLineEdit>("txtBanca")->text(), QString());
}

QTEST_MAIN(tst_GuastiSalvataggio)
#include "tst_guasti_salvataggio.moc"
