// The helper that answers modal boxes in widget tests: it must record exactly what was shown,
// click what was queued, reach boxes opened inside other modal windows, and never leave a test
// hanging on a box nobody expected.
#include "support/rispostemessaggi.h"

#include <QDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>

class tst_RisposteMessaggi : public QObject
{
    Q_OBJECT

private slots:
    void rispostaInCoda_data();
    void rispostaInCoda();
    void senzaRispostaPredefinito_data();
    void senzaRispostaPredefinito();
    void pulsanteAssente();
    void boxDentroBox();
    void boxDentroDialogo();
    void dialogoSenzaRisposta();
    void boxRiusato();
};

void tst_RisposteMessaggi::rispostaInCoda_data()
{
    QTest::addColumn<QMessageBox::Icon>("icona");
    QTest::addColumn<QMessageBox::StandardButtons>("pulsanti");
    QTest::addColumn<QMessageBox::StandardButton>("risposta");
    QTest::newRow("question answered No")
        << QMessageBox::Question << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::No;
    QTest::newRow("question answered Yes")
        << QMessageBox::Question << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Yes;
    QTest::newRow("exclamation with OK")
        << QMessageBox::Warning << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok;
    QTest::newRow("critical with OK and Cancel, Cancel")
        << QMessageBox::Critical << (QMessageBox::Ok | QMessageBox::Cancel) << QMessageBox::Cancel;
}

void tst_RisposteMessaggi::rispostaInCoda()
{
    QFETCH(QMessageBox::Icon, icona);
    QFETCH(QMessageBox::StandardButtons, pulsanti);
    QFETCH(QMessageBox::StandardButton, risposta);

    RisposteMessaggi risposte;
    risposte.rispondi(risposta);
    QMessageBox box(icona, QStringLiteral("Gestione riscuti contrassegni"),
                    QStringLiteral("Effettuare la stampa definitiva della rimessa?"), pulsanti);
    QCOMPARE(QMessageBox::StandardButton(box.exec()), risposta);

    QCOMPARE(risposte.registrati().size(), 1);
    const MessaggioRegistrato &voce = risposte.registrati().constFirst();
    QCOMPARE(voce.classe, QStringLiteral("QMessageBox"));
    QCOMPARE(voce.testo, QStringLiteral("Effettuare la stampa definitiva della rimessa?"));
    QCOMPARE(voce.titolo, QStringLiteral("Gestione riscuti contrassegni"));
    QCOMPARE(voce.icona, icona);
    QCOMPARE(voce.pulsanti, pulsanti);
    QCOMPARE(voce.risposta, risposta);
    QVERIFY(!voce.senzaRisposta);
    QVERIFY(!voce.rispostaNonValida);
    QCOMPARE(risposte.risposteInAttesa(), 0);
}

void tst_RisposteMessaggi::senzaRispostaPredefinito_data()
{
    QTest::addColumn<QMessageBox::StandardButtons>("pulsanti");
    QTest::addColumn<QMessageBox::StandardButton>("predefinito");
    QTest::addColumn<QMessageBox::StandardButton>("atteso");
    QTest::newRow("only button") << QMessageBox::StandardButtons(QMessageBox::Ok)
                                 << QMessageBox::NoButton << QMessageBox::Ok;
    QTest::newRow("default button No")
        << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::No << QMessageBox::No;
    QTest::newRow("default button Yes")
        << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Yes << QMessageBox::Yes;
}

// An unexpected box is answered, not waited for, and the test can see that it was unexpected.
void tst_RisposteMessaggi::senzaRispostaPredefinito()
{
    QFETCH(QMessageBox::StandardButtons, pulsanti);
    QFETCH(QMessageBox::StandardButton, predefinito);
    QFETCH(QMessageBox::StandardButton, atteso);

    RisposteMessaggi risposte;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Riscuti"),
                    QStringLiteral("Salvataggio effettuato correttamente."), pulsanti);
    if (predefinito != QMessageBox::NoButton)
        box.setDefaultButton(predefinito);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no answer queued")));
    QCOMPARE(QMessageBox::StandardButton(box.exec()), atteso);
    QCOMPARE(risposte.registrati().size(), 1);
    QVERIFY(risposte.registrati().constFirst().senzaRisposta);
    QCOMPARE(risposte.registrati().constFirst().risposta, atteso);
}

void tst_RisposteMessaggi::pulsanteAssente()
{
    RisposteMessaggi risposte;
    risposte.rispondi(QMessageBox::Yes);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Riscuti"),
                    QStringLiteral("Selezionare il codice cliente."), QMessageBox::Ok);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("has no button")));
    QCOMPARE(box.exec(), int(QMessageBox::Ok));
    QVERIFY(risposte.registrati().constFirst().rispostaNonValida);
    QCOMPARE(risposte.registrati().constFirst().risposta, QMessageBox::Ok);
}

// A box opened by the answer to another box gets the next answer.
void tst_RisposteMessaggi::boxDentroBox()
{
    RisposteMessaggi risposte;
    QMessageBox esterno(QMessageBox::Question, QStringLiteral("Riscuti"),
                        QStringLiteral("Annullare la rimessa 12 del 03/03/2015?"),
                        QMessageBox::Yes | QMessageBox::No);
    connect(esterno.button(QMessageBox::Yes), &QAbstractButton::clicked, this, [] {
        QMessageBox::information(nullptr, QStringLiteral("Riscuti"),
                                 QStringLiteral("Rimessa contrassegni: 12 del 03/03/2015 "
                                                "annullata."));
    });
    risposte.rispondi({QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(esterno.exec(), int(QMessageBox::Yes));
    QCOMPARE(risposte.testi(),
             QStringList({QStringLiteral("Annullare la rimessa 12 del 03/03/2015?"),
                          QStringLiteral("Rimessa contrassegni: 12 del 03/03/2015 annullata.")}));
    QCOMPARE(risposte.registrati().at(1).icona, QMessageBox::Information);
}

// A handler works on a dialog, its click opens a box, and a second handler closes the dialog.
void tst_RisposteMessaggi::boxDentroDialogo()
{
    RisposteMessaggi risposte;
    QDialog dialogo;
    dialogo.setObjectName(QStringLiteral("frmRicercaGia"));
    dialogo.setWindowTitle(QStringLiteral("Ricerca per riferimento"));
    auto *visualizza = new QPushButton(QStringLiteral("&Visualizza"), &dialogo);
    (new QVBoxLayout(&dialogo))->addWidget(visualizza);
    connect(visualizza, &QPushButton::clicked, &dialogo, [&dialogo] {
        QMessageBox::information(&dialogo, QStringLiteral("Riscuti"),
                                 QStringLiteral("Indicare un riferimento Cliente."));
    });

    QWidget *visto = nullptr;
    risposte.gestisci([&](QWidget *finestra) {
        visto = finestra;
        visualizza->click();
    });
    risposte.rispondi(QMessageBox::Ok);
    risposte.gestisci([&](QWidget *) { dialogo.accept(); });
    QCOMPARE(dialogo.exec(), int(QDialog::Accepted));

    QCOMPARE(visto, &dialogo);
    QCOMPARE(risposte.registrati().size(), 3);
    QCOMPARE(risposte.registrati().at(0).nomeOggetto, QStringLiteral("frmRicercaGia"));
    QCOMPARE(risposte.registrati().at(0).titolo, QStringLiteral("Ricerca per riferimento"));
    QCOMPARE(risposte.registrati().at(1).testo, QStringLiteral("Indicare un riferimento Cliente."));
    QCOMPARE(risposte.registrati().at(2).nomeOggetto, QStringLiteral("frmRicercaGia"));
    QCOMPARE(risposte.risposteInAttesa(), 0);
}

void tst_RisposteMessaggi::dialogoSenzaRisposta()
{
    RisposteMessaggi risposte;
    QDialog dialogo;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no answer queued")));
    QCOMPARE(dialogo.exec(), int(QDialog::Rejected));
    QCOMPARE(risposte.registrati().size(), 1);
    QVERIFY(risposte.registrati().constFirst().senzaRisposta);
}

// The same box object shown twice counts twice.
void tst_RisposteMessaggi::boxRiusato()
{
    RisposteMessaggi risposte;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Riscuti"), QStringLiteral("uno"),
                    QMessageBox::Ok);
    risposte.rispondi({QMessageBox::Ok, QMessageBox::Ok});
    box.exec();
    box.setText(QStringLiteral("due"));
    box.exec();
    QCOMPARE(risposte.testi(), QStringList({QStringLiteral("uno"), QStringLiteral("due")}));
}

QTEST_MAIN(tst_RisposteMessaggi)

#include "tst_rispostemessaggi.moc"
