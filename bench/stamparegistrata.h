#pragma once

#include "suite/cModuliStampa.h"

#include <QString>
#include <QStringList>

#include <functional>

// The print component the benchmark registers under the id its INI file names. It keeps what
// the remittance run hands it and prints nothing, so that the posting is timed without the
// letter; the benchmark then checks what it received.
class StampaRegistrata : public cModuliStampa
{
public:
    struct Registro
    {
        QString percorsoDb;
        int numeroModulo = 0;
        QString fileLogo;
        QStringList dati;
        int stampe = 0; // calls of Stampa
    };
    // What the last instances received, in the order of the calls; reset by the benchmark.
    static Registro &registro();
    // Called inside Stampa, when the run hands the letter over.
    static std::function<void()> &allaStampa();

    void setPercorsoDb(const QString &percorso) override;
    void setNumeroModulo(int numero) override;
    void setFileLogo(const QString &percorso) override;
    void DatiStampa(const QStringList &dati) override;
    void Stampa(QString &testo, bool &flag) override;
};
