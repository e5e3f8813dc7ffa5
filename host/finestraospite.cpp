#include "finestraospite.h"
#include "ui_finestraospite.h"

#include <BelvoraniRiscutiContrassegni/cRiscuti.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

FinestraOspite::FinestraOspite(cRiscuti *componente, const QString &cartellaSchermate,
                               QWidget *parent)
    : QMainWindow(parent), ui(new Ui::FinestraOspite), m_componente(componente),
      m_cartellaSchermate(cartellaSchermate)
{
    ui->setupUi(this);
    connect(ui->cmdRiscuti, &QPushButton::clicked, this,
            [this] { apri([this] { m_componente->MostraRiscuti(); }); });
    connect(ui->cmdRimessa, &QPushButton::clicked, this,
            [this] { apri([this] { m_componente->RimessaContrassegni(); }); });
    connect(ui->cmdAnnulla, &QPushButton::clicked, this,
            [this] { apri([this] { m_componente->AnnullaRimessaContrassegno(); }); });
    connect(ui->cmdStorico, &QPushButton::clicked, this,
            [this] { apri([this] { m_componente->StoricoContrassegni(); }); });
    connect(ui->cmdSospesi, &QPushButton::clicked, this,
            [this] { apri([this] { m_componente->ContrassegniSospesi(); }); });
    connect(ui->cmdApriLdv, &QPushButton::clicked, this, [this] {
        apri([this] {
            m_componente->MostraRiscutiEXT(ui->txtLdv->text(), ui->txtDataLdv->text(),
                                           ui->txtFiliale->text(), ui->txtCliente->text());
        });
    });
    connect(m_componente, &cRiscuti::fine, this, [this] {
        ++m_fine;
        aggiornaStato();
    });
    aggiornaStato();
}

FinestraOspite::~FinestraOspite() = default;

template <typename Azione> void FinestraOspite::apri(Azione azione)
{
    try {
        azione();
    } catch (const std::exception &errore) {
        QMessageBox::critical(this, windowTitle(), QString::fromUtf8(errore.what()));
        return;
    }
    if (!m_cartellaSchermate.isEmpty())
        QTimer::singleShot(300, this, &FinestraOspite::salvaSchermate);
}

void FinestraOspite::salvaSchermate()
{
    QDir().mkpath(m_cartellaSchermate);
    for (QWidget *finestra : QApplication::topLevelWidgets()) {
        if (finestra->isVisible() && finestra != this && !finestra->objectName().isEmpty())
            finestra->grab().save(
                QDir(m_cartellaSchermate).filePath(finestra->objectName() + ".png"));
    }
    grab().save(QDir(m_cartellaSchermate).filePath(QStringLiteral("GestioneTrasporti.png")));
}

void FinestraOspite::mostraTutte()
{
    ui->cmdRiscuti->click();
    ui->cmdRimessa->click();
    ui->cmdAnnulla->click();
    ui->cmdStorico->click();
    ui->cmdSospesi->click();
}

void FinestraOspite::aggiornaStato()
{
    ui->barraStato->showMessage(QStringLiteral("Eventi fine ricevuti: %1").arg(m_fine));
}
