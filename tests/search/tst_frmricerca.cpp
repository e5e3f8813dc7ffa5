#include "search/frmricerca.h"

#include "suite/cCercaAnagrafica.h"
#include "services/modprincipale.h"
#include "data/recordset.h"
#include "search/apriricerca.h"
#include "support/databasediprova.h"
#include "support/controlli.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

// The customer, supplier and recipient search, driven as an operator drives it against the demo
// registers and a few rows of the test's own.
class tst_frmRicerca : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlliInput_data();
    void controlliInput();
    void righeDellaLista_data();
    void righeDellaLista();
    void sceltaDiUnaRiga_data();
    void sceltaDiUnaRiga();
    void focusSenzaRigaSceltaNonSceglie();
    void tastieraSceglieLaRiga();
    void ricercaPerCodiceOIva_data();
    void ricercaPerCodiceOIva();
    void nienteTrovato_data();
    void nienteTrovato();
    void chiusuraSenzaScelta_data();
    void chiusuraSenzaScelta();
    void opzioniEConfronto();
    void titoliPerAnagrafica_data();
    void titoliPerAnagrafica();
    void anagraficaNonPrevista();
    void altroErroreLasciaLaFinestra();
    void apriRicercaConsegnaIlRecord();

private:
    using Azione = std::function<void(frmRicerca *)>;

    // Shows the dialog for a register, runs `azione` on it once it is open and active, and
    // returns when it has closed. `risposte` queues the answers to the message boxes that the
    // showing sets off, in their order.
    void mostra(int tipo, const Azione &azione, const std::function<void()> &risposte = {},
                const QString &tabella = QStringLiteral("Clien"));
    // A code search that leaves `codice` as IdRecord, so a later showing has a known record.
    void impostaIdRecord(int codice);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<RisposteMessaggi> m_risposte;
};

namespace {

template <typename T> T *controllo(QWidget *finestra, const char *nome)
{
    return controlloDi<T>(finestra, QLatin1String(nome));
}

QLineEdit *txtCerca(QWidget *d)
{
    return controllo<QLineEdit>(d, "txtCerca");
}
QListWidget *lstCerca(QWidget *d)
{
    return controllo<QListWidget>(d, "lstCerca");
}
QPushButton *cmdRicerca(QWidget *d)
{
    return controllo<QPushButton>(d, "cmdRicerca");
}
QPushButton *cmdAnnulla(QWidget *d)
{
    return controllo<QPushButton>(d, "cmdAnnulla");
}
QRadioButton *opzione(QWidget *d, const QString &nome)
{
    return controllo<QRadioButton>(d, qPrintable(nome));
}

void clicRiga(QListWidget *lista, int riga)
{
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                      lista->visualItemRect(lista->item(riga)).center());
}

QStringList righe(QListWidget *lista)
{
    QStringList testi;
    for (int i = 0; i < lista->count(); ++i)
        testi << lista->item(i)->text();
    return testi;
}

QList<int> codici(QListWidget *lista)
{
    QList<int> valori;
    for (int i = 0; i < lista->count(); ++i)
        valori << lista->item(i)->data(Qt::UserRole).toInt();
    return valori;
}

int codiceDi(const Recordset *record)
{
    return record ? record->campo(QStringLiteral("Codice")).toInt() : -1;
}

const QString testo513 =
    QStringLiteral("Campo Ricerca vuoto! Bisogna inserire una stringa da ricercare");
const QString testo514 =
    QStringLiteral("Bisogna inserire un valore numerico nella casella Ricerca, se si seleziona la "
                   "ricerca per 'CODICE' o per 'P.IVA'");
const QString testo515 =
    QStringLiteral("Selezionando la ricerca per 'Ragione Sociale','Località','Provincia'; "
                   "bisogna inserire nella casella ricerca un valore non numerico");
const QString testo516 =
    QStringLiteral("Selezionando la ricerca per 'partita iva'; bisogna inserire nella casella "
                   "ricerca un valore numerico di 11 caratteri");
const QString nonTrovata = QStringLiteral("Occorrenza non trovata nel database.");

} // namespace

void tst_frmRicerca::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaDemo());
    // Two customers with the same name and one whose name ends in blanks, in a town and a
    // province of their own.
    QVERIFY(m_db->esegui(QStringLiteral(
        "INSERT INTO clien (Codice, RagioneSociale, Localita, Provincia, PartitaIva) VALUES "
        "(9001, 'Zeta Prova  ', 'Zetopoli', 'ZZ', '99999999990'), "
        "(9002, 'Zeta Gemella', 'Gemellopoli', 'ZZ', NULL), "
        "(9003, 'Zeta Gemella', 'Gemellopoli', 'ZZ', NULL)")));
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
}

void tst_frmRicerca::init()
{
    m_risposte = std::make_unique<RisposteMessaggi>();
}

void tst_frmRicerca::cleanup()
{
    m_risposte.reset();
}

void tst_frmRicerca::mostra(int tipo, const Azione &azione, const std::function<void()> &risposte,
                            const QString &tabella)
{
    frmRicerca *dialogo = frmRicerca::istanza();
    dialogo->setClienti_Fornitori(tipo);
    dialogo->setNomeTabella(tabella);
    dialogo->setPercorsoDatabase(m_db->testoConnessione());
    m_risposte->gestisci([azione](QWidget *finestra) {
        auto *aperto = qobject_cast<frmRicerca *>(finestra);
        QVERIFY(aperto);
        QVERIFY(QTest::qWaitForWindowActive(aperto));
        azione(aperto);
    });
    if (risposte)
        risposte();
    dialogo->mostraModale();
    QVERIFY(!dialogo->isVisible());
}

void tst_frmRicerca::impostaIdRecord(int codice)
{
    mostra(1, [codice](frmRicerca *d) {
        clic(opzione(d, QStringLiteral("optCodice")));
        QTest::keyClicks(txtCerca(d), QString::number(codice));
        clic(cmdRicerca(d));
    });
    QCOMPARE(codiceDi(frmRicerca::istanza()->IdRecord()), codice);
    m_risposte->azzera();
}

// Each check points at the input with its arrows while its message shows, then lets the
// operator correct the text: nothing is disabled yet.
void tst_frmRicerca::controlliInput_data()
{
    QTest::addColumn<QString>("opzione");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("messaggio");
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<QStringList>("frecce");
    QTest::addColumn<bool>("svuotato");

    const QString suite = QStringLiteral("Gestione Trasporti");
    const QStringList tutte{"Image2", "Image3", "Image4"};
    auto riga = [](const char *nome, const char *opzione, const QString &testo,
                   const QString &messaggio, const QString &titolo, const QStringList &frecce,
                   bool svuotato) {
        QTest::newRow(nome) << QString::fromLatin1(opzione) << testo << messaggio << titolo
                            << frecce << svuotato;
    };
    riga("513 empty text, with the title as written", "optRagSoc", "", testo513,
         QStringLiteral("Gestione trasorti"), {"Image4"}, false);
    riga("514 letters in a code", "optCodice", "12a", testo514, suite, tutte, true);
    riga("514 letters in a VAT number before its length", "optIva", "abc", testo514, suite, tutte,
         true);
    riga("516 ten digits for a VAT number", "optIva", "1234567890", testo516, suite,
         {"Image3", "Image4"}, true);
    riga("516 twelve digits for a VAT number", "optIva", "123456789012", testo516, suite,
         {"Image3", "Image4"}, true);
    riga("515 a number for the company name", "optRagSoc", "123", testo515, suite, {"Image4"},
         true);
    riga("515 a number for the town", "optLocalita", "123", testo515, suite, {"Image4"}, true);
    riga("515 a number for the province", "optProvincia", "123", testo515, suite, {"Image4"}, true);
    riga("515 a number in the operator's format", "optRagSoc", "1.234,5", testo515, suite,
         {"Image4"}, true);
}

void tst_frmRicerca::controlliInput()
{
    QFETCH(QString, opzione);
    QFETCH(QString, testo);
    QFETCH(QString, messaggio);
    QFETCH(QString, titolo);
    QFETCH(QStringList, frecce);
    QFETCH(bool, svuotato);

    QStringList visibiliDuranteIlMessaggio;
    auto guardaLeFrecce = [&](QWidget *box) {
        for (const char *nome : {"Image2", "Image3", "Image4"}) {
            if (controllo<QLabel>(frmRicerca::istanza(), nome)->isVisible())
                visibiliDuranteIlMessaggio << QString::fromLatin1(nome);
        }
        qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
    };

    mostra(
        1,
        [&](frmRicerca *d) {
            clic(::opzione(d, opzione));
            QTest::keyClicks(txtCerca(d), testo);
            clic(cmdRicerca(d));

            QCOMPARE(txtCerca(d)->text(), svuotato ? QString() : testo);
            QVERIFY(txtCerca(d)->isEnabled());
            QVERIFY(controllo<QGroupBox>(d, "fraSelezione")->isEnabled());
            for (const char *nome : {"Image2", "Image3", "Image4"})
                QVERIFY2(!controllo<QLabel>(d, nome)->isVisible(), nome);
            // The focus goes back into the field when the dialog is active again.
            QCOMPARE(d->focusWidget(), static_cast<QWidget *>(txtCerca(d)));
            QVERIFY(d->isVisible());
            clic(cmdAnnulla(d));
        },
        [&] { m_risposte->gestisci(guardaLeFrecce); });

    QCOMPARE(m_risposte->registrati().size(), 2);
    QCOMPARE(comeAppare(m_risposte->registrati().at(1)),
             comeAppare(messaggio, titolo, QMessageBox::Information));
    QCOMPARE(visibiliDuranteIlMessaggio, frecce);
}

// The list rows: the stored name for a name search, "name ---town" for a town, "province
// ---name" for a province; each row carries its record's code.
void tst_frmRicerca::righeDellaLista_data()
{
    QTest::addColumn<QString>("opzione");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QStringList>("attese");
    QTest::addColumn<QList<int>>("codiciAttesi");

    QTest::newRow("company name as stored, trailing blanks kept")
        << "optRagSoc"
        << "Zeta" << QStringList{"Zeta Gemella", "Zeta Gemella", "Zeta Prova  "}
        << QList<int>{9002, 9003, 9001};
    QTest::newRow("town: trimmed name, blank, three hyphens, town")
        << "optLocalita"
        << "Zetop" << QStringList{"Zeta Prova ---Zetopoli"} << QList<int>{9001};
    QTest::newRow("province: province, blank, three hyphens, name as stored")
        << "optProvincia"
        << "ZZ" << QStringList{"ZZ ---Zeta Gemella", "ZZ ---Zeta Gemella", "ZZ ---Zeta Prova  "}
        << QList<int>{9002, 9003, 9001};
}

void tst_frmRicerca::righeDellaLista()
{
    QFETCH(QString, opzione);
    QFETCH(QString, testo);
    QFETCH(QStringList, attese);
    QFETCH(QList<int>, codiciAttesi);

    mostra(1, [&](frmRicerca *d) {
        clic(::opzione(d, opzione));
        QTest::keyClicks(txtCerca(d), testo);
        clic(cmdRicerca(d));

        QCOMPARE(righe(lstCerca(d)), attese);
        QCOMPARE(codici(lstCerca(d)), codiciAttesi);
        // The listed state: only the list and the two buttons are live.
        QVERIFY(lstCerca(d)->isEnabled());
        QCOMPARE(lstCerca(d)->palette().color(QPalette::Base),
                 d->palette().color(QPalette::Active, QPalette::Base));
        QVERIFY(!txtCerca(d)->isEnabled());
        QVERIFY(!controllo<QGroupBox>(d, "fraSelezione")->isEnabled());
        QVERIFY(!controllo<QGroupBox>(d, "fraTipoStringa")->isEnabled());
        clic(cmdAnnulla(d));
    });
    QCOMPARE(m_risposte->registrati().size(), 1);
}

// A click on a row returns that row's record, found again by its code: two rows with the same
// text give their own records.
void tst_frmRicerca::sceltaDiUnaRiga_data()
{
    QTest::addColumn<int>("riga");
    QTest::addColumn<int>("codice");
    QTest::addColumn<QString>("nome");
    QTest::newRow("first of two equal names") << 0 << 9002 << "Zeta Gemella";
    QTest::newRow("second of two equal names") << 1 << 9003 << "Zeta Gemella";
    QTest::newRow("name with trailing blanks") << 2 << 9001 << "Zeta Prova  ";
}

void tst_frmRicerca::sceltaDiUnaRiga()
{
    QFETCH(int, riga);
    QFETCH(int, codice);
    QFETCH(QString, nome);

    mostra(1, [&](frmRicerca *d) {
        QTest::keyClicks(txtCerca(d), QStringLiteral("Zeta"));
        clic(cmdRicerca(d));
        QCOMPARE(lstCerca(d)->count(), 3);
        clicRiga(lstCerca(d), riga);
        QTRY_VERIFY(!d->isVisible());
    });

    const Recordset *record = frmRicerca::istanza()->IdRecord();
    QVERIFY(record);
    QCOMPARE(codiceDi(record), codice);
    QCOMPARE(record->campo(1).toInt(), codice); // the caller reads the code as the second field
    QCOMPARE(record->campo(QStringLiteral("RagioneSociale")).toString(), nome);
    QVERIFY(!frmRicerca::istanza()->NonTrovataOccorrenza());
}

// The list chooses on receiving the focus: with a selected row that row is taken; reached with
// Tab and nothing selected, nothing is taken and the operator can still pick.
void tst_frmRicerca::focusSenzaRigaSceltaNonSceglie()
{
    impostaIdRecord(1001);
    mostra(1, [&](frmRicerca *d) {
        QTest::keyClicks(txtCerca(d), QStringLiteral("Zeta"));
        clic(cmdRicerca(d));
        QListWidget *lista = lstCerca(d);
        lista->setFocus(Qt::TabFocusReason);
        QTest::qWait(20);
        QVERIFY(d->isVisible());
        QVERIFY(lista->selectedItems().isEmpty());

        // Down arrow selects the second row, leaving the list and coming back takes it.
        QTest::keyClick(lista, Qt::Key_Down);
        QCOMPARE(lista->selectedItems().value(0), lista->item(1));
        QVERIFY(d->isVisible());
        cmdAnnulla(d)->setFocus(Qt::TabFocusReason);
        lista->setFocus(Qt::BacktabFocusReason);
        QTRY_VERIFY(!d->isVisible());
    });
    QCOMPARE(codiceDi(frmRicerca::istanza()->IdRecord()), 9003);
}

// From the keyboard: the dialog opens in the search field, Enter starts the search, then into
// the list, down to a row, Enter takes it.
void tst_frmRicerca::tastieraSceglieLaRiga()
{
    mostra(1, [&](frmRicerca *d) {
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(txtCerca(d)));
        QTest::keyClicks(txtCerca(d), QStringLiteral("Zeta"));
        QTest::keyClick(txtCerca(d), Qt::Key_Return);
        QListWidget *lista = lstCerca(d);
        lista->setFocus(Qt::TabFocusReason);
        QTest::keyClick(lista, Qt::Key_Down);
        QTest::keyClick(lista, Qt::Key_Return);
        QTRY_VERIFY(!d->isVisible());
    });
    QCOMPARE(codiceDi(frmRicerca::istanza()->IdRecord()), 9003);
    QCOMPARE(m_risposte->registrati().size(), 1);
}

// A code or VAT-number search returns the component's result at once, without a list; a code
// that does not exist returns the empty result, which the caller tests.
void tst_frmRicerca::ricercaPerCodiceOIva_data()
{
    QTest::addColumn<QString>("opzione");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<int>("codice"); // -1: an empty result
    QTest::newRow("VAT number of eleven digits") << "optIva"
                                                 << "08642090156" << 1002;
    QTest::newRow("code of no customer") << "optCodice"
                                         << "424242" << -1;
}

void tst_frmRicerca::ricercaPerCodiceOIva()
{
    QFETCH(QString, opzione);
    QFETCH(QString, testo);
    QFETCH(int, codice);

    impostaIdRecord(1001);
    mostra(1, [&](frmRicerca *d) {
        clic(::opzione(d, opzione));
        QTest::keyClicks(txtCerca(d), testo);
        clic(cmdRicerca(d));
        QVERIFY(!d->isVisible());
        QCOMPARE(lstCerca(d)->count(), 0);
    });

    frmRicerca *dialogo = frmRicerca::istanza();
    QVERIFY(dialogo->IdRecord());
    QVERIFY(!dialogo->NonTrovataOccorrenza());
    QCOMPARE(m_risposte->registrati().size(), 1); // no message
    if (codice < 0) {
        QVERIFY(dialogo->IdRecord()->aperto());
        QVERIFY(dialogo->IdRecord()->eof());
    } else {
        QCOMPARE(codiceDi(dialogo->IdRecord()), codice);
    }
}

// Nothing found by a listing search: the message, NonTrovataOccorrenza, and IdRecord as it was.
// A text of blanks passes every check and is searched as it is.
void tst_frmRicerca::nienteTrovato_data()
{
    QTest::addColumn<QString>("opzione");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<bool>("speciale");
    QTest::newRow("no such company name") << "optRagSoc"
                                          << "Inesistente" << false;
    QTest::newRow("a text of blanks") << "optRagSoc"
                                      << "   " << false;
    QTest::newRow("no such province") << "optProvincia"
                                      << "QQ" << false;
    // "Speciale" stays selected under "località", but the town is matched from its start.
    QTest::newRow("inside a town after Speciale, then località") << "optLocalita"
                                                                 << "opoli" << true;
}

void tst_frmRicerca::nienteTrovato()
{
    QFETCH(QString, opzione);
    QFETCH(QString, testo);
    QFETCH(bool, speciale);

    impostaIdRecord(1004);
    mostra(
        1,
        [&](frmRicerca *d) {
            if (speciale)
                clic(::opzione(d, QStringLiteral("optInterna")));
            clic(::opzione(d, opzione));
            QCOMPARE(::opzione(d, QStringLiteral("optInterna"))->isChecked(), speciale);
            QTest::keyClicks(txtCerca(d), testo);
            clic(cmdRicerca(d));
            QVERIFY(!d->isVisible());
        },
        [&] { m_risposte->rispondi(QMessageBox::Ok); });

    QCOMPARE(m_risposte->registrati().size(), 2);
    QCOMPARE(
        comeAppare(m_risposte->registrati().at(1)),
        comeAppare(nonTrovata, QStringLiteral("Gestione Trasporti"), QMessageBox::Information));
    QVERIFY(frmRicerca::istanza()->NonTrovataOccorrenza());
    QCOMPARE(codiceDi(frmRicerca::istanza()->IdRecord()), 1004);
}

// The ways of closing without choosing: "Annulla" and Esc drop IdRecord; "&Avvia Ricerca" while
// the list is shown (also by Enter) and the close box leave it as it was.
void tst_frmRicerca::chiusuraSenzaScelta_data()
{
    QTest::addColumn<QString>("come");
    QTest::addColumn<bool>("conLista");
    QTest::addColumn<bool>("restaIlRecord");
    QTest::newRow("Annulla") << "annulla" << false << false;
    QTest::newRow("Annulla with a list shown") << "annulla" << true << false;
    QTest::newRow("Esc") << "esc" << false << false;
    QTest::newRow("Avvia Ricerca with a list shown") << "avvia" << true << true;
    QTest::newRow("Enter with a list shown") << "invio" << true << true;
    QTest::newRow("close box") << "chiudi" << false << true;
    QTest::newRow("close box with a list shown") << "chiudi" << true << true;
}

void tst_frmRicerca::chiusuraSenzaScelta()
{
    QFETCH(QString, come);
    QFETCH(bool, conLista);
    QFETCH(bool, restaIlRecord);

    impostaIdRecord(1005);
    mostra(1, [&](frmRicerca *d) {
        if (conLista) {
            QTest::keyClicks(txtCerca(d), QStringLiteral("Zeta"));
            clic(cmdRicerca(d));
            QCOMPARE(lstCerca(d)->count(), 3);
        }
        if (come == QLatin1String("annulla"))
            clic(cmdAnnulla(d));
        else if (come == QLatin1String("esc"))
            QTest::keyClick(txtCerca(d), Qt::Key_Escape);
        else if (come == QLatin1String("avvia"))
            clic(cmdRicerca(d));
        else if (come == QLatin1String("invio"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            d->close();
        QVERIFY(!d->isVisible());
    });

    frmRicerca *dialogo = frmRicerca::istanza();
    QCOMPARE(codiceDi(dialogo->IdRecord()), restaIlRecord ? 1005 : -1);
    QVERIFY(!dialogo->NonTrovataOccorrenza());
    QCOMPARE(m_risposte->registrati().size(), 1);
}

// What each option sets in the component, and what it does to the matching frame and the list.
void tst_frmRicerca::opzioniEConfronto()
{
    mostra(1, [&](frmRicerca *d) {
        const cCercaAnagrafica *componente = d->componente();
        QVERIFY(componente);
        QGroupBox *tipoStringa = controllo<QGroupBox>(d, "fraTipoStringa");
        QRadioButton *iniziale = opzione(d, QStringLiteral("optIniziale"));
        QRadioButton *interna = opzione(d, QStringLiteral("optInterna"));

        // As the window opens: company name, from the start.
        QVERIFY(opzione(d, QStringLiteral("optRagSoc"))->isChecked());
        QVERIFY(iniziale->isChecked());
        QCOMPARE(componente->CampoRicerca(), 2);
        QCOMPARE(componente->TipoConfronto(), 1);

        clic(interna);
        QCOMPARE(componente->TipoConfronto(), 2);

        clic(opzione(d, QStringLiteral("optLocalita")));
        QCOMPARE(componente->CampoRicerca(), 4);
        QCOMPARE(componente->TipoConfronto(), 1);
        QVERIFY(interna->isChecked());
        QVERIFY(tipoStringa->isEnabled());
        QVERIFY(!lstCerca(d)->isEnabled());
        QCOMPARE(lstCerca(d)->palette().color(QPalette::Base),
                 d->palette().color(QPalette::Active, QPalette::Button));

        clic(opzione(d, QStringLiteral("optCodice")));
        QCOMPARE(componente->CampoRicerca(), 1);
        QCOMPARE(componente->TipoConfronto(), 3);
        QVERIFY(iniziale->isChecked());
        QVERIFY(!tipoStringa->isEnabled());
        QVERIFY(!iniziale->isEnabled());
        QVERIFY(!interna->isEnabled());

        clic(opzione(d, QStringLiteral("optIva")));
        QCOMPARE(componente->CampoRicerca(), 3);
        QCOMPARE(componente->TipoConfronto(), 3);
        QVERIFY(!tipoStringa->isEnabled());

        clic(opzione(d, QStringLiteral("optProvincia")));
        QCOMPARE(componente->CampoRicerca(), 5);
        QCOMPARE(componente->TipoConfronto(), 1);
        QVERIFY(tipoStringa->isEnabled());
        QVERIFY(iniziale->isEnabled());
        QVERIFY(txtCerca(d)->isEnabled());
        clic(cmdAnnulla(d));
    });

    // The next showing starts again from the drawn state.
    mostra(1, [&](frmRicerca *d) {
        QVERIFY(opzione(d, QStringLiteral("optRagSoc"))->isChecked());
        QVERIFY(opzione(d, QStringLiteral("optIniziale"))->isChecked());
        QVERIFY(controllo<QGroupBox>(d, "fraTipoStringa")->isEnabled());
        QVERIFY(txtCerca(d)->text().isEmpty());
        QCOMPARE(d->componente()->CampoRicerca(), 2);
        QCOMPARE(d->componente()->TipoConfronto(), 1);
        clic(cmdAnnulla(d));
    });
}

// Each register's captions and its first row; every showing is modal, topmost (set before it
// shows, so activation does not hide it) and drawn at its place and size.
void tst_frmRicerca::titoliPerAnagrafica_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("tabella");
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<QString>("codice");
    QTest::addColumn<QString>("cerca");
    QTest::addColumn<QString>("primaRiga");
    QTest::newRow("customers") << 1 << "Clien"
                               << "Ricerca Cliente"
                               << "Cod. Cliente"
                               << "Moda"
                               << "Moda Lombarda S.r.l.";
    QTest::newRow("suppliers") << 2 << "forni"
                               << "Ricerca Fornitore"
                               << "Cod.Fornitore"
                               << "A" << QString();
    QTest::newRow("recipients") << 3 << "destinatari"
                                << "Ricerca Destinatario"
                                << "Cod.Destinatario"
                                << "A" << QString();
}

void tst_frmRicerca::titoliPerAnagrafica()
{
    QFETCH(int, tipo);
    QFETCH(QString, tabella);
    QFETCH(QString, titolo);
    QFETCH(QString, codice);
    QFETCH(QString, cerca);
    QFETCH(QString, primaRiga);

    const QString tabellaRegistro = tabella.toLower();
    const QVariant attesa = primaRiga.isEmpty()
                                ? m_db->valore(QStringLiteral("SELECT RagioneSociale FROM %1 "
                                                              "WHERE RagioneSociale LIKE '%2%' "
                                                              "ORDER BY RagioneSociale, Codice "
                                                              "LIMIT 1")
                                                   .arg(tabellaRegistro, cerca))
                                : QVariant(primaRiga);
    QVERIFY(attesa.isValid());

    mostra(
        tipo,
        [&](frmRicerca *d) {
            QCOMPARE(d->windowTitle(), titolo);
            QCOMPARE(opzione(d, QStringLiteral("optCodice"))->text(), codice);
            QVERIFY(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QTest::qWait(50);
            QVERIFY(d->isVisible());
            QVERIFY(d->isModal());
            QCOMPARE(d->geometry().topLeft(), QPoint(45, 45));
            QCOMPARE(d->size(), QSize(491, 323));
            QTest::keyClicks(txtCerca(d), cerca);
            clic(cmdRicerca(d));
            QVERIFY(lstCerca(d)->count() > 0);
            QCOMPARE(lstCerca(d)->item(0)->text(), attesa.toString());
            clic(cmdAnnulla(d));
        },
        {}, tabella);
}

// Without a component for the register the dialog says so and can only be cancelled.
void tst_frmRicerca::anagraficaNonPrevista()
{
    impostaIdRecord(1006);
    m_risposte->azzera();
    frmRicerca *dialogo = frmRicerca::istanza();
    dialogo->setClienti_Fornitori(4);
    m_risposte->rispondi(QMessageBox::Ok); // the message of the load comes before the dialog
    m_risposte->gestisci([&](QWidget *finestra) {
        auto *d = qobject_cast<frmRicerca *>(finestra);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Prove tecniche di trasmissione"));
        QCOMPARE(opzione(d, QStringLiteral("optCodice"))->text(), QStringLiteral("cod.fornitore"));
        QVERIFY(!d->componente());
        QVERIFY(!txtCerca(d)->isEnabled());
        QVERIFY(!cmdRicerca(d)->isEnabled());
        QVERIFY(!controllo<QGroupBox>(d, "fraSelezione")->isEnabled());
        QVERIFY(cmdAnnulla(d)->isEnabled());
        // "Annulla" is the one live control and holds the focus: Enter cancels too.
        QCOMPARE(d->focusWidget(), static_cast<QWidget *>(cmdAnnulla(d)));
        QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        QVERIFY(!d->isVisible());
    });
    dialogo->mostraModale();

    QCOMPARE(m_risposte->registrati().size(), 2);
    QCOMPARE(comeAppare(m_risposte->registrati().at(0)),
             comeAppare(QStringLiteral("Tipo di anagrafica 4 non previsto: nessuna ricerca "
                                       "disponibile. Premere Annulla per uscire."),
                        QStringLiteral("Riscuti"), QMessageBox::Information));
    QVERIFY(!dialogo->IdRecord());
}

// Any other error: "<number> - <description>", the application title, no icon; the dialog stays
// as it is, and "&Avvia Ricerca" runs the same search again.
void tst_frmRicerca::altroErroreLasciaLaFinestra()
{
    impostaIdRecord(1007);
    mostra(
        1,
        [&](frmRicerca *d) {
            QTest::keyClicks(txtCerca(d), QStringLiteral("Moda"));
            clic(cmdRicerca(d));
            QVERIFY(d->isVisible());
            QVERIFY(!txtCerca(d)->isEnabled());
            QCOMPARE(lstCerca(d)->count(), 0);
            clic(cmdRicerca(d));
            QVERIFY(d->isVisible());
            clic(cmdAnnulla(d));
        },
        [&] {
            m_risposte->rispondi({QMessageBox::Ok, QMessageBox::Ok});
        },
        QStringLiteral("forni"));

    QCOMPARE(m_risposte->registrati().size(), 3);
    const QString atteso =
        comeAppare(QStringLiteral("5 - La tabella forni non è l'anagrafica clien "
                                  "di questa ricerca."),
                   QStringLiteral("Riscuti"), QMessageBox::NoIcon);
    for (int i : {1, 2})
        QCOMPARE(comeAppare(m_risposte->registrati().at(i)), atteso);
    QVERIFY(!frmRicerca::istanza()->IdRecord());
}

// The launcher hands the chosen record to the caller, who owns it; a later showing closed
// without a choice gives back a closed record in place of the one handed over, and "Annulla"
// gives nothing.
void tst_frmRicerca::apriRicercaConsegnaIlRecord()
{
    m_risposte->gestisci([](QWidget *finestra) {
        auto *d = qobject_cast<frmRicerca *>(finestra);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Ricerca Cliente"));
        clic(opzione(d, QStringLiteral("optCodice")));
        QTest::keyClicks(txtCerca(d), QStringLiteral("1003"));
        clic(cmdRicerca(d));
    });
    std::unique_ptr<Recordset> record = ApriRicerca(1, QStringLiteral("Clien"));
    QVERIFY(record);
    QVERIFY(record->aperto());
    QCOMPARE(record->campo(1).toInt(), 1003);
    QCOMPARE(record->campo(QStringLiteral("RagioneSociale")).toString(),
             QStringLiteral("Farmaceutici Sormani S.p.A."));
    QVERIFY(!frmRicerca::istanza()->IdRecord());
    record->chiudi();

    m_risposte->gestisci([](QWidget *finestra) { finestra->close(); });
    std::unique_ptr<Recordset> invariato = ApriRicerca(1, QStringLiteral("Clien"));
    QVERIFY(invariato);
    QVERIFY(!invariato->aperto());

    m_risposte->gestisci([](QWidget *finestra) { clic(cmdAnnulla(finestra)); });
    QVERIFY(!ApriRicerca(1, QStringLiteral("Clien")));
    QCOMPARE(m_risposte->registrati().size(), 3);
}

QTEST_MAIN(tst_frmRicerca)
#include "tst_frmricerca.moc"
