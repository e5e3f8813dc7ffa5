#pragma once

#include "data/istruzioni.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The statements of the audit trail (table registrocontrassegni) and of the report of the money
// waiting. Values go through Sql::testo and Sql::intero like every other statement's.
namespace IstruzioniRegistro {

// Who made a change: the computer's name and the operating-system user; the database user is
// the server's CURRENT_USER() of the session that writes the row.
struct Autore
{
    QString postazione;
    QString utenteSistema;
};

enum class Azione { Incasso, Rimessa, RimessaProvvisoria, Annullamento };
// "incasso", "rimessa", "rimessa provvisoria", "annullamento".
QString nomeAzione(Azione azione);

// Whether the current database has the audit table: one row with the count, 0 or 1.
QString presenza();

// The sixteen columns the collection save writes, in its order.
const QStringList &colonneIncasso();
// The waybills a save updates: lefili, lenrlv, leanlv, lecodi, then colonneIncasso(); with
// `blocca` a locking read (FOR UPDATE), so that nobody changes them before the save's commit.
QString statoIncasso(const Istruzioni::ChiaveLdv &chiave, bool blocca);

// One column that a save changed on one waybill; a null value is NULL, anything else is text.
struct Modifica
{
    Istruzioni::ChiaveRimessa ldv;
    QString cliente;
    QString colonna;
    QVariant prima;
    QVariant dopo;
};
// One insert of every change of a save (action "incasso"); `modifiche` must not be empty.
QString registraIncasso(const Autore &autore, const QList<Modifica> &modifiche);
// One row per waybill stamped with remittance `numero` of `data`, with the number and date: for
// a posting after its stamps, for a cancellation before it takes them off.
QString registraDistinta(const Autore &autore, Azione azione, const QString &numero,
                         const QDate &data);
// One row per waybill of a letter that posted nothing; `ldv` must not be empty.
QString registraLdv(const Autore &autore, Azione azione, const QString &cliente,
                    const QVector<Istruzioni::ChiaveRimessa> &ldv);

// --- The window "Storico contrassegni" ---------------------------------------------------------
// Every filter left empty (or a null date) is not applied. Newest first, at most `righe` rows.
struct FiltroStorico
{
    QString ldv;      // the waybill's number
    QString cliente;  // a customer code
    QString distinta; // a remittance number
    QDate dal;
    QDate al;
    int righe = 5000;
};
// Quando, Azione, lefili, lenrlv, leanlv, lecodi, RagioneSociale, NrDistinta, DataDistinta,
// Colonna, Prima, Dopo, Postazione, UtenteDb, UtenteSistema.
QString storico(const FiltroStorico &filtro);

// --- The report "Contrassegni in sospeso" ------------------------------------------------------
// The branches for the report's list: codice, Descrizione.
QString filiali();
// As of `data`: a cash-on-delivery waybill issued by then is waiting when no remittance had
// taken it by then (lendvc 0 and not marked sent, or remitted after `data`). It is collected
// when its amount collected is above 0 and the collection date is not after `data`; the age of a
// collection is the days from its date to `data`, in four bands.
struct FiltroSospesi
{
    QString filiale; // the waybill's branch; empty: every branch
    QString cliente; // a customer code; empty: every customer
    QDate data;
};
// The upper limits, in days, of the first three age bands (0-7, 8-15, 16-30); the fourth is
// everything older.
const int limitiFasce[3] = {7, 15, 30};
// Per customer, by code: Cliente, RagioneSociale; NrDaIncassare, DaIncassare, DaIncassareDal
// (the oldest waybill date); for each band n of 1 to 4 Nr<n>, Importo<n>; NrDaRimettere,
// DaRimettere, IncassatoDal (the oldest collection date).
QString sospesi(const FiltroSospesi &filtro);
// The waybills of the report, oldest collection first, then the ones not collected by waybill
// date: lefili, lenrlv, leanlv, ledtlv, lecodi, lerife, ledest, lecnss, leimcs, ledtin, Fascia
// (0 not collected, else the band), Giorni (the age of the collection).
QString sospesiLdv(const FiltroSospesi &filtro);

} // namespace IstruzioniRegistro
