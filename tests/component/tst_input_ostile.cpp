// Hostile texts typed into every field of every window whose value reaches a statement, one row
// per text and field. Every table is compared before and after: only the rows the action is for
// may change, a text stored is stored as the field held it, and no box reports a statement the
// server could not read.
#include "collection/frmriscuti.h"
#include "component/cRiscuti.h"
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"
#include "support/databasediprova.h"
#include "support/operatore.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const QList<QPair<const char *, QString>> testi = {
    {"quote", "O'Brien"},
    {"escaped quote", "\\' OR \\'x\\'=\\'x"},
    {"backslash at the end", "C:\\dati\\"},
    {"comments and a second statement", "x'; DELETE FROM letve00f; -- #/*"},
    {"LIKE wildcards", "%_%"},
    {"other alphabets", "日本語 Ελλάδα Çağrı"},
    {"emoji", "💶🚚"},
    {"control characters", QStringLiteral("a\tb\r\nc") + QChar(0) + QStringLiteral("d")},
    {"over-long text", QString(70, u'L') + QStringLiteral("' OR '1'='1")},
    {"over-long number", "12345678901234567890"}};

// Each window as the host shows it; what an operator does in it, in order, with every field well
// filled ("field=value": typed and left, or a list's entry chosen; "control": clicked); which of
// those fields take the text in turn (":column" where it is then stored; a customer search's
// options, its own field taking the text); the rows it may change, by the start of their text.
// "ricerca" is the collection window's lookup, whose lists get the text in their own fields too.
struct Finestra
{
    const char *nome;
    void (*mostra)(cRiscuti &);
    const char *azioni, *campi, *modificabili;
};
const Finestra finestre[] = {
    {"incasso", [](cRiscuti &c) { c.MostraRiscutiEXT("9'--#;", "03/03/2031", "'\\", "1001"); },
     "lblImpAnt lblImpAssegnato cmbIncassoCon=0 txtFilInc=03 txtBanca=B txtNrAssegno=N "
     "txtPiazza=P txtIncContrassegno=12,34 cmbCodIncContr=1 txtIncAnticipata=1 cmbCodIncAnt=1 "
     "txtIncAssegnato=2 cmbCodIncAssegnato=1 txtDataInc=05032031 cmdSalva",
     "txtFilInc:lefinc txtBanca:leban txtNrAssegno:lenras txtPiazza:lepiaz txtIncContrassegno "
     "txtIncAnticipata txtIncAssegnato txtDataInc",
     "letve00f: '\\ ¦ 9'--#; ¦ 2031|registrocontrassegni"},
    {"ricerca", [](cRiscuti &c) { c.MostraRiscutiEXT({}, {}, {}, {}); },
     "txtCodiceCli=1001 txtFiliale=01 txtRiferimento=R txtDataRif=02032031 cmdCerca",
     "txtCodiceCli txtFiliale txtRiferimento txtDataRif", ""},
    {"anagrafica", [](cRiscuti &c) { c.MostraRiscutiEXT({}, {}, {}, {}); },
     "txtCodiceCli=1001 cmdCercaCliente", "optRagSoc+optIniziale optLocalita+optInterna optCodice",
     ""},
    {"rimessa", [](cRiscuti &c) { c.RimessaContrassegni(); },
     "txtCodiceCli=1001 cmbCodInc=3 txtDataDa=01012025 txtDataAl=31012025 txtRiferimento=R "
     "txtBanca=B txtImportoAss=60,5 cmdRimessa",
     "txtCodiceCli txtDataDa txtDataAl txtRiferimento:Riferimento txtBanca:Banca txtImportoAss",
     "letve00f: 01 ¦ 3001|contrassegni|zolvimacon|registrocontrassegni"},
    {"annullamento", [](cRiscuti &c) { c.AnnullaRimessaContrassegno(); },
     "txtNum=42 txtData=10022025 cmdAnnullaRimessa", "txtNum txtData",
     "letve00f: 01 ¦ 4001|contrassegni|registrocontrassegni"}};

// The waybill the collection saves has a branch and a number made of quotes, a backslash and
// comment markers; one with the same number and date in branch 01 is beside it. A collection of
// January 2025 to remit, remittance 42 to cancel.
const char *const lettere = R"(
DELETE FROM letve00f;
DELETE FROM contrassegni;
UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=42;
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, lelin1, lecdve,
                      lecnss, leanpc, leimpa, leimcs, leflic, leflsc, ledtin, lendvc, ledtvc)
VALUES ('''\\', '9''--#;', 2031, '2031-03-03', 'R', '2031-03-02', 1001, 11, 101, 150, 12.5, 19.9,
        0, '0', 0, NULL, 0, NULL),
       ('01', '9''--#;', 2031, '2031-03-03', 'V', '2031-03-02', 1001, 11, 101, 150, 12.5, 19.9,
        0, '0', 0, NULL, 0, NULL),
       ('01', '3001', 2025, '2025-01-01', NULL, NULL, 1001, 0, 0, 10, 0, 0, 10, '3', 0,
        '2025-01-15', 0, NULL),
       ('01', '4001', 2025, '2025-01-02', NULL, NULL, 1001, 0, 0, 11, 0, 0, 11, '3', 1,
        '2025-01-05', 42, '2025-02-10');
INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, Importo)
VALUES (42, '2025-02-10', 'A-1', 'Banca Sella', 11.00);
)";

} // namespace

class tst_InputOstile : public QObject
{
    Q_OBJECT
    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<cRiscuti> m_componente;
    std::unique_ptr<RisposteMessaggi> m_risposte;
    QString m_campo, m_testo, m_tenuto; // the row's field and text; what the field then held
    QTemporaryDir m_stampe;
    int m_falliti = 0; // rows failed so far

private slots:
    void initTestCase()
    {
        m_db = std::make_unique<DatabaseDiProva>();
        QVERIFY(m_db->pronto());
        QVERIFY(m_db->caricaTesto(
            "INSERT INTO filiali (codice, Descrizione) VALUES ('01', 'Milano'), ('''\\\\', 'X');"
            "INSERT INTO codicizona (Codice, Descrizione) VALUES (11, 'Milano');"
            "INSERT INTO forni (Codice, RagioneSociale, Vettore) VALUES (101, 'Vettore', 1);"
            "INSERT INTO clien (Codice, RagioneSociale, Localita) VALUES (1001, 'O''Brien "
            "%_% C:\\\\dati\\\\', 'Ελλάδα');"));
        preparaComponente(*m_db, m_stampe.path());
        m_componente = std::make_unique<cRiscuti>();
    }

    // A fault fails row after row, each after its waits: three failed rows tell it, and the
    // rest are skipped so the suite ends in seconds.
    void init()
    {
        if (m_falliti >= 3)
            QSKIP("three rows have failed already");
    }
    void cleanup() { m_falliti += QTest::currentTestFailed(); }

    void ostile_data()
    {
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("testo");
        for (int f = 0; f < int(std::size(finestre)); ++f) {
            for (const QString &campo : QString::fromUtf8(finestre[f].campi).split(u' ')) {
                for (const auto &[nome, testo] : testi)
                    QTest::addRow("%s %s: %s", finestre[f].nome, qPrintable(campo), nome)
                        << f << campo << testo;
            }
        }
    }

    // The window shown anew and worked through, the row's field taking the text in its turn;
    // every box answered by rispondi().
    void ostile()
    {
        QFETCH(int, indice);
        QFETCH(QString, campo);
        QFETCH(QString, testo);
        const Finestra &finestra = finestre[indice];
        m_campo = campo.section(u':', 0, 0), m_testo = testo, m_tenuto = QStringLiteral("-");
        QVERIFY(m_db->caricaTesto(QString::fromUtf8(lettere)));
        const QStringList modificabili =
            QString::fromUtf8(finestra.modificabili).split(u'|', Qt::SkipEmptyParts);
        const QStringList prima = istantanea(modificabili);
        m_risposte = std::make_unique<RisposteMessaggi>();
        for (int i = 0; i < 6; ++i)
            m_risposte->gestisci([this](QWidget *modale) { rispondi(modale); });
        frmRiscuti::istanza()->scarica();
        frmRimessa::istanza()->scarica();
        frmAnnullaRimessa::istanza()->scarica();
        finestra.mostra(*m_componente);
        QWidget *aperta = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            aperta = w->isVisible() ? w : aperta;
        Operatore op(aperta);
        QVERIFY(op.attiva());
        if (indice == 0)
            QTRY_COMPARE(op.mostrato("txtLDV"), QStringLiteral("9'--#;"));
        for (const QString &azione : QString::fromUtf8(finestra.azioni).split(u' ')) {
            const QString nome = azione.section(u'=', 0, 0), valore = azione.section(u'=', 1);
            QWidget *controllo = op.controllo(nome);
            if (auto *lista = qobject_cast<QComboBox *>(controllo)) {
                lista->setCurrentIndex(valore.toInt());
            } else if (!qobject_cast<QLineEdit *>(controllo)) {
                clic(controllo);
            } else {
                inserisci(controllo, nome == m_campo ? testo : valore);
                m_tenuto =
                    nome == m_campo ? qobject_cast<QLineEdit *>(controllo)->text() : m_tenuto;
                QTest::keyClick(controllo, Qt::Key_Tab);
                if (controllo->hasFocus())
                    break; // the field refuses to be left: the operator goes no further
            }
        }
        QTest::qWait(20);
        QVERIFY2(m_tenuto != QStringLiteral("-"), "the text was typed into no field");

        // The component's own refusal of a value (13) or the server's of a number too large for
        // its column (1264); never a statement the server could not read.
        for (const QString &messaggio : m_risposte->testi()) {
            const int numero = messaggio.section(u' ', 0, 0).toInt();
            QVERIFY2(numero == 0 || numero == 13 || numero == 1264, qPrintable(messaggio));
        }
        QCOMPARE(istantanea(modificabili), prima);
        // Stored as the field held it (a collecting branch only with its two characters).
        const QString colonna = campo.section(u':', 1);
        const QString dove = indice ? " FROM contrassegni WHERE NrDistinta=43"
                                    : " FROM letve00f WHERE leanlv=2031 AND lefili<>'01'";
        if (!colonna.isEmpty())
            QCOMPARE(m_db->valore("SELECT " + colonna + dove).toString(),
                     colonna == "lefinc" && m_tenuto.size() != 2 ? QString() : m_tenuto);
    }

private:
    // Every row of every table but those that start as one of `escluse`, "<table>: <value> ¦ ...".
    QStringList istantanea(const QStringList &escluse)
    {
        QStringList righe;
        for (const QVariantList &tabella :
             m_db->righe("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                         "TABLE_SCHEMA=DATABASE() AND TABLE_TYPE='BASE TABLE'")) {
            for (const QVariantList &riga : m_db->righe("SELECT * FROM " + tabella[0].toString())) {
                QString testo = tabella[0].toString() + ':';
                for (const QVariant &v : riga)
                    testo += (v.isNull() ? " NULL" : ' ' + v.toString()) + " ¦";
                if (std::none_of(escluse.cbegin(), escluse.cend(),
                                 [&](const QString &inizio) { return testo.startsWith(inizio); }))
                    righe << testo;
            }
        }
        return righe;
    }

    // Types a text as an operator can, replacing what the field held: printable ASCII by its
    // keys, anything else (other alphabets, emoji, tab, CR, LF, NUL) pasted.
    static void inserisci(QWidget *campo, const QString &testo)
    {
        clic(campo);
        campo->setFocus(Qt::MouseFocusReason);
        qobject_cast<QLineEdit *>(campo)->selectAll();
        if (QRegularExpression("^[ -~]*$").match(testo).hasMatch())
            return QTest::keyClicks(campo, testo);
        QGuiApplication::clipboard()->setText(testo);
        QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
    }

    // Yes to a question and Ok to any other box. The customer search (its options chosen) and the
    // shipment list take the text in their own fields and look for it; then they are left.
    void rispondi(QWidget *modale)
    {
        if (auto *box = qobject_cast<QMessageBox *>(modale)) {
            QAbstractButton *si = box->button(QMessageBox::Yes);
            return (si ? si : box->button(QMessageBox::Ok))->click();
        }
        for (const QString &opzione : m_campo.split(u'+')) {
            if (auto *scelta = modale->findChild<QRadioButton *>(opzione))
                clic(scelta), m_tenuto = opzione;
        }
        for (const char *nome :
             {"txtCerca", "txtValore", "txtAnnoData", "cmdRicerca", "cmdVisualizza"}) {
            auto *controllo = modale->findChild<QWidget *>(nome);
            if (controllo && controllo->isVisible() && controllo->isEnabled())
                qobject_cast<QLineEdit *>(controllo) ? inserisci(controllo, m_testo)
                                                     : clic(controllo);
        }
        if (modale->isVisible())
            QTest::keyClick(modale, Qt::Key_Escape);
    }
};

QTEST_MAIN(tst_InputOstile)
#include "tst_input_ostile.moc"
