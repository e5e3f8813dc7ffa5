// riscuti-bench: the component's windows against a large database, timed through the operator's
// gestures next to the same statements sent bare. scripts/bench.sh builds it, prepares the
// database and runs it; see the README's "Benchmark" section.

#include "banco.h"
#include "connessionenuda.h"
#include "misure.h"
#include "operatore.h"

#include "collection/frmriscuti.h"
#include "component/cRiscuti.h"
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QTest>

#include <cstdio>
#include <exception>

namespace {

// One cold opening, in a process of its own: a host window is already on screen (Qt, its fonts
// and style are up, as in the suite), then the component's window is created, loaded, shown
// and painted for the first time. Prints the milliseconds.
int aperturaAFreddo(const QString &finestra, const QString &socket, const QString &database)
{
    QWidget host;
    host.setWindowTitle(QStringLiteral("Gestione Trasporti"));
    host.resize(800, 600);
    host.show();
    if (!QTest::qWaitForWindowExposed(&host))
        return 2;

    cRiscuti riscuti;
    riscuti.setPercorsoDatabase(testoConnessione(socket, database));

    Cronometro c;
    QWidget *w = nullptr;
    if (finestra == QLatin1String("riscuti"))
        w = frmRiscuti::istanza();
    else if (finestra == QLatin1String("rimessa"))
        w = frmRimessa::istanza();
    else if (finestra == QLatin1String("annulla"))
        w = frmAnnullaRimessa::istanza();
    if (!w)
        return 2;
    OsservatoreDipinto dipinto(w);
    if (finestra == QLatin1String("riscuti"))
        riscuti.MostraRiscuti();
    else if (finestra == QLatin1String("rimessa"))
        riscuti.RimessaContrassegni();
    else
        riscuti.AnnullaRimessaContrassegno();
    if (!dipinto.attendi(10000))
        return 3;
    std::printf("apertura %s %.3f\n", qPrintable(finestra), c.ms());
    return 0;
}

// The offscreen platform says, for every window shown, what it cannot do (raise a window,
// size hints): nothing the benchmark can act on.
void messaggiQt(QtMsgType tipo, const QMessageLogContext &contesto, const QString &testo)
{
    if (testo.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(tipo, contesto, testo)));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(messaggiQt);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    QCommandLineParser argomenti;
    argomenti.setApplicationDescription(
        QStringLiteral("Times the component's windows against a large database."));
    argomenti.addHelpOption();
    const QCommandLineOption socket(QStringLiteral("socket"),
                                    QStringLiteral("Unix socket of the MariaDB server."),
                                    QStringLiteral("path"));
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("Database made by bench/genera.sql."),
                                      QStringLiteral("name"), QStringLiteral("trasporti_bench"));
    const QCommandLineOption ripetizioni(QStringLiteral("ripetizioni"),
                                         QStringLiteral("Samples of each interactive action."),
                                         QStringLiteral("n"), QStringLiteral("50"));
    const QCommandLineOption lista(QStringLiteral("ripetizioni-lista"),
                                   QStringLiteral("Openings of the 50,000-row list."),
                                   QStringLiteral("n"), QStringLiteral("10"));
    const QCommandLineOption rimessa(QStringLiteral("ripetizioni-rimessa"),
                                     QStringLiteral("Remittance cycles (post and cancel)."),
                                     QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption memoria(QStringLiteral("ricerche-memoria"),
                                     QStringLiteral("Customer lookups watched for memory growth."),
                                     QStringLiteral("n"), QStringLiteral("1000"));
    const QCommandLineOption aperture(QStringLiteral("aperture"),
                                      QStringLiteral("Cold openings of each window."),
                                      QStringLiteral("n"), QStringLiteral("20"));
    const QCommandLineOption schermate(QStringLiteral("schermate"),
                                       QStringLiteral("Save screenshots of the windows here."),
                                       QStringLiteral("folder"));
    const QCommandLineOption scenari(
        QStringLiteral("scenari"),
        QStringLiteral("Only these parts, comma-separated: aperture, connessione, cliente, "
                       "riferimento, lista, memoria, rimessa."),
        QStringLiteral("list"));
    const QCommandLineOption apertura(QStringLiteral("apertura"),
                                      QStringLiteral("(internal) one cold opening of a window: "
                                                     "riscuti, rimessa or annulla."),
                                      QStringLiteral("window"));
    const QCommandLineOption modello(
        QStringLiteral("modello-tabella"),
        QStringLiteral("The work table's creation template (STRCREATABELLA)."),
        QStringLiteral("template"));
    argomenti.addOptions({socket, database, ripetizioni, lista, rimessa, memoria, aperture,
                          schermate, scenari, apertura, modello});
    argomenti.process(app);
    if (!argomenti.isSet(socket)) {
        std::fprintf(stderr, "riscuti-bench: --socket is required\n");
        return 2;
    }

    if (argomenti.isSet(apertura))
        return aperturaAFreddo(argomenti.value(apertura), argomenti.value(socket),
                               argomenti.value(database));

    Impostazioni imp;
    imp.socket = argomenti.value(socket);
    imp.database = argomenti.value(database);
    imp.eseguibile = QCoreApplication::applicationFilePath();
    imp.ripetizioni = qMax(2, argomenti.value(ripetizioni).toInt());
    imp.ripetizioniLista = qMax(1, argomenti.value(lista).toInt());
    imp.ripetizioniRimessa = qMax(1, argomenti.value(rimessa).toInt());
    imp.ricercheMemoria = qMax(10, argomenti.value(memoria).toInt());
    imp.aperture = qMax(1, argomenti.value(aperture).toInt());
    imp.schermate = argomenti.value(schermate);
    if (argomenti.isSet(modello))
        imp.modelloTabella = argomenti.value(modello);
    if (argomenti.isSet(scenari))
        imp.scenari = argomenti.value(scenari).split(QLatin1Char(','), Qt::SkipEmptyParts);

    try {
        Banco banco(imp);
        banco.esegui();
        std::printf("%s", qPrintable(banco.rapporto()));
    } catch (const std::exception &errore) {
        std::fprintf(stderr, "riscuti-bench: %s\n", errore.what());
        return 1;
    }
    return 0;
}
