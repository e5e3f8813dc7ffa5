#include "connessionenuda.h"

#include <QSqlError>
#include <QSqlRecord>

#include <stdexcept>

namespace {

[[noreturn]] void fallisci(const QSqlError &errore, const QString &istruzione)
{
    throw std::runtime_error(QStringLiteral("%1 %2\n    in: %3")
                                 .arg(errore.nativeErrorCode(), errore.text(), istruzione.left(300))
                                 .toStdString());
}

} // namespace

ConnessioneNuda::ConnessioneNuda(const QString &socket, const QString &database)
{
    static int contatore = 0;
    m_nome = QStringLiteral("banco-nuda-%1").arg(++contatore);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_nome);
    db.setDatabaseName(database);
    db.setUserName(QStringLiteral("root"));
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket);
    if (!db.open())
        fallisci(db.lastError(), QStringLiteral("(connessione a %1 su %2)").arg(database, socket));
    // The session the component's connections run in: backslash escapes read as such.
    esegui(QStringLiteral("SET SESSION sql_mode=REPLACE(@@sql_mode,'NO_BACKSLASH_ESCAPES',''), "
                          "max_statement_time=0"));
}

ConnessioneNuda::~ConnessioneNuda()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_nome, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_nome);
}

QSqlDatabase ConnessioneNuda::database() const
{
    return QSqlDatabase::database(m_nome, false);
}

QSqlQuery ConnessioneNuda::esegui(const QString &istruzione)
{
    QSqlQuery query(database());
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query.exec(istruzione))
        fallisci(query.lastError(), istruzione);
    return query;
}

QVariant ConnessioneNuda::valore(const QString &istruzione)
{
    QSqlQuery query = esegui(istruzione);
    return query.next() ? query.value(0) : QVariant();
}

QVector<QVector<QVariant>> ConnessioneNuda::righe(const QString &istruzione)
{
    QSqlQuery query = esegui(istruzione);
    const int colonne = query.record().count();
    QVector<QVector<QVariant>> risultato;
    while (query.next()) {
        QVector<QVariant> riga(colonne);
        for (int i = 0; i < colonne; ++i)
            riga[i] = query.value(i);
        risultato.append(std::move(riga));
    }
    return risultato;
}

void ConnessioneNuda::eseguiInBlocco(const QString &testo)
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(testo))
        fallisci(query.lastError(), testo);
    // Each statement's result must be read before the next one counts as done; a refusal
    // further on shows up here.
    while (query.nextResult()) {
    }
    if (query.lastError().isValid())
        fallisci(query.lastError(), testo);
}

QString testoConnessione(const QString &socket, const QString &database)
{
    return QStringLiteral("Socket=%1;Database=%2;Uid=root;Pwd=;").arg(socket, database);
}
