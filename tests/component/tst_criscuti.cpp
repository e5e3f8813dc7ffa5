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

namespace {

// A working window whose load fails the first time, as a database error during a load does.
class FinestraCheFallisce : public FinestraLavoro
{
    int m_caricamenti = 0;
    void caricamento() override
    {
        if (++m_caricamenti == 1)
            throw ErroreDb(1049, QStringLiteral("Unknown database 'trasporti'"));
    }
};

} // namespace

using Mostra = void (cRiscuti::*)();
Q_DECLARE_METATYPE(Mostra)

class tst_cRiscuti : public QObject
{
    Q_OBJECT
    RisposteMessaggi m_risposte; // no window of the component shows a message here

private slots:
    // First: the settings start empty, and no window exists before one is shown.
    void impostazioniCondivise()
    {
        auto a = std::make_unique<cRiscuti>();
        cRiscuti b;
        QCOMPARE(a->PercorsoDatabase() + b.PercorsoFileIni(), QString());
        QCOMPARE(finestre(), QList<FinestraLavoro *>(3, nullptr));
        a->setPercorsoDatabase(QStringLiteral(" non una stringa "));
        b.setPercorsoFileIni(QStringLiteral("/etc/suite.ini"));
        b.setPercorsoLogoIntestazione(QStringLiteral("/srv/logo.png"));
        a.reset(); // the settings outlive the instance that set them, unchecked and untrimmed
        QCOMPARE(b.PercorsoDatabase() + cRiscuti().PercorsoFileIni() +
                     modPrincipale::PercorsoLogoIntestazione(),
                 QStringLiteral(" non una stringa /etc/suite.ini/srv/logo.png"));
    }

    void cleanup()
    {
        for (FinestraLavoro *finestra : finestre()) {
            if (finestra)
                finestra->scarica();
        }
    }

    void finestra_data()
    {
        QTest::addColumn<Mostra>("mostra");
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("MostraRiscuti")
            << Mostra(&cRiscuti::MostraRiscuti) << 0 << "Incasso contrassegni";
        QTest::newRow("RimessaContrassegni")
            << Mostra(&cRiscuti::RimessaContrassegni) << 1 << "Rimessa contrassegni";
        QTest::newRow("AnnullaRimessaContrassegno")
            << Mostra(&cRiscuti::AnnullaRimessaContrassegno) << 2 << "Annulla Rimessa contrassegni";
    }

    // One window of the kind, shown modeless without an owner however many instances show it;
    // one `fine` per close for each instance that holds it then; loaded anew after a close.
    void finestra()
    {
        QFETCH(Mostra, mostra);
        QFETCH(int, indice);
        cRiscuti a;
        cRiscuti b;
        QSignalSpy fineA(&a, &cRiscuti::fine);
        QSignalSpy fineB(&b, &cRiscuti::fine);
        (a.*mostra)(); // returns at once: a modal window would block here
        (a.*mostra)(); // one reference however often it is shown
        (b.*mostra)();
        FinestraLavoro *finestra = finestre().at(indice);
        QVERIFY(finestra->isVisible() && finestra->caricata() && !finestra->parentWidget());
        QCOMPARE(finestra->windowModality(), Qt::NonModal);
        QTEST(finestra->windowTitle(), "titolo");
        QCOMPARE(QApplication::topLevelWidgets().count(finestra), 1);

        clic(controlloDi<QPushButton>(finestra, QStringLiteral("cmdEsci")));
        QVERIFY(!finestra->isVisible() && !finestra->caricata());
        QCOMPARE(QList<qsizetype>({fineA.count(), fineB.count()}), QList<qsizetype>({1, 1}));
        (b.*mostra)(); // the close emptied a's reference
        QCOMPARE(finestre().at(indice), finestra);
        QVERIFY(finestra->isVisible() && finestra->caricata());
        QVERIFY(finestra->close()); // the operator closes it through its frame
        finestra->close();          // not open: nothing to raise
        QCOMPARE(QList<qsizetype>({fineA.count(), fineB.count()}), QList<qsizetype>({1, 2}));
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
            connect(f, &FinestraLavoro::Uscita, &ascolto,
                    [&ordine, f] { ordine << f->objectName(); });
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
        a.MostraRiscutiEXT(QStringLiteral(" 0012 "), QStringLiteral("31/02/2015"),
                           QStringLiteral("1"), QStringLiteral("abc "));
        frmRiscuti *f = frmRiscuti::istanza(false);
        f->scarica();
        a.MostraRiscuti();
        QCOMPARE(QStringList({f->NLdv(), f->DataLdv(), f->Filiale(), f->CodiceCliente()}),
                 QStringList({" 0012 ", "31/02/2015", "1", "abc "}));
        QVERIFY(f->isVisible());
    }

    // A load that fails ends the show with "<number> <description>" and leaves the window
    // unloaded (its unload raises nothing); the next show loads it again.
    void caricamentoFallito()
    {
        FinestraCheFallisce f;
        QSignalSpy uscita(&f, &FinestraLavoro::Uscita);
        QString errore;
        try {
            f.mostra();
        } catch (const std::exception &e) {
            errore = QString::fromUtf8(e.what());
        }
        QCOMPARE(errore, QStringLiteral("1049 Unknown database 'trasporti'"));
        QVERIFY(!f.isVisible() && !f.caricata());
        f.scarica();
        f.mostra();
        QVERIFY(f.isVisible() && f.caricata());
        f.scarica();
        QCOMPARE(uscita.count(), 1);
    }

private:
    // The three working windows, in the order the class unloads them (null until created).
    static QList<FinestraLavoro *> finestre()
    {
        return {frmRiscuti::istanza(false), frmRimessa::istanza(false),
                frmAnnullaRimessa::istanza(false)};
    }
};

QTEST_MAIN(tst_cRiscuti)
#include "tst_criscuti.moc"
