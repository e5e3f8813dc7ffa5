#pragma once

#include "data/importo.h"
#include "data/istruzioni_registro.h"
#include "finance/prospetto.h"

#include <QDate>
#include <QList>
#include <QString>

class Connessione;

// One customer's line of the report of the money waiting: the cash-on-delivery amounts due and
// not collected, and those collected and not remitted in four bands of age, with counts, totals
// and the oldest dates. The line of the grand total has no customer.
struct RigaSospesi
{
    QString cliente;
    QString nome;
    qint64 nrDaIncassare = 0;
    Importo daIncassare;
    QDate daIncassareDal;
    qint64 nr[4] = {};
    Importo importo[4];
    qint64 nrDaRimettere = 0;
    Importo daRimettere;
    QDate incassatoDal;
};

namespace Sospesi {

// The report as the server computes it, per customer by code.
QList<RigaSospesi> leggi(const IstruzioniRegistro::FiltroSospesi &filtro, Connessione &connessione);
// The grand total of the lines: counts and amounts added, the oldest of the dates.
RigaSospesi totale(const QList<RigaSospesi> &righe);
// The lines and their grand total as the window shows them; `ambito` says which branch,
// customer and date.
Prospetto prospetto(const QList<RigaSospesi> &righe, const QString &ambito);
// The waybills of one customer (IstruzioniRegistro::sospesiLdv) as the window lists them; each
// row's key is in chiavi, in the same order.
struct LdvSospese
{
    Prospetto prospetto;
    QList<Istruzioni::ChiaveLdv> chiavi;
};
LdvSospese leggiLdv(const IstruzioniRegistro::FiltroSospesi &filtro, Connessione &connessione);

} // namespace Sospesi
