#include "search/apriricerca.h"

#include "services/modprincipale.h"
#include "data/recordset.h"
#include "search/frmricerca.h"

// The one dialog object serves every search; what it returns belongs to the caller.
std::unique_ptr<Recordset> ApriRicerca(int tipoAnagrafica, const QString &nomeTabella)
{
    frmRicerca *ricerca = frmRicerca::istanza();
    ricerca->setClienti_Fornitori(tipoAnagrafica);
    ricerca->setNomeTabella(nomeTabella);
    ricerca->setPercorsoDatabase(modPrincipale::PercorsoDatabase());
    ricerca->mostraModale();
    return ricerca->prendiIdRecord();
}
