#pragma once

#include <functional>

// Runs `transazione` (one whole transaction, from its begin to its commit) again when the server
// ends it for a conflict with another station: a deadlock (1213: also what a cluster node says
// when another node committed the same rows first, its transaction already rolled back) or a
// lock wait that timed out (1205). A few tries, each after a short pause of random length so
// that two stations do not meet again; then the conflict is thrown as ErroreDb with the same
// number and a text that tells the operator nothing was written and to try again. Any other
// error is thrown at once.
void ripetiSeInConflitto(const std::function<void()> &transazione);

namespace RipetiSeInConflitto {
// How many times a transaction runs at most.
constexpr int tentativi = 5;
} // namespace RipetiSeInConflitto
