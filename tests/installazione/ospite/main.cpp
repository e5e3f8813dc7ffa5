// Opens the three working windows through the installed library, closes them, and checks that
// each close reached the host as `fine`. Exit code 0 when everything held.
#include <BelvoraniRiscutiContrassegni/cRiscuti.h>
#include <BelvoraniRiscutiContrassegni/cModuliStampa.h>
#include <BelvoraniRiscutiContrassegni/RegistroComponenti.h>

#include <QApplication>
#include <QWidget>

#include <cstdio>

namespace {

QWidget *finestraVisibile(const QString &nome)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == nome && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int fine = 0;
    int errori = 0;
    {
        cRiscuti riscuti;
        QObject::connect(&riscuti, &cRiscuti::fine, [&] { ++fine; });
        riscuti.setPercorsoDatabase(QStringLiteral("Server=localhost;Database=trasporti;"));
        if (riscuti.PercorsoDatabase() != QStringLiteral("Server=localhost;Database=trasporti;"))
            ++errori;
        riscuti.MostraRiscuti();
        riscuti.RimessaContrassegni();
        riscuti.AnnullaRimessaContrassegno();
        const QStringList nomi{QStringLiteral("frmRiscuti"), QStringLiteral("frmRimessa"),
                               QStringLiteral("frmAnnullaRimessa")};
        for (const QString &nome : nomi) {
            QWidget *finestra = finestraVisibile(nome);
            if (!finestra) {
                std::fprintf(stderr, "finestra %s non aperta\n", qPrintable(nome));
                ++errori;
                continue;
            }
            std::printf("%s: %s\n", qPrintable(nome), qPrintable(finestra->windowTitle()));
            finestra->close();
        }
        if (!riscuti.Esegui(QStringLiteral("qualsiasi")).isNull())
            ++errori;
        if (RegistroComponenti::crea(QStringLiteral("ReportDocNessuno.cModuliStampa")))
            ++errori;
    }
    if (fine != 3) {
        std::fprintf(stderr, "eventi fine: %d invece di 3\n", fine);
        ++errori;
    }
    return errori == 0 ? 0 : 1;
}
