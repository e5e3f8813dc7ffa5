#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "data/sql.h"

#include "support/databasediprova.h"

#include <QTest>

#include <memory>

// How values enter statement texts: escaped text, checked numbers and dates, and what a hostile
// value does against the real server.
class tst_Sql : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void testo_data();
    void testo();
    void numeri_data();
    void numeri();
    void leggiData_data();
    void leggiData();
    void identificatore_data();
    void identificatore();
    void letterale_data();
    void letterale();
    void unaSolaIstruzione_data();
    void unaSolaIstruzione();

    void testoOstileLettoUguale_data();
    void testoOstileLettoUguale();
    void numeroNonValidoNonRaggiungeIlServer();

private:
    std::unique_ptr<DatabaseDiProva> m_db;
};

void tst_Sql::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
}

void tst_Sql::testo_data()
{
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("atteso");

    // clang-format off
    QTest::newRow("plain text unchanged")         << "Banca Intesa" << "Banca Intesa";
    QTest::newRow("empty stays empty")            << ""             << "";
    QTest::newRow("quote escaped")                << "D'Amico"      << "D\\'Amico";
    QTest::newRow("backslash escaped")            << "C:\\dati"     << "C:\\\\dati";
    QTest::newRow("backslash before a quote cannot end the literal") << "\\'" << "\\\\\\'";
    QTest::newRow("NUL escaped")                  << QString(QChar(0)) << "\\0";
    QTest::newRow("double quote and percent left alone")  << "\"50%\""      << "\"50%\"";
    QTest::newRow("accented letters and emoji unchanged") << "località è 🚚" << "località è 🚚";
    // clang-format on
}

void tst_Sql::testo()
{
    QFETCH(QString, valore);
    QFETCH(QString, atteso);
    QCOMPARE(Sql::testo(valore), atteso);
}

// intero/decimale return a number unchanged and throw 13 for anything else; eIntero/eDecimale
// give the same answer without throwing.
void tst_Sql::numeri_data()
{
    QTest::addColumn<QString>("valore");
    QTest::addColumn<bool>("intero");
    QTest::addColumn<bool>("decimale");

    auto riga = [](const char *nome, const char *valore, bool intero, bool decimale) {
        QTest::newRow(nome) << QString::fromUtf8(valore) << intero << decimale;
    };
    riga("zero", "0", true, true);
    riga("whole number", "42", true, true);
    riga("negative", "-7", true, true);
    riga("leading zeros", "007", true, true);
    riga("eighteen digits", "123456789012345678", true, true);
    riga("two decimals", "12.50", false, true);
    riga("negative decimal", "-3.5", false, true);
    riga("no digits before the point", ".5", false, true);
    riga("no digits after the point", "5.", false, true);
    riga("negative without digits before the point", "-.5", false, true);
    riga("empty", "", false, false);
    riga("point alone", ".", false, false);
    riga("minus alone", "-", false, false);
    riga("decimal comma", "12,50", false, false);
    riga("thousands point and comma turned into two points", "1.234.56", false, false);
    riga("blank before", " 5", false, false);
    riga("blank after", "5 ", false, false);
    riga("exponent", "1e3", false, false);
    riga("hexadecimal", "0x1F", false, false);
    riga("double minus", "--1", false, false);
    riga("statement after a number", "1; drop table clien", false, false);
    riga("condition after a number", "1 or 1=1", false, false);
    riga("nineteen digits", "1234567890123456789", false, false);
    riga("text", "dodici", false, false);
}

void tst_Sql::numeri()
{
    QFETCH(QString, valore);
    QFETCH(bool, intero);
    QFETCH(bool, decimale);

    QCOMPARE(Sql::eIntero(valore), intero);
    QCOMPARE(Sql::eDecimale(valore), decimale);
    auto controlla = [&](const std::function<QString(const QString &)> &f, bool valido) {
        try {
            QCOMPARE(f(valore), valore);
            QVERIFY2(valido, "accepted a value that is not a number");
        } catch (const ErroreDb &e) {
            QVERIFY2(!valido, qPrintable(e.testo()));
            QCOMPARE(e.numero(), int(ErroreDb::TipoNonCorrispondente));
            QVERIFY2(e.descrizione().contains(valore), qPrintable(e.descrizione()));
        }
    };
    controlla(Sql::intero, intero);
    if (QTest::currentTestFailed())
        return;
    controlla(Sql::decimale, decimale);
}

void tst_Sql::leggiData_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QDate>("atteso");
    QTest::addColumn<bool>("errore");

    QTest::newRow("day, month, year") << "04/03/2015" << QDate(2015, 3, 4) << false;
    QTest::newRow("leading zeros") << "05/01/2015" << QDate(2015, 1, 5) << false;
    QTest::newRow("last day of the year") << "31/12/2015" << QDate(2015, 12, 31) << false;
    QTest::newRow("leap day") << "29/02/2016" << QDate(2016, 2, 29) << false;
    QTest::newRow("empty: no date") << "" << QDate() << false;
    QTest::newRow("empty mask: no date") << "__/__/____" << QDate() << false;
    QTest::newRow("31 February") << "31/02/2015" << QDate() << true;
    QTest::newRow("29 February of a common year") << "29/02/2015" << QDate() << true;
    QTest::newRow("month 13") << "01/13/2015" << QDate() << true;
    QTest::newRow("half typed in the mask") << "1_/__/____" << QDate() << true;
    QTest::newRow("two-digit year") << "04/03/15" << QDate() << true;
    QTest::newRow("year first") << "2015-03-04" << QDate() << true;
    QTest::newRow("text") << "ieri" << QDate() << true;
}

void tst_Sql::leggiData()
{
    QFETCH(QString, testo);
    QFETCH(QDate, atteso);
    QFETCH(bool, errore);
    try {
        const QDate d = Sql::leggiData(testo);
        QVERIFY2(!errore, qPrintable(d.toString(Qt::ISODate)));
        QCOMPARE(d, atteso);
        // And back into a statement: ISO, with leading zeros; no date, no text.
        QCOMPARE(Sql::data(d), atteso.isValid() ? atteso.toString(Qt::ISODate) : QString());
    } catch (const ErroreDb &e) {
        QVERIFY2(errore, qPrintable(e.testo()));
        QCOMPARE(e.numero(), int(ErroreDb::TipoNonCorrispondente));
    }
}

void tst_Sql::identificatore_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("atteso"); // empty: refused

    // clang-format off
    QTest::newRow("table")                        << "letve00f"            << "letve00f";
    QTest::newRow("work table of a station")      << "PCUFFICIO1Rimessa"   << "PCUFFICIO1Rimessa";
    QTest::newRow("underscore")                   << "zolvimacon_tabge00f" << "zolvimacon_tabge00f";
    QTest::newRow("64 characters") << QString(64, QLatin1Char('a')) << QString(64, QLatin1Char('a'));
    QTest::newRow("starts with a digit: quoted")  << "2E3PCRimessa"        << "`2E3PCRimessa`";
    QTest::newRow("already quoted stays quoted")  << "`2E3PCRimessa`"      << "`2E3PCRimessa`";
    QTest::newRow("quoted plain name loses its quotes") << "`clien`"       << "clien";
    QTest::newRow("65 characters")                << QString(65, QLatin1Char('a')) << "";
    QTest::newRow("empty")                        << ""                    << "";
    QTest::newRow("blank inside")                 << "let ve"              << "";
    QTest::newRow("hyphen")                       << "PC-1Rimessa"         << "";
    QTest::newRow("unbalanced quote")             << "`clien"              << "";
    QTest::newRow("quote inside")                 << "cl`ien"              << "";
    QTest::newRow("statement after the name")     << "clien;drop table clien" << "";
    QTest::newRow("qualified name")               << "db.clien"            << "";
    // clang-format on
}

void tst_Sql::identificatore()
{
    QFETCH(QString, nome);
    QFETCH(QString, atteso);
    try {
        const QString risultato = Sql::identificatore(nome);
        QVERIFY2(!atteso.isEmpty(), "accepted a name that is not a plain identifier");
        QCOMPARE(risultato, atteso);
    } catch (const ErroreDb &e) {
        QVERIFY2(atteso.isEmpty(), qPrintable(e.testo()));
        QCOMPARE(e.numero(), int(ErroreDb::TipoNonCorrispondente));
    }
}

void tst_Sql::letterale_data()
{
    QTest::addColumn<QVariant>("valore");
    QTest::addColumn<QString>("atteso");

    QTest::newRow("no value") << QVariant() << "NULL";
    QTest::newRow("NULL of a date column") << QVariant(QMetaType::fromType<QDate>()) << "NULL";
    QTest::newRow("NULL of a text column") << QVariant(QMetaType::fromType<QString>()) << "NULL";
    QTest::newRow("null date held in a variant") << QVariant(QDate()) << "NULL";
    QTest::newRow("whole number bare") << QVariant(2015) << "2015";
    QTest::newRow("big whole number bare") << QVariant(qlonglong(9000000000LL)) << "9000000000";
    QTest::newRow("flag") << QVariant(true) << "1";
    QTest::newRow("decimal text stays exact") << QVariant(QStringLiteral("12.50")) << "'12.50'";
    QTest::newRow("date quoted") << QVariant(QDate(2015, 3, 4)) << "'2015-03-04'";
    QTest::newRow("date and time quoted")
        << QVariant(QDateTime(QDate(2015, 3, 4), QTime(8, 5, 9))) << "'2015-03-04 08:05:09'";
    QTest::newRow("text escaped") << QVariant(QStringLiteral("l'a\\")) << "'l\\'a\\\\'";
    QTest::newRow("empty text quoted") << QVariant(QString()) << "''";
}

void tst_Sql::letterale()
{
    QFETCH(QVariant, valore);
    QFETCH(QString, atteso);
    QCOMPARE(Sql::letterale(valore), atteso);
}

void tst_Sql::unaSolaIstruzione_data()
{
    QTest::addColumn<QString>("istruzione");
    QTest::addColumn<bool>("una");

    auto riga = [](const char *nome, const QString &istruzione, bool una) {
        QTest::newRow(nome) << istruzione << una;
    };
    riga("one statement with its semicolon", "select * from clien;", true);
    riga("one statement without semicolon", "select 1", true);
    riga("blanks and a comment after the semicolon", "select 1;  -- fine\n ", true);
    riga("semicolons inside a literal", "update letve00f set leban='a;b; drop table x;';", true);
    riga("escaped quote inside a literal",
         "update letve00f set leban='" + Sql::testo("'; drop table clien; --") + "';", true);
    riga("backslash at the end of a literal",
         "update letve00f set leban='" + Sql::testo("C:\\") + "' where lenrlv='1';", true);
    riga("doubled quote inside a literal", "select 'l''a;b';", true);
    riga("semicolon in a double-quoted literal and a quoted name", "select \"a;b\" as `c;d`;",
         true);
    riga("semicolon in a comment", "select 1 /* a; b */ from dual;", true);
    riga("semicolon in a line comment", "select 1 # a; b\n;", true);
    riga("two statements", "update letve00f set leban='x'; drop table clien;", false);
    riga("second statement without semicolon", "select 1; select 2", false);
    riga("two semicolons", "select 1;;", false);
    riga("statement after a line comment ends", "select 1 -- x\n; select 2", false);
    riga("statement hidden in an executable comment", "select 1 /*!; drop table clien */", false);
    riga("quote that was not escaped ends the literal",
         "update letve00f set leban='a'; drop table clien; --';", false);
}

void tst_Sql::unaSolaIstruzione()
{
    QFETCH(QString, istruzione);
    QFETCH(bool, una);
    QCOMPARE(Sql::unaSolaIstruzione(istruzione), una);
}

// A hostile bank name goes through the collection save's statement and comes back as typed;
// the other waybills keep theirs.
void tst_Sql::testoOstileLettoUguale_data()
{
    QTest::addColumn<QString>("valore");

    QTest::newRow("quote") << "D'Amico";
    QTest::newRow("backslash") << "C:\\";
    QTest::newRow("backslash quote") << "\\'";
    QTest::newRow("condition") << "' or 1=1 -- ";
    QTest::newRow("second statement") << "'; drop table clien; --";
    QTest::newRow("accented letters") << "Cassa di Risparmio di Forlì è à ù";
    QTest::newRow("NUL inside") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QTest::newRow("emoji") << "Banca 🚚💶";
    QTest::newRow("percent and underscore") << "100%_";
}

void tst_Sql::testoOstileLettoUguale()
{
    QFETCH(QString, valore);

    m_db->esegui(QStringLiteral("delete from letve00f"));
    m_db->esegui(QStringLiteral(
        "insert into letve00f (lefili, lenrlv, leanlv, ledtlv, leban) values "
        "('01', '100', 2015, '2015-03-04', 'prima'), ('01', '101', 2015, '2015-03-04', 'altra'), "
        "('02', '100', 2015, '2015-03-04', 'filiale 2'), ('01', '100', 2014, '2014-03-04', 'anno "
        "prima')"));

    Connessione connessione(m_db->testoConnessione());
    connessione.apri();
    connessione.esegui(Istruzioni::aggiornaTesto(
        QStringLiteral("leban"), valore,
        {QStringLiteral("100"), QStringLiteral("01"), QDate(2015, 3, 4)}));

    QCOMPARE(m_db->valore(QStringLiteral("select leban from letve00f where lefili='01' and "
                                         "lenrlv='100' and leanlv=2015"))
                 .toString(),
             valore);
    QCOMPARE(m_db->valore(QStringLiteral("select char_length(leban) from letve00f where "
                                         "lefili='01' and lenrlv='100' and leanlv=2015"))
                 .toInt(),
             valore.toUcs4().size());
    QCOMPARE(
        m_db->valore(QStringLiteral("select group_concat(leban order by lefili, lenrlv, leanlv "
                                    "separator '|') from letve00f where not (lefili='01' and "
                                    "lenrlv='100' and leanlv=2015)"))
            .toString(),
        QStringLiteral("anno prima|altra|filiale 2"));
    QCOMPARE(m_db->valore(QStringLiteral("select count(*) from information_schema.tables where "
                                         "table_schema=database() and table_name='clien'"))
                 .toInt(),
             1);
}

// A bare value that is not a number stops in the builder: the statement is never sent, so the
// table is as it was.
void tst_Sql::numeroNonValidoNonRaggiungeIlServer()
{
    m_db->esegui(QStringLiteral("delete from letve00f"));
    m_db->esegui(QStringLiteral("insert into letve00f (lefili, lenrlv, leanlv, ledtlv, leimcs) "
                                "values ('01', '100', 2015, '2015-03-04', 7.25)"));
    const Istruzioni::ChiaveLdv chiave{QStringLiteral("100"), QStringLiteral("01"),
                                       QDate(2015, 3, 4)};
    Connessione connessione(m_db->testoConnessione());
    connessione.apri();
    for (const QString &valore : {QStringLiteral("0 where 1=1; update letve00f set leimcs=0"),
                                  QStringLiteral("1,5"), QStringLiteral("")}) {
        try {
            connessione.esegui(
                Istruzioni::aggiornaImporto(QStringLiteral("leimcs"), valore, chiave));
            QFAIL(qPrintable(QStringLiteral("sent: ") + valore));
        } catch (const ErroreDb &e) {
            QCOMPARE(e.numero(), 13);
        }
    }
    QCOMPARE(m_db->valore(QStringLiteral("select leimcs from letve00f")).toString(),
             QStringLiteral("7.25"));
}

QTEST_GUILESS_MAIN(tst_Sql)
#include "tst_sql.moc"
