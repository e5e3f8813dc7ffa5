#include "stamparegistrata.h"

StampaRegistrata::Registro &StampaRegistrata::registro()
{
    static Registro registro;
    return registro;
}

std::function<void()> &StampaRegistrata::allaStampa()
{
    static std::function<void()> azione;
    return azione;
}

void StampaRegistrata::setPercorsoDb(const QString &percorso)
{
    registro().percorsoDb = percorso;
}

void StampaRegistrata::setNumeroModulo(int numero)
{
    registro().numeroModulo = numero;
}

void StampaRegistrata::setFileLogo(const QString &percorso)
{
    registro().fileLogo = percorso;
}

void StampaRegistrata::DatiStampa(const QStringList &dati)
{
    registro().dati = dati;
}

void StampaRegistrata::Stampa(QString &, bool &)
{
    ++registro().stampe;
    if (allaStampa())
        allaStampa()();
}
