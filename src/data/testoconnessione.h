#pragma once

#include <QString>

// What a connection text of the suite says: host, port, database, user, password, socket.
struct ParametriConnessione
{
    QString host;
    int porta = 0; // 0: the client's default
    QString database;
    QString utente;
    QString password;
    QString socket;
};

// Reads an ADO/ODBC-style "key=value;..." text (braces, double quotes, nested
// Extended Properties). Unknown keys are ignored; a text without a server means the local one.
ParametriConnessione leggiTestoConnessione(const QString &testo);
