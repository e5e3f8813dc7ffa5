#pragma once

#include "connessionenuda.h"
#include "misure.h"
#include "operatore.h"

#include "component/cRiscuti.h"

#include <QDate>
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

#include <memory>

class QWidget;

struct Impostazioni
{
    QString socket;
    QString database;
    QString eseguibile;   // this program, started again for each cold opening
    int ripetizioni = 50; // samples of each interactive action
    int ripetizioniLista = 10;
    int ripetizioniRimessa = 3;
    int ricercheMemoria = 1000;
    int aperture = 20; // cold openings of each window
    QString schermate; // folder for screenshots of the windows at work; empty: none
    // The suite's work-table template (STRCREATABELLA) the windows use; the keyless one shows
    // what the key the component adds is worth. The bound always gets the keyed table.
    QString modelloTabella =
        QStringLiteral("CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) SELECT * FROM ? "
                       "LIMIT 0");
    // The parts to run (aperture, connessione, cliente, riferimento, lista, memoria, rimessa);
    // empty: all.
    QStringList scenari;
};

// The benchmark: the component's real windows, offscreen, driven through the operator's
// gestures against the large database; each action timed, and next to it the same statements
// sent bare (ConnessioneNuda) on the same server in the same run. Every action is checked
// afterwards (what the window shows, what the database holds), so a window that did nothing
// fast cannot pass for a fast window.
class Banco
{
public:
    explicit Banco(const Impostazioni &impostazioni);
    ~Banco();

    void esegui();
    // The machine, the table, the notes and the memory figures, as Markdown.
    QString rapporto() const;

private:
    void preparaAmbiente();
    void aperture();
    void connessionePropria();
    void ricercaCliente();
    void ricercaPerRiferimentoESalvataggio();
    void elencoSpedizioni();
    void memoriaRicerche();
    void rimesse();

    // A cycle of the remittance through the windows, and the same statements sent bare.
    void rimessaDaFinestra(Risultato &rimessa, Risultato &annullamento);
    void rimessaNuda(Risultato &rimessa, Risultato &annullamento);
    // The same statements bare, one per round trip as the window sends them: where the time of
    // the window's posting goes. Returns the note.
    QString rimessaRigaPerRiga();
    void controllaRimessa(int numero, const QString &tabella) const;
    void controllaAnnullamento(int numero) const;

    // The working windows, loaded afresh (closed with their exit button first when open).
    QWidget *apriRiscuti();
    QWidget *apriRimessa();
    QWidget *apriAnnulla();

    double adesso() const { return m_orologio.ms(); }
    // Waits until the server has purged what the last bulk change left (InnoDB's history list),
    // so that each bulk action starts on a quiet server, the window's and the bare one alike.
    void attendiServerQuieto();
    void schermata(QWidget *finestra, const QString &nome) const;
    // Fails the run when a message box showed up since the last check.
    void nessunMessaggio(const QString &dove);
    void nota(const QString &testo) { m_note << testo; }

    Impostazioni m_imp;
    mutable ConnessioneNuda
        m_nuda; // reading the database for a check or the report changes nothing
    std::unique_ptr<cRiscuti> m_host;
    QTemporaryDir m_cartella;
    Cronometro m_orologio;
    Risponditore m_risposte;

    int m_ultimoGenerato = 0; // the last remittance number of the generated data
    QHash<int, QString> m_nomiClienti;
    QString m_tabellaLavoro;
    QDate m_oggi;

    // Selection of the 10,000-waybill remittance.
    static constexpr int clienteRimessa = 1002;
    static constexpr int tipoRimessa = 3; // "Invio ns assegno": every posting statement runs
    QDate m_rimessaDal;
    QDate m_rimessaAl;
    QString m_totaleRimessa; // plain decimal with a point
    int m_righeRimessa = 0;
    QString m_dettaglioNudo; // where the bare posting's time went, from its first run

    QVector<Risultato> m_risultati;
    QStringList m_note;
    QStringList m_memoria;
};
