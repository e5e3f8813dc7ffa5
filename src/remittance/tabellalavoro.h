#pragma once

#include <QString>

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
