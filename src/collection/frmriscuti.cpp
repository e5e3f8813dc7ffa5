#include "collection/frmriscuti.h"
#include "ui_frmriscuti.h"

#include "component/istanze.h"

frmRiscuti *frmRiscuti::istanza(bool crea)
{
    return istanzaDiProcesso<frmRiscuti>(crea);
}

frmRiscuti::frmRiscuti(QWidget *parent) : FinestraLavoro(parent), ui(new Ui::frmRiscuti)
{
    ui->setupUi(this);
    connect(ui->cmdEsci, &QPushButton::clicked, this, &frmRiscuti::scarica);
}

frmRiscuti::~frmRiscuti() = default;
