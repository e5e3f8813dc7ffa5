#pragma once

#include "data/importo.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Every statement the component sends, built from its values in one place. Text values go
// through Sql::testo, bare numbers through Sql::intero / Sql::decimale (a value that is not a
// number throws ErroreDb), dates are written yyyy-mm-dd (a null date as the empty text).
namespace Istruzioni {

// --- Generic ---------------------------------------------------------------------------------
QString tuttaLaTabella(const QString &tabella); // "SELECT * from <t>;"
QString inserisciRiga(const QString &tabella, const QStringList &colonne,
                      const QVariantList &valori);
// One INSERT of many rows, a value per column each: "insert into <t> (a,b) values (..),(..);"
QString inserisciRighe(const QString &tabella, const QStringList &colonne,
                       const QList<QVariantList> &righe);
QString leggiTabella(const QString &tabella);   // "select * from <t>;"
QString eliminaTabella(const QString &tabella); // "Drop table <t>;"
// The largest statement text the server takes in one packet.
QString leggiMaxAllowedPacket(); // "SELECT @@max_allowed_packet;"
// A new session: text literals read with backslash escapes, and a statement time-out (seconds,
// 0 for none).
QString impostaSessione(int timeout);
QString impostaTimeout(int timeout); // "SET SESSION max_statement_time=<n>"
// Reads that wait for what the other nodes of a cluster committed before them.
QString letturaCausale(); // "SET SESSION wsrep_sync_wait=1"
// The cheapest statement there is, to see that an idle connection still answers.
QString provaConnessione(); // "DO 0"

// --- Customer --------------------------------------------------------------------------------
QString nomeCliente(const QString &codice);

// --- Register search (customers, suppliers, recipients) --------------------------------------
// Fields: 1 Codice, 2 RagioneSociale, 3 PartitaIva, 4 Localita, 5 Provincia. Match: 1 the field
// starts with the text, 2 contains it, 3 equals it; "%" and "_" in the text match themselves.
// A field or match outside these throws ErroreDb 5. The result's fields: Corrispondenza (the
// searched field as text), Codice, RagioneSociale, Localita, Provincia, Indirizzo, Cap,
// PartitaIva; rows equal to the text first, then by RagioneSociale and Codice. A code compared
// for equality with a text that is no whole number finds nothing.
QString ricercaAnagrafica(const QString &tabella, int campo, int confronto, const QString &testo);
// The LIKE pattern of a text (before quoting), with "!" as the escape character.
QString modelloLike(const QString &testo, int confronto);

// --- Remittance letter -----------------------------------------------------------------------
QString indirizzoCliente(const QString &codice);
QString intestazioneAzienda(); // "SELECT * FROM azienda ORDER BY Id LIMIT 1;"

// --- Waybill lookup --------------------------------------------------------------------------
QString ldvPerRiferimento(const QString &riferimento, const QDate &dataRiferimento);
QString ldvPerNumero(const QString &numero, const QDate &dataLdv);
QString ldvPreimpostata(const QString &numero, const QDate &dataLdv, const QString &filiale);
QString vistaPerNumero(const QString &numero, const QDate &dataLdv);

// --- Collection save: one column per statement -----------------------------------------------
struct ChiaveLdv
{
    QString numero;  // lenrlv
    QString filiale; // lefili
    QDate data;      // ledtlv
};
// "update letve00f set <colonna>='<valore>' where lenrlv='...' and lefili='...' and ledtlv='...';"
QString aggiornaTesto(const QString &colonna, const QString &valore, const ChiaveLdv &chiave);
// The same with a bare whole number (flags).
QString aggiornaIntero(const QString &colonna, const QString &valore, const ChiaveLdv &chiave);
// The same with a bare decimal amount (point as separator).
QString aggiornaImporto(const QString &colonna, const QString &valore, const ChiaveLdv &chiave);
// The same with a date.
QString aggiornaData(const QString &colonna, const QDate &valore, const ChiaveLdv &chiave);

// --- Remittance selection --------------------------------------------------------------------
QString selezioneRimessa(int tipo, const QDate &dal, const QDate &al, const QString &cliente);
// The provisional letter's query: the same without the customer condition.
QString selezioneRimessaProvvisoria(int tipo, const QDate &dal, const QDate &al);

// --- Remittance numbering and posting --------------------------------------------------------
QString leggiUltimoNumero();
QString scriviUltimoNumero(const QString &numero);
struct ChiaveRimessa
{
    QString filiale; // LEFILI
    QString numero;  // LENRLV
    QString anno;    // LEANLV
};
// "UPDATE <tabella> SET LENDVC=<n>,LEDTVC='<d>' WHERE LEFILI='...' AND LENRLV='...' AND
// LEANLV=...;"
QString timbraRimessa(const QString &tabella, const QString &numero, const QDate &data,
                      const ChiaveRimessa &chiave);
struct DatiAssegno
{
    QString riferimento;
    QString banca;
    Importo importo;
};
QString inserisciContrassegno(const QString &numero, const QDate &data, const DatiAssegno &assegno);
QString timbraAssegnoTabellaLavoro(const QString &tabella, const QString &numero, const QDate &data,
                                   const DatiAssegno &assegno, const ChiaveRimessa &chiave);
QString segnaInviato(const ChiaveRimessa &chiave);
// How many waybills of the work table another remittance has stamped or marked sent since the
// selection read them; locks those waybills until the posting ends. Rows the table already bore
// stamped (left by an interrupted run whose posting was committed) are not this run's.
QString ldvRimesseNelFrattempo(const QString &tabella);

// --- The stations' hold on their work tables ---------------------------------------------------
// Stations whose names clean up to the same text share one work table: a committed row of
// tabellelavoro, which every station and every cluster node sees, says who is using it.
QString creaTabelleLavoro();
QString occupaTabellaLavoro(const QString &nome, const QString &computer);
// Takes the row over when this computer left it (a run cut short) or it is older than `minuti`.
QString riprendiTabellaLavoro(const QString &nome, const QString &computer, int minuti);
QString occupanteTabellaLavoro(const QString &nome); // "SELECT Computer, Dal FROM ..."
QString liberaTabellaLavoro(const QString &nome, const QString &computer);
// Whether the work table has an index that the per-waybill stamps can use, and the index.
QString chiaveTabellaLavoroPresente(const QString &nome);
QString aggiungiChiaveTabellaLavoro(const QString &nome);

// --- Remittance cancellation -----------------------------------------------------------------
QString annullaRimessaLdv(const QString &numero, const QDate &data);
QString eliminaContrassegni(const QString &numero, const QDate &data);

} // namespace Istruzioni
