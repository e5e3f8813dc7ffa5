#pragma once

#include <functional>

// The number of the ErroreDb that `azione` throws; 0 when it throws none. Any other exception
// goes on to the test, which fails on it.
int numeroErrore(const std::function<void()> &azione);
