#pragma once

#include "data/istruzioni_ricerca.h"
#include "search/modiricerca.h"
#include "services/finestre.h"

#include <QString>

#include <map>
#include <memory>
#include <optional>

namespace Ui {
class frmRicercaGia;
}

class ComportamentoCampo;
class Connessione;
class FormatoColonna;
class ModelloPaginato;

// The shipment list of one customer. The caller sets the inputs of the mode, shows the dialog
// with mostraModale(), then reads NumLetVett() and DataLdv():
//     frmRicercaGia *ricerca = frmRicercaGia::istanza();
//     ricerca->setCodiceCliente(codice);          // every mode but 10
//     ricerca->setCaptionLabel(QStringLiteral("Riferimento"));
//     ricerca->setFiliale(filiale);
//     ricerca->setRagioneSocialeCliente(nome);
//     ricerca->setTipoRicerca(12);
//     ricerca->setRiferimentoCliente(riferimento); // modes 1 and 12
//     ricerca->setAnnoRif_LDV(anno);               // modes 1 and 7, when a year is known
//     ricerca->setTitolo(QStringLiteral("Ricerca per riferimento"));
//     ricerca->mostraModale();                     // a query failure is thrown from here
//     numero = ricerca->NumLetVett(); data = ricerca->DataLdv();
//
// Modes (TipoRicerca): 1 waybills from a sender's reference on, 7 from a waybill number on,
// 10 the waybills of one held-shipment record, 11 the customer's held shipments, 12 the
// customer's cash-on-delivery rows with their collection state.
//
// What the dialog leaves behind:
//   "&Seleziona" (modes 1, 7, 11, 12)  NumLetVett and DataLdv of the current grid row, as shown
//   or a double click on a row         (dates dd/MM/yyyy)
//   "&Esci" (or Esc)                   NumLetVett empty, DataLdv unchanged
//   the close box, or mode 10          both unchanged
// Every property keeps its value from one showing to the next, except AnnoRif_LDV, which is
// emptied each time the dialog becomes active.
//
// The dialog reads through a connection of its own, opened from the module's PercorsoDatabase
// at each showing and closed when it closes. A long list is read a page at a time as the grid
// shows it, its scroll bar over the whole list from the start. A failing query is not handled
// here: loading
// throws it to mostraModale()'s caller, "&Visualizza" reports it in the component's error box.
class frmRicercaGia : public DialogoModale
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmRicercaGia *istanza(bool crea = true);

    explicit frmRicercaGia(QWidget *parent = nullptr);
    ~frmRicercaGia() override;

    int TipoRicerca() const { return m_tipoRicerca; }
    void setTipoRicerca(int valore) { m_tipoRicerca = valore; }
    QString Titolo() const { return m_titolo; }
    void setTitolo(const QString &valore) { m_titolo = valore; }
    QString CaptionLabel() const { return m_captionLabel; }
    void setCaptionLabel(const QString &valore) { m_captionLabel = valore; }
    QString RagioneSocialeCliente() const { return m_ragioneSocialeCliente; }
    void setRagioneSocialeCliente(const QString &valore) { m_ragioneSocialeCliente = valore; }
    // "Anno :" while empty.
    QString AnnoOdata() const;
    void setAnnoOdata(const QString &valore) { m_annoOdata = valore; }
    void setCodiceCliente(const QString &valore) { m_codiceCliente = valore; }
    QString Filiale() const { return m_filiale; }
    void setFiliale(const QString &valore) { m_filiale = valore; }
    QString RiferimentoCliente() const { return m_riferimentoCliente; }
    void setRiferimentoCliente(const QString &valore) { m_riferimentoCliente = valore; }
    QString AnnoRif_LDV() const { return m_annoRifLdv; }
    void setAnnoRif_LDV(const QString &valore) { m_annoRifLdv = valore; }
    QString NumLetVett() const { return m_numLetVett; }
    void setNumLetVett(const QString &valore) { m_numLetVett = valore; }
    QString DataLdv() const { return m_dataLdv; }
    QString Giacenza() const { return m_giacenza; }
    void setGiacenza(const QString &valore) { m_giacenza = valore; }
    QString AnnoGiacenza() const { return m_annoGiacenza; }
    void setAnnoGiacenza(const QString &valore) { m_annoGiacenza = valore; }

    // The statement the grid shows (the data control's record source); empty for none.
    QString istruzioneCorrente() const { return m_lista ? m_lista->testo() : QString(); }

protected:
    void caricamento() override;
    void attivazione() override;
    void done(int risultato) override;
    void keyPressEvent(QKeyEvent *evento) override;
    // Ctrl+End in the grid waits for the list's count first, so it lands on the list's last row.
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    void ripristinaProgetto();
    const ModoRicerca &modo() const { return ModoRicerca::di(m_tipoRicerca); }
    // The properties and the fields the mode's lists are built from.
    ValoriRicerca valori() const;
    // Builds the record source from valori() (no costruttore: no list) and runs it.
    void apriLista(ModoRicerca::Costruttore costruttore);
    void aggiornaDati();
    void svuotaDati();
    // Back to plain columns: nothing hidden, no formatter.
    void azzeraColonne();
    void regoleGriglia();
    void regoleControlli();
    void LarghezzaColonne();
    void VerificaRisultato();
    // The text of the cell in the column headed `colonna`, as the grid shows it.
    QString testoCella(int riga, const QString &colonna) const;
    void cmdVisualizza_Click();
    void cmdSeleziona_Click();
    void cmdEsci_Click();

    std::unique_ptr<Ui::frmRicercaGia> ui;
    ComportamentoCampo *m_campoAnnoData = nullptr;
    std::unique_ptr<Connessione> m_connessione;
    ModelloPaginato *m_adoTariffe = nullptr;
    std::optional<IstruzioniRicerca::ListaRicerca> m_lista;
    std::map<ModoRicerca::Formato, FormatoColonna *> m_formati;

    int m_tipoRicerca = 0;
    QString m_titolo;
    QString m_captionLabel;
    QString m_ragioneSocialeCliente;
    QString m_annoOdata;
    QString m_codiceCliente;
    QString m_filiale;
    QString m_riferimentoCliente;
    QString m_annoRifLdv;
    QString m_numLetVett;
    QString m_dataLdv;
    QString m_giacenza;
    QString m_annoGiacenza;
};
