#include "data/erroredb.h"
#include "data/istruzioni_registro.h"
#include "finance/prospetto.h"
#include "support/errori.h"

#include <QTest>

using namespace IstruzioniRegistro;

class tst_Prospetto : public QObject
{
    Q_OBJECT

private slots:
    void campoCsv_data();
    void campoCsv();
    void documentoCsv();
    void registrazioni();
    void filtriStorico();
};

void tst_Prospetto::campoCsv_data()
{
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("csv");
    QTest::newRow("plain text stays") << "Moda Lombarda S.r.l."
                                      << "Moda Lombarda S.r.l.";
    QTest::newRow("a semicolon quotes") << "Rossi; Bianchi"
                                        << "\"Rossi; Bianchi\"";
    QTest::newRow("quotes are doubled") << "Bar \"Italia\""
                                        << "\"Bar \"\"Italia\"\"\"";
    QTest::newRow("a line break quotes") << "Via Roma\n12"
                                         << "\"Via Roma\n12\"";
    QTest::newRow("a carriage return quotes") << "a\rb"
                                              << "\"a\rb\"";
    QTest::newRow("comma and apostrophe stay") << "Dell'Adda, 1"
                                               << "Dell'Adda, 1";
}

void tst_Prospetto::campoCsv()
{
    QFETCH(QString, valore);
    QFETCH(QString, csv);
    QCOMPARE(Csv::campo(valore), csv);
}

// BOM, headings without line breaks, amounts with a decimal comma whatever the locale, CRLF.
void tst_Prospetto::documentoCsv()
{
    QLocale::setDefault(QLocale::c());
    Prospetto p;
    p.intestazioni << QStringLiteral("Cliente") << QStringLiteral("Da rimettere\nimporto")
                   << QStringLiteral("dal");
    p.righe << QList<Cella>{Cella::testo(QStringLiteral("Enoteca dell'Oltrepò; Pavia")),
                            Cella::importo(Importo::daCentesimi(123456789)),
                            Cella::data(QDate(2026, 11, 3))}
            << QList<Cella>{Cella::testo(QStringLiteral("Totale")),
                            Cella::importo(Importo::daCentesimi(-300)), Cella::data({})};
    QCOMPARE(Csv::documento(p),
             QByteArray("\xEF\xBB\xBF"
                        "Cliente;Da rimettere importo;dal\r\n"
                        "\"Enoteca dell'Oltrep\xC3\xB2; Pavia\";1234567,89;03/11/2026\r\n"
                        "Totale;-3,00;\r\n"));
}

// Every value through the escaping: a quote or a backslash in a station or user name stays text.
void tst_Prospetto::registrazioni()
{
    const Autore autore{QStringLiteral("PC'01"), QStringLiteral("ro\\ssi")};
    const QString testa = QStringLiteral(
        "insert into registrocontrassegni (Quando, Postazione, UtenteDb, UtenteSistema, Azione, "
        "lefili, lenrlv, leanlv, lecodi, NrDistinta, DataDistinta, Colonna, Prima, Dopo) ");
    const QString chi = QStringLiteral("NOW(3), 'PC\\'01', CURRENT_USER(), 'ro\\\\ssi', ");
    QCOMPARE(
        registraIncasso(autore,
                        {{{"01", "10930", "2026"}, "1001", "leimcs", "0.00", "12.50"},
                         {{"01", "10930", "2026"}, "1001", "leban", QVariant(), "Banca d'Italia"}}),
        testa + "values (" + chi +
            "'incasso', '01', '10930', 2026, 1001, NULL, NULL, 'leimcs', '0.00', '12.50'), (" +
            chi +
            "'incasso', '01', '10930', 2026, 1001, NULL, NULL, 'leban', NULL, "
            "'Banca d\\'Italia');");
    QCOMPARE(registraDistinta(autore, Azione::Annullamento, "42", QDate(2025, 2, 10)),
             testa + "SELECT " + chi +
                 "'annullamento', lefili, lenrlv, leanlv, lecodi, 42, '2025-02-10', NULL, NULL, "
                 "NULL FROM letve00f WHERE LENDVC=42 AND LEDTVC='2025-02-10';");
    QCOMPARE(registraLdv(autore, Azione::RimessaProvvisoria, "1005", {{"01", "7", "2026"}}),
             testa + "values (" + chi +
                 "'rimessa provvisoria', '01', '7', 2026, 1005, NULL, NULL, NULL, NULL, NULL);");
    QCOMPARE(numeroErrore([&] { registraDistinta(autore, Azione::Rimessa, "4 OR 1", {}); }),
             int(ErroreDb::TipoNonCorrispondente));
}

// Filters left empty are not applied; a day is taken whole; numbers go bare or not at all.
void tst_Prospetto::filtriStorico()
{
    const QString testa = QStringLiteral(
        "SELECT r.Quando, r.Azione, r.lefili, r.lenrlv, r.leanlv, r.lecodi, c.RagioneSociale, "
        "r.NrDistinta, r.DataDistinta, r.Colonna, r.Prima, r.Dopo, r.Postazione, r.UtenteDb, "
        "r.UtenteSistema FROM registrocontrassegni r LEFT JOIN clien c ON c.Codice=r.lecodi "
        "WHERE 1=1");
    QCOMPARE(storico({"10'9", "1001", "42", QDate(2026, 11, 1), QDate(2026, 11, 30), 50}),
             testa + " AND r.lenrlv='10\\'9' AND r.lecodi=1001 AND r.NrDistinta=42 AND r.Quando "
                     ">= '2026-11-01' AND r.Quando < '2026-12-01' ORDER BY r.Quando DESC, r.Id "
                     "DESC LIMIT 50;");
    QCOMPARE(storico({}), testa + " ORDER BY r.Quando DESC, r.Id DESC LIMIT 5000;");
    QCOMPARE(numeroErrore([] { storico({{}, "1 OR 1=1"}); }), int(ErroreDb::TipoNonCorrispondente));
    QCOMPARE(numeroErrore([] {
                 sospesi({{}, "10; DROP", QDate(2026, 1, 1)});
             }),
             int(ErroreDb::TipoNonCorrispondente));
}

QTEST_GUILESS_MAIN(tst_Prospetto)
#include "tst_prospetto.moc"
