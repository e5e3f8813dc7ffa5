#include "remittance/annullamentorimessa.h"

#include "data/connessione.h"
#include "data/istruzioni.h"
#include "data/istruzioni_registro.h"
#include "data/registro.h"
#include "data/riprova.h"
#include "data/transazione.h"

namespace AnnullamentoRimessa {

void annulla(const QString &numero, const QDate &data, Connessione &connessione)
{
    // Both statements are built before anything runs: a number that is not one stops here.
    const QString annullaLdv = Istruzioni::annullaRimessaLdv(numero, data);
    const QString eliminaRecord = Istruzioni::eliminaContrassegni(numero, data);
    // The audit rows name the waybills while they still bear the remittance's stamp.
    const QString registro =
        data.isNull() || !Registro::presente(connessione)
            ? QString()
            : IstruzioniRegistro::registraDistinta(
                  Registro::autoreLocale(), IstruzioniRegistro::Azione::Annullamento, numero, data);
    ripetiSeInConflitto([&] {
        Transazione transazione(connessione);
        if (!data.isNull()) {
            if (!registro.isEmpty())
                connessione.esegui(registro);
            connessione.esegui(annullaLdv);
            connessione.esegui(eliminaRecord);
        }
        transazione.conferma();
    });
}

} // namespace AnnullamentoRimessa
