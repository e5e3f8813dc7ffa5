#pragma once

#include "riscuti_export.h"

#include <QString>

#include <functional>

class cModuliStampa;

// Where the suite's replaceable parts are found by their programmatic id
// ("ReportDoc<IdentificativoDll>.cModuliStampa" for a print component).
namespace RegistroComponenti {

using FabbricaStampa = std::function<cModuliStampa *()>;

// Registers (or replaces) the factory for an id. The factory returns a new instance that the
// caller owns. Ids are matched without regard to case; an empty factory removes the id.
RISCUTI_EXPORT void registra(const QString &progId, FabbricaStampa fabbrica);
RISCUTI_EXPORT void rimuovi(const QString &progId);
// A new instance made by the factory registered under the id, or nullptr when there is none.
// What the factory throws reaches the caller.
RISCUTI_EXPORT cModuliStampa *crea(const QString &progId);

} // namespace RegistroComponenti
