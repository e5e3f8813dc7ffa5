#include "suite/modulistampapredefinito.h"

#include "suite/cModuliStampa.h"
#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "suite/letterarimessa.h"
#include "services/modprincipale.h"
#include "support/databasediprova.h"
#include "support/errori.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString rigaAssegno =
    QStringLiteral("In allegato vi trasmettiamo assegno/bonifico nr. 4711 emesso a Vs. ordine,");
const QString rigaBanca =
    QStringLiteral("tratto su: Banca Popolare di Sondrio per l'importo di 0,60 €");
const QString rigaSpedizioni =
    QStringLiteral("relativo ai contrassegni incassati a fronte delle seguenti spedizioni:");
const QString rigaAllegato = QStringLiteral("Allegato n.1 assegno bancario");
const QString querySelezione = QStringLiteral(
    "SELECT * from vdaticontrassegni where leflic='1' and leflsc=0 and (ledtin between "
    "'2025-01-01' and '2025-01-31') and lendvc =0;");

// The text of a PDF as pdftotext reads it, with ligatures and non-breaking blanks made plain
// and every run of blanks and line ends made one blank. Empty when pdftotext fails.
QString testoPdf(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0) {
        qWarning("pdftotext (poppler-utils, installed by scripts/install-deps.sh) failed: %s",
                 qPrintable(pdftotext.errorString()));
        return QString();
    }
    QString testo = QString::fromUtf8(pdftotext.readAllStandardOutput())
                        .normalized(QString::NormalizationForm_KC);
    return testo.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")).trimmed();
}

// How many images `pdfimages -list` finds in a PDF; -1 when it fails.
int immaginiPdf(const QString &pdf)
{
    QProcess pdfimages;
    pdfimages.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!pdfimages.waitForFinished(60000) || pdfimages.exitCode() != 0)
        return -1;
    // Two heading lines, then one line per image.
    const QStringList righe = QString::fromUtf8(pdfimages.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return qMax(0, int(righe.size()) - 2);
}

QString oggi()
{
    return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
}

// Prints the letter; the number of the ErroreDb it throws, 0 when none.
int stampa(cModuliStampaPredefinito &modulo, QString *testo = nullptr, bool *flag = nullptr)
{
    QString t;
    bool f = false;
    const int errore = numeroErrore([&] { modulo.Stampa(t, f); });
    if (testo)
        *testo = t;
    if (flag)
        *flag = f;
    return errore;
}

} // namespace

class tst_ModuliStampa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The letter as data and text, without a server.
    void oggetto_data();
    void oggetto();
    void luogoEData();
    void htmlSenzaMarcatureDaiDati();
    void nomeFilePdf_data();
    void nomeFilePdf();
    void istruzioni();
    void uscitaConfigurata_data();
    void uscitaConfigurata();
    void cartellaArchivio();

    // Letters printed from the database.
    void lettera_data();
    void lettera();
    void archiviazione();
    void logo_data();
    void logo();
    void anteprimaMostraLaLettera();
    void senzaStampante();
    void errori_data();
    void errori();

private:
    std::unique_ptr<cModuliStampaPredefinito> modulo(const QStringList &dati) const;
    QStringList dati(const QString &cliente, const QString &query) const;
    QStringList pdfArchiviati() const;

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<QTemporaryDir> m_archivio;
    QTemporaryDir m_file;
};

void tst_ModuliStampa::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QVERIFY(m_file.isValid());
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaTesto(QStringLiteral(
        "INSERT INTO clien (Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia) VALUES "
        "(500, 'Caffè & Tè <Torino> S.r.l.', 'Via Garibaldi 7', '10121', 'Torino', 'TO'),"
        "(501, 'Altro Cliente S.p.A.', 'Via Po 1', '10124', 'Torino', 'TO');\n"
        "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, ledest, lecodi, lecnss, "
        "leimcs, leflic, leflsc, ledtin, lendvc) VALUES "
        "('01', '7003', 2025, '2025-01-12', 'RIF-C', 'Bar Sport', 500, 0.30, 0.30, '1', 0, "
        "'2025-01-20', 0),"
        "('01', '7001', 2025, '2025-01-10', 'RIF-A', 'Caffè Roma', 500, 0.10, 0.10, '1', 0, "
        "'2025-01-20', 0),"
        "('01', '7002', 2025, '2025-01-11', 'RIF-B', 'Trattoria L''Oca', 500, 0.20, 0.20, '1', 0, "
        "'2025-01-21', 0),"
        "('01', '7999', 2025, '2025-01-10', 'RIF-X', 'Destinatario Altrui', 501, 5.00, 5.00, '1', "
        "0, '2025-01-20', 0);\n")));
}

void tst_ModuliStampa::init()
{
    m_archivio = std::make_unique<QTemporaryDir>();
    QVERIFY(m_archivio->isValid());
    qputenv("RISCUTI_ARCHIVIO_STAMPE", m_archivio->path().toUtf8());
    qputenv("RISCUTI_STAMPA", "nessuna");
    modPrincipale::setPercorsoFileIni(QString());
}

void tst_ModuliStampa::cleanup()
{
    qunsetenv("RISCUTI_ARCHIVIO_STAMPE");
    qunsetenv("RISCUTI_STAMPA");
    modPrincipale::setPercorsoFileIni(QString());
    m_archivio.reset();
}

QStringList tst_ModuliStampa::dati(const QString &cliente, const QString &query) const
{
    return {cliente,
            query,
            rigaAssegno,
            rigaBanca,
            rigaSpedizioni,
            rigaAllegato,
            QStringLiteral("7001"),
            QStringLiteral("2025"),
            QStringLiteral("01")};
}

std::unique_ptr<cModuliStampaPredefinito> tst_ModuliStampa::modulo(const QStringList &dati) const
{
    auto stampa = std::make_unique<cModuliStampaPredefinito>();
    stampa->setPercorsoDb(m_db->testoConnessione());
    stampa->setNumeroModulo(cModuliStampaPredefinito::ModuloRimessa);
    stampa->setFileLogo(QString());
    stampa->DatiStampa(dati);
    return stampa;
}

QStringList tst_ModuliStampa::pdfArchiviati() const
{
    return QDir(m_archivio->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

void tst_ModuliStampa::oggetto_data()
{
    QTest::addColumn<int>("numero");
    QTest::addColumn<QDate>("data");
    QTest::addColumn<QString>("atteso");

    QTest::newRow("provisional letter")
        << 0 << QDate() << "Rimessa contrassegni incassati per Vs. conto";
    QTest::newRow("numbered remittance")
        << 7 << QDate(2025, 2, 3)
        << QStringLiteral("Rimessa contrassegni incassati per Vs. conto – distinta n. 7 del "
                          "03/02/2025");
    QTest::newRow("number without date")
        << 12 << QDate()
        << QStringLiteral("Rimessa contrassegni incassati per Vs. conto – "
                          "distinta n. 12");
}

void tst_ModuliStampa::oggetto()
{
    QFETCH(int, numero);
    QFETCH(QDate, data);
    QFETCH(QString, atteso);

    LetteraRimessa lettera;
    lettera.numeroDistinta = numero;
    lettera.dataDistinta = data;
    QCOMPARE(LetteraRimessaTesto::oggetto(lettera), atteso);
}

// The parts the printed letters do not show: no town, no postcode (the greeting and the full
// address are read back from the PDF in lettera()).
void tst_ModuliStampa::luogoEData()
{
    LetteraRimessa lettera;
    lettera.data = QDate(2025, 3, 5);
    lettera.mittente.localita = QStringLiteral(" Milano ");
    QCOMPARE(LetteraRimessaTesto::luogoEData(lettera), QStringLiteral("Milano, 05/03/2025"));
    lettera.mittente.localita.clear();
    QCOMPARE(LetteraRimessaTesto::luogoEData(lettera), QStringLiteral("05/03/2025"));
    Anagrafica a;
    a.localita = QStringLiteral("Milano");
    a.provincia = QStringLiteral("MI");
    QCOMPARE(LetteraRimessaTesto::capLocalitaProvincia(a), QStringLiteral("Milano (MI)"));
}

void tst_ModuliStampa::htmlSenzaMarcatureDaiDati()
{
    LetteraRimessa lettera;
    lettera.cliente.ragioneSociale = QStringLiteral("Rossi & <b>Figli</b>");
    lettera.righe << QStringLiteral("<script>x</script>");
    SpedizioneRimessa s;
    s.numero = QStringLiteral("1");
    s.destinatario = QStringLiteral("L'Oca \"Nera\"");
    lettera.spedizioni << s;

    const QString html = LetteraRimessaTesto::html(lettera);
    QVERIFY(html.contains(QStringLiteral("Rossi &amp; &lt;b&gt;Figli&lt;/b&gt;")));
    QVERIFY(!html.contains(QStringLiteral("<b>Figli")));
    QVERIFY(html.contains(QStringLiteral("&lt;script&gt;")));
    QVERIFY(html.contains(QStringLiteral("&quot;Nera&quot;")));
    QVERIFY(!html.contains(QStringLiteral("<img")));

    lettera.logo = QSize(200, 50);
    QVERIFY(LetteraRimessaTesto::html(lettera).contains(
        QStringLiteral("<img src=\"logo\" width=\"200\" height=\"50\">")));
}

void tst_ModuliStampa::nomeFilePdf_data()
{
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<int>("progressivo");
    QTest::addColumn<QString>("atteso");

    QTest::newRow("first of the second") << "1001" << 1 << "rimessa_1001_20250305_140709.pdf";
    QTest::newRow("second of the same second")
        << "1001" << 2 << "rimessa_1001_20250305_140709_2.pdf";
    QTest::newRow("path characters replaced")
        << "../x y" << 1 << "rimessa____x_y_20250305_140709.pdf";
    QTest::newRow("no customer") << "" << 1 << "rimessa_senza_cliente_20250305_140709.pdf";
}

void tst_ModuliStampa::nomeFilePdf()
{
    QFETCH(QString, cliente);
    QFETCH(int, progressivo);
    QFETCH(QString, atteso);

    const QDateTime quando(QDate(2025, 3, 5), QTime(14, 7, 9));
    QCOMPARE(LetteraRimessaTesto::nomeFilePdf(cliente, quando, progressivo), atteso);
}

void tst_ModuliStampa::istruzioni()
{
    QCOMPARE(Istruzioni::indirizzoCliente(QStringLiteral("1001")),
             QStringLiteral("SELECT RagioneSociale, Indirizzo, Cap, Localita, Provincia, "
                            "PartitaIva FROM clien WHERE Codice=1001;"));
    QCOMPARE(numeroErrore(
                 [] { Istruzioni::indirizzoCliente(QStringLiteral("1 or 1=1")); }),
             int(ErroreDb::TipoNonCorrispondente));
    QCOMPARE(Istruzioni::intestazioneAzienda(),
             QStringLiteral("SELECT * FROM azienda ORDER BY Id LIMIT 1;"));
}

void tst_ModuliStampa::uscitaConfigurata_data()
{
    using M = cModuliStampaPredefinito;
    QTest::addColumn<QString>("scelta");
    QTest::addColumn<bool>("conFinestre");
    QTest::addColumn<bool>("conSchermo");
    QTest::addColumn<bool>("conStampante");
    QTest::addColumn<int>("attesa");
    // clang-format off
    QTest::newRow("nessuna")                   << "nessuna"      << true  << true  << true  << int(M::Nessuna);
    QTest::newRow("anteprima, any case")       << " Anteprima "  << true  << false << false << int(M::Anteprima);
    QTest::newRow("anteprima without windows") << "anteprima"    << false << false << true  << int(M::Nessuna);
    QTest::newRow("nothing said, no screen")   << ""             << true  << false << true  << int(M::Nessuna);
    QTest::newRow("nothing said, a printer")   << ""             << true  << true  << true  << int(M::Stampante);
    QTest::newRow("nothing said, no printer")  << ""             << true  << true  << false << int(M::SenzaStampante);
    QTest::newRow("stampante, no printer")     << "stampante"    << true  << false << false << int(M::SenzaStampante);
    // clang-format on
}

void tst_ModuliStampa::uscitaConfigurata()
{
    QFETCH(QString, scelta);
    QFETCH(bool, conFinestre);
    QFETCH(bool, conSchermo);
    QFETCH(bool, conStampante);
    QFETCH(int, attesa);
    QCOMPARE(int(cModuliStampaPredefinito::uscita(scelta, conFinestre, conSchermo, conStampante)),
             attesa);
}

void tst_ModuliStampa::cartellaArchivio()
{
    QCOMPARE(cModuliStampaPredefinito::cartellaArchivio(), m_archivio->path());
    qunsetenv("RISCUTI_ARCHIVIO_STAMPE");
    const QString predefinita = cModuliStampaPredefinito::cartellaArchivio();
    QVERIFY2(predefinita.endsWith(QLatin1String("/BelvoraniRiscutiContrassegni/stampe")),
             qPrintable(predefinita));
    QVERIFY(QDir::isAbsolutePath(predefinita));
}

void tst_ModuliStampa::lettera_data()
{
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("righe"); // the letter's four lines; empty: the cheque letter
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("prima"); // run before the print
    QTest::addColumn<QString>("dopo");  // run after it, whatever happened
    QTest::addColumn<QStringList>("presenti");
    QTest::addColumn<QStringList>("assenti");

    const QString cheque = QStringLiteral("CREATE TABLE PC01Rimessa (PRIMARY KEY (lefili, lenrlv, "
                                          "leanlv)) SELECT * FROM vdaticontrassegni WHERE "
                                          "lecodi=500;\n");
    const QString via = QStringLiteral("DROP TABLE PC01Rimessa;");
    const QString tabella = QStringLiteral("SELECT * from PC01Rimessa;");
    const QString totale = QStringLiteral("Totale (3 spedizioni) 0,60 €");
    const QString oggetto = QStringLiteral("Oggetto: Rimessa contrassegni incassati per Vs. conto");

    QTest::newRow("provisional: the customer's shipments in order, the other customer's left out")
        << "500" << querySelezione << QStringList() << QByteArray() << QString() << QString()
        << QStringList{QStringLiteral("Espresso Padano Trasporti S.p.A."),
                       QStringLiteral("Via dell'Innovazione 14"),
                       QStringLiteral("Spett.le Caffè & Tè <Torino> S.r.l. Via Garibaldi 7 10121 "
                                      "Torino (TO)"),
                       QStringLiteral("Milano, ") + oggi(),
                       oggetto + QStringLiteral(" Codice"),
                       rigaAssegno,
                       rigaBanca,
                       rigaSpedizioni,
                       rigaAllegato,
                       QStringLiteral("7001 10/01/2025 RIF-A Caffè Roma 0,10 €"),
                       QStringLiteral("7002 11/01/2025 RIF-B Trattoria L'Oca 0,20 €"),
                       QStringLiteral("7003 12/01/2025 RIF-C Bar Sport 0,30 €"),
                       totale,
                       QStringLiteral("Distinti saluti.")}
        << QStringList{QStringLiteral("7999"), QStringLiteral("Destinatario Altrui"),
                       QStringLiteral("distinta")};
    QTest::newRow("one remittance named in the subject")
        << "500" << tabella << QStringList() << QByteArray()
        << cheque + QStringLiteral("UPDATE PC01Rimessa SET lendvc=7, ledtvc='2025-02-03';") << via
        << QStringList{oggetto + QStringLiteral(" – distinta n. 7 del 03/02/2025 "), totale}
        << QStringList();
    QTest::newRow("rows of two remittances name none")
        << "500" << tabella << QStringList() << QByteArray()
        << cheque +
               QStringLiteral(
                   "UPDATE PC01Rimessa SET lendvc=IF(lenrlv='7002', 8, 7), ledtvc='2025-02-03';")
        << via << QStringList{oggetto + QStringLiteral(" Codice"), totale}
        << QStringList{QStringLiteral("distinta")};
    QTest::newRow("no shipments: the letter's own greeting, no enclosure")
        << "500" << QString()
        << QStringList{QStringLiteral("In allegato vi trasmettiamo i sottoelencati assegni "
                                      "incassati per Vs. conto."),
                       QStringLiteral("L'occasione è gradita per porgerVi cordiali saluti."),
                       QString(), QString()}
        << QByteArray() << QString() << QString()
        << QStringList{QStringLiteral("Totale (0 spedizioni) 0,00 €"),
                       QStringLiteral("L'occasione è gradita per porgerVi cordiali saluti.")}
        << QStringList{QStringLiteral("Distinti saluti."), rigaAllegato};
    QTest::newRow("unknown customer named by code")
        << "999" << querySelezione << QStringList() << QByteArray() << QString() << QString()
        << QStringList{QStringLiteral("Spett.le Cliente 999"),
                       QStringLiteral("Totale (0 spedizioni) 0,00 €")}
        << QStringList();
    QTest::newRow("heading from the INI file when the company table is missing")
        << "500" << querySelezione << QStringList()
        << QByteArray("[DLLStampe]\r\nIdentificativoDll=\r\n[Azienda]\r\nRagioneSociale=Trasporti "
                      "Orobici S.r.l.\r\nIndirizzo=Via Briantea 3\r\nCap=24125\r\n"
                      "Localita=Bergamo\r\nProvincia=BG\r\n")
        << "RENAME TABLE azienda TO azienda_altrove;"
        << "RENAME TABLE azienda_altrove TO azienda;"
        << QStringList{QStringLiteral("Trasporti Orobici S.r.l."),
                       QStringLiteral("24125 Bergamo (BG)"), QStringLiteral("Bergamo, ") + oggi()}
        << QStringList{QStringLiteral("Espresso Padano")};
}

// The letter read back from its PDF.
void tst_ModuliStampa::lettera()
{
    QFETCH(QString, cliente);
    QFETCH(QString, query);
    QFETCH(QStringList, righe);
    QFETCH(QByteArray, ini);
    QFETCH(QString, prima);
    QFETCH(QString, dopo);
    QFETCH(QStringList, presenti);
    QFETCH(QStringList, assenti);

    if (!ini.isEmpty()) {
        QFile file(m_file.filePath(QStringLiteral("suite.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        modPrincipale::setPercorsoFileIni(file.fileName());
    }
    QStringList datiLettera = dati(cliente, query);
    for (int i = 0; i < righe.size(); ++i)
        datiLettera[2 + i] = righe.at(i);
    if (!prima.isEmpty())
        QVERIFY(m_db->caricaTesto(prima));
    auto stampa = modulo(datiLettera);
    const int errore = ::stampa(*stampa);
    if (!dopo.isEmpty())
        QVERIFY(m_db->caricaTesto(dopo));
    QCOMPARE(errore, 0);

    const QString lettera = testoPdf(stampa->ultimoPdf());
    QVERIFY2(!lettera.isEmpty(), "no text could be read from the PDF");
    for (const QString &atteso : std::as_const(presenti))
        QVERIFY2(lettera.contains(atteso),
                 qPrintable(atteso + QStringLiteral("\n---\n") + lettera));
    for (const QString &escluso : std::as_const(assenti))
        QVERIFY2(!lettera.contains(escluso), qPrintable(escluso));
}

// Every letter is filed under a readable name of its own, in a folder made when missing; two
// letters of the same second get two files.
void tst_ModuliStampa::archiviazione()
{
    const QString cartella = m_archivio->filePath(QStringLiteral("filiale 01/stampe"));
    qputenv("RISCUTI_ARCHIVIO_STAMPE", cartella.toUtf8());
    auto modulo = this->modulo(dati(QStringLiteral("500"), querySelezione));
    QString testo;
    bool flag = false;
    QCOMPARE(stampa(*modulo, &testo, &flag), 0);
    const QString primo = modulo->ultimoPdf();
    QCOMPARE(testo, primo);
    QVERIFY(flag);
    QCOMPARE(QFileInfo(primo).absolutePath(), cartella);
    QVERIFY2(QRegularExpression(QStringLiteral("^rimessa_500_\\d{8}_\\d{6}\\.pdf$"))
                 .match(QFileInfo(primo).fileName())
                 .hasMatch(),
             qPrintable(primo));

    QCOMPARE(stampa(*modulo), 0);
    QVERIFY(modulo->ultimoPdf() != primo);
    QCOMPARE(QDir(cartella).entryList({QStringLiteral("*.pdf")}, QDir::Files).size(), 2);
    QVERIFY(QFileInfo(primo).size() > 0);
    QVERIFY(QFileInfo(modulo->ultimoPdf()).size() > 0);
}

void tst_ModuliStampa::logo_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("immagini");

    const QString immagine = m_file.filePath(QStringLiteral("logo.png"));
    QImage logo(300, 100, QImage::Format_RGB32);
    logo.fill(Qt::white);
    {
        QPainter p(&logo);
        p.fillRect(10, 10, 80, 80, QColor(0, 90, 160));
    }
    QVERIFY(logo.save(immagine));
    const QString nonImmagine = m_file.filePath(QStringLiteral("logo.txt"));
    QFile testo(nonImmagine);
    QVERIFY(testo.open(QIODevice::WriteOnly));
    testo.write("non è un'immagine");
    testo.close();

    QTest::newRow("no logo given") << QString() << 0;
    QTest::newRow("missing file") << m_file.filePath(QStringLiteral("manca.png")) << 0;
    QTest::newRow("not an image") << nonImmagine << 0;
    QTest::newRow("logo printed") << immagine << 1;
}

void tst_ModuliStampa::logo()
{
    QFETCH(QString, file);
    QFETCH(int, immagini);

    auto stampa = modulo(dati(QStringLiteral("500"), querySelezione));
    stampa->setFileLogo(file);
    QCOMPARE(::stampa(*stampa), 0);
    QCOMPARE(immaginiPdf(stampa->ultimoPdf()), immagini);
    QVERIFY(testoPdf(stampa->ultimoPdf()).contains(QStringLiteral("Totale (3 spedizioni)")));
}

void tst_ModuliStampa::anteprimaMostraLaLettera()
{
    qputenv("RISCUTI_STAMPA", "anteprima");
    auto stampa = modulo(dati(QStringLiteral("500"), querySelezione));

    // The preview is modal: look at it from a timer, then close it as the operator would.
    QString titolo;
    int pagine = -1;
    QTimer guarda;
    guarda.setInterval(20);
    connect(&guarda, &QTimer::timeout, this, [&] {
        auto *dialogo = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialogo)
            return;
        auto *pagineAnteprima = dialogo->findChild<QPrintPreviewWidget *>();
        if (!pagineAnteprima || pagineAnteprima->pageCount() == 0)
            return;
        guarda.stop();
        titolo = dialogo->windowTitle();
        pagine = pagineAnteprima->pageCount();
        dialogo->reject();
    });
    guarda.start();
    bool flag = false;
    QCOMPARE(::stampa(*stampa, nullptr, &flag), 0);
    guarda.stop();

    QCOMPARE(titolo, QStringLiteral("Rimessa contrassegni - anteprima di stampa"));
    QCOMPARE(pagine, 1);
    // The archive copy is written whatever the operator does with the preview.
    QCOMPARE(pdfArchiviati().size(), 1);
    QVERIFY(flag);
}

// Paper was asked for and the system has none: the operator is told where the letter was filed.
void tst_ModuliStampa::senzaStampante()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a printer: the letter would be printed");
    qputenv("RISCUTI_STAMPA", "stampante");
    auto stampa = modulo(dati(QStringLiteral("500"), querySelezione));
    RisposteMessaggi risposte;
    risposte.rispondi(QMessageBox::Ok);
    QCOMPARE(::stampa(*stampa), 0);
    QCOMPARE(pdfArchiviati().size(), 1);
    QCOMPARE(risposte.registrati().size(), 1);
    QCOMPARE(comeAppare(risposte.registrati().at(0)),
             comeAppare(QStringLiteral("Nessuna stampante installata: la lettera non è stata "
                                       "stampata. La copia PDF è archiviata in ") +
                            stampa->ultimoPdf(),
                        QStringLiteral("Riscuti"), QMessageBox::Information));
}

void tst_ModuliStampa::errori_data()
{
    QTest::addColumn<int>("numeroModulo");
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("archivioImpossibile");
    QTest::addColumn<int>("errore");

    QTest::newRow("another form number") << 3 << "500" << querySelezione << false
                                         << int(cModuliStampaPredefinito::ModuloNonPrevisto);
    QTest::newRow("customer code that is not a number")
        << 8 << "12a" << querySelezione << false << int(ErroreDb::TipoNonCorrispondente);
    QTest::newRow("query the server refuses") << 8 << "500"
                                              << "SELECT * from PC99Rimessa;" << false << 1146;
    QTest::newRow("amount that is not a number") << 8 << "500"
                                                 << "SELECT '7001' AS lenrlv, 'molto' AS lecnss;"
                                                 << false << int(ErroreDb::TipoNonCorrispondente);
    QTest::newRow("archive folder that cannot be made")
        << 8 << "500" << querySelezione << true
        << int(cModuliStampaPredefinito::ArchivioNonScrivibile);
}

void tst_ModuliStampa::errori()
{
    QFETCH(int, numeroModulo);
    QFETCH(QString, cliente);
    QFETCH(QString, query);
    QFETCH(bool, archivioImpossibile);
    QFETCH(int, errore);

    if (archivioImpossibile) {
        // A folder below a plain file cannot be made, whoever runs the test.
        QFile occupa(m_archivio->filePath(QStringLiteral("un_file")));
        QVERIFY(occupa.open(QIODevice::WriteOnly));
        qputenv("RISCUTI_ARCHIVIO_STAMPE",
                (occupa.fileName() + QStringLiteral("/stampe")).toUtf8());
    }
    auto stampa = modulo(dati(cliente, query));
    stampa->setNumeroModulo(numeroModulo);
    bool flag = false;
    QCOMPARE(::stampa(*stampa, nullptr, &flag), errore);
    // Nothing is filed for a letter that could not be made.
    QCOMPARE(pdfArchiviati(), QStringList());
    QVERIFY(stampa->ultimoPdf().isEmpty());
    QVERIFY(!flag);
}

QTEST_MAIN(tst_ModuliStampa)
#include "tst_modulistampa.moc"
