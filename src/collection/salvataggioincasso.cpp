#include "collection/salvataggioincasso.h"

#include "data/blocco.h"
#include "data/erroredb.h"
#include "data/importo.h"
#include "data/istruzioni.h"
#include "data/registro.h"
#include "data/riprova.h"
#include "data/sql.h"
#include "data/transazione.h"
#include "fields/campodata.h"

namespace SalvataggioIncasso {

namespace {

// Sixteen one-column updates are a few kilobytes; every server takes a packet of this size, so
// the save need not ask the server for its limit first.
const int byteBloccoSalvataggio = 64 * 1024;

bool dataVuota(const QString &testo)
{
    return testo.isEmpty() || testo == CampoData::mascheraVuota();
}

// The code of a list's chosen entry; a list without one cannot give a code.
QString codiceScelto(int codice)
{
    if (codice < 0)
        throw ErroreDb(381, QStringLiteral("Indice della matrice di proprietà non valido."));
    return QString::number(codice);
}

// The save has always sent a typed amount with every "," made "." (12,50 as 12.50); the database
// keeps that literal to the cent, and so does the amount. Grouping typed with it makes no number
// ("1.234,56" gives "1.234.56"), which Sql::decimale refuses; an amount past 16 digits of euros
// goes as it is, for the server to refuse for its column.
QString importoPerIstruzione(const QString &digitato)
{
    QString punto = digitato;
    punto.replace(QLatin1Char(','), QLatin1Char('.'));
    const std::optional<Importo> importo = Importo::daLetterale(punto);
    return importo ? importo->perSql() : Sql::decimale(punto);
}

// Amount, code and sent flag of one collection group, when its amount holds a number.
void aggiungiGruppo(QStringList &elenco, const GruppoIncasso &gruppo, const char *importo,
                    const char *codice, const char *inviato, const Istruzioni::ChiaveLdv &chiave)
{
    if (!Importo::eNumero(gruppo.importo))
        return;
    elenco << Istruzioni::aggiornaImporto(QLatin1String(importo),
                                          importoPerIstruzione(gruppo.importo), chiave)
           << Istruzioni::aggiornaTesto(QLatin1String(codice), codiceScelto(gruppo.codice), chiave)
           << Istruzioni::aggiornaIntero(QLatin1String(inviato),
                                         QString::number(gruppo.inviato ? 1 : 0), chiave);
}

} // namespace

QString controlla(const DatiIncasso &d)
{
    if (d.testoIncassoCon.isEmpty())
        return QStringLiteral("Selezionare un valore dalla lista combinata:'Incasso con'.");
    if (d.testoIncassoCon == QLatin1String("Assegno Circolare")) {
        if (d.banca.isEmpty())
            return QStringLiteral("Indicare la banca di emissione dell'assegno.");
        if (d.nrAssegno.isEmpty())
            return QStringLiteral("Indicare il numero dell'assegno.");
        if (d.piazza.isEmpty())
            return QStringLiteral("Indicare il luogo di emissione dell'assegno (piazza).");
    }
    if (d.contrassegno.importo.isEmpty() && d.anticipata.importo.isEmpty() &&
        d.assegnato.importo.isEmpty())
        return QStringLiteral("Inserire il valore incassato.");
    if (dataVuota(d.dataIncasso))
        return QStringLiteral("indicare la data di incasso.");
    for (const GruppoIncasso *gruppo : {&d.contrassegno, &d.anticipata, &d.assegnato}) {
        if (Importo::eNumero(gruppo->importo) && gruppo->testoCodice.isEmpty())
            return QStringLiteral("Selezionare il codice incasso.");
    }
    if (d.numeroLdv.isEmpty() || dataVuota(d.dataLdv))
        return QStringLiteral("Cercare la lettera di vettura prima di salvare l'incasso.");
    return QString();
}

QStringList istruzioni(const DatiIncasso &d)
{
    const Istruzioni::ChiaveLdv chiave{d.numeroLdv, d.filiale, Sql::leggiData(d.dataLdv)};
    QStringList elenco;
    if (d.filialeIncasso.size() == 2)
        elenco << Istruzioni::aggiornaTesto(QStringLiteral("lefinc"), d.filialeIncasso, chiave);
    if (!d.banca.isEmpty())
        elenco << Istruzioni::aggiornaTesto(QStringLiteral("leban"), d.banca, chiave);
    if (!d.testoIncassoCon.isEmpty())
        elenco << Istruzioni::aggiornaTesto(QStringLiteral("letpin"), codiceScelto(d.incassoCon),
                                            chiave);
    if (!d.nrAssegno.isEmpty())
        elenco << Istruzioni::aggiornaTesto(QStringLiteral("lenras"), d.nrAssegno, chiave);
    if (!d.piazza.isEmpty())
        elenco << Istruzioni::aggiornaTesto(QStringLiteral("lepiaz"), d.piazza, chiave);
    aggiungiGruppo(elenco, d.contrassegno, "leimcs", "leflic", "leflsc", chiave);
    aggiungiGruppo(elenco, d.anticipata, "leimap", "leflia", "leflsa", chiave);
    aggiungiGruppo(elenco, d.assegnato, "leinpa", "leflip", "leflsp", chiave);
    if (!dataVuota(d.dataIncasso))
        elenco << Istruzioni::aggiornaData(QStringLiteral("ledtin"), Sql::leggiData(d.dataIncasso),
                                           chiave);
    elenco << Istruzioni::aggiornaIntero(QStringLiteral("leflco"),
                                         QString::number(d.passaggioContabile ? 1 : 0), chiave);
    return elenco;
}

// One round trip for the updates: the server runs them in order and stops at the first it
// refuses, which the rollback then takes back with the ones before it. A conflict with another
// station's save runs the whole transaction again. With the audit trail, the waybill is read
// under lock before the updates and again after them, and each column that changed gets its row
// in the same transaction: a save rolled back leaves none.
void salva(const DatiIncasso &dati, Connessione &connessione)
{
    const QStringList aggiornamenti = istruzioni(dati);
    const Istruzioni::ChiaveLdv chiave{dati.numeroLdv, dati.filiale, Sql::leggiData(dati.dataLdv)};
    const bool registra = Registro::presente(connessione);
    ripetiSeInConflitto([&] {
        Transazione transazione(connessione);
        QList<Registro::StatoLdv> prima;
        if (registra)
            prima = Registro::leggiStato(chiave, true, connessione);
        BloccoIstruzioni blocco(connessione, byteBloccoSalvataggio);
        for (const QString &aggiornamento : aggiornamenti)
            blocco.aggiungi(aggiornamento);
        blocco.invia();
        if (registra)
            Registro::registraIncasso(prima, Registro::leggiStato(chiave, false, connessione),
                                      connessione);
        transazione.conferma();
    });
}

} // namespace SalvataggioIncasso
