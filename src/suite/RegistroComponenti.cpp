#include "suite/RegistroComponenti.h"

#include "suite/cModuliStampa.h"

#include <QMutex>
#include <QMutexLocker>

#include <map>

namespace {

// Programmatic ids are matched without regard to case, as the suite's hosts have always
// written them in mixed case.
QString chiave(const QString &progId)
{
    return progId.trimmed().toCaseFolded();
}

struct Registro
{
    QMutex guardia;
    std::map<QString, RegistroComponenti::FabbricaStampa> fabbriche;
};

Registro &registro()
{
    static Registro unico;
    return unico;
}

} // namespace

namespace RegistroComponenti {

void registra(const QString &progId, FabbricaStampa fabbrica)
{
    Registro &r = registro();
    QMutexLocker blocco(&r.guardia);
    if (fabbrica)
        r.fabbriche[chiave(progId)] = std::move(fabbrica);
    else
        r.fabbriche.erase(chiave(progId));
}

void rimuovi(const QString &progId)
{
    Registro &r = registro();
    QMutexLocker blocco(&r.guardia);
    r.fabbriche.erase(chiave(progId));
}

cModuliStampa *crea(const QString &progId)
{
    FabbricaStampa fabbrica;
    {
        Registro &r = registro();
        QMutexLocker blocco(&r.guardia);
        const auto trovata = r.fabbriche.find(chiave(progId));
        if (trovata == r.fabbriche.end())
            return nullptr;
        fabbrica = trovata->second;
    }
    // The factory runs outside the lock: it may itself look at the registry.
    return fabbrica();
}

} // namespace RegistroComponenti
