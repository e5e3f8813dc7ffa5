#include "suite/RegistroComponenti.h"
#include "suite/cCercaAnagrafica.h"
#include "suite/cLeggiIni.h"
#include "suite/creamodulistampa.h"
#include "suite/modulistampapredefinito.h"

#include "data/istruzioni.h"
#include "data/recordset.h"
#include "services/modprincipale.h"
#include "support/databasediprova.h"
#include "support/errori.h"
#include "support/rispostemessaggi.h"
#include "support/stamparegistrata.h"

#include <QDir>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <stdexcept>

// The suite's outside parts. Without a server: the INI reader, the print component that the INI
// file names, where the default one sends a letter, the master-record search's statement. On
// the server: the search, where every character typed matches itself, and the default print
// component's letter read back from its PDF, its copy in the archive, the printer, the preview.
class tst_Suite : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { m_risposte.reset(); }
    void leggiIni_data();
    void leggiIni();
    void creaModuliStampa_data();
    void creaModuliStampa();
    void uscita_data();
    void uscita();
    void istruzione();
    void ricerca_data();
    void ricerca();
    void lettera_data();
    void lettera();
    void archivio();
    void uscite_data();
    void uscite();

private:
    // The test's INI file, holding `contenuto`.
    QString ini(const QByteArray &contenuto);
    // Prints customer 500's letter of a cheque, listing the rows of `query`: the number of the
    // ErroreDb thrown, 0 for none.
    int stampa(const QString &query, int modulo = 8);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<RisposteMessaggi> m_risposte;
    std::unique_ptr<QTemporaryDir> m_archivio;
    cModuliStampaPredefinito m_modulo;
    bool m_flag = false;
};

namespace {

const QString selezione = "SELECT * from vdaticontrassegni where leflic='1' and leflsc=0 and "
                          "(ledtin between '2025-01-01' and '2025-01-31') and lendvc =0;";

QStringList archiviati()
{
    return QDir(cModuliStampaPredefinito::cartellaArchivio()).entryList({"*.pdf"}, QDir::Files);
}

} // namespace

void tst_Suite::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    // Customers to search (the same code as a supplier, with another name, shows which register
    // was read), and customer 500's collections to remit, with another customer's.
    QVERIFY(m_db->caricaTesto(
        "INSERT INTO clien (Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia) VALUES "
        "(500, 'Caffè & Tè <Torino> S.r.l.', 'Via Garibaldi 7', '10121', 'Torino', 'TO');\n"
        "INSERT INTO clien (Codice, RagioneSociale) VALUES (101, 'Rossi Trasporti'), (104, "
        "'Rossi'), (1030, 'D''Amico'), (1031, 'Sconto 50% srl'), (1032, 'Sconto 500 srl'), "
        "(1033, 'A_B snc'), (1034, 'AxB snc');\n"
        "INSERT INTO forni (Codice, RagioneSociale) VALUES (101, 'Rossi Carburanti');\n"
        "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, ledest, lecodi, lecnss, "
        "leflic, leflsc, ledtin, lendvc) VALUES "
        "('01', '7003', 2025, '2025-01-12', 'RIF-C', 'Bar', 500, 0.30, '1', 0, '2025-01-20', 0),"
        "('01', '10', 2025, '2025-01-10', 'RIF-B', 'L''Oca', 500, 0.20, '1', 0, '2025-01-21', 0),"
        "('01', '9', 2025, '2025-01-10', 'RIF-A', 'Caffè', 500, 0.10, '1', 0, '2025-01-20', 0),"
        "('01', '7999', 2025, '2025-01-10', 'RIF-X', 'X', 501, 5.00, '1', 0, '2025-01-20', 0);\n"
        "CREATE TABLE PC01Rimessa SELECT * FROM vdaticontrassegni WHERE lecodi=500;\n"));
    m_modulo.setPercorsoDb(m_db->testoConnessione());
}

void tst_Suite::init()
{
    m_archivio = std::make_unique<QTemporaryDir>();
    qputenv("RISCUTI_ARCHIVIO_STAMPE", m_archivio->path().toUtf8());
    m_risposte = std::make_unique<RisposteMessaggi>(); // no test waits on a window
}

QString tst_Suite::ini(const QByteArray &contenuto)
{
    QFile file(m_archivio->filePath("suite.ini"));
    if (file.open(QIODevice::WriteOnly))
        file.write(contenuto);
    return file.fileName();
}

int tst_Suite::stampa(const QString &query, int modulo)
{
    m_modulo.setNumeroModulo(modulo);
    m_modulo.DatiStampa({"500", query, "Assegno nr. 4711,", "tratto su: Banca Popolare", "",
                         "Allegato n.1 assegno bancario", "7001", "2025", "01"});
    QString pdf;
    m_flag = false;
    return numeroErrore([&] { m_modulo.Stampa(pdf, m_flag); });
}

// The value of key k in section S.
void tst_Suite::leggiIni_data()
{
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("atteso");
    const auto riga = [](const char *nome, const QByteArray &contenuto, const QString &atteso) {
        QTest::newRow(nome) << contenuto << atteso;
    };
    riga("section and key in another case, blanks trimmed", "[ s ]\n K \t=\t a b \n", "a b");
    riga("everything after the first =", "[S]\n;k=a\nk=Server=h;Pwd=p=q;\n", "Server=h;Pwd=p=q;");
    riga("another section's key, a longer key", "k=0\n[A]\nk=v\n[S]\nkk=1\n", "");
    riga("a section met again", "[S]\nj=1\n[B]\nk=no\n[S]\nk=si\n", "si");
    riga("CR LF, bare CR, no last line end", "[S]\r\nj=1\rk=v", "v");
    riga("UTF-8 with BOM", "\xEF\xBB\xBF[S]\nk=Città\n", "Città");
    riga("Latin-1", "[S]\nk=Citt\xE0\n", "Città");
}

void tst_Suite::leggiIni()
{
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, atteso);
    QCOMPARE(cLeggiIni().LeggiValore(ini(contenuto), "S", "k"), atteso);
}

// The id "ReportDoc" + IdentificativoDll + ".cModuliStampa" (in any case) makes the component
// registered under it; when that fails the default one stays.
void tst_Suite::creaModuliStampa_data()
{
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("registrato");
    QTest::addColumn<QString>("fabbrica"); // what the factory does
    QTest::addColumn<bool>("sostituito");
    const QByteArray ini = "[DLLStampe]\r\nIdentificativoDll=Lettere\r\n";
    const QString id = "REPORTDOCLETTERE.CMODULISTAMPA";
    QTest::newRow("named by the INI file, in another case") << ini << id << "crea" << true;
    const QByteArray vuoto = "[DLLStampe]\nIdentificativoDll=";
    QTest::newRow("an empty value") << vuoto << "ReportDoc.cModuliStampa"
                                    << "crea" << true;
    QTest::newRow("a factory that throws") << ini << id << "lancia" << false;
    QTest::newRow("a factory removed") << ini << id << "rimossa" << false;
}

void tst_Suite::creaModuliStampa()
{
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, registrato);
    QFETCH(QString, fabbrica);
    QFETCH(bool, sostituito);

    modPrincipale::setPercorsoFileIni(ini(contenuto));
    RegistroComponenti::registra(registrato, [fabbrica]() -> cModuliStampa * {
        if (fabbrica == "lancia")
            throw std::runtime_error("componente non installato");
        return new StampaRegistrata;
    });
    if (fabbrica == "rimossa")
        RegistroComponenti::rimuovi(registrato.toLower());
    std::unique_ptr<cModuliStampa> istanza = std::make_unique<cModuliStampaPredefinito>();
    CreaModuliStampa(istanza);
    RegistroComponenti::rimuovi(registrato);
    QCOMPARE(dynamic_cast<StampaRegistrata *>(istanza.get()) != nullptr, sostituito);
}

// RISCUTI_STAMPA, in a process with or without windows, a screen, a printer.
void tst_Suite::uscita_data()
{
    QTest::addColumn<QString>("scelta");
    QTest::addColumn<QString>("ambiente"); // windows, screen, printer: 1 or 0 each
    QTest::addColumn<int>("attesa");
    const auto riga = [](const char *nome, const char *scelta, const char *ambiente, int uscita) {
        QTest::newRow(nome) << scelta << ambiente << uscita;
    };
    using M = cModuliStampaPredefinito;
    riga("anteprima, any case", " Anteprima ", "100", M::Anteprima);
    riga("nothing said, no screen", "", "101", M::Nessuna);
    riga("nothing said, a printer", "", "111", M::Stampante);
    riga("stampante, no printer", "stampante", "100", M::SenzaStampante);
}

void tst_Suite::uscita()
{
    QFETCH(QString, scelta);
    QFETCH(QString, ambiente);
    QFETCH(int, attesa);
    QCOMPARE(int(cModuliStampaPredefinito::uscita(scelta, ambiente[0] == '1', ambiente[1] == '1',
                                                  ambiente[2] == '1')),
             attesa);
}

// The search's whole statement: the field searched, the fixed columns, the condition with the
// text escaped and matching itself (quote, backslash, wildcards and the escape character), the
// equal rows first.
void tst_Suite::istruzione()
{
    QCOMPARE(Istruzioni::ricercaAnagrafica("forni", 4, 2, "D'\\%_!"),
             "SELECT Localita AS Corrispondenza, Codice, RagioneSociale, Localita, Provincia, "
             "Indirizzo, Cap, PartitaIva FROM forni WHERE Localita LIKE '%D\\'\\\\!%!_!!%' ESCAPE "
             "'!' ORDER BY Localita='D\\'\\\\%_!' DESC, RagioneSociale, Codice;");
}

// Searches as the dialog runs them, on the customers or, given their table, the suppliers: the
// codes found, the equal one first. A table of another register or a field out of the list is
// refused before the server and leaves the result as it was.
void tst_Suite::ricerca_data()
{
    QTest::addColumn<QString>("tabella");
    QTest::addColumn<int>("campo");
    QTest::addColumn<int>("confronto");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("esito"); // the codes, or the error's number
    const auto riga = [](const char *nome, int campo, int confronto, const QString &testo,
                         const char *esito, const char *tabella = "CLIEN") {
        QTest::newRow(nome) << tabella << campo << confronto << testo << esito;
    };
    riga("name starts with, the equal one first", 2, 1, "rossi", "104 101");
    riga("percent matches itself", 2, 1, "Sconto 50%", "1031");
    riga("underscore matches itself", 2, 2, "_", "1033");
    riga("code equals a statement: nothing", 1, 3, "101 or 1=1", "");
    riga("suppliers: their own register", 2, 1, "Rossi", "101", "Forni");
    riga("another register's table refused", 2, 1, "Rossi", "errore 5", "destinatari");
    riga("a statement for a table", 2, 1, "Rossi", "errore 13", "clien; drop table forni");
}

void tst_Suite::ricerca()
{
    QFETCH(QString, tabella);
    QFETCH(int, campo);
    QFETCH(int, confronto);
    QFETCH(QString, testo);
    QFETCH(QString, esito);

    std::unique_ptr<cCercaAnagrafica> ricerca(
        tabella == "Forni" ? static_cast<cCercaAnagrafica *>(new cCercaFornitori)
                           : new cCercaClienti);
    ricerca->setCampoRicerca(campo);
    ricerca->setTipoConfronto(confronto);
    ricerca->setStringaRicerca(testo);
    ricerca->setPercorsoDb(m_db->testoConnessione());
    auto risultato = std::make_unique<Recordset>();
    const Recordset *prima = risultato.get();
    const int errore = numeroErrore([&] {
        ricerca->setTabella(tabella);
        ricerca->EseguiRicerca(risultato);
    });
    QStringList codici;
    for (; !errore && !risultato->eof(); risultato->successivo())
        codici << risultato->campo(1).toString(); // the code is the second field
    QCOMPARE(errore ? QStringLiteral("errore %1").arg(errore) : codici.join(' '), esito);
    QCOMPARE(risultato.get() == prima, errore != 0);
    ricerca->ChiudiRicerca(risultato);
    QVERIFY(!risultato);
}

// What the operator reads on the letter, read back from its PDF; `prima` changes the database
// first.
void tst_Suite::lettera_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("prima");
    QTest::addColumn<QString>("atteso");
    const QString oggi = QDate::currentDate().toString("dd/MM/yyyy");
    QTest::newRow("provisional: the customer's shipments by date and number, no other's")
        << selezione << ""
        << "Espresso Padano Trasporti S.p.A. Via dell'Innovazione 14 20126 Milano (MI) "
           "P. IVA 08312450151 Tel. 02 6612 4400 · amministrazione@espressopadano.it Spett.le "
           "Caffè & Tè <Torino> S.r.l. Via Garibaldi 7 10121 Torino (TO) Milano, " +
               oggi +
               " Oggetto: Rimessa contrassegni incassati per Vs. conto Codice cliente: 500 "
               "Assegno nr. 4711, tratto su: Banca Popolare N. LDV Data Vs. riferimento "
               "Destinatario Importo 9 10/01/2025 RIF-A Caffè 0,10 € 10 10/01/2025 RIF-B "
               "L'Oca 0,20 € 7003 12/01/2025 RIF-C Bar 0,30 € Totale (3 spedizioni) 0,60 € "
               "Distinti saluti. Espresso Padano Trasporti S.p.A. Ufficio contrassegni "
               "______________________________ Allegato n.1 assegno bancario <fine>";
    QTest::newRow("one remittance named in the subject")
        << "SELECT * from PC01Rimessa;"
        << "UPDATE PC01Rimessa SET lendvc=7, ledtvc='2025-02-03'"
        << "per Vs. conto – distinta n. 7 del 03/02/2025 Codice cliente";
}

void tst_Suite::lettera()
{
    QFETCH(QString, query);
    QFETCH(QString, prima);
    QFETCH(QString, atteso);

    QVERIFY(prima.isEmpty() || m_db->esegui(prima));
    QCOMPARE(stampa(query), 0);
    QVERIFY(m_flag);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-enc", "UTF-8", m_modulo.ultimoPdf(), "-"});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString lettera = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                .normalized(QString::NormalizationForm_KC)
                                .simplified() +
                            " <fine>";
    QVERIFY2(lettera.contains(atteso), qPrintable(lettera));
}

void tst_Suite::archivio()
{
    const QString cartella = m_archivio->filePath("filiale 01/stampe");
    qputenv("RISCUTI_ARCHIVIO_STAMPE", cartella.toUtf8());
    QCOMPARE(stampa(selezione), 0);
    const QString pdf = m_modulo.ultimoPdf().replace(QRegularExpression("\\d{8}_\\d{6}"), "T");
    QCOMPARE(pdf, cartella + "/rimessa_500_T.pdf"); // in the folder, with the date and time
    QCOMPARE(stampa(selezione), 0);
    QCOMPARE(archiviati().size(), 2);
    // A form other than the remittance letter is refused, and nothing more is filed.
    QCOMPARE(stampa(selezione, 3), int(cModuliStampaPredefinito::ModuloNonPrevisto));
    QVERIFY(!m_flag);
    QCOMPARE(archiviati().size(), 2);
}

// Where the letter goes once its copy is filed: the preview shows its page; paper asked for on a
// system without a printer brings the message of where the copy is.
void tst_Suite::uscite_data()
{
    QTest::addColumn<QString>("scelta");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("anteprima") << "anteprima"
                               << "Rimessa contrassegni - anteprima di stampa: 1";
    QTest::newRow("stampante, without a printer")
        << "stampante"
        << comeAppare("Nessuna stampante installata: la lettera non è stata stampata. La copia "
                      "PDF è archiviata in %1",
                      "Riscuti", QMessageBox::Information);
}

void tst_Suite::uscite()
{
    QFETCH(QString, scelta);
    QFETCH(QString, atteso);
    if (scelta == "stampante" && !QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a printer: the letter would be printed");
    qputenv("RISCUTI_STAMPA", scelta.toUtf8());
    QString vista;
    m_risposte->gestisci([&vista](QWidget *finestra) {
        auto *pagine = finestra->findChild<QPrintPreviewWidget *>();
        QVERIFY(QTest::qWaitFor([pagine] { return !pagine || pagine->pageCount() > 0; }, 5000));
        auto *box = qobject_cast<QMessageBox *>(finestra);
        vista = box ? comeAppare(box->text(), box->windowTitle(), box->icon())
                    : finestra->windowTitle() + ": " + QString::number(pagine->pageCount());
        finestra->close();
    });
    QCOMPARE(stampa(selezione), 0);
    QCOMPARE(vista, atteso.arg(m_modulo.ultimoPdf()));
    QCOMPARE(archiviati().size(), 1);
}

QTEST_MAIN(tst_Suite)
#include "tst_suite.moc"
