#pragma once

#include "services/finestre.h"

#include <memory>

namespace Ui {
class frmAnnullaRimessa;
}

// The remittance cancellation window "Annulla Rimessa contrassegni": given a remittance's number
// and date, its waybills go back to collected but not remitted and its records are deleted, in
// one transaction. The last remittance number is not given back.
class frmAnnullaRimessa : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmAnnullaRimessa *istanza(bool crea = true);

    explicit frmAnnullaRimessa(QWidget *parent = nullptr);
    ~frmAnnullaRimessa() override;

protected:
    void caricamento() override;

private:
    // The click on cmdAnnullaRimessa: asks, then cancels.
    void AnnullaRimessa();
    void EseguiAnnullamento();

    std::unique_ptr<Ui::frmAnnullaRimessa> ui;
};
