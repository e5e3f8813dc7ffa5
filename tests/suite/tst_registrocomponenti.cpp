#include "suite/RegistroComponenti.h"

#include "suite/cModuliStampa.h"
#include "suite/creamodulistampa.h"
#include "services/modprincipale.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace {

// A print component that remembers who made it and counts the living instances.
class StampaDiProva : public cModuliStampa
{
public:
    explicit StampaDiProva(const QString &origine) : origine(origine) { ++vive; }
    ~StampaDiProva() override { --vive; }
    void setPercorsoDb(const QString &) override {}
    void setNumeroModulo(int) override {}
    void setFileLogo(const QString &) override {}
    void DatiStampa(const QStringList &) override {}
    void Stampa(QString &, bool &) override {}

    const QString origine;
    static int vive;
};

int StampaDiProva::vive = 0;

QString origineDi(const std::unique_ptr<cModuliStampa> &istanza)
{
    const auto *prova = dynamic_cast<const StampaDiProva *>(istanza.get());
    return prova ? prova->origine : QString();
}

enum class Fabbrica { Crea, Lancia, Nulla };

} // namespace

Q_DECLARE_METATYPE(Fabbrica)

class tst_RegistroComponenti : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void registro();

    void idProgrammatico_data();
    void idProgrammatico();

    void creaModuliStampa_data();
    void creaModuliStampa();
    void creaModuliStampaSenzaFileIni();

private:
    QString scriviIni(const QByteArray &contenuto);

    QTemporaryDir m_cartella;
    QStringList m_registrati;
};

void tst_RegistroComponenti::init()
{
    QVERIFY(m_cartella.isValid());
    modPrincipale::setPercorsoFileIni(QString());
    StampaDiProva::vive = 0;
}

void tst_RegistroComponenti::cleanup()
{
    for (const QString &id : std::as_const(m_registrati))
        RegistroComponenti::rimuovi(id);
    m_registrati.clear();
    modPrincipale::setPercorsoFileIni(QString());
    QCOMPARE(StampaDiProva::vive, 0);
}

QString tst_RegistroComponenti::scriviIni(const QByteArray &contenuto)
{
    const QString percorso = m_cartella.filePath(QStringLiteral("suite.ini"));
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contenuto) != contenuto.size())
        return QString();
    return percorso;
}

// Only registered ids create, whatever their case; registering again replaces the factory,
// an empty factory or a removal unregisters; every creation is a new instance.
void tst_RegistroComponenti::registro()
{
    const QString id = QStringLiteral("ReportDocLettere.cModuliStampa");
    QCOMPARE(RegistroComponenti::crea(id), nullptr);
    QCOMPARE(RegistroComponenti::crea(QString()), nullptr);
    m_registrati << id;
    RegistroComponenti::registra(id, [] { return new StampaDiProva(QStringLiteral("prima")); });
    RegistroComponenti::registra(id, [] { return new StampaDiProva(QStringLiteral("dopo")); });

    std::unique_ptr<cModuliStampa> prima(
        RegistroComponenti::crea(QStringLiteral("REPORTDOCLETTERE.CMODULISTAMPA")));
    std::unique_ptr<cModuliStampa> seconda(RegistroComponenti::crea(id));
    QCOMPARE(origineDi(prima), QStringLiteral("dopo"));
    QCOMPARE(origineDi(seconda), QStringLiteral("dopo"));
    QVERIFY(prima.get() != seconda.get());
    QCOMPARE(StampaDiProva::vive, 2);
    QCOMPARE(RegistroComponenti::crea(QStringLiteral("ReportDocDue.cModuliStampa")), nullptr);
    prima.reset();
    seconda.reset();

    RegistroComponenti::rimuovi(id);
    QCOMPARE(RegistroComponenti::crea(id), nullptr);
    RegistroComponenti::registra(id, [] { return new StampaDiProva(QStringLiteral("ancora")); });
    RegistroComponenti::registra(id, RegistroComponenti::FabbricaStampa());
    QCOMPARE(RegistroComponenti::crea(id), nullptr);
}

void tst_RegistroComponenti::idProgrammatico_data()
{
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("atteso");

    // clang-format off
    QTest::newRow("empty value: the two fixed parts") << QString() << "ReportDoc.cModuliStampa";
    QTest::newRow("value between the parts") << "Lettere" << "ReportDocLettere.cModuliStampa";
    QTest::newRow("value used unchanged")    << "V 2.1"   << "ReportDocV 2.1.cModuliStampa";
    // clang-format on
}

void tst_RegistroComponenti::idProgrammatico()
{
    QFETCH(QString, valore);
    QFETCH(QString, atteso);

    QCOMPARE(IdProgrammaticoStampa(valore), atteso);
}

void tst_RegistroComponenti::creaModuliStampa_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("idRegistrato");
    QTest::addColumn<Fabbrica>("fabbrica");
    QTest::addColumn<QString>("origineAttesa");

    const QString registrato = QStringLiteral("registrato");
    const QString predefinito = QStringLiteral("predefinito");

    QTest::newRow("id named by the INI file is created")
        << QByteArray("[DLLStampe]\r\nIdentificativoDll=Lettere\r\n")
        << "ReportDocLettere.cModuliStampa" << Fabbrica::Crea << registrato;
    QTest::newRow("section and key in other case")
        << QByteArray("[dllstampe]\nidentificativodll = Lettere\n")
        << "ReportDocLettere.cModuliStampa" << Fabbrica::Crea << registrato;
    QTest::newRow("empty value gives ReportDoc.cModuliStampa")
        << QByteArray("[DLLStampe]\nIdentificativoDll=\n") << "ReportDoc.cModuliStampa"
        << Fabbrica::Crea << registrato;
    QTest::newRow("missing key gives ReportDoc.cModuliStampa")
        << QByteArray("[Altro]\nIdentificativoDll=Lettere\n") << "ReportDoc.cModuliStampa"
        << Fabbrica::Crea << registrato;
    QTest::newRow("unknown id keeps the default")
        << QByteArray("[DLLStampe]\nIdentificativoDll=Sconosciuta\n")
        << "ReportDocLettere.cModuliStampa" << Fabbrica::Crea << predefinito;
    QTest::newRow("factory that throws keeps the default")
        << QByteArray("[DLLStampe]\nIdentificativoDll=Lettere\n")
        << "ReportDocLettere.cModuliStampa" << Fabbrica::Lancia << predefinito;
    QTest::newRow("factory that makes nothing keeps the default")
        << QByteArray("[DLLStampe]\nIdentificativoDll=Lettere\n")
        << "ReportDocLettere.cModuliStampa" << Fabbrica::Nulla << predefinito;
}

void tst_RegistroComponenti::creaModuliStampa()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, idRegistrato);
    QFETCH(Fabbrica, fabbrica);
    QFETCH(QString, origineAttesa);

    const QString file = scriviIni(ini);
    QVERIFY(!file.isEmpty());
    modPrincipale::setPercorsoFileIni(file);

    m_registrati << idRegistrato;
    RegistroComponenti::registra(idRegistrato, [fabbrica]() -> cModuliStampa * {
        switch (fabbrica) {
        case Fabbrica::Crea:
            return new StampaDiProva(QStringLiteral("registrato"));
        case Fabbrica::Lancia:
            throw std::runtime_error("componente non installato");
        case Fabbrica::Nulla:
            break;
        }
        return nullptr;
    });

    std::unique_ptr<cModuliStampa> istanza =
        std::make_unique<StampaDiProva>(QStringLiteral("predefinito"));
    const cModuliStampa *primaDellaChiamata = istanza.get();
    CreaModuliStampa(istanza);

    QCOMPARE(origineDi(istanza), origineAttesa);
    QCOMPARE(istanza.get() == primaDellaChiamata, origineAttesa == QLatin1String("predefinito"));
    // The replaced default is released, never leaked.
    QCOMPARE(StampaDiProva::vive, 1);
}

void tst_RegistroComponenti::creaModuliStampaSenzaFileIni()
{
    // No INI file at all: the id is made of the fixed parts alone.
    modPrincipale::setPercorsoFileIni(m_cartella.filePath(QStringLiteral("manca.ini")));
    m_registrati << QStringLiteral("ReportDoc.cModuliStampa");
    RegistroComponenti::registra(m_registrati.last(),
                                 [] { return new StampaDiProva(QStringLiteral("senza nome")); });

    std::unique_ptr<cModuliStampa> istanza =
        std::make_unique<StampaDiProva>(QStringLiteral("predefinito"));
    CreaModuliStampa(istanza);
    QCOMPARE(origineDi(istanza), QStringLiteral("senza nome"));

    // With nothing registered the default stays.
    RegistroComponenti::rimuovi(m_registrati.last());
    CreaModuliStampa(istanza);
    QCOMPARE(origineDi(istanza), QStringLiteral("senza nome"));
    std::unique_ptr<cModuliStampa> vuota;
    CreaModuliStampa(vuota);
    QCOMPARE(vuota.get(), nullptr);
}

QTEST_GUILESS_MAIN(tst_RegistroComponenti)
#include "tst_registrocomponenti.moc"
