// The remittance windows as an operator works them against the real database: what only they do
// (the fields, the questions and messages, the run from the button to the letter, a run holding
// the window); the posting and the cancellation themselves are proven without windows.
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"

#include "remittance/controllidb.h"
#include "remittance/postazione.h"
#include "remittance/tabellalavoro.h"
#include "services/modprincipale.h"
#include "support/operatore.h"
#include "support/rispostemessaggi.h"
#include "support/stamparegistrata.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString titoloRimessa = u"Gestione riscuti contrassegni"_s;
const QString domandaDefinitiva =
    comeAppare(u"Effettuare la stampa definitiva della rimessa?"_s, titoloRimessa,
               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);

} // namespace

class tst_FinestreRimessa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void dataNonValida_data();
    void dataNonValida();
    void rimessa_data();
    void rimessa();
    void annullamento_data();
    void annullamento();

private:
    // Shows the window and, for frmRimessa, types customer 1001 as the operator starts.
    Operatore apri(FinestraLavoro *finestra);
    void scegliTipo(int tipo);
    QStringList visti() const;

    std::unique_ptr<DatabaseDiProva> m_db;
    RisposteMessaggi m_risposte;
    QTemporaryDir m_cartella;
    FinestraLavoro *m_finestra = nullptr;
};

void tst_FinestreRimessa::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    preparaComponente(*m_db, m_cartella.path());
    // The demo INI's work-table template; the letters go to the recording print component.
    QFile ini(m_cartella.filePath(u"suite.ini"_s));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[DLLStampe]\nIdentificativoDll=Prova\n[FRMBOLLCARICHIINT]\nSTRCREATABELLA=" +
              ModelloCreaTabella().toUtf8());
    modPrincipale::setPercorsoFileIni(ini.fileName());
    modPrincipale::setPercorsoLogoIntestazione(u"logo.png"_s);
    StampaRegistrata::registra();
}

void tst_FinestreRimessa::init()
{
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(ControlliDb::datiRimessa)));
    StampaRegistrata::reset();
    m_risposte.azzera();
}

void tst_FinestreRimessa::cleanup()
{
    m_finestra->scarica();
}

Operatore tst_FinestreRimessa::apri(FinestraLavoro *finestra)
{
    Operatore operatore(m_finestra = finestra);
    finestra->mostra();
    operatore.attiva();
    if (finestra == frmRimessa::istanza(false))
        operatore.compila(u"txtCodiceCli"_s, u"1001"_s);
    return operatore;
}

void tst_FinestreRimessa::scegliTipo(int tipo)
{
    auto *lista = controlloDi<QComboBox>(m_finestra, u"cmbCodInc"_s);
    while (lista->currentIndex() != tipo)
        QTest::keyClick(lista, lista->currentIndex() < tipo ? Qt::Key_Down : Qt::Key_Up);
}

QStringList tst_FinestreRimessa::visti() const
{
    QStringList boxes;
    for (const MessaggioRegistrato &box : m_risposte.registrati())
        boxes << comeAppare(box);
    return boxes;
}

void tst_FinestreRimessa::dataNonValida_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("messaggio");
    QTest::newRow("start") << u"txtDataDa"_s << u"Controllare l'inserimento della data iniziale."_s;
    QTest::newRow("end") << u"txtDataAl"_s << u"Controllare l'inserimento della data finale."_s;
}

void tst_FinestreRimessa::dataNonValida()
{
    QFETCH(QString, campo);
    QFETCH(QString, messaggio);
    Operatore operatore = apri(frmRimessa::istanza());
    m_risposte.rispondi(QMessageBox::Ok);
    operatore.compila(campo, u"31022025"_s); // a day that does not exist
    QCOMPARE(visti(), QStringList{comeAppare(messaggio, u"Riscuti"_s, QMessageBox::NoIcon)});
}

void tst_FinestreRimessa::rimessa_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QMessageBox::StandardButton>("risposta"); // to the first box; Ok to others
    QTest::addColumn<QStringList>("messaggi");
    QTest::addColumn<QString>("esito"); // of remittance 42 of today
    // The rows the letter lists, from the remittance's number to the amount of our cheque.
    QTest::addColumn<QStringList>("lettera");
    const QString oggi = QDate::currentDate().toString(Qt::ISODate);
    const QString rimessa = u"42|%1|42|%1|A-77/1|Banca dell'Adda|60.50"_s.arg(oggi);
    QTest::newRow("Yes: posted, printed from the work table")
        << 3 << QMessageBox::Yes << QStringList{domandaDefinitiva} << u"3|3|42"_s
        << QStringList(3, rimessa);
    QTest::newRow("No: provisional letter, nothing posted")
        << 1 << QMessageBox::No << QStringList{domandaDefinitiva} << u"0|0|41"_s
        << QStringList(3, u"0|-|-|-|-|-|-"_s);
    QTest::newRow("no waybill of the empty type: told, fields kept")
        << 0 << QMessageBox::Ok
        << QStringList{comeAppare(u"Non ci sono riscuti di tipo: '' nel periodo dal 01/01/2025 "
                                  "al 31/01/2025."_s,
                                  titoloRimessa, QMessageBox::Warning)}
        << u"0|0|41"_s << QStringList();
    QTest::newRow("print fails after the commit: posted, fields kept")
        << 4 << QMessageBox::Yes
        << QStringList{domandaDefinitiva,
                       comeAppare(u"482 Errore della stampante.\r\nerrore generato da stampa "
                                  "rimessa contrassegni."_s,
                                  u"Gestione rimessa contrassegni"_s, QMessageBox::Critical)}
        << u"1|1|42"_s << QStringList{rimessa};
    // Another station remits one of the waybills while the question is open.
    QTest::newRow("another station remitted one meanwhile: told, nothing posted")
        << 3 << QMessageBox::Yes
        << QStringList{domandaDefinitiva,
                       comeAppare(u"Nel frattempo un'altra postazione ha rimesso 1 delle 3 "
                                  "spedizioni selezionate. La rimessa non è stata registrata: "
                                  "ripeterla."_s,
                                  titoloRimessa, QMessageBox::Warning)}
        << u"0|0|41"_s << QStringList();
}

// The button's run end to end: the boxes, what was posted, the letter handed to the print
// component (which, while it prints, tries to close the window and to start a second run), the
// work table dropped, the shared connection released, the window emptied after a letter.
void tst_FinestreRimessa::rimessa()
{
    QFETCH(int, tipo);
    QFETCH(QMessageBox::StandardButton, risposta);
    QFETCH(QStringList, messaggi);
    QFETCH(QString, esito);
    QFETCH(QStringList, lettera);
    Operatore operatore = apri(frmRimessa::istanza());
    // Our cheque's frame opens, its fields white, for types 3 and 4 only; closed, they have the
    // window's colour.
    scegliTipo(4);
    scegliTipo(tipo);
    QCOMPARE(operatore.controllo(u"fraDatiAssegno"_s)->isEnabled(), tipo >= 3);
    QCOMPARE(operatore.controllo(u"txtBanca"_s)->palette().color(QPalette::Base),
             tipo >= 3 ? QColor(Qt::white) : m_finestra->palette().color(QPalette::Window));
    operatore.compila(u"txtDataDa"_s, u"01012025"_s);
    operatore.compila(u"txtDataAl"_s, u"31012025"_s);
    if (tipo >= 3) {
        operatore.compila(u"txtRiferimento"_s, u"A-77/1"_s);
        operatore.compila(u"txtBanca"_s, u"Banca dell'Adda"_s);
        operatore.compila(u"txtImportoAss"_s, u"60,5"_s);
    }
    StampaRegistrata::Registro &stampa = StampaRegistrata::ultima();
    stampa.fallisce = messaggi.value(1).startsWith(u"Critical"); // the print's failure
    int stampe = 0;
    stampa.durante = [&] {
        if (++stampe == 1 && !m_finestra->close()) // refused while the run goes on,
            operatore.premi(u"cmdRimessa"_s);      // and no second run starts
    };
    if (messaggi.value(1).contains(u"Nel frattempo"))
        m_risposte.gestisci([this](QWidget *domanda) {
            m_db->esegui(u"UPDATE letve00f SET lendvc=99, leflsc=1 WHERE lenrlv='3002'"_s);
            // (a click, not a mouse press: the box may not be laid out yet on a busy desktop)
            static_cast<QMessageBox *>(domanda)->button(QMessageBox::Yes)->click();
        });
    else
        m_risposte.rispondi(risposta);
    for (int i = 1; i < messaggi.size(); ++i)
        m_risposte.rispondi(QMessageBox::Ok);
    operatore.premi(u"cmdRimessa"_s);

    QCOMPARE(visti(), messaggi);
    QCOMPARE(ControlliDb::esitoRimessa(*m_db), esito);
    QStringList lette;
    for (const QString &riga : std::as_const(stampa.righe))
        lette << riga.section(u'|', 4);
    QCOMPARE(lette, lettera);
    if (!lettera.isEmpty()) {
        QCOMPARE(stampa.chiamate.join(u' ') + u'|' + stampa.percorsoDb + u'|' +
                     QString::number(stampa.numeroModulo) + u'|' + stampa.fileLogo,
                 u"setPercorsoDb setNumeroModulo setFileLogo DatiStampa Stampa|"_s +
                     m_db->testoConnessione() + u"|8|logo.png"_s);
        QCOMPARE(stampe, 1);
        QVERIFY(m_finestra->isVisible());
        // Topmost again once the letter is printed.
        QCOMPARE(m_finestra->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint),
                 !stampa.fallisce);
    }
    QVERIFY(TabellaMancante(NomeTabellaLavoro(u"Rimessa"_s), m_db->testoConnessione()));
    QVERIFY(!modPrincipale::ConnessioneComune());
    QCOMPARE(operatore.mostrato(u"txtCodiceCli"_s),
             lettera.isEmpty() || stampa.fallisce ? u"1001"_s : QString());
}

void tst_FinestreRimessa::annullamento_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QMessageBox::StandardButton>("risposta");
    QTest::addColumn<QString>("esito"); // remittance 40 of 10/02/2025 afterwards
    QTest::addColumn<QString>("messaggio");
    const QString titolo = u"Riscuti"_s;
    QTest::newRow("Yes: cancelled, fields emptied")
        << u"40"_s << QMessageBox::Yes << u"0|0|41"_s
        << comeAppare(u"Rimessa contrassegni: 40 del 10/02/2025 annullata."_s, titolo,
                      QMessageBox::Information);
    QTest::newRow("No: nothing changed") << u"40"_s << QMessageBox::No << u"2|2|41"_s << QString();
    QTest::newRow("letters in the number: refused, fields kept")
        << u"4a0"_s << QMessageBox::Yes << u"2|2|41"_s
        << comeAppare(u"Impossibile annullare la rimessa contrassegni."_s, titolo,
                      QMessageBox::Warning);
}

void tst_FinestreRimessa::annullamento()
{
    QFETCH(QString, numero);
    QFETCH(QMessageBox::StandardButton, risposta);
    QFETCH(QString, esito);
    QFETCH(QString, messaggio);
    Operatore operatore = apri(frmAnnullaRimessa::istanza());
    operatore.compila(u"txtNum"_s, numero);
    operatore.digita(u"txtData"_s, u"10022025"_s);
    m_risposte.rispondi({risposta, QMessageBox::Ok});
    operatore.premi(u"cmdAnnullaRimessa"_s);

    const QStringList domanda{comeAppare(u"Annullare la rimessa %1 del 10/02/2025?"_s.arg(numero),
                                         u"Riscuti"_s, QMessageBox::Question,
                                         QMessageBox::Yes | QMessageBox::No)};
    QCOMPARE(visti(), messaggio.isEmpty() ? domanda : domanda + QStringList{messaggio});
    QCOMPARE(ControlliDb::esitoRimessa(*m_db, 40, QDate(2025, 2, 10)), esito);
    const bool svuotata = messaggio.endsWith(u"annullata."_s);
    QCOMPARE(operatore.mostrato(u"txtNum"_s), svuotata ? QString() : numero);
    QCOMPARE(operatore.mostrato(u"txtData"_s), svuotata ? QString() : u"10/02/2025"_s);
}

QTEST_MAIN(tst_FinestreRimessa)
#include "tst_finestrerimessa.moc"
