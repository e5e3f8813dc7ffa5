// One station of the cluster suite, in a process of its own (the suite gives it its own computer
// name): it waits for the barrier file of each round, then remits a customer's January 2025
// collections or saves a collection on a waybill, on the node its connection text names, and
// says what happened on standard output, one "kind|value" line each.
//     stazione <connection text> <barrier file> rimessa <customer>...   one round per customer
//     stazione <connection text> <barrier file> salva <waybill> <amount> <code> [rounds]
#include "collection/salvataggioincasso.h"
#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "remittance/postazione.h"
#include "remittance/registrazionerimessa.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QThread>

#include <cstdio>

namespace {

void scrivi(const QString &tipo, const QString &valore)
{
    std::printf("%s|%s\n", qPrintable(tipo), valore.toUtf8().constData());
    std::fflush(stdout);
}

void attendiBarriera(const QString &barriera, int giro)
{
    while (!QFile::exists(barriera + QString::number(giro)))
        QThread::msleep(5);
}

void rimessa(Connessione &connessione, const QString &cliente)
{
    RichiestaRimessa richiesta{cliente, 1, QDate(2025, 1, 1), QDate(2025, 1, 31), {}};
    RegistrazioneRimessa rimessa(connessione, richiesta);
    try {
        if (!rimessa.seleziona()) {
            scrivi(QStringLiteral("vuota"), cliente);
            return;
        }
        rimessa.registra({NomeTabellaLavoro(QStringLiteral("Rimessa")),
                          QStringLiteral("CREATE TABLE ? SELECT * FROM ? LIMIT 0"),
                          NomeComputer()});
        scrivi(QStringLiteral("numero"), rimessa.numero());
        // The letter's rows, read from the work table as the printer reads them: "<rows>
        // <rows of another customer>".
        Recordset righe;
        righe.apri(rimessa.datiLettera().at(1), connessione.testoConnessione());
        int tutte = 0, altrui = 0;
        for (righe.primo(); !righe.eof(); righe.successivo(), ++tutte)
            altrui += righe.campo(QStringLiteral("lecodi")).toString() != cliente;
        scrivi(QStringLiteral("lettera"), QStringLiteral("%1 %2").arg(tutte).arg(altrui));
    } catch (const LdvRimesseNelFrattempo &rimesse) {
        scrivi(QStringLiteral("nelfrattempo"), QString::number(rimesse.quante));
    } catch (const ErroreDb &errore) {
        scrivi(QStringLiteral("errore"), errore.testo());
    }
    rimessa.liberaTabellaLavoro();
}

void salva(Connessione &connessione, const QString &ldv, const QString &importo, int codice)
{
    DatiIncasso dati;
    dati.numeroLdv = ldv;
    dati.filiale = QStringLiteral("01");
    dati.dataLdv = QStringLiteral("02/01/2025");
    dati.filialeIncasso = QStringLiteral("0") + QString::number(codice);
    dati.banca = QStringLiteral("Banca ") + importo;
    dati.incassoCon = 2;
    dati.testoIncassoCon = QStringLiteral("Assegno Circolare");
    dati.nrAssegno = importo;
    dati.piazza = NomeComputer();
    dati.contrassegno = {importo, QStringLiteral("x"), codice, codice % 2 == 0};
    dati.dataIncasso = QStringLiteral("03/01/2025");
    try {
        SalvataggioIncasso::salva(dati, connessione);
        scrivi(QStringLiteral("salvato"), importo);
    } catch (const ErroreDb &errore) {
        scrivi(QStringLiteral("errore"), errore.testo());
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); // "111,11" is an amount
    const QStringList a = app.arguments();
    if (a.size() < 5)
        return 2;
    Connessione connessione(a.at(1));
    connessione.apri();
    if (a.at(3) == QLatin1String("rimessa")) {
        for (int giro = 0; giro + 4 < a.size(); ++giro) {
            attendiBarriera(a.at(2), giro);
            rimessa(connessione, a.at(4 + giro));
        }
    } else {
        for (int giro = 0; giro < a.value(7, QStringLiteral("1")).toInt(); ++giro) {
            attendiBarriera(a.at(2), giro);
            salva(connessione, a.at(4), a.at(5), a.at(6).toInt());
        }
    }
    return 0;
}
