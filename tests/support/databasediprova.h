#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class QSqlError;

// Checks a call on a QSqlQuery or QSqlDatabase and prints the server's error when it fails:
//     QVERIFY_SQL(query, exec(QStringLiteral("select ...")));
//     QVERIFY_SQL(db, transaction());
#define QVERIFY_SQL(oggetto, chiamata)                                                             \
    QVERIFY2((oggetto).chiamata, qPrintable(DatabaseDiProva::descrivi((oggetto).lastError())))

// Runs one statement through the fixture and ends the test function when the server refuses it
// (the fixture has already recorded the failure with the server's error).
#define ESEGUI_SQL(fixture, istruzione)                                                            \
    do {                                                                                           \
        if (!(fixture).esegui(istruzione))                                                         \
            return;                                                                                \
    } while (false)

// A database of its own for one test suite, on the private MariaDB server whose socket is in
// RISCUTI_TEST_SOCKET (ctest starts that server and sets the variable). Create it in
// initTestCase():
//     m_db = std::make_unique<DatabaseDiProva>();
//     QVERIFY(m_db->pronto());
//     QVERIFY(m_db->caricaDemo());            // when the suite wants the demo data
// The database is named tst_<suite>_<pid>, starts with db/schema.sql loaded and is dropped by
// the destructor. Every failure (no socket, no server, a refused statement, a file that does not
// load) is recorded as a failure of the running test function, with its reason; outside a test
// function it aborts the program. A missing server never skips a suite.
// Only QtSql, QtCore and QtTest are used, so a fault of the component's data layer cannot hide
// in its own checks.
class DatabaseDiProva
{
public:
    // `suite` names the database; empty takes the test program's name.
    explicit DatabaseDiProva(const QString &suite = QString());
    ~DatabaseDiProva();
    DatabaseDiProva(const DatabaseDiProva &) = delete;
    DatabaseDiProva &operator=(const DatabaseDiProva &) = delete;

    // True when the database exists with the schema loaded and db() is open.
    bool pronto() const { return m_pronto; }
    QString nome() const { return m_nome; }
    QString socket() const { return m_socket; }
    // The component's connection text for this database:
    // "Socket=<socket>;Database=<nome>;Uid=root;Pwd=;"
    QString testoConnessione() const;
    // An open QMYSQL connection of the fixture's own to this database; DECIMAL values come back
    // as exact text (QSql::HighPrecision).
    QSqlDatabase db() const;

    // Runs a file or a text of SQL statements with the mariadb client, as the scripts do.
    bool caricaFile(const QString &percorso);
    bool caricaTesto(const QString &sql);
    // db/demo.sql: the demo branches, registers and waybills.
    bool caricaDemo();
    // Drops and creates the database again with the schema, so a test starts from nothing
    // (about a second). db() is opened anew: take it again after this call.
    bool ricrea();

    // One statement; a refusal is recorded as a failure with the server's error.
    bool esegui(const QString &sql);
    // The first column of the first row; an invalid QVariant when there is no row.
    QVariant valore(const QString &sql);
    // Every row, each as its list of column values.
    QList<QVariantList> righe(const QString &sql);

    // "<native error code> <database text> (<driver text>)" of a QtSql error.
    static QString descrivi(const QSqlError &errore);
    // The source tree, for files such as db/demo.sql.
    static QString cartellaSorgenti();

private:
    bool creaDatabase();
    bool apriConnessione();
    void chiudiConnessione();
    bool eseguiClient(const QStringList &argomenti, const QByteArray &ingresso,
                      const QString &fileIngresso, const QString &descrizione);
    void fallisce(const QString &messaggio) const;

    QString m_socket;
    QString m_nome;
    QString m_connessione;
    QString m_amministrazione;
    bool m_pronto = false;
};
