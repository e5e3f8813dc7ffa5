#pragma once

#include "suite/cModuliStampa.h"

#include <QString>
#include <QStringList>

#include <functional>

// The print component a host of the suite would register, for the suites that print letters:
// it records every call in order and, while Stampa runs, reads the rows of the letter's query
// (entry 1) on a connection of its own, as a real print component does.
//     StampaRegistrata::registra();        // once; the INI names it with idProva
//     ... a remittance run ...
//     QCOMPARE(StampaRegistrata::ultima().righe, ...);
class StampaRegistrata : public cModuliStampa
{
public:
    struct Registro
    {
        QStringList chiamate; // the operations, in the order they came
        QString percorsoDb;
        int numeroModulo = 0;
        QString fileLogo;
        QStringList dati;
        // The query's rows, "lefili|lenrlv|leanlv|lecnss|lendvc|ledtvc|NrDistinta|
        // DataDistinta|Riferimento|Banca|Importo", NULL as "-", dates yyyy-MM-dd.
        QStringList righe;
        QString erroreLettura;         // "<number> <text>" when the query could not be read
        bool fallisce = false;         // Stampa throws ErroreDb 482 after recording
        std::function<void()> durante; // runs inside Stampa, while the run is going on
    };

    // The INI's IdentificativoDll that names this component.
    static QString idProva() { return QStringLiteral("Prova"); }
    static void registra();
    // What the last run told the component; reset() before a run.
    static Registro &ultima();
    static void reset();

    void setPercorsoDb(const QString &percorso) override;
    void setNumeroModulo(int numero) override;
    void setFileLogo(const QString &percorso) override;
    void DatiStampa(const QStringList &dati) override;
    void Stampa(QString &testo, bool &flag) override;
};
