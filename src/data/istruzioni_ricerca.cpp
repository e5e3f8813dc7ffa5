#include "data/istruzioni_ricerca.h"

#include "data/sql.h"

namespace IstruzioniRicerca {
} // namespace IstruzioniRicerca
