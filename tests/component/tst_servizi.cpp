#include "services/modprincipale.h"
#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "data/riservaconnessioni.h"

#include "support/databasediprova.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

// The module services the windows share: closing recordsets and connections, one statement on
// a connection of its own, the topmost switch and the collection-code list.
class tst_Servizi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void connessioneComuneVuotaAllInizio();
    void chiudiConnessione_data();
    void chiudiConnessione();
    void chiudiConnessioneSenzaOggetti();
    void chiudiRecordset();
    void eseguiComandoFuoriDallaTransazione();
    void eseguiComandoRifiutato_data();
    void eseguiComandoRifiutato();
    void caricaCodiciIncasso();
    void inPrimoPiano();

private:
    // The server-side id of a connection, to see from outside whether it is still there.
    static qlonglong idConnessione(Connessione &connessione);
    bool connessioneViva(qlonglong id);
    int connessioniAperte();

    std::unique_ptr<DatabaseDiProva> m_db;
};

qlonglong tst_Servizi::idConnessione(Connessione &connessione)
{
    Recordset rs;
    rs.apri(QStringLiteral("select connection_id()"), connessione);
    return rs.campo(0).toLongLong();
}

bool tst_Servizi::connessioneViva(qlonglong id)
{
    return m_db->valore(QStringLiteral("select count(*) from information_schema.processlist "
                                       "where id=%1")
                            .arg(id))
               .toInt() == 1;
}

int tst_Servizi::connessioniAperte()
{
    return m_db
        ->valore(QStringLiteral("select count(*) from information_schema.processlist "
                                "where db='%1'")
                     .arg(m_db->nome()))
        .toInt();
}

void tst_Servizi::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
}

void tst_Servizi::init()
{
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
    ESEGUI_SQL(*m_db, QStringLiteral("delete from clien"));
    RiservaConnessioni::svuota(); // each case counts the server's sessions from here
}

void tst_Servizi::connessioneComuneVuotaAllInizio()
{
    QVERIFY(!modPrincipale::ConnessioneComune());
}

void tst_Servizi::chiudiConnessione_data()
{
    QTest::addColumn<bool>("rilascia");
    QTest::addColumn<bool>("tieniConnessione");
    QTest::addColumn<bool>("connessioneAperta");
    QTest::addColumn<bool>("oggettiTenuti");

    QTest::newRow("keep the connection: only the recordset closed")
        << false << true << true << true;
    QTest::newRow("without release: both closed, both kept") << false << false << false << true;
    QTest::newRow("release: both closed and released") << true << false << false << false;
    QTest::newRow("release ignores keeping the connection") << true << true << false << false;
}

void tst_Servizi::chiudiConnessione()
{
    QFETCH(bool, rilascia);
    QFETCH(bool, tieniConnessione);
    QFETCH(bool, connessioneAperta);
    QFETCH(bool, oggettiTenuti);

    auto connessione = std::make_unique<Connessione>(m_db->testoConnessione());
    connessione->apri();
    const qlonglong id = idConnessione(*connessione);
    auto recordset = std::make_unique<Recordset>();
    recordset->apri(QStringLiteral("select 1"), *connessione);
    Recordset *const rs = recordset.get();
    Connessione *const cn = connessione.get();

    ChiudiConnessione(recordset, connessione, rilascia, tieniConnessione);
    RiservaConnessioni::svuota(); // a closed connection may wait for reuse: log it out

    QCOMPARE(recordset.get() != nullptr, oggettiTenuti);
    QCOMPARE(connessione.get() != nullptr, oggettiTenuti);
    if (oggettiTenuti) {
        QCOMPARE(recordset.get(), rs);
        QCOMPARE(connessione.get(), cn);
        QVERIFY(!recordset->aperto());
        QCOMPARE(connessione->aperta(), connessioneAperta);
    }
    QTRY_COMPARE(connessioneViva(id), connessioneAperta);
}

void tst_Servizi::chiudiConnessioneSenzaOggetti()
{
    std::unique_ptr<Recordset> recordset;
    std::unique_ptr<Connessione> connessione;
    for (bool rilascia : {false, true}) {
        for (bool tieni : {false, true}) {
            ChiudiConnessione(recordset, connessione, rilascia, tieni);
            QVERIFY(!recordset);
            QVERIFY(!connessione);
        }
    }

    // Objects already closed: closed again without complaint, and released on request.
    recordset = std::make_unique<Recordset>();
    connessione = std::make_unique<Connessione>(m_db->testoConnessione());
    ChiudiConnessione(recordset, connessione, false, false);
    QVERIFY(recordset && connessione);
    ChiudiConnessione(recordset, connessione, true, false);
    QVERIFY(!recordset && !connessione);
}

void tst_Servizi::chiudiRecordset()
{
    const int prima = connessioniAperte();
    auto recordset = std::make_unique<Recordset>();
    recordset->apri(QStringLiteral("select 1"), m_db->testoConnessione());
    QTRY_COMPARE(connessioniAperte(), prima + 1);
    ChiudiRecordset(recordset);
    QVERIFY(!recordset);
    RiservaConnessioni::svuota();
    QTRY_COMPARE(connessioniAperte(), prima);
    ChiudiRecordset(recordset); // nothing held: nothing to do
    QVERIFY(!recordset);
}

void tst_Servizi::eseguiComandoFuoriDallaTransazione()
{
    const int prima = connessioniAperte();
    Connessione comune(m_db->testoConnessione());
    comune.apri();
    comune.iniziaTransazione();
    comune.esegui(QStringLiteral(
        "insert into clien (Codice, RagioneSociale) values (1, 'nella transazione')"));

    EseguiComando(
        QStringLiteral("insert into clien (Codice, RagioneSociale) values (2, 'fuori');"));
    QCOMPARE(m_db->valore(QStringLiteral("select group_concat(Codice) from clien")).toString(),
             QStringLiteral("2"));

    comune.annullaTransazione();
    QCOMPARE(m_db->valore(QStringLiteral("select group_concat(Codice) from clien")).toString(),
             QStringLiteral("2"));

    // A statement that returns rows: run and dropped, as the work-table probe does.
    EseguiComando(QStringLiteral("select * from clien;"));
    comune.chiudi();
    RiservaConnessioni::svuota();
    QTRY_COMPARE(connessioniAperte(), prima);
}

void tst_Servizi::eseguiComandoRifiutato_data()
{
    QTest::addColumn<QString>("percorso");
    QTest::addColumn<QString>("istruzione");
    QTest::addColumn<int>("numero");

    const QString buono = m_db->testoConnessione();
    QTest::newRow("missing table") << buono << "select * from PCNESSUNORimessa;" << 1146;
    QTest::newRow("table already there") << buono << "create table clien (a int);" << 1050;
    QTest::newRow("unknown database")
        << QStringLiteral("Socket=%1;Database=nessuno;Uid=root;").arg(m_db->socket()) << "select 1;"
        << 1049;
    QTest::newRow("no server on the socket")
        << QStringLiteral("Socket=/tmp/nessun-server/sock;Database=x;") << "select 1;" << 2002;
}

void tst_Servizi::eseguiComandoRifiutato()
{
    QFETCH(QString, percorso);
    QFETCH(QString, istruzione);
    QFETCH(int, numero);

    const int prima = connessioniAperte();
    modPrincipale::setPercorsoDatabase(percorso);
    try {
        EseguiComando(istruzione);
        QFAIL("no error");
    } catch (const ErroreDb &e) {
        QCOMPARE(e.numero(), numero);
    }
    RiservaConnessioni::svuota();
    QTRY_COMPARE(connessioniAperte(), prima);
}

void tst_Servizi::caricaCodiciIncasso()
{
    QComboBox lista;
    lista.addItems(
        {QStringLiteral("vecchia 1"), QStringLiteral("vecchia 2"), QStringLiteral("vecchia 3")});
    lista.setCurrentIndex(2);
    QSignalSpy scelte(&lista, &QComboBox::activated);
    QVERIFY(scelte.isValid());

    for (int volta = 0; volta < 2; ++volta) {
        CaricaCodiciIncasso(&lista);
        QCOMPARE(lista.count(), 5);
        const QStringList attesi = {
            QString(), QStringLiteral("In Cassa"), QStringLiteral("Invio assegno mitt."),
            QStringLiteral("Invio ns assegno"), QStringLiteral("Bonifico Bancario")};
        for (int i = 0; i < lista.count(); ++i) {
            QCOMPARE(lista.itemText(i), attesi.at(i));
            QCOMPARE(lista.itemData(i), QVariant(i));
        }
        // No entry chosen, and nothing that looks like an operator's choice.
        QCOMPARE(lista.currentIndex(), -1);
        QCOMPARE(lista.currentText(), QString());
        QCOMPARE(scelte.count(), 0);
        lista.setCurrentIndex(3);
    }
}

// Entering and leaving the topmost band, as the remittance window does around its letter: the
// window keeps its native window, its place, the activation and its focused field, so the
// operator's next keys land where they did.
void tst_Servizi::inPrimoPiano()
{
    QWidget finestra;
    finestra.setLayout(new QVBoxLayout);
    auto *campo = new QLineEdit;
    finestra.layout()->addWidget(new QComboBox);
    finestra.layout()->addWidget(campo);
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
        QCOMPARE(finestra.windowFlags().testFlag(Qt::WindowStaysOnTopHint), primoPiano);
        QCOMPARE(finestra.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), primoPiano);
        QTest::qWait(50);
        QCOMPARE(finestra.winId(), nativa);
        QVERIFY(finestra.isVisible());
        QCOMPARE(finestra.geometry(), geometria);
        QCOMPARE(QApplication::activeWindow(), &finestra);
        QVERIFY(campo->hasFocus());
    }

    // A hidden window gets the flag and stays hidden; no window at all is no error.
    QWidget nascosta;
    ImpostaInPrimoPiano(&nascosta, true);
    QVERIFY(nascosta.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!nascosta.isVisible());
    ImpostaInPrimoPiano(nullptr, true);
}

QTEST_MAIN(tst_Servizi)
#include "tst_servizi.moc"
