#include "controllo.h"

#include "carico.h"
#include "misure.h"

#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/recordset.h"

#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <cstdio>
#include <iterator>
#include <memory>
#include <vector>

namespace {

// After the run time a station finishes the action it is in: a posting may wait its turn on a
// work table (15 s at most) and retry conflicts.
const int margineSecondi = 90;
const int attesaNodiSecondi = 60;

struct Azione
{
    const char *chiave;
    const char *descrizione;
    bool interattiva;
};
const Azione azioni[] = {
    {"cliente", "Customer lookup (nomeCliente)", true},
    {"riferimento", "Lookup by reference (ldvPerRiferimento)", true},
    {"salvataggio", "Save a collection, 16 updates (SalvataggioIncasso::salva)", true},
    {"lista", "Shipment list, first page (mode 12, ModelloPaginato)", true},
    {"scelta", "Pick from the list (vistaPerNumero)", true},
    {"annullamento", "Cancellation of an own remittance (AnnullamentoRimessa)", true},
    {"rimessa", "Remittance posted (selection, work table, posting, letter rows, drop)", false},
    {"rimessa/vuota", "Remittance with nothing left to remit (selection only)", false},
    {"rimessa/frattempo", "Remittance refused: remitted meanwhile by another station", false},
};

struct Rimessa
{
    int postazione = 0;
    QString numero;
    QString data; // yyyy-mm-dd
    int cliente = 0;
    int tipo = 0;
    QString dal, al;
    int ldv = 0;
    QString riferimento, banca, importo;
    QString chiave() const { return numero + QLatin1Char('|') + data; }
};

struct Raccolta
{
    QMap<QString, Serie> tempi;
    QMap<QString, int> errori;
    QMap<QString, int> testiErrore; // "action: text"
    QVector<Rimessa> rimesse;
    QSet<QString> annullate; // number|date
    // Each station's remittance runs: start and end, ms since the epoch.
    QMap<int, QVector<QPair<qint64, qint64>>> corse;
    QMap<QString, QSet<int>> salvataggi; // branch|number|year of the waybill: the saves' numbers
    QStringList postazioniFallite;
};

struct Verifica
{
    QString nome;
    QStringList problemi;
    QString dettaglio;
};

QVector<QVariantList> leggi(Connessione &connessione, const QString &istruzione)
{
    Recordset rs;
    rs.apri(istruzione, connessione);
    QVector<QVariantList> righe;
    for (rs.primo(); !rs.eof(); rs.successivo()) {
        QVariantList r;
        for (int i = 0; i < rs.numeroCampi(); ++i)
            r << rs.campo(i);
        righe << r;
    }
    return righe;
}

QVariant valore(Connessione &connessione, const QString &istruzione)
{
    const QVector<QVariantList> righe = leggi(connessione, istruzione);
    return righe.isEmpty() ? QVariant() : righe.first().value(0);
}

// Reads on a cluster node wait until it has applied what the others committed before them; a
// server that is no node does not know the setting.
void letturaCompleta(Connessione &connessione)
{
    try {
        connessione.esegui(QStringLiteral("SET SESSION wsrep_sync_wait=15"));
    } catch (const ErroreDb &) {
    }
}

void leggiRighe(int postazione, const QByteArray &testo, Raccolta &raccolta)
{
    for (const QByteArray &b : testo.split('\n')) {
        const QStringList f = QString::fromUtf8(b).split(QLatin1Char('|'));
        const QString tipo = f.value(0);
        if (tipo == QLatin1String("T") && f.size() == 4) {
            const bool principale =
                f[3] == QLatin1String("ok") || f[3] == QLatin1String("registrata");
            raccolta.tempi[principale ? f[1] : f[1] + QLatin1Char('/') + f[3]].aggiungi(
                f[2].toDouble());
        } else if (tipo == QLatin1String("E") && f.size() >= 4) {
            ++raccolta.errori[f[1]];
            ++raccolta.testiErrore[f[1] + QStringLiteral(": ") + f.mid(3).join(QLatin1Char('|'))];
        } else if (tipo == QLatin1String("R") && f.size() == 11) {
            raccolta.rimesse << Rimessa{postazione,   f[1], f[2], f[3].toInt(),
                                        f[4].toInt(), f[5], f[6], f[7].toInt(),
                                        f[8],         f[9], f[10]};
        } else if (tipo == QLatin1String("C") && f.size() == 3) {
            raccolta.corse[postazione] << qMakePair(f[1].toLongLong(), f[2].toLongLong());
        } else if (tipo == QLatin1String("A") && f.size() == 3) {
            raccolta.annullate << f[1] + QLatin1Char('|') + f[2];
        } else if (tipo == QLatin1String("S") && f.size() == 5) {
            raccolta.salvataggi[f[2] + QLatin1Char('|') + f[3] + QLatin1Char('|') + f[4]]
                << f[1].toInt();
        }
    }
}

// Starts every station in a namespace of its own with its computer name, waits for all of them
// (killing, by its own handle, one that outlives the bound) and reads what they printed.
Raccolta eseguiPostazioni(const ImpostazioniControllo &imp)
{
    QDir().mkpath(imp.cartella);
    std::vector<std::unique_ptr<QProcess>> processi;
    const qint64 inizio = QDateTime::currentMSecsSinceEpoch();
    for (int i = 0; i < imp.postazioni; ++i) {
        const qint64 cassa =
            Carico::inCoppia(i, imp.postazioni) ? Carico::chiusuraCassa(i, inizio, imp.secondi) : 0;
        auto p = std::make_unique<QProcess>();
        const QString base = imp.cartella + QStringLiteral("/p%1").arg(i, 2, 10, QLatin1Char('0'));
        p->setStandardOutputFile(base + QStringLiteral(".out"));
        p->setStandardErrorFile(base + QStringLiteral(".err"));
        p->start(QStringLiteral("unshare"),
                 {QStringLiteral("--uts"), QStringLiteral("sh"), QStringLiteral("-c"),
                  QStringLiteral("hostname \"$0\" && exec \"$@\""), Carico::nomeComputer(i),
                  imp.eseguibile, QStringLiteral("--postazione"), QString::number(i),
                  QStringLiteral("--connessione"), imp.connessioni.at(i % imp.connessioni.size()),
                  QStringLiteral("--secondi"), QString::number(imp.secondi),
                  QStringLiteral("--max-azioni"), QString::number(imp.maxAzioni),
                  QStringLiteral("--cassa-ms"), QString::number(cassa)});
        processi.push_back(std::move(p));
    }
    Raccolta raccolta;
    QDeadlineTimer scadenza(qint64(imp.secondi + margineSecondi) * 1000);
    for (int i = 0; i < imp.postazioni; ++i) {
        QProcess &p = *processi[size_t(i)];
        if (!p.waitForFinished(int(qMax<qint64>(1, scadenza.remainingTime())))) {
            p.kill();
            p.waitForFinished(5000);
            raccolta.postazioniFallite << QStringLiteral("station %1 did not end in time").arg(i);
        } else if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            QFile err(imp.cartella + QStringLiteral("/p%1.err").arg(i, 2, 10, QLatin1Char('0')));
            err.open(QIODevice::ReadOnly);
            raccolta.postazioniFallite << QStringLiteral("station %1 ended with %2: %3")
                                              .arg(i)
                                              .arg(p.exitCode())
                                              .arg(QString::fromUtf8(err.readAll()).trimmed());
        }
        QFile out(imp.cartella + QStringLiteral("/p%1.out").arg(i, 2, 10, QLatin1Char('0')));
        if (out.open(QIODevice::ReadOnly))
            leggiRighe(i, out.readAll(), raccolta);
    }
    return raccolta;
}

QString tabella(const ImpostazioniControllo &imp, const Raccolta &r)
{
    QString t = QStringLiteral("| Action | n | p50 ms | p95 ms | max ms | errors | target | "
                               "result |\n|---|---:|---:|---:|---:|---:|---|---|\n");
    for (const Azione &a : azioni) {
        const QString chiave = QLatin1String(a.chiave);
        const Serie s = r.tempi.value(chiave);
        const int errori = r.errori.value(chiave);
        if (s.vuota() && errori == 0)
            continue;
        QString obiettivo = QStringLiteral("—"), esito = QStringLiteral("—");
        if (a.interattiva) {
            obiettivo = QStringLiteral("p95 < %1").arg(imp.obiettivoMs);
            const bool ok = !s.vuota() && s.p95() < imp.obiettivoMs && errori == 0;
            esito = ok ? QStringLiteral("met") : QStringLiteral("**missed**");
        }
        t += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 |\n")
                 .arg(QLatin1String(a.descrizione))
                 .arg(s.numero())
                 .arg(Misure::numero(s.mediana()), Misure::numero(s.p95()),
                      Misure::numero(s.massimo()))
                 .arg(errori)
                 .arg(obiettivo, esito);
    }
    return t;
}

Verifica numeriUnici(Connessione &c, const Raccolta &r, int primo)
{
    Verifica v{
        QStringLiteral("Remittance numbers unique, the last number the highest posted"), {}, {}};
    QSet<int> numeri;
    for (const Rimessa &m : r.rimesse) {
        if (numeri.contains(m.numero.toInt()))
            v.problemi << QStringLiteral("number %1 posted twice").arg(m.numero);
        numeri << m.numero.toInt();
    }
    const int ultimo = valore(c, QStringLiteral("SELECT UltimoNumDistVersam FROM "
                                                "zolvimacon_tabge00f"))
                           .toInt();
    for (int n = primo + 1; n <= ultimo; ++n)
        if (!numeri.contains(n))
            v.problemi << QStringLiteral("number %1 was taken but no station posted it").arg(n);
    for (int n : numeri)
        if (n <= primo || n > ultimo)
            v.problemi << QStringLiteral("number %1 lies outside %2..%3")
                              .arg(n)
                              .arg(primo + 1)
                              .arg(ultimo);
    v.dettaglio = QStringLiteral("%1 postings numbered %2 to %3, the last number %4")
                      .arg(r.rimesse.size())
                      .arg(primo + 1)
                      .arg(primo + r.rimesse.size())
                      .arg(ultimo);
    return v;
}

// Every live posting's stamps are on exactly the waybills it selected (its customer, code and
// period, marked sent), no waybill bears the stamps of a cancelled or unknown posting, and no
// waybill is marked sent without a remittance.
Verifica stampiRimesse(Connessione &c, const Raccolta &r)
{
    Verifica v{QStringLiteral("Each waybill remitted by at most one live posting, with its stamps; "
                              "cancellations undone completely"),
               {},
               {}};
    QMap<QString, const Rimessa *> vive;
    for (const Rimessa &m : r.rimesse)
        if (!r.annullate.contains(m.chiave()))
            vive.insert(m.chiave(), &m);
    QMap<QString, QVector<QVariantList>> gruppi;
    for (const QVariantList &g :
         leggi(c, QStringLiteral("SELECT lendvc, ledtvc, lecodi, leflic, MIN(ledtin), MAX(ledtin), "
                                 "SUM(leflsc=1), COUNT(*) FROM letve00f WHERE lendvc<>0 "
                                 "GROUP BY lendvc, ledtvc, lecodi, leflic")))
        gruppi[g[0].toString() + QLatin1Char('|') + g[1].toDate().toString(Qt::ISODate)] << g;
    int ldv = 0;
    for (const Rimessa *m : vive) {
        const QVector<QVariantList> g = gruppi.take(m->chiave());
        const bool giusto = g.size() == 1 && g[0][2].toInt() == m->cliente &&
                            g[0][3].toInt() == m->tipo &&
                            g[0][4].toDate() >= QDate::fromString(m->dal, Qt::ISODate) &&
                            g[0][5].toDate() <= QDate::fromString(m->al, Qt::ISODate) &&
                            g[0][6].toInt() == m->ldv && g[0][7].toInt() == m->ldv;
        if (!giusto)
            v.problemi << QStringLiteral("remittance %1 of %2 waybills (customer %3, code %4, %5 "
                                         "to %6): the database holds %7 group(s), first %8")
                              .arg(m->chiave())
                              .arg(m->ldv)
                              .arg(m->cliente)
                              .arg(m->tipo)
                              .arg(m->dal, m->al)
                              .arg(g.size())
                              .arg(g.isEmpty()
                                       ? QString()
                                       : QVariant(g[0]).toStringList().join(QLatin1Char(',')));
        ldv += m->ldv;
    }
    for (auto it = gruppi.cbegin(); it != gruppi.cend(); ++it)
        v.problemi << QStringLiteral("%1 waybill(s) stamped %2, which is %3")
                          .arg(it.value()[0][7].toInt())
                          .arg(it.key(), r.annullate.contains(it.key())
                                             ? QStringLiteral("cancelled")
                                             : QStringLiteral("no station's posting"));
    const int inviate = valore(c, QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE leflsc=1 "
                                                 "AND lendvc=0"))
                            .toInt();
    if (inviate)
        v.problemi << QStringLiteral("%1 waybill(s) marked sent without a remittance").arg(inviate);
    v.dettaglio = QStringLiteral("%1 live postings holding %2 waybills, %3 cancelled")
                      .arg(vive.size())
                      .arg(ldv)
                      .arg(r.annullate.size());
    return v;
}

// Our cheque or transfer: one row per waybill for each live posting of codes 3 and 4, with its
// reference, bank and amount; no other row.
Verifica righeContrassegni(Connessione &c, const Raccolta &r)
{
    Verifica v{QStringLiteral("Remittance rows (contrassegni) of live cheque/transfer postings "
                              "only, one per waybill"),
               {},
               {}};
    QMap<QString, QVector<QVariantList>> gruppi;
    for (const QVariantList &g :
         leggi(c, QStringLiteral("SELECT NrDistinta, DataDistinta, Riferimento, Banca, Importo, "
                                 "COUNT(*) FROM contrassegni GROUP BY 1, 2, 3, 4, 5")))
        gruppi[g[0].toString() + QLatin1Char('|') + g[1].toDate().toString(Qt::ISODate)] << g;
    int righe = 0;
    for (const Rimessa &m : r.rimesse) {
        if (r.annullate.contains(m.chiave()) || (m.tipo != 3 && m.tipo != 4))
            continue;
        const QVector<QVariantList> g = gruppi.take(m.chiave());
        if (g.size() != 1 || g[0][2].toString() != m.riferimento || g[0][3].toString() != m.banca ||
            g[0][4].toString() != m.importo || g[0][5].toInt() != m.ldv)
            v.problemi << QStringLiteral("remittance %1 (%2 waybills, %3): %4 group(s) of rows")
                              .arg(m.chiave())
                              .arg(m.ldv)
                              .arg(m.riferimento)
                              .arg(g.size());
        righe += m.ldv;
    }
    for (auto it = gruppi.cbegin(); it != gruppi.cend(); ++it)
        v.problemi << QStringLiteral("rows of remittance %1, which is %2")
                          .arg(it.key(), r.annullate.contains(it.key())
                                             ? QStringLiteral("cancelled")
                                             : QStringLiteral("no live cheque/transfer posting"));
    v.dettaglio = QStringLiteral("%1 rows").arg(righe);
    return v;
}

// A saved row holds the sixteen columns of one save made for that waybill, never a mix.
Verifica salvataggi(Connessione &c, const Raccolta &r)
{
    Verifica v{QStringLiteral("Every saved row holds one save whole"), {}, {}};
    QStringList colonne;
    for (const QString &col : Carico::colonne().split(QStringLiteral(", ")))
        colonne << QStringLiteral("IFNULL(%1,'')").arg(col);
    const QVector<QVariantList> righe =
        leggi(c, QStringLiteral("SELECT CONCAT_WS('|', lefili, lenrlv, leanlv), lenras, "
                                "CONCAT_WS('|', %1) FROM letve00f WHERE lenras LIKE 'S%'")
                     .arg(colonne.join(QStringLiteral(", "))));
    QSet<QString> trovate;
    int contese = 0;
    for (const QVariantList &riga : righe) {
        const QString chiave = riga[0].toString();
        const int id = Carico::idDaAssegno(riga[1].toString());
        trovate << chiave;
        if (!r.salvataggi.value(chiave).contains(id))
            v.problemi << QStringLiteral("waybill %1 holds save %2, not one made for it")
                              .arg(chiave, riga[1].toString());
        else if (riga[2].toString() != Carico::colonneAttese(id))
            v.problemi << QStringLiteral("waybill %1: %2 instead of save %3's %4")
                              .arg(chiave, riga[2].toString())
                              .arg(id)
                              .arg(Carico::colonneAttese(id));
    }
    int quanti = 0;
    for (auto it = r.salvataggi.cbegin(); it != r.salvataggi.cend(); ++it) {
        quanti += it.value().size();
        contese += it.value().size() > 1;
        if (!trovate.contains(it.key()))
            v.problemi << QStringLiteral("waybill %1 was saved but holds no save").arg(it.key());
    }
    v.dettaglio = QStringLiteral("%1 saves on %2 waybills (%3 saved by more than one save)")
                      .arg(quanti)
                      .arg(r.salvataggi.size())
                      .arg(contese);
    return v;
}

Verifica tabelleLavoro(Connessione &c, const Raccolta &r)
{
    Verifica v{QStringLiteral("Work tables dropped and given back"), {}, {}};
    const int occupate = valore(c, QStringLiteral("SELECT COUNT(*) FROM tabellelavoro")).toInt();
    if (occupate)
        v.problemi << QStringLiteral("%1 work table(s) still held").arg(occupate);
    const QString rimaste =
        valore(c, QStringLiteral("SELECT GROUP_CONCAT(TABLE_NAME) FROM information_schema.TABLES "
                                 "WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME LIKE '%rimessa'"))
            .toString();
    if (!rimaste.isEmpty())
        v.problemi << QStringLiteral("work tables left: %1").arg(rimaste);
    // Remittance runs of two stations of one station name that were under way at the same time:
    // one of them waited for the other's work table.
    int insieme = 0;
    for (auto a = r.corse.cbegin(); a != r.corse.cend(); ++a)
        for (auto b = std::next(a); b != r.corse.cend(); ++b)
            if (Carico::filiale(a.key()) == Carico::filiale(b.key()))
                for (const auto &x : a.value())
                    for (const auto &y : b.value())
                        insieme += x.first < y.second && y.first < x.second;
    v.dettaglio =
        QStringLiteral("%1 time(s) two stations of one station name were running a remittance at "
                       "once")
            .arg(insieme);
    return v;
}

// The servers' counters of conflicts between transactions, summed over the servers: deadlocks
// and lock waits on one server; on a cluster also the transactions a node refused at
// certification or aborted for another node's write set.
QMap<QString, qint64> conflitti(const QStringList &testi)
{
    QMap<QString, qint64> somma;
    for (const QString &testo : testi) {
        Connessione c(testo);
        c.apri();
        for (const QVariantList &r :
             leggi(c, QStringLiteral("SHOW GLOBAL STATUS WHERE Variable_name IN "
                                     "('Innodb_deadlocks', 'Innodb_row_lock_waits', "
                                     "'wsrep_local_cert_failures', 'wsrep_local_bf_aborts')")))
            somma[r[0].toString()] += r[1].toLongLong();
        c.chiudi();
    }
    return somma;
}

bool nodoQuieto(Connessione &c)
{
    const auto stato = [&](const char *nome) {
        const QVector<QVariantList> r =
            leggi(c, QStringLiteral("SHOW STATUS LIKE '%1'").arg(QLatin1String(nome)));
        return r.isEmpty() ? QString() : r[0].value(1).toString();
    };
    return stato("wsrep_local_state_comment") == QLatin1String("Synced") &&
           stato("wsrep_local_recv_queue") == QLatin1String("0");
}

Verifica nodiIdentici(const QStringList &testi)
{
    Verifica v{QStringLiteral("Nodes identical (CHECKSUM TABLE letve00f, contrassegni, "
                              "zolvimacon_tabge00f, tabellelavoro)"),
               {},
               {}};
    QStringList somme;
    for (int n = 0; n < testi.size(); ++n) {
        Connessione c(testi[n]);
        c.apri();
        QDeadlineTimer attesa(attesaNodiSecondi * 1000);
        while (!nodoQuieto(c) && !attesa.hasExpired())
            QThread::msleep(200);
        if (!nodoQuieto(c))
            v.problemi << QStringLiteral("node %1 is not synced with an empty queue").arg(n + 1);
        letturaCompleta(c);
        QStringList s;
        for (const QVariantList &r :
             leggi(c, QStringLiteral("CHECKSUM TABLE letve00f, contrassegni, zolvimacon_tabge00f, "
                                     "tabellelavoro")))
            s << r.value(1).toString();
        somme << s.join(QLatin1Char(','));
        c.chiudi();
    }
    for (int n = 1; n < somme.size(); ++n)
        if (somme[n] != somme[0])
            v.problemi << QStringLiteral("node %1 (%2) differs from node 1 (%3)")
                              .arg(n + 1)
                              .arg(somme[n], somme[0]);
    v.dettaglio = QStringLiteral("%1 nodes: %2").arg(testi.size()).arg(somme.value(0));
    return v;
}

} // namespace

int eseguiControllo(const ImpostazioniControllo &imp)
{
    int primo = 0;
    {
        Connessione c(imp.connessioni.first());
        c.apri();
        primo = valore(c, QStringLiteral("SELECT ultimo_numero FROM carico_generazione")).toInt();
        const bool nuovo =
            valore(c, QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f"))
                    .toInt() == primo &&
            valore(c, QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc<>0 OR "
                                     "lenras LIKE 'S%'"))
                    .toInt() == 0;
        if (!nuovo) {
            std::fprintf(stderr, "riscuti-carico: the database has been worked on: load it anew\n");
            return 2;
        }
    }

    const QMap<QString, qint64> conflittiPrima = conflitti(imp.connessioni);
    const Raccolta r = eseguiPostazioni(imp);
    const QMap<QString, qint64> conflittiDopo = conflitti(imp.connessioni);
    int azioniTotali = 0, erroriTotali = 0;
    for (const Serie &s : r.tempi)
        azioniTotali += s.numero();
    for (int e : r.errori)
        erroriTotali += e;

    QString rapporto = QStringLiteral("### %1: %2 stations, %3 s, %4 server(s)\n\n")
                           .arg(imp.etichetta)
                           .arg(imp.postazioni)
                           .arg(imp.secondi)
                           .arg(imp.connessioni.size());
    rapporto += tabella(imp, r);
    rapporto += QStringLiteral("\n%1 actions done, %2 failed (%3 a second).\n")
                    .arg(azioniTotali)
                    .arg(erroriTotali)
                    .arg(Misure::numero(double(azioniTotali + erroriTotali) / imp.secondi));
    for (auto it = r.testiErrore.cbegin(); it != r.testiErrore.cend(); ++it)
        rapporto += QStringLiteral("- error %1× %2\n").arg(it.value()).arg(it.key());
    for (const QString &f : r.postazioniFallite)
        rapporto += QStringLiteral("- %1\n").arg(f);
    QStringList contatori;
    for (auto it = conflittiDopo.cbegin(); it != conflittiDopo.cend(); ++it)
        contatori << QStringLiteral("%1 %2").arg(it.key()).arg(it.value() -
                                                               conflittiPrima.value(it.key()));
    rapporto += QStringLiteral("The servers counted (all servers, during the run): %1.\n")
                    .arg(contatori.join(QStringLiteral(", ")));

    QVector<Verifica> verifiche;
    if (imp.connessioni.size() > 1)
        verifiche << nodiIdentici(imp.connessioni);
    Connessione c(imp.connessioni.first());
    c.apri();
    letturaCompleta(c);
    verifiche << numeriUnici(c, r, primo) << stampiRimesse(c, r) << righeContrassegni(c, r)
              << salvataggi(c, r) << tabelleLavoro(c, r);
    c.chiudi();

    bool tengono = true;
    rapporto += QStringLiteral("\nInvariants:\n");
    for (const Verifica &v : verifiche) {
        tengono = tengono && v.problemi.isEmpty();
        rapporto +=
            QStringLiteral("- %1: %2 (%3)\n")
                .arg(v.nome,
                     v.problemi.isEmpty() ? QStringLiteral("holds") : QStringLiteral("**FAILS**"),
                     v.dettaglio);
        for (const QString &p : v.problemi.mid(0, 20))
            rapporto += QStringLiteral("  - %1\n").arg(p);
    }
    std::printf("%s\n", qPrintable(rapporto));
    std::fflush(stdout);
    return erroriTotali == 0 && r.postazioniFallite.isEmpty() && tengono ? 0 : 1;
}
