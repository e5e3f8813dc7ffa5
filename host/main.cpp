// The demo host of the collection component: sets the three settings from the command line
// (or from the demo configuration) and opens the working windows.
#include "finestraospite.h"

#include <BelvoraniRiscutiContrassegni/cRiscuti.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BelvoraniRiscutiContrassegni"));
    QApplication::setApplicationVersion(cRiscuti::versione());
    // The workstation's regional settings format numbers, dates and amounts; a machine that
    // names none (the C locale) is taken as an Italian one, the suite's language. Qt's own texts
    // (the Sì/No of a question, the buttons of a print preview) follow the same language.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(locale);
    QTranslator testiQt;
    if (testiQt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&testiQt);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Gestione Trasporti: incasso e rimessa contrassegni"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("Testo di connessione al database."),
                                      QStringLiteral("testo"));
    const QCommandLineOption ini(QStringLiteral("ini"), QStringLiteral("File INI della suite."),
                                 QStringLiteral("percorso"));
    const QCommandLineOption logo(QStringLiteral("logo"),
                                  QStringLiteral("Logo per la carta intestata."),
                                  QStringLiteral("percorso"));
    const QCommandLineOption schermate(QStringLiteral("schermate"),
                                       QStringLiteral("Salva un PNG di ogni finestra aperta."),
                                       QStringLiteral("cartella"));
    const QCommandLineOption esci(
        QStringLiteral("esci"),
        QStringLiteral("Apre le tre finestre, salva le schermate ed esce."));
    parser.addOptions({database, ini, logo, schermate, esci});
    parser.process(app);

    // Demo configuration: what the command line leaves out comes from the host's settings file.
    QSettings demo(QSettings::IniFormat, QSettings::UserScope,
                   QStringLiteral("BelvoraniRiscutiContrassegni"), QStringLiteral("ospite"));
    const auto valore = [&](const QCommandLineOption &opzione, const QString &chiave) {
        return parser.isSet(opzione) ? parser.value(opzione) : demo.value(chiave).toString();
    };

    cRiscuti componente;
    componente.setPercorsoDatabase(valore(database, QStringLiteral("PercorsoDatabase")));
    componente.setPercorsoFileIni(valore(ini, QStringLiteral("PercorsoFileIni")));
    componente.setPercorsoLogoIntestazione(
        valore(logo, QStringLiteral("PercorsoLogoIntestazione")));

    FinestraOspite finestra(&componente, parser.value(schermate));
    finestra.show();
    if (parser.isSet(esci)) {
        QTimer::singleShot(200, &finestra, &FinestraOspite::mostraTutte);
        QTimer::singleShot(2500, &app, &QApplication::quit);
    }
    return app.exec();
}
