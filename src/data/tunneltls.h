#pragma once

#include "data/testoconnessione.h"

#include <QString>

// The way to the server for the TLS modes that Qt 6.4's QMYSQL driver cannot keep to. Its SSL_*
// options are all it passes to the client library, and with them the library logs in in clear
// text when the server offers no TLS, and never checks the name in the server's certificate.
//
// For REQUIRED, VERIFY_CA and VERIFY_IDENTITY a thread of the process listens on a local socket
// only this user can open; the driver logs in through it as if to a local server. The thread
// reads the server's greeting and, unless it offers TLS, refuses before sending it a single
// byte; otherwise it asks for TLS, checks the certificate as the mode says, and only then hands
// on the driver's login, so user, password and data cross the network encrypted or not at all.
namespace TunnelTls {

// True for the modes that go through a tunnel.
bool serve(ModoTls modo);
// Starts the tunnel of the connection `nome` towards p.host:p.porta and returns the path of the
// local socket the driver connects to. Throws ErroreDb (2026) when the files SslCa, SslCert or
// SslKey cannot be read, or no cipher of SslCipher is known.
QString apri(const QString &nome, const ParametriConnessione &p);
// Why the tunnel of `nome` ended the login, when it did: 2026 and an Italian text for a server
// refused (no TLS, a certificate not accepted), or the client library's number and words for a
// server not reached (2003, 2005, 2013). Read it after the driver's open() failed: the driver
// itself only sees the tunnel hang up.
struct Errore
{
    int numero = 0; // 0: the tunnel ended nothing
    QString testo;
};
Errore errore(const QString &nome);
// Stops the tunnel of `nome`, if it has one, once the driver has closed its connection.
void chiudi(const QString &nome);
// "SslMode=VERIFY_IDENTITY" and the like, for messages.
QString nomeModo(ModoTls modo);

} // namespace TunnelTls
