#include "collection/frmriscuti.h"

#include "component/cRiscuti.h"
#include "search/frmricercagia.h"
#include "support/controlli.h"
#include "support/databasediprova.h"
#include "support/rispostemessaggi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

// Branches, a line, a carrier and three customers; the waybills are put back before each test.
const char *const anagrafiche = R"(
INSERT INTO filiali (codice, Descrizione) VALUES ('01', 'Milano'), ('02', 'Torino');
INSERT INTO codicizona (Codice, Descrizione) VALUES (11, 'Milano città'), (21, 'Torino città');
INSERT INTO forni (Codice, RagioneSociale, Vettore) VALUES (101, 'Autotrasporti Lombardi S.r.l.', 1);
INSERT INTO clien (Codice, RagioneSociale) VALUES
    (1001, 'Elettroforniture Brambilla S.p.A.'), (1002, 'Moda Lombarda S.r.l.'),
    (1003, 'Enoteca dell''Oltrepò S.a.s.');
)";

// 10001: three amounts due, nothing collected. 10002: collected, remitted, invoiced and sent to
// head office. 20001: another customer's, branch 02. 10005: found only through the list.
const char *const lettere = R"(
DELETE FROM letve00f;
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, lelin1,
                      lecdve, lecnss, leanpc, leimpa)
VALUES ('01', '10001', 2015, '2015-03-03', 'RIF-001', '2015-03-02', 1001, 'Farmacia San Marco',
        11, 101, 150.00, 12.50, 19.90),
       ('02', '20001', 2015, '2015-05-05', 'ORD-777', '2015-05-04', 1002, 'Rossi Mario', 21,
        101, 0, 0, 33.30),
       ('01', '10005', 2015, '2015-06-01', 'RIF-005', '2015-06-01', 1001, 'Hotel Bellavista',
        11, 101, 45.10, 0, 0);
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, lelin1,
                      lecdve, lecnss, leanpc, leimpa, lefinc, letpin, leban, lenras, lepiaz,
                      leimcs, leflic, leflsc, leimap, leflia, leflsa, leinpa, leflip, leflsp,
                      ledtin, leflco, lendvc, ledtvc, lendap, ledtap, lenrft, ledtft, lendiv,
                      ledtiv)
VALUES ('01', '10002', 2015, '2015-03-04', 'RIF-002', '2015-03-04', 1001, 'Ottica Moretti', 11,
        101, 80.00, 12.50, 19.90, '02', '2', 'Banca Sella', '0012345678', 'Genova', 80.00, '3',
        1, 12.50, '1', 0, 0, '0', 0, '2015-03-10', 1, 12, '2015-04-06', 0, NULL, 345, NULL, 7,
        '2015-03-20');
)";

// The sixteen columns of the collection record, in the order of the save.
const QString recordIncasso = QStringLiteral(
    "select lefinc, leban, letpin, lenras, lepiaz, leimcs, leflic, leflsc, leimap, leflia, leflsa, "
    "leinpa, leflip, leflsp, ledtin, leflco from letve00f where lenrlv='%1'");

const QStringList nienteIncassato{"NULL", "NULL", "NULL", "NULL", "NULL", "0.00", "0",    "0",
                                  "0.00", "0",    "0",    "0.00", "0",    "0",    "NULL", "0"};

// Currency text in Italian: the amount, a no-break space, the euro sign.
QString euro(const char *cifre)
{
    return QString::fromLatin1(cifre) + QChar(0x00A0) + QStringLiteral("€");
}

QString oggi()
{
    return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
}

QString oggiIso()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

QString comeTesto(const QVariant &valore)
{
    if (valore.isNull())
        return QStringLiteral("NULL");
    if (valore.typeId() == QMetaType::QDate)
        return valore.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    return valore.toString();
}

struct Messaggio
{
    QString testo;
    QString titolo;
    QMessageBox::Icon icona;
};

bool operator==(const Messaggio &a, const Messaggio &b)
{
    return a.testo == b.testo && a.titolo == b.titolo && a.icona == b.icona;
}

} // namespace

Q_DECLARE_METATYPE(Messaggio)

// The collection-entry window driven as an operator drives it, against the test database.
class TestFrmRiscuti : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void finestraAlCaricamento();
    void clienteDigitato_data();
    void clienteDigitato();
    void ricercaPerRiferimento_data();
    void ricercaPerRiferimento();
    void riferimentoNonTrovatoSceltoInElenco();
    void riferimentoDaControllare_data();
    void riferimentoDaControllare();
    void elencoSpedizioni_data();
    void elencoSpedizioni();
    void elencoLasciatoSenzaScelta();
    void elencoSenzaCliente_data();
    void elencoSenzaCliente();
    void preimpostazioniDelHost();
    void preimpostazioniIncomplete_data();
    void preimpostazioniIncomplete();
    void attivazioniSuccessive();
    void preimpostazioniConClienteInesistente();
    void riaperturaDopoMessaggio();
    void elencoVuotoDaF12();
    void elencoConPreimpostazioni();
    void visualizzazione_data();
    void visualizzazione();
    void etichetteSbloccanoIGruppi();
    void salvataggioDiUnGruppo_data();
    void salvataggioDiUnGruppo();
    void controlliPrimaDelSalvataggio_data();
    void controlliPrimaDelSalvataggio();

private:
    frmRiscuti *finestra() const { return frmRiscuti::istanza(); }
    template <typename T> T *controllo(const QString &nome) const;
    void attiva();
    void apriConPreimpostazioni(const QString &ldv, const QString &data, const QString &filiale,
                                const QString &cliente);
    void digitaCliente(const QString &codice);
    void cercaRiferimento(const QString &riferimento, const QString &data);
    void mostraLdv10001();
    static void scegliContrassegno(QWidget *elenco, const QString &numero);
    void digita(const QString &campo, const QString &testo);
    QString mostrato(const QString &nome) const;
    QString gruppo(int numero) const;
    QStringList record(const QString &numero);
    QList<Messaggio> messaggi(const RisposteMessaggi &risposte) const;
    void schermata(const QString &nome);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<cRiscuti> m_componente;
};

template <typename T> T *TestFrmRiscuti::controllo(const QString &nome) const
{
    return controlloDi<T>(finestra(), nome);
}

void TestFrmRiscuti::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(anagrafiche)));
    m_componente = std::make_unique<cRiscuti>();
    m_componente->setPercorsoDatabase(m_db->testoConnessione());
}

// Every test starts on a freshly loaded window and the same waybills.
void TestFrmRiscuti::init()
{
    QTest::qWait(20); // focus moves the last test left pending
    QVERIFY(m_db->caricaTesto(QString::fromUtf8(lettere)));
    if (frmRiscuti *aperta = frmRiscuti::istanza(false))
        aperta->scarica();
    m_componente->MostraRiscuti();
    attiva();
    QTRY_VERIFY(controllo<QLineEdit>("txtCodiceCli")->hasFocus());
}

void TestFrmRiscuti::cleanup()
{
    finestra()->setNLdv(QString());
    finestra()->setDataLdv(QString());
    finestra()->setFiliale(QString());
    finestra()->setCodiceCliente(QString());
}

void TestFrmRiscuti::cleanupTestCase()
{
    finestra()->scarica();
    m_componente.reset();
}

void TestFrmRiscuti::attiva()
{
    finestra()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(finestra()));
}

// The host shows the window with a waybill, its date, branch and customer preset.
void TestFrmRiscuti::apriConPreimpostazioni(const QString &ldv, const QString &data,
                                            const QString &filiale, const QString &cliente)
{
    finestra()->scarica();
    m_componente->MostraRiscutiEXT(ldv, data, filiale, cliente);
    QVERIFY(QTest::qWaitForWindowActive(finestra()));
}

void TestFrmRiscuti::digitaCliente(const QString &codice)
{
    auto *campo = controllo<QLineEdit>("txtCodiceCli");
    QTest::keyClicks(campo, codice);
    QTest::keyClick(campo, Qt::Key_Tab);
}

// Types the sender's reference and its date and leaves the date field, as the operator does
// after the customer.
void TestFrmRiscuti::cercaRiferimento(const QString &riferimento, const QString &data)
{
    auto *txtRiferimento = controllo<QLineEdit>("txtRiferimento");
    QTRY_VERIFY(txtRiferimento->hasFocus());
    QTest::keyClicks(txtRiferimento, riferimento);
    QTest::keyClick(txtRiferimento, Qt::Key_Tab);
    auto *txtDataRif = controllo<QLineEdit>("txtDataRif");
    QTRY_VERIFY(txtDataRif->hasFocus());
    QTest::keyClicks(txtDataRif, data);
    QTest::keyClick(txtDataRif, Qt::Key_Tab);
}

void TestFrmRiscuti::mostraLdv10001()
{
    digitaCliente(QStringLiteral("1001"));
    cercaRiferimento(QStringLiteral("RIF-001"), QStringLiteral("02032015"));
    QTRY_COMPARE(controllo<QLineEdit>("txtLDV")->text(), QStringLiteral("10001"));
}

// Picks a waybill in the cash-on-delivery list (column 9 holds its number) and closes the list.
void TestFrmRiscuti::scegliContrassegno(QWidget *elenco, const QString &numero)
{
    auto *griglia = elenco->findChild<QTableView *>(QStringLiteral("Griglia"));
    for (int riga = 0; riga < griglia->model()->rowCount(); ++riga) {
        if (griglia->model()->index(riga, 9).data().toString() == numero)
            griglia->setCurrentIndex(griglia->model()->index(riga, 0));
    }
    elenco->findChild<QPushButton *>(QStringLiteral("cmdSeleziona"))->click();
}

// Clicks into a field and types, as the operator does (the clicked field must take input).
void TestFrmRiscuti::digita(const QString &campo, const QString &testo)
{
    auto *editor = controllo<QLineEdit>(campo);
    QTest::mouseClick(editor, Qt::LeftButton);
    QTRY_VERIFY(editor->hasFocus());
    editor->selectAll();
    QTest::keyClicks(editor, testo);
}

// What the operator reads in a control: the text of a field or label, the chosen entry of a
// list ("-" for none), a check box as 0 or 1, a collection group as locked or unlocked.
QString TestFrmRiscuti::mostrato(const QString &nome) const
{
    if (nome.startsWith(QLatin1String("gruppo")))
        return gruppo(nome.right(1).toInt());
    auto *widget = controllo<QWidget>(nome);
    if (auto *casella = qobject_cast<QCheckBox *>(widget))
        return casella->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto *lista = qobject_cast<QComboBox *>(widget))
        return lista->currentIndex() < 0 ? QStringLiteral("-") : lista->currentText();
    if (auto *campo = qobject_cast<QLineEdit *>(widget))
        return campo->inputMask().isEmpty() ? campo->text() : campo->displayText();
    if (auto *etichetta = qobject_cast<QLabel *>(widget))
        return etichetta->text();
    return QStringLiteral("?");
}

// "sbloccato": the three controls enabled, amount and code on white; "bloccato": disabled, on
// the window's background; anything else is reported as it is.
QString TestFrmRiscuti::gruppo(int numero) const
{
    static const char *const nomi[3][3] = {
        {"txtIncContrassegno", "cmbCodIncContr", "chkInvioContr"},
        {"txtIncAnticipata", "cmbCodIncAnt", "chkInvioAnticipata"},
        {"txtIncAssegnato", "cmbCodIncAssegnato", "chkInvioAssegnato"}};
    auto *importo = controllo<QLineEdit>(QLatin1String(nomi[numero - 1][0]));
    auto *codice = controllo<QComboBox>(QLatin1String(nomi[numero - 1][1]));
    auto *inviato = controllo<QCheckBox>(QLatin1String(nomi[numero - 1][2]));
    const bool attivo = importo->isEnabled();
    const QColor atteso =
        attivo ? QColor(Qt::white) : finestra()->palette().color(QPalette::Window);
    if (codice->isEnabled() != attivo || inviato->isEnabled() != attivo ||
        importo->palette().color(QPalette::Base) != atteso ||
        codice->palette().color(QPalette::Base) != atteso)
        return QStringLiteral("incoerente");
    return attivo ? QStringLiteral("sbloccato") : QStringLiteral("bloccato");
}

QStringList TestFrmRiscuti::record(const QString &numero)
{
    QStringList valori;
    for (const QVariant &valore : m_db->righe(recordIncasso.arg(numero)).value(0))
        valori << comeTesto(valore);
    return valori;
}

QList<Messaggio> TestFrmRiscuti::messaggi(const RisposteMessaggi &risposte) const
{
    QList<Messaggio> elenco;
    for (const MessaggioRegistrato &m : risposte.registrati()) {
        if (m.classe == QLatin1String("QMessageBox"))
            elenco.append({m.testo, m.titolo, m.icona});
    }
    return elenco;
}

// With RISCUTI_SCHERMATE set to a folder, the window is saved there as a PNG, for the eye.
void TestFrmRiscuti::schermata(const QString &nome)
{
    const QString cartella = qEnvironmentVariable("RISCUTI_SCHERMATE");
    if (!cartella.isEmpty())
        finestra()->grab().save(cartella + QLatin1Char('/') + nome + QStringLiteral(".png"));
}

namespace QTest {
template <> char *toString(const Messaggio &m)
{
    return qstrdup(
        qPrintable(QStringLiteral("[%1 | %2 | icon %3]").arg(m.testo, m.titolo).arg(int(m.icona))));
}
} // namespace QTest

// --- Load --------------------------------------------------------------------------------------

void TestFrmRiscuti::finestraAlCaricamento()
{
    QCOMPARE(finestra()->objectName(), QStringLiteral("frmRiscuti"));
    QCOMPARE(finestra()->windowTitle(), QStringLiteral("Incasso contrassegni"));
    QCOMPARE(mostrato("txtFiliale"), QStringLiteral("01"));
    QCOMPARE(mostrato("txtFilInc"), QStringLiteral("01"));
    QCOMPARE(mostrato("txtDataInc"), oggi());
    QCOMPARE(mostrato("cmbIncassoCon"), QStringLiteral("-"));
    for (int numero = 1; numero <= 3; ++numero)
        QCOMPARE(gruppo(numero), QStringLiteral("bloccato"));
    for (const char *nome : {"cmbCodIncContr", "cmbCodIncAnt", "cmbCodIncAssegnato"}) {
        auto *lista = controllo<QComboBox>(QLatin1String(nome));
        QCOMPARE(lista->count(), 5);
        QCOMPARE(lista->currentIndex(), -1);
    }
    auto *incassoCon = controllo<QComboBox>("cmbIncassoCon");
    QCOMPARE(incassoCon->count(), 3);
    for (int voce = 0; voce < 3; ++voce)
        QCOMPARE(incassoCon->itemData(voce).toInt(), voce + 1);
    // Fields no longer than their columns.
    QCOMPARE(controllo<QLineEdit>("txtBanca")->maxLength(), 40);
    QCOMPARE(controllo<QLineEdit>("txtFilInc")->maxLength(), 2);
    QCOMPARE(controllo<QLineEdit>("txtRiferimento")->maxLength(), 20);
    schermata(QStringLiteral("frmriscuti-vuota"));
}

// --- Customer ----------------------------------------------------------------------------------

void TestFrmRiscuti::clienteDigitato_data()
{
    QTest::addColumn<QString>("codice");
    QTest::addColumn<QList<Messaggio>>("attesi");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<bool>("bloccato");
    QTest::addColumn<QString>("focusDopo");

    QTest::newRow("a known code shows the name and locks the field")
        << "1001" << QList<Messaggio>{} << "Elettroforniture Brambilla S.p.A." << true
        << "txtRiferimento";
    QTest::newRow("an unknown code is reported and the field stays open")
        << "9999"
        << QList<Messaggio>{{"Codice Cliente Inesistente", "Gestione Trasporti",
                             QMessageBox::Information}}
        << "" << false << "txtRiferimento";
    QTest::newRow("a code with letters is refused and keeps the focus")
        << "10a1"
        << QList<Messaggio>{{"Codice cliente assente o errato", "Riscuti", QMessageBox::Warning}}
        << "" << false << "txtCodiceCli";
}

void TestFrmRiscuti::clienteDigitato()
{
    QFETCH(QString, codice);
    QFETCH(QList<Messaggio>, attesi);
    QFETCH(QString, focusDopo);
    RisposteMessaggi risposte;
    digitaCliente(codice);
    QVERIFY(risposte.attendi(int(attesi.size()), 2000));
    attiva();
    QTRY_VERIFY(controllo<QWidget>(focusDopo)->hasFocus());
    QCOMPARE(messaggi(risposte), attesi);
    QTEST(mostrato("barCliente"), "nome");
    QTEST(controllo<QLineEdit>("txtCodiceCli")->isReadOnly(), "bloccato");
}

// --- Waybill lookup ----------------------------------------------------------------------------

void TestFrmRiscuti::ricercaPerRiferimento_data()
{
    QTest::addColumn<QString>("riferimento");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("ldv");
    QTest::addColumn<QString>("dataLdv");
    QTest::addColumn<QString>("filiale");

    // clang-format off
    QTest::newRow("the customer's waybill")
        << "RIF-002" << "04032015" << "10002" << "04/03/2015" << "01";
    QTest::newRow("another customer's reference is found too")
        << "ORD-777" << "04052015" << "20001" << "05/05/2015" << "02";
    // clang-format on
}

void TestFrmRiscuti::ricercaPerRiferimento()
{
    QFETCH(QString, riferimento);
    QFETCH(QString, data);
    QFETCH(QString, ldv);
    RisposteMessaggi risposte;
    digitaCliente(QStringLiteral("1001"));
    cercaRiferimento(riferimento, data);
    QTRY_COMPARE(mostrato("txtLDV"), ldv);
    QTEST(mostrato("txtDataLdv"), "dataLdv");
    QTEST(mostrato("txtFiliale"), "filiale");
    QCOMPARE(mostrato("txtRiferimento"), riferimento);
    QCOMPARE(risposte.registrati().size(), 0);
}

// No waybill for the typed reference: the list opens in reference mode on the customer's
// waybills from that reference on, in the reference's year; the pick is read by number and date.
void TestFrmRiscuti::riferimentoNonTrovatoSceltoInElenco()
{
    RisposteMessaggi risposte;
    int tipo = 0;
    QString anno, istruzione, riferimento, titolo;
    risposte.gestisci([&](QWidget *dialogo) {
        auto *elenco = qobject_cast<frmRicercaGia *>(dialogo);
        QVERIFY(elenco);
        tipo = elenco->TipoRicerca();
        riferimento = elenco->RiferimentoCliente();
        istruzione = elenco->istruzioneCorrente();
        titolo = elenco->windowTitle();
        auto *griglia = dialogo->findChild<QTableView *>(QStringLiteral("Griglia"));
        QCOMPARE(griglia->model()->rowCount(), 1);
        griglia->setCurrentIndex(griglia->model()->index(0, 1));
        dialogo->findChild<QPushButton *>(QStringLiteral("cmdSeleziona"))->click();
    });
    digitaCliente(QStringLiteral("1001"));
    cercaRiferimento(QStringLiteral("RIF-003"), QStringLiteral("01062015"));
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10005"));
    QCOMPARE(tipo, 1);
    QCOMPARE(riferimento, QStringLiteral("RIF-003"));
    QCOMPARE(titolo, QStringLiteral("Ricerca per riferimento"));
    QVERIFY2(istruzione.contains(QLatin1String("lecodi=1001 and LERIFE>='RIF-003' and "
                                               "year(LERIFD)=2015 and lefili='01'")),
             qPrintable(istruzione));
    QCOMPARE(mostrato("txtDataLdv"), QStringLiteral("01/06/2015"));
    QCOMPARE(mostrato("txtRiferimento"), QStringLiteral("RIF-005"));
    QCOMPARE(mostrato("lblImpContr"), euro("45,10"));
    QCOMPARE(risposte.registrati().size(), 1);
}

void TestFrmRiscuti::riferimentoDaControllare_data()
{
    QTest::addColumn<QString>("riferimento");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QList<Messaggio>>("attesi");

    const QList<Messaggio> controllare{
        {"Controllare l'immissione del riferimento cliente e/o data rifer. cliente", "Riscuti",
         QMessageBox::Warning}};
    // clang-format off
    QTest::newRow("a date without its reference")    << ""        << "02032015" << controllare;
    QTest::newRow("a date that does not exist")      << "RIF-001" << "31022015" << controllare;
    QTest::newRow("a half-typed date")               << "RIF-001" << "0203"     << controllare;
    QTest::newRow("an untouched date starts nothing") << "RIF-001" << "" << QList<Messaggio>{};
    // clang-format on
}

void TestFrmRiscuti::riferimentoDaControllare()
{
    QFETCH(QString, riferimento);
    QFETCH(QString, data);
    QFETCH(QList<Messaggio>, attesi);
    RisposteMessaggi risposte;
    digitaCliente(QStringLiteral("1001"));
    cercaRiferimento(riferimento, data);
    QVERIFY(risposte.attendi(int(attesi.size()), 2000));
    QTest::qWait(50);
    QCOMPARE(messaggi(risposte), attesi);
    QCOMPARE(mostrato("txtLDV"), QString());
    QCOMPARE(mostrato("lblImpContr"), QString());
    // The move is never refused: the focus has left the date.
    QVERIFY(!controllo<QLineEdit>("txtDataRif")->hasFocus());
}

void TestFrmRiscuti::elencoSpedizioni_data()
{
    QTest::addColumn<bool>("tastoF12");
    QTest::newRow("F12 in the reference field") << true;
    QTest::newRow("the list button") << false;
}

// The customer's cash-on-delivery list; the pick is read from the view of collection data, whose
// row fills the same fields as the waybill join.
void TestFrmRiscuti::elencoSpedizioni()
{
    QFETCH(bool, tastoF12);
    RisposteMessaggi risposte;
    int tipo = 0;
    risposte.gestisci([&](QWidget *dialogo) {
        tipo = qobject_cast<frmRicercaGia *>(dialogo)->TipoRicerca();
        scegliContrassegno(dialogo, QStringLiteral("10002"));
    });
    digitaCliente(QStringLiteral("1001"));
    auto *txtRiferimento = controllo<QLineEdit>("txtRiferimento");
    QTRY_VERIFY(txtRiferimento->hasFocus());
    if (tastoF12)
        QTest::keyClick(txtRiferimento, Qt::Key_F12);
    else
        QTest::mouseClick(controllo<QPushButton>("cmdCerca"), Qt::LeftButton);
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10002"));
    QCOMPARE(tipo, 12);
    QCOMPARE(mostrato("txtDataLdv"), QStringLiteral("04/03/2015"));
    QCOMPARE(mostrato("txtBanca"), QStringLiteral("Banca Sella"));
    QCOMPARE(mostrato("cmbCodIncContr"), QStringLiteral("Invio ns assegno"));
    QCOMPARE(mostrato("lblImpTot"), euro("19,90"));
    QCOMPARE(mostrato("barDistintaContr"), QStringLiteral("12 del 06/04/2015"));
    QCOMPARE(risposte.registrati().size(), 1);
}

// Leaving the list with "&Esci" picks nothing: nothing is found and the collection part is
// cleared, while the lookup fields keep the waybill shown before.
void TestFrmRiscuti::elencoLasciatoSenzaScelta()
{
    mostraLdv10001();
    RisposteMessaggi risposte;
    risposte.gestisci([](QWidget *dialogo) {
        dialogo->findChild<QPushButton *>(QStringLiteral("cmdEsci"))->click();
    });
    QTest::mouseClick(controllo<QPushButton>("cmdCerca"), Qt::LeftButton);
    QTRY_COMPARE(mostrato("lblImpContr"), QString());
    QCOMPARE(mostrato("gruppo1"), QStringLiteral("bloccato"));
    QCOMPARE(mostrato("txtLDV"), QStringLiteral("10001"));
    QCOMPARE(risposte.registrati().size(), 1);
}

void TestFrmRiscuti::elencoSenzaCliente_data()
{
    QTest::addColumn<bool>("tastoF12");
    QTest::addColumn<QString>("codice");
    QTest::newRow("F12 with no customer code") << true << "";
    QTest::newRow("the list button with letters in the code") << false << "1x";
}

// The list needs a customer code; the operator is sent back to it. (The code field validates
// itself on leaving, so the state is set up directly.)
void TestFrmRiscuti::elencoSenzaCliente()
{
    QFETCH(bool, tastoF12);
    QFETCH(QString, codice);
    controllo<QLineEdit>("txtCodiceCli")->setText(codice);
    RisposteMessaggi risposte;
    if (tastoF12)
        QTest::keyClick(controllo<QLineEdit>("txtRiferimento"), Qt::Key_F12);
    else
        controllo<QPushButton>("cmdCerca")->click();
    QVERIFY(risposte.attendi(1, 2000));
    QCOMPARE(messaggi(risposte), (QList<Messaggio>{{"Selezionare il codice cliente.", "Riscuti",
                                                    QMessageBox::Warning}}));
    attiva();
    QTRY_VERIFY(controllo<QLineEdit>("txtCodiceCli")->hasFocus());
    QTest::qWait(50);
    QCOMPARE(risposte.registrati().size(), 1); // no list was opened
}

// --- Presets of the host -----------------------------------------------------------------------

void TestFrmRiscuti::preimpostazioniDelHost()
{
    apriConPreimpostazioni(QStringLiteral("10002"), QStringLiteral("04/03/2015"),
                           QStringLiteral("01"), QStringLiteral("1001"));
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10002"));
    QCOMPARE(mostrato("txtCodiceCli"), QStringLiteral("1001"));
    QCOMPARE(mostrato("barCliente"), QStringLiteral("Elettroforniture Brambilla S.p.A."));
    QVERIFY(controllo<QLineEdit>("txtCodiceCli")->isReadOnly());
    QCOMPARE(mostrato("txtIncContrassegno"), QStringLiteral("80,00"));
    QCOMPARE(mostrato("lblImpContr"), euro("80,00"));
}

void TestFrmRiscuti::preimpostazioniIncomplete_data()
{
    QTest::addColumn<QString>("ldv");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("filiale");
    QTest::addColumn<QString>("cliente");
    // clang-format off
    QTest::newRow("no waybill number")          << ""      << "04/03/2015" << "01" << "1001";
    QTest::newRow("a date that does not exist") << "10002" << "31/02/2015" << "01" << "1001";
    QTest::newRow("no branch")                  << "10002" << "04/03/2015" << ""   << "1001";
    QTest::newRow("no customer")                << "10002" << "04/03/2015" << "01" << "";
    // clang-format on
}

void TestFrmRiscuti::preimpostazioniIncomplete()
{
    QFETCH(QString, ldv);
    QFETCH(QString, data);
    QFETCH(QString, filiale);
    QFETCH(QString, cliente);
    RisposteMessaggi risposte;
    apriConPreimpostazioni(ldv, data, filiale, cliente);
    QTest::qWait(100);
    QCOMPARE(mostrato("txtCodiceCli"), QString());
    QCOMPARE(mostrato("txtLDV"), QString());
    QCOMPARE(risposte.registrati().size(), 0);
}

// A preset customer that does not exist: its message once, and the preset waybill is shown
// whoever the customer is. The box's return is no activation, so it does not come back.
void TestFrmRiscuti::preimpostazioniConClienteInesistente()
{
    RisposteMessaggi risposte;
    finestra()->scarica();
    m_componente->MostraRiscutiEXT(QStringLiteral("10002"), QStringLiteral("04/03/2015"),
                                   QStringLiteral("01"), QStringLiteral("9999"));
    QVERIFY(risposte.attendi(1, 3000));
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10002"));
    QTest::qWait(300); // any activation the box's return brings
    QCOMPARE(mostrato("txtLDV"), QStringLiteral("10002"));
    QCOMPARE(risposte.testi(), QStringList{QStringLiteral("Codice Cliente Inesistente")});
}

// A message box answered, the window closed and opened again on a preset waybill: the presets
// are looked up, also where no activation followed the box.
void TestFrmRiscuti::riaperturaDopoMessaggio()
{
    RisposteMessaggi risposte;
    digitaCliente(QStringLiteral("9999"));
    QVERIFY(risposte.attendi(1, 3000));
    apriConPreimpostazioni(QStringLiteral("10002"), QStringLiteral("04/03/2015"),
                           QStringLiteral("01"), QStringLiteral("1001"));
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10002"));
}

// The shipment list of a customer without cash-on-delivery shipments says so from its first
// showing, whenever the window system activates it.
void TestFrmRiscuti::elencoVuotoDaF12()
{
    digitaCliente(QStringLiteral("1003"));
    QTRY_COMPARE(mostrato("barCliente"), QStringLiteral("Enoteca dell'Oltrepò S.a.s."));
    frmRicercaGia *elenco = frmRicercaGia::istanza();
    QString allaComparsa;
    FiltroEventi filtro(elenco, QEvent::Show, [&] {
        allaComparsa =
            controlloDi<QLabel>(elenco, QStringLiteral("lblRisposta"))->text() + QLatin1Char('|') +
            (controlloDi<QPushButton>(elenco, QStringLiteral("cmdEsci"))->isVisibleTo(elenco)
                 ? QLatin1String("Esci")
                 : QLatin1String("Seleziona"));
    });
    RisposteMessaggi risposte;
    risposte.gestisci([](QWidget *dialogo) { dialogo->close(); });
    QTest::keyClick(controllo<QLineEdit>("txtRiferimento"), Qt::Key_F12);
    QTRY_COMPARE(allaComparsa,
                 QStringLiteral("Non ci sono spedizioni per il cliente selezionato.|Esci"));
}

// Coming back from another window reloads the preset waybill; coming back from a message box
// does not, or the box's answer would bring the box back.
void TestFrmRiscuti::attivazioniSuccessive()
{
    apriConPreimpostazioni(QStringLiteral("10001"), QStringLiteral("03/03/2015"),
                           QStringLiteral("01"), QStringLiteral("1001"));
    QTRY_COMPARE(mostrato("lblImpContr"), euro("150,00"));
    controllo<QLineEdit>("txtIncContrassegno")->setText(QStringLiteral("5"));

    RisposteMessaggi risposte;
    QTest::mouseClick(controllo<QPushButton>("cmdSalva"), Qt::LeftButton);
    QVERIFY(risposte.attendi(1, 2000));
    QCOMPARE(messaggi(risposte).value(0).testo,
             QStringLiteral("Selezionare un valore dalla lista combinata:'Incasso con'."));
    attiva();
    QTest::qWait(50);
    QCOMPARE(mostrato("txtIncContrassegno"), QStringLiteral("5"));

    QWidget altra;
    altra.show();
    altra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&altra));
    attiva();
    QTRY_COMPARE(mostrato("txtIncContrassegno"), QString());
    QCOMPARE(mostrato("lblImpContr"), euro("150,00"));
}

// With the presets complete the preset lookup runs as the list closes, before the pick is read:
// the picked waybill stays on screen when the window comes back, until the operator returns to
// it from another window.
void TestFrmRiscuti::elencoConPreimpostazioni()
{
    apriConPreimpostazioni(QStringLiteral("10001"), QStringLiteral("03/03/2015"),
                           QStringLiteral("01"), QStringLiteral("1001"));
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10001"));

    RisposteMessaggi risposte;
    risposte.gestisci([](QWidget *elenco) { scegliContrassegno(elenco, QStringLiteral("10002")); });
    controllo<QLineEdit>("txtRiferimento")->clear(); // the list then holds every shipment
    controllo<QPushButton>("cmdCerca")->click();
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10002"));
    attiva();
    QTest::qWait(50);
    QCOMPARE(mostrato("txtLDV"), QStringLiteral("10002"));

    QWidget altra;
    altra.show();
    altra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&altra));
    attiva();
    QTRY_COMPARE(mostrato("txtLDV"), QStringLiteral("10001"));
}

// --- Display -----------------------------------------------------------------------------------

using Attese = QList<QPair<QString, QString>>;

void TestFrmRiscuti::visualizzazione_data()
{
    QTest::addColumn<QString>("colonne");
    QTest::addColumn<Attese>("attese");
    // clang-format off
    QTest::newRow("nothing collected: amounts due, COD group open, the clearing's values kept")
        << "lecnss=150.00, leanpc=12.50, leimpa=0"
        << Attese{{"lblImpContr", euro("150,00")}, {"lblImpAnt", euro("12,50")},
                  {"lblImpAssegnato", ""}, {"lblImpTot", euro("162,50")},
                  {"txtIncContrassegno", ""}, {"cmbCodIncContr", "-"}, {"txtFilInc", "01"},
                  {"txtDataInc", oggi()}, {"cmbIncassoCon", "-"}, {"txtBanca", ""},
                  {"gruppo1", "sbloccato"}, {"gruppo2", "bloccato"}, {"gruppo3", "bloccato"},
                  {"barDistintaContr", ""}, {"barFattAssegnato", ""}};
    QTest::newRow("a full collection record with every status")
        << "lecnss=80.00, leanpc=12.50, leimpa=19.90, lefinc='02', letpin='2', "
           "leban='Banca Sella', lenras='0012345678', lepiaz='Genova', leimcs=80.00, "
           "leflic='3', leflsc=1, leimap=12.50, leflia='1', leflsa=0, leinpa=0, leflip='4', "
           "leflsp=1, ledtin='2015-03-10', leflco=1, lendvc=12, ledtvc='2015-04-06', "
           "lendap=3, ledtap='2015-04-07', lenrft=345, ledtft=NULL, lendiv=7, "
           "ledtiv='2015-03-20'"
        << Attese{{"txtFilInc", "02"}, {"txtBanca", "Banca Sella"},
                  {"cmbIncassoCon", "Assegno Circolare"}, {"txtNrAssegno", "0012345678"},
                  {"txtPiazza", "Genova"}, {"txtIncContrassegno", "80,00"},
                  {"cmbCodIncContr", "Invio ns assegno"}, {"chkInvioContr", "1"},
                  {"txtIncAnticipata", "12,50"}, {"cmbCodIncAnt", "In Cassa"},
                  {"chkInvioAnticipata", "0"}, {"txtIncAssegnato", ""}, {"cmbCodIncAssegnato", "-"},
                  {"chkInvioAssegnato", "0"}, {"txtDataInc", "10/03/2015"}, {"chkPassCont", "1"},
                  {"lblImpContr", euro("80,00")}, {"lblImpAnt", euro("12,50")},
                  {"lblImpAssegnato", euro("19,90")}, {"lblImpTot", euro("19,90")},
                  {"barDistintaContr", "12 del 06/04/2015"}, {"barAnticipata", "3 del 07/04/2015"},
                  {"barFattAssegnato", "345 del "}, {"barInvioSede", "7 del 20/03/2015"},
                  {"gruppo1", "sbloccato"}, {"gruppo2", "bloccato"}};
    QTest::newRow("no cash on delivery: its label empty and its group locked")
        << "lecnss=0, leanpc=5.00, leimpa=0"
        << Attese{{"lblImpContr", ""}, {"lblImpAnt", euro("5,00")}, {"lblImpTot", euro("5,00")},
                  {"gruppo1", "bloccato"}};
    QTest::newRow("values outside the lists and flags are skipped step by step")
        << "lecnss=10.00, letpin='7', leimcs=10.00, leflic='7', leflsc=1, leimap=2.00, "
           "leflia='2', leflsa=3, leflco=2, leban=NULL, lenras=NULL"
        << Attese{{"cmbIncassoCon", "-"}, {"txtIncContrassegno", "10,00"}, {"cmbCodIncContr", "-"},
                  {"chkInvioContr", "0"}, {"cmbCodIncAnt", "Invio assegno mitt."},
                  {"chkInvioAnticipata", "0"}, {"chkPassCont", "0"}, {"txtBanca", ""},
                  {"txtNrAssegno", ""}};
    QTest::newRow("a zero or non-numeric means of payment selects nothing")
        << "lecnss=10.00, letpin='x'" << Attese{{"cmbIncassoCon", "-"}};
    QTest::newRow("more collected than due: a negative total to the cent")
        << "lecnss=0.10, leanpc=0.20, leimpa=0, leimcs=0.31, leflic='1'"
        << Attese{{"lblImpTot", euro("-0,01")}, {"txtIncContrassegno", "0,31"}};
    QTest::newRow("codes and flags only for a collected amount")
        << "lecnss=10.00, leimcs=0, leflic='2', leflsc=1"
        << Attese{{"txtIncContrassegno", ""}, {"cmbCodIncContr", "-"}, {"chkInvioContr", "0"}};
    // clang-format on
}

// Each row is a waybill found by its reference, with the listed columns set.
void TestFrmRiscuti::visualizzazione()
{
    QFETCH(QString, colonne);
    QFETCH(Attese, attese);
    QVERIFY(
        m_db->esegui(QStringLiteral("UPDATE letve00f SET %1 WHERE lenrlv='10001'").arg(colonne)));
    mostraLdv10001();
    for (const auto &[nome, testo] : attese) {
        QVERIFY2(
            mostrato(nome) == testo,
            qPrintable(
                QStringLiteral("%1: \"%2\", expected \"%3\"").arg(nome, mostrato(nome), testo)));
    }
    if (QByteArray(QTest::currentDataTag()).startsWith("a full"))
        schermata(QStringLiteral("frmriscuti-piena"));
}

// Clicking an amount label opens its group when it shows an amount and closes it when empty;
// looking another waybill up closes the groups again.
void TestFrmRiscuti::etichetteSbloccanoIGruppi()
{
    QVERIFY(m_db->esegui(QStringLiteral("UPDATE letve00f SET leimpa=0 WHERE lenrlv='10001'")));
    mostraLdv10001();
    QTest::mouseClick(controllo<QLabel>("lblImpAnt"), Qt::LeftButton);
    QCOMPARE(gruppo(2), QStringLiteral("sbloccato"));
    QTest::mouseClick(controllo<QLabel>("lblImpAssegnato"), Qt::LeftButton);
    QCOMPARE(gruppo(3), QStringLiteral("bloccato"));
    QCOMPARE(gruppo(1), QStringLiteral("sbloccato"));

    RisposteMessaggi risposte;
    risposte.gestisci([](QWidget *dialogo) {
        dialogo->findChild<QPushButton *>(QStringLiteral("cmdEsci"))->click();
    });
    controllo<QPushButton>("cmdCerca")->click();
    QTRY_COMPARE(gruppo(2), QStringLiteral("bloccato"));
    QCOMPARE(gruppo(1), QStringLiteral("bloccato"));
    attiva();
    QTest::mouseClick(controllo<QLabel>("lblImpAnt"), Qt::LeftButton);
    QCOMPARE(gruppo(2), QStringLiteral("bloccato"));
}

// --- Save --------------------------------------------------------------------------------------

void TestFrmRiscuti::salvataggioDiUnGruppo_data()
{
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("importo");
    QTest::addColumn<int>("codice");
    QTest::addColumn<QStringList>("attesi");

    QTest::newRow("cash on delivery, sent on")
        << 1 << "12,5" << 1
        << QStringList{"01",   "NULL", "3", "NULL", "NULL", "12.50", "1",       "1",
                       "0.00", "0",    "0", "0.00", "0",    "0",     oggiIso(), "0"};
    QTest::newRow("advance charge")
        << 2 << "7,25" << 4
        << QStringList{"01",   "NULL", "3", "NULL", "NULL", "0.00", "0",       "0",
                       "7.25", "4",    "1", "0.00", "0",    "0",    oggiIso(), "0"};
    QTest::newRow("freight collect, whole euros")
        << 3 << "19" << 2
        << QStringList{"01",   "NULL", "3", "NULL",  "NULL", "0.00", "0",       "0",
                       "0.00", "0",    "0", "19.00", "2",    "1",    oggiIso(), "0"};
}

// The operator opens the group, types the amount, picks the code, ticks "sent" and saves: the
// row holds what was typed, the window confirms and clears the collection part only.
void TestFrmRiscuti::salvataggioDiUnGruppo()
{
    QFETCH(int, numero);
    QFETCH(QString, importo);
    QFETCH(int, codice);
    static const char *const campi[3][4] = {
        {"lblImpContr", "txtIncContrassegno", "cmbCodIncContr", "chkInvioContr"},
        {"lblImpAnt", "txtIncAnticipata", "cmbCodIncAnt", "chkInvioAnticipata"},
        {"lblImpAssegnato", "txtIncAssegnato", "cmbCodIncAssegnato", "chkInvioAssegnato"}};
    const auto campo = [&](int i) { return QLatin1String(campi[numero - 1][i]); };

    mostraLdv10001();
    QTest::mouseClick(controllo<QLabel>(campo(0)), Qt::LeftButton);
    QCOMPARE(gruppo(numero), QStringLiteral("sbloccato"));
    controllo<QComboBox>("cmbIncassoCon")->setCurrentIndex(2);
    digita(campo(1), importo);
    controllo<QComboBox>(campo(2))->setCurrentIndex(codice);
    QTest::mouseClick(controllo<QCheckBox>(campo(3)), Qt::LeftButton);

    RisposteMessaggi risposte;
    QTest::mouseClick(controllo<QPushButton>("cmdSalva"), Qt::LeftButton);
    QVERIFY(risposte.attendi(1, 3000));
    QCOMPARE(messaggi(risposte),
             (QList<Messaggio>{{"Salvataggio effettuato correttamente.",
                                "Gestione riscuti contrassegni.", QMessageBox::Information}}));
    QTEST(record(QStringLiteral("10001")), "attesi");
    QCOMPARE(record(QStringLiteral("10002")).value(5), QStringLiteral("80.00"));

    QCOMPARE(mostrato(campo(1)), QString());
    QCOMPARE(mostrato(campo(2)), QStringLiteral("-"));
    QCOMPARE(mostrato(campo(3)), QStringLiteral("0"));
    QCOMPARE(mostrato("lblImpContr"), QString());
    QCOMPARE(mostrato("cmbIncassoCon"), QStringLiteral("-"));
    QCOMPARE(gruppo(numero), QStringLiteral("bloccato"));
    QCOMPARE(mostrato("txtLDV"), QStringLiteral("10001"));
    QCOMPARE(mostrato("txtRiferimento"), QStringLiteral("RIF-001"));
    if (numero == 1)
        schermata(QStringLiteral("frmriscuti-dopo-salvataggio"));
}

struct Immissione
{
    bool conLdv = true;
    QString numeroLdv; // replaces the shown number when not empty
    int incassoCon = 2;
    QString banca, nrAssegno, piazza;
    QStringList importi{"", "", ""};
    QList<int> codici{-1, -1, -1};
    QString dataIncasso = QStringLiteral("oggi");
};
Q_DECLARE_METATYPE(Immissione)

void TestFrmRiscuti::controlliPrimaDelSalvataggio_data()
{
    QTest::addColumn<Immissione>("immissione");
    QTest::addColumn<Messaggio>("atteso");

    const QString titolo = QStringLiteral("Gestione Riscuti contrassegni");
    const auto avviso = [&](const char *testo) {
        return Messaggio{QString::fromUtf8(testo), titolo, QMessageBox::Warning};
    };
    const Messaggio salvato{"Salvataggio effettuato correttamente.",
                            "Gestione riscuti contrassegni.", QMessageBox::Information};

    Immissione i;
    i.incassoCon = -1;
    i.dataIncasso.clear();
    QTest::newRow("the means of payment comes first")
        << i << avviso("Selezionare un valore dalla lista combinata:'Incasso con'.");
    i = Immissione();
    i.incassoCon = 1;
    QTest::newRow("a cheque needs its bank")
        << i << avviso("Indicare la banca di emissione dell'assegno.");
    i.banca = QStringLiteral("Credem");
    QTest::newRow("then its number") << i << avviso("Indicare il numero dell'assegno.");
    i.nrAssegno = QStringLiteral("123");
    QTest::newRow("then where it was issued")
        << i << avviso("Indicare il luogo di emissione dell'assegno (piazza).");
    i = Immissione();
    QTest::newRow("some amount must be typed") << i << avviso("Inserire il valore incassato.");
    i.importi = {"5", "", ""};
    i.dataIncasso.clear();
    QTest::newRow("the date of collection before the codes")
        << i << avviso("indicare la data di incasso.");
    i.dataIncasso = QStringLiteral("__/__/____");
    QTest::newRow("a date left as the empty mask") << i << avviso("indicare la data di incasso.");
    i = Immissione();
    i.importi = {"5", "", "2"};
    i.codici = {1, -1, 0};
    QTest::newRow("an amount without its code, in a later group")
        << i << avviso("Selezionare il codice incasso.");
    i = Immissione();
    i.importi = {"cinque", "", ""};
    QTest::newRow("a text that is no number needs no code and is not written") << i << salvato;
    i = Immissione();
    i.incassoCon = 0;
    i.importi = {"0", "", ""};
    i.codici = {2, -1, -1};
    QTest::newRow("a current account needs no cheque details; 0 is an amount") << i << salvato;
    i.importi = {"5", "", ""};
    i.numeroLdv = QStringLiteral("99999");
    QTest::newRow("a key that names no waybill changes nothing and is no error") << i << salvato;
    i = Immissione();
    i.importi = {"1.234,56", "", ""};
    i.codici = {1, -1, -1};
    QTest::newRow("thousands separator: no number once commas become points")
        << i
        << Messaggio{"13 Tipo non corrispondente: '1.234.56' non è un numero.",
                     "Gestione riscuti contrassegni", QMessageBox::Critical};
    i = Immissione();
    i.conLdv = false;
    i.importi = {"5", "", ""};
    i.codici = {1, -1, -1};
    QTest::newRow("no waybill shown")
        << i << avviso("Cercare la lettera di vettura prima di salvare l'incasso.");
}

void TestFrmRiscuti::controlliPrimaDelSalvataggio()
{
    QFETCH(Immissione, immissione);
    QFETCH(Messaggio, atteso);
    if (immissione.conLdv) {
        mostraLdv10001();
    } else {
        digitaCliente(QStringLiteral("1001"));
        QTRY_VERIFY(controllo<QLineEdit>("txtRiferimento")->hasFocus());
    }
    if (!immissione.numeroLdv.isEmpty())
        controllo<QLineEdit>("txtLDV")->setText(immissione.numeroLdv);
    controllo<QComboBox>("cmbIncassoCon")->setCurrentIndex(immissione.incassoCon);
    controllo<QLineEdit>("txtBanca")->setText(immissione.banca);
    controllo<QLineEdit>("txtNrAssegno")->setText(immissione.nrAssegno);
    controllo<QLineEdit>("txtPiazza")->setText(immissione.piazza);
    const char *const importi[] = {"txtIncContrassegno", "txtIncAnticipata", "txtIncAssegnato"};
    const char *const codici[] = {"cmbCodIncContr", "cmbCodIncAnt", "cmbCodIncAssegnato"};
    for (int g = 0; g < 3; ++g) {
        controllo<QLineEdit>(QLatin1String(importi[g]))->setText(immissione.importi.at(g));
        controllo<QComboBox>(QLatin1String(codici[g]))->setCurrentIndex(immissione.codici.at(g));
    }
    if (immissione.dataIncasso != QLatin1String("oggi"))
        controllo<QLineEdit>("txtDataInc")->setText(immissione.dataIncasso);

    RisposteMessaggi risposte;
    QTest::mouseClick(controllo<QPushButton>("cmdSalva"), Qt::LeftButton);
    QVERIFY(risposte.attendi(1, 3000));
    QTest::qWait(50);
    QCOMPARE(messaggi(risposte), QList<Messaggio>{atteso});
    QCOMPARE(record(QStringLiteral("10001")).value(5), QStringLiteral("0.00"));
    if (atteso.icona != QMessageBox::Information) {
        // Refused: nothing written, nothing cleared.
        QCOMPARE(record(QStringLiteral("10001")), nienteIncassato);
        QCOMPARE(mostrato("txtIncContrassegno"), immissione.importi.at(0));
        QCOMPARE(mostrato("txtBanca"), immissione.banca);
    }
}

QTEST_MAIN(TestFrmRiscuti)
#include "tst_frmriscuti.moc"
