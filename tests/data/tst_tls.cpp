#include "data/connessione.h"
#include "data/riservaconnessioni.h"

#include <QFile>
#include <QMutex>
#include <QSemaphore>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

// Each TLS mode of the connection text against the servers tests/data/server-tls.sh starts: one
// whose certificate the station's CA signed, an impostor with another CA's, one without TLS.
// A relay between station and server records what the station puts on the wire.
class tst_Tls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void modi_data();
    void modi();
    void riservaSeparaCifrateEInChiaro();

private:
    QString testo(const QString &host, quint16 porta, QString chiavi) const;

    QString m_cartella;
};

namespace {

const QString Password = QStringLiteral("Segreta-Tls-7"); // as server-tls.sh made the accounts
const QString SenzaTls = QStringLiteral("il server non offre connessioni cifrate (TLS)");

// Relays one connection to a server's port, recording what the station sent.
class Registratore
{
public:
    explicit Registratore(quint16 portaServer)
    {
        m_filo = std::thread([this, portaServer] { inoltra(portaServer); });
        m_pronto.acquire();
    }
    ~Registratore() { chiudi(); }
    quint16 porta() const { return m_porta; }
    // Waits (3 s at most) for both sides to hang up, then gives what the station sent.
    QByteArray inviato()
    {
        chiudi();
        return m_inviato;
    }

private:
    void chiudi()
    {
        for (int i = 0; i < 300 && !m_finito; ++i)
            QThread::msleep(10);
        m_basta = true;
        if (m_filo.joinable())
            m_filo.join();
    }
    void inoltra(quint16 portaServer)
    {
        QTcpServer ascolto;
        ascolto.listen(QHostAddress::LocalHost);
        m_porta = ascolto.serverPort();
        m_pronto.release();
        while (!m_basta && !ascolto.hasPendingConnections())
            ascolto.waitForNewConnection(10);
        QTcpSocket *stazione = ascolto.nextPendingConnection();
        QTcpSocket server;
        server.connectToHost(QHostAddress::LocalHost, portaServer);
        while (stazione && server.waitForConnected(5000) && !m_basta &&
               stazione->state() == QAbstractSocket::ConnectedState &&
               server.state() == QAbstractSocket::ConnectedState) {
            if (stazione->waitForReadyRead(5)) {
                const QByteArray dati = stazione->readAll();
                m_inviato += dati;
                server.write(dati);
                server.flush();
            }
            if (server.waitForReadyRead(5)) {
                stazione->write(server.readAll());
                stazione->flush();
            }
        }
        m_finito = true;
    }

    std::thread m_filo;
    QSemaphore m_pronto;
    std::atomic_bool m_basta{false};
    std::atomic_bool m_finito{false};
    quint16 m_porta = 0;
    QByteArray m_inviato; // written by the relay's thread until m_finito
};

enum class Esito { InChiaro, Cifrata, Rifiutata };

quint16 porta(const QString &cartella, const QString &server)
{
    QFile file(cartella + '/' + server + QStringLiteral(".porta"));
    return file.open(QIODevice::ReadOnly) ? quint16(file.readAll().trimmed().toUInt()) : 0;
}

QVariant valore(Connessione &connessione, const QString &sql, int colonna = 0)
{
    QSqlQuery query(connessione.database());
    return query.exec(sql) && query.next() ? query.value(colonna) : QVariant();
}

} // namespace

Q_DECLARE_METATYPE(Esito)

void tst_Tls::initTestCase()
{
    m_cartella = qEnvironmentVariable("RISCUTI_TEST_TLS");
    QVERIFY2(porta(m_cartella, QStringLiteral("chiaro")) > 0,
             "No TLS servers: run through ctest (fixture server_tls_start), or "
             "`bash tests/data/server-tls.sh start DIR` and set RISCUTI_TEST_TLS=DIR");
}

void tst_Tls::cleanup()
{
    RiservaConnessioni::svuota();
}

// "Server=<host>;Port=<port>;Uid=...;Pwd=...;<resto>" with the CA and the station's files of
// the fixture in place of "@CA", "@CERT" and "@KEY".
QString tst_Tls::testo(const QString &host, quint16 porta, QString chiavi) const
{
    chiavi.replace(QLatin1String("@CA"), m_cartella + QStringLiteral("/pki/ca.pem"))
        .replace(QLatin1String("@CERT"), m_cartella + QStringLiteral("/pki/postazione.pem"))
        .replace(QLatin1String("@KEY"), m_cartella + QStringLiteral("/pki/postazione.key"));
    return QStringLiteral("Server=%1;Port=%2;Pwd=%3;%4").arg(host).arg(porta).arg(Password, chiavi);
}

void tst_Tls::modi_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("chiavi");
    QTest::addColumn<Esito>("esito");
    QTest::addColumn<QString>("motivo");

    const QString ip = QStringLiteral("127.0.0.1"), nome = QStringLiteral("localhost");
    auto riga = [](const QString &caso, const QString &server, const QString &host,
                   const QString &chiavi, Esito esito, const QString &motivo = QString()) {
        QTest::newRow(qPrintable(caso)) << server << host << chiavi << esito << motivo;
    };
    // Each mode against each server, the station's CA named; the certificates are for localhost.
    for (const QString &server :
         {QStringLiteral("vero"), QStringLiteral("impostore"), QStringLiteral("chiaro")}) {
        const bool tls = server != QLatin1String("chiaro"), vero = server == QLatin1String("vero");
        const QString perche =
            !tls   ? SenzaTls
            : vero ? QString()
                   : QStringLiteral("non è firmato da un'autorità indicata in SslCa");
        auto modo = [&](const char *m, const QString &host, Esito esito, const QString &motivo) {
            riga(server + ' ' + m, server, host,
                 QStringLiteral("Uid=stazione;SslCa=@CA;SslMode=") + m, esito, motivo);
        };
        modo("DISABLED", ip, Esito::InChiaro, QString());
        modo("PREFERRED", ip, tls ? Esito::Cifrata : Esito::InChiaro, QString());
        modo("REQUIRED", ip, tls ? Esito::Cifrata : Esito::Rifiutata, tls ? QString() : SenzaTls);
        const Esito verificata = vero ? Esito::Cifrata : Esito::Rifiutata;
        modo("VERIFY_CA", ip, verificata, perche); // by address: VERIFY_CA leaves the name alone
        modo("VERIFY_IDENTITY", nome, verificata, perche);
    }
    riga("vero VERIFY_IDENTITY under another name", "vero", ip,
         "Uid=stazione;SslCa=@CA;SslMode=VERIFY_IDENTITY", Esito::Rifiutata,
         "non è intestato al nome \"127.0.0.1\"");
    riga("REQUIRE X509, station's certificate", "vero", nome,
         "Uid=certificata;SslMode=VERIFY_IDENTITY;SslCa=@CA;SslCert=@CERT;SslKey=@KEY",
         Esito::Cifrata);
    riga("REQUIRE X509, station's certificate, PREFERRED", "vero", ip,
         "Uid=certificata;SslMode=PREFERRED;SslCert=@CERT;SslKey=@KEY", Esito::Cifrata);
    riga("REQUIRE X509 without a certificate", "vero", nome,
         "Uid=certificata;SslMode=VERIFY_IDENTITY;SslCa=@CA", Esito::Rifiutata,
         "il server chiede il certificato della postazione (SslCert e SslKey)");
}

// The server's own view (Ssl_cipher of the session) and the wire's: the account's name crosses
// it readable only in clear text, and a station that refuses a server without TLS sends nothing.
void tst_Tls::modi()
{
    QFETCH(QString, server);
    QFETCH(QString, host);
    QFETCH(QString, chiavi);
    QFETCH(Esito, esito);
    QFETCH(QString, motivo);

    Registratore registratore(porta(m_cartella, server));
    Connessione connessione(testo(host, registratore.porta(), chiavi));
    QString errore;
    try {
        connessione.apri();
        const QString cifrario = valore(connessione, "SHOW STATUS LIKE 'Ssl_cipher'", 1).toString();
        QCOMPARE(cifrario.isEmpty(), esito == Esito::InChiaro);
        QVERIFY(esito != Esito::Rifiutata);
    } catch (const ErroreDb &e) {
        errore = e.testo();
    }
    connessione.chiudi();
    RiservaConnessioni::svuota();
    QVERIFY2(errore.isEmpty() == (esito != Esito::Rifiutata), qPrintable(errore));
    QVERIFY2(errore.contains(motivo), qPrintable(errore));
    QVERIFY2(!errore.contains(Password), qPrintable(errore));

    const QByteArray inviato = registratore.inviato();
    const QByteArray utente = chiavi.section(';', 0, 0).section('=', 1).toUtf8();
    QCOMPARE(inviato.contains(utente), esito == Esito::InChiaro);
    QCOMPARE(inviato.isEmpty(), motivo == SenzaTls);
}

void tst_Tls::riservaSeparaCifrateEInChiaro()
{
    const quint16 vero = porta(m_cartella, QStringLiteral("vero"));
    const QString inChiaro = testo("127.0.0.1", vero, "Uid=stazione;SslMode=DISABLED");
    const QString cifrata =
        testo("localhost", vero, "Uid=stazione;SslMode=VERIFY_IDENTITY;SslCa=@CA");
    QVariant sessione[2];
    for (int giro = 0; giro < 2; ++giro) {
        for (int i = 0; i < 2; ++i) {
            Connessione connessione(i == 0 ? inChiaro : cifrata);
            connessione.apri();
            const QString cifrario =
                valore(connessione, "SHOW STATUS LIKE 'Ssl_cipher'", 1).toString();
            QCOMPARE(cifrario.isEmpty(), i == 0);
            const QVariant id = valore(connessione, "SELECT CONNECTION_ID()");
            if (giro == 0)
                sessione[i] = id;
            else
                QCOMPARE(id, sessione[i]); // the one its own text left in the reserve
        }
    }
    QVERIFY(sessione[0] != sessione[1]);
    QCOMPARE(RiservaConnessioni::numeroInAttesa(), 2);
}

QTEST_GUILESS_MAIN(tst_Tls)
#include "tst_tls.moc"
