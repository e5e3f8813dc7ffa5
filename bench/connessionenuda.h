#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVector>

// A plain QtSql connection to the benchmark database: nothing of the component between the
// statement and the server. The lower bounds are measured on it, and the checks of what the
// windows wrote read through it. Every refusal throws std::runtime_error with the server's text.
class ConnessioneNuda
{
public:
    ConnessioneNuda(const QString &socket, const QString &database);
    ~ConnessioneNuda();
    ConnessioneNuda(const ConnessioneNuda &) = delete;
    ConnessioneNuda &operator=(const ConnessioneNuda &) = delete;

    // Runs one statement; the result, if any, is buffered on the client as a scrollable
    // QSqlQuery buffers it. Decimals come as exact text.
    QSqlQuery esegui(const QString &istruzione);
    // The first column of the first row, or a null QVariant without rows.
    QVariant valore(const QString &istruzione);
    // Every row of a result, every column read.
    QVector<QVector<QVariant>> righe(const QString &istruzione);
    // Runs a text of several statements separated by ";" in one round trip and reads every
    // result; the first refusal throws. (QMYSQL connects with CLIENT_MULTI_STATEMENTS.)
    void eseguiInBlocco(const QString &testo);

    QSqlDatabase database() const;

private:
    QString m_nome;
};

// The connection text of the component for the same database.
QString testoConnessione(const QString &socket, const QString &database);
