#pragma once

#include "data/erroredb.h"

#include <QSqlDatabase>
#include <QString>

// One database connection opened from the suite's connection text. Opening takes an idle
// connection of the same text from the reserve when there is one, closing gives it back (with
// no transaction open); see RiservaConnessioni. Every failure is thrown as ErroreDb.
class Connessione
{
public:
    Connessione();
    explicit Connessione(const QString &testoConnessione);
    ~Connessione();
    Connessione(const Connessione &) = delete;
    Connessione &operator=(const Connessione &) = delete;

    void setTestoConnessione(const QString &testo);
    QString testoConnessione() const { return m_testo; }
    // Seconds a statement may run; 0 means no limit. Applies from the next open() on, and at
    // once to an open connection.
    void setTimeoutComandi(int secondi);

    void apri();
    bool aperta() const;
    void chiudi();

    // Runs one statement; a refusal throws. Results, if any, are dropped unread. A text that
    // holds more than one statement is refused (3001) before it reaches the server.
    void esegui(const QString &istruzione);
    // The same, giving the rows the statement found (an UPDATE's matched rows).
    int eseguiContando(const QString &istruzione);
    static void controllaIstruzione(const QString &istruzione);

    void iniziaTransazione();
    void confermaTransazione();
    void annullaTransazione();
    bool inTransazione() const { return m_transazione; }

    // The QtSql handle, for models and queries that need it directly (the shipment grid).
    QSqlDatabase database() const;
    // Throws ErroreDb with the server's number and text of a QtSql error.
    [[noreturn]] static void lancia(const class QSqlError &errore);

private:
    void apriNuova();
    void applicaTimeout();

    QString m_nome;
    QString m_testo;
    int m_timeout = 0;
    int m_timeoutSessione = 0;  // what the open session has
    bool m_transazione = false; // until a commit or rollback succeeds
};
