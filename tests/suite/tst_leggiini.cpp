#include "suite/cLeggiIni.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_LeggiIni : public QObject
{
    Q_OBJECT

private slots:
    void leggiValore_data();
    void leggiValore();
    void fileMancanteDaTestoVuoto_data();
    void fileMancanteDaTestoVuoto();

private:
    QString scriviIni(const QByteArray &contenuto);

    QTemporaryDir m_cartella;
    int m_numero = 0;
};

QString tst_LeggiIni::scriviIni(const QByteArray &contenuto)
{
    const QString percorso = m_cartella.filePath(QStringLiteral("suite%1.ini").arg(++m_numero));
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(contenuto) != contenuto.size())
        return QString();
    return percorso;
}

void tst_LeggiIni::leggiValore_data()
{
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("sezione");
    QTest::addColumn<QString>("chiave");
    QTest::addColumn<QString>("atteso");

    const QString dll = QStringLiteral("DLLStampe");
    const QString id = QStringLiteral("IdentificativoDll");
    auto riga = [&](const char *nome, const QByteArray &contenuto, const QString &sezione,
                    const QString &chiave, const QString &atteso) {
        QTest::newRow(nome) << contenuto << sezione << chiave << atteso;
    };

    riga("plain value", "[DLLStampe]\nIdentificativoDll=Lettere\n", dll, id, "Lettere");
    riga("section in other case", "[dllstampe]\nIdentificativoDll=Lettere\n", dll, id, "Lettere");
    riga("key in other case", "[DLLStampe]\nIDENTIFICATIVODLL=Lettere\n", dll, id, "Lettere");
    riga("blanks around section name", "[  DLLStampe ]\nIdentificativoDll=X\n", dll, id, "X");
    riga("blanks around key and value trimmed", "[DLLStampe]\n   IdentificativoDll  =  a b  \n",
         dll, id, "a b");
    riga("tab around value trimmed", "[DLLStampe]\nIdentificativoDll=\tv\t\n", dll, id, "v");
    riga("value after the first equals sign",
         "[S]\nSTRCREATABELLA=CREATE TABLE ? (x int) SELECT a=b FROM ?\n", "S", "STRCREATABELLA",
         "CREATE TABLE ? (x int) SELECT a=b FROM ?");
    riga("connection text kept whole", "[Db]\nTesto=Server=h;Database=d;Uid=u;Pwd=p=q;\n", "Db",
         "Testo", "Server=h;Database=d;Uid=u;Pwd=p=q;");
    riga("quotes kept", "[S]\nk=\"a b\"\n", "S", "k", "\"a b\"");
    riga("empty value", "[S]\nk=\nj=1\n", "S", "k", "");
    riga("semicolon comment skipped", "[S]\n;k=commento\nk=vero\n", "S", "k", "vero");
    riga("hash comment skipped", "[S]\n# k=commento\nk=vero\n", "S", "k", "vero");
    riga("indented comment skipped", "[S]\n   ;k=commento\nk=vero\n", "S", "k", "vero");
    riga("blank lines ignored", "\n\n[S]\n\n   \nk=v\n\n", "S", "k", "v");
    riga("line without equals ignored", "[S]\nsolo testo\nk=v\n", "S", "k", "v");
    riga("missing section", "[Altro]\nk=v\n", "S", "k", "");
    riga("missing key", "[S]\nj=v\n", "S", "k", "");
    riga("key of another section not taken", "[A]\nk=1\n[S]\nj=2\n", "S", "k", "");
    riga("section ends at next header", "[S]\n[B]\nk=1\n", "S", "k", "");
    riga("key prefix is not the key", "[S]\nkk=1\nk2=2\n", "S", "k", "");
    riga("first occurrence wins", "[S]\nk=primo\nk=secondo\n", "S", "k", "primo");
    riga("section repeated later", "[S]\nj=1\n[B]\nk=no\n[S]\nk=si\n", "S", "k", "si");
    riga("header with trailing comment", "[S] ; note\nk=v\n", "S", "k", "v");
    riga("bracket inside value", "[S]\nk=[x]\n", "S", "k", "[x]");
    riga("keys before any section", "k=libero\n[S]\nk=v\n", "", "k", "libero");
    riga("windows line endings", "[S]\r\nj=1\r\nk=v\r\n", "S", "k", "v");
    riga("bare CR line endings", "[S]\rj=1\rk=v\r", "S", "k", "v");
    riga("last line without line end", "[S]\nk=v", "S", "k", "v");
    riga("UTF-8 BOM before the first section", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v");
    riga("UTF-8 accents", "[S]\nk=Località è\n", "S", "k", QStringLiteral("Località è"));
    riga("accented section and key", "[Città]\nPerché=sì\n", QStringLiteral("CITTÀ"),
         QStringLiteral("perché"), QStringLiteral("sì"));
    riga("Latin-1 file", "[S]\nk=Localit\xE0\n", "S", "k", QStringLiteral("Località"));
    riga("empty file", "", "S", "k", "");
}

void tst_LeggiIni::leggiValore()
{
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, sezione);
    QFETCH(QString, chiave);
    QFETCH(QString, atteso);

    QVERIFY(m_cartella.isValid());
    const QString file = scriviIni(contenuto);
    QVERIFY(!file.isEmpty());

    const QString letto = cLeggiIni().LeggiValore(file, sezione, chiave);
    QCOMPARE(letto, atteso);
    QCOMPARE(cLeggiIni::valoreDaContenuto(contenuto, sezione, chiave), atteso);
}

void tst_LeggiIni::fileMancanteDaTestoVuoto_data()
{
    QTest::addColumn<QString>("file");

    QTest::newRow("no path") << QString();
    QTest::newRow("file that does not exist") << QStringLiteral("/nonesiste/suite.ini");
    QTest::newRow("a directory") << QStringLiteral("/tmp");
}

void tst_LeggiIni::fileMancanteDaTestoVuoto()
{
    QFETCH(QString, file);

    const QString letto = cLeggiIni().LeggiValore(file, QStringLiteral("DLLStampe"),
                                                  QStringLiteral("IdentificativoDll"));
    QCOMPARE(letto, QString());
}

QTEST_GUILESS_MAIN(tst_LeggiIni)
#include "tst_leggiini.moc"
