#include "remittance/tabellalavoro.h"

#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "services/modprincipale.h"
#include "suite/cLeggiIni.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>

namespace {

// The number and text of an invalid procedure call, which a missing placeholder is.
const int chiamataNonValida = 5;
// The server's numbers: a table that does not exist, a key already there, a deadlock (what a
// cluster node says when another node's insert of the same key came first).
const int tabellaInesistente = 1146;
const int chiaveDuplicata = 1062;
const int stallo = 1213;
// How long a station waits for a work table another one holds, and when a hold is stale.
const int attesaMassimaMs = 15000;
const int pausaMs = 50;
const int minutiHoldVecchia = 30;

bool prova(Connessione &connessione, const QString &nome, const QString &computer)
{
    try {
        connessione.esegui(Istruzioni::occupaTabellaLavoro(nome, computer));
        return true;
    } catch (const ErroreDb &errore) {
        if (errore.numero() == tabellaInesistente) {
            connessione.esegui(Istruzioni::creaTabelleLavoro());
            return prova(connessione, nome, computer);
        }
        if (errore.numero() != chiaveDuplicata && errore.numero() != stallo)
            throw;
    }
    try {
        return connessione.eseguiContando(
                   Istruzioni::riprendiTabellaLavoro(nome, computer, minutiHoldVecchia)) > 0;
    } catch (const ErroreDb &errore) {
        if (errore.numero() != stallo)
            throw;
        return false;
    }
}

QString occupante(Connessione &connessione, const QString &nome)
{
    Recordset chi;
    chi.apri(Istruzioni::occupanteTabellaLavoro(nome), connessione);
    if (chi.eof())
        return QString();
    return chi.campo(0).toString() + QStringLiteral(" dalle ") +
           chi.campo(1).toDateTime().toString(QStringLiteral("HH:mm"));
}

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

void ChiaveTabellaLavoro(const QString &nome, Connessione &connessione)
{
    Recordset chiave;
    chiave.apri(Istruzioni::chiaveTabellaLavoroPresente(nome), connessione);
    if (chiave.campo(0).toInt() == 0)
        connessione.esegui(Istruzioni::aggiungiChiaveTabellaLavoro(nome));
}

void OccupaTabellaLavoro(const QString &nome, const QString &computer, Connessione &connessione)
{
    QElapsedTimer attesa;
    attesa.start();
    while (!prova(connessione, nome, computer)) {
        if (attesa.elapsed() > attesaMassimaMs)
            throw ErroreDb(stallo, QStringLiteral("La tabella di lavoro %1 è in uso dalla "
                                                  "postazione %2: riprovare fra qualche istante.")
                                       .arg(nome, occupante(connessione, nome)));
        QThread::msleep(pausaMs);
    }
}

void LiberaTabellaLavoro(const QString &nome, const QString &computer,
                         const QString &testoConnessione)
{
    try {
        Connessione connessione(testoConnessione);
        connessione.apri();
        connessione.esegui(Istruzioni::liberaTabellaLavoro(nome, computer));
    } catch (...) {
    }
}
