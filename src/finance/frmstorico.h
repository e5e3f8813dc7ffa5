#pragma once

#include "data/istruzioni_registro.h"
#include "finance/prospetto.h"
#include "services/finestre.h"

#include <memory>

namespace Ui {
class frmStorico;
}
class QStandardItemModel;

// The window "Storico contrassegni": the audit trail of collections and remittances, filtered by
// waybill number, customer, remittance number and period, newest first, each change with its
// value before and after side by side; the list goes to a CSV file. On a database without the
// audit table it says what to install and searches nothing.
class frmStorico : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmStorico *istanza(bool crea = true);

    explicit frmStorico(QWidget *parent = nullptr);
    ~frmStorico() override;

protected:
    void caricamento() override;

private:
    // The click on cmdCerca.
    void Cerca();
    // The filters as typed; false (after the message) when one is not valid.
    bool LeggiFiltro(IstruzioniRegistro::FiltroStorico &filtro);
    void AbilitaRicerca(bool abilita);

    std::unique_ptr<Ui::frmStorico> ui;
    QStandardItemModel *m_modello;
    Prospetto m_prospetto;
};
