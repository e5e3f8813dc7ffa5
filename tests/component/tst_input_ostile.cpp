// Hostile texts typed into every field of every window whose value reaches a statement, one row
// per text and field. Every table is compared before and after: only the rows the action is for
// may change, a text stored is stored as the field holds it, and no box reports a statement the
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
#include <QSqlError>
#include <QSqlQuery>
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

// Each window: the fields the text goes into (":<column>" where it is then stored; for the
// customer search the options chosen), what the window holds well filled before (a label
// clicked, a list's entry, a field typed and left), the button that then runs, and the rows it
// may change, by the start of their text. "ricerca" is the collection window's lookup, whose
// shipment list gets the text in its own fields too; "anagrafica" the customer search it opens.
struct Finestra
{
    const char *nome, *campi, *compilato, *pulsante, *modificabili;
};
const Finestra finestre[] = {
    {"incasso",
     "txtFilInc:lefinc txtBanca:leban txtNrAssegno:lenras txtPiazza:lepiaz txtIncContrassegno "
     "txtIncAnticipata txtIncAssegnato txtDataInc",
     "lblImpAnt lblImpAssegnato cmbIncassoCon=0 txtIncContrassegno=12,34 cmbCodIncContr=1",
     "cmdSalva", "letve00f: '\\ ¦ 9'--#; ¦ 2031"},
    {"ricerca", "txtCodiceCli txtRiferimento txtDataRif txtFiliale", "txtCodiceCli=1001", "", ""},
    {"anagrafica", "optRagSoc+optIniziale optLocalita+optInterna optCodice", "txtCodiceCli=1001",
     "cmdCercaCliente", ""},
    {"rimessa",
     "txtCodiceCli txtDataDa txtDataAl txtRiferimento:Riferimento txtBanca:Banca txtImportoAss",
     "txtCodiceCli=1001 cmbCodInc=3 txtDataDa=01012025 txtDataAl=31012025 txtRiferimento=R-1 "
     "txtBanca=Banca txtImportoAss=60,5",
     "cmdRimessa", "letve00f: 01 ¦ 3001|contrassegni|zolvimacon"},
    {"annullamento", "txtNum txtData", "txtNum=42 txtData=10022025", "cmdAnnullaRimessa",
     "letve00f: 01 ¦ 4001|contrassegni"}};

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
    std::unique_ptr<Operatore> m_op;
    QString m_campo, m_testo, m_tenuto; // the row's field and text, what the field then held
    QTemporaryDir m_stampe;

private slots:
    void initTestCase()
    {
        m_db = std::make_unique<DatabaseDiProva>();
        QVERIFY(m_db->pronto());
        QVERIFY(m_db->caricaTesto(QStringLiteral(
            "INSERT INTO filiali (codice, Descrizione) VALUES ('01', 'Milano'), ('''\\\\', 'X');"
            "INSERT INTO codicizona (Codice, Descrizione) VALUES (11, 'Milano');"
            "INSERT INTO forni (Codice, RagioneSociale, Vettore) VALUES (101, 'Vettore', 1);"
            "INSERT INTO clien (Codice, RagioneSociale) VALUES (1001, 'Brambilla S.p.A.');")));
        // A customer per text, holding it in every searchable field as far as the column takes.
        for (int i = 0; i < testi.size(); ++i) {
            QSqlQuery cliente(m_db->db());
            cliente.prepare(QStringLiteral("INSERT INTO clien (Codice, RagioneSociale, Localita, "
                                           "Provincia) VALUES (?, LEFT(?, 60), LEFT(?, 40), "
                                           "LEFT(?, 2))"));
            cliente.addBindValue(5000 + i);
            for (int colonna = 0; colonna < 3; ++colonna)
                cliente.addBindValue(testi.at(i).second);
            QVERIFY_SQL(cliente, exec());
        }
        preparaComponente(*m_db, m_stampe.path());
        m_componente = std::make_unique<cRiscuti>();
    }

    void ostile_data()
    {
        QTest::addColumn<int>("finestra");
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

    void ostile()
    {
        QFETCH(int, finestra);
        QFETCH(QString, campo);
        QFETCH(QString, testo);
        m_campo = campo.section(u':', 0, 0), m_testo = testo;
        QVERIFY(m_db->caricaTesto(QString::fromUtf8(lettere)));
        const QStringList modificabili =
            QString::fromUtf8(finestre[finestra].modificabili).split(u'|', Qt::SkipEmptyParts);
        const QStringList prima = istantanea(modificabili);
        compila(finestre[finestra]);
        if (QTest::currentTestFailed())
            return;

        // The component's own refusal of a value (13) or the server's of a number too large for
        // its column (1264); never a statement the server could not read.
        for (const QString &messaggio : m_risposte->testi()) {
            const int numero = messaggio.section(u' ', 0, 0).toInt();
            QVERIFY2(numero == 0 || numero == 13 || numero == 1264, qPrintable(messaggio));
        }
        QCOMPARE(istantanea(modificabili), prima);
        // Stored as the field held it (a collecting branch only with its two characters).
        const QString colonna = campo.section(u':', 1);
        const QString dove =
            finestra == 0 ? QStringLiteral(" FROM letve00f WHERE leanlv=2031 AND lefili<>'01'")
                          : QStringLiteral(" FROM contrassegni WHERE NrDistinta=43");
        if (!colonna.isEmpty())
            QCOMPARE(m_db->valore(QStringLiteral("SELECT ") + colonna + dove).toString(),
                     colonna == QLatin1String("lefinc") && m_tenuto.size() != 2 ? QString()
                                                                                : m_tenuto);
    }

private:
    // Every row of every table but those that start as one of `escluse`, "<table>: <value> ¦ ...",
    // NULL as "NULL".
    QStringList istantanea(const QStringList &escluse)
    {
        QStringList righe;
        for (const QVariantList &tabella : m_db->righe(QStringLiteral(
                 "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
                 "AND TABLE_TYPE='BASE TABLE'"))) {
            const QString nome = tabella.value(0).toString();
            for (const QVariantList &riga : m_db->righe(QStringLiteral("SELECT * FROM ") + nome)) {
                QStringList valori;
                for (const QVariant &v : riga)
                    valori << (v.isNull() ? QStringLiteral("NULL") : v.toString());
                const QString testo =
                    nome + QStringLiteral(": ") + valori.join(QStringLiteral(" ¦ "));
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
        static const QRegularExpression pezzi(QStringLiteral("[ -~]+|[^ -~]+"));
        for (const QRegularExpressionMatch &pezzo : pezzi.globalMatch(testo)) {
            if (pezzo.captured().front() >= u' ' && pezzo.captured().front() <= u'~') {
                QTest::keyClicks(campo, pezzo.captured());
            } else {
                QGuiApplication::clipboard()->setText(pezzo.captured());
                QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
            }
        }
    }

    // The window shown anew and filled in well, the text typed into the row's field, then the
    // window's button or what leaving the field does; every box answered by rispondi().
    void compila(const Finestra &finestra)
    {
        m_risposte = std::make_unique<RisposteMessaggi>();
        for (int i = 0; i < 4; ++i)
            m_risposte->gestisci([this](QWidget *modale) { rispondi(modale); });
        frmRiscuti::istanza()->scarica();
        frmRimessa::istanza()->scarica();
        frmAnnullaRimessa::istanza()->scarica();
        const QLatin1String nome(finestra.nome);
        if (nome == QLatin1String("rimessa"))
            m_componente->RimessaContrassegni();
        else if (nome == QLatin1String("annullamento"))
            m_componente->AnnullaRimessaContrassegno();
        else if (nome == QLatin1String("incasso"))
            m_componente->MostraRiscutiEXT("9'--#;", "03/03/2031", "'\\", "1001");
        else
            m_componente->MostraRiscutiEXT({}, {}, {}, {});
        for (QWidget *aperta : QApplication::topLevelWidgets()) {
            if (aperta->isVisible())
                m_op = std::make_unique<Operatore>(aperta);
        }
        QVERIFY(m_op->attiva());
        if (nome == QLatin1String("incasso"))
            QTRY_COMPARE(m_op->mostrato(QStringLiteral("txtLDV")), QStringLiteral("9'--#;"));
        for (const QString &voce : QString::fromUtf8(finestra.compilato).split(u' ')) {
            QWidget *controllo = m_op->controllo(voce.section(u'=', 0, 0));
            if (auto *lista = qobject_cast<QComboBox *>(controllo)) {
                lista->setCurrentIndex(voce.section(u'=', 1).toInt());
            } else if (!qobject_cast<QLineEdit *>(controllo)) {
                clic(controllo);
            } else if (voce.section(u'=', 0, 0) != m_campo) {
                inserisci(controllo, voce.section(u'=', 1));
                QTest::keyClick(controllo, Qt::Key_Tab);
            }
        }
        QLineEdit *ostile = nullptr;
        if (!m_campo.startsWith(QLatin1String("opt"))) {
            ostile = m_op->controllo<QLineEdit>(m_campo);
            inserisci(ostile, m_testo);
            m_tenuto = ostile->text();
        }
        if (*finestra.pulsante && m_campo != QLatin1String("txtCodiceCli"))
            m_op->premi(QLatin1String(finestra.pulsante));
        else if (m_campo == QLatin1String("txtFiliale"))
            QTest::keyClick(m_op->controllo(QStringLiteral("txtRiferimento")), Qt::Key_F12);
        else if (m_campo == QLatin1String("txtRiferimento"))
            m_op->compila(QStringLiteral("txtDataRif"), QStringLiteral("02032031"));
        else
            QTest::keyClick(ostile, Qt::Key_Tab);
        QTest::qWait(20);
    }

    // Yes to a question and Ok to any other box. In the customer search (its options chosen)
    // and in the shipment list the text goes into their own fields and is looked for; then they
    // are left.
    void rispondi(QWidget *modale)
    {
        if (auto *box = qobject_cast<QMessageBox *>(modale)) {
            QAbstractButton *si = box->button(QMessageBox::Yes);
            return (si ? si : box->button(QMessageBox::Ok))->click();
        }
        for (const QString &opzione : m_campo.split(u'+')) {
            if (auto *scelta = modale->findChild<QRadioButton *>(opzione))
                clic(scelta);
        }
        for (const char *nome :
             {"txtCerca", "txtValore", "txtAnnoData", "cmdRicerca", "cmdVisualizza"}) {
            auto *controllo = modale->findChild<QWidget *>(QLatin1String(nome));
            if (!controllo || !controllo->isVisible() || !controllo->isEnabled())
                continue;
            if (qobject_cast<QLineEdit *>(controllo))
                inserisci(controllo, m_testo);
            else
                clic(controllo);
        }
        if (modale->isVisible())
            QTest::keyClick(modale, Qt::Key_Escape);
    }
};

QTEST_MAIN(tst_InputOstile)
#include "tst_input_ostile.moc"
