#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// The only ways a value enters a statement text. Text goes through testo(), everything written
// bare through intero()/decimale(); a value that is not the number asked for throws
// ErroreDb(TipoNonCorrispondente) instead of reaching the server.
namespace Sql {

// The content of a single-quoted literal: backslash, quote and NUL escaped the way MariaDB reads
// them (the connections turn NO_BACKSLASH_ESCAPES off).
QString testo(const QString &valore);
// A plain whole number, optional leading minus, digits only: returned unchanged.
QString intero(const QString &valore);
// A plain decimal number with a point ("12.50", "-3", "0.5", ".5", "5."): returned unchanged.
QString decimale(const QString &valore);
// A date as typed (dd/mm/yyyy). An empty text or the empty mask "__/__/____" gives a null date;
// any other text that is not a valid date throws.
QDate leggiData(const QString &ggmmaaaa);
// A date as a statement writes it, yyyy-mm-dd; a null date gives the empty text.
QString data(const QDate &data);
// A literal for any typed value (NULL, number, date, quoted text), for rows copied as they are.
QString letterale(const QVariant &valore);
// A table or column name: letters, digits and underscore only (optionally already in backticks),
// else throws. A name that starts with a digit comes back in backticks.
QString identificatore(const QString &nome);

// Whether a statement text holds one statement only (a final ";" allowed). The server would run
// every statement of a longer text, so the connection refuses such a text before sending it.
bool unaSolaIstruzione(const QString &istruzione);

// Plain tests used by the windows before a value reaches a builder.
bool eIntero(const QString &valore);
bool eDecimale(const QString &valore);

} // namespace Sql
