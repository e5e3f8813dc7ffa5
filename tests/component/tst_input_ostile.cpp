// Hostile input in every window: one corpus of texts (quotes, backslashes, comment markers, a
// second statement, LIKE wildcards, texts longer than the columns, letters of other alphabets,
// emoji, control characters) typed into every field whose value reaches a statement. Every row
// of every table is compared before and after: a search changes nothing, a save changes only
// the columns it writes of the one waybill it names, a remittance only its own rows, and what
// the operator typed is stored exactly as the field holds it.
#include "component/cRiscuti.h"
#include "collection/frmriscuti.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "remittance/controllidb.h"
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"
#include "search/apriricerca.h"
#include "search/frmricercagia.h"
#include "suite/RegistroComponenti.h"
#include "suite/cModuliStampa.h"
#include "suite/creamodulistampa.h"
#include "support/databasediprova.h"
#include "support/controlli.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Runs a step of a test (a helper that checks as it goes) and ends the test when it failed.
#define PASSO(passo)                                                                               \
    do {                                                                                           \
        passo;                                                                                     \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

namespace {

struct Voce
{
    const char *nome;
    QString testo;
};

// The corpus. No entry is a number and none holds a digit, so a date mask takes none of it.
const QList<Voce> corpus = {
    {"single quote", QStringLiteral("O'Brien")},
    {"double quotes", QStringLiteral("Il \"Gabbiano\"")},
    {"backslash at the end", QStringLiteral("C:\\dati\\")},
    {"escaped quote", QStringLiteral("\\' OR \\'x\\'=\\'x")},
    {"line comment", QStringLiteral("x' -- ")},
    {"block comment", QStringLiteral("x'/* y */'")},
    {"hash comment", QStringLiteral("x'#")},
    {"second statement", QStringLiteral("'; DELETE FROM letve00f; --")},
    {"LIKE wildcards", QStringLiteral("%_%")},
    {"accented letters", QStringLiteral("Çağrı Öğüt àèìòù")},
    {"other alphabets", QStringLiteral("日本語 Ελλάδα Москва")},
    {"emoji", QStringLiteral("💶🚚")},
    {"tab, CR and LF", QStringLiteral("a\tb\r\nc")},
    {"NUL", QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
    {"longer than every column", QString(70, u'L') + QStringLiteral("' OR '1'='1")},
};

// The waybill the collection tests save: a branch and a number made of quotes, a backslash and
// comment markers, found through its reference; and a neighbour with the same number and date
// in branch 01 that no action may touch.
const QString filialeOstile = QStringLiteral("'\\");
const QString ldvOstile = QStringLiteral("9'--#;");

const char *const anagrafiche = R"(
INSERT INTO filiali (codice, Descrizione) VALUES ('01', 'Milano'), ('''\\', 'Filiale ''\\');
INSERT INTO codicizona (Codice, Descrizione) VALUES (11, 'Milano città');
INSERT INTO forni (Codice, RagioneSociale, Vettore) VALUES (101, 'Autotrasporti Lombardi', 1);
INSERT INTO clien (Codice, RagioneSociale, Localita, Provincia)
VALUES (1001, 'Elettroforniture Brambilla S.p.A.', 'Milano', 'MI');
)";

const char *const lettere = R"(
DELETE FROM letve00f;
DELETE FROM contrassegni;
UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=42;
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, lelin1,
                      lecdve, lecnss, leanpc, leimpa, leban, lenras, lepiaz)
VALUES ('''\\', '9''--#;', 2031, '2031-03-03', 'DA-DEFINIRE', '2031-03-02', 1001, 'Destinatario',
        11, 101, 150.00, 12.50, 0, 'Banca di prima', 'N-1', 'Como'),
       ('01', '9''--#;', 2031, '2031-03-03', 'VICINO', '2031-03-02', 1001, 'Vicino',
        11, 101, 150.00, 12.50, 0, 'Banca del vicino', 'N-2', 'Lodi');
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lecodi, lecnss, leimcs, leflic, leflsc,
                      ledtin, lendvc, ledtvc)
VALUES ('01', '3001', 2025, '2025-01-01', 1001, 10, 10, '3', 0, '2025-01-01', 0, NULL),
       ('01', '3002', 2025, '2025-01-14', 1001, 20, 20, '3', 0, '2025-01-15', 0, NULL),
       ('03', '3003', 2025, '2025-01-19', 1001, 30.5, 30.5, '3', 0, '2025-01-20', 0, NULL),
       ('01', '4001', 2025, '2025-01-02', 1001, 11, 11, '3', 1, '2025-01-05', 42, '2025-02-10');
INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, Importo)
VALUES (42, '2025-02-10', 'A-1', 'Banca Sella', 11.00);
)";

const QString bersaglio = QStringLiteral("leanlv=2031 AND lefili<>'01'");

// The letter data the remittance handed to the print component.
QStringList datiLettera;

class StampaRegistrata : public cModuliStampa
{
public:
    void setPercorsoDb(const QString &) override {}
    void setNumeroModulo(int) override {}
    void setFileLogo(const QString &) override {}
    void DatiStampa(const QStringList &dati) override { datiLettera = dati; }
    void Stampa(QString &, bool &) override {}
};

} // namespace

class tst_InputOstile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void salvataggioIncasso_data() { righeCorpus(); }
    void salvataggioIncasso();
    void elencoSpedizioni_data() { righeCorpus(); }
    void elencoSpedizioni();
    void ricercaAnagrafica_data() { righeCorpus(); }
    void ricercaAnagrafica();
    void ricercaSpedizioni_data() { righeCorpus(); }
    void ricercaSpedizioni();
    void rimessa_data() { righeCorpus(); }
    void rimessa();
    void annullamento_data() { righeCorpus(); }
    void annullamento();
    void numeriFuoriMisura_data();
    void numeriFuoriMisura();

private:
    static void righeCorpus();
    static void inserisci(QLineEdit *campo, const QString &testo);
    static void digitaData(QLineEdit *campo, const QString &testo, const QString &cifre);
    template <typename T> T *controllo(const char *nome) const;
    void apri(FinestraLavoro *finestra);
    QList<MessaggioRegistrato> premi(const char *pulsante, int attesi);
    void clienteOstile(const QString &testo, QWidget *dopo);
    void mostraLdvOstile(const QString &testo);
    void compilaIncasso(const QString &testo, const QString &importo);
    void compilaRimessa(const QString &testo, const QString &importo);
    void compilaAnnullamento(const QString &numero, const QString &testo);
    QMap<QString, QStringList> istantanea() { return ControlliDb::istantanea(*m_db); }
    QMap<QString, QString> colonneBersaglio();
    void schermata() const;
    void pianta(const QString &colonna, const QString &valore, const QString &condizione);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<cRiscuti> m_componente;
    // Answers every box of the test (an unexpected one gets its default answer, never a hang).
    std::unique_ptr<RisposteMessaggi> m_risposte;
    QTemporaryDir m_cartella;
    FinestraLavoro *m_finestra = nullptr;
};

void tst_InputOstile::righeCorpus()
{
    QTest::addColumn<QString>("testo");
    for (const Voce &voce : corpus)
        QTest::newRow(voce.nome) << voce.testo;
}

// Types a text into a field as an operator can: a printable character by its key, anything
// else (tab, CR, LF, NUL) pasted from the clipboard, replacing what the field held.
void tst_InputOstile::inserisci(QLineEdit *campo, const QString &testo)
{
    QTest::mouseClick(campo, Qt::LeftButton);
    campo->setFocus(Qt::MouseFocusReason);
    campo->selectAll();
    for (int i = 0; i < testo.size(); ++i) {
        QString carattere = testo.at(i);
        if (carattere.front().isHighSurrogate() && i + 1 < testo.size())
            carattere += testo.at(++i);
        const QChar primo = carattere.front();
        if (primo.unicode() >= 0x20 && primo.unicode() < 0x7f) {
            QTest::keyClick(campo, char(primo.unicode()));
        } else if (primo.isPrint() || carattere.size() == 2) {
            QTest::sendKeyEvent(QTest::Click, campo, Qt::Key_unknown, carattere, Qt::NoModifier);
        } else {
            QGuiApplication::clipboard()->setText(carattere);
            QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
        }
    }
}

// A masked date field: the text typed first takes no place in it (only digits fit the mask; a
// pasted NUL shows as a blank), then the date's digits.
void tst_InputOstile::digitaData(QLineEdit *campo, const QString &testo, const QString &cifre)
{
    inserisci(campo, testo);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^[0-9_/ ]*$")).match(campo->displayText()).hasMatch(),
        qPrintable(campo->displayText()));
    inserisci(campo, cifre);
}

template <typename T> T *tst_InputOstile::controllo(const char *nome) const
{
    return controlloDi<T>(m_finestra, QLatin1String(nome));
}

void tst_InputOstile::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QVERIFY(m_cartella.isValid());
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(anagrafiche)));
    // A customer per corpus entry, holding the entry in every searchable field as far as the
    // column takes it.
    QSqlQuery inserimento(m_db->db());
    QVERIFY(inserimento.prepare(QStringLiteral("INSERT INTO clien (Codice, RagioneSociale, "
                                               "Localita, Provincia) VALUES (?, ?, ?, ?)")));
    for (int i = 0; i < corpus.size(); ++i) {
        const QString &testo = corpus.at(i).testo;
        inserimento.addBindValue(5000 + i);
        inserimento.addBindValue(testo.left(60));
        inserimento.addBindValue(testo.left(40));
        inserimento.addBindValue(testo.left(2));
        QVERIFY_SQL(inserimento, exec());
    }

    m_componente = std::make_unique<cRiscuti>();
    m_componente->setPercorsoDatabase(m_db->testoConnessione());
    QFile ini(m_cartella.filePath(QStringLiteral("suite.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[DLLStampe]\nIdentificativoDll=Ostile\n\n[FRMBOLLCARICHIINT]\nSTRCREATABELLA="
              "CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) SELECT * FROM ? LIMIT 0;\n");
    m_componente->setPercorsoFileIni(ini.fileName());
    RegistroComponenti::registra(IdProgrammaticoStampa(QStringLiteral("Ostile")),
                                 [] { return new StampaRegistrata; });
}

void tst_InputOstile::init()
{
    datiLettera.clear();
    m_risposte = std::make_unique<RisposteMessaggi>();
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(lettere)));
}

void tst_InputOstile::cleanup()
{
    QTest::qWait(20);
    if (m_finestra)
        m_finestra->scarica();
    m_finestra = nullptr;
    m_risposte.reset();
}

// With RISCUTI_SCHERMATE naming a folder, the window as filled is saved there, for the eye.
void tst_InputOstile::schermata() const
{
    const QString cartella = qEnvironmentVariable("RISCUTI_SCHERMATE");
    if (!cartella.isEmpty())
        m_finestra->grab().save(QStringLiteral("%1/ostile-%2-%3.png")
                                    .arg(cartella, m_finestra->objectName(),
                                         QString::fromLatin1(QTest::currentDataTag())
                                             .replace(QLatin1Char(' '), QLatin1Char('_'))));
}

void tst_InputOstile::apri(FinestraLavoro *finestra)
{
    m_finestra = finestra;
    if (finestra == frmRiscuti::istanza())
        m_componente->MostraRiscuti();
    else
        finestra->mostra();
    finestra->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(finestra));
}

// Presses a button of the window, answering Yes to a question and Ok to the rest, and waits
// for `attesi` boxes; the window is then the active one again.
QList<MessaggioRegistrato> tst_InputOstile::premi(const char *pulsante, int attesi)
{
    m_risposte->azzera();
    m_risposte->gestisci([](QWidget *finestra) {
        auto *box = qobject_cast<QMessageBox *>(finestra);
        QAbstractButton *risposta = box ? box->button(QMessageBox::Yes) : nullptr;
        if (!risposta && box)
            risposta = box->button(QMessageBox::Ok);
        if (risposta)
            risposta->click();
    });
    m_risposte->rispondi(QMessageBox::Ok);
    QTest::mouseClick(controllo<QPushButton>(pulsante), Qt::LeftButton);
    m_risposte->attendi(attesi, 5000);
    m_finestra->activateWindow();
    if (!QTest::qWaitForWindowActive(m_finestra))
        qWarning("%s did not become active again", qPrintable(m_finestra->objectName()));
    return m_risposte->registrati();
}

// The hostile text as a customer code is refused before any lookup; then the real customer.
void tst_InputOstile::clienteOstile(const QString &testo, QWidget *dopo)
{
    auto *codice = controllo<QLineEdit>("txtCodiceCli");
    m_risposte->azzera();
    m_risposte->rispondi(QMessageBox::Ok);
    inserisci(codice, testo);
    QTest::keyClick(codice, Qt::Key_Tab);
    QVERIFY(m_risposte->attendi(1));
    QCOMPARE(m_risposte->testi(), QStringList{QStringLiteral("Codice cliente assente o errato")});
    m_finestra->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_finestra));
    inserisci(codice, QStringLiteral("1001"));
    QTest::keyClick(codice, Qt::Key_Tab);
    QTRY_VERIFY(dopo->hasFocus());
}

// Sets a column of the hostile waybill (or of the rows meeting `condizione`) through a bound
// parameter, independent of the component's own escaping.
void tst_InputOstile::pianta(const QString &colonna, const QString &valore,
                             const QString &condizione)
{
    QSqlQuery query(m_db->db());
    QVERIFY(query.prepare(
        QStringLiteral("UPDATE letve00f SET %1=? WHERE %2").arg(colonna, condizione)));
    query.addBindValue(valore);
    QVERIFY_SQL(query, exec());
}

// The customer typed (hostile first), the hostile text as the sender's reference of the hostile
// waybill, its date typed over a hostile attempt: the lookup shows that waybill.
void tst_InputOstile::mostraLdvOstile(const QString &testo)
{
    PASSO(clienteOstile(testo, controllo<QLineEdit>("txtRiferimento")));
    auto *riferimento = controllo<QLineEdit>("txtRiferimento");
    inserisci(riferimento, testo);
    PASSO(pianta(QStringLiteral("lerife"), riferimento->text(), bersaglio));
    QTest::keyClick(riferimento, Qt::Key_Tab);
    auto *data = controllo<QLineEdit>("txtDataRif");
    PASSO(digitaData(data, testo, QStringLiteral("02032031")));
    QTest::keyClick(data, Qt::Key_Tab);
}

void tst_InputOstile::compilaIncasso(const QString &testo, const QString &importo)
{
    controllo<QComboBox>("cmbIncassoCon")->setCurrentIndex(0);
    for (const char *campo : {"txtFilInc", "txtBanca", "txtNrAssegno", "txtPiazza"})
        inserisci(controllo<QLineEdit>(campo), testo);
    inserisci(controllo<QLineEdit>("txtIncContrassegno"), importo);
    controllo<QComboBox>("cmbCodIncContr")->setCurrentIndex(1);
    QTest::mouseClick(controllo<QLabel>("lblImpAnt"), Qt::LeftButton);
    inserisci(controllo<QLineEdit>("txtIncAnticipata"), testo);
    controllo<QComboBox>("cmbCodIncAnt")->setCurrentIndex(2);
    digitaData(controllo<QLineEdit>("txtDataInc"), testo, QStringLiteral("15032031"));
}

QMap<QString, QString> tst_InputOstile::colonneBersaglio()
{
    QSqlQuery query(m_db->db());
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    QMap<QString, QString> colonne;
    if (!query.exec(QStringLiteral("SELECT * FROM letve00f WHERE ") + bersaglio) || !query.next())
        return colonne;
    for (int i = 0; i < query.record().count(); ++i)
        colonne.insert(query.record().fieldName(i),
                       query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
    return colonne;
}

// frmRiscuti: the customer code, the reference and the reference date, then the collecting
// branch, bank, cheque number, place and an amount typed with the text; saved on the waybill
// found. Only that waybill changes, only in the columns the save writes, each holding what its
// field held; a text that is no amount is not written.
void tst_InputOstile::salvataggioIncasso()
{
    QFETCH(QString, testo);
    PASSO(apri(frmRiscuti::istanza()));
    PASSO(mostraLdvOstile(testo));
    QTRY_COMPARE(controllo<QLineEdit>("txtLDV")->text(), ldvOstile);
    QCOMPARE(controllo<QLineEdit>("txtFiliale")->text(), filialeOstile);

    const QMap<QString, QStringList> prima = istantanea();
    const QStringList rigaPrima = ControlliDb::righe(*m_db, QStringLiteral("letve00f"), bersaglio);
    QMap<QString, QString> attese = colonneBersaglio();
    PASSO(compilaIncasso(testo, QStringLiteral("12,34")));
    const QString filiale = controllo<QLineEdit>("txtFilInc")->text();
    if (filiale.size() == 2)
        attese[QStringLiteral("lefinc")] = filiale;
    for (const auto &[campo, colonna] :
         {std::pair{"txtBanca", "leban"}, std::pair{"txtNrAssegno", "lenras"},
          std::pair{"txtPiazza", "lepiaz"}}) {
        const QString valore = controllo<QLineEdit>(campo)->text();
        if (!valore.isEmpty())
            attese[QLatin1String(colonna)] = valore;
    }
    attese[QStringLiteral("letpin")] = QStringLiteral("1");
    attese[QStringLiteral("leimcs")] = QStringLiteral("12.34");
    attese[QStringLiteral("leflic")] = QStringLiteral("1");
    attese[QStringLiteral("leflsc")] = QStringLiteral("0");
    attese[QStringLiteral("ledtin")] = QStringLiteral("2031-03-15");
    attese[QStringLiteral("leflco")] = QStringLiteral("0");
    schermata();

    QCOMPARE(premi("cmdSalva", 1).value(0).testo,
             QStringLiteral("Salvataggio effettuato correttamente."));
    QCOMPARE(colonneBersaglio(), attese);
    const QStringList rigaDopo = ControlliDb::righe(*m_db, QStringLiteral("letve00f"), bersaglio);
    QCOMPARE(rigaDopo.size(), 1);
    QCOMPARE(ControlliDb::differenze(prima, istantanea()),
             (QStringList{QStringLiteral("-letve00f: ") + rigaPrima.value(0),
                          QStringLiteral("+letve00f: ") + rigaDopo.value(0)}));
}

// frmRiscuti: the branch typed (quote and backslash) and the text as the reference, then the
// shipment list (F12) and its own reference field: the lists find the hostile waybill, and the
// pick loads it. Nothing changes.
void tst_InputOstile::elencoSpedizioni()
{
    QFETCH(QString, testo);
    PASSO(apri(frmRiscuti::istanza()));
    PASSO(clienteOstile(testo, controllo<QLineEdit>("txtRiferimento")));
    inserisci(controllo<QLineEdit>("txtFiliale"), filialeOstile);
    auto *riferimento = controllo<QLineEdit>("txtRiferimento");
    inserisci(riferimento, testo);
    const QString tipizzato = riferimento->text();
    PASSO(pianta(QStringLiteral("lerife"), tipizzato, bersaglio));
    const QMap<QString, QStringList> prima = istantanea();

    QStringList primaLista, secondaLista;
    QString valore;
    m_risposte->azzera();
    m_risposte->gestisci([&](QWidget *finestra) {
        auto *griglia = finestra->findChild<QTableView *>(QStringLiteral("Griglia"));
        if (!qobject_cast<frmRicercaGia *>(finestra) || !griglia) {
            finestra->close(); // not the list: recorded, and the test fails on it
            return;
        }
        const auto numeri = [griglia] {
            QStringList elencati;
            for (int riga = 0; riga < griglia->model()->rowCount(); ++riga)
                elencati << griglia->model()->index(riga, 9).data().toString();
            return elencati;
        };
        primaLista = numeri();
        auto *txtValore = finestra->findChild<QLineEdit *>(QStringLiteral("txtValore"));
        inserisci(txtValore, testo);
        valore = txtValore->text();
        finestra->findChild<QPushButton *>(QStringLiteral("cmdVisualizza"))->click();
        secondaLista = numeri();
        const int riga = int(secondaLista.indexOf(ldvOstile));
        if (riga < 0) {
            QTest::keyClick(finestra, Qt::Key_Escape);
            return;
        }
        griglia->setCurrentIndex(griglia->model()->index(riga, 0));
        finestra->findChild<QPushButton *>(QStringLiteral("cmdSeleziona"))->click();
    });
    QTest::keyClick(riferimento, Qt::Key_F12);
    QVERIFY(m_risposte->attendi(1));
    QCOMPARE(m_risposte->registrati().first().classe, QStringLiteral("frmRicercaGia"));

    // The first list holds the waybill whose reference is the typed one; the dialog's own
    // field, longer than the reference column, finds it when it holds the same text.
    QVERIFY(primaLista.contains(ldvOstile));
    QCOMPARE(secondaLista.contains(ldvOstile), valore == tipizzato);
    if (valore == tipizzato)
        QTRY_COMPARE(controllo<QLineEdit>("txtLDV")->text(), ldvOstile);
    QCOMPARE(ControlliDb::differenze(prima, istantanea()), QStringList());
}

// frmRicerca: the text searched by name, town and province, from the start and inside, and by
// code and VAT number. Each search lists exactly the customers whose field starts with, or
// holds, the text as typed (LIKE wildcards standing for themselves); a code or VAT search is
// refused; nothing changes.
void tst_InputOstile::ricercaAnagrafica()
{
    QFETCH(QString, testo);
    const QMap<QString, QStringList> prima = istantanea();
    const struct
    {
        const char *campo;
        const char *colonna;
        const char *confronto; // nullptr: matched whole, the dialog refuses a text
    } ricerche[] = {{"optRagSoc", "RagioneSociale", "optIniziale"},
                    {"optRagSoc", "RagioneSociale", "optInterna"},
                    {"optLocalita", "Localita", "optIniziale"},
                    {"optLocalita", "Localita", "optInterna"},
                    {"optProvincia", "Provincia", "optIniziale"},
                    {"optProvincia", "Provincia", "optInterna"},
                    {"optCodice", "Codice", nullptr},
                    {"optIva", "PartitaIva", nullptr}};
    const int proprio = 5000 + int(std::find_if(corpus.cbegin(), corpus.cend(),
                                                [&](const Voce &v) { return v.testo == testo; }) -
                                   corpus.cbegin());
    // One line per search, "<field> <matching>: <codes listed> <messages>", as seen and as due.
    QStringList visti, dovuti;
    for (const auto &ricerca : ricerche) {
        const QString quale = QLatin1String(ricerca.campo) + QLatin1Char(' ') +
                              QLatin1String(ricerca.confronto ? ricerca.confronto : "") +
                              QStringLiteral(": ");
        QString cercato;
        QStringList trovati;
        RisposteMessaggi &risposte = *m_risposte;
        risposte.azzera();
        risposte.gestisci([&](QWidget *dialogo) {
            if (dialogo->objectName() != QLatin1String("frmRicerca")) {
                dialogo->close(); // not the search: recorded, and the test fails on it
                return;
            }
            QTest::mouseClick(dialogo->findChild<QRadioButton *>(QLatin1String(ricerca.campo)),
                              Qt::LeftButton);
            if (ricerca.confronto)
                QTest::mouseClick(
                    dialogo->findChild<QRadioButton *>(QLatin1String(ricerca.confronto)),
                    Qt::LeftButton);
            auto *txtCerca = dialogo->findChild<QLineEdit *>(QStringLiteral("txtCerca"));
            inserisci(txtCerca, testo);
            cercato = txtCerca->text();
            QTest::mouseClick(dialogo->findChild<QPushButton *>(QStringLiteral("cmdRicerca")),
                              Qt::LeftButton);
            if (!dialogo->isVisible())
                return;
            auto *lista = dialogo->findChild<QListWidget *>(QStringLiteral("lstCerca"));
            for (int i = 0; i < lista->count(); ++i)
                trovati << lista->item(i)->data(Qt::UserRole).toString();
            QTest::mouseClick(dialogo->findChild<QPushButton *>(QStringLiteral("cmdAnnulla")),
                              Qt::LeftButton);
        });
        risposte.rispondi(QMessageBox::Ok);
        QVERIFY(!ApriRicerca(1, QStringLiteral("Clien")));
        trovati.sort();
        visti << quale + trovati.join(u',') + QLatin1Char(' ') + risposte.testi().join(u'|');

        if (!ricerca.confronto) {
            dovuti << quale + QStringLiteral(" Bisogna inserire un valore numerico nella casella "
                                             "Ricerca, se si seleziona la ricerca per 'CODICE' o "
                                             "per 'P.IVA'");
            continue;
        }
        // What the search must find, asked of the server with the text as a bound parameter.
        QSqlQuery attesi(m_db->db());
        attesi.prepare(
            QStringLiteral("SELECT Codice FROM clien WHERE LOCATE(?, %1) %2")
                .arg(
                    QLatin1String(ricerca.colonna),
                    QLatin1String(qstrcmp(ricerca.confronto, "optIniziale") == 0 ? "= 1" : "> 0")));
        attesi.addBindValue(cercato);
        QVERIFY_SQL(attesi, exec());
        QStringList codici;
        while (attesi.next())
            codici << attesi.value(0).toString();
        codici.sort();
        dovuti << quale + codici.join(u',') + QLatin1Char(' ') +
                      (codici.isEmpty() ? QStringLiteral("Occorrenza non trovata nel database.")
                                        : QString());
        // The customer planted with this very text is among them, where the column holds it.
        if (qstrcmp(ricerca.colonna, "RagioneSociale") == 0 && cercato.size() <= 60)
            QVERIFY(codici.contains(QString::number(proprio)));
    }
    QCOMPARE(visti, dovuti);
    QCOMPARE(ControlliDb::differenze(prima, istantanea()), QStringList());
}

// frmRicercaGia in each of its modes with the text in every property the caller hands over and
// in its own fields: a list shows or the component refuses a value that is not a number (13);
// the server never sees a broken statement, and nothing changes.
void tst_InputOstile::ricercaSpedizioni()
{
    QFETCH(QString, testo);
    const QMap<QString, QStringList> prima = istantanea();
    frmRicercaGia *dialogo = frmRicercaGia::istanza();
    for (int modo : {1, 7, 10, 11, 12, -12}) {
        dialogo->setTipoRicerca(qAbs(modo));
        // -12: the customer code itself hostile.
        dialogo->setCodiceCliente(modo < 0 ? testo : QStringLiteral("1001"));
        dialogo->setFiliale(testo);
        dialogo->setRiferimentoCliente(testo);
        dialogo->setNumLetVett(testo);
        dialogo->setAnnoRif_LDV(testo);
        dialogo->setGiacenza(testo);
        dialogo->setAnnoGiacenza(QStringLiteral("2031"));
        dialogo->setRagioneSocialeCliente(testo);
        dialogo->setTitolo(testo);
        RisposteMessaggi &risposte = *m_risposte;
        risposte.azzera();
        risposte.gestisci([&](QWidget *finestra) {
            if (finestra != dialogo) {
                finestra->close(); // not the list: recorded, and the test fails on it
                return;
            }
            auto *valore = dialogo->findChild<QLineEdit *>(QStringLiteral("txtValore"));
            auto *annoData = dialogo->findChild<QLineEdit *>(QStringLiteral("txtAnnoData"));
            if (valore->isVisible())
                inserisci(valore, modo == 7 ? QStringLiteral("1") : testo);
            if (annoData->isVisible() && annoData->isEnabled())
                inserisci(annoData, testo);
            auto *visualizza = dialogo->findChild<QPushButton *>(QStringLiteral("cmdVisualizza"));
            if (visualizza->isVisible())
                QTest::mouseClick(visualizza, Qt::LeftButton);
            QTest::keyClick(dialogo, Qt::Key_Escape);
        });
        risposte.rispondi(QMessageBox::Ok);
        QStringList errori;
        try {
            dialogo->mostraModale();
        } catch (const ErroreDb &errore) {
            errori << errore.testo();
        }
        errori += risposte.testi();
        for (const QString &errore : std::as_const(errori))
            QVERIFY2(errore.startsWith(QStringLiteral("13 Tipo non corrispondente")),
                     qPrintable(QStringLiteral("mode %1: %2").arg(modo).arg(errore)));
        QCOMPARE(errori.isEmpty(), modo > 0);
    }
    QCOMPARE(ControlliDb::differenze(prima, istantanea()), QStringList());
}

// Customer 1001 (after a hostile code), type "Invio ns assegno", January 2025 typed over hostile
// attempts, the text as our reference and bank, and as the amount first.
void tst_InputOstile::compilaRimessa(const QString &testo, const QString &importo)
{
    auto *tipo = controllo<QComboBox>("cmbCodInc");
    PASSO(clienteOstile(testo, tipo));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(tipo, Qt::Key_Down);
    PASSO(digitaData(controllo<QLineEdit>("txtDataDa"), testo, QStringLiteral("01012025")));
    PASSO(digitaData(controllo<QLineEdit>("txtDataAl"), testo, QStringLiteral("31012025")));
    inserisci(controllo<QLineEdit>("txtRiferimento"), testo);
    inserisci(controllo<QLineEdit>("txtBanca"), testo);
    inserisci(controllo<QLineEdit>("txtImportoAss"), importo);
    QCOMPARE(controllo<QLineEdit>("txtDataDa")->displayText(), QStringLiteral("01/01/2025"));
}

// frmRimessa: a hostile amount is refused before anything is written; then with a real amount
// the remittance holds our reference and bank exactly as typed, in its three records and in the
// letter, and changes only its own rows.
void tst_InputOstile::rimessa()
{
    QFETCH(QString, testo);
    PASSO(apri(frmRimessa::istanza()));
    PASSO(compilaRimessa(testo, testo));
    const QMap<QString, QStringList> prima = istantanea();
    const QString codaErrore =
        QStringLiteral("\r\nerrore generato da stampa rimessa contrassegni.");
    const QList<MessaggioRegistrato> rifiuto = premi("cmdRimessa", 2);
    QCOMPARE(rifiuto.size(), 2);
    QVERIFY2(rifiuto.last().testo.startsWith(QStringLiteral("13 Tipo non corrispondente")) &&
                 rifiuto.last().testo.endsWith(codaErrore),
             qPrintable(rifiuto.last().testo));
    QCOMPARE(ControlliDb::differenze(prima, istantanea()), QStringList());

    inserisci(controllo<QLineEdit>("txtImportoAss"), QStringLiteral("60,5"));
    const QString riferimento = controllo<QLineEdit>("txtRiferimento")->text();
    const QString banca = controllo<QLineEdit>("txtBanca")->text();
    schermata();
    QCOMPARE(premi("cmdRimessa", 1).size(), 1);

    QSqlQuery record(m_db->db());
    record.setNumericalPrecisionPolicy(QSql::HighPrecision);
    QVERIFY_SQL(record, exec(QStringLiteral("SELECT Riferimento, Banca, Importo FROM contrassegni "
                                            "WHERE NrDistinta=43")));
    int righe = 0;
    for (; record.next(); ++righe) {
        QCOMPARE(record.value(0).toString(), riferimento);
        QCOMPARE(record.value(1).toString(), banca);
        QCOMPARE(record.value(2).toString(), QStringLiteral("60.50"));
    }
    QCOMPARE(righe, 3);
    QCOMPARE(datiLettera.value(2),
             QStringLiteral("In allegato vi trasmettiamo assegno/bonifico nr. ") + riferimento +
                 QStringLiteral(" emesso a Vs. ordine,"));
    QVERIFY(datiLettera.value(3).startsWith(QStringLiteral("tratto su: ") + banca +
                                            QStringLiteral(" per l'importo di ")));

    // Changed: the three waybills, three new records, the last number; nothing else.
    QMap<QString, int> cambiate;
    for (const QString &riga : ControlliDb::differenze(prima, istantanea()))
        ++cambiate[riga.section(u':', 0, 0)];
    QCOMPARE(cambiate, (QMap<QString, int>{{QStringLiteral("-letve00f"), 3},
                                           {QStringLiteral("+letve00f"), 3},
                                           {QStringLiteral("+contrassegni"), 3},
                                           {QStringLiteral("-zolvimacon_tabge00f"), 1},
                                           {QStringLiteral("+zolvimacon_tabge00f"), 1}}));
    QCOMPARE(m_db->valore(QStringLiteral("SELECT COUNT(*) FROM letve00f WHERE lendvc=43 AND "
                                         "leflsc=1 AND lenrlv LIKE '300_'"))
                 .toInt(),
             3);
}

void tst_InputOstile::compilaAnnullamento(const QString &numero, const QString &testo)
{
    inserisci(controllo<QLineEdit>("txtNum"), numero);
    digitaData(controllo<QLineEdit>("txtData"), testo, QStringLiteral("10022025"));
}

// frmAnnullaRimessa: the text as the number (asked about, then refused), and, with a real
// number, as the date where no key can put it (the field unfocused, without its mask): refused.
// Nothing changes.
void tst_InputOstile::annullamento()
{
    QFETCH(QString, testo);
    PASSO(apri(frmAnnullaRimessa::istanza()));
    const QMap<QString, QStringList> prima = istantanea();
    auto *data = controllo<QLineEdit>("txtData");
    PASSO(compilaAnnullamento(testo, testo));
    QCOMPARE(data->displayText(), QStringLiteral("10/02/2025"));
    const QString numero = controllo<QLineEdit>("txtNum")->text();
    const QString impossibile = QStringLiteral("Impossibile annullare la rimessa contrassegni.");
    const QList<MessaggioRegistrato> messaggi = premi("cmdAnnullaRimessa", 2);
    QCOMPARE(messaggi.size(), 2);
    QCOMPARE(messaggi.value(0).testo,
             QStringLiteral("Annullare la rimessa ") + numero + QStringLiteral(" del 10/02/2025?"));
    QCOMPARE(messaggi.value(1).testo, impossibile);

    PASSO(compilaAnnullamento(QStringLiteral("42"), QString()));
    controllo<QLineEdit>("txtNum")->setFocus();
    data->setInputMask(QString());
    data->setText(testo);
    QCOMPARE(premi("cmdAnnullaRimessa", 2).value(1).testo, impossibile);
    QCOMPARE(ControlliDb::differenze(prima, istantanea()), QStringList());
}

void tst_InputOstile::numeriFuoriMisura_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("messaggio");
    QTest::newRow("collected amount beyond DECIMAL(12,2)")
        << "frmRiscuti"
        << "9999999999999"
        << "1264 Out of range value for column 'leimcs' at row 1";
    QTest::newRow("our cheque's amount beyond DECIMAL(12,2)")
        << "frmRimessa"
        << "9999999999999"
        << "1264 Out of range value for column 'Importo' at row 1\r\nerrore generato da stampa "
           "rimessa contrassegni.";
    QTest::newRow("remittance number beyond any whole number")
        << "frmAnnullaRimessa"
        << "12345678901234567890"
        << "Impossibile annullare la rimessa contrassegni.";
}

// A number too large for its column: a clear message, nothing written, the entry kept.
void tst_InputOstile::numeriFuoriMisura()
{
    QFETCH(QString, finestra);
    QFETCH(QString, numero);
    QFETCH(QString, messaggio);
    QMap<QString, QStringList> prima;
    const char *pulsante = nullptr;
    const char *campo = nullptr;
    if (finestra == QLatin1String("frmRiscuti")) {
        PASSO(apri(frmRiscuti::istanza()));
        PASSO(mostraLdvOstile(QStringLiteral("Rif")));
        QTRY_COMPARE(controllo<QLineEdit>("txtLDV")->text(), ldvOstile);
        PASSO(compilaIncasso(QStringLiteral("Banca"), numero));
        pulsante = "cmdSalva";
        campo = "txtIncContrassegno";
    } else if (finestra == QLatin1String("frmRimessa")) {
        PASSO(apri(frmRimessa::istanza()));
        PASSO(compilaRimessa(QStringLiteral("Banca"), numero));
        pulsante = "cmdRimessa";
        campo = "txtImportoAss";
    } else {
        PASSO(apri(frmAnnullaRimessa::istanza()));
        PASSO(compilaAnnullamento(numero, QString()));
        pulsante = "cmdAnnullaRimessa";
        campo = "txtNum";
    }
    prima = istantanea();
    QCOMPARE(premi(pulsante, finestra == QLatin1String("frmRiscuti") ? 1 : 2).last().testo,
             messaggio);
    QCOMPARE(ControlliDb::differenze(prima, istantanea()), QStringList());
    QCOMPARE(ControlliDb::tabelleDiLavoro(*m_db), QStringList());
    QCOMPARE(controllo<QLineEdit>(campo)->text(), numero);
}

QTEST_MAIN(tst_InputOstile)
#include "tst_input_ostile.moc"
