#include "suite/creamodulistampa.h"

#include "suite/RegistroComponenti.h"
#include "suite/cLeggiIni.h"
#include "suite/cModuliStampa.h"
#include "services/modprincipale.h"

QString IdProgrammaticoStampa(const QString &identificativoDll)
{
    return QStringLiteral("ReportDoc") + identificativoDll + QStringLiteral(".cModuliStampa");
}

void CreaModuliStampa(std::unique_ptr<cModuliStampa> &istanza)
{
    CreaModuliStampaDaIni(istanza, modPrincipale::PercorsoFileIni());
}

void CreaModuliStampaDaIni(std::unique_ptr<cModuliStampa> &istanza, const QString &fileIni)
{
    const QString identificativo = cLeggiIni().LeggiValore(fileIni, QStringLiteral("DLLStampe"),
                                                           QStringLiteral("IdentificativoDll"));
    const QString progId = IdProgrammaticoStampa(identificativo);
    try {
        std::unique_ptr<cModuliStampa> nuova(RegistroComponenti::crea(progId));
        if (nuova)
            istanza = std::move(nuova);
    } catch (...) {
        // A component that cannot be created leaves the default one in place.
    }
}
