#pragma once

#include <QString>

#include <functional>

class ComportamentoCampo;
class QLineEdit;

// The masked date field every window uses: no mask and empty while untouched, the mask
// "##/##/####" (prompt "_") while focused, back to truly empty when left without a digit typed.
namespace CampoData {

// The empty-mask state of a focused, untouched field.
inline QString mascheraVuota() { return QStringLiteral("__/__/____"); }

// What the operator sees: the masked text while a mask is set, the plain text otherwise.
QString testo(const QLineEdit *campo);
// Empties the text, then the mask: the untouched state.
void svuota(QLineEdit *campo);
// Puts the start properties on a field (no mask, length 10, tooltip "Premere F12 per la ricerca").
void preparaCampo(QLineEdit *campo);

// The three variants of the check made when the field is left.
ComportamentoCampo *senzaControllo(QLineEdit *campo);
// Runs `ricerca` when the field is left holding something (never refuses the move).
ComportamentoCampo *conRicerca(QLineEdit *campo, std::function<void()> ricerca);
// Refuses the move when the text is not a valid date, after showing `messaggio` (no icon, title
// "Riscuti"); the focus goes back with the whole text selected.
ComportamentoCampo *conValidita(QLineEdit *campo, const QString &messaggio);
// No check; the mask is set on focus only when `conMaschera` says so (a field that takes a year
// or a date depending on the search).
ComportamentoCampo *conMascheraCondizionata(QLineEdit *campo, std::function<bool()> conMaschera);

// Whether a text reads as a valid date dd/mm/yyyy.
bool eDataValida(const QString &testo);

} // namespace CampoData
