#include "suite/cModuliStampa.h"

cModuliStampa::~cModuliStampa() = default;
