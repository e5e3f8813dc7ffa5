#include "postazione.h"

#include "carico.h"
#include "misure.h"

#include "collection/salvataggioincasso.h"
#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "data/istruzioni_ricerca.h"
#include "data/recordset.h"
#include "remittance/annullamentorimessa.h"
#include "remittance/datilettera.h"
#include "remittance/postazione.h"
#include "remittance/registrazionerimessa.h"
#include "search/modellopaginato.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QThread>

#include <cstdio>
#include <functional>
#include <stdexcept>

namespace {

// An operator reads, types and checks between two actions: 2 to 10 s, 6 s on average, so 50
// stations make about 8 actions a second.
const int pensaMinMs = 2000;
const int pensaMaxMs = 10000;
// Waybills of the branch whose collections the station records: shared by the stations of one
// branch, so that two of them now and then save the same waybill.
const int ldvDaIncassare = 20;
const QString modelloTabella =
    QStringLiteral("CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) SELECT * FROM ? LIMIT 0");

enum class Azione { Cliente, Riferimento, Salvataggio, Lista, Rimessa, Annullamento };
struct Peso
{
    Azione azione;
    int peso;
};
// The operators' mix, in percent of the actions chosen. A save is preceded by the lookup of its
// waybill (counted as a lookup by reference), a pick by the list it is made from.
const Peso mix[] = {{Azione::Cliente, 25}, {Azione::Riferimento, 20}, {Azione::Salvataggio, 20},
                    {Azione::Lista, 15},   {Azione::Rimessa, 12},     {Azione::Annullamento, 8}};

struct Ldv
{
    QString numero;
    int anno = 0;
    QDate data;
    QString riferimento;
    QDate dataRiferimento;
    int cliente = 0;
    int tipo = 0;
    QDate dataIncasso;
};

struct RimessaViva
{
    QString numero;
    QDate data;
};

void riga(const QString &testo)
{
    std::printf("%s\n", qPrintable(testo));
    std::fflush(stdout);
}

// A text that fits in one field of a line.
QString campo(QString testo)
{
    return testo.replace(QLatin1Char('|'), QLatin1Char('/'))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
}

class Postazione
{
public:
    explicit Postazione(const ImpostazioniPostazione &imp)
        : m_imp(imp), m_caso(quint32(1000 + imp.numero)),
          m_filiale(Carico::codiceFiliale(imp.numero)),
          m_clienti(Carico::clientiFiliale(Carico::filiale(imp.numero)))
    {}

    void carica();
    void esegui();

private:
    // Times `azione` and prints its line; false when it failed.
    bool misura(const char *nome, const std::function<QString()> &azione);
    void cercaCliente();
    bool cercaRiferimento(const Ldv &ldv);
    void salva();
    void listaEScelta();
    void rimetti(const Ldv &ldv);
    void annulla();

    int clienteACaso() { return m_clienti.at(int(m_caso.bounded(m_clienti.size()))); }
    const Ldv &aCaso(const QVector<Ldv> &elenco)
    {
        return elenco.at(int(m_caso.bounded(elenco.size())));
    }

    ImpostazioniPostazione m_imp;
    QRandomGenerator m_caso;
    QString m_filiale;
    QList<int> m_clienti;
    QVector<Ldv> m_tutte;           // the branch's waybills
    QVector<Ldv> m_daIncassare;     // the collections this branch's stations record
    QVector<Ldv> m_daRimettere;     // collected, waiting for a remittance when the run began
    QVector<RimessaViva> m_rimesse; // posted by this station and not cancelled
    int m_salvataggi = 0;
    int m_rimesseFatte = 0;
};

// The branch's waybills, read once before the run (not timed).
void Postazione::carica()
{
    Recordset rs;
    rs.apri(QStringLiteral("SELECT lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, leflic, ledtin, "
                           "lecnss, lenras, lendvc FROM letve00f WHERE lefili='%1' ORDER BY lenrlv")
                .arg(m_filiale),
            m_imp.connessione);
    for (rs.primo(); !rs.eof(); rs.successivo()) {
        Ldv l{rs.campo(0).toString(), rs.campo(1).toInt(),  rs.campo(2).toDate(),
              rs.campo(3).toString(), rs.campo(4).toDate(), rs.campo(5).toInt(),
              rs.campo(6).toInt(),    rs.campo(7).toDate()};
        const bool contrassegno = rs.campo(8).toDouble() > 0;
        const bool generata = rs.campo(9).isNull(); // no save of the load has touched it
        m_tutte << l;
        if (contrassegno && (l.tipo == 0 || !generata) && m_daIncassare.size() < ldvDaIncassare)
            m_daIncassare << l;
        else if (contrassegno && l.tipo != 0 && generata && rs.campo(10).toInt() == 0)
            m_daRimettere << l;
    }
    if (m_daIncassare.isEmpty() || m_daRimettere.isEmpty())
        throw std::runtime_error("the branch has no waybills to work on: load a fresh database");
}

void Postazione::esegui()
{
    QElapsedTimer tempo;
    tempo.start();
    const qint64 fine = qint64(m_imp.secondi) * 1000;
    int pesoTotale = 0;
    for (const Peso &p : mix)
        pesoTotale += p.peso;
    // The branch's cash-up: once in the run both operators of a branch with two stations remit
    // the same customer's collections at the same second.
    qint64 cassa = m_imp.cassaMs;
    for (int azioni = 0; azioni < m_imp.maxAzioni; ++azioni) {
        qint64 pausa = pensaMinMs + int(m_caso.bounded(pensaMaxMs - pensaMinMs));
        const qint64 adesso = QDateTime::currentMSecsSinceEpoch();
        const bool chiusuraCassa = cassa > 0 && adesso + pausa >= cassa;
        if (chiusuraCassa)
            pausa = qMax<qint64>(0, cassa - adesso);
        if (tempo.elapsed() + pausa >= fine)
            break;
        QThread::msleep(pausa);
        if (chiusuraCassa) {
            cassa = 0;
            rimetti(m_daRimettere.first());
            continue;
        }
        int scelta = int(m_caso.bounded(pesoTotale));
        Azione azione = Azione::Cliente;
        for (const Peso &p : mix) {
            if (scelta < p.peso) {
                azione = p.azione;
                break;
            }
            scelta -= p.peso;
        }
        switch (azione) {
        case Azione::Cliente:
            cercaCliente();
            break;
        case Azione::Riferimento:
            cercaRiferimento(aCaso(m_tutte));
            break;
        case Azione::Salvataggio:
            salva();
            break;
        case Azione::Lista:
            listaEScelta();
            break;
        case Azione::Rimessa:
            rimetti(aCaso(m_daRimettere));
            break;
        case Azione::Annullamento:
            annulla();
            break;
        }
    }
}

bool Postazione::misura(const char *nome, const std::function<QString()> &azione)
{
    Cronometro c;
    QString errore;
    try {
        const QString esito = azione();
        riga(QStringLiteral("T|%1|%2|%3")
                 .arg(QLatin1String(nome), Misure::numero(c.ms(), 3), esito));
        return true;
    } catch (const ErroreDb &e) {
        errore = e.testo();
    } catch (const std::exception &e) {
        errore = QString::fromUtf8(e.what());
    }
    riga(QStringLiteral("E|%1|%2|%3")
             .arg(QLatin1String(nome), Misure::numero(c.ms(), 3), campo(errore)));
    return false;
}

void Postazione::cercaCliente()
{
    const QString cliente = QString::number(clienteACaso());
    misura("cliente", [&] {
        Recordset rs;
        rs.apri(Istruzioni::nomeCliente(cliente), m_imp.connessione);
        if (rs.eof() || rs.campo(0).toString().isEmpty())
            throw std::runtime_error("customer not found");
        return QStringLiteral("ok");
    });
}

bool Postazione::cercaRiferimento(const Ldv &ldv)
{
    return misura("riferimento", [&] {
        Recordset rs;
        rs.apri(Istruzioni::ldvPerRiferimento(ldv.riferimento, ldv.dataRiferimento),
                m_imp.connessione);
        if (rs.numeroRighe() != 1 || rs.campo(QStringLiteral("lenrlv")).toString() != ldv.numero)
            throw std::runtime_error("the reference did not find its one waybill");
        return QStringLiteral("ok");
    });
}

void Postazione::salva()
{
    const Ldv &ldv = aCaso(m_daIncassare);
    if (!cercaRiferimento(ldv))
        return;
    const int id = Carico::idSalvataggio(m_imp.numero, ++m_salvataggi);
    const DatiIncasso dati = Carico::datiSalvataggio(
        id, ldv.numero, m_filiale, ldv.data.toString(QStringLiteral("dd/MM/yyyy")));
    const bool salvato = misura("salvataggio", [&] {
        const QString controllo = SalvataggioIncasso::controlla(dati);
        if (!controllo.isEmpty())
            throw std::runtime_error(controllo.toStdString());
        Connessione connessione(m_imp.connessione);
        connessione.apri();
        SalvataggioIncasso::salva(dati, connessione);
        connessione.chiudi();
        return QStringLiteral("ok");
    });
    if (salvato)
        riga(QStringLiteral("S|%1|%2|%3|%4").arg(id).arg(m_filiale, ldv.numero).arg(ldv.anno));
}

// The dialog opens its own connection and shows the first page of the customer's
// cash-on-delivery shipments; "Seleziona" on a row looks its waybill up by number and date.
void Postazione::listaEScelta()
{
    const QString cliente = QString::number(clienteACaso());
    QString numero;
    QDate data;
    const bool elencata = misura("lista", [&] {
        Connessione connessione(m_imp.connessione);
        connessione.apri();
        ModelloPaginato modello;
        modello.apri(connessione.database(),
                     IstruzioniRicerca::contrassegni(cliente, m_filiale, QString()));
        if (modello.rowCount() == 0)
            throw std::runtime_error("the customer's list is empty");
        const int r = int(m_caso.bounded(modello.rowCount()));
        numero = modello.data(modello.index(r, modello.colonna(QStringLiteral("Nr_LDV"))))
                     .toString()
                     .trimmed();
        data = modello.data(modello.index(r, modello.colonna(QStringLiteral("Data_LDV")))).toDate();
        modello.svuota();
        connessione.chiudi();
        return QStringLiteral("ok");
    });
    if (!elencata)
        return;
    misura("scelta", [&] {
        Recordset rs;
        rs.apri(Istruzioni::vistaPerNumero(numero, data), m_imp.connessione);
        if (rs.eof())
            throw std::runtime_error("the picked waybill was not found");
        return QStringLiteral("ok");
    });
}

// The customer, the collection code and the month of `ldv`, which waited for a remittance when the
// run began; the definitive posting, the letter's rows read as the print component
// reads them, the closing steps.
void Postazione::rimetti(const Ldv &ldv)
{
    RichiestaRimessa richiesta;
    richiesta.cliente = QString::number(ldv.cliente);
    richiesta.tipo = ldv.tipo;
    richiesta.dal = QDate(ldv.dataIncasso.year(), ldv.dataIncasso.month(), 1);
    richiesta.al = richiesta.dal.addMonths(1).addDays(-1);
    ++m_rimesseFatte;
    if (DatiLettera::conAssegno(richiesta.tipo)) {
        richiesta.assegno.riferimento =
            QStringLiteral("R%1-%2").arg(m_imp.numero).arg(m_rimesseFatte);
        richiesta.assegno.banca = QStringLiteral("Banca della postazione %1").arg(m_imp.numero);
        richiesta.assegno.importo = Importo::daCentesimi(10000 + m_rimesseFatte);
    }
    const TabellaLavoro tabella{NomeTabellaLavoro(QStringLiteral("Rimessa")), modelloTabella,
                                NomeComputer()};
    const qint64 inizio = QDateTime::currentMSecsSinceEpoch();
    misura("rimessa", [&] {
        Connessione connessione(m_imp.connessione);
        connessione.apri();
        RegistrazioneRimessa rimessa(connessione, richiesta);
        // The window's closing steps, whatever happens: the connection given back, then the work
        // table dropped and released.
        const auto passiFinali = qScopeGuard([&] {
            connessione.chiudi();
            rimessa.liberaTabellaLavoro();
        });
        try {
            if (!rimessa.seleziona())
                return QStringLiteral("vuota");
            rimessa.registra(tabella);
        } catch (const LdvRimesseNelFrattempo &) {
            return QStringLiteral("frattempo");
        }
        riga(QStringLiteral("R|%1|%2|%3|%4|%5|%6|%7|%8|%9|%10")
                 .arg(rimessa.numero(), rimessa.data().toString(Qt::ISODate), richiesta.cliente)
                 .arg(richiesta.tipo)
                 .arg(richiesta.dal.toString(Qt::ISODate), richiesta.al.toString(Qt::ISODate))
                 .arg(rimessa.selezionate())
                 .arg(campo(richiesta.assegno.riferimento), campo(richiesta.assegno.banca),
                      richiesta.assegno.importo.perSql()));
        m_rimesse << RimessaViva{rimessa.numero(), rimessa.data()};
        Recordset lettera;
        lettera.apri(rimessa.datiLettera().at(DatiLettera::Query), m_imp.connessione);
        if (lettera.numeroRighe() != rimessa.selezionate())
            throw std::runtime_error("the letter does not list the waybills posted");
        return QStringLiteral("registrata");
    });
    riga(QStringLiteral("C|%1|%2").arg(inizio).arg(QDateTime::currentMSecsSinceEpoch()));
}

// A remittance this station posted; with none, the operator looks a customer up instead.
void Postazione::annulla()
{
    if (m_rimesse.isEmpty()) {
        cercaCliente();
        return;
    }
    const int i = int(m_caso.bounded(m_rimesse.size()));
    const RimessaViva rimessa = m_rimesse.at(i);
    const bool annullata = misura("annullamento", [&] {
        Connessione connessione(m_imp.connessione);
        connessione.apri();
        AnnullamentoRimessa::annulla(rimessa.numero, rimessa.data, connessione);
        connessione.chiudi();
        return QStringLiteral("ok");
    });
    if (annullata) {
        m_rimesse.removeAt(i);
        riga(QStringLiteral("A|%1|%2").arg(rimessa.numero, rimessa.data.toString(Qt::ISODate)));
    }
}

} // namespace

int eseguiPostazione(const ImpostazioniPostazione &impostazioni)
{
    const QString atteso = Carico::nomeComputer(impostazioni.numero);
    if (NomeComputer() != atteso) {
        std::fprintf(stderr, "station %d: the computer is named %s, not %s\n", impostazioni.numero,
                     qPrintable(NomeComputer()), qPrintable(atteso));
        return 3;
    }
    try {
        Postazione postazione(impostazioni);
        postazione.carica();
        postazione.esegui();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "station %d: %s\n", impostazioni.numero, e.what());
        return 1;
    }
    return 0;
}
