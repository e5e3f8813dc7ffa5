// A host outside the component's tree. Arguments: connection text, waybill number, its date,
// branch, customer code. Opens "Incasso contrassegni" on that waybill and prints what the window
// read from the database, then opens the other two windows, closes all three and checks that
// each close reached the host as `fine`. Exit code 0 when everything held.
#include <BelvoraniRiscutiContrassegni/RegistroComponenti.h>
#include <BelvoraniRiscutiContrassegni/cModuliStampa.h>
#include <BelvoraniRiscutiContrassegni/cRiscuti.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

int errori = 0;

QWidget *finestraVisibile(const QString &nome)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == nome && w->isVisible())
            return w;
    return nullptr;
}

// A message box means a failed lookup (no driver, no database): report it and go on.
void chiudiMessaggio()
{
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(box->text()));
        ++errori;
        box->done(0);
    }
}

// The window looks its preset waybill up when it becomes active.
void stampaRicerca(QWidget *finestra)
{
    const QDeadlineTimer limite(10000);
    while (!finestra->isActiveWindow() && !limite.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const auto *cliente = finestra->findChild<QLabel *>(QStringLiteral("barCliente"));
    const auto *riferimento = finestra->findChild<QLineEdit *>(QStringLiteral("txtRiferimento"));
    std::printf("frmRiscuti: %s / %s\n", qPrintable(cliente->text()),
                qPrintable(riferimento->text()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList argomenti = QApplication::arguments();
    if (argomenti.size() != 6)
        return 2;
    QTimer guardia;
    QObject::connect(&guardia, &QTimer::timeout, chiudiMessaggio);
    guardia.start(200);
    int fine = 0;
    {
        cRiscuti riscuti;
        QObject::connect(&riscuti, &cRiscuti::fine, [&] { ++fine; });
        std::printf("versione: %s\n", qPrintable(cRiscuti::versione()));
        riscuti.setPercorsoDatabase(argomenti[1]);
        riscuti.MostraRiscutiEXT(argomenti[2], argomenti[3], argomenti[4], argomenti[5]);
        if (QWidget *finestra = finestraVisibile(QStringLiteral("frmRiscuti")))
            stampaRicerca(finestra);
        riscuti.RimessaContrassegni();
        riscuti.AnnullaRimessaContrassegno();
        for (const char *nome : {"frmRiscuti", "frmRimessa", "frmAnnullaRimessa"}) {
            QWidget *finestra = finestraVisibile(QString::fromLatin1(nome));
            if (!finestra) {
                std::fprintf(stderr, "finestra %s non aperta\n", nome);
                ++errori;
                continue;
            }
            finestra->close();
        }
        // The suite's print component is looked up through the registry's exported symbols.
        if (RegistroComponenti::crea(QStringLiteral("ReportDocNessuno.cModuliStampa")))
            ++errori;
    }
    if (fine != 3) {
        std::fprintf(stderr, "eventi fine: %d invece di 3\n", fine);
        ++errori;
    }
    return errori == 0 ? 0 : 1;
}
