#include "data/connessione.h"
#include "data/istruzioni.h"

#include "data/riservaconnessioni.h"
#include "data/sql.h"
#include "data/testoconnessione.h"
#include "data/tunneltls.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The client library describes a lost or refused connection in English; the operator reads what
// happened in Italian first, the library's own words (host, socket) after it.
QString descrizioneInItaliano(int numero, const QString &originale)
{
    QString italiano;
    switch (numero) {
    case 2002:
    case 2003:
        italiano = QStringLiteral("Impossibile collegarsi al server del database");
        break;
    case 2005:
        italiano = QStringLiteral("Server del database sconosciuto");
        break;
    case 2006:
        italiano = QStringLiteral("Connessione con il server del database interrotta");
        break;
    case 2013:
        italiano =
            QStringLiteral("Connessione con il server del database persa durante l'operazione");
        break;
    case 2026:
        italiano = QStringLiteral("Connessione cifrata (TLS) con il server del database non "
                                  "riuscita");
        break;
    case 1045:
        italiano = QStringLiteral("Accesso negato dal server del database");
        break;
    default:
        return originale;
    }
    return originale.isEmpty() ? italiano : italiano + QStringLiteral(" (") + originale + ')';
}

// A text that cannot be kept to is refused before anything goes to the network.
void controllaModoTls(const ParametriConnessione &p)
{
    if (p.modoTls == ModoTls::Sconosciuto)
        throw ErroreDb(2026, QStringLiteral("Valore di SslMode non riconosciuto: \"%1\" (valori "
                                            "ammessi: DISABLED, PREFERRED, REQUIRED, VERIFY_CA, "
                                            "VERIFY_IDENTITY)")
                                 .arg(p.testoModoTls));
    if (TunnelTls::serve(p.modoTls) && !p.socket.isEmpty())
        throw ErroreDb(2026, QStringLiteral("%1 vale per un server in rete (Server, Port), non "
                                            "per il socket locale %2")
                                 .arg(TunnelTls::nomeModo(p.modoTls), p.socket));
}

// PREFERRED is what the driver's own options do: TLS whenever the server offers it (an empty
// cipher list still turns it on), clear text otherwise, the certificate not checked.
QStringList opzioniTlsDelDriver(const ParametriConnessione &p)
{
    if (p.modoTls != ModoTls::Preferito)
        return {};
    QStringList opzioni{QStringLiteral("SSL_CIPHER=") + p.sslCipher};
    if (!p.sslCert.isEmpty())
        opzioni << QStringLiteral("SSL_CERT=") + p.sslCert;
    if (!p.sslKey.isEmpty())
        opzioni << QStringLiteral("SSL_KEY=") + p.sslKey;
    return opzioni;
}

// The server refuses a login the same way whether the password is wrong or the account wants a
// client certificate (REQUIRE X509) that the station did not present: say both.
QString descrizioneAccessoNegato(const ParametriConnessione &p, const QString &originale)
{
    if (p.modoTls == ModoTls::Disabilitato || !p.sslCert.isEmpty())
        return descrizioneInItaliano(1045, originale);
    return QStringLiteral("Accesso negato dal server del database: utente o password errati, "
                          "oppure il server chiede il certificato della postazione (SslCert e "
                          "SslKey), che il testo di connessione non indica (%1)")
        .arg(originale);
}

// The driver only saw the tunnel hang up; the tunnel knows why.
ErroreDb erroreDelTunnel(const TunnelTls::Errore &errore)
{
    if (errore.numero == 2026) // its own refusal of the server, in Italian already
        return ErroreDb(2026, errore.testo);
    return ErroreDb(errore.numero, descrizioneInItaliano(errore.numero, errore.testo));
}

QString nuovoNomeConnessione()
{
    static QAtomicInt contatore;
    return QStringLiteral("riscuti-%1").arg(contatore.fetchAndAddRelaxed(1));
}

} // namespace

Connessione::Connessione() = default;

Connessione::Connessione(const QString &testoConnessione) : m_testo(testoConnessione) {}

Connessione::~Connessione()
{
    chiudi();
}

void Connessione::setTestoConnessione(const QString &testo)
{
    m_testo = testo;
}

void Connessione::setTimeoutComandi(int secondi)
{
    m_timeout = secondi;
    if (aperta())
        applicaTimeout();
}

void Connessione::apri()
{
    if (aperta())
        return;
    const RiservaConnessioni::Presa presa = RiservaConnessioni::prendi(m_testo, m_timeout);
    if (!presa.nome.isEmpty()) {
        m_nome = presa.nome;
        m_timeoutSessione = presa.timeout;
        if (m_timeoutSessione != m_timeout)
            applicaTimeout();
        return;
    }
    apriNuova();
}

void Connessione::apriNuova()
{
    const ParametriConnessione p = leggiTestoConnessione(m_testo);
    controllaModoTls(p);
    const QString nome = nuovoNomeConnessione();
    const bool tunnel = TunnelTls::serve(p.modoTls);
    QStringList opzioni{QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=15")};
    if (tunnel)
        opzioni << QStringLiteral("UNIX_SOCKET=") + TunnelTls::apri(nome, p);
    else if (!p.socket.isEmpty())
        opzioni << QStringLiteral("UNIX_SOCKET=") + p.socket;
    opzioni << opzioniTlsDelDriver(p);
    m_nome = nome;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_nome);
        // Through a tunnel the driver talks to the local end only; the tunnel to the server.
        db.setHostName(tunnel ? QStringLiteral("localhost") : p.host);
        if (p.porta > 0 && !tunnel)
            db.setPort(p.porta);
        db.setDatabaseName(p.database);
        db.setUserName(p.utente);
        db.setPassword(p.password);
        db.setConnectOptions(opzioni.join(QLatin1Char(';')));
        if (!db.open()) {
            const QSqlError errore = db.lastError();
            const TunnelTls::Errore dalTunnel = TunnelTls::errore(m_nome);
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_nome);
            TunnelTls::chiudi(m_nome);
            m_nome.clear();
            if (dalTunnel.numero != 0)
                throw erroreDelTunnel(dalTunnel);
            if (errore.nativeErrorCode() == QLatin1String("1045"))
                throw ErroreDb(1045, descrizioneAccessoNegato(p, errore.databaseText()));
            lancia(errore);
        }
    }
    // Text literals are escaped with backslashes: make sure the session reads them that way.
    esegui(Istruzioni::impostaSessione(m_timeout));
    m_timeoutSessione = m_timeout;
}

void Connessione::applicaTimeout()
{
    esegui(Istruzioni::impostaTimeout(m_timeout));
    m_timeoutSessione = m_timeout;
}

bool Connessione::aperta() const
{
    return !m_nome.isEmpty() && QSqlDatabase::database(m_nome, false).isOpen();
}

// A healthy connection goes back to the reserve for the next opening from the same text; one
// whose transaction could not be ended goes for good, so nothing uncommitted is ever handed on.
void Connessione::chiudi()
{
    if (m_nome.isEmpty())
        return;
    bool riutilizzabile = false;
    {
        QSqlDatabase db = QSqlDatabase::database(m_nome, false);
        riutilizzabile = db.isOpen() && (!m_transazione || db.rollback());
        if (!riutilizzabile)
            db.close();
    }
    if (riutilizzabile) {
        RiservaConnessioni::restituisci(m_testo, m_nome, m_timeoutSessione);
    } else {
        QSqlDatabase::removeDatabase(m_nome);
        TunnelTls::chiudi(m_nome);
    }
    m_nome.clear();
    m_transazione = false;
}

QSqlDatabase Connessione::database() const
{
    if (!aperta())
        throw ErroreDb::connessioneChiusa();
    return QSqlDatabase::database(m_nome, false);
}

void Connessione::controllaIstruzione(const QString &istruzione)
{
    if (!Sql::unaSolaIstruzione(istruzione))
        throw ErroreDb(
            3001, QStringLiteral("Il testo contiene più di un'istruzione: %1").arg(istruzione));
}

void Connessione::esegui(const QString &istruzione)
{
    eseguiContando(istruzione);
}

int Connessione::eseguiContando(const QString &istruzione)
{
    controllaIstruzione(istruzione);
    QSqlQuery query(database());
    if (!query.exec(istruzione))
        lancia(query.lastError());
    return query.numRowsAffected();
}

void Connessione::iniziaTransazione()
{
    QSqlDatabase db = database();
    if (!db.transaction())
        lancia(db.lastError());
    m_transazione = true;
}

void Connessione::confermaTransazione()
{
    QSqlDatabase db = database();
    if (!db.commit())
        lancia(db.lastError()); // still open: closing rolls it back or drops the connection
    m_transazione = false;
}

void Connessione::annullaTransazione()
{
    QSqlDatabase db = database();
    if (!db.rollback())
        lancia(db.lastError()); // still open: closing tries again or drops the connection
    m_transazione = false;
}

void Connessione::lancia(const QSqlError &errore)
{
    bool numerico = false;
    int numero = errore.nativeErrorCode().toInt(&numerico);
    if (!numerico)
        numero = errore.type() == QSqlError::ConnectionError ? 3709 : 3001;
    QString descrizione = errore.databaseText();
    if (descrizione.isEmpty())
        descrizione = errore.driverText();
    throw ErroreDb(numero, descrizioneInItaliano(numero, descrizione));
}
