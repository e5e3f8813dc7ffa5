// The collection-entry window driven as an operator drives it, against the test database: the
// lookups and what a found waybill shows, the host's presets and the activation rules, the groups
// unlocking, the save end to end.
#include "collection/frmriscuti.h"

#include "component/cRiscuti.h"
#include "search/frmricercagia.h"
#include "support/databasediprova.h"
#include "support/operatore.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

// What the operator reads, "name=value|...", compared with what is expected.
#define VEDE(atteso) QTRY_COMPARE(vista(atteso), QString(atteso))

namespace {

// 10001: three amounts due, nothing collected. 10002: collected, remitted, invoiced, sent to head
// office. 20001: another customer's, in branch 02. 10005: found only through the list.
const char *const lettere = R"(
DELETE FROM letve00f;
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, lelin1, lecdve,
                      lecnss, leanpc, leimpa)
VALUES ('01', '10001', 2015, '2015-03-03', 'RIF-001', '2015-03-02', 1001, 11, 101, 150, 12.5, 19.9),
       ('02', '20001', 2015, '2015-05-05', 'ORD-777', '2015-05-04', 1002, 21, 101, 0.1, 0.2, 0),
       ('01', '10005', 2015, '2015-06-01', 'RIF-005', '2015-06-01', 1001, 11, 101, 45.1, 0, 0);
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, lelin1, lecdve,
                      lecnss, leanpc, leimpa, lefinc, letpin, leban, lenras, lepiaz, leimcs,
                      leflic, leflsc, leimap, leflia, leflip, leflsp, ledtin, leflco, lendvc,
                      ledtvc, lendap, ledtap, lenrft, lendiv, ledtiv)
VALUES ('01', '10002', 2015, '2015-03-04', 'RIF-002', '2015-03-04', 1001, 11, 101, 80, 12.5,
        19.9, '02', '2', 'Banca Sella', '0012', 'Genova', 80, '3', 1, 12.5, '1', '4', 1,
        '2015-03-10', 1, 12, '2015-04-06', 3, '2015-04-07', 345, 7, '2015-03-20');
UPDATE letve00f SET letpin='7', leimcs=0.31, leflic='7', leflsc=1, leimap=2, leflia='2',
                    leflsa=3, leflco=2 WHERE lenrlv='20001';
)";

const QString incasso = QStringLiteral(
    "SELECT CONCAT_WS('|', IFNULL(lefinc, '-'), IFNULL(letpin, '-'), leimcs, leflic, leflsc, "
    "leimap, IFNULL(ledtin, '-'), leflco) FROM letve00f WHERE lenrlv='10001'");

} // namespace

class tst_FrmRiscuti : public QObject
{
    Q_OBJECT
    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<cRiscuti> m_componente;
    std::unique_ptr<Operatore> m_op;
    int m_tipo = 0;       // the shipment list's last search type
    QString m_istruzione; // and statement
    QTemporaryDir m_stampe;

private slots:
    void initTestCase()
    {
        m_db = std::make_unique<DatabaseDiProva>();
        QVERIFY(m_db->pronto());
        QVERIFY(m_db->caricaTesto(QStringLiteral(
            "INSERT INTO filiali (codice, Descrizione) VALUES ('01', 'Milano'), ('02', 'Torino');"
            "INSERT INTO codicizona (Codice, Descrizione) VALUES (11, 'Milano'), (21, 'Torino');"
            "INSERT INTO forni (Codice, RagioneSociale, Vettore) VALUES (101, 'Lombardi', 1);"
            "INSERT INTO clien (Codice, RagioneSociale) VALUES (1001, 'Brambilla S.p.A.'), "
            "(1002, 'Moda Lombarda'), (1003, 'Enoteca dell''Oltrepò');")));
        preparaComponente(*m_db, m_stampe.path());
        m_componente = std::make_unique<cRiscuti>();
        m_op = std::make_unique<Operatore>(frmRiscuti::istanza());
    }

    // Every test starts on the same waybills and a window loaded anew, without presets.
    void init()
    {
        QTest::qWait(20); // focus moves the last test left pending
        QVERIFY(m_db->caricaTesto(QString::fromUtf8(lettere)));
        apri({});
        QTRY_VERIFY(campo("txtCodiceCli")->hasFocus());
    }

    void ricercaPerRiferimento_data()
    {
        QTest::addColumn<QString>("riferimento");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<QString>("messaggio");
        const auto riga = [](const char *nome, const char *rif, const char *data,
                             const char *atteso, const char *messaggio = "") {
            QTest::newRow(nome) << rif << data << atteso << messaggio;
        };
        riga("the customer's waybill: its record, amounts and states", "RIF-002", "04032015",
             "txtLDV=10002|txtDataLdv=04/03/2015|txtFilInc=02|txtBanca=Banca Sella|"
             "cmbIncassoCon=Assegno Circolare|txtIncContrassegno=80,00|"
             "cmbCodIncContr=Invio ns assegno|chkInvioContr=1|txtIncAnticipata=12,50|"
             "cmbCodIncAnt=In Cassa|txtIncAssegnato=|cmbCodIncAssegnato=-|txtDataInc=10/03/2015|"
             "chkPassCont=1|lblImpAnt=12,50 €|lblImpTot=19,90 €|barDistintaContr=12 del "
             "06/04/2015|barAnticipata=3 del 07/04/2015|barFattAssegnato=345 del |"
             "barInvioSede=7 del 20/03/2015");
        riga("another customer's: values outside the lists skipped, a total below 0", "ORD-777",
             "04052015",
             "txtLDV=20001|txtFiliale=02|cmbIncassoCon=-|txtIncContrassegno=0,31|"
             "cmbCodIncContr=-|chkInvioContr=0|cmbCodIncAnt=Invio assegno mitt.|"
             "chkInvioAnticipata=0|chkPassCont=0|txtBanca=|lblImpAssegnato=|lblImpTot=-2,01 €");
        riga("a date that does not exist", "RIF-001", "31022015", "txtLDV=",
             "Warning [Ok] Riscuti: Controllare l'immissione del riferimento cliente e/o data "
             "rifer. cliente");
    }

    // The waybill found, its amount labels clicked so that every group shows what it holds.
    void ricercaPerRiferimento()
    {
        QFETCH(QString, riferimento);
        QFETCH(QString, data);
        QFETCH(QString, atteso);
        QFETCH(QString, messaggio);
        RisposteMessaggi risposte;
        if (!messaggio.isEmpty())
            risposte.rispondi(QMessageBox::Ok);
        cerca(riferimento, data);
        QTest::qWait(50);
        clic(m_op->controllo("lblImpAnt"));
        clic(m_op->controllo("lblImpAssegnato"));
        VEDE(atteso);
        QCOMPARE(risposte.registrati().size(), messaggio.isEmpty() ? 0 : 1);
        if (!messaggio.isEmpty())
            QCOMPARE(comeAppare(risposte.registrati().first()), messaggio);
    }

    void elencoSpedizioni_data()
    {
        QTest::addColumn<QString>("riferimento");
        QTest::addColumn<QString>("scelta");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("condizione");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("F12: the customer's list, the pick read from the view of collections")
            << ""
            << "10002" << 12 << "lecodi=1001"
            << "txtLDV=10002|txtBanca=Banca Sella|cmbCodIncContr=Invio ns assegno|"
               "lblImpTot=19,90 €|barDistintaContr=12 del 06/04/2015";
        QTest::newRow("a reference not found: the list from it, in its year and branch")
            << "RIF-003"
            << "10005" << 1
            << "lecodi=1001 and LERIFE>='RIF-003' and year(LERIFD)=2015 and lefili='01'"
            << "txtLDV=10005|txtDataLdv=01/06/2015|txtRiferimento=RIF-005|lblImpContr=45,10 €";
    }

    void elencoSpedizioni()
    {
        QFETCH(QString, riferimento);
        QFETCH(QString, scelta);
        QFETCH(QString, condizione);
        QFETCH(QString, atteso);
        RisposteMessaggi risposte;
        risposte.gestisci(scegli(scelta));
        cerca(riferimento, "01062015");
        if (riferimento.isEmpty())
            QTest::keyClick(campo("txtRiferimento"), Qt::Key_F12);
        VEDE(atteso);
        QTEST(m_tipo, "tipo");
        QVERIFY2(m_istruzione.contains(condizione), qPrintable(m_istruzione));
        QCOMPARE(risposte.registrati().size(), 1);
    }

    void preimpostazioni_data()
    {
        QTest::addColumn<QStringList>("valori");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("complete: the customer and the waybill")
            << QStringList{"10002", "04/03/2015", "01", "1001"}
            << "txtCodiceCli=1001|barCliente=Brambilla S.p.A.|txtLDV=10002|lblImpContr=80,00 €";
        // As loaded, also after values: no customer, no waybill, "01" as both branches, today as
        // the collection date, no code chosen, the three groups locked.
        const QString nulla = "txtCodiceCli=|barCliente=|txtRiferimento=|txtLDV=|txtFiliale=01|"
                              "txtFilInc=01|cmbIncassoCon=-|cmbCodIncContr=disabilitato|"
                              "chkInvioAnticipata=disabilitato|txtIncAssegnato=disabilitato|"
                              "txtDataInc=" +
                              QDate::currentDate().toString("dd/MM/yyyy");
        for (const QStringList &valori : {QStringList{"", "04/03/2015", "01", "1001"},
                                          QStringList{"10002", "31/02/2015", "01", "1001"},
                                          QStringList{"10002", "04/03/2015", "", "1001"},
                                          QStringList{"10002", "04/03/2015", "01", ""}})
            QTest::addRow("incomplete: %s", qPrintable(valori.join(u'|'))) << valori << nulla;
    }

    void preimpostazioni()
    {
        QFETCH(QStringList, valori);
        QFETCH(QString, atteso);
        RisposteMessaggi risposte; // none is expected
        apri(valori);
        QTest::qWait(100);
        VEDE(atteso);
    }

    // A message box answered (an unknown code typed), the window closed and opened again on a
    // preset waybill whose customer does not exist: the presets are looked up, also where no
    // activation followed the box; the customer's message comes once (the box's return is no
    // activation) and the waybill is shown whoever the customer is.
    void preimpostazioniDopoUnMessaggio()
    {
        RisposteMessaggi risposte;
        risposte.rispondi({QMessageBox::Ok, QMessageBox::Ok});
        batti("9999");
        QVERIFY(risposte.attendi(1, 3000));
        frmRiscuti::istanza()->scarica();
        m_componente->MostraRiscutiEXT("10002", "04/03/2015", "01", "9999");
        VEDE("txtLDV=10002");
        QTest::qWait(300); // any activation the box's return brings
        QCOMPARE(risposte.testi(), QStringList(2, "Codice Cliente Inesistente"));
    }

    // A customer found locks its code: typing into it changes nothing, so the name shown stays
    // the code's.
    void clienteBloccato()
    {
        batti("1002");
        VEDE("barCliente=Moda Lombarda");
        QLineEdit *codice = campo("txtCodiceCli");
        codice->setFocus();
        QTRY_VERIFY(codice->hasFocus());
        QTest::keyClick(codice, Qt::Key_End);
        QTest::keyClicks(codice, "3");
        QCOMPARE(codice->text(), "1002");
    }

    // The shipment list of a customer without cash-on-delivery shipments says so from its first
    // showing, whenever the window system activates it.
    void elencoVuotoAllaComparsa()
    {
        batti("1003");
        VEDE("barCliente=Enoteca dell'Oltrepò");
        frmRicercaGia *elenco = frmRicercaGia::istanza();
        QString allaComparsa;
        FiltroEventi filtro(elenco, QEvent::Show, [&] {
            allaComparsa =
                controlloDi<QLabel>(elenco, "lblRisposta")->text() +
                (controlloDi<QPushButton>(elenco, "cmdEsci")->isVisibleTo(elenco) ? "|Esci"
                                                                                  : "|Seleziona");
        });
        RisposteMessaggi risposte;
        risposte.gestisci([](QWidget *dialogo) { dialogo->close(); });
        QTest::keyClick(campo("txtRiferimento"), Qt::Key_F12);
        QTRY_COMPARE(allaComparsa, "Non ci sono spedizioni per il cliente selezionato.|Esci");
    }

    // With the presets complete the list's pick stays when the list closes (the preset lookup
    // that its closing runs comes before the pick is read); coming back from another window loads
    // the preset waybill again.
    void attivazioni()
    {
        apri({"10001", "03/03/2015", "01", "1001"});
        VEDE("lblImpContr=150,00 €");
        RisposteMessaggi risposte;
        risposte.gestisci(scegli("10002"));
        campo("txtRiferimento")->clear(); // the list then holds every shipment
        m_op->premi("cmdCerca");
        VEDE("txtLDV=10002");
        QVERIFY(m_op->attiva());
        QTest::qWait(50);
        VEDE("txtLDV=10002");

        QWidget altra;
        altra.show();
        altra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&altra));
        QVERIFY(m_op->attiva());
        VEDE("txtLDV=10001|lblImpContr=150,00 €");
    }

    // Clicking an amount label opens its group when it shows an amount and closes it when empty;
    // leaving the list without a pick clears the collection part and locks the groups again.
    void gruppiDaEtichette()
    {
        cerca("RIF-001", "02032015");
        VEDE("txtIncContrassegno=|cmbCodIncAnt=disabilitato|chkInvioAnticipata=disabilitato");
        clic(m_op->controllo("lblImpAnt"));
        VEDE("txtIncAnticipata=|cmbCodIncAnt=-|chkInvioAnticipata=0|txtIncAssegnato=disabilitato");
        clic(m_op->controllo("lblImpAssegnato"));
        VEDE("txtIncAssegnato=|cmbCodIncAssegnato=-|chkInvioAssegnato=0");
        RisposteMessaggi risposte;
        risposte.gestisci(scegli(QString()));
        m_op->premi("cmdCerca");
        VEDE(
            "txtLDV=10001|lblImpContr=|lblImpAnt=|txtIncContrassegno=disabilitato|"
            "cmbCodIncContr=disabilitato|chkInvioContr=disabilitato|txtIncAnticipata=disabilitato");
        QVERIFY(m_op->attiva());
        clic(m_op->controllo("lblImpAnt"));
        VEDE("txtIncAnticipata=disabilitato");
    }

    // The operator finds the waybill and records the cash on delivery, sent on: saved without
    // its code, the entry is refused, nothing written and all kept; with the code it is saved,
    // confirmed, and the collection part is cleared.
    void salvataggio()
    {
        cerca("RIF-001", "02032015");
        VEDE("txtIncContrassegno=");
        m_op->controllo<QComboBox>("cmbIncassoCon")->setCurrentIndex(2);
        m_op->digita("txtIncContrassegno", "12,5");
        clic(m_op->controllo("chkInvioContr"));
        RisposteMessaggi risposte;
        risposte.rispondi({QMessageBox::Ok, QMessageBox::Ok});
        m_op->premi("cmdSalva");
        QVERIFY(risposte.attendi(1));
        QCOMPARE(m_db->valore(incasso).toString(), "-|-|0.00|0|0|0.00|-|0");
        VEDE("txtIncContrassegno=12,5|cmbIncassoCon=Contanti|chkInvioContr=1");
        QVERIFY(m_op->attiva());
        m_op->controllo<QComboBox>("cmbCodIncContr")->setCurrentIndex(1);
        m_op->premi("cmdSalva");
        QVERIFY(risposte.attendi(2));
        QCOMPARE(comeAppare(risposte.registrati().at(0)),
                 "Warning [Ok] Gestione Riscuti contrassegni: Selezionare il codice incasso.");
        QCOMPARE(comeAppare(risposte.registrati().at(1)),
                 "Information [Ok] Gestione riscuti contrassegni.: Salvataggio effettuato "
                 "correttamente.");
        QCOMPARE(m_db->valore(incasso).toString(),
                 "01|3|12.50|1|1|0.00|" + QDate::currentDate().toString(Qt::ISODate) + "|0");
        VEDE("txtIncContrassegno=disabilitato|chkInvioContr=disabilitato|cmbIncassoCon=-|"
             "lblImpContr=|txtBanca=|txtLDV=10001|txtRiferimento=RIF-001|txtFilInc=01");
    }

private:
    QLineEdit *campo(const char *nome) const { return m_op->controllo<QLineEdit>(nome); }

    // The host shows the window with the presets of a waybill (number, date, branch, customer).
    void apri(const QStringList &p)
    {
        frmRiscuti::istanza()->scarica();
        m_componente->MostraRiscutiEXT(p.value(0), p.value(1), p.value(2), p.value(3));
        QVERIFY(m_op->attiva());
    }

    // Types into the field that has the focus and leaves it with Tab.
    static void batti(const QString &testo)
    {
        QTest::keyClicks(QApplication::focusWidget(), testo);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }

    // Customer 1001, then the sender's reference and its date, typed one after the other (no
    // reference: the customer alone).
    void cerca(const QString &riferimento, const QString &data)
    {
        batti("1001");
        QTRY_VERIFY(campo("txtRiferimento")->hasFocus());
        if (riferimento.isEmpty())
            return;
        batti(riferimento);
        QTRY_VERIFY(campo("txtDataRif")->hasFocus());
        batti(data);
    }

    // Answers the shipment list: picks the waybill `numero` (its number is column 9), or leaves
    // with "Esci" when it is empty; notes the list's search type and statement.
    RisposteMessaggi::Gestore scegli(const QString &numero)
    {
        return [this, numero](QWidget *dialogo) {
            auto *elenco = qobject_cast<frmRicercaGia *>(dialogo);
            m_tipo = elenco->TipoRicerca(), m_istruzione = elenco->istruzioneCorrente();
            auto *griglia = controlloDi<QTableView>(elenco, "Griglia");
            for (int riga = 0; riga < griglia->model()->rowCount(); ++riga) {
                if (griglia->model()->index(riga, 9).data().toString() == numero)
                    griglia->setCurrentIndex(griglia->model()->index(riga, 0));
            }
            clic(controlloDi<QPushButton>(elenco, numero.isEmpty() ? "cmdEsci" : "cmdSeleziona"));
        };
    }

    // "name=value|..." as the operator reads the controls ("disabilitato" for a locked one).
    QString vista(const QString &atteso) const
    {
        QStringList letti;
        for (const QString &voce : atteso.split(u'|'))
            letti << voce.section(u'=', 0, 0) + u'=' + m_op->mostrato(voce.section(u'=', 0, 0));
        return letti.join(u'|').replace(QChar(0xA0), u' ');
    }
};

QTEST_MAIN(tst_FrmRiscuti)
#include "tst_frmriscuti.moc"
