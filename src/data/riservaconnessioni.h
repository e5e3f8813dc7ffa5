#pragma once

#include <QString>

// Connections the component has closed, kept open for the next one opened from the same
// connection text, so that a lookup or a save costs its statements and not a login. Only a
// connection with no transaction open comes back; one the server dropped while it waited (an
// administrator's KILL, the server's idle time-out, a restart) is noticed when it is taken, by a
// trivial statement that fails, and thrown away. Used on the user-interface thread only.
namespace RiservaConnessioni {

struct Presa
{
    QString nome;    // the QtSql connection name; empty when none was kept
    int timeout = 0; // the session's statement time-out, in seconds
};

// An idle connection opened from `testo` that still answers, or an empty Presa; one whose
// session already has the statement time-out `timeout` first, so lookups and saves that
// alternate do not set it back and forth.
Presa prendi(const QString &testo, int timeout);
// Keeps the open connection `nome` for the next prendi(testo); closes it instead when enough are
// kept already.
void restituisci(const QString &testo, const QString &nome, int timeout);
// Closes every kept connection: the component is being released or the process ends.
void svuota();
int numeroInAttesa();

} // namespace RiservaConnessioni
