#pragma once

#include <QString>

// One station of the load: an operator's mix of actions with think time between them, for a
// bounded time and a bounded count of actions, on its own connections from one connection text.
// It prints one line per event on standard output, fields separated by "|":
//   T|action|ms|outcome          an action done (outcome: ok, vuota, frattempo, registrata)
//   E|action|ms|text             an action that failed, with the error's text
//   R|number|date|customer|type|from|to|waybills|reference|bank|amount
//                                a remittance posted (dates yyyy-mm-dd)
//   C|start|end                  a remittance run, posted or not (ms since the epoch)
//   A|number|date                a remittance of this station's cancelled
//   S|save|branch|number|year    a save committed
struct ImpostazioniPostazione
{
    int numero = 0;
    QString connessione;
    int secondi = 120;
    int maxAzioni = 200;
    qint64 cassaMs = 0; // when (ms since the epoch) it posts the branch's cash-up; 0: never
};

// Runs the station; returns the process's exit code (0 also when actions failed: the failures
// are in the lines).
int eseguiPostazione(const ImpostazioniPostazione &impostazioni);
