// The save of a collection entry: its checks and its statements as pure tables, and the save on
// the real server, all or nothing under every fault.
#include "collection/salvataggioincasso.h"

#include "data/connessione.h"
#include "support/databasediprova.h"
#include "support/errori.h"

#include <QLocale>
#include <QProcess>
#include <QTest>

#include <functional>

Q_DECLARE_METATYPE(DatiIncasso)

namespace {

GruppoIncasso gruppo(const QString &importo, int codice, bool inviato = false)
{
    static const QStringList testi{"", "In Cassa", "Invio assegno mitt.", "Invio ns assegno",
                                   "Bonifico Bancario"};
    return GruppoIncasso{importo, testi.value(codice), codice, inviato};
}

// Waybill 10001 of 03/03/2015 in branch 01, paid in cash, collected on 05/03/2015; nothing typed
// in the groups. Complete: every field filled, so that all sixteen statements run (a quote and a
// backslash in the bank).
DatiIncasso voce(bool completa = false)
{
    DatiIncasso d;
    d.numeroLdv = "10001", d.filiale = "01", d.dataLdv = "03/03/2015", d.filialeIncasso = "01";
    d.testoIncassoCon = "Contanti", d.incassoCon = 3, d.dataIncasso = "05/03/2015";
    if (!completa)
        return d;
    d.filialeIncasso = "03", d.testoIncassoCon = "Assegno Circolare", d.incassoCon = 2;
    d.banca = "Banca d'Alba \\ Bra", d.nrAssegno = "A-0012", d.piazza = "Alba";
    d.contrassegno = gruppo("150", 3, true), d.anticipata = gruppo("12,5", 1);
    d.assegnato = gruppo("19,90", 4, true), d.dataIncasso = "15/03/2015";
    d.passaggioContabile = true;
    return d;
}

void riga(const char *nome, const std::function<void(DatiIncasso &)> &modifica,
          const QStringList &atteso, bool completa = false)
{
    DatiIncasso d = voce(completa);
    modifica(d);
    QTest::newRow(nome) << d << atteso;
}

// "update letve00f set <colonna>=<valore>" on waybill 10001; a text value comes with its quotes.
QString su(const char *colonna, const char *valore)
{
    return QStringLiteral("update letve00f set %1=%2 where lenrlv='10001' and lefili='01' and "
                          "ledtlv='2015-03-03';")
        .arg(QLatin1String(colonna), QString::fromUtf8(valore));
}

const QString colonne = QStringLiteral("lefinc,leban,letpin,lenras,lepiaz,leimcs,leflic,leflsc,"
                                       "leimap,leflia,leflsa,leinpa,leflip,leflsp,ledtin,leflco");

// The waybill saved and its neighbours: the same number and date in another branch, another
// number. A trigger counts the save's statements in `conta`, inside the transaction and rolled
// back with it, and in `tentativi`, a MEMORY table that no rollback touches.
const char *const lettere = R"(
DROP TRIGGER IF EXISTS guasto;
DELETE FROM letve00f;
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lecnss, lefinc, leban)
VALUES ('01', '10001', 2015, '2015-03-03', 150, '01', 'Banca di prima'),
       ('02', '10001', 2015, '2015-03-03', 150, NULL, NULL),
       ('01', '10002', 2015, '2015-03-03', 80, NULL, NULL);
CREATE TABLE IF NOT EXISTS conta (n INT) ENGINE=InnoDB;
CREATE TABLE IF NOT EXISTS tentativi (n INT) ENGINE=MEMORY;
DELETE FROM conta; DELETE FROM tentativi;
INSERT INTO conta VALUES (0); INSERT INTO tentativi VALUES (0);
)";

// Run by the mariadb client beside the save: waits for the connection that sleeps in the trigger
// and kills it, as a failing network or an administrator would.
const char *const taglio =
    "BEGIN NOT ATOMIC DECLARE n BIGINT; DECLARE volte INT DEFAULT 0; WHILE n IS NULL AND volte < "
    "1500 DO SELECT MAX(ID) INTO n FROM information_schema.PROCESSLIST WHERE STATE='User sleep' "
    "AND ID<>CONNECTION_ID() AND DB=DATABASE(); SET volte = volte + 1; DO SLEEP(0.01); END WHILE; "
    "KILL CONNECTION n; END";

} // namespace

class tst_SalvataggioIncasso : public QObject
{
    Q_OBJECT
    std::unique_ptr<DatabaseDiProva> m_db;

    // The waybills `dove` names, a line each, their `colonne` joined by "|" (NULLs left out).
    QString valori(const QString &colonne, const QString &dove)
    {
        return m_db
            ->valore(QStringLiteral("SELECT GROUP_CONCAT(CONCAT_WS('|', %1) ORDER BY lefili, "
                                    "lenrlv SEPARATOR ' / ') FROM letve00f WHERE %2")
                         .arg(colonne, dove))
            .toString();
    }

    // The save on a connection of its own, as the window runs it; the error's number, 0 for none.
    int salva()
    {
        return numeroErrore([this] {
            Connessione connessione(m_db->testoConnessione());
            connessione.apri();
            SalvataggioIncasso::salva(voce(true), connessione);
        });
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        m_db = std::make_unique<DatabaseDiProva>();
        QVERIFY(m_db->pronto());
    }

    void controlla_data()
    {
        QTest::addColumn<DatiIncasso>("dati");
        QTest::addColumn<QStringList>("atteso");
        const auto nulla = [](DatiIncasso &) {};
        riga("an entry that may be saved", nulla, {""}, true);
        riga(
            "the means of payment first", [](DatiIncasso &d) { d.testoIncassoCon.clear(); },
            {"Selezionare un valore dalla lista combinata:'Incasso con'."}, true);
        riga(
            "a cheque needs its bank", [](DatiIncasso &d) { d.banca.clear(); },
            {"Indicare la banca di emissione dell'assegno."}, true);
        riga(
            "then its number", [](DatiIncasso &d) { d.nrAssegno.clear(); },
            {"Indicare il numero dell'assegno."}, true);
        riga(
            "then where it was issued", [](DatiIncasso &d) { d.piazza.clear(); },
            {"Indicare il luogo di emissione dell'assegno (piazza)."}, true);
        riga("cash needs no cheque details; some amount must be typed", nulla,
             {"Inserire il valore incassato."});
        riga("the collection date before the codes",
             [](DatiIncasso &d) { d.contrassegno.importo = "5", d.dataIncasso.clear(); },
             {"indicare la data di incasso."});
        riga("a date left as the empty mask",
             [](DatiIncasso &d) { d.contrassegno.importo = "5", d.dataIncasso = "__/__/____"; },
             {"indicare la data di incasso."});
        riga("an amount without its code, in a later group",
             [](DatiIncasso &d) { d.contrassegno = gruppo("5", 1), d.assegnato.importo = "0"; },
             {"Selezionare il codice incasso."});
        riga("a text that is no amount needs no code",
             [](DatiIncasso &d) { d.contrassegno.importo = "cinque"; }, {""});
        riga("no waybill shown",
             [](DatiIncasso &d) { d.contrassegno = gruppo("5", 1), d.numeroLdv.clear(); },
             {"Cercare la lettera di vettura prima di salvare l'incasso."});
    }

    void controlla()
    {
        QFETCH(DatiIncasso, dati);
        QFETCH(QStringList, atteso);
        QCOMPARE(SalvataggioIncasso::controlla(dati), atteso.value(0));
    }

    // Which columns are written, in which order and with which values; a value that cannot go
    // into its statement stops the save before anything runs.
    void istruzioni_data()
    {
        QTest::addColumn<DatiIncasso>("dati");
        QTest::addColumn<QStringList>("atteso");
        riga(
            "every field: the sixteen statements, quote and backslash escaped",
            [](DatiIncasso &) {},
            {su("lefinc", "'03'"), su("leban", "'Banca d\\'Alba \\\\ Bra'"), su("letpin", "'2'"),
             su("lenras", "'A-0012'"), su("lepiaz", "'Alba'"), su("leimcs", "150.00"),
             su("leflic", "'3'"), su("leflsc", "1"), su("leimap", "12.50"), su("leflia", "'1'"),
             su("leflsa", "0"), su("leinpa", "19.90"), su("leflip", "'4'"), su("leflsp", "1"),
             su("ledtin", "'2015-03-15'"), su("leflco", "1")},
            true);
        riga("only the cash on delivery: the other groups' columns are left alone",
             [](DatiIncasso &d) { d.contrassegno = gruppo("-1,5", 1); },
             {su("lefinc", "'01'"), su("letpin", "'3'"), su("leimcs", "-1.50"), su("leflic", "'1'"),
              su("leflsc", "0"), su("ledtin", "'2015-03-05'"), su("leflco", "0")});
        riga("a one-letter branch, a text amount and an empty date skipped; 0 is written",
             [](DatiIncasso &d) {
                 d.filialeIncasso = "1", d.dataIncasso = "__/__/____";
                 d.contrassegno = gruppo("abc", 0), d.anticipata = gruppo("0", 2, true);
             },
             {su("letpin", "'3'"), su("leimap", "0.00"), su("leflia", "'2'"), su("leflsa", "1"),
              su("leflco", "0")});
        riga("a collection date that is no date",
             [](DatiIncasso &d) { d.dataIncasso = "31/02/2015"; }, {"ErroreDb 13"});
        riga("a waybill date that is no date", [](DatiIncasso &d) { d.dataLdv = "3/3/15"; },
             {"ErroreDb 13"});
        riga("a thousands separator makes no number",
             [](DatiIncasso &d) { d.assegnato = gruppo("1.234,56", 1); }, {"ErroreDb 13"});
        riga("an amount without a chosen code",
             [](DatiIncasso &d) { d.anticipata = gruppo("5", 1), d.anticipata.codice = -1; },
             {"ErroreDb 381"});
    }

    void istruzioni()
    {
        QFETCH(DatiIncasso, dati);
        QStringList elenco;
        if (const int numero = numeroErrore([&] { elenco = SalvataggioIncasso::istruzioni(dati); }))
            elenco = QStringList{QStringLiteral("ErroreDb %1").arg(numero)};
        QTEST(elenco, "atteso");
    }

    void tuttoONiente_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("tagliata");
        for (int k = 1; k <= 16; ++k)
            QTest::addRow("statement %d (%s) refused", k,
                          qPrintable(colonne.section(u',', k - 1, k - 1)))
                << k << false;
        for (int k : {1, 8, 16})
            QTest::addRow("connection cut in statement %d", k) << k << true;
    }

    // The server refuses the k-th statement of the save, or the connection is cut while it runs:
    // the error reaches the caller after statements 1 to k, and none of them stays. With the
    // fault gone the same entry saves on a new connection, into its one waybill.
    void tuttoONiente()
    {
        QFETCH(int, k);
        QFETCH(bool, tagliata);
        QVERIFY(m_db->caricaTesto(QString::fromUtf8(lettere)));
        ESEGUI_SQL(*m_db, QStringLiteral("CREATE TRIGGER guasto BEFORE UPDATE ON letve00f FOR EACH "
                                         "ROW BEGIN UPDATE conta SET n = n + 1; UPDATE tentativi "
                                         "SET n = n + 1; IF (SELECT n FROM conta) = %1 THEN %2; "
                                         "END IF; END")
                              .arg(k)
                              .arg(tagliata ? "SET @t = SLEEP(20)" : "SIGNAL SQLSTATE '45000'"));
        const QVariant prima =
            m_db->righe(QStringLiteral("CHECKSUM TABLE letve00f")).value(0).value(1);
        QProcess assassino;
        if (tagliata)
            assassino.start(QStringLiteral("mariadb"),
                            {"--no-defaults", "-S", m_db->socket(), "-u", "root", "--delimiter=//",
                             "-e", taglio, m_db->nome()});
        const int errore = salva();
        QVERIFY(!tagliata || (assassino.waitForFinished(30000) && assassino.exitCode() == 0));
        QVERIFY2((tagliata ? QList<int>{1927, 2006, 2013} : QList<int>{1644}).contains(errore),
                 qPrintable(QString::number(errore)));
        QCOMPARE(m_db->valore(QStringLiteral("SELECT CONCAT(t.n, '/', c.n) FROM tentativi t, "
                                             "conta c")),
                 QVariant(QStringLiteral("%1/0").arg(k)));
        QCOMPARE(m_db->righe(QStringLiteral("CHECKSUM TABLE letve00f")).value(0).value(1), prima);
        ESEGUI_SQL(*m_db, QStringLiteral("DROP TRIGGER guasto"));
        QCOMPARE(salva(), 0);
        QCOMPARE(valori(colonne, QStringLiteral("lefili='01' AND lenrlv='10001'")),
                 QStringLiteral("03|Banca d'Alba \\ Bra|2|A-0012|Alba|150.00|3|1|12.50|1|0|19.90|"
                                "4|1|2015-03-15|1"));
        QCOMPARE(valori(QStringLiteral("lefili, lenrlv, lefinc, leban, leimcs"),
                        QStringLiteral("lefili<>'01' OR lenrlv<>'10001'")),
                 QStringLiteral("01|10002|0.00 / 02|10001|0.00"));
    }
};

QTEST_GUILESS_MAIN(tst_SalvataggioIncasso)
#include "tst_salvataggioincasso.moc"
