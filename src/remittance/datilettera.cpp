#include "remittance/datilettera.h"

namespace DatiLettera {

namespace {

const int tipoAssegno = 3;
const int tipoBonifico = 4;

} // namespace

bool conAssegno(int tipo)
{
    return tipo == tipoAssegno || tipo == tipoBonifico;
}

QStringList componi(const QString &codiceCliente, const QString &query, int tipo,
                    const Istruzioni::DatiAssegno &assegno,
                    const Istruzioni::ChiaveRimessa &primaLdv)
{
    QStringList dati;
    dati.reserve(NumeroDati);
    dati << codiceCliente << query;
    if (conAssegno(tipo)) {
        dati << QStringLiteral("In allegato vi trasmettiamo assegno/bonifico nr. ") +
                    assegno.riferimento + QStringLiteral(" emesso a Vs. ordine,")
             << QStringLiteral("tratto su: ") + assegno.banca +
                    QStringLiteral(" per l'importo di ") + assegno.importo.valuta()
             << QStringLiteral("relativo ai contrassegni incassati a fronte delle seguenti "
                               "spedizioni:")
             << (tipo == tipoAssegno ? QStringLiteral("Allegato n.1 assegno bancario") : QString());
    } else {
        dati << QStringLiteral("In allegato vi trasmettiamo i sottoelencati assegni incassati per "
                               "Vs. conto.")
             << QStringLiteral("L'occasione è gradita per porgerVi cordiali saluti.") << QString()
             << QString();
    }
    dati << primaLdv.numero << primaLdv.anno << primaLdv.filiale;
    return dati;
}

} // namespace DatiLettera
