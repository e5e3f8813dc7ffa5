#include "databasediprova.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>

namespace {

const int AttesaClienteMs = 120000;

// Database names: letters, digits and "_" only, at most 64 characters.
QString nomeDatabase(QString suite)
{
    if (suite.isEmpty())
        suite = QCoreApplication::applicationName();
    suite = suite.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")),
                                    QStringLiteral("_"));
    if (!suite.startsWith(QLatin1String("tst_")))
        suite.prepend(QLatin1String("tst_"));
    const QString pid = QStringLiteral("_%1").arg(QCoreApplication::applicationPid());
    return suite.left(64 - pid.size()) + pid;
}

} // namespace

DatabaseDiProva::DatabaseDiProva(const QString &suite)
    : m_socket(qEnvironmentVariable("RISCUTI_TEST_SOCKET")), m_nome(nomeDatabase(suite)),
      m_connessione(QStringLiteral("DatabaseDiProva-%1").arg(m_nome)),
      m_amministrazione(QStringLiteral("DatabaseDiProva-%1-server").arg(m_nome))
{
    if (m_socket.isEmpty()) {
        fallisce(QStringLiteral(
            "RISCUTI_TEST_SOCKET is not set. Run the suite through ctest, which starts the "
            "private MariaDB server, or start one with `bash scripts/server-db.sh start DIR` "
            "and set RISCUTI_TEST_SOCKET=DIR/sock."));
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL"))) {
        fallisce(QStringLiteral("The QMYSQL driver is missing (Debian package "
                                "libqt6sql6-mysql). Drivers found: %1")
                     .arg(QSqlDatabase::drivers().join(QStringLiteral(", "))));
        return;
    }
    m_pronto = creaDatabase() && apriConnessione() &&
               eseguiClient({m_nome}, QByteArray(), QStringLiteral(RISCUTI_SCHEMA_SQL),
                            QStringLiteral("loading " RISCUTI_SCHEMA_SQL));
}

DatabaseDiProva::~DatabaseDiProva()
{
    chiudiConnessione();
    if (QSqlDatabase::contains(m_amministrazione)) {
        {
            QSqlDatabase server = QSqlDatabase::database(m_amministrazione);
            if (server.isOpen()) {
                QSqlQuery elimina(server);
                if (!elimina.exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_nome)))
                    qWarning("DatabaseDiProva: could not drop %s: %s", qPrintable(m_nome),
                             qPrintable(descrivi(elimina.lastError())));
            }
            server.close();
        }
        QSqlDatabase::removeDatabase(m_amministrazione);
    }
}

QString DatabaseDiProva::testoConnessione() const
{
    return QStringLiteral("Socket=%1;Database=%2;Uid=root;Pwd=;").arg(m_socket, m_nome);
}

QSqlDatabase DatabaseDiProva::db() const
{
    return QSqlDatabase::database(m_connessione, false);
}

bool DatabaseDiProva::caricaFile(const QString &percorso)
{
    if (!QFileInfo(percorso).isFile()) {
        fallisce(QStringLiteral("SQL file not found: %1").arg(percorso));
        return false;
    }
    return eseguiClient({m_nome}, QByteArray(), percorso, QStringLiteral("loading ") + percorso);
}

bool DatabaseDiProva::caricaTesto(const QString &sql)
{
    return eseguiClient({m_nome}, sql.toUtf8(), QString(),
                        QStringLiteral("running the SQL text:\n") + sql);
}

bool DatabaseDiProva::caricaDemo()
{
    return caricaFile(cartellaSorgenti() + QStringLiteral("/db/demo.sql"));
}

bool DatabaseDiProva::ricrea()
{
    chiudiConnessione();
    m_pronto = creaDatabase() && apriConnessione() &&
               eseguiClient({m_nome}, QByteArray(), QStringLiteral(RISCUTI_SCHEMA_SQL),
                            QStringLiteral("loading " RISCUTI_SCHEMA_SQL));
    return m_pronto;
}

bool DatabaseDiProva::esegui(const QString &sql)
{
    QSqlQuery query(db());
    if (!query.exec(sql)) {
        fallisce(
            QStringLiteral("The server refused: %1\n%2").arg(sql, descrivi(query.lastError())));
        return false;
    }
    return true;
}

QVariant DatabaseDiProva::valore(const QString &sql)
{
    QSqlQuery query(db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        fallisce(
            QStringLiteral("The server refused: %1\n%2").arg(sql, descrivi(query.lastError())));
        return QVariant();
    }
    return query.next() ? query.value(0) : QVariant();
}

QList<QVariantList> DatabaseDiProva::righe(const QString &sql)
{
    QList<QVariantList> risultato;
    QSqlQuery query(db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        fallisce(
            QStringLiteral("The server refused: %1\n%2").arg(sql, descrivi(query.lastError())));
        return risultato;
    }
    while (query.next()) {
        QVariantList riga;
        const int colonne = query.record().count();
        riga.reserve(colonne);
        for (int i = 0; i < colonne; ++i)
            riga.append(query.value(i));
        risultato.append(riga);
    }
    return risultato;
}

QString DatabaseDiProva::descrivi(const QSqlError &errore)
{
    return QStringLiteral("%1 %2 (%3)")
        .arg(errore.nativeErrorCode(), errore.databaseText(), errore.driverText());
}

QString DatabaseDiProva::cartellaSorgenti()
{
    return QStringLiteral(RISCUTI_SOURCE_DIR);
}

// A fresh, empty database: one left behind by a crashed run with the same process id goes.
bool DatabaseDiProva::creaDatabase()
{
    if (!QSqlDatabase::contains(m_amministrazione)) {
        QSqlDatabase server =
            QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_amministrazione);
        server.setUserName(QStringLiteral("root"));
        server.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + m_socket);
    }
    QSqlDatabase server = QSqlDatabase::database(m_amministrazione, false);
    if (!server.isOpen() && !server.open()) {
        fallisce(QStringLiteral("No MariaDB server answers on %1: %2\nStart it with "
                                "`bash scripts/server-db.sh start DIR` (the socket is DIR/sock), "
                                "or run the suite through ctest.")
                     .arg(m_socket, descrivi(server.lastError())));
        return false;
    }
    QSqlQuery query(server);
    // A lock a fault leaves held (a row's, or a table's by a transaction left open) makes the
    // next statement on it fail in seconds, not in the server's fifty or its day: every session
    // opened from now on.
    if (!query.exec(QStringLiteral(
            "SET GLOBAL innodb_lock_wait_timeout = 5, GLOBAL lock_wait_timeout = 10"))) {
        fallisce(QStringLiteral("The server refused its lock time-outs: ") +
                 descrivi(query.lastError()));
        return false;
    }
    for (const QString &istruzione :
         {QStringLiteral("DROP DATABASE IF EXISTS `%1`"),
          QStringLiteral(
              "CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci")}) {
        if (!query.exec(istruzione.arg(m_nome))) {
            fallisce(QStringLiteral("The server refused: %1\n%2")
                         .arg(istruzione.arg(m_nome), descrivi(query.lastError())));
            return false;
        }
    }
    return true;
}

bool DatabaseDiProva::apriConnessione()
{
    QSqlDatabase connessione = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_connessione);
    connessione.setDatabaseName(m_nome);
    connessione.setUserName(QStringLiteral("root"));
    connessione.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + m_socket);
    connessione.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!connessione.open()) {
        fallisce(QStringLiteral("Cannot open %1 on %2: %3")
                     .arg(m_nome, m_socket, descrivi(connessione.lastError())));
        return false;
    }
    return true;
}

void DatabaseDiProva::chiudiConnessione()
{
    if (!QSqlDatabase::contains(m_connessione))
        return;
    QSqlDatabase::database(m_connessione, false).close();
    QSqlDatabase::removeDatabase(m_connessione);
}

// The mariadb client reads the statements from a file or from `ingresso`.
bool DatabaseDiProva::eseguiClient(const QStringList &argomenti, const QByteArray &ingresso,
                                   const QString &fileIngresso, const QString &descrizione)
{
    QProcess client;
    client.setProcessChannelMode(QProcess::SeparateChannels);
    if (!fileIngresso.isEmpty())
        client.setStandardInputFile(fileIngresso);
    client.start(QStringLiteral("mariadb"),
                 QStringList{QStringLiteral("--no-defaults"),
                             QStringLiteral("--default-character-set=utf8mb4"),
                             QStringLiteral("-S"), m_socket, QStringLiteral("-u"),
                             QStringLiteral("root")} +
                     argomenti);
    if (!client.waitForStarted()) {
        fallisce(QStringLiteral("Cannot start the mariadb client (Debian package "
                                "mariadb-client) for %1: %2")
                     .arg(descrizione, client.errorString()));
        return false;
    }
    if (fileIngresso.isEmpty()) {
        client.write(ingresso);
        client.closeWriteChannel();
    }
    if (!client.waitForFinished(AttesaClienteMs)) {
        client.kill();
        client.waitForFinished();
        fallisce(QStringLiteral("The mariadb client took more than %1 s %2")
                     .arg(AttesaClienteMs / 1000)
                     .arg(descrizione));
        return false;
    }
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0) {
        fallisce(QStringLiteral("The mariadb client failed (%1; database %2):\n%3")
                     .arg(descrizione, m_nome,
                          QString::fromUtf8(client.readAllStandardError()).trimmed()));
        return false;
    }
    return true;
}

void DatabaseDiProva::fallisce(const QString &messaggio) const
{
    const QString testo = QStringLiteral("DatabaseDiProva: ") + messaggio;
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(testo), __FILE__, __LINE__);
    else
        qFatal("%s", qPrintable(testo));
}
