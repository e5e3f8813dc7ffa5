#pragma once

#include <QString>

// The workstation's name and the per-station work table of the remittance run: several
// stations may post remittances at the same time, each into a table of its own.

// The computer's name as the system reports it, at most 31 characters.
QString NomeComputer();
// The station name made from a computer name: "-", "_", ".", "\", "/", the double quote, ","
// and "'" removed, one leading digit dropped, at most 9 characters, upper case.
QString NomePostazioneDa(const QString &nomeComputer);
// The station name of this computer.
QString NomePostazione();
// The station name followed by `prefisso` ("PC01" and "Rimessa" give "PC01Rimessa").
QString NomeTabellaLavoro(const QString &prefisso);
