#include "support/errori.h"

#include "data/erroredb.h"

int numeroErrore(const std::function<void()> &azione)
{
    try {
        azione();
    } catch (const ErroreDb &errore) {
        return errore.numero();
    }
    return 0;
}
