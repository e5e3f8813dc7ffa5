// One station of the concurrent posting test, in a process of its own under its own computer
// name: it selects its customer's collections of January 2025 (our cheque for types 3 and 4),
// says so with its work table's name, waits for its standard input to close, posts into that
// table, reports on standard output, one line each, then drops the table and frees its name:
//     pronto|<work table>   numero|<remittance number>   nelfrattempo|<gone>|<selected>
//     riga|<lecodi>|<lendvc>   (each row of the letter, read as the printer reads it)
// Arguments: <connection text> <customer> <type>
#include "data/connessione.h"
#include "data/recordset.h"
#include "remittance/postazione.h"
#include "remittance/registrazionerimessa.h"
#include "remittance/tabellalavoro.h"
#include "services/modprincipale.h"

#include <QCoreApplication>
#include <QTextStream>

#include <iostream>
#include <limits>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    const QString cliente = argomenti.value(2);
    modPrincipale::setPercorsoFileIni(QStringLiteral(RISCUTI_SOURCE_DIR "/db/riscuti-demo.ini"));
    const QString tabella = NomeTabellaLavoro(u"Rimessa"_s);
    const Istruzioni::DatiAssegno assegno{u"R-"_s + cliente, u"Banca %1'"_s.arg(cliente),
                                          Importo::daCentesimi(10050)};
    QTextStream uscita(stdout);
    // A failure ends the process through std::terminate, which writes it on standard error.
    Connessione connessione(argomenti.value(1));
    connessione.apri();
    RegistrazioneRimessa rimessa(connessione, {cliente, argomenti.value(3).toInt(),
                                               QDate(2025, 1, 1), QDate(2025, 1, 31), assegno});
    rimessa.seleziona();
    uscita << "pronto|" << tabella << Qt::endl;
    std::cin.ignore(std::numeric_limits<std::streamsize>::max()); // until the input closes
    try {
        rimessa.registra({tabella, ModelloCreaTabella(), NomeComputer()});
        uscita << "numero|" << rimessa.numero() << Qt::endl;
        Recordset righe;
        righe.apri(rimessa.datiLettera().at(1), connessione.testoConnessione());
        for (righe.primo(); !righe.eof(); righe.successivo())
            uscita << "riga|" << righe.campo(u"lecodi"_s).toString() << '|'
                   << righe.campo(u"lendvc"_s).toString() << Qt::endl;
    } catch (const LdvRimesseNelFrattempo &rimesse) {
        uscita << "nelfrattempo|" << rimesse.quante << '|' << rimesse.selezionate << Qt::endl;
    }
    rimessa.liberaTabellaLavoro(); // the next station of the same name waits for this
    return 0;
}
