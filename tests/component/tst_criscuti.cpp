// The public class as a host uses it: shared settings, one window of each kind per process,
// `fine` for every close of a window an instance holds, windows unloaded when an instance goes.
#include "component/cRiscuti.h"

#include "collection/frmriscuti.h"
#include "data/erroredb.h"
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"
#include "services/modprincipale.h"
#include "support/controlli.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// A working window whose load fails, as a database error during a load does.
class FinestraCheFallisce : public FinestraLavoro
{
    void caricamento() override { throw ErroreDb(1049, "Unknown database 'trasporti'"); }
};

class tst_cRiscuti : public QObject
{
    Q_OBJECT
    RisposteMessaggi m_risposte; // no window of the component shows a message here

    // The three working windows, in the order the class unloads them (null until created).
    static QList<FinestraLavoro *> finestre()
    {
        return {frmRiscuti::istanza(false), frmRimessa::istanza(false),
                frmAnnullaRimessa::istanza(false)};
    }

private slots:
    // First: the settings start empty, and no window exists before one is shown.
    void impostazioniCondivise()
    {
        auto a = std::make_unique<cRiscuti>();
        cRiscuti b;
        QCOMPARE(a->PercorsoDatabase() + b.PercorsoFileIni(), QString());
        QCOMPARE(finestre(), QList<FinestraLavoro *>(3, nullptr));
        a->setPercorsoDatabase(" non una stringa ");
        b.setPercorsoFileIni("/etc/suite.ini");
        b.setPercorsoLogoIntestazione("/srv/logo.png");
        a.reset(); // the settings outlive the instance that set them, unchecked and untrimmed
        QCOMPARE(b.PercorsoDatabase() + cRiscuti().PercorsoFileIni() +
                     modPrincipale::PercorsoLogoIntestazione(),
                 " non una stringa /etc/suite.ini/srv/logo.png");
    }

    // Each kind: one window, shown modeless without an owner however many instances show it;
    // one `fine` per close for each instance that holds it then; loaded anew after a close.
    void unaFinestraPerTipo()
    {
        cRiscuti a, b;
        QSignalSpy fineA(&a, &cRiscuti::fine), fineB(&b, &cRiscuti::fine);
        using Mostra = void (cRiscuti::*)();
        const Mostra mostre[] = {&cRiscuti::MostraRiscuti, &cRiscuti::RimessaContrassegni,
                                 &cRiscuti::AnnullaRimessaContrassegno};
        for (int i = 0; i < 3; ++i) {
            (a.*mostre[i])(); // returns at once: a modal window would block here
            (a.*mostre[i])(); // one reference however often it is shown
            (b.*mostre[i])();
            FinestraLavoro *finestra = finestre().at(i);
            QVERIFY(finestra->isVisible() && finestra->caricata() && !finestra->parentWidget());
            QCOMPARE(finestra->windowModality(), Qt::NonModal);
            QCOMPARE(QApplication::topLevelWidgets().count(finestra), 1);
            clic(controlloDi<QPushButton>(finestra, "cmdEsci"));
            QVERIFY(!finestra->isVisible() && !finestra->caricata());
            (b.*mostre[i])(); // the close emptied a's reference
            QCOMPARE(finestre().at(i), finestra);
            QVERIFY(finestra->isVisible() && finestra->caricata());
            QVERIFY(finestra->close()); // the operator closes it through its frame
            finestra->close();          // not open: nothing to raise
            QCOMPARE(QList<qsizetype>({fineA.count(), fineB.count()}),
                     QList<qsizetype>({i + 1, 2 * i + 2}));
        }
    }

    // An instance that goes unloads the three windows in order, also those another instance
    // showed, which hears one `fine` for each it held; with nothing open it unloads nothing.
    void distruzioneScaricaLeFinestre()
    {
        auto a = std::make_unique<cRiscuti>();
        cRiscuti b;
        QSignalSpy fineB(&b, &cRiscuti::fine);
        a->MostraRiscuti();
        b.RimessaContrassegni();
        b.AnnullaRimessaContrassegno();
        QStringList ordine;
        QObject ascolto; // the connections end with this test
        for (FinestraLavoro *f : finestre())
            connect(f, &FinestraLavoro::Uscita, &ascolto, [&, f] { ordine << f->objectName(); });
        a.reset();
        cRiscuti().setPercorsoFileIni(QString());
        QCOMPARE(ordine, QStringList({"frmRiscuti", "frmRimessa", "frmAnnullaRimessa"}));
        for (FinestraLavoro *f : finestre())
            QVERIFY(!f->isVisible() && !f->caricata());
        QCOMPARE(fineB.count(), 2);
    }

    // MostraRiscutiEXT hands its four values to the window unchanged (a date that is no date: the
    // window shows without a lookup); MostraRiscuti keeps them, also after a close.
    void preimpostazioni()
    {
        cRiscuti a;
        a.MostraRiscutiEXT(" 0012 ", "31/02/2015", "1", "abc ");
        frmRiscuti *f = frmRiscuti::istanza(false);
        f->scarica();
        a.MostraRiscuti();
        QCOMPARE(QStringList({f->NLdv(), f->DataLdv(), f->Filiale(), f->CodiceCliente()}),
                 QStringList({" 0012 ", "31/02/2015", "1", "abc "}));
        QVERIFY(f->isVisible());
    }

    // A load that fails ends the show with "<number> <description>" and leaves the window
    // unloaded: its unload raises nothing.
    void caricamentoFallito()
    {
        FinestraCheFallisce f;
        QSignalSpy uscita(&f, &FinestraLavoro::Uscita);
        try {
            f.mostra();
            QFAIL("the load's failure did not reach the caller");
        } catch (const std::exception &e) {
            QCOMPARE(e.what(), "1049 Unknown database 'trasporti'");
        }
        f.scarica();
        QVERIFY(!f.isVisible() && !f.caricata() && uscita.isEmpty());
    }
};

QTEST_MAIN(tst_cRiscuti)
#include "tst_criscuti.moc"
