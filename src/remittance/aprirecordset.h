#pragma once

#include <QString>

#include <memory>

class Connessione;
class Recordset;

// How ApriRecordset opens: mode 1 for a recordset that adds rows to the table it names, any
// other value for reading only.
enum ModoRecordset { RecordsetAggiornabile = 1, RecordsetSolaLettura = 2 };

// Opens `sorgente` (a statement, or a bare table name to add rows to) on the connection held in
// `connessione`, normally modPrincipale::ConnessioneComune(). An empty variable receives a new
// connection and a closed one is opened, both with modPrincipale::PercorsoDatabase(); an empty
// recordset variable receives a new recordset and an open one is closed first. Only a bare table
// name gives a recordset that adds rows, so mode 1 asks for one. Errors are thrown (ErroreDb).
bool ApriRecordset(std::unique_ptr<Recordset> &recordset, std::unique_ptr<Connessione> &connessione,
                   const QString &sorgente, int modo);
