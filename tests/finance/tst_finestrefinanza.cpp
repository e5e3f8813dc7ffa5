#include "collection/frmriscuti.h"
#include "component/cRiscuti.h"
#include "finance/frmsospesi.h"
#include "finance/frmstorico.h"
#include "remittance/frmrimessa.h"
#include "support/databasediprova.h"
#include "support/operatore.h"
#include "support/rispostemessaggi.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The two finance windows as an operator uses them on the demo data, and the provisional letter
// of "Rimessa contrassegni" in the audit trail.
class tst_FinestreFinanza : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void sospesiFiltriEDoppiClic();
    void sospesiEsportazioni();
    void storicoFiltro();
    void letteraProvvisoriaRegistrata();

private:
    // Answers the save dialog with `file` and the message after it; gives the file the message
    // names.
    void salvaIn(const QString &file);
    QString fileSalvato() const
    {
        return m_risposte.testi().last().section(QStringLiteral("salvato in "), 1);
    }
    // The first row, as an operator clicks it: the press, then the double click.
    static void doppioClic(QTableView *griglia)
    {
        const QPoint punto = griglia->visualRect(griglia->model()->index(0, 1)).center();
        QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(griglia->viewport(), Qt::LeftButton, {}, punto);
    }
    static QString cella(QTableView *griglia, int riga, int colonna)
    {
        return griglia->model()->index(riga, colonna).data().toString();
    }

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<cRiscuti> m_riscuti;
    RisposteMessaggi m_risposte;
    QTemporaryDir m_cartella;
};

void tst_FinestreFinanza::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaDemo());
    preparaComponente(*m_db, m_cartella.path());
    m_riscuti = std::make_unique<cRiscuti>();
}

void tst_FinestreFinanza::cleanup()
{
    QCOMPARE(m_risposte.risposteInAttesa(), 0);
    for (FinestraLavoro *finestra : std::initializer_list<FinestraLavoro *>{
             frmSospesi::istanza(false), frmStorico::istanza(false), frmRiscuti::istanza(false),
             frmRimessa::istanza(false)})
        if (finestra)
            finestra->scarica();
    m_risposte.azzera();
}

void tst_FinestreFinanza::salvaIn(const QString &file)
{
    m_risposte.gestisci([file](QWidget *finestra) {
        auto *dialogo = qobject_cast<QFileDialog *>(finestra);
        QVERIFY(dialogo);
        dialogo->selectFile(file);
        static_cast<QDialog *>(dialogo)->accept();
    });
    m_risposte.rispondi(QMessageBox::Ok);
}

// Branch and customer narrow the report; a customer's waybills, then one of them in
// "Incasso contrassegni".
void tst_FinestreFinanza::sospesiFiltriEDoppiClic()
{
    m_riscuti->ContrassegniSospesi();
    Operatore op(frmSospesi::istanza());
    QVERIFY(op.attiva());
    auto *griglia = op.controllo<QTableView>("Griglia");
    const int tutti = griglia->model()->rowCount();
    QCOMPARE(cella(griglia, tutti - 1, 1), QStringLiteral("Totale generale"));

    auto *filiale = op.controllo<QComboBox>("cmbFiliale");
    filiale->setCurrentIndex(filiale->findData(QStringLiteral("02")));
    op.premi("cmdCalcola");
    const int filiale02 = griglia->model()->rowCount();
    QVERIFY(filiale02 > 1 && filiale02 < tutti);
    for (int riga = 0; riga + 1 < filiale02; ++riga)
        QVERIFY(cella(griglia, riga, 0).toInt() >= 1013 && cella(griglia, riga, 0).toInt() <= 1018);

    filiale->setCurrentIndex(0);
    op.digita("txtCliente", QStringLiteral("10x5"));
    m_risposte.rispondi(QMessageBox::Ok);
    op.premi("cmdCalcola");
    QCOMPARE(m_risposte.testi(), QStringList{"Il codice cliente deve essere un numero."});
    QVERIFY(op.attiva());
    op.digita("txtCliente", QStringLiteral("1005"));
    op.premi("cmdCalcola");
    QCOMPARE(griglia->model()->rowCount(), 2);

    doppioClic(griglia);
    auto *ldv = op.controllo<QTableView>("GrigliaLdv");
    QVERIFY(ldv->model()->rowCount() > 0);
    const QString numero = cella(ldv, 0, 1);
    doppioClic(ldv);
    frmRiscuti *incasso = frmRiscuti::istanza(false);
    QVERIFY(incasso && incasso->isVisible());
    QTRY_COMPARE(Operatore(incasso).mostrato("txtLDV"), numero);
    QCOMPARE(Operatore(incasso).mostrato("txtCodiceCli"), QStringLiteral("1005"));
}

// CSV for a spreadsheet, a PDF, and no paper where printing is off.
void tst_FinestreFinanza::sospesiEsportazioni()
{
    m_riscuti->ContrassegniSospesi();
    Operatore op(frmSospesi::istanza());
    QVERIFY(op.attiva());
    const int righe = op.controllo<QTableView>("Griglia")->model()->rowCount();
    const QString csv = m_cartella.filePath("sospesi.csv");
    salvaIn(csv);
    op.premi("cmdCsv");
    QFile file(fileSalvato());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray testo = file.readAll();
    QVERIFY(testo.startsWith("\xEF\xBB\xBF"
                             "Cliente;Ragione sociale;Da incassare nr.;"));
    QCOMPARE(testo.count("\r\n"), righe + 1);
    QVERIFY(testo.contains("\r\n;Totale generale;"));

    const QString pdf = m_cartella.filePath("sospesi.pdf");
    salvaIn(pdf);
    op.premi("cmdPdf");
    QFile stampato(fileSalvato());
    QVERIFY(stampato.open(QIODevice::ReadOnly));
    QVERIFY(stampato.read(5) == "%PDF-");

    m_risposte.rispondi(QMessageBox::Ok);
    op.premi("cmdStampa");
    QCOMPARE(m_risposte.testi().last(),
             QStringLiteral("La stampa è disattivata su questa postazione: salvare il prospetto "
                            "in PDF."));
}

// The filter by remittance number finds that remittance's rows, all of them.
void tst_FinestreFinanza::storicoFiltro()
{
    const int distinta = m_db->valore("SELECT MAX(NrDistinta) FROM registrocontrassegni").toInt();
    m_riscuti->StoricoContrassegni();
    Operatore op(frmStorico::istanza());
    QVERIFY(op.attiva());
    QVERIFY(!op.controllo<QLabel>("lblAvviso")->isVisible());
    op.digita("txtDistinta", QString::number(distinta));
    op.premi("cmdCerca");
    auto *griglia = op.controllo<QTableView>("Griglia");
    const int righe = griglia->model()->rowCount();
    QCOMPARE(righe, m_db->valore(QStringLiteral("SELECT COUNT(*) FROM registrocontrassegni WHERE "
                                                "NrDistinta=%1")
                                     .arg(distinta))
                        .toInt());
    for (int riga = 0; riga < righe; ++riga)
        QCOMPARE(cella(griglia, riga, 7), QString::number(distinta));
}

// "No" to the posting question: the letter is provisional, and its waybills are in the trail.
void tst_FinestreFinanza::letteraProvvisoriaRegistrata()
{
    const QString conta = QStringLiteral(
        "SELECT COUNT(*) FROM registrocontrassegni WHERE Azione='rimessa provvisoria'");
    const int prima = m_db->valore(conta).toInt();
    m_riscuti->RimessaContrassegni();
    Operatore op(frmRimessa::istanza());
    QVERIFY(op.attiva());
    op.compila("txtCodiceCli", QStringLiteral("1005"));
    op.controllo<QComboBox>("cmbCodInc")->setCurrentIndex(1);
    op.digita("txtDataDa", QStringLiteral("01112026"));
    op.digita("txtDataAl", QStringLiteral("30112026"));
    m_risposte.rispondi(QMessageBox::No);
    op.premi("cmdRimessa");
    QTRY_COMPARE(m_db->valore(conta).toInt(), prima + 5);
}

QTEST_MAIN(tst_FinestreFinanza)
#include "tst_finestrefinanza.moc"
