#include "remittance/frmannullarimessa.h"
#include "ui_frmannullarimessa.h"

#include "component/istanze.h"

frmAnnullaRimessa *frmAnnullaRimessa::istanza(bool crea)
{
    return istanzaDiProcesso<frmAnnullaRimessa>(crea);
}

frmAnnullaRimessa::frmAnnullaRimessa(QWidget *parent) : FinestraLavoro(parent), ui(new Ui::frmAnnullaRimessa)
{
    ui->setupUi(this);
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmAnnullaRimessa::scarica);
}

frmAnnullaRimessa::~frmAnnullaRimessa() = default;
