#pragma once

// Database checks shared by the suites that post and cancel remittances: the waybills'
// remittance state and the remittance records as lines of text; whole tables as text, to prove
// that nothing but the intended rows changed; and a cut of a connection from another thread, as
// a failing network or an administrator's KILL would cut it.

#include "support/databasediprova.h"

#include <QElapsedTimer>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <thread>

namespace ControlliDb {

// Every row of a table (those meeting `condizione`, when given) as one text: values joined by
// " ¦ ", NULL as "NULL", decimals as exact text; sorted. Two calls compare equal only when the
// table holds the same rows, byte for byte.
inline QStringList righe(DatabaseDiProva &db, const QString &tabella,
                         const QString &condizione = QString())
{
    QSqlQuery query(db.db());
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query.exec(QStringLiteral("SELECT * FROM `%1`").arg(tabella) +
                    (condizione.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condizione)))
        return {QStringLiteral("non leggibile: ") + DatabaseDiProva::descrivi(query.lastError())};
    QStringList risultato;
    while (query.next()) {
        QStringList valori;
        for (int i = 0; i < query.record().count(); ++i) {
            const QVariant valore = query.value(i);
            valori << (valore.isNull() ? QStringLiteral("NULL") : valore.toString());
        }
        risultato << valori.join(QStringLiteral(" ¦ "));
    }
    risultato.sort();
    return risultato;
}

// Every base table of the test database, by name.
inline QMap<QString, QStringList> istantanea(DatabaseDiProva &db)
{
    QMap<QString, QStringList> tabelle;
    for (const QVariantList &nome : db.righe(QStringLiteral(
             "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
             "AND TABLE_TYPE='BASE TABLE'")))
        tabelle.insert(nome.value(0).toString(), righe(db, nome.value(0).toString()));
    return tabelle;
}

// The rows that differ between two snapshots, "-<table>: <row>" for a row gone and
// "+<table>: <row>" for a row come, table by table: empty when nothing changed.
inline QStringList differenze(const QMap<QString, QStringList> &prima,
                              const QMap<QString, QStringList> &dopo)
{
    QStringList diverse;
    QStringList nomi = prima.keys() + dopo.keys();
    nomi.removeDuplicates();
    nomi.sort();
    for (const QString &nome : std::as_const(nomi)) {
        const QStringList vecchie = prima.value(nome);
        const QStringList nuove = dopo.value(nome);
        for (const QString &riga : vecchie) {
            if (!nuove.contains(riga))
                diverse << QLatin1Char('-') + nome + QStringLiteral(": ") + riga;
        }
        for (const QString &riga : nuove) {
            if (!vecchie.contains(riga))
                diverse << QLatin1Char('+') + nome + QStringLiteral(": ") + riga;
        }
    }
    return diverse;
}

// The names of the work tables ("...Rimessa") left in the test database.
inline QStringList tabelleDiLavoro(DatabaseDiProva &db)
{
    QStringList nomi;
    for (const QVariantList &nome : db.righe(QStringLiteral(
             "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
             "AND TABLE_NAME LIKE '%rimessa'")))
        nomi << nome.value(0).toString();
    return nomi;
}

// What a trigger runs where a test means to cut the connection: it sleeps until the cut.
inline QString attesaDelTaglio()
{
    return QStringLiteral("SET @taglio = SLEEP(20)");
}

// Kills, from a connection of its own on a thread of its own, the connection that sleeps in a
// trigger's attesaDelTaglio() (the server shows it in PROCESSLIST in the state "User sleep").
// The component works on the UI thread and is blocked in that statement meanwhile: this is how a
// test cuts a connection in the middle of an action, as a failing network or an administrator
// would.
class TaglioConnessione
{
public:
    TaglioConnessione(const QString &socket, const QString &database)
        : m_thread([this, socket, database] { sorveglia(socket, database); })
    {}
    ~TaglioConnessione()
    {
        m_fine = true;
        m_thread.join();
    }
    TaglioConnessione(const TaglioConnessione &) = delete;
    TaglioConnessione &operator=(const TaglioConnessione &) = delete;

    bool tagliata() const { return m_tagliata; }

private:
    void sorveglia(const QString &socket, const QString &database)
    {
        const QString nome = QStringLiteral("taglio-%1").arg(quintptr(this));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), nome);
            db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket);
            db.setUserName(QStringLiteral("root"));
            db.setDatabaseName(database);
            QElapsedTimer attesa;
            attesa.start();
            if (!db.open())
                qWarning("TaglioConnessione: %s",
                         qPrintable(DatabaseDiProva::descrivi(db.lastError())));
            while (db.isOpen() && !m_fine && !m_tagliata && attesa.elapsed() < 30000) {
                QSqlQuery query(db);
                query.prepare(
                    QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST WHERE DB=? AND "
                                   "STATE='User sleep' AND INFO=? AND ID<>CONNECTION_ID()"));
                query.addBindValue(database);
                query.addBindValue(attesaDelTaglio());
                if (query.exec() && query.next()) {
                    // Flagged first: the component may report the cut before KILL returns.
                    m_tagliata = true;
                    QSqlQuery(db).exec(QStringLiteral("KILL CONNECTION ") +
                                       query.value(0).toString());
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
        }
        QSqlDatabase::removeDatabase(nome);
    }

    std::atomic<bool> m_fine{false};
    std::atomic<bool> m_tagliata{false};
    std::thread m_thread; // last: it starts once the flags exist
};

// Each waybill's remittance state, "branch|number|year|remittance|date|sent", in key order.
inline QStringList statoLdv(DatabaseDiProva &db)
{
    QStringList stato;
    for (const QVariantList &riga : db.righe(QStringLiteral(
             "SELECT CONCAT_WS('|', lefili, lenrlv, leanlv, lendvc, IFNULL(ledtvc, '-'), leflsc) "
             "FROM letve00f ORDER BY lefili, lenrlv, leanlv")))
        stato << riga.value(0).toString();
    return stato;
}

// Each remittance record, "number|date|reference|bank|amount", in the order written.
inline QStringList contrassegni(DatabaseDiProva &db)
{
    QStringList righe;
    for (const QVariantList &riga : db.righe(QStringLiteral(
             "SELECT CONCAT_WS('|', NrDistinta, DataDistinta, Riferimento, Banca, Importo) "
             "FROM contrassegni ORDER BY Id")))
        righe << riga.value(0).toString();
    return righe;
}

} // namespace ControlliDb
