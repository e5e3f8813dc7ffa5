#pragma once

#include "services/finestre.h"

#include <QString>

#include <memory>

namespace Ui {
class frmRicerca;
}

class cCercaAnagrafica;
class QLabel;
class Recordset;

// The customer, supplier and recipient search. The caller sets Clienti_Fornitori, NomeTabella
// and PercorsoDatabase, shows the dialog with mostraModale(), then takes IdRecord. The search
// itself runs in the suite's master-record search component; the dialog checks the input, lists
// the result and hands back the chosen record.
//
// What the dialog leaves behind:
//   a row chosen, or a code/VAT search run   IdRecord = the result, NonTrovataOccorrenza false
//   nothing found                            IdRecord unchanged, NonTrovataOccorrenza true
//   "Annulla" (or Esc)                       IdRecord nothing
//   "&Avvia Ricerca" with a list shown,
//   or the close box                         IdRecord unchanged
// "Unchanged" is what IdRecord held when the dialog opened: loading does not reset it.
//
// A register kind other than 1, 2 or 3 has no search component: the dialog says so when it
// loads and can then only be cancelled.
class frmRicerca : public DialogoModale
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmRicerca *istanza(bool crea = true);

    explicit frmRicerca(QWidget *parent = nullptr);
    ~frmRicerca() override;

    // 1 customers, 2 suppliers, 3 recipients.
    void setClienti_Fornitori(int valore) { m_clientiFornitori = valore; }
    // Handed unchanged to the search component.
    void setPercorsoDatabase(const QString &valore) { m_percorsoDatabase = valore; }
    void setNomeTabella(const QString &valore) { m_nomeTabella = valore; }

    // The chosen record, positioned on it; nullptr for nothing. Still owned by the dialog.
    Recordset *IdRecord() const { return m_idRecord.get(); }
    // Hands IdRecord over to the caller, who owns it from then on. When IdRecord is unchanged
    // after a showing and the record had already been handed over, the caller gets a closed
    // recordset in its place: the earlier record belongs to the earlier caller, who has done
    // with it.
    std::unique_ptr<Recordset> prendiIdRecord();
    bool NonTrovataOccorrenza() const { return m_nonTrovataOccorrenza; }

    // The search component of the current showing (nullptr when none); for inspection.
    const cCercaAnagrafica *componente() const { return m_componente.get(); }

protected:
    void caricamento() override;
    void attivazione() override;
    void done(int risultato) override;
    void keyPressEvent(QKeyEvent *evento) override;
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    // Errors of ControllaInput, the window's own numbers.
    enum ErroreInput {
        CampoVuoto = 513,
        NonNumerico = 514,
        Numerico = 515,
        LunghezzaIva = 516,
    };

    void ripristinaProgetto();
    // The option buttons of the search field and of the matching.
    void sceltaCampo(int campo, int confronto, bool confrontoLibero);
    void sceltaConfronto(int confronto);
    void cmdRicerca_Click();
    void cmdAnnulla_Click();
    void ControllaInput() const;
    void RiempiLista();
    void ConfermaScelta();
    // The row the operator chose in lstCerca (by focus, click or Enter).
    void sceltaRiga();
    void erroreRicerca(int numero, const QString &descrizione);
    void mostraImmagini(std::initializer_list<QLabel *> immagini, bool visibili);
    void coloraLista(bool attiva);

    std::unique_ptr<Ui::frmRicerca> ui;
    int m_clientiFornitori = 0;
    QString m_percorsoDatabase;
    QString m_nomeTabella;

    std::unique_ptr<cCercaAnagrafica> m_componente;
    std::unique_ptr<Recordset> m_risultato;
    std::unique_ptr<Recordset> m_idRecord;
    bool m_idRecordConsegnato = false; // IdRecord went to a caller and was not replaced since
    bool m_nonTrovataOccorrenza = false;
    bool m_listaMostrata = false;
    bool m_sceltaInAttesa = false;
};
