#include "finance/sospesi.h"

#include "data/recordset.h"

namespace Sospesi {

namespace {

Importo importo(const Recordset &riga, const QString &campo)
{
    return Importo::daColonna(riga.campo(campo));
}

QDate piuVecchia(const QDate &a, const QDate &b)
{
    if (!a.isValid())
        return b;
    return b.isValid() && b < a ? b : a;
}

const char *const nomiFasce[4] = {"0-7 gg", "8-15 gg", "16-30 gg", "oltre 30 gg"};

} // namespace

QList<RigaSospesi> leggi(const IstruzioniRegistro::FiltroSospesi &filtro, Connessione &connessione)
{
    Recordset r;
    r.apri(IstruzioniRegistro::sospesi(filtro), connessione);
    QList<RigaSospesi> righe;
    for (r.primo(); !r.eof(); r.successivo()) {
        RigaSospesi riga;
        riga.cliente = r.campo(QStringLiteral("Cliente")).toString();
        riga.nome = r.campo(QStringLiteral("RagioneSociale")).toString();
        riga.nrDaIncassare = r.campo(QStringLiteral("NrDaIncassare")).toLongLong();
        riga.daIncassare = importo(r, QStringLiteral("DaIncassare"));
        riga.daIncassareDal = r.campo(QStringLiteral("DaIncassareDal")).toDate();
        for (int i = 0; i < 4; ++i) {
            riga.nr[i] = r.campo(QStringLiteral("Nr%1").arg(i + 1)).toLongLong();
            riga.importo[i] = importo(r, QStringLiteral("Importo%1").arg(i + 1));
        }
        riga.nrDaRimettere = r.campo(QStringLiteral("NrDaRimettere")).toLongLong();
        riga.daRimettere = importo(r, QStringLiteral("DaRimettere"));
        riga.incassatoDal = r.campo(QStringLiteral("IncassatoDal")).toDate();
        righe << riga;
    }
    return righe;
}

RigaSospesi totale(const QList<RigaSospesi> &righe)
{
    RigaSospesi somma;
    somma.nome = QStringLiteral("Totale generale");
    for (const RigaSospesi &riga : righe) {
        somma.nrDaIncassare += riga.nrDaIncassare;
        somma.daIncassare += riga.daIncassare;
        somma.daIncassareDal = piuVecchia(somma.daIncassareDal, riga.daIncassareDal);
        for (int i = 0; i < 4; ++i) {
            somma.nr[i] += riga.nr[i];
            somma.importo[i] += riga.importo[i];
        }
        somma.nrDaRimettere += riga.nrDaRimettere;
        somma.daRimettere += riga.daRimettere;
        somma.incassatoDal = piuVecchia(somma.incassatoDal, riga.incassatoDal);
    }
    return somma;
}

Prospetto prospetto(const QList<RigaSospesi> &righe, const QString &ambito)
{
    Prospetto p;
    p.titolo = QStringLiteral("Contrassegni in sospeso");
    p.sottotitolo = ambito;
    p.intestazioni << QStringLiteral("Cliente") << QStringLiteral("Ragione sociale")
                   << QStringLiteral("Da incassare\nnr.") << QStringLiteral("Da incassare\nimporto")
                   << QStringLiteral("Da incassare\ndal");
    for (const char *fascia : nomiFasce)
        p.intestazioni << QLatin1String(fascia) + QStringLiteral("\nnr.")
                       << QLatin1String(fascia) + QStringLiteral("\nimporto");
    p.intestazioni << QStringLiteral("Da rimettere\nnr.") << QStringLiteral("Da rimettere\nimporto")
                   << QStringLiteral("Incassato\ndal");
    QList<RigaSospesi> tutte = righe;
    tutte << totale(righe);
    for (const RigaSospesi &riga : std::as_const(tutte)) {
        QList<Cella> celle{Cella::testo(riga.cliente), Cella::testo(riga.nome),
                           Cella::intero(riga.nrDaIncassare), Cella::importo(riga.daIncassare),
                           Cella::data(riga.daIncassareDal)};
        for (int i = 0; i < 4; ++i)
            celle << Cella::intero(riga.nr[i]) << Cella::importo(riga.importo[i]);
        celle << Cella::intero(riga.nrDaRimettere) << Cella::importo(riga.daRimettere)
              << Cella::data(riga.incassatoDal);
        p.righe << celle;
    }
    p.primaRigaTotale = int(righe.size());
    return p;
}

LdvSospese leggiLdv(const IstruzioniRegistro::FiltroSospesi &filtro, Connessione &connessione)
{
    LdvSospese ldv;
    Prospetto &p = ldv.prospetto;
    p.titolo = QStringLiteral("Spedizioni in sospeso del cliente ") + filtro.cliente;
    p.intestazioni << QStringLiteral("Filiale") << QStringLiteral("Nr. LDV")
                   << QStringLiteral("Data LDV") << QStringLiteral("Riferimento")
                   << QStringLiteral("Destinatario") << QStringLiteral("Contrassegno")
                   << QStringLiteral("Incassato") << QStringLiteral("Data incasso")
                   << QStringLiteral("Giorni") << QStringLiteral("Stato");
    Recordset r;
    r.apri(IstruzioniRegistro::sospesiLdv(filtro), connessione);
    for (r.primo(); !r.eof(); r.successivo()) {
        const int fascia = r.campo(QStringLiteral("Fascia")).toInt();
        const QDate dataLdv = r.campo(QStringLiteral("ledtlv")).toDate();
        p.righe << QList<Cella>{
            Cella::testo(r.campo(QStringLiteral("lefili")).toString()),
            Cella::testo(r.campo(QStringLiteral("lenrlv")).toString()),
            Cella::data(dataLdv),
            Cella::testo(r.campo(QStringLiteral("lerife")).toString()),
            Cella::testo(r.campo(QStringLiteral("ledest")).toString()),
            Cella::importo(importo(r, QStringLiteral("lecnss"))),
            fascia ? Cella::importo(importo(r, QStringLiteral("leimcs"))) : Cella::testo({}),
            fascia ? Cella::data(r.campo(QStringLiteral("ledtin")).toDate()) : Cella::testo({}),
            fascia ? Cella::intero(r.campo(QStringLiteral("Giorni")).toLongLong())
                   : Cella::testo({}),
            Cella::testo(
                fascia
                    ? QStringLiteral("Da rimettere (%1)").arg(QLatin1String(nomiFasce[fascia - 1]))
                    : QStringLiteral("Da incassare"))};
        ldv.chiavi << Istruzioni::ChiaveLdv{r.campo(QStringLiteral("lenrlv")).toString(),
                                            r.campo(QStringLiteral("lefili")).toString(), dataLdv};
    }
    return ldv;
}

} // namespace Sospesi
