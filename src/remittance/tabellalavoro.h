#pragma once

#include <QString>

class Connessione;

// Creating and probing the station's work table. The creation statement is the suite's own
// template (key STRCREATABELLA of section FRMBOLLCARICHIINT of its INI file), with a "?" for the
// new table and a "?" for the table or view whose structure it copies.

// `testo` with its first "?" replaced by `valore`. A text without "?" throws ErroreDb 5.
QString SostituisciSegnaposto(const QString &testo, const QString &valore);
// The creation statement from a template: the first "?" becomes `nome`, the next `sorgente`.
// Both names must be plain identifiers (Sql::identificatore), else it throws.
QString IstruzioneCreaTabella(const QString &modello, const QString &nome, const QString &sorgente);
// True when `nome` cannot be read on a connection of its own made from `testoConnessione`
// (missing, or any other failure).
bool TabellaMancante(const QString &nome, const QString &testoConnessione);
// Creates `nome` with the structure of `sorgente` from the template `modello`, on a connection of
// its own made from `testoConnessione`. Throws ErroreDb on a template without placeholders or a
// refused statement.
void CreaTabella(const QString &nome, const QString &sorgente, const QString &modello,
                 const QString &testoConnessione);
// The template of the suite's INI file (PercorsoFileIni).
QString ModelloCreaTabella();
// Gives the table `nome` the index the per-waybill stamps look rows up by, when no index starts
// with the waybill's number: the suite's template often copies the view with no key at all.
void ChiaveTabellaLavoro(const QString &nome, Connessione &connessione);

// Takes the work table `nome` for this computer's run, on `connessione`, committed at once: a
// station whose name cleans up to the same text waits for it (a few seconds at most), on one
// server and across the nodes of a cluster. A hold this computer left behind, or one older than
// half an hour, is taken over. Throws ErroreDb when the table stays held.
void OccupaTabellaLavoro(const QString &nome, const QString &computer, Connessione &connessione);
// Gives the table back, on a connection of its own; never fails (a hold left behind is taken
// over by this computer's next run).
void LiberaTabellaLavoro(const QString &nome, const QString &computer,
                         const QString &testoConnessione);
