#pragma once

#include <QString>
#include <QStringList>

// The controller of the load: starts the stations (processes of this executable, each with a
// computer name of its own), waits for them, prints per action the count, p50, p95 and errors,
// then checks what the database holds against what the stations say they did.
struct ImpostazioniControllo
{
    int postazioni = 50;
    int secondi = 120;
    int maxAzioni = 200;
    QStringList connessioni; // one server, or the nodes of a cluster: station i uses i mod count
    QString etichetta;       // the target's name in the report
    double obiettivoMs = 50; // p95 each interactive action must stay under
    QString cartella;        // the stations' output files
    QString eseguibile;
};

// 0 when no action failed and every invariant holds.
int eseguiControllo(const ImpostazioniControllo &impostazioni);
