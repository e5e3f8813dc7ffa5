#include "fields/campoimporto.h"

#include <QDir>
#include <QImage>
#include <QLocale>
#include <QTest>
#include <QVBoxLayout>

// The masked amount field: the operator's plain number is the text, the currency format is only
// painted while the field does not have the focus.
class tst_CampoImporto : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void testoRestaIlNumeroScritto();
    void aspetto();
};

void tst_CampoImporto::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void tst_CampoImporto::testoRestaIlNumeroScritto()
{
    QWidget finestra;
    auto *layout = new QVBoxLayout(&finestra);
    auto *campo = new CampoImporto;
    auto *altro = new QLineEdit;
    layout->addWidget(campo);
    layout->addWidget(altro);
    finestra.show();
    QVERIFY(QTest::qWaitForWindowActive(&finestra));

    campo->setFocus();
    QTRY_VERIFY(campo->hasFocus());
    QTest::keyClicks(campo, QStringLiteral("1234,5"));
    QCOMPARE(campo->text(), QStringLiteral("1234,5"));
    QCOMPARE(campo->displayText(), QStringLiteral("1234,5"));

    QTest::keyClick(campo, Qt::Key_Tab);
    QTRY_VERIFY(altro->hasFocus());
    QCOMPARE(campo->text(), QStringLiteral("1234,5"));
    QCOMPARE(campo->testoVisualizzato(), QStringLiteral("€1.234,50"));
    campo->setText(QStringLiteral("dodici"));
    QCOMPARE(campo->testoVisualizzato(), QStringLiteral("dodici"));

    campo->clear();
    QCOMPARE(campo->testoVisualizzato(), QString());
}

// What the operator sees, focused and not; the pictures go to the build folder for a look.
void tst_CampoImporto::aspetto()
{
    QWidget finestra;
    auto *layout = new QVBoxLayout(&finestra);
    auto *positivo = new CampoImporto;
    auto *negativo = new CampoImporto;
    auto *vuoto = new CampoImporto;
    auto *disabilitato = new CampoImporto;
    positivo->setText(QStringLiteral("1234,5"));
    negativo->setText(QStringLiteral("-3"));
    disabilitato->setText(QStringLiteral("12"));
    disabilitato->setEnabled(false);
    for (QWidget *w : {static_cast<QWidget *>(positivo), static_cast<QWidget *>(negativo),
                       static_cast<QWidget *>(vuoto), static_cast<QWidget *>(disabilitato)})
        layout->addWidget(w);
    finestra.resize(220, 150);
    finestra.show();
    QVERIFY(QTest::qWaitForWindowActive(&finestra));

    vuoto->setFocus();
    QTRY_VERIFY(vuoto->hasFocus());
    const QImage senzaFuoco = positivo->grab().toImage();
    QVERIFY(finestra.grab().save(
        QDir::current().filePath(QStringLiteral("campoimporto-senza-fuoco.png"))));

    positivo->setFocus();
    QTRY_VERIFY(positivo->hasFocus());
    const QImage conFuoco = positivo->grab().toImage();
    QVERIFY(finestra.grab().save(
        QDir::current().filePath(QStringLiteral("campoimporto-con-fuoco.png"))));

    // The formatted display and the plain text are drawn differently.
    QVERIFY(senzaFuoco != conFuoco);
    // Back without the focus, the formatted picture returns.
    vuoto->setFocus();
    QTRY_VERIFY(vuoto->hasFocus());
    QCOMPARE(positivo->grab().toImage(), senzaFuoco);
}

QTEST_MAIN(tst_CampoImporto)
#include "tst_campoimporto.moc"
