#include "remittance/frmannullarimessa.h"

#include "services/modprincipale.h"
#include "data/connessione.h"
#include "data/istruzioni.h"
#include "remittance/controllidb.h"
#include "support/databasediprova.h"
#include "support/rispostemessaggi.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

const QString titolo = QStringLiteral("Riscuti");
const QString impossibile = QStringLiteral("Impossibile annullare la rimessa contrassegni.");

} // namespace

class tst_frmAnnullaRimessa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aspetto();
    void annullamento_data();
    void annullamento();
    void rifiutato_data();
    void rifiutato();
    void rispostaNo();
    void erroreDelServerAnnullaTutto();
    void dopoLAnnullamentoLeLdvTornanoSelezionabili();

private:
    bool preparaDati();
    template <typename T> T *controllo(const char *nome) const;
    void compila(const QString &numero, const QString &data);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<RisposteMessaggi> m_risposte;
    frmAnnullaRimessa *m_finestra = nullptr;
};

template <typename T> T *tst_frmAnnullaRimessa::controllo(const char *nome) const
{
    return m_finestra ? m_finestra->findChild<T *>(QLatin1String(nome)) : nullptr;
}

void tst_frmAnnullaRimessa::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
}

// Remittance 42 of 10/02/2025 by our cheque over three waybills, remittance 43 of 11/02/2025 in
// cash over two, and an older 42 of 10/02/2024 that shares the number only.
bool tst_frmAnnullaRimessa::preparaDati()
{
    // Emptied rather than made anew: the tables and the view stay, every row goes.
    return m_db->esegui(QStringLiteral("DROP TRIGGER IF EXISTS blocca_eliminazione")) &&
           m_db->esegui(QStringLiteral("DELETE FROM letve00f")) &&
           m_db->esegui(QStringLiteral("DELETE FROM contrassegni")) &&
           m_db->esegui(QStringLiteral("UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=43")) &&
           m_db->esegui(QStringLiteral(
               "INSERT INTO letve00f (lefili, lenrlv, leanlv, lecodi, lecnss, leimcs, leflic, "
               "leflsc, ledtin, lendvc, ledtvc) VALUES "
               "('01', '3001', 2025, 1001, 10, 10, '3', 1, '2025-01-01', 42, '2025-02-10'), "
               "('01', '3002', 2025, 1001, 20, 20, '3', 1, '2025-01-15', 42, '2025-02-10'), "
               "('03', '3003', 2025, 1001, 30.5, 30.5, '3', 1, '2025-01-20', 42, '2025-02-10'), "
               "('01', '1001', 2025, 1001, 120.5, 120.5, '1', 1, '2025-01-10', 43, '2025-02-11'), "
               "('02', '1002', 2025, 1001, 80, 80, '1', 1, '2025-01-31', 43, '2025-02-11'), "
               "('01', '3001', 2024, 1001, 10, 10, '3', 1, '2024-01-01', 42, '2024-02-10'), "
               "('01', '5000', 2025, 1001, 10, 10, '1', 0, '2025-01-02', 0, NULL)")) &&
           m_db->esegui(QStringLiteral(
               "INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, Importo) "
               "VALUES (42, '2025-02-10', 'A-77/1', 'Banca dell''Adda', 60.50), "
               "(42, '2025-02-10', 'A-77/1', 'Banca dell''Adda', 60.50), "
               "(42, '2025-02-10', 'A-77/1', 'Banca dell''Adda', 60.50), "
               "(42, '2024-02-10', 'Z-1', 'Banca Sella', 10.00)"));
}

void tst_frmAnnullaRimessa::init()
{
    QVERIFY(preparaDati());
    m_risposte = std::make_unique<RisposteMessaggi>();
    m_finestra = frmAnnullaRimessa::istanza();
    m_finestra->mostra();
    QVERIFY(QTest::qWaitForWindowActive(m_finestra));
}

void tst_frmAnnullaRimessa::cleanup()
{
    if (m_finestra)
        m_finestra->scarica();
    m_risposte.reset();
}

void tst_frmAnnullaRimessa::compila(const QString &numero, const QString &data)
{
    auto *txtNum = controllo<QLineEdit>("txtNum");
    QTest::mouseClick(txtNum, Qt::LeftButton);
    QTest::keyClicks(txtNum, numero);
    if (data.isEmpty())
        return;
    QTest::keyClick(txtNum, Qt::Key_Tab);
    auto *txtData = controllo<QLineEdit>("txtData");
    QVERIFY(txtData->hasFocus());
    QTest::keyClicks(txtData, QString(data).remove(QLatin1Char('/')));
    QCOMPARE(txtData->displayText(), data);
}

void tst_frmAnnullaRimessa::aspetto()
{
    QCOMPARE(m_finestra->objectName(), QStringLiteral("frmAnnullaRimessa"));
    QCOMPARE(m_finestra->windowTitle(), QStringLiteral("Annulla Rimessa contrassegni"));
    QCOMPARE(controllo<QPushButton>("cmdAnnullaRimessa")->text(),
             QStringLiteral("&Annulla Rimessa"));
    QCOMPARE(controllo<QPushButton>("cmdEsci")->text(), QStringLiteral("&Esci"));
    const QList<QLabel *> etichette = m_finestra->findChildren<QLabel *>();
    for (const auto &[campo, testo] : {std::pair{"txtNum", QStringLiteral("Numero rimessa :")},
                                       std::pair{"txtData", QStringLiteral("Data rimessa :")}}) {
        QWidget *controlloCampo = m_finestra->findChild<QLineEdit *>(QLatin1String(campo));
        QVERIFY2(controlloCampo, campo);
        const auto trovata = std::find_if(etichette.cbegin(), etichette.cend(),
                                          [&](QLabel *l) { return l->buddy() == controlloCampo; });
        QVERIFY2(trovata != etichette.cend(), campo);
        QCOMPARE((*trovata)->text(), testo);
    }
    QVERIFY(controllo<QLineEdit>("txtNum")->hasFocus());
    QCOMPARE(controllo<QLineEdit>("txtData")->inputMask(), QString());

    compila(QStringLiteral("42"), QStringLiteral("10/02/2025"));
    const QString cartella = qEnvironmentVariable("RISCUTI_SCHERMATE");
    if (!cartella.isEmpty())
        m_finestra->grab().save(cartella + QStringLiteral("/frmannullarimessa.png"));

    // Closing and showing the window again starts from empty fields.
    m_finestra->scarica();
    m_finestra->mostra();
    QVERIFY(QTest::qWaitForWindowActive(m_finestra));
    QCOMPARE(controllo<QLineEdit>("txtNum")->text(), QString());
    QCOMPARE(controllo<QLineEdit>("txtData")->text(), QString());
    QCOMPARE(controllo<QLineEdit>("txtData")->inputMask(), QString());
}

void tst_frmAnnullaRimessa::annullamento_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QStringList>("azzerate");          // waybills back to unremitted
    QTest::addColumn<QStringList>("restaContrassegni"); // remittance records left

    const QString vecchia = QStringLiteral("42|2024-02-10|Z-1|Banca Sella|10.00");
    const QString assegno = QStringLiteral("42|2025-02-10|A-77/1|Banca dell'Adda|60.50");
    const QStringList tutti{assegno, assegno, assegno, vecchia};
    QTest::newRow("Invio ns assegno over three waybills")
        << QStringLiteral("42") << QStringLiteral("10/02/2025")
        << QStringList{QStringLiteral("01|3001|2025"), QStringLiteral("01|3002|2025"),
                       QStringLiteral("03|3003|2025")}
        << QStringList{vecchia};
    QTest::newRow("In Cassa deletes no record")
        << QStringLiteral("43") << QStringLiteral("11/02/2025")
        << QStringList{QStringLiteral("01|1001|2025"), QStringLiteral("02|1002|2025")} << tutti;
    QTest::newRow("a number with nothing posted")
        << QStringLiteral("99") << QStringLiteral("10/02/2025") << QStringList() << tutti;
    QTest::newRow("the right number on another day")
        << QStringLiteral("43") << QStringLiteral("10/02/2025") << QStringList() << tutti;
    QTest::newRow("empty date changes nothing")
        << QStringLiteral("42") << QString() << QStringList() << tutti;
}

// The answer Yes cancels: the waybills of that number and date go back to collected but not
// remitted, the records of that number and date go, nothing else moves.
void tst_frmAnnullaRimessa::annullamento()
{
    QFETCH(QString, numero);
    QFETCH(QString, data);
    QFETCH(QStringList, azzerate);
    QFETCH(QStringList, restaContrassegni);

    QStringList attesoLdv = ControlliDb::statoLdv(*m_db);
    for (QString &riga : attesoLdv) {
        const QString chiave = riga.section(QLatin1Char('|'), 0, 2);
        if (azzerate.contains(chiave))
            riga = chiave + QStringLiteral("|0|-|0");
    }

    compila(numero, data);
    m_risposte->rispondi({QMessageBox::Yes, QMessageBox::Ok});
    QTest::mouseClick(controllo<QPushButton>("cmdAnnullaRimessa"), Qt::LeftButton);

    QCOMPARE(m_risposte->registrati().size(), 2);
    const MessaggioRegistrato &domanda = m_risposte->registrati().at(0);
    QCOMPARE(domanda.testo, QStringLiteral("Annullare la rimessa %1 del %2?").arg(numero, data));
    QCOMPARE(domanda.titolo, titolo);
    QCOMPARE(domanda.icona, QMessageBox::Question);
    QCOMPARE(domanda.pulsanti, QMessageBox::Yes | QMessageBox::No);
    const MessaggioRegistrato &esito = m_risposte->registrati().at(1);
    QCOMPARE(esito.testo,
             QStringLiteral("Rimessa contrassegni: %1 del %2 annullata.").arg(numero, data));
    QCOMPARE(esito.titolo, titolo);
    QCOMPARE(esito.icona, QMessageBox::Information);

    QCOMPARE(ControlliDb::statoLdv(*m_db), attesoLdv);
    QCOMPARE(ControlliDb::contrassegni(*m_db), restaContrassegni);
    // A cancelled number is not given again.
    QCOMPARE(
        m_db->valore(QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f")).toInt(),
        43);
    QCOMPARE(controllo<QLineEdit>("txtNum")->text(), QString());
    QCOMPARE(controllo<QLineEdit>("txtData")->text(), QString());
    QCOMPARE(controllo<QLineEdit>("txtData")->inputMask(), QString());
    QVERIFY(!modPrincipale::ConnessioneComune());
}

void tst_frmAnnullaRimessa::rifiutato_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("data");
    QTest::newRow("letters in the number") << QStringLiteral("4a2") << QStringLiteral("10/02/2025");
    QTest::newRow("empty number") << QString() << QStringLiteral("10/02/2025");
    QTest::newRow("a date that does not exist")
        << QStringLiteral("42") << QStringLiteral("31/02/2025");
    QTest::newRow("half a date") << QStringLiteral("42") << QStringLiteral("10/02");
}

void tst_frmAnnullaRimessa::rifiutato()
{
    QFETCH(QString, numero);
    QFETCH(QString, data);
    const QStringList primaLdv = ControlliDb::statoLdv(*m_db);
    const QStringList primaContrassegni = ControlliDb::contrassegni(*m_db);
    compila(numero, data.size() == 10 ? data : QString());
    if (data.size() < 10) {
        QTest::keyClick(controllo<QLineEdit>("txtNum"), Qt::Key_Tab);
        QTest::keyClicks(controllo<QLineEdit>("txtData"), QString(data).remove(QLatin1Char('/')));
    }
    const QString visto = controllo<QLineEdit>("txtData")->displayText();
    m_risposte->rispondi({QMessageBox::Yes, QMessageBox::Ok});
    QTest::mouseClick(controllo<QPushButton>("cmdAnnullaRimessa"), Qt::LeftButton);

    QCOMPARE(m_risposte->testi(),
             (QStringList{QStringLiteral("Annullare la rimessa %1 del %2?").arg(numero, visto),
                          impossibile}));
    QCOMPARE(m_risposte->registrati().at(1).titolo, titolo);
    QCOMPARE(m_risposte->registrati().at(1).icona, QMessageBox::Warning);
    QCOMPARE(ControlliDb::statoLdv(*m_db), primaLdv);
    QCOMPARE(ControlliDb::contrassegni(*m_db), primaContrassegni);
    QCOMPARE(controllo<QLineEdit>("txtNum")->text(), numero);
    QCOMPARE(controllo<QLineEdit>("txtData")->displayText(), visto);
    QVERIFY(!modPrincipale::ConnessioneComune());
}

void tst_frmAnnullaRimessa::rispostaNo()
{
    const QStringList primaLdv = ControlliDb::statoLdv(*m_db);
    compila(QStringLiteral("42"), QStringLiteral("10/02/2025"));
    m_risposte->rispondi(QMessageBox::No);
    QTest::mouseClick(controllo<QPushButton>("cmdAnnullaRimessa"), Qt::LeftButton);
    QCOMPARE(m_risposte->registrati().size(), 1);
    QCOMPARE(ControlliDb::statoLdv(*m_db), primaLdv);
    QCOMPARE(ControlliDb::contrassegni(*m_db).size(), 4);
    QCOMPARE(controllo<QLineEdit>("txtNum")->text(), QStringLiteral("42"));
    QCOMPARE(controllo<QLineEdit>("txtData")->displayText(), QStringLiteral("10/02/2025"));
}

// The records cannot be deleted: the waybills' reset, already run, is rolled back with it.
void tst_frmAnnullaRimessa::erroreDelServerAnnullaTutto()
{
    ESEGUI_SQL(*m_db, QStringLiteral("CREATE TRIGGER blocca_eliminazione BEFORE DELETE ON "
                                     "contrassegni FOR EACH ROW SIGNAL SQLSTATE '45000' SET "
                                     "MESSAGE_TEXT = 'Distinta chiusa'"));
    const QStringList primaLdv = ControlliDb::statoLdv(*m_db);
    compila(QStringLiteral("42"), QStringLiteral("10/02/2025"));
    m_risposte->rispondi({QMessageBox::Yes, QMessageBox::Ok});
    QTest::mouseClick(controllo<QPushButton>("cmdAnnullaRimessa"), Qt::LeftButton);

    QCOMPARE(m_risposte->testi().value(1), impossibile);
    QCOMPARE(ControlliDb::statoLdv(*m_db), primaLdv);
    QCOMPARE(ControlliDb::contrassegni(*m_db).size(), 4);
    QVERIFY(!modPrincipale::ConnessioneComune());
}

void tst_frmAnnullaRimessa::dopoLAnnullamentoLeLdvTornanoSelezionabili()
{
    const QString selezione = Istruzioni::selezioneRimessa(3, QDate(2025, 1, 1), QDate(2025, 1, 31),
                                                           QStringLiteral("1001"));
    const QString chiavi =
        QStringLiteral("SELECT CONCAT_WS('|', lefili, lenrlv, leanlv) FROM (%1) s "
                       "ORDER BY 1")
            .arg(QString(selezione).chopped(1));
    QCOMPARE(m_db->righe(chiavi).size(), 0);

    compila(QStringLiteral("42"), QStringLiteral("10/02/2025"));
    m_risposte->rispondi({QMessageBox::Yes, QMessageBox::Ok});
    QTest::mouseClick(controllo<QPushButton>("cmdAnnullaRimessa"), Qt::LeftButton);
    QCOMPARE(m_risposte->registrati().size(), 2);

    QList<QVariantList> attese{{QStringLiteral("01|3001|2025")},
                               {QStringLiteral("01|3002|2025")},
                               {QStringLiteral("03|3003|2025")}};
    QCOMPARE(m_db->righe(chiavi), attese);
}

QTEST_MAIN(tst_frmAnnullaRimessa)
#include "tst_frmannullarimessa.moc"
