#include "cModuliStampa.h"

cModuliStampa::~cModuliStampa() = default;
