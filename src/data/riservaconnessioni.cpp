#include "data/riservaconnessioni.h"
#include "data/istruzioni.h"

#include "data/tunneltls.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVector>

namespace RiservaConnessioni {

namespace {

struct InAttesa
{
    QString testo;
    QString nome;
    int timeout = 0;
};

// A window holds at most one or two connections at a time; a few kept cover every path.
constexpr int massimoInAttesa = 4;

QVector<InAttesa> &riserva()
{
    static QVector<InAttesa> connessioni;
    static const bool pulizia = [] {
        // QtSql and its driver go with the application: close what is kept before they do.
        qAddPostRoutine(svuota);
        return true;
    }();
    Q_UNUSED(pulizia);
    return connessioni;
}

void chiudi(const QString &nome)
{
    QSqlDatabase::database(nome, false).close();
    QSqlDatabase::removeDatabase(nome);
    TunnelTls::chiudi(nome);
}

bool risponde(const QString &nome)
{
    QSqlDatabase db = QSqlDatabase::database(nome, false);
    return db.isOpen() && QSqlQuery(db).exec(Istruzioni::provaConnessione());
}

} // namespace

Presa prendi(const QString &testo, int timeout)
{
    QVector<InAttesa> &connessioni = riserva();
    // The most recently returned first (the likeliest to be alive), the same time-out before any.
    for (const bool stessoTimeout : {true, false}) {
        for (int i = connessioni.size() - 1; i >= 0; --i) {
            const InAttesa &candidata = connessioni.at(i);
            if (candidata.testo != testo || (stessoTimeout && candidata.timeout != timeout))
                continue;
            const InAttesa presa = connessioni.takeAt(i);
            if (risponde(presa.nome))
                return {presa.nome, presa.timeout};
            chiudi(presa.nome);
        }
    }
    return {};
}

void restituisci(const QString &testo, const QString &nome, int timeout)
{
    QVector<InAttesa> &connessioni = riserva();
    connessioni.append({testo, nome, timeout});
    if (connessioni.size() > massimoInAttesa)
        chiudi(connessioni.takeFirst().nome);
}

void svuota()
{
    QVector<InAttesa> &connessioni = riserva();
    while (!connessioni.isEmpty())
        chiudi(connessioni.takeLast().nome);
}

int numeroInAttesa()
{
    return riserva().size();
}

} // namespace RiservaConnessioni
