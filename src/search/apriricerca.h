#pragma once

#include <QString>

#include <memory>

class Recordset;

// Opens the customer/supplier/recipient search (kind 1, 2 or 3 on the named table) modally and
// returns the record the operator chose, or nothing. The caller owns the result.
std::unique_ptr<Recordset> ApriRicerca(int tipoAnagrafica, const QString &nomeTabella);
