#include "support/stamparegistrata.h"

#include "data/erroredb.h"
#include "data/recordset.h"
#include "suite/RegistroComponenti.h"
#include "suite/creamodulistampa.h"

#include <QDate>

namespace {

QString testoCampo(const QVariant &valore)
{
    if (valore.isNull())
        return QStringLiteral("-");
    if (valore.typeId() == QMetaType::QDate)
        return valore.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    return valore.toString();
}

} // namespace

void StampaRegistrata::registra()
{
    RegistroComponenti::registra(IdProgrammaticoStampa(idProva()),
                                 [] { return new StampaRegistrata; });
}

StampaRegistrata::Registro &StampaRegistrata::ultima()
{
    static Registro registro;
    return registro;
}

void StampaRegistrata::reset()
{
    ultima() = Registro();
}

void StampaRegistrata::setPercorsoDb(const QString &percorso)
{
    ultima().chiamate << QStringLiteral("setPercorsoDb");
    ultima().percorsoDb = percorso;
}

void StampaRegistrata::setNumeroModulo(int numero)
{
    ultima().chiamate << QStringLiteral("setNumeroModulo");
    ultima().numeroModulo = numero;
}

void StampaRegistrata::setFileLogo(const QString &percorso)
{
    ultima().chiamate << QStringLiteral("setFileLogo");
    ultima().fileLogo = percorso;
}

void StampaRegistrata::DatiStampa(const QStringList &dati)
{
    ultima().chiamate << QStringLiteral("DatiStampa");
    ultima().dati = dati;
}

void StampaRegistrata::Stampa(QString &, bool &)
{
    Registro &r = ultima();
    r.chiamate << QStringLiteral("Stampa");
    try {
        Recordset righe;
        righe.apri(r.dati.value(1), r.percorsoDb);
        static const char *const campi[] = {"lefili",      "lenrlv", "leanlv",     "lecnss",
                                            "lendvc",      "ledtvc", "NrDistinta", "DataDistinta",
                                            "Riferimento", "Banca",  "Importo"};
        for (righe.primo(); !righe.eof(); righe.successivo()) {
            QStringList valori;
            for (const char *campo : campi)
                valori << testoCampo(righe.campo(QLatin1String(campo)));
            r.righe << valori.join(QLatin1Char('|'));
        }
    } catch (const ErroreDb &errore) {
        r.erroreLettura = errore.testo();
    }
    if (r.durante)
        r.durante();
    if (r.fallisce)
        throw ErroreDb(482, QStringLiteral("Errore della stampante."));
}
