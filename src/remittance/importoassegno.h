#pragma once

#include <QLocale>
#include <QString>

// The amount of our cheque or transfer, as the operator typed it into txtImportoAss, on its way
// into the remittance statements and the letter. Exact throughout: no binary floating point.
namespace ImportoAssegno {

// The typed amount as a plain decimal with a point ("1.234,5" -> "1234.5" under it_IT).
// Accepts the locale's decimal separator, its group separator between groups of three digits,
// a leading minus, the euro sign and blanks; at most two decimals that are not zeros. Anything
// else, the empty text included, throws ErroreDb(TipoNonCorrispondente).
QString perIstruzione(const QString &testo, const QLocale &locale = QLocale());

// A plain decimal as currency text of the locale ("1234.5" -> "1.234,50 €" under it_IT).
QString inValuta(const QString &decimale, const QLocale &locale = QLocale());

} // namespace ImportoAssegno
