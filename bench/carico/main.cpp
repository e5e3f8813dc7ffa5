// riscuti-carico: many stations at once. Run as the controller, it starts --postazioni stations
// (this same executable with --postazione) against one server or the nodes of a cluster, for a
// bounded time, and prints per action the count, p50, p95 and errors with the invariants checked
// at the end. scripts/carico.sh prepares the servers and runs it; see the README's "Benchmark".

#include "controllo.h"
#include "postazione.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The operators type amounts as the Italian regional settings read them ("12,50").
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    QCommandLineParser argomenti;
    argomenti.setApplicationDescription(
        QStringLiteral("Many stations doing the operators' mix against one server or a cluster."));
    argomenti.addHelpOption();
    const QCommandLineOption connessione(
        QStringLiteral("connessione"),
        QStringLiteral("Connection text of the server; give it once per cluster node."),
        QStringLiteral("text"));
    const QCommandLineOption postazioni(QStringLiteral("postazioni"),
                                        QStringLiteral("Stations started."), QStringLiteral("n"),
                                        QStringLiteral("50"));
    const QCommandLineOption secondi(QStringLiteral("secondi"),
                                     QStringLiteral("Seconds each station works."),
                                     QStringLiteral("s"), QStringLiteral("120"));
    const QCommandLineOption maxAzioni(QStringLiteral("max-azioni"),
                                       QStringLiteral("Actions a station does at most."),
                                       QStringLiteral("n"), QStringLiteral("200"));
    const QCommandLineOption etichetta(QStringLiteral("etichetta"),
                                       QStringLiteral("The target's name in the report."),
                                       QStringLiteral("name"), QStringLiteral("Load"));
    const QCommandLineOption obiettivo(QStringLiteral("obiettivo-ms"),
                                       QStringLiteral("p95 every interactive action must stay "
                                                      "under."),
                                       QStringLiteral("ms"), QStringLiteral("50"));
    const QCommandLineOption cartella(QStringLiteral("cartella"),
                                      QStringLiteral("Folder for the stations' output."),
                                      QStringLiteral("dir"), QDir::tempPath());
    const QCommandLineOption postazione(QStringLiteral("postazione"),
                                        QStringLiteral("(internal) run as station n."),
                                        QStringLiteral("n"));
    const QCommandLineOption cassa(QStringLiteral("cassa-ms"),
                                   QStringLiteral("(internal) when the station posts its branch's "
                                                  "cash-up, in ms since the epoch."),
                                   QStringLiteral("ms"), QStringLiteral("0"));
    argomenti.addOptions({connessione, postazioni, secondi, maxAzioni, etichetta, obiettivo,
                          cartella, postazione, cassa});
    argomenti.process(app);
    if (!argomenti.isSet(connessione)) {
        std::fprintf(stderr, "riscuti-carico: --connessione is required\n");
        return 2;
    }

    try {
        if (argomenti.isSet(postazione)) {
            ImpostazioniPostazione imp;
            imp.numero = argomenti.value(postazione).toInt();
            imp.connessione = argomenti.value(connessione);
            imp.secondi = argomenti.value(secondi).toInt();
            imp.maxAzioni = argomenti.value(maxAzioni).toInt();
            imp.cassaMs = argomenti.value(cassa).toLongLong();
            return eseguiPostazione(imp);
        }
        ImpostazioniControllo imp;
        imp.connessioni = argomenti.values(connessione);
        imp.postazioni = qBound(1, argomenti.value(postazioni).toInt(), 200);
        imp.secondi = qBound(1, argomenti.value(secondi).toInt(), 3600);
        imp.maxAzioni = qBound(1, argomenti.value(maxAzioni).toInt(), 999);
        imp.etichetta = argomenti.value(etichetta);
        imp.obiettivoMs = argomenti.value(obiettivo).toDouble();
        imp.cartella = argomenti.value(cartella);
        imp.eseguibile = QCoreApplication::applicationFilePath();
        return eseguiControllo(imp);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "riscuti-carico: %s\n", e.what());
        return 1;
    }
}
