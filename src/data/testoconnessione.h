#pragma once

#include <QString>

// How a connection protects itself with TLS, as the suite's texts name it in SslMode.
enum class ModoTls {
    Disabilitato,     // DISABLED: clear text, as a text without TLS keys
    Preferito,        // PREFERRED: TLS when the server offers it, certificate not checked
    Richiesto,        // REQUIRED: TLS or no connection, certificate not checked
    VerificaCa,       // VERIFY_CA: REQUIRED, and the certificate signed by SslCa
    VerificaIdentita, // VERIFY_IDENTITY: VERIFY_CA, and the certificate names the server
    Sconosciuto       // a value of SslMode that is none of the above: refused at opening
};

// What a connection text of the suite says: host, port, database, user, password, socket, TLS.
struct ParametriConnessione
{
    QString host;
    int porta = 0; // 0: the client's default
    QString database;
    QString utente;
    QString password;
    QString socket;
    // Without SslMode: VERIFY_CA when SslCa is given, REQUIRED when another TLS key is,
    // DISABLED otherwise.
    ModoTls modoTls = ModoTls::Disabilitato;
    QString testoModoTls; // SslMode as written, for the message that refuses an unknown one
    QString sslCa;        // file of the certificate authorities the server's must come from
    QString sslCert;      // the station's own certificate, for servers that ask for one
    QString sslKey;       // its private key
    QString sslCipher;    // the ciphers allowed, in OpenSSL's notation
};

// Reads an ADO/ODBC-style "key=value;..." text (braces, double quotes, nested
// Extended Properties). Unknown keys are ignored; a text without a server means the local one.
// The TLS keys are read in their usual spellings: SslMode, SslCa, SslCert, SslKey, SslCipher,
// with or without "_" or "-" after "Ssl" (SSL_CA, Ssl-Cert), in any case.
ParametriConnessione leggiTestoConnessione(const QString &testo);
