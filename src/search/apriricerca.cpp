#include "search/apriricerca.h"

#include "data/recordset.h"

// Placeholder until the search dialog lands: no dialog, no record.
std::unique_ptr<Recordset> ApriRicerca(int, const QString &)
{
    return nullptr;
}
