#include "remittance/frmrimessa.h"
#include "ui_frmrimessa.h"

#include "component/istanze.h"

frmRimessa *frmRimessa::istanza(bool crea)
{
    return istanzaDiProcesso<frmRimessa>(crea);
}

frmRimessa::frmRimessa(QWidget *parent) : FinestraLavoro(parent), ui(new Ui::frmRimessa)
{
    ui->setupUi(this);
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmRimessa::scarica);
}

frmRimessa::~frmRimessa() = default;
