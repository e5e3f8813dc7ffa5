#include "data/riprova.h"

#include "data/erroredb.h"

#include <QRandomGenerator>
#include <QThread>

namespace {

constexpr int stallo = 1213;
constexpr int attesaScaduta = 1205;

bool conflitto(const ErroreDb &errore)
{
    return errore.numero() == stallo || errore.numero() == attesaScaduta;
}

} // namespace

void ripetiSeInConflitto(const std::function<void()> &transazione)
{
    for (int tentativo = 1;; ++tentativo) {
        try {
            transazione();
            return;
        } catch (const ErroreDb &errore) {
            if (!conflitto(errore))
                throw;
            if (tentativo == RipetiSeInConflitto::tentativi)
                throw ErroreDb(errore.numero(),
                               QStringLiteral("Un'altra postazione stava modificando gli stessi "
                                              "dati: dopo %1 tentativi non è stato registrato "
                                              "nulla. Riprovare fra qualche istante. (%2)")
                                   .arg(tentativo)
                                   .arg(errore.descrizione()));
            // Up to a tenth of a second more at every try.
            QThread::msleep(20 + QRandomGenerator::global()->bounded(100 * tentativo));
        }
    }
}
