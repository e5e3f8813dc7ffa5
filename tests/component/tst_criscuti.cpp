#include "component/cRiscuti.h"

#include "collection/frmriscuti.h"
#include "services/finestre.h"
#include "services/modprincipale.h"
#include "data/erroredb.h"
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"

#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// The public class as a host uses it: shared settings, one window of each kind per process,
// `fine` for every close of a window an instance holds, windows unloaded when an instance goes.
class tst_cRiscuti : public QObject
{
    Q_OBJECT

public:
    using Mostra = void (cRiscuti::*)();

private slots:
    // Runs first: the settings are process-wide and start empty.
    void impostazioniVuoteAllInizio();
    void init();
    void cleanup();

    void impostazioniCondivise();
    void unaFinestraPerProcesso_data();
    void unaFinestraPerProcesso();
    void fineAdOgniChiusura_data();
    void fineAdOgniChiusura();
    void fineSoloPerChiTieneLaFinestra();
    void distruzioneScaricaLeFinestre();
    void eseguiNonFaNulla();
    void preimpostazioni();
    void caricamentoFallito();

private:
    static FinestraLavoro *finestra(Mostra mostra);
    static void chiudiConEsci(QWidget *finestra);
    static void scaricaTutte();

    std::unique_ptr<RisposteMessaggi> m_risposte;
};

Q_DECLARE_METATYPE(tst_cRiscuti::Mostra)

FinestraLavoro *tst_cRiscuti::finestra(Mostra mostra)
{
    if (mostra == &cRiscuti::MostraRiscuti)
        return frmRiscuti::istanza(false);
    if (mostra == &cRiscuti::RimessaContrassegni)
        return frmRimessa::istanza(false);
    return frmAnnullaRimessa::istanza(false);
}

void tst_cRiscuti::chiudiConEsci(QWidget *finestra)
{
    auto *esci = finestra->findChild<QPushButton *>(QStringLiteral("cmdEsci"));
    QVERIFY(esci);
    QTest::mouseClick(esci, Qt::LeftButton);
    QTRY_VERIFY(!finestra->isVisible());
}

void tst_cRiscuti::scaricaTutte()
{
    if (auto *f = frmRiscuti::istanza(false))
        f->scarica();
    if (auto *f = frmRimessa::istanza(false))
        f->scarica();
    if (auto *f = frmAnnullaRimessa::istanza(false))
        f->scarica();
}

void tst_cRiscuti::impostazioniVuoteAllInizio()
{
    cRiscuti classe;
    QCOMPARE(classe.PercorsoDatabase(), QString());
    QCOMPARE(classe.PercorsoFileIni(), QString());
    QCOMPARE(modPrincipale::PercorsoLogoIntestazione(), QString());
    // Nothing was shown, so nothing was created.
    QVERIFY(!frmRiscuti::istanza(false));
    QVERIFY(!frmRimessa::istanza(false));
    QVERIFY(!frmAnnullaRimessa::istanza(false));
}

void tst_cRiscuti::init()
{
    m_risposte = std::make_unique<RisposteMessaggi>();
}

void tst_cRiscuti::cleanup()
{
    scaricaTutte();
    // No window of the component may have shown a message of its own.
    QCOMPARE(m_risposte->testi(), QStringList());
    m_risposte.reset();
}

void tst_cRiscuti::impostazioniCondivise()
{
    cRiscuti a;
    auto b = std::make_unique<cRiscuti>();
    a.setPercorsoDatabase(QStringLiteral("Server=uno;Database=trasporti;"));
    QCOMPARE(b->PercorsoDatabase(), QStringLiteral("Server=uno;Database=trasporti;"));
    b->setPercorsoDatabase(QStringLiteral("Server=due;"));
    QCOMPARE(a.PercorsoDatabase(), QStringLiteral("Server=due;"));
    QCOMPARE(modPrincipale::PercorsoDatabase(), QStringLiteral("Server=due;"));

    b->setPercorsoFileIni(QStringLiteral("/etc/gestione trasporti/suite.ini"));
    QCOMPARE(a.PercorsoFileIni(), QStringLiteral("/etc/gestione trasporti/suite.ini"));
    a.setPercorsoLogoIntestazione(QStringLiteral("/srv/logo.png"));
    QCOMPARE(modPrincipale::PercorsoLogoIntestazione(), QStringLiteral("/srv/logo.png"));

    // The settings outlive the instances that set them; nothing is checked or trimmed.
    b.reset();
    a.setPercorsoDatabase(QStringLiteral(" non una stringa di connessione "));
    cRiscuti c;
    QCOMPARE(c.PercorsoDatabase(), QStringLiteral(" non una stringa di connessione "));
    QCOMPARE(c.PercorsoFileIni(), QStringLiteral("/etc/gestione trasporti/suite.ini"));
}

void tst_cRiscuti::unaFinestraPerProcesso_data()
{
    QTest::addColumn<Mostra>("mostra");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("titolo");

    QTest::newRow("MostraRiscuti") << Mostra(&cRiscuti::MostraRiscuti) << "frmRiscuti"
                                   << "Incasso contrassegni";
    QTest::newRow("RimessaContrassegni") << Mostra(&cRiscuti::RimessaContrassegni) << "frmRimessa"
                                         << "Rimessa contrassegni";
    QTest::newRow("AnnullaRimessaContrassegno")
        << Mostra(&cRiscuti::AnnullaRimessaContrassegno) << "frmAnnullaRimessa"
        << "Annulla Rimessa contrassegni";
}

void tst_cRiscuti::unaFinestraPerProcesso()
{
    QFETCH(Mostra, mostra);
    QFETCH(QString, nome);
    QFETCH(QString, titolo);

    cRiscuti a;
    cRiscuti b;
    (a.*mostra)(); // returns at once: a modal window would block here
    FinestraLavoro *prima = finestra(mostra);
    QVERIFY(prima);
    QVERIFY(prima->isVisible());
    QVERIFY(prima->isWindow());
    QCOMPARE(prima->objectName(), nome);
    QCOMPARE(prima->windowTitle(), titolo);
    QCOMPARE(prima->windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!prima->parentWidget()); // no owner window

    (b.*mostra)(); // the other instance: the same window
    (a.*mostra)(); // shown again while open: the same window
    QCOMPARE(finestra(mostra), prima);
    int conNome = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        conNome += w->objectName() == nome ? 1 : 0;
    QCOMPARE(conNome, 1);

    // Closed and shown again: still the same instance, loaded anew.
    chiudiConEsci(prima);
    QVERIFY(!prima->caricata());
    (b.*mostra)();
    QCOMPARE(finestra(mostra), prima);
    QVERIFY(prima->caricata());
    QVERIFY(prima->isVisible());
}

void tst_cRiscuti::fineAdOgniChiusura_data()
{
    unaFinestraPerProcesso_data();
}

void tst_cRiscuti::fineAdOgniChiusura()
{
    QFETCH(Mostra, mostra);

    cRiscuti a;
    QSignalSpy fine(&a, &cRiscuti::fine);
    QVERIFY(fine.isValid());

    (a.*mostra)();
    (a.*mostra)(); // showing twice keeps one reference: one `fine` per close
    chiudiConEsci(finestra(mostra));
    QCOMPARE(fine.count(), 1);

    // Closed by the operator through the window's frame.
    (a.*mostra)();
    QVERIFY(finestra(mostra)->close());
    QCOMPARE(fine.count(), 2);

    // A close of a window that is not open raises nothing.
    finestra(mostra)->scarica();
    finestra(mostra)->close();
    QCOMPARE(fine.count(), 2);
}

// `fine` goes to the instances that hold the closed window: to both when both showed it, to
// neither once a close has emptied an instance's reference.
void tst_cRiscuti::fineSoloPerChiTieneLaFinestra()
{
    cRiscuti a;
    cRiscuti b;
    QSignalSpy fineA(&a, &cRiscuti::fine);
    QSignalSpy fineB(&b, &cRiscuti::fine);
    QVERIFY(fineA.isValid());
    QVERIFY(fineB.isValid());

    a.MostraRiscuti();
    a.RimessaContrassegni();
    chiudiConEsci(frmRimessa::istanza(false));
    QCOMPARE(fineA.count(), 1);
    chiudiConEsci(frmRiscuti::istanza(false));
    QCOMPARE(fineA.count(), 2);

    b.MostraRiscuti();
    chiudiConEsci(frmRiscuti::istanza(false));
    QCOMPARE(fineA.count(), 2);
    QCOMPARE(fineB.count(), 1);

    a.AnnullaRimessaContrassegno();
    b.AnnullaRimessaContrassegno();
    chiudiConEsci(frmAnnullaRimessa::istanza(false));
    QCOMPARE(fineA.count(), 3);
    QCOMPARE(fineB.count(), 2);
}

void tst_cRiscuti::distruzioneScaricaLeFinestre()
{
    auto a = std::make_unique<cRiscuti>();
    cRiscuti b;
    QSignalSpy fineB(&b, &cRiscuti::fine);
    QVERIFY(fineB.isValid());

    a->MostraRiscuti();
    b.RimessaContrassegni();
    b.AnnullaRimessaContrassegno();
    QStringList ordine;
    QObject ascolto; // the connections below end with this test
    for (FinestraLavoro *f : {static_cast<FinestraLavoro *>(frmRiscuti::istanza(false)),
                              static_cast<FinestraLavoro *>(frmRimessa::istanza(false)),
                              static_cast<FinestraLavoro *>(frmAnnullaRimessa::istanza(false))})
        connect(f, &FinestraLavoro::Uscita, &ascolto, [&ordine, f] { ordine << f->objectName(); });

    a.reset();
    QCOMPARE(ordine, QStringList({QStringLiteral("frmRiscuti"), QStringLiteral("frmRimessa"),
                                  QStringLiteral("frmAnnullaRimessa")}));
    for (FinestraLavoro *f : {static_cast<FinestraLavoro *>(frmRiscuti::istanza(false)),
                              static_cast<FinestraLavoro *>(frmRimessa::istanza(false)),
                              static_cast<FinestraLavoro *>(frmAnnullaRimessa::istanza(false))}) {
        QVERIFY(!f->isVisible());
        QVERIFY(!f->caricata());
    }
    // b held two of them: one `fine` each.
    QCOMPARE(fineB.count(), 2);

    // An instance ending with nothing open unloads nothing and raises nothing.
    ordine.clear();
    {
        cRiscuti c;
    }
    QCOMPARE(ordine, QStringList());
    QCOMPARE(fineB.count(), 2);
}

void tst_cRiscuti::eseguiNonFaNulla()
{
    cRiscuti a;
    a.setPercorsoDatabase(QStringLiteral("Server=x;"));
    QSignalSpy fine(&a, &cRiscuti::fine);
    QVERIFY(fine.isValid());
    for (const QString &azione :
         {QString(), QStringLiteral("MostraRiscuti"), QStringLiteral("?")}) {
        QCOMPARE(a.Esegui(azione), QVariant());
        QCOMPARE(a.Esegui(azione, QStringLiteral("argomento")), QVariant());
        QCOMPARE(a.Esegui(azione, 42), QVariant());
    }
    QVERIFY(!a.Esegui(QStringLiteral("x")).isValid());
    QCOMPARE(a.PercorsoDatabase(), QStringLiteral("Server=x;"));
    QCOMPARE(fine.count(), 0);
    QVERIFY(!frmRiscuti::istanza(false) || !frmRiscuti::istanza(false)->isVisible());
}

void tst_cRiscuti::preimpostazioni()
{
    const auto preimpostati = [](frmRiscuti *f) {
        return QStringList{f->NLdv(), f->DataLdv(), f->Filiale(), f->CodiceCliente()};
    };
    cRiscuti a;
    // A date that is not a date: the window shows without looking anything up.
    a.MostraRiscutiEXT(QStringLiteral(" 0012 "), QStringLiteral("31/02/2015"), QStringLiteral("1"),
                       QStringLiteral("abc "));
    frmRiscuti *f = frmRiscuti::istanza(false);
    QVERIFY(f);
    QVERIFY(f->isVisible());
    const QStringList dati{" 0012 ", "31/02/2015", "1", "abc "};
    QCOMPARE(preimpostati(f), dati);

    // MostraRiscuti, also after a close, leaves the presets as they are.
    chiudiConEsci(f);
    a.MostraRiscuti();
    QCOMPARE(frmRiscuti::istanza(false), f);
    QCOMPARE(preimpostati(f), dati);

    // Empty values are set as given.
    a.MostraRiscutiEXT(QString(), QString(), QString(), QString());
    QCOMPARE(preimpostati(f), QStringList(4, QString()));
}

namespace {

// A working window whose load fails the first time, as a database error during a load does.
class FinestraCheFallisce : public FinestraLavoro
{
public:
    int caricamenti = 0;
    bool fallisce = true;

protected:
    void caricamento() override
    {
        ++caricamenti;
        if (fallisce)
            throw ErroreDb(1049, QStringLiteral("Unknown database 'trasporti'"));
    }
};

} // namespace

void tst_cRiscuti::caricamentoFallito()
{
    FinestraCheFallisce f;
    QSignalSpy uscita(&f, &FinestraLavoro::Uscita);
    QVERIFY(uscita.isValid());
    try {
        f.mostra();
        QFAIL("the load failure did not reach the caller");
    } catch (const std::exception &e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("1049 Unknown database 'trasporti'"));
    }
    QVERIFY(!f.isVisible());
    QVERIFY(!f.caricata());
    f.scarica();
    QCOMPARE(uscita.count(), 0); // never loaded, so never unloaded

    // The next show loads again.
    f.fallisce = false;
    f.mostra();
    QCOMPARE(f.caricamenti, 2);
    QVERIFY(f.isVisible());
    QVERIFY(f.caricata());
    f.scarica();
    QCOMPARE(uscita.count(), 1);
}

QTEST_MAIN(tst_cRiscuti)
#include "tst_criscuti.moc"
