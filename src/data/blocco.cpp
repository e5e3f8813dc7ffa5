#include "data/blocco.h"

#include "data/connessione.h"
#include "data/istruzioni.h"

#include <QSqlError>
#include <QSqlQuery>

#include <limits>

namespace {

// Bytes the joined text may add to a statement: a newline, and a ";" on a line of its own.
const int byteSeparatore = 3;

// The text a block is sent as: the statements in order, one to a line, each ended by ";" (on a
// line of its own, so that a final comment cannot swallow it) when it lacks one.
QString unisci(const QStringList &istruzioni)
{
    QString testo;
    for (const QString &istruzione : istruzioni) {
        if (!testo.isEmpty())
            testo += QLatin1Char('\n');
        testo += istruzione;
        if (!istruzione.trimmed().endsWith(QLatin1Char(';')))
            testo += QStringLiteral("\n;");
    }
    return testo;
}

int maxAllowedPacket(Connessione &connessione)
{
    QSqlQuery query(connessione.database());
    if (!query.exec(Istruzioni::leggiMaxAllowedPacket()) || !query.next())
        Connessione::lancia(query.lastError());
    return int(qMin<qlonglong>(query.value(0).toLongLong(), std::numeric_limits<int>::max()));
}

} // namespace

BloccoIstruzioni::BloccoIstruzioni(Connessione &connessione, int byteMassimi)
    : m_connessione(connessione),
      m_byteMassimi(byteMassimi > 0 ? byteMassimi
                                    : qMin(byteBlocco, maxAllowedPacket(connessione) / 4))
{}

void BloccoIstruzioni::aggiungi(const QString &istruzione)
{
    Connessione::controllaIstruzione(istruzione);
    const int byte = int(istruzione.toUtf8().size()) + byteSeparatore;
    if (!m_istruzioni.isEmpty() && m_byte + byte > m_byteMassimi)
        invia();
    m_istruzioni << istruzione;
    m_byte += byte;
}

void BloccoIstruzioni::invia()
{
    if (m_istruzioni.isEmpty())
        return;
    const QString testo = unisci(m_istruzioni);
    const int quante = int(m_istruzioni.size());
    m_istruzioni.clear();
    m_byte = 0;

    QSqlQuery query(m_connessione.database());
    query.setForwardOnly(true);
    if (!query.exec(testo))
        Connessione::lancia(query.lastError());
    // Every statement's result is read: one the server refused, and the rest it then skipped,
    // show up here as the failure of the next result.
    while (query.nextResult()) {
    }
    if (query.lastError().isValid())
        Connessione::lancia(query.lastError());
    m_eseguite += quante;
    if (m_dopoInvio)
        m_dopoInvio(m_eseguite);
}
