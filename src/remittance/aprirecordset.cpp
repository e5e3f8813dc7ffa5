#include "remittance/aprirecordset.h"

#include "services/modprincipale.h"
#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "data/sql.h"

bool ApriRecordset(std::unique_ptr<Recordset> &recordset, std::unique_ptr<Connessione> &connessione,
                   const QString &sorgente, int modo)
{
    if (modo == RecordsetAggiornabile)
        Sql::identificatore(sorgente.trimmed()); // rows can be added to a named table only

    if (!connessione)
        connessione = std::make_unique<Connessione>(modPrincipale::PercorsoDatabase());
    if (!connessione->aperta()) {
        connessione->setTestoConnessione(modPrincipale::PercorsoDatabase());
        connessione->apri();
    }

    if (!recordset)
        recordset = std::make_unique<Recordset>();
    else if (recordset->aperto())
        recordset->chiudi();
    recordset->apri(sorgente, *connessione);
    return true;
}
