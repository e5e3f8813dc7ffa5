#pragma once

#include <QString>

#include <memory>

class cModuliStampa;

// The programmatic id of the print component that the INI file names:
// "ReportDoc" + value of DLLStampe/IdentificativoDll + ".cModuliStampa".
QString IdProgrammaticoStampa(const QString &identificativoDll);

// Replaces the print component held in `istanza` by the one that the suite's INI file
// (modPrincipale::PercorsoFileIni) names, when the registry can create it. From the creation on
// every failure is ignored and `istanza` keeps what it held, so the default printer prints.
void CreaModuliStampa(std::unique_ptr<cModuliStampa> &istanza);
// The same with the INI file given.
void CreaModuliStampaDaIni(std::unique_ptr<cModuliStampa> &istanza, const QString &fileIni);
