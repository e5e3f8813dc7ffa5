#include "remittance/postazione.h"

#include "data/registro.h"

namespace {

const int lunghezzaNomePostazione = 9;

} // namespace

QString NomeComputer()
{
    return Registro::nomeComputer();
}

QString NomePostazioneDa(const QString &nomeComputer)
{
    QString nome = nomeComputer;
    for (const QChar escluso : {u'-', u'_', u'.', u'\\', u'/', u'"', u',', u'\''})
        nome.remove(escluso);
    if (!nome.isEmpty() && nome.front() >= u'0' && nome.front() <= u'9')
        nome.remove(0, 1);
    return nome.left(lunghezzaNomePostazione).toUpper();
}

QString NomePostazione()
{
    return NomePostazioneDa(NomeComputer());
}

QString NomeTabellaLavoro(const QString &prefisso)
{
    return NomePostazione() + prefisso;
}
