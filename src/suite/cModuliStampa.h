#pragma once

#include "riscuti_export.h"

#include <QString>
#include <QStringList>

// The suite's print component, driven by the remittance run in this order: setPercorsoDb,
// setNumeroModulo, setFileLogo, DatiStampa, Stampa. A host may register its own implementation
// (see RegistroComponenti.h); without one the component's default letter printer is used.
class RISCUTI_EXPORT cModuliStampa
{
public:
    virtual ~cModuliStampa();

    // Connection text of the database on which the query of the letter data is run.
    virtual void setPercorsoDb(const QString &percorso) = 0;
    // Number of the form to print; 8 is the remittance letter.
    virtual void setNumeroModulo(int numero) = 0;
    // Path of the letter-head logo image.
    virtual void setFileLogo(const QString &percorso) = 0;
    // The nine letter entries: 0 customer code, 1 query of the listed waybills, 2 to 5 the lines
    // of the letter, 6 to 8 number, year and branch of the first waybill.
    virtual void DatiStampa(const QStringList &dati) = 0;
    // Prints the form. The caller passes an empty text and true and reads nothing back.
    virtual void Stampa(QString &testo, bool &flag) = 0;
};
