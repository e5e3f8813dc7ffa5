#pragma once

#include "data/istruzioni.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class Connessione;
class Recordset;

// What the operator asks to remit: one customer, one collection type, one period of collection
// dates, and for types 3 and 4 our cheque or transfer.
struct RichiestaRimessa
{
    QString cliente; // as typed: a whole number
    int tipo = 0;    // collection code 0 to 4
    QDate dal;
    QDate al;
    Istruzioni::DatiAssegno assegno; // read for types 3 and 4 only
};

// The station's work table: its name, the suite's template of the statement that creates it
// (a "?" for the table, a "?" for the view whose structure it copies) and the computer whose run
// holds it.
struct TabellaLavoro
{
    QString nome;
    QString modello;
    QString computer;
};

// Some of the selected waybills were remitted by another station after the selection read them;
// nothing of the posting stays.
struct LdvRimesseNelFrattempo
{
    int quante;
    int selezionate;
};

// One remittance run on the remittance windows' shared connection: the selection of the
// waybills, the definitive posting and the letter's data. It holds no widget; the window gathers
// the request, asks the questions and shows what happens.
//     RegistrazioneRimessa rimessa(connessione, richiesta);
//     if (!rimessa.seleziona()) ... nothing to remit
//     rimessa.registra(tabella);                  // definitive only
//     stampa(rimessa.datiLettera());
class RegistrazioneRimessa
{
public:
    // The phase's caption and the steps done of those in all, as the posting goes on.
    using Avanzamento = std::function<void(const QString &fase, int fatti, int totale)>;

    RegistrazioneRimessa(Connessione &connessione, const RichiestaRimessa &richiesta);
    ~RegistrazioneRimessa();
    RegistrazioneRimessa(const RegistrazioneRimessa &) = delete;
    RegistrazioneRimessa &operator=(const RegistrazioneRimessa &) = delete;

    void setAvanzamento(Avanzamento avanzamento) { m_avanzamento = std::move(avanzamento); }
    // Our cheque or transfer, when the operator's answer to the question comes after the
    // selection.
    void setAssegno(const Istruzioni::DatiAssegno &assegno) { m_richiesta.assegno = assegno; }

    // Reads the waybills to remit, keeping their keys in the order read; false when there is
    // none. A customer code that is not a whole number throws ErroreDb.
    bool seleziona();
    int selezionate() const { return int(m_chiavi.size()); }

    // The definitive posting of the selection. The work table is held for this run (another
    // station of the same cleaned name waits), created from its template when missing and given
    // the waybill's index; the rows are copied into it first, outside the transaction: the print
    // component reads them on a connection of its own. Then, in one transaction: the next number,
    // read under its lock; the check that no other station remitted the waybills meanwhile (else
    // LdvRimesseNelFrattempo); the stamps of every waybill and of its work-table copy, with the
    // remittance rows of our cheque or transfer; the sent marks; the commit. A failure rolls the
    // whole posting back and is thrown.
    void registra(const TabellaLavoro &tabella);
    // The number and date posted; empty before registra().
    QString numero() const { return m_numero; }
    QDate data() const { return m_data; }
    // The work table exists for this run (it was found or created).
    bool tabellaPronta() const { return m_tabellaPronta; }
    // The run's closing step, once the shared connection is closed: the work table dropped, when
    // it was made ready, and given back, on connections of their own. Never fails.
    void liberaTabellaLavoro();

    // Records in the audit trail, in a transaction of its own, that the selected waybills went
    // into a provisional letter (nothing else of the letter is written). Without the audit
    // table, or with nothing selected, it does nothing.
    void registraLetteraProvvisoria();

    // The nine texts for the print component: after a definitive posting the letter of the work
    // table, else the provisional letter straight from the selection.
    QStringList datiLettera() const;

private:
    void preparaTabella(const TabellaLavoro &tabella);
    void copiaInTabellaLavoro();
    void leggiDatiRecenti();
    void registraInTransazione();
    QString nuovoNumero();
    void controllaLdvAncoraDaRimettere();
    void avanza(const QString &fase, int fatti);

    Connessione &m_connessione;
    // For the connections of their own, also once the shared one has gone.
    const QString m_testoConnessione;
    RichiestaRimessa m_richiesta;
    Avanzamento m_avanzamento;
    std::unique_ptr<Recordset> m_selezione;
    QVector<Istruzioni::ChiaveRimessa> m_chiavi;
    TabellaLavoro m_tabella;
    bool m_occupata = false;
    bool m_tabellaPronta = false;
    bool m_registro = false; // the database has the audit trail
    QString m_numero;
    QDate m_data;
};
