#include "remittance/tabellalavoro.h"

#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "data/sql.h"
#include "services/modprincipale.h"
#include "suite/cLeggiIni.h"

namespace {

// The number and text of an invalid procedure call, which a missing placeholder is.
const int chiamataNonValida = 5;

} // namespace

QString SostituisciSegnaposto(const QString &testo, const QString &valore)
{
    const qsizetype posizione = testo.indexOf(QLatin1Char('?'));
    if (posizione < 0)
        throw ErroreDb(chiamataNonValida,
                       QStringLiteral("Chiamata di routine o argomento non validi: manca il "
                                      "segnaposto \"?\" in \"%1\".")
                           .arg(testo));
    return testo.left(posizione) + valore + testo.mid(posizione + 1);
}

QString IstruzioneCreaTabella(const QString &modello, const QString &nome, const QString &sorgente)
{
    return SostituisciSegnaposto(SostituisciSegnaposto(modello, Sql::identificatore(nome)),
                                 Sql::identificatore(sorgente));
}

bool TabellaMancante(const QString &nome, const QString &testoConnessione)
{
    try {
        Connessione connessione(testoConnessione);
        connessione.apri();
        connessione.esegui(Istruzioni::leggiTabella(nome));
        return false;
    } catch (...) {
        return true;
    }
}

void CreaTabella(const QString &nome, const QString &sorgente, const QString &modello,
                 const QString &testoConnessione)
{
    Connessione connessione(testoConnessione);
    connessione.apri();
    connessione.esegui(IstruzioneCreaTabella(modello, nome, sorgente));
}

QString ModelloCreaTabella()
{
    return cLeggiIni().LeggiValore(modPrincipale::PercorsoFileIni(),
                                   QStringLiteral("FRMBOLLCARICHIINT"),
                                   QStringLiteral("STRCREATABELLA"));
}
