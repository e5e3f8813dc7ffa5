#include "data/connessione.h"
#include "data/recordset.h"
#include "data/riservaconnessioni.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <future>

// Each TLS mode of the connection text against the servers tests/data/server-tls.sh starts: one
// whose certificate the station's CA signed, an impostor with another CA's, one without TLS.
// A relay between station and server records what the station puts on the wire.
class tst_Tls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void modi_data();
    void modi();
    void riservaSeparaCifrateEInChiaro();
};

namespace {

const QString password = QStringLiteral("Segreta-Tls-7"); // as server-tls.sh made the accounts
const QString senzaTls = QStringLiteral("il server non offre connessioni cifrate (TLS)");
QString cartella;

// Relays one connection from a port of its own to the server's, on another thread, and gives
// what the station sent once either side has hung up (15 s at most).
std::future<QByteArray> registra(quint16 server, quint16 &porta)
{
    std::promise<quint16> inAscolto;
    std::future<quint16> portaRelay = inAscolto.get_future();
    std::future<QByteArray> inviato =
        std::async(std::launch::async, [server, inAscolto = std::move(inAscolto)]() mutable {
            QTcpServer ascolto;
            ascolto.listen(QHostAddress::LocalHost);
            inAscolto.set_value(ascolto.serverPort());
            QByteArray dati;
            QDeadlineTimer limite(15000);
            if (!ascolto.waitForNewConnection(15000))
                return dati;
            QTcpSocket *stazione = ascolto.nextPendingConnection();
            QTcpSocket verso;
            verso.connectToHost(QHostAddress::LocalHost, server);
            verso.waitForConnected(5000);
            // Each socket writes what waits for it while it waits to read.
            while (stazione->state() == QAbstractSocket::ConnectedState &&
                   verso.state() == QAbstractSocket::ConnectedState && !limite.hasExpired()) {
                if (stazione->waitForReadyRead(5))
                    verso.write(stazione->peek(stazione->bytesAvailable()));
                dati += stazione->readAll();
                if (verso.waitForReadyRead(5))
                    stazione->write(verso.readAll());
            }
            return dati;
        });
    porta = portaRelay.get();
    return inviato;
}

quint16 porta(const QString &server)
{
    QFile file(cartella + '/' + server + QStringLiteral(".porta"));
    return file.open(QIODevice::ReadOnly) ? quint16(file.readAll().trimmed().toUInt()) : 0;
}

// "Server=<host>;Port=<porta>;Pwd=...;<chiavi>", the fixture's files in place of @CA, @CERT, @KEY.
QString testo(const QString &host, quint16 porta, QString chiavi)
{
    const QString pki = cartella + QStringLiteral("/pki/");
    chiavi.replace("@CA", pki + "ca.pem")
        .replace("@CERT", pki + "postazione.pem")
        .replace("@KEY", pki + "postazione.key");
    return QStringLiteral("Server=%1;Port=%2;Pwd=%3;%4").arg(host).arg(porta).arg(password, chiavi);
}

// What the server says of the session: "cifrata" with a cipher, else "chiaro"; and its id.
QString sessione(Connessione &connessione)
{
    Recordset rs;
    rs.apri("SELECT CONCAT(IF(VARIABLE_VALUE = '', 'chiaro ', 'cifrata '), CONNECTION_ID()) FROM "
            "information_schema.SESSION_STATUS WHERE VARIABLE_NAME = 'SSL_CIPHER'",
            connessione);
    return rs.campo(0).toString();
}

} // namespace

void tst_Tls::initTestCase()
{
    cartella = qEnvironmentVariable("RISCUTI_TEST_TLS");
    // Run through ctest (server_tls_start), or set it to the DIR of `server-tls.sh start DIR`.
    QVERIFY2(porta("chiaro") > 0, "No TLS servers in RISCUTI_TEST_TLS");
}

void tst_Tls::modi_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("chiavi");
    QTest::addColumn<QString>("esito"); // "chiaro", "cifrata", or why it was refused
    const QString altraCa = QStringLiteral("non è firmato da un'autorità indicata in SslCa");
    // Each mode against each server, the station's CA named; the certificates are for localhost,
    // so VERIFY_IDENTITY goes by that name, the others by address.
    const QStringList modi{"DISABLED", "PREFERRED", "REQUIRED", "VERIFY_CA", "VERIFY_IDENTITY"};
    const QList<QStringList> esiti{{"chiaro", "cifrata", "cifrata", "cifrata", "cifrata"},
                                   {"chiaro", "cifrata", "cifrata", altraCa, altraCa},
                                   {"chiaro", "chiaro", senzaTls, senzaTls, senzaTls}};
    const QStringList server{"vero", "impostore", "chiaro"};
    for (int s = 0; s < 3; ++s)
        for (int m = 0; m < 5; ++m)
            QTest::addRow("%s %s", qPrintable(server[s]), qPrintable(modi[m]))
                << server[s] << (m == 4 ? "localhost" : "127.0.0.1")
                << "Uid=stazione;SslCa=@CA;SslMode=" + modi[m] << esiti[s][m];
    const auto vero = [](const char *nome, const char *host, const char *chiavi,
                         const char *esito) {
        QTest::newRow(nome) << "vero" << host << chiavi << esito;
    };
    // clang-format off
    vero("vero VERIFY_IDENTITY, another name", "127.0.0.1",
         "Uid=stazione;SslCa=@CA;SslMode=VERIFY_IDENTITY", "non è intestato al nome \"127.0.0.1\"");
    vero("REQUIRE X509, the station's certificate", "localhost",
         "Uid=certificata;SslMode=VERIFY_IDENTITY;SslCa=@CA;SslCert=@CERT;SslKey=@KEY", "cifrata");
    vero("REQUIRE X509, the station's certificate, PREFERRED", "127.0.0.1",
         "Uid=certificata;SslMode=PREFERRED;SslCert=@CERT;SslKey=@KEY", "cifrata");
    vero("REQUIRE X509 without a certificate", "localhost", "Uid=certificata;SslCa=@CA;SslMode="
         "VERIFY_IDENTITY", "il server chiede il certificato della postazione (SslCert e SslKey)");
    // clang-format on
}

// The server's view of the session, and the wire's: the account's name crosses it readable
// only in clear text, and a station that refuses a server without TLS sends it nothing at all.
void tst_Tls::modi()
{
    QFETCH(QString, server);
    QFETCH(QString, host);
    QFETCH(QString, chiavi);
    QFETCH(QString, esito);
    quint16 relay = 0;
    std::future<QByteArray> registrato = registra(porta(server), relay);
    QString visto;
    try {
        Connessione connessione(testo(host, relay, chiavi));
        connessione.apri();
        visto = sessione(connessione).section(' ', 0, 0);
    } catch (const ErroreDb &e) {
        visto = e.testo();
    }
    RiservaConnessioni::svuota();
    QVERIFY2(esito.contains(' ') ? visto.contains(esito) && !visto.contains(password)
                                 : visto == esito,
             qPrintable(visto));
    const QByteArray inviato = registrato.get();
    QCOMPARE(inviato.contains(chiavi.section(';', 0, 0).section('=', 1).toUtf8()),
             esito == QLatin1String("chiaro"));
    QCOMPARE(inviato.isEmpty(), esito == senzaTls);
}

// Each text takes back the session it left in the reserve, never the other's.
void tst_Tls::riservaSeparaCifrateEInChiaro()
{
    const quint16 vero = porta(QStringLiteral("vero"));
    const QStringList testi{
        testo("127.0.0.1", vero, "Uid=stazione;SslMode=DISABLED"),
        testo("localhost", vero, "Uid=stazione;SslMode=VERIFY_IDENTITY;SslCa=@CA")};
    QStringList visti;
    for (const QString &testoConnessione : testi + testi) {
        Connessione connessione(testoConnessione);
        connessione.apri();
        visti << sessione(connessione);
    }
    QCOMPARE(visti.mid(2), visti.mid(0, 2));
    QVERIFY(visti[0].startsWith("chiaro ") && visti[1].startsWith("cifrata "));
}

QTEST_GUILESS_MAIN(tst_Tls)
#include "tst_tls.moc"
