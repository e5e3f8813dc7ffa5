#pragma once

#include "component/finestre.h"

#include <memory>

namespace Ui {
class frmRimessa;
}

// The remittance window "Rimessa contrassegni".
class frmRimessa : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmRimessa *istanza(bool crea = true);

    explicit frmRimessa(QWidget *parent = nullptr);
    ~frmRimessa() override;

private:
    std::unique_ptr<Ui::frmRimessa> ui;
};
