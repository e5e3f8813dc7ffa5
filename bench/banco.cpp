#include "banco.h"

#include "stamparegistrata.h"

#include "collection/frmriscuti.h"
#include "collection/salvataggioincasso.h"
#include "data/connessione.h"
#include "data/importo.h"
#include "data/istruzioni.h"
#include "data/istruzioni_ricerca.h"
#include "data/sql.h"
#include "fields/campodata.h"
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"
#include "remittance/postazione.h"
#include "remittance/tabellalavoro.h"
#include "search/frmricercagia.h"
#include "search/modellopaginato.h"
#include "suite/RegistroComponenti.h"
#include "suite/creamodulistampa.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>
#include <QThread>

#include <stdexcept>

using Operatore::controllo;

namespace {

// The print component the INI file names: "ReportDoc" + this + ".cModuliStampa".
const QString identificativoStampa = QStringLiteral("Banco");
// The customer with the 50,000-row shipment list, and its branch.
const QString clienteLista = QStringLiteral("1001");
const QString filialeLista = QStringLiteral("01");
// How many statements of the bare posting share one round trip.
const int istruzioniPerBlocco = 2000;
// A bare multi-row insert stays well under the server's max_allowed_packet (16 MB).
const int byteInserimento = 4 * 1024 * 1024;

void verifica(bool condizione, const QString &cosa)
{
    if (!condizione)
        throw std::runtime_error(("check failed: " + cosa).toStdString());
}

QString testoData(const QDate &data)
{
    return data.toString(QStringLiteral("dd/MM/yyyy"));
}

// The digits an operator types into a masked date field.
QString cifreData(const QDate &data)
{
    return data.toString(QStringLiteral("ddMMyyyy"));
}

// "1234.50" as typed under it_IT.
QString importoDigitato(const QString &decimale)
{
    return QString(decimale).replace(QLatin1Char('.'), QLatin1Char(','));
}

// Whole numbers in the report, grouped the English way (the windows run under it_IT).
QString migliaia(qint64 n)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(n);
}

// The code of a customer taken in turn: spread over the whole register, the same at every run.
int clienteNumero(int i)
{
    return 1001 + int((qint64(i) * 7919) % 10000);
}

QString leggiCpu()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray &riga : info.readAll().split('\n')) {
            if (riga.startsWith("model name"))
                return QString::fromLatin1(riga.mid(riga.indexOf(':') + 1)).trimmed();
        }
    }
    return QStringLiteral("?");
}

QString leggiMemoriaTotale()
{
    QFile info(QStringLiteral("/proc/meminfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray &riga : info.readAll().split('\n')) {
            if (riga.startsWith("MemTotal:")) {
                const qint64 kb = riga.mid(9).trimmed().split(' ').value(0).toLongLong();
                return QStringLiteral("%1 GiB").arg(Misure::numero(kb / 1048576.0, 1));
            }
        }
    }
    return QStringLiteral("?");
}

} // namespace

Banco::Banco(const Impostazioni &impostazioni)
    : m_imp(impostazioni), m_nuda(impostazioni.socket, impostazioni.database),
      m_risposte([this] { return adesso(); })
{}

Banco::~Banco()
{
    m_risposte.azzera();
    m_host.reset();
    RegistroComponenti::rimuovi(IdProgrammaticoStampa(identificativoStampa));
}

void Banco::esegui()
{
    preparaAmbiente();
    const QVector<QPair<QString, void (Banco::*)()>> parti = {
        {QStringLiteral("aperture"), &Banco::aperture},
        {QStringLiteral("connessione"), &Banco::connessionePropria},
        {QStringLiteral("cliente"), &Banco::ricercaCliente},
        {QStringLiteral("riferimento"), &Banco::ricercaPerRiferimentoESalvataggio},
        {QStringLiteral("lista"), &Banco::elencoSpedizioni},
        {QStringLiteral("memoria"), &Banco::memoriaRicerche},
        {QStringLiteral("rimessa"), &Banco::rimesse},
    };
    for (const auto &parte : parti) {
        if (m_imp.scenari.isEmpty() || m_imp.scenari.contains(parte.first))
            (this->*parte.second)();
    }
}

// What a connection of its own costs: a new login, bare (open with the session settings every
// connection of the component gets, close), against the component's own opening of a connection
// from the same text while an idle one waits in its reserve (taken, checked, given back).
void Banco::connessionePropria()
{
    Risultato nuova;
    nuova.azione = QStringLiteral("A new connection, bare: open, session SET, close");
    nuova.obiettivo = Obiettivo::Nessuno;
    Risultato riserva;
    riserva.azione = QStringLiteral("A connection of the component's, its reserve warm: open, "
                                    "close");
    riserva.obiettivo = Obiettivo::Nessuno;
    const QString testo = testoConnessione(m_imp.socket, m_imp.database);
    for (int i = 0; i < m_imp.ripetizioni; ++i) {
        Cronometro c;
        {
            ConnessioneNuda propria(m_imp.socket, m_imp.database);
        }
        nuova.finestra.aggiungi(c.ms());
        Connessione componente(testo);
        Cronometro r;
        componente.apri();
        componente.chiudi();
        riserva.finestra.aggiungi(r.ms());
    }
    m_risultati.append(nuova);
    m_risultati.append(riserva);
}

// --- Setting up ----------------------------------------------------------------------------------

void Banco::preparaAmbiente()
{
    verifica(m_cartella.isValid(), QStringLiteral("a temporary folder"));
    const QString ini = m_cartella.filePath(QStringLiteral("riscuti-bench.ini"));
    QFile file(ini);
    verifica(file.open(QIODevice::WriteOnly), QStringLiteral("writing ") + ini);
    file.write(QStringLiteral("[DLLStampe]\nIdentificativoDll=%1\n\n[FRMBOLLCARICHIINT]\n"
                              "STRCREATABELLA=%2\n")
                   .arg(identificativoStampa, m_imp.modelloTabella)
                   .toUtf8());
    file.close();
    RegistroComponenti::registra(IdProgrammaticoStampa(identificativoStampa),
                                 [] { return new StampaRegistrata; });

    m_host = std::make_unique<cRiscuti>();
    m_host->setPercorsoDatabase(testoConnessione(m_imp.socket, m_imp.database));
    m_host->setPercorsoFileIni(ini);
    m_host->setPercorsoLogoIntestazione(QString());

    const QVariant generato =
        m_nuda.valore(QStringLiteral("SELECT ultimo_numero FROM bench_generazione"));
    verifica(generato.isValid(), QStringLiteral("the database holds a complete generated load"));
    m_ultimoGenerato = generato.toInt();
    m_tabellaLavoro = NomeTabellaLavoro(QStringLiteral("Rimessa"));
    m_oggi = QDate::currentDate();

    // What an interrupted run may have left: remittances numbered after the generated ones,
    // this station's work table.
    const int waybill =
        m_nuda
            .esegui(QStringLiteral("UPDATE letve00f SET LENDVC=0, LEDTVC=NULL, LEFLSC=0 "
                                   "WHERE LENDVC > %1")
                        .arg(m_ultimoGenerato))
            .numRowsAffected();
    const int record = m_nuda
                           .esegui(QStringLiteral("DELETE FROM contrassegni WHERE NrDistinta > %1")
                                       .arg(m_ultimoGenerato))
                           .numRowsAffected();
    m_nuda.esegui(QStringLiteral("DROP TABLE IF EXISTS ") + m_tabellaLavoro);
    if (waybill > 0 || record > 0)
        nota(QStringLiteral("An interrupted run had left a remittance posted: %1 waybills and %2 "
                            "records put back before starting.")
                 .arg(waybill)
                 .arg(record));

    for (const QVector<QVariant> &riga :
         m_nuda.righe(QStringLiteral("SELECT Codice, RagioneSociale FROM clien")))
        m_nomiClienti.insert(riga.at(0).toInt(), riga.at(1).toString());

    // The remittance: everything customer 1002 has collected with our cheque and not remitted.
    m_rimessaDal = QDate(2025, 1, 1);
    m_rimessaAl = QDate(2026, 12, 31);
    const QVector<QVector<QVariant>> totale = m_nuda.righe(
        QStringLiteral("SELECT COUNT(*), SUM(lecnss) FROM letve00f WHERE lecodi=%1 AND "
                       "leflic='%2' AND leflsc=0 AND lendvc=0 AND ledtin BETWEEN '%3' AND '%4'")
            .arg(clienteRimessa)
            .arg(tipoRimessa)
            .arg(Sql::data(m_rimessaDal), Sql::data(m_rimessaAl)));
    m_righeRimessa = totale.at(0).at(0).toInt();
    m_totaleRimessa = totale.at(0).at(1).toString();
    verifica(m_righeRimessa >= 10000,
             QStringLiteral("customer %1 has 10,000 waybills to remit (it has %2)")
                 .arg(clienteRimessa)
                 .arg(m_righeRimessa));
}

void Banco::attendiServerQuieto()
{
    QElapsedTimer attesa;
    attesa.start();
    while (attesa.elapsed() < 30000) {
        const QVector<QVector<QVariant>> stato =
            m_nuda.righe(QStringLiteral("SHOW GLOBAL STATUS LIKE 'Innodb_history_list_length'"));
        if (stato.isEmpty() || stato.first().value(1).toLongLong() < 100)
            return;
        QThread::msleep(50);
    }
}

void Banco::nessunMessaggio(const QString &dove)
{
    verifica(m_risposte.visti().isEmpty(),
             dove + QStringLiteral(": no message box (seen: %1)").arg(m_risposte.testi()));
}

namespace {

// Opens a window as the host does, after closing it as the host closes it (its exit button
// would first validate the focused field: frmRiscuti refuses an empty customer code with a
// message), and waits until it is active.
template <typename Finestra> QWidget *riapri(cRiscuti &host, void (cRiscuti::*mostra)())
{
    if (Finestra *aperta = Finestra::istanza(false))
        aperta->scarica();
    (host.*mostra)();
    Finestra *finestra = Finestra::istanza();
    Operatore::attendiAttiva(finestra);
    return finestra;
}

} // namespace

QWidget *Banco::apriRiscuti()
{
    return riapri<frmRiscuti>(*m_host, &cRiscuti::MostraRiscuti);
}

QWidget *Banco::apriRimessa()
{
    return riapri<frmRimessa>(*m_host, &cRiscuti::RimessaContrassegni);
}

QWidget *Banco::apriAnnulla()
{
    return riapri<frmAnnullaRimessa>(*m_host, &cRiscuti::AnnullaRimessaContrassegno);
}

void Banco::schermata(QWidget *finestra, const QString &nome) const
{
    if (m_imp.schermate.isEmpty())
        return;
    QDir().mkpath(m_imp.schermate);
    finestra->grab().save(QDir(m_imp.schermate).filePath(nome + QStringLiteral(".png")));
}

// --- Opening the windows ---------------------------------------------------------------------

// Cold: a process of its own for each opening (see aperturaAFreddo in main.cpp), so the window
// is built, loaded and painted for the first time. Warm: closed and shown again in this process.
void Banco::aperture()
{
    struct Finestra
    {
        QString nome;
        QString etichetta;
        std::function<FinestraLavoro *()> apri;
    };
    const QVector<Finestra> finestre = {
        {QStringLiteral("riscuti"), QStringLiteral("frmRiscuti"),
         [] { return frmRiscuti::istanza(); }},
        {QStringLiteral("rimessa"), QStringLiteral("frmRimessa"),
         [] { return frmRimessa::istanza(); }},
        {QStringLiteral("annulla"), QStringLiteral("frmAnnullaRimessa"),
         [] { return frmAnnullaRimessa::istanza(); }},
    };
    for (const Finestra &f : finestre) {
        Risultato freddo;
        freddo.azione =
            QStringLiteral("Open %1 cold (new process, to first paint)").arg(f.etichetta);
        for (int i = 0; i < m_imp.aperture; ++i) {
            QProcess figlio;
            figlio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            figlio.start(m_imp.eseguibile,
                         {QStringLiteral("--apertura"), f.nome, QStringLiteral("--socket"),
                          m_imp.socket, QStringLiteral("--database"), m_imp.database});
            verifica(figlio.waitForFinished(60000) && figlio.exitCode() == 0,
                     QStringLiteral("the cold opening of %1 ran").arg(f.etichetta));
            const QString uscita = QString::fromUtf8(figlio.readAllStandardOutput()).trimmed();
            bool numero = false;
            const double ms = uscita.section(QLatin1Char(' '), -1).toDouble(&numero);
            verifica(numero, QStringLiteral("the cold opening printed its time: ") + uscita);
            freddo.finestra.aggiungi(ms);
        }
        m_risultati.append(freddo);

        Risultato caldo;
        caldo.azione =
            QStringLiteral("Reopen %1 (closed, shown again, to first paint)").arg(f.etichetta);
        FinestraLavoro *finestra = f.apri();
        for (int i = 0; i < m_imp.ripetizioni; ++i) {
            finestra->scarica();
            Operatore::eventiInSospeso();
            OsservatoreDipinto dipinto(finestra);
            const double inizio = adesso();
            if (f.nome == QLatin1String("riscuti"))
                m_host->MostraRiscuti();
            else if (f.nome == QLatin1String("rimessa"))
                m_host->RimessaContrassegni();
            else
                m_host->AnnullaRimessaContrassegno();
            verifica(dipinto.attendi(5000), f.etichetta + QStringLiteral(" painted"));
            caldo.finestra.aggiungi(adesso() - inizio);
        }
        nessunMessaggio(caldo.azione);
        schermata(finestra, f.etichetta);
        finestra->scarica();
        m_risultati.append(caldo);
    }
}

// --- Customer lookup ---------------------------------------------------------------------------

// Type the code into txtCodiceCli and leave it: the window looks the customer up on a connection
// of its own and shows the name. The collection window locks the code once found, so each
// sample opens the window afresh (not timed).
void Banco::ricercaCliente()
{
    Risultato r;
    r.azione = QStringLiteral("Customer lookup: type the code, leave txtCodiceCli (frmRiscuti)");
    Serie gestore; // until the key's handling returned: the lookup done, the name set
    for (int i = 0; i < m_imp.ripetizioni; ++i) {
        const QString codice = QString::number(clienteNumero(i));
        const auto nuda = [&] {
            Cronometro c;
            QSqlQuery query = m_nuda.esegui(Istruzioni::nomeCliente(codice));
            verifica(query.next(), QStringLiteral("customer %1 exists").arg(codice));
            const QString nome = query.value(0).toString();
            r.limite.aggiungi(c.ms());
            verifica(nome == m_nomiClienti.value(codice.toInt()), QStringLiteral("bare name"));
        };
        if (i % 2)
            nuda();

        QWidget *finestra = apriRiscuti();
        auto *txtCodiceCli = controllo<QLineEdit>(finestra, "txtCodiceCli");
        Operatore::scrivi(txtCodiceCli, codice);
        Cronometro c;
        QTest::keyClick(txtCodiceCli, Qt::Key_Tab);
        gestore.aggiungi(c.ms());
        Operatore::eventiInSospeso();
        r.finestra.aggiungi(c.ms());
        verifica(controllo<QLabel>(finestra, "barCliente")->text() ==
                     m_nomiClienti.value(codice.toInt()),
                 QStringLiteral("frmRiscuti shows the name of customer ") + codice);
        verifica(txtCodiceCli->isReadOnly(), QStringLiteral("the customer code is locked"));
        nessunMessaggio(r.azione);

        if (i % 2 == 0)
            nuda();
    }
    r.nota = QStringLiteral("Of the median, %1 ms until the name is set (the lookup on a "
                            "connection from the reserve and the clearing), the rest the events it "
                            "leaves: the focus moved on, the window repainted.")
                 .arg(Misure::numero(gestore.mediana()));
    m_risultati.append(r);
}

// --- Lookup by reference, and the save of the collection
// -------------------------------------------

namespace {

struct LdvDiProva
{
    QString riferimento;
    QDate dataRiferimento;
    QString numero;
    QString filiale;
    QDate data;
    QString cliente;
    QString contrassegno;
    QString anticipata;
    QString porto;
};

// What frmRiscuti's save reads from its fields, read the same way here for the bare statements.
DatiIncasso datiDellaFinestra(QWidget *f)
{
    const auto codice = [](QComboBox *lista) {
        return lista->currentIndex() < 0 ? -1 : lista->currentData().toInt();
    };
    const auto gruppo = [&](const char *importo, const char *lista, const char *casella) {
        GruppoIncasso g;
        g.importo = controllo<QLineEdit>(f, importo)->text();
        g.testoCodice = controllo<QComboBox>(f, lista)->currentText();
        g.codice = codice(controllo<QComboBox>(f, lista));
        g.inviato = controllo<QCheckBox>(f, casella)->isChecked();
        return g;
    };
    DatiIncasso d;
    d.numeroLdv = controllo<QLineEdit>(f, "txtLDV")->text();
    d.filiale = controllo<QLineEdit>(f, "txtFiliale")->text();
    d.dataLdv = CampoData::testo(controllo<QLineEdit>(f, "txtDataLdv"));
    d.filialeIncasso = controllo<QLineEdit>(f, "txtFilInc")->text();
    d.banca = controllo<QLineEdit>(f, "txtBanca")->text();
    d.testoIncassoCon = controllo<QComboBox>(f, "cmbIncassoCon")->currentText();
    d.incassoCon = codice(controllo<QComboBox>(f, "cmbIncassoCon"));
    d.nrAssegno = controllo<QLineEdit>(f, "txtNrAssegno")->text();
    d.piazza = controllo<QLineEdit>(f, "txtPiazza")->text();
    d.contrassegno = gruppo("txtIncContrassegno", "cmbCodIncContr", "chkInvioContr");
    d.anticipata = gruppo("txtIncAnticipata", "cmbCodIncAnt", "chkInvioAnticipata");
    d.assegnato = gruppo("txtIncAssegnato", "cmbCodIncAssegnato", "chkInvioAssegnato");
    d.dataIncasso = CampoData::testo(controllo<QLineEdit>(f, "txtDataInc"));
    d.passaggioContabile = controllo<QCheckBox>(f, "chkPassCont")->isChecked();
    return d;
}

} // namespace

// Waybills with all three amounts due, so that the save runs all sixteen updates; not of the
// customers of the list and of the remittance, whose rows the other actions count on. Each save
// writes the same values at every run. Each is looked
// up by its reference (type reference and date, leave txtDataRif), then collected: the advance
// and freight-collect groups unlocked by a click on their amounts, a banker's draft with its
// details, the three amounts with their codes, cmdSalva, the success box answered.
void Banco::ricercaPerRiferimentoESalvataggio()
{
    QVector<LdvDiProva> ldv;
    for (const QVector<QVariant> &riga :
         m_nuda.righe(QStringLiteral(
                          "SELECT lerife, lerifd, lenrlv, lefili, ledtlv, lecodi, lecnss, leanpc, "
                          "leimpa FROM letve00f WHERE lecnss > 0 AND leanpc > 0 AND leimpa > 0 "
                          "AND lecodi NOT IN (%1, %2) ORDER BY CRC32(lenrlv), lefili LIMIT %3")
                          .arg(clienteLista)
                          .arg(clienteRimessa)
                          .arg(m_imp.ripetizioni)))
        ldv.append({riga.at(0).toString(), riga.at(1).toDate(), riga.at(2).toString(),
                    riga.at(3).toString(), riga.at(4).toDate(), riga.at(5).toString(),
                    riga.at(6).toString(), riga.at(7).toString(), riga.at(8).toString()});
    verifica(ldv.size() == m_imp.ripetizioni, QStringLiteral("enough waybills to collect"));

    Risultato ricerca;
    ricerca.azione =
        QStringLiteral("Lookup by reference: type reference and date, leave txtDataRif");
    Risultato salva;
    salva.azione = QStringLiteral("Save a collection, 16 updates: cmdSalva to the success box");
    Serie cicloSalva;     // the click's whole handler: the box answered at once, the window cleared
    Serie gestoreRicerca; // until the key's handling returned: the waybill looked up and shown

    QWidget *f = apriRiscuti();
    Operatore::scrivi(controllo<QLineEdit>(f, "txtCodiceCli"), ldv.first().cliente);
    Operatore::tab(controllo<QLineEdit>(f, "txtCodiceCli"));
    verifica(!controllo<QLabel>(f, "barCliente")->text().isEmpty(),
             QStringLiteral("customer found"));

    auto *txtRiferimento = controllo<QLineEdit>(f, "txtRiferimento");
    auto *txtDataRif = controllo<QLineEdit>(f, "txtDataRif");
    for (int i = 0; i < ldv.size(); ++i) {
        const LdvDiProva &l = ldv.at(i);
        const QString istruzione = Istruzioni::ldvPerRiferimento(l.riferimento, l.dataRiferimento);
        const auto ricercaNuda = [&] {
            Cronometro c;
            QSqlQuery query = m_nuda.esegui(istruzione);
            verifica(query.next(), QStringLiteral("the waybill of ") + l.riferimento);
            const int campi = query.record().count();
            for (int k = 0; k < campi; ++k)
                query.value(k);
            ricerca.limite.aggiungi(c.ms());
        };
        if (i % 2)
            ricercaNuda();
        Operatore::scrivi(txtRiferimento, l.riferimento);
        Operatore::scriviData(txtDataRif, cifreData(l.dataRiferimento));
        Cronometro c;
        QTest::keyClick(txtDataRif, Qt::Key_Tab);
        gestoreRicerca.aggiungi(c.ms());
        Operatore::eventiInSospeso();
        ricerca.finestra.aggiungi(c.ms());
        verifica(controllo<QLineEdit>(f, "txtLDV")->text() == l.numero &&
                     controllo<QLineEdit>(f, "txtFiliale")->text() == l.filiale,
                 QStringLiteral("frmRiscuti shows waybill %1/%2 of %3 %4 (it shows %5/%6, "
                                "reference %7 %8)")
                     .arg(l.filiale, l.numero, l.riferimento, testoData(l.dataRiferimento),
                          controllo<QLineEdit>(f, "txtFiliale")->text(),
                          controllo<QLineEdit>(f, "txtLDV")->text(), txtRiferimento->text(),
                          CampoData::testo(txtDataRif)));
        nessunMessaggio(ricerca.azione);
        if (i % 2 == 0)
            ricercaNuda();
        if (i == 0)
            schermata(f, QStringLiteral("frmRiscuti-ldv"));

        // The collection.
        Operatore::clic(controllo<QLabel>(f, "lblImpAnt"));
        Operatore::clic(controllo<QLabel>(f, "lblImpAssegnato"));
        verifica(controllo<QLineEdit>(f, "txtIncAnticipata")->isEnabled() &&
                     controllo<QLineEdit>(f, "txtIncAssegnato")->isEnabled() &&
                     controllo<QLineEdit>(f, "txtIncContrassegno")->isEnabled(),
                 QStringLiteral("the three collection groups unlocked"));
        Operatore::scegli(controllo<QComboBox>(f, "cmbIncassoCon"), 1); // Assegno Circolare
        Operatore::scrivi(controllo<QLineEdit>(f, "txtBanca"),
                          QStringLiteral("Banca Popolare di Sondrio"));
        Operatore::scrivi(controllo<QLineEdit>(f, "txtNrAssegno"),
                          QStringLiteral("%1").arg(7000000 + i, 10, 10, QLatin1Char('0')));
        Operatore::scrivi(controllo<QLineEdit>(f, "txtPiazza"), QStringLiteral("Sondrio"));
        Operatore::scrivi(controllo<QLineEdit>(f, "txtIncContrassegno"),
                          importoDigitato(l.contrassegno));
        Operatore::scegli(controllo<QComboBox>(f, "cmbCodIncContr"), 1 + i % 4);
        Operatore::scrivi(controllo<QLineEdit>(f, "txtIncAnticipata"),
                          importoDigitato(l.anticipata));
        Operatore::scegli(controllo<QComboBox>(f, "cmbCodIncAnt"), 1);
        Operatore::scrivi(controllo<QLineEdit>(f, "txtIncAssegnato"), importoDigitato(l.porto));
        Operatore::scegli(controllo<QComboBox>(f, "cmbCodIncAssegnato"), 1);
        if (i == 0)
            schermata(f, QStringLiteral("frmRiscuti-incasso"));

        const QStringList aggiornamenti = SalvataggioIncasso::istruzioni(datiDellaFinestra(f));
        verifica(aggiornamenti.size() == 16, QStringLiteral("the save runs sixteen updates"));
        const auto salvaNudo = [&] {
            Cronometro c;
            QSqlDatabase db = m_nuda.database();
            verifica(db.transaction(), QStringLiteral("begin"));
            m_nuda.eseguiInBlocco(aggiornamenti.join(QLatin1Char('\n')));
            verifica(db.commit(), QStringLiteral("commit"));
            salva.limite.aggiungi(c.ms());
        };
        if (i % 2)
            salvaNudo();
        m_risposte.azzera();
        m_risposte.rispondi({QMessageBox::Ok});
        const double inizioSalva = adesso();
        Operatore::clic(controllo<QPushButton>(f, "cmdSalva"));
        cicloSalva.aggiungi(adesso() - inizioSalva);
        if (!m_risposte.visti().isEmpty())
            salva.finestra.aggiungi(m_risposte.visti().first().istanteMs - inizioSalva);
        verifica(
            m_risposte.visti().size() == 1 &&
                m_risposte.visti().first().testo ==
                    QLatin1String("Salvataggio effettuato correttamente."),
            QStringLiteral("the save confirmed (%1)")
                .arg(m_risposte.visti().isEmpty() ? QString() : m_risposte.visti().first().testo));
        m_risposte.azzera();
        if (i % 2 == 0)
            salvaNudo();

        const QVector<QVector<QVariant>> scritto = m_nuda.righe(
            QStringLiteral("SELECT leimcs, leimap, leinpa, letpin, lenras FROM letve00f WHERE "
                           "lefili='%1' AND lenrlv='%2' AND leanlv=%3")
                .arg(l.filiale, l.numero)
                .arg(l.data.year()));
        verifica(scritto.size() == 1 && scritto[0][0].toString() == l.contrassegno &&
                     scritto[0][1].toString() == l.anticipata &&
                     scritto[0][2].toString() == l.porto && scritto[0][3].toString() == "2" &&
                     scritto[0][4].toString() ==
                         QStringLiteral("%1").arg(7000000 + i, 10, 10, QLatin1Char('0')),
                 QStringLiteral("waybill %1 holds the saved collection").arg(l.numero));
    }
    salva.nota =
        QStringLiteral(
            "Timed until the success box is on screen. The window sends the sixteen updates in one "
            "round trip inside its transaction, on a connection taken from the reserve; the bound "
            "sends the same text bare, begin and commit around it. With the box "
            "answered at once and the window cleared, the whole click took %1 ms (median).")
            .arg(Misure::numero(cicloSalva.mediana()));
    ricerca.nota =
        QStringLiteral("Of the median, %1 ms until the waybill is in the fields (the "
                       "lookup on a connection from the reserve, the clearing and the fill), "
                       "the rest the repaint.")
            .arg(Misure::numero(gestoreRicerca.mediana()));
    m_risultati.append(ricerca);
    m_risultati.append(salva);
}

// --- The 50,000-row shipment list ----------------------------------------------------------------

// F12 in txtRiferimento opens frmRicercaGia on the customer's cash-on-delivery rows. Timed: F12
// to the first rows painted in Griglia; Ctrl+End until the last row is current and painted;
// "&Seleziona" on it until frmRiscuti shows that waybill.
void Banco::elencoSpedizioni()
{
    Risultato prime;
    prime.azione = QStringLiteral("Shipment list of customer 1001: F12 to first rows painted");
    prime.obiettivo = Obiettivo::PrimeRighe;
    Risultato conteggio;
    conteggio.azione =
        QStringLiteral("Shipment list: F12 to the rows counted (in the background)");
    conteggio.obiettivo = Obiettivo::Nessuno;
    Risultato scorri;
    scorri.azione = QStringLiteral("Shipment list: Ctrl+End until the last row is shown");
    scorri.obiettivo = Obiettivo::PrimeRighe;
    Risultato scelta;
    scelta.azione = QStringLiteral("Shipment list: Seleziona on the last row to waybill shown");

    const IstruzioniRicerca::ListaRicerca lista =
        IstruzioniRicerca::contrassegni(clienteLista, filialeLista, QString());
    // Every row of the list, counted by the server: what the grid must reach.
    const int righeLista = m_nuda
                               .valore(QStringLiteral("SELECT COUNT(*) FROM vdaticontrassegni "
                                                      "WHERE lecodi=%1 AND lefili='%2'")
                                           .arg(clienteLista, filialeLista))
                               .toInt();
    QWidget *f = apriRiscuti();
    Operatore::scrivi(controllo<QLineEdit>(f, "txtCodiceCli"), clienteLista);
    Operatore::tab(controllo<QLineEdit>(f, "txtCodiceCli"));
    verifica(!controllo<QLabel>(f, "barCliente")->text().isEmpty(),
             QStringLiteral("customer 1001"));
    auto *txtRiferimento = controllo<QLineEdit>(f, "txtRiferimento");

    frmRicercaGia *dialogo = frmRicercaGia::istanza();
    auto *griglia = controllo<QTableView>(dialogo, "Griglia");
    int righeNude = 0;
    QString ultimoNudo;
    int pressioni = 0;
    int righeViste = 0;
    int primeRigheViste = 0;

    for (int i = 0; i < m_imp.ripetizioniLista; ++i) {
        // Bare: the statements the grid's model sends, every value of every row read: the count
        // and the first page on opening, the last page read backwards on Ctrl+End.
        const auto nuda = [&] {
            const auto pagina = [&](bool inversa) {
                QSqlQuery query = m_nuda.esegui(IstruzioniRicerca::pagina(
                    lista, {}, ModelloPaginato::righePerPagina, inversa));
                const int colonne = query.record().count();
                for (int riga = 0; query.next(); ++riga) {
                    for (int k = 0; k < colonne; ++k)
                        query.value(k);
                    if (inversa && riga == 0)
                        ultimoNudo = query.value(9).toString().trimmed();
                }
            };
            Cronometro c;
            pagina(false);
            prime.limite.aggiungi(c.ms());
            Cronometro conta;
            QSqlQuery righe = m_nuda.esegui(IstruzioniRicerca::conteggio(lista));
            righeNude = righe.next() ? righe.value(0).toInt() : -1;
            conteggio.limite.aggiungi(conta.ms());
            Cronometro fondo;
            pagina(true);
            scorri.limite.aggiungi(fondo.ms());
        };
        if (i % 2)
            nuda();

        Operatore::svuota(txtRiferimento);
        double inizio = 0;
        double primeRighe = -1;
        double fineScorrimento = 0;
        double contate = 0;
        double inizioScelta = 0;
        QString ultimoNumero;
        OsservatoreDipinto dipinto(griglia->viewport(), [&] {
            return griglia->model() && griglia->model()->rowCount() > 0;
        });
        dipinto.dopo = [&] {
            primeRighe = adesso() - inizio;
            if (auto *paginato = qobject_cast<ModelloPaginato *>(griglia->model()))
                primeRigheViste = paginato->pagineLette() * ModelloPaginato::righePerPagina;
            if (i == 0)
                schermata(dialogo, QStringLiteral("frmRicercaGia-prime-righe"));
            QAbstractItemModel *modello = griglia->model();
            // The operator reads the first rows while the list is counted.
            while (modello->canFetchMore(QModelIndex()))
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            contate = adesso() - inizio;
            griglia->setFocus(Qt::OtherFocusReason);
            const double inizioScorrimento = adesso();
            pressioni = 0;
            while (modello->canFetchMore(QModelIndex()) ||
                   griglia->currentIndex().row() != modello->rowCount() - 1) {
                QTest::keyClick(griglia, Qt::Key_End, Qt::ControlModifier);
                QCoreApplication::processEvents();
                if (++pressioni > 100000)
                    break;
            }
            griglia->viewport()->repaint();
            fineScorrimento = adesso() - inizioScorrimento;
            righeViste = modello->rowCount();
            ultimoNumero = modello->index(righeViste - 1, 9).data().toString().trimmed();
            if (i == 0)
                schermata(dialogo, QStringLiteral("frmRicercaGia-fine"));
            inizioScelta = adesso();
            Operatore::clic(controllo<QPushButton>(dialogo, "cmdSeleziona"));
        };
        // A list that never shows rows must not hang the run: the dialog is left with Esc.
        QTimer scadenza;
        scadenza.setSingleShot(true);
        QObject::connect(&scadenza, &QTimer::timeout, dialogo, [dialogo] {
            if (dialogo->isVisible())
                QTest::keyClick(dialogo, Qt::Key_Escape);
        });
        scadenza.start(120000);

        inizio = adesso();
        QTest::keyClick(txtRiferimento, Qt::Key_F12);
        const double fine = adesso();
        scadenza.stop();
        verifica(primeRighe >= 0, QStringLiteral("the shipment list showed rows"));
        nessunMessaggio(prime.azione);
        prime.finestra.aggiungi(primeRighe);
        conteggio.finestra.aggiungi(contate);
        scorri.finestra.aggiungi(fineScorrimento);
        scelta.finestra.aggiungi(fine - inizioScelta);
        verifica(controllo<QLineEdit>(f, "txtLDV")->text() == ultimoNumero,
                 QStringLiteral("frmRiscuti shows the waybill picked on the last row"));
        if (i == 0)
            schermata(f, QStringLiteral("frmRiscuti-scelta"));

        // The pick's own statement, bare.
        const QString vista = Istruzioni::vistaPerNumero(
            ultimoNumero, QDate::fromString(CampoData::testo(controllo<QLineEdit>(f, "txtDataLdv")),
                                            QStringLiteral("dd/MM/yyyy")));
        Cronometro c;
        QSqlQuery query = m_nuda.esegui(vista);
        verifica(query.next(), QStringLiteral("the picked waybill in the view"));
        for (int k = 0; k < query.record().count(); ++k)
            query.value(k);
        scelta.limite.aggiungi(c.ms());

        if (i % 2 == 0)
            nuda();
        verifica(righeViste == righeLista && righeNude == righeLista && righeLista >= 50000,
                 QStringLiteral("the grid covers all %1 rows (it shows %2, bare count %3)")
                     .arg(righeLista)
                     .arg(righeViste)
                     .arg(righeNude));
        verifica(ultimoNumero == ultimoNudo,
                 QStringLiteral("the grid's last row is the list's last (%1, bare %2)")
                     .arg(ultimoNumero, ultimoNudo));
    }
    prime.nota =
        QStringLiteral(
            "%1 rows. The window's time includes opening the dialog's own connection, running the "
            "first page's statement and painting; the grid's model reads the list a page at a "
            "time (it had read %2 rows at its first paint) and counts the list meanwhile on a "
            "connection of its own, in a thread (next line). The bound is the first page's "
            "statement with its rows.")
            .arg(migliaia(righeLista), migliaia(primeRigheViste));
    conteggio.nota =
        QStringLiteral("From F12 until the grid has the count and its scroll bar covers the whole "
                       "list; the first rows are on screen and the grid answers meanwhile. The "
                       "bound is the count's statement bare.");
    scorri.nota =
        QStringLiteral("%1 press(es) of Ctrl+End: the grid reads the list's last page from its "
                       "end (one statement, the order reversed) and moves to the last row; the "
                       "rows between stay unread until they are scrolled to. The lower bound "
                       "sends the same statement bare.")
            .arg(pressioni);
    m_risultati.append(prime);
    m_risultati.append(conteggio);
    m_risultati.append(scorri);
    m_risultati.append(scelta);
}

// --- 1,000 customer lookups: time and memory -----------------------------------------------------

void Banco::memoriaRicerche()
{
    Risultato r;
    r.azione = QStringLiteral("Customer lookup, %1 in a row (frmRimessa)")
                   .arg(migliaia(m_imp.ricercheMemoria));
    QWidget *f = apriRimessa();
    auto *txtCodiceCli = controllo<QLineEdit>(f, "txtCodiceCli");
    auto *barCliente = controllo<QLabel>(f, "barCliente");
    const int connessioni = QSqlDatabase::connectionNames().size();
    QVector<qint64> residente;
    qint64 residenteDopoAvvio = 0;
    const int avvio = qMin(100, m_imp.ricercheMemoria / 10);
    for (int i = 0; i < m_imp.ricercheMemoria; ++i) {
        const QString codice = QString::number(clienteNumero(i + 500));
        Operatore::scrivi(txtCodiceCli, codice);
        Cronometro c;
        Operatore::tab(txtCodiceCli);
        r.finestra.aggiungi(c.ms());
        verifica(barCliente->text() == m_nomiClienti.value(codice.toInt()),
                 QStringLiteral("frmRimessa shows the name of customer ") + codice);
        nessunMessaggio(r.azione);
        if (i % 10 == 0) {
            Cronometro n;
            QSqlQuery query = m_nuda.esegui(Istruzioni::nomeCliente(codice));
            query.next();
            query.value(0);
            r.limite.aggiungi(n.ms());
        }
        if (i + 1 == avvio)
            residenteDopoAvvio = Misure::memoriaResidenteKb();
        if ((i + 1) % 100 == 0)
            residente.append(Misure::memoriaResidenteKb());
    }
    const qint64 residenteFine = Misure::memoriaResidenteKb();
    const qint64 crescita = residenteFine - residenteDopoAvvio;
    QStringList campioni;
    for (qint64 kb : residente)
        campioni << QString::number(kb / 1024.0, 'f', 1);
    const bool cresce = crescita > 1024;
    m_memoria << QStringLiteral("Resident memory across %1 customer lookups in frmRimessa, every "
                                "100 (MiB): %2.")
                     .arg(migliaia(m_imp.ricercheMemoria))
                     .arg(campioni.join(QStringLiteral(", ")))
              << QStringLiteral(
                     "From lookup %1 to lookup %2 it changed by %3 kB (%4 bytes per "
                     "lookup): %5. Connections held by QtSql before and after: %6 and %7.")
                     .arg(avvio)
                     .arg(migliaia(m_imp.ricercheMemoria))
                     .arg(crescita)
                     .arg(Misure::numero(crescita * 1024.0 / (m_imp.ricercheMemoria - avvio), 0))
                     .arg(cresce ? QStringLiteral("**it grows**") : QStringLiteral("no growth"))
                     .arg(connessioni)
                     .arg(QSqlDatabase::connectionNames().size());
    r.nota = QStringLiteral("Bound measured on every tenth lookup.");
    m_risultati.append(r);
}

// --- The 10,000-waybill remittance and its cancellation ------------------------------------------

void Banco::rimesse()
{
    Risultato rimessa;
    rimessa.azione = QStringLiteral("Definitive remittance of %1 waybills, type 3 (click to window "
                                    "empty)")
                         .arg(migliaia(m_righeRimessa));
    rimessa.obiettivo = Obiettivo::Massiva;
    Risultato annullamento;
    annullamento.azione = QStringLiteral("Cancel that remittance: question answered, to the "
                                         "success box");
    annullamento.obiettivo = Obiettivo::Massiva;
    for (int i = 0; i < m_imp.ripetizioniRimessa; ++i) {
        if (i % 2) {
            rimessaNuda(rimessa, annullamento);
            rimessaDaFinestra(rimessa, annullamento);
        } else {
            rimessaDaFinestra(rimessa, annullamento);
            rimessaNuda(rimessa, annullamento);
        }
    }
    rimessa.nota += QLatin1Char(' ') + m_dettaglioNudo + QLatin1Char(' ') + rimessaRigaPerRiga() +
                    QStringLiteral(" Each run in ms, window: %1; bound: %2.")
                        .arg(rimessa.finestra.elenco(), rimessa.limite.elenco());
    annullamento.nota = QStringLiteral("Each run in ms, window: %1; bound: %2.")
                            .arg(annullamento.finestra.elenco(), annullamento.limite.elenco());
    m_risultati.append(rimessa);
    m_risultati.append(annullamento);
}

QString Banco::rimessaRigaPerRiga()
{
    const QString tabella = m_tabellaLavoro;
    const Istruzioni::DatiAssegno assegno{QStringLiteral("Assegno n. 0000098765"),
                                          QStringLiteral("Banco BPM - Milano Sede"),
                                          Importo::daDatabase(m_totaleRimessa).value_or(Importo())};
    attendiServerQuieto();
    Cronometro totale;
    QSqlQuery selezione = m_nuda.esegui(Istruzioni::selezioneRimessa(
        tipoRimessa, m_rimessaDal, m_rimessaAl, QString::number(clienteRimessa)));
    const QSqlRecord struttura = selezione.record();
    QStringList colonne;
    for (int k = 0; k < struttura.count(); ++k)
        colonne << struttura.fieldName(k);
    QVector<QVariantList> righe;
    QVector<Istruzioni::ChiaveRimessa> chiavi;
    while (selezione.next()) {
        QVariantList valori;
        for (int k = 0; k < colonne.size(); ++k)
            valori << selezione.value(k);
        righe.append(valori);
        chiavi.append({selezione.value(QStringLiteral("lefili")).toString(),
                       selezione.value(QStringLiteral("lenrlv")).toString(),
                       selezione.value(QStringLiteral("leanlv")).toString()});
    }
    m_nuda.esegui(IstruzioneCreaTabella(Impostazioni().modelloTabella, tabella,
                                        QStringLiteral("vdaticontrassegni")));
    Cronometro copia;
    for (const QVariantList &valori : righe)
        m_nuda.esegui(Istruzioni::inserisciRiga(tabella, colonne, valori));
    const double msCopia = copia.ms();

    Cronometro registrazione;
    QSqlDatabase db = m_nuda.database();
    verifica(db.transaction(), QStringLiteral("begin"));
    const QString numero =
        QString::number(m_nuda.valore(Istruzioni::leggiUltimoNumero()).toInt() + 1);
    m_nuda.esegui(Istruzioni::scriviUltimoNumero(numero));
    for (const Istruzioni::ChiaveRimessa &chiave : chiavi) {
        m_nuda.esegui(
            Istruzioni::timbraRimessa(QStringLiteral("letve00f"), numero, m_oggi, chiave));
        m_nuda.esegui(Istruzioni::timbraRimessa(tabella, numero, m_oggi, chiave));
        m_nuda.esegui(Istruzioni::inserisciContrassegno(numero, m_oggi, assegno));
        m_nuda.esegui(
            Istruzioni::timbraAssegnoTabellaLavoro(tabella, numero, m_oggi, assegno, chiave));
    }
    for (const Istruzioni::ChiaveRimessa &chiave : chiavi)
        m_nuda.esegui(Istruzioni::segnaInviato(chiave));
    verifica(db.commit(), QStringLiteral("commit"));
    const double msRegistrazione = registrazione.ms();
    m_nuda.esegui(Istruzioni::eliminaTabella(tabella));
    const double msTotale = totale.ms();
    controllaRimessa(numero.toInt(), tabella);
    m_nuda.eseguiInBlocco(
        QStringLiteral("START TRANSACTION;") + Istruzioni::annullaRimessaLdv(numero, m_oggi) +
        Istruzioni::eliminaContrassegni(numero, m_oggi) + QStringLiteral("COMMIT;"));
    controllaAnnullamento(numero.toInt());
    return QStringLiteral("The same statements bare but one per round trip took %1 ms: %2 ms for "
                          "the %3 single-row inserts (each its own transaction), %4 ms for the "
                          "posting transaction.")
        .arg(Misure::numero(msTotale, 0), Misure::numero(msCopia, 0), migliaia(chiavi.size()),
             Misure::numero(msRegistrazione, 0));
}

void Banco::controllaRimessa(int numero, const QString &tabella) const
{
    ConnessioneNuda &db = m_nuda;
    verifica(
        db.valore(QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f")).toInt() ==
            numero,
        QStringLiteral("the last number is %1").arg(numero));
    verifica(
        db.valore(QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc=%1 AND ledtvc='%2' "
                                 "AND leflsc=1 AND lecodi=%3")
                      .arg(numero)
                      .arg(Sql::data(m_oggi))
                      .arg(clienteRimessa))
                .toInt() == m_righeRimessa,
        QStringLiteral("every waybill stamped with remittance %1 and sent").arg(numero));
    verifica(db.valore(QStringLiteral("SELECT COUNT(*) FROM contrassegni WHERE NrDistinta=%1 AND "
                                      "DataDistinta='%2'")
                           .arg(numero)
                           .arg(Sql::data(m_oggi)))
                     .toInt() == m_righeRimessa,
             QStringLiteral("one contrassegni row per waybill of remittance %1").arg(numero));
    verifica(db.valore(QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE "
                                      "table_schema=DATABASE() AND table_name='%1'")
                           .arg(tabella.toLower()))
                     .toInt() == 0,
             QStringLiteral("the work table dropped"));
}

void Banco::controllaAnnullamento(int numero) const
{
    ConnessioneNuda &db = m_nuda;
    verifica(db.valore(QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc=%1").arg(numero))
                     .toInt() == 0,
             QStringLiteral("no waybill left in remittance %1").arg(numero));
    verifica(
        db.valore(
              QStringLiteral("SELECT COUNT(*) FROM contrassegni WHERE NrDistinta=%1").arg(numero))
                .toInt() == 0,
        QStringLiteral("no record left of remittance %1").arg(numero));
    verifica(db.valore(Istruzioni::selezioneRimessa(tipoRimessa, m_rimessaDal, m_rimessaAl,
                                                    QString::number(clienteRimessa))
                           .replace(QStringLiteral("SELECT *"), QStringLiteral("SELECT COUNT(*)")))
                     .toInt() == m_righeRimessa,
             QStringLiteral("the waybills can be remitted again"));
}

void Banco::rimessaDaFinestra(Risultato &rimessa, Risultato &annullamento)
{
    QWidget *f = apriRimessa();
    auto *txtCodiceCli = controllo<QLineEdit>(f, "txtCodiceCli");
    Operatore::scrivi(txtCodiceCli, QString::number(clienteRimessa));
    Operatore::tab(txtCodiceCli);
    verifica(controllo<QLabel>(f, "barCliente")->text() == m_nomiClienti.value(clienteRimessa),
             QStringLiteral("frmRimessa shows customer 1002"));
    Operatore::scegli(controllo<QComboBox>(f, "cmbCodInc"), tipoRimessa);
    verifica(controllo<QGroupBox>(f, "fraDatiAssegno")->isEnabled(),
             QStringLiteral("our cheque's data enabled"));
    Operatore::scriviData(controllo<QLineEdit>(f, "txtDataDa"), cifreData(m_rimessaDal));
    Operatore::scriviData(controllo<QLineEdit>(f, "txtDataAl"), cifreData(m_rimessaAl));
    Operatore::scrivi(controllo<QLineEdit>(f, "txtRiferimento"),
                      QStringLiteral("Assegno n. 0000098765"));
    Operatore::scrivi(controllo<QLineEdit>(f, "txtBanca"),
                      QStringLiteral("Banco BPM - Milano Sede"));
    Operatore::scrivi(controllo<QLineEdit>(f, "txtImportoAss"), importoDigitato(m_totaleRimessa));
    schermata(f, QStringLiteral("frmRimessa"));

    attendiServerQuieto();
    StampaRegistrata::registro() = {};
    double stampa = 0;
    StampaRegistrata::allaStampa() = [&] { stampa = adesso(); };
    m_risposte.azzera();
    m_risposte.rispondi({QMessageBox::Yes});
    const double inizio = adesso();
    Operatore::clic(controllo<QPushButton>(f, "cmdRimessa"));
    const double fine = adesso();
    StampaRegistrata::allaStampa() = nullptr;
    rimessa.finestra.aggiungi(fine - inizio);

    const QList<Risponditore::Visto> visti = m_risposte.visti();
    m_risposte.azzera();
    verifica(visti.size() == 1 &&
                 visti.first().testo ==
                     QLatin1String("Effettuare la stampa definitiva della rimessa?"),
             QStringLiteral("the run asked once whether to post (%1)")
                 .arg(visti.isEmpty() ? QString() : visti.last().testo));
    const int numero =
        m_nuda.valore(QStringLiteral("SELECT UltimoNumDistVersam FROM zolvimacon_tabge00f"))
            .toInt();
    controllaRimessa(numero, m_tabellaLavoro);
    const StampaRegistrata::Registro &r = StampaRegistrata::registro();
    verifica(r.stampe == 1 && r.numeroModulo == 8 && r.dati.size() == 9 &&
                 r.dati.at(0) == QString::number(clienteRimessa) &&
                 r.dati.at(1) == Istruzioni::tuttaLaTabella(m_tabellaLavoro),
             QStringLiteral("the registered print component received the letter"));
    verifica(txtCodiceCli->text().isEmpty(), QStringLiteral("frmRimessa emptied after the run"));
    if (rimessa.finestra.numero() == 1)
        rimessa.nota =
            QStringLiteral(
                "First run: selection %1 ms (click to the question), work table, posting and "
                "commit %2 ms (question to the print component), the rest %3 ms. The window "
                "copies the %4 rows into the work table 1,000 to an insert, then reads and writes "
                "the number, checks that no other station remitted the waybills meanwhile, and "
                "sends four statements per waybill and one more to mark it sent (%5 in all) in "
                "blocks of up to 1 MiB of text, one round trip each. The bound sends the same "
                "statements, the inserts as one multi-row insert and the rest %6 to a round trip.")
                .arg(Misure::numero(visti.first().istanteMs - inizio, 0),
                     Misure::numero(stampa - visti.first().istanteMs, 0),
                     Misure::numero(fine - stampa, 0))
                .arg(migliaia(m_righeRimessa), migliaia(m_righeRimessa * 5),
                     migliaia(istruzioniPerBlocco));

    // The cancellation of the same remittance.
    QWidget *a = apriAnnulla();
    Operatore::scrivi(controllo<QLineEdit>(a, "txtNum"), QString::number(numero));
    Operatore::scriviData(controllo<QLineEdit>(a, "txtData"), cifreData(m_oggi));
    attendiServerQuieto();
    m_risposte.rispondi({QMessageBox::Yes, QMessageBox::Ok});
    const double inizioAnnullamento = adesso();
    Operatore::clic(controllo<QPushButton>(a, "cmdAnnullaRimessa"));
    if (m_risposte.visti().size() == 2)
        annullamento.finestra.aggiungi(m_risposte.visti().at(1).istanteMs - inizioAnnullamento);
    const QList<Risponditore::Visto> risposte = m_risposte.visti();
    m_risposte.azzera();
    const QString attesa = QStringLiteral("Rimessa contrassegni: %1 del %2 annullata.")
                               .arg(numero)
                               .arg(testoData(m_oggi));
    verifica(risposte.size() == 2 && risposte.at(1).testo == attesa,
             QStringLiteral("the cancellation confirmed (%1)")
                 .arg(risposte.isEmpty() ? QString() : risposte.last().testo));
    controllaAnnullamento(numero);
}

// The same statements, sent bare: the selection, the work table, its rows as one multi-row
// insert, the number read, then every posting statement in blocks of istruzioniPerBlocco per
// round trip inside one transaction, and the drop. The cancellation as one round trip.
void Banco::rimessaNuda(Risultato &rimessa, Risultato &annullamento)
{
    const QString tabella = m_tabellaLavoro;
    const Istruzioni::DatiAssegno assegno{QStringLiteral("Assegno n. 0000098765"),
                                          QStringLiteral("Banco BPM - Milano Sede"),
                                          Importo::daDatabase(m_totaleRimessa).value_or(Importo())};
    attendiServerQuieto();
    Cronometro c;
    QSqlQuery selezione = m_nuda.esegui(Istruzioni::selezioneRimessa(
        tipoRimessa, m_rimessaDal, m_rimessaAl, QString::number(clienteRimessa)));
    const QSqlRecord struttura = selezione.record();
    QStringList colonne;
    for (int k = 0; k < struttura.count(); ++k)
        colonne << struttura.fieldName(k);
    const int iFiliale = struttura.indexOf(QStringLiteral("lefili"));
    const int iNumero = struttura.indexOf(QStringLiteral("lenrlv"));
    const int iAnno = struttura.indexOf(QStringLiteral("leanlv"));
    QVector<Istruzioni::ChiaveRimessa> chiavi;
    QStringList righe;
    while (selezione.next()) {
        QStringList valori;
        for (int k = 0; k < colonne.size(); ++k)
            valori << Sql::letterale(selezione.value(k));
        righe << QLatin1Char('(') + valori.join(QLatin1Char(',')) + QLatin1Char(')');
        chiavi.append({selezione.value(iFiliale).toString(), selezione.value(iNumero).toString(),
                       selezione.value(iAnno).toString()});
    }
    verifica(chiavi.size() == m_righeRimessa, QStringLiteral("the bare selection"));

    m_nuda.esegui(IstruzioneCreaTabella(Impostazioni().modelloTabella, tabella,
                                        QStringLiteral("vdaticontrassegni")));
    Cronometro copia;
    const QString testaInserimento = QStringLiteral("insert into ") + tabella +
                                     QStringLiteral(" (") + colonne.join(QLatin1Char(',')) +
                                     QStringLiteral(") values ");
    QString inserimento;
    for (const QString &riga : righe) {
        if (!inserimento.isEmpty() && inserimento.size() + riga.size() > byteInserimento) {
            m_nuda.esegui(inserimento);
            inserimento.clear();
        }
        inserimento += (inserimento.isEmpty() ? testaInserimento : QStringLiteral(",")) + riga;
    }
    m_nuda.esegui(inserimento);
    const double msCopia = copia.ms();

    Cronometro registrazione;
    const QString numero =
        QString::number(m_nuda.valore(Istruzioni::leggiUltimoNumero()).toInt() + 1);
    QStringList istruzioni{QStringLiteral("START TRANSACTION"),
                           Istruzioni::scriviUltimoNumero(numero),
                           Istruzioni::ldvRimesseNelFrattempo(tabella)};
    for (const Istruzioni::ChiaveRimessa &chiave : chiavi) {
        istruzioni << Istruzioni::timbraRimessa(QStringLiteral("letve00f"), numero, m_oggi, chiave)
                   << Istruzioni::timbraRimessa(tabella, numero, m_oggi, chiave)
                   << Istruzioni::inserisciContrassegno(numero, m_oggi, assegno)
                   << Istruzioni::timbraAssegnoTabellaLavoro(tabella, numero, m_oggi, assegno,
                                                             chiave);
    }
    for (const Istruzioni::ChiaveRimessa &chiave : chiavi)
        istruzioni << Istruzioni::segnaInviato(chiave);
    istruzioni << QStringLiteral("COMMIT");
    for (int da = 0; da < istruzioni.size(); da += istruzioniPerBlocco) {
        QString blocco;
        for (int k = da; k < qMin(da + istruzioniPerBlocco, int(istruzioni.size())); ++k) {
            QString s = istruzioni.at(k);
            if (!s.endsWith(QLatin1Char(';')))
                s += QLatin1Char(';');
            blocco += s;
        }
        m_nuda.eseguiInBlocco(blocco);
    }
    const double msRegistrazione = registrazione.ms();
    m_nuda.esegui(Istruzioni::eliminaTabella(tabella));
    rimessa.limite.aggiungi(c.ms());
    if (m_dettaglioNudo.isEmpty())
        m_dettaglioNudo = QStringLiteral("In the bound's first run the multi-row insert took %1 ms "
                                         "and the posting transaction %2 ms.")
                              .arg(Misure::numero(msCopia, 0), Misure::numero(msRegistrazione, 0));
    controllaRimessa(numero.toInt(), tabella);

    attendiServerQuieto();
    Cronometro a;
    m_nuda.eseguiInBlocco(
        QStringLiteral("START TRANSACTION;") + Istruzioni::annullaRimessaLdv(numero, m_oggi) +
        Istruzioni::eliminaContrassegni(numero, m_oggi) + QStringLiteral("COMMIT;"));
    annullamento.limite.aggiungi(a.ms());
    controllaAnnullamento(numero.toInt());
}

// --- The report --------------------------------------------------------------------------------

QString Banco::rapporto() const
{
    ConnessioneNuda &db = m_nuda;
    QString testo;
    testo += QStringLiteral("Machine: %1 cores (nproc), %2, %3 of memory; %4 with a %5 MiB buffer "
                            "pool, over a unix socket on the same machine. Qt %6, offscreen.\n")
                 .arg(QThread::idealThreadCount())
                 .arg(leggiCpu(), leggiMemoriaTotale(),
                      QStringLiteral("MariaDB ") +
                          db.valore(QStringLiteral("SELECT VERSION()")).toString())
                 .arg(db.valore(QStringLiteral("SELECT @@innodb_buffer_pool_size")).toLongLong() /
                      1048576)
                 .arg(QString::fromLatin1(qVersion()));
    testo +=
        QStringLiteral("Database: %1 waybills, %2 customers, %3 contrassegni rows, %4 held "
                       "shipments.\n\n")
            .arg(migliaia(db.valore(QStringLiteral("SELECT COUNT(*) FROM letve00f")).toLongLong()),
                 migliaia(db.valore(QStringLiteral("SELECT COUNT(*) FROM clien")).toLongLong()),
                 migliaia(
                     db.valore(QStringLiteral("SELECT COUNT(*) FROM contrassegni")).toLongLong()),
                 migliaia(db.valore(QStringLiteral("SELECT COUNT(*) FROM giace00f")).toLongLong()));
    testo += Misure::tabella(m_risultati);
    testo += QStringLiteral("\nRatio: window median over lower-bound median. Lower bound: the same "
                            "statements through a plain QSqlQuery on a connection already open.\n");
    for (const QString &n : m_note)
        testo += n + QLatin1Char('\n');
    testo += QLatin1Char('\n');
    for (const QString &m : m_memoria)
        testo += m + QLatin1Char('\n');
    testo += QStringLiteral("Peak resident memory of the process (VmHWM): %1 MiB.\n")
                 .arg(Misure::numero(Misure::piccoMemoriaKb() / 1024.0, 1));
    return testo;
}
