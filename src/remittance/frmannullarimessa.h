#pragma once

#include "component/finestre.h"

#include <memory>

namespace Ui {
class frmAnnullaRimessa;
}

// The remittance cancellation window "Annulla Rimessa contrassegni".
class frmAnnullaRimessa : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmAnnullaRimessa *istanza(bool crea = true);

    explicit frmAnnullaRimessa(QWidget *parent = nullptr);
    ~frmAnnullaRimessa() override;

private:
    std::unique_ptr<Ui::frmAnnullaRimessa> ui;
};
