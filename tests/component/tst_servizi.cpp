// The module services the windows share: closing recordsets and connections, one statement on a
// connection of its own, the topmost switch. (The collection-code list is read through the
// collection window's lists.)
#include "services/modprincipale.h"

#include "component/cRiscuti.h"
#include "data/connessione.h"
#include "data/recordset.h"
#include "data/riservaconnessioni.h"
#include "support/databasediprova.h"
#include "support/errori.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

class tst_Servizi : public QObject
{
    Q_OBJECT
    std::unique_ptr<DatabaseDiProva> m_db;

    // The sessions on the test database as the server sees them; 1 is the fixture's own.
    int sessioni()
    {
        RiservaConnessioni::svuota(); // a closed connection may wait for reuse: log it out
        const char *sql = "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB=DATABASE()";
        return m_db->valore(sql).toInt();
    }

private slots:
    void initTestCase()
    {
        m_db = std::make_unique<DatabaseDiProva>();
        QVERIFY(m_db->pronto());
        modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
    }

    void chiudiConnessione_data()
    {
        QTest::addColumn<bool>("rilascia");
        QTest::addColumn<bool>("tieniConnessione");
        QTest::addColumn<bool>("aperta");
        QTest::newRow("keep the connection: only the recordset closed") << false << true << true;
        QTest::newRow("both closed, both kept") << false << false << false;
        QTest::newRow("released, whatever keeping says") << true << true << false;
    }

    void chiudiConnessione()
    {
        QFETCH(bool, rilascia);
        QFETCH(bool, tieniConnessione);
        QFETCH(bool, aperta);
        auto connessione = std::make_unique<Connessione>(m_db->testoConnessione());
        connessione->apri();
        auto recordset = std::make_unique<Recordset>();
        recordset->apri("select 1", *connessione);
        ChiudiConnessione(recordset, connessione, rilascia, tieniConnessione);
        QCOMPARE(recordset && connessione, !rilascia);
        QVERIFY(!recordset || !recordset->aperto());
        QTRY_COMPARE(sessioni(), aperta ? 2 : 1);
        std::unique_ptr<Recordset> nessuno; // nothing held: nothing done, nothing reported
        std::unique_ptr<Connessione> nessuna;
        ChiudiConnessione(nessuno, nessuna, rilascia, tieniConnessione);
    }

    // One statement on a connection of its own, outside the transaction the shared connection has
    // open; a refusal reaches the caller; no session stays behind.
    void eseguiComando()
    {
        Connessione comune(m_db->testoConnessione());
        comune.apri();
        comune.iniziaTransazione();
        comune.esegui("insert into clien (Codice, RagioneSociale) values (1, 'a')");
        EseguiComando("insert into clien (Codice, RagioneSociale) values (7, 'b');");
        comune.annullaTransazione();
        QCOMPARE(m_db->valore("select group_concat(Codice) from clien").toString(), "7");
        QCOMPARE(numeroErrore([] { EseguiComando("create table clien (a int);"); }), 1050);
        comune.chiudi();
        QTRY_COMPARE(sessioni(), 1);
    }

    // A host that lets the component go has its logins on the server go too.
    void fineDelComponente()
    {
        RiservaConnessioni::svuota();
        auto componente = std::make_unique<cRiscuti>();
        Connessione(m_db->testoConnessione()).apri(); // closed at once: kept for reuse
        QCOMPARE(RiservaConnessioni::numeroInAttesa(), 1);
        componente.reset();
        QCOMPARE(RiservaConnessioni::numeroInAttesa(), 0);
    }

    // Entering and leaving the topmost band, as the remittance window does around its letter: the
    // window keeps its native window, its place, the activation and its focused field, so the
    // operator's next keys land where they did. A hidden window only gets the flag.
    void inPrimoPiano()
    {
        QWidget finestra;
        auto *campo = new QLineEdit;
        (new QVBoxLayout(&finestra))->addWidget(campo);
        finestra.setGeometry(40, 50, 300, 200);
        finestra.show();
        finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        campo->setFocus();
        QTRY_VERIFY(campo->hasFocus());
        const WId nativa = finestra.winId();
        const QRect geometria = finestra.geometry();
        for (const bool primoPiano : {true, false, true}) {
            ImpostaInPrimoPiano(&finestra, primoPiano);
            QCOMPARE(finestra.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint),
                     primoPiano);
            QTest::qWait(50);
            QCOMPARE(finestra.winId(), nativa);
            QCOMPARE(finestra.geometry(), geometria);
            QCOMPARE(QApplication::activeWindow(), &finestra);
            QVERIFY(finestra.isVisible() && campo->hasFocus());
        }
        QWidget nascosta;
        ImpostaInPrimoPiano(&nascosta, true);
        QVERIFY(nascosta.windowFlags().testFlag(Qt::WindowStaysOnTopHint) && !nascosta.isVisible());
    }
};

QTEST_MAIN(tst_Servizi)
#include "tst_servizi.moc"
