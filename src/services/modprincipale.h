#pragma once

#include <QString>

#include <memory>

class Connessione;
class QComboBox;
class QWidget;
class Recordset;

// Process-wide values shared by every cRiscuti instance and read by every window.
namespace modPrincipale {

QString PercorsoDatabase();
void setPercorsoDatabase(const QString &valore);
QString PercorsoFileIni();
void setPercorsoFileIni(const QString &valore);
QString PercorsoLogoIntestazione();
void setPercorsoLogoIntestazione(const QString &valore);

// The connection the remittance windows share; empty until first needed.
std::unique_ptr<Connessione> &ConnessioneComune();
// The shared connection, open: a new one when the variable holds none, the one it holds opened
// again when closed (both from PercorsoDatabase). Throws ErroreDb.
Connessione &ConnessioneComuneAperta();

} // namespace modPrincipale

// Closes a recordset and a connection. With `rilascia` both are closed and released; without it
// the recordset is closed and, unless `tieniConnessione`, the connection too (both kept). Never
// fails.
void ChiudiConnessione(std::unique_ptr<Recordset> &recordset,
                       std::unique_ptr<Connessione> &connessione, bool rilascia,
                       bool tieniConnessione);
// Closes and releases a recordset alone.
void ChiudiRecordset(std::unique_ptr<Recordset> &recordset);

// Runs one statement on a connection of its own, outside any transaction. Throws ErroreDb.
void EseguiComando(const QString &istruzione);

// Puts a window into the topmost band or takes it out, shown or not; a shown window stays
// mapped, placed and active, with its focused field.
void ImpostaInPrimoPiano(QWidget *finestra, bool primoPiano);

// Fills a list with the five collection codes: "", "In Cassa", "Invio assegno mitt.",
// "Invio ns assegno", "Bonifico Bancario", each with its code (0 to 4) as item data. No entry
// is chosen afterwards (current index -1).
void CaricaCodiciIncasso(QComboBox *lista);
