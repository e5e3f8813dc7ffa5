#include "data/tunneltls.h"

#include "data/erroredb.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMutex>
#include <QSemaphore>
#include <QSslCipher>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QThread>
#include <QTimer>

#include <memory>

namespace TunnelTls {

namespace {

// The client-server protocol: packets of a 3-byte length and a sequence number; the greeting
// and the login carry the capability flags, CLIENT_SSL among them.
constexpr quint8 CapacitaSsl = 0x08;      // CLIENT_SSL (0x0800): bit 3 of the flags' second byte
constexpr int LunghezzaRichiestaSsl = 32; // the login's fixed head, sent alone to ask for TLS
constexpr int AttesaMs = 12000;           // connect, greeting and TLS, under the driver's 15 s

QByteArray pacchetto(quint8 sequenza, const QByteArray &corpo)
{
    const int n = int(corpo.size());
    QByteArray p;
    p.append(char(n & 0xff)).append(char((n >> 8) & 0xff)).append(char((n >> 16) & 0xff));
    p.append(char(sequenza));
    return p + corpo;
}

// Takes one whole packet off the front of `dati`; false while it has not all arrived.
bool estrai(QByteArray &dati, quint8 &sequenza, QByteArray &corpo)
{
    if (dati.size() < 4)
        return false;
    const int n = quint8(dati[0]) | quint8(dati[1]) << 8 | quint8(dati[2]) << 16;
    if (dati.size() < 4 + n)
        return false;
    sequenza = quint8(dati[3]);
    corpo = dati.mid(4, n);
    dati.remove(0, 4 + n);
    return true;
}

QByteArray pacchettoErrore(quint8 sequenza, int numero, const QString &messaggio)
{
    QByteArray corpo;
    corpo.append(char(0xff)).append(char(numero & 0xff)).append(char((numero >> 8) & 0xff));
    corpo.append("#HY000").append(messaggio.toUtf8());
    return pacchetto(sequenza, corpo);
}

// Where the greeting's capability flags start: after the protocol number, the server's version
// (ended by a zero), the thread id (4 bytes), the first 8 bytes of the scramble and a filler.
int posizioneCapacita(const QByteArray &saluto)
{
    const int fineVersione = int(saluto.indexOf('\0', 1));
    const int posizione = fineVersione + 1 + 4 + 8 + 1;
    return fineVersione < 0 || saluto.size() < posizione + 2 ? -1 : posizione;
}

bool firmaNonRiconosciuta(QSslError::SslError e)
{
    switch (e) {
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::CertificateUntrusted:
    case QSslError::CertificateSignatureFailed:
        return true;
    default:
        return false;
    }
}

// The first reason in Italian, the library's words for every error after it.
QString motivoCertificato(const QList<QSslError> &errori, const QString &host)
{
    QString motivo = QStringLiteral("il certificato del server non è valido");
    for (const QSslError &e : errori) {
        if (firmaNonRiconosciuta(e.error())) {
            motivo = QStringLiteral("il certificato del server non è firmato da un'autorità "
                                    "indicata in SslCa: potrebbe non essere il server vero");
            break;
        }
        if (e.error() == QSslError::HostNameMismatch) {
            motivo = QStringLiteral("il certificato del server non è intestato al nome \"%1\": "
                                    "potrebbe non essere il server vero")
                         .arg(host);
            break;
        }
        if (e.error() == QSslError::CertificateExpired ||
            e.error() == QSslError::CertificateNotYetValid) {
            motivo = QStringLiteral("il certificato del server è scaduto o non ancora valido");
            break;
        }
    }
    QStringList parole;
    for (const QSslError &e : errori)
        parole << e.errorString();
    return motivo + QStringLiteral(" (") + parole.join(QStringLiteral("; ")) + ')';
}

// One tunnel: the driver's connection on one side, the server's on the other, in a thread of
// its own so that it works while the driver waits on the user-interface thread.
class Galleria : public QThread
{
public:
    Galleria(const ParametriConnessione &p, const QSslConfiguration &tls, const QString &percorso)
        : m_p(p), m_tls(tls), m_percorso(percorso)
    {}

    bool avvia()
    {
        start();
        m_pronta.acquire();
        return m_inAscolto;
    }
    Errore errore() const
    {
        QMutexLocker blocco(&m_mutex);
        return m_errore;
    }

protected:
    void run() override;

private:
    enum class Fase { Saluto, Login, Tls, Autenticazione, Condotto, Chiusa };

    void accogli(QLocalSocket *stazione);
    void daServer();
    void daStazione();
    void cifrata();
    void erroriCertificato(const QList<QSslError> &errori);
    void erroreServer(QAbstractSocket::SocketError errore);
    void rifiuta(const QString &motivo);
    void rispondiErrore(int numero, const QString &testo);
    void chiudiTutto();
    void forseFine();

    const ParametriConnessione m_p;
    const QSslConfiguration m_tls;
    const QString m_percorso;
    QSemaphore m_pronta;
    bool m_inAscolto = false;
    mutable QMutex m_mutex;
    Errore m_errore;

    // Used by the tunnel's own thread only.
    Fase m_fase = Fase::Saluto;
    QLocalSocket *m_stazione = nullptr;
    QSslSocket *m_server = nullptr;
    QByteArray m_daServer;
    QByteArray m_daStazione;
    QByteArray m_login;
};

void Galleria::run()
{
    QLocalServer ascolto;
    ascolto.setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_percorso);
    m_inAscolto = ascolto.listen(m_percorso);
    m_pronta.release();
    if (!m_inAscolto)
        return;
    QSslSocket server;
    m_server = &server;
    QTimer scadenza;
    scadenza.setSingleShot(true);
    QObject::connect(&scadenza, &QTimer::timeout, [this] {
        if (m_fase == Fase::Saluto)
            rispondiErrore(2003, QStringLiteral("Can't connect to server on '%1' (no answer in "
                                                "%2 s)")
                                     .arg(m_p.host)
                                     .arg(AttesaMs / 1000));
        else if (m_fase < Fase::Condotto)
            rispondiErrore(2013, QStringLiteral("Lost connection to server at 'handshake' (no "
                                                "answer from '%1' in %2 s)")
                                     .arg(m_p.host)
                                     .arg(AttesaMs / 1000));
    });
    // One driver connection per tunnel: once it is in, nobody else can open the socket.
    QObject::connect(&ascolto, &QLocalServer::newConnection, [&] {
        QLocalSocket *stazione = ascolto.nextPendingConnection();
        ascolto.close();
        if (stazione && !m_stazione) {
            scadenza.start(AttesaMs);
            accogli(stazione);
        }
    });
    exec();
    // The sockets go with this frame: nothing of theirs may call back into the tunnel now.
    server.disconnect();
    if (m_stazione)
        m_stazione->disconnect();
    m_server = nullptr;
}

void Galleria::accogli(QLocalSocket *stazione)
{
    m_stazione = stazione;
    QObject::connect(stazione, &QLocalSocket::readyRead, [this] { daStazione(); });
    QObject::connect(stazione, &QLocalSocket::disconnected, [this] { chiudiTutto(); });
    QObject::connect(m_server, &QSslSocket::readyRead, [this] { daServer(); });
    QObject::connect(m_server, &QSslSocket::encrypted, [this] { cifrata(); });
    QObject::connect(m_server, &QSslSocket::sslErrors,
                     [this](const QList<QSslError> &e) { erroriCertificato(e); });
    QObject::connect(m_server, &QSslSocket::errorOccurred,
                     [this](QAbstractSocket::SocketError e) { erroreServer(e); });
    QObject::connect(m_server, &QSslSocket::disconnected, [this] { chiudiTutto(); });
    m_server->setSslConfiguration(m_tls);
    m_server->connectToHost(m_p.host, quint16(m_p.porta > 0 ? m_p.porta : 3306));
}

void Galleria::daServer()
{
    m_daServer += m_server->readAll();
    quint8 sequenza = 0;
    QByteArray corpo;
    if (m_fase == Fase::Saluto) {
        if (!estrai(m_daServer, sequenza, corpo))
            return;
        if (corpo.startsWith(char(0xff))) { // the server refuses at once (too many connections)
            m_stazione->write(pacchetto(sequenza, corpo));
            chiudiTutto();
            return;
        }
        const int capacita = posizioneCapacita(corpo);
        if (capacita < 0) {
            rispondiErrore(2027,
                           QStringLiteral("Malformed packet (greeting from '%1')").arg(m_p.host));
            return;
        }
        if (!(quint8(corpo[capacita + 1]) & CapacitaSsl)) {
            rifiuta(QStringLiteral("il server non offre connessioni cifrate (TLS); non gli è "
                                   "stato inviato nulla"));
            return;
        }
        // The driver must not ask for TLS itself: the tunnel does, towards the server.
        corpo[capacita + 1] = char(quint8(corpo[capacita + 1]) & ~CapacitaSsl);
        m_stazione->write(pacchetto(sequenza, corpo));
        m_fase = Fase::Login;
        return;
    }
    if (m_fase == Fase::Autenticazione) {
        // The tunnel's request for TLS took a sequence number: the driver's count is one less.
        while (m_fase == Fase::Autenticazione && estrai(m_daServer, sequenza, corpo)) {
            m_stazione->write(pacchetto(quint8(sequenza - 1), corpo));
            // OK or error: the login is over, packets are numbered per command from here on.
            if (corpo.startsWith(char(0x00)) || corpo.startsWith(char(0xff)))
                m_fase = Fase::Condotto;
        }
    }
    if (m_fase == Fase::Condotto) {
        m_stazione->write(m_daServer);
        m_daServer.clear();
    }
}

void Galleria::daStazione()
{
    m_daStazione += m_stazione->readAll();
    quint8 sequenza = 0;
    QByteArray corpo;
    if (m_fase == Fase::Login) {
        if (!estrai(m_daStazione, sequenza, corpo))
            return;
        if (corpo.size() < LunghezzaRichiestaSsl) {
            rispondiErrore(2027, QStringLiteral("Malformed packet (login)"));
            return;
        }
        // The server takes the flags of the request for TLS as the login's: the login's own
        // head, with CLIENT_SSL, asks for it; the whole login follows inside TLS.
        corpo[1] = char(quint8(corpo[1]) | CapacitaSsl);
        m_login = corpo;
        m_server->write(pacchetto(1, corpo.left(LunghezzaRichiestaSsl)));
        m_fase = Fase::Tls;
        m_server->startClientEncryption();
        return;
    }
    if (m_fase == Fase::Autenticazione) {
        while (estrai(m_daStazione, sequenza, corpo))
            m_server->write(pacchetto(quint8(sequenza + 1), corpo));
    } else if (m_fase == Fase::Condotto) {
        m_server->write(m_daStazione);
        m_daStazione.clear();
    }
}

void Galleria::cifrata()
{
    m_fase = Fase::Autenticazione;
    m_server->write(pacchetto(2, m_login));
    m_login.fill('\0'); // the login holds the password's scramble: keep no copy
}

void Galleria::erroriCertificato(const QList<QSslError> &errori)
{
    // REQUIRED checks nothing (Qt compares the name even then); VERIFY_CA all but the name.
    QList<QSslError> gravi;
    for (const QSslError &e : errori)
        if (m_p.modoTls == ModoTls::VerificaIdentita ||
            (m_p.modoTls == ModoTls::VerificaCa && e.error() != QSslError::HostNameMismatch))
            gravi << e;
    if (gravi.isEmpty())
        m_server->ignoreSslErrors();
    else
        rifiuta(motivoCertificato(gravi, m_p.host));
}

void Galleria::erroreServer(QAbstractSocket::SocketError errore)
{
    if (m_fase == Fase::Chiusa)
        return;
    if (m_fase == Fase::Tls) {
        rifiuta(QStringLiteral("la negoziazione della connessione cifrata (TLS) non è riuscita "
                               "(%1)")
                    .arg(m_server->errorString()));
    } else if (m_fase == Fase::Saluto) {
        // As the client library says it, so the connection's Italian descriptions apply.
        if (errore == QAbstractSocket::HostNotFoundError)
            rispondiErrore(2005, QStringLiteral("Unknown server host '%1'").arg(m_p.host));
        else
            rispondiErrore(2003, QStringLiteral("Can't connect to server on '%1' (%2)")
                                     .arg(m_p.host, m_server->errorString()));
    } else {
        chiudiTutto();
    }
}

void Galleria::rifiuta(const QString &motivo)
{
    rispondiErrore(2026, QStringLiteral("Connessione al server del database rifiutata (%1): %2")
                             .arg(nomeModo(m_p.modoTls), motivo));
}

// The driver waits for the greeting (sequence 0) or for the answer to its login (2). It takes a
// client library's number from a server for a forged one, so it gets "bad handshake" (1043) and
// the connection reads the real number from errore().
void Galleria::rispondiErrore(int numero, const QString &testo)
{
    if (m_fase == Fase::Chiusa)
        return;
    {
        QMutexLocker blocco(&m_mutex);
        m_errore = {numero, testo};
    }
    m_stazione->write(pacchettoErrore(m_fase == Fase::Saluto ? 0 : 2, 1043, testo));
    chiudiTutto();
}

void Galleria::chiudiTutto()
{
    if (m_fase == Fase::Chiusa)
        return;
    const bool sessione = m_fase >= Fase::Autenticazione;
    if (m_fase == Fase::Condotto && m_stazione->bytesAvailable() > 0)
        m_server->write(m_stazione->readAll());
    m_fase = Fase::Chiusa;
    if (sessione)
        m_server->disconnectFromHost(); // what the driver sent last (its goodbye) goes first
    else
        m_server->abort();
    m_stazione->disconnectFromServer();
    forseFine();
    QObject::connect(m_server, &QSslSocket::disconnected, [this] { forseFine(); });
    QObject::connect(m_stazione, &QLocalSocket::disconnected, [this] { forseFine(); });
}

void Galleria::forseFine()
{
    if (m_server->state() == QAbstractSocket::UnconnectedState &&
        m_stazione->state() == QLocalSocket::UnconnectedState)
        quit();
}

QSslKey leggiChiave(const QString &percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return QSslKey();
    const QByteArray pem = file.readAll();
    for (const QSsl::KeyAlgorithm algoritmo : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        const QSslKey chiave(pem, algoritmo, QSsl::Pem, QSsl::PrivateKey);
        if (!chiave.isNull())
            return chiave;
    }
    return QSslKey();
}

[[noreturn]] void fileIllegibile(const char *chiave, const QString &percorso)
{
    throw ErroreDb(2026, QStringLiteral("Il file indicato in %1 non si può leggere o non è un "
                                        "file PEM valido: %2")
                             .arg(QLatin1String(chiave), percorso));
}

// What the mode and the text's files ask of the server's certificate and of the station's.
QSslConfiguration configurazione(const ParametriConnessione &p)
{
    if (!QSslSocket::supportsSsl())
        throw ErroreDb(2026, QStringLiteral("Connessioni cifrate (TLS) non disponibili: manca "
                                            "la libreria OpenSSL"));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setPeerVerifyMode(p.modoTls == ModoTls::Richiesto ? QSslSocket::VerifyNone
                                                          : QSslSocket::VerifyPeer);
    if (!p.sslCa.isEmpty()) {
        const QList<QSslCertificate> autorita = QSslCertificate::fromPath(p.sslCa);
        if (autorita.isEmpty())
            fileIllegibile("SslCa", p.sslCa);
        tls.setCaCertificates(autorita);
    }
    if (!p.sslCert.isEmpty() || !p.sslKey.isEmpty()) {
        const QList<QSslCertificate> certificato = QSslCertificate::fromPath(p.sslCert);
        if (certificato.isEmpty())
            fileIllegibile("SslCert", p.sslCert);
        const QSslKey chiave = leggiChiave(p.sslKey);
        if (chiave.isNull())
            fileIllegibile("SslKey", p.sslKey);
        tls.setLocalCertificate(certificato.first());
        tls.setPrivateKey(chiave);
    }
    if (!p.sslCipher.isEmpty()) {
        QList<QSslCipher> cifrari;
        for (const QString &nome : p.sslCipher.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            const QSslCipher cifrario(nome.trimmed());
            if (!cifrario.isNull())
                cifrari << cifrario;
        }
        if (cifrari.isEmpty())
            throw ErroreDb(2026, QStringLiteral("Nessuna delle cifrature indicate in SslCipher "
                                                "è disponibile: %1")
                                     .arg(p.sslCipher));
        tls.setCiphers(cifrari);
    }
    return tls;
}

QHash<QString, Galleria *> &gallerie()
{
    static QHash<QString, Galleria *> aperte;
    return aperte;
}

} // namespace

bool serve(ModoTls modo)
{
    return modo == ModoTls::Richiesto || modo == ModoTls::VerificaCa ||
           modo == ModoTls::VerificaIdentita;
}

QString apri(const QString &nome, const ParametriConnessione &p)
{
    static QAtomicInt contatore;
    const QString percorso = QDir::tempPath() + QStringLiteral("/riscuti-tls-%1-%2")
                                                    .arg(QCoreApplication::applicationPid())
                                                    .arg(contatore.fetchAndAddRelaxed(1));
    auto galleria = std::make_unique<Galleria>(p, configurazione(p), percorso);
    if (!galleria->avvia())
        throw ErroreDb(2026, QStringLiteral("Impossibile preparare la connessione cifrata: il "
                                            "socket locale %1 non si può creare")
                                 .arg(percorso));
    gallerie().insert(nome, galleria.release());
    return percorso;
}

Errore errore(const QString &nome)
{
    const Galleria *galleria = gallerie().value(nome);
    return galleria ? galleria->errore() : Errore();
}

void chiudi(const QString &nome)
{
    std::unique_ptr<Galleria> galleria(gallerie().take(nome));
    if (!galleria)
        return;
    // The driver has closed its side: the tunnel passes on its goodbye and ends by itself.
    if (!galleria->wait(2000)) {
        galleria->quit();
        galleria->wait();
    }
}

QString nomeModo(ModoTls modo)
{
    switch (modo) {
    case ModoTls::Disabilitato:
        return QStringLiteral("SslMode=DISABLED");
    case ModoTls::Preferito:
        return QStringLiteral("SslMode=PREFERRED");
    case ModoTls::Richiesto:
        return QStringLiteral("SslMode=REQUIRED");
    case ModoTls::VerificaCa:
        return QStringLiteral("SslMode=VERIFY_CA");
    case ModoTls::VerificaIdentita:
        return QStringLiteral("SslMode=VERIFY_IDENTITY");
    case ModoTls::Sconosciuto:
        break;
    }
    return QStringLiteral("SslMode sconosciuto");
}

} // namespace TunnelTls
