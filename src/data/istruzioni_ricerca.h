#pragma once

#include <QString>

// Statement texts of the shipment search dialog, one pure function per list.
namespace IstruzioniRicerca {
} // namespace IstruzioniRicerca
