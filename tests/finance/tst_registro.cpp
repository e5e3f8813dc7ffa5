#include "collection/salvataggioincasso.h"
#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/registro.h"
#include "finance/sospesi.h"
#include "remittance/annullamentorimessa.h"
#include "remittance/registrazionerimessa.h"
#include "support/databasediprova.h"
#include "support/errori.h"

#include <QTest>

#include <memory>

namespace {

const QString modello =
    QStringLiteral("CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) SELECT * FROM ? LIMIT 0");
const QString righeRegistro = QStringLiteral(
    "SELECT Azione, CONCAT_WS('/', lefili, lenrlv, leanlv, lecodi), IFNULL(NrDistinta, '-'), "
    "IFNULL(Colonna, '-'), IFNULL(Prima, 'NULL'), IFNULL(Dopo, 'NULL'), Postazione, UtenteDb, "
    "UtenteSistema FROM registrocontrassegni WHERE Id > %1 ORDER BY Id");

// Customer 1005's cash collections of November 2026: not remitted in the demo data.
RichiestaRimessa novembre()
{
    return {QStringLiteral("1005"), 1, QDate(2026, 11, 1), QDate(2026, 11, 30), {}};
}

} // namespace

class tst_Registro : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void salvataggio();
    void rimessa();
    void rifiuto_data();
    void rifiuto();
    void senzaTabella();
    void prospetto_data();
    void prospetto();
    void fasce_data();
    void fasce();

private:
    QStringList righeDopo(qlonglong id);
    qlonglong ultimoId()
    {
        return m_db->valore(QStringLiteral("SELECT IFNULL(MAX(Id), 0) FROM registrocontrassegni"))
            .toLongLong();
    }
    DatiIncasso incasso(const QString &importo);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<Connessione> m_connessione;
    QString m_chi; // "<station>|root@localhost|<user>"
};

void tst_Registro::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaDemo());
    m_connessione = std::make_unique<Connessione>(m_db->testoConnessione());
    m_connessione->apri();
    const Registro::Autore autore = Registro::autoreLocale();
    m_chi = autore.postazione + "|root@localhost|" + autore.utenteSistema;
}

void tst_Registro::cleanup()
{
    QVERIFY(m_db->esegui(QStringLiteral("DROP TRIGGER IF EXISTS guasto")));
}

QStringList tst_Registro::righeDopo(qlonglong id)
{
    QStringList righe;
    for (const QVariantList &riga : m_db->righe(righeRegistro.arg(id))) {
        QStringList valori;
        for (const QVariant &valore : riga)
            valori << valore.toString();
        righe << valori.join(QLatin1Char('|'));
    }
    return righe;
}

// Waybill 01/10021 of 2025, due 660.24 and never collected in the demo data.
DatiIncasso tst_Registro::incasso(const QString &importo)
{
    DatiIncasso d;
    d.numeroLdv = QStringLiteral("10021");
    d.filiale = QStringLiteral("01");
    d.dataLdv = QStringLiteral("08/01/2025");
    d.filialeIncasso = QStringLiteral("02");
    d.testoIncassoCon = QStringLiteral("Contanti");
    d.incassoCon = 3;
    d.contrassegno = {importo, QStringLiteral("In Cassa"), 1, false};
    d.dataIncasso = QStringLiteral("01/12/2026");
    return d;
}

// Exactly the columns that changed, with before and after; the same save again changes nothing.
void tst_Registro::salvataggio()
{
    QCOMPARE(m_db->valore("SELECT CONCAT_WS('/', lecnss, leimcs, IFNULL(lefinc, '-')) FROM "
                          "letve00f WHERE lenrlv='10021' AND lefili='01' AND leanlv=2025")
                 .toString(),
             QStringLiteral("660.24/0.00/-"));
    const qlonglong id = ultimoId();
    SalvataggioIncasso::salva(incasso(QStringLiteral("660,24")), *m_connessione);
    const QString ldv = QStringLiteral("incasso|01/10021/2025/1002|-|");
    QCOMPARE(righeDopo(id),
             (QStringList{ldv + "lefinc|NULL|02|" + m_chi, ldv + "letpin|NULL|3|" + m_chi,
                          ldv + "leimcs|0.00|660.24|" + m_chi, ldv + "leflic|0|1|" + m_chi,
                          ldv + "ledtin|NULL|2026-12-01|" + m_chi}));
    SalvataggioIncasso::salva(incasso(QStringLiteral("660,24")), *m_connessione);
    QCOMPARE(righeDopo(id).size(), 5);
    SalvataggioIncasso::salva(incasso(QStringLiteral("1000")), *m_connessione);
    QCOMPARE(righeDopo(id).mid(5), QStringList{ldv + "leimcs|660.24|1000.00|" + m_chi});
}

// A provisional letter, the posting and its cancellation: one row per waybill each.
void tst_Registro::rimessa()
{
    RegistrazioneRimessa provvisoria(*m_connessione, novembre());
    QVERIFY(provvisoria.seleziona());
    const int n = provvisoria.selezionate();
    qlonglong id = ultimoId();
    provvisoria.registraLetteraProvvisoria();
    QStringList righe = righeDopo(id);
    QCOMPARE(righe.size(), n);
    QVERIFY(righe.first().startsWith("rimessa provvisoria|01/"));
    QVERIFY(righe.first().endsWith("/2026/1005|-|-|NULL|NULL|" + m_chi));

    id = ultimoId();
    RegistrazioneRimessa definitiva(*m_connessione, novembre());
    QVERIFY(definitiva.seleziona());
    definitiva.registra({QStringLiteral("TSTREGRimessa"), modello, Registro::nomeComputer()});
    definitiva.liberaTabellaLavoro();
    const QString numero = definitiva.numero();
    const QString atteso = "/2026/1005|" + numero + "|-|NULL|NULL|" + m_chi;
    righe = righeDopo(id);
    QCOMPARE(righe.size(), n);
    QCOMPARE(righe
                 .filter(QRegularExpression("^rimessa\\|01/\\d+" +
                                            QRegularExpression::escape(atteso) + "$"))
                 .size(),
             n);

    id = ultimoId();
    AnnullamentoRimessa::annulla(numero, definitiva.data(), *m_connessione);
    QCOMPARE(righeDopo(id)
                 .filter(QRegularExpression("^annullamento\\|01/\\d+" +
                                            QRegularExpression::escape(atteso) + "$"))
                 .size(),
             n);
}

void tst_Registro::rifiuto_data()
{
    QTest::addColumn<QString>("azione");
    QTest::newRow("save") << "incasso";
    QTest::newRow("posting") << "rimessa";
    QTest::newRow("cancellation") << "annullamento";
}

// The server refuses every change of a waybill: the action fails and leaves no audit row.
void tst_Registro::rifiuto()
{
    QFETCH(QString, azione);
    const QString ultima =
        m_db->valore("SELECT CONCAT_WS(',', MAX(lendvc), DATE_FORMAT(MAX(ledtvc), '%d/%m/%Y')) "
                     "FROM letve00f WHERE lendvc = (SELECT MAX(lendvc) FROM letve00f)")
            .toString();
    ESEGUI_SQL(*m_db, "CREATE TRIGGER guasto BEFORE UPDATE ON letve00f FOR EACH ROW "
                      "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'rifiutato'");
    const qlonglong id = ultimoId();
    const int errore = numeroErrore([&] {
        if (azione == "incasso") {
            SalvataggioIncasso::salva(incasso(QStringLiteral("5")), *m_connessione);
        } else if (azione == "rimessa") {
            RegistrazioneRimessa rimessa(*m_connessione, novembre());
            QVERIFY(rimessa.seleziona());
            const auto libera = qScopeGuard([&] { rimessa.liberaTabellaLavoro(); });
            rimessa.registra({QStringLiteral("TSTREGRimessa"), modello, Registro::nomeComputer()});
        } else {
            AnnullamentoRimessa::annulla(ultima.section(',', 0, 0),
                                         QDate::fromString(ultima.section(',', 1), "dd/MM/yyyy"),
                                         *m_connessione);
        }
    });
    QCOMPARE(errore, 1644);
    QCOMPARE(righeDopo(id), QStringList());
}

// Without the table the writes go on unrecorded; db/registro.sql makes the table of the schema.
void tst_Registro::senzaTabella()
{
    const auto creazione = [this] {
        return m_db->righe(QStringLiteral("SHOW CREATE TABLE registrocontrassegni"))
            .value(0)
            .value(1)
            .toString()
            .remove(QRegularExpression(QStringLiteral(" AUTO_INCREMENT=\\d+")));
    };
    const QString schema = creazione();
    ESEGUI_SQL(*m_db,
               QStringLiteral("RENAME TABLE registrocontrassegni TO registro_messo_da_parte"));
    const auto ripristina = qScopeGuard([&] {
        m_db->esegui(
            QStringLiteral("RENAME TABLE registro_messo_da_parte TO registrocontrassegni"));
        Registro::presente(*m_connessione, true);
    });
    QVERIFY(!Registro::presente(*m_connessione, true));
    SalvataggioIncasso::salva(incasso(QStringLiteral("7")), *m_connessione);
    QCOMPARE(
        m_db->valore("SELECT leimcs FROM letve00f WHERE lenrlv='10021' AND leanlv=2025").toString(),
        QStringLiteral("7.00"));

    QVERIFY(m_db->caricaFile(DatabaseDiProva::cartellaSorgenti() + "/db/registro.sql"));
    QVERIFY(m_db->caricaFile(DatabaseDiProva::cartellaSorgenti() + "/db/registro.sql"));
    const QString script = creazione();
    ESEGUI_SQL(*m_db, QStringLiteral("DROP TABLE registrocontrassegni"));
    QCOMPARE(script, schema);
}

void tst_Registro::prospetto_data()
{
    QTest::addColumn<QString>("filiale");
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QDate>("data");
    QTest::newRow("all, end of the demo") << ""
                                          << "" << QDate(2026, 11, 30);
    QTest::newRow("branch 03") << "03"
                               << "" << QDate(2026, 11, 30);
    QTest::newRow("one customer") << ""
                                  << "1005" << QDate(2026, 11, 30);
    QTest::newRow("mid-October: later remittances still waiting") << ""
                                                                  << "" << QDate(2026, 10, 15);
}

// The report equals the same figures computed waybill by waybill, without the UNION and the
// index, by the plain definitions.
void tst_Registro::prospetto()
{
    QFETCH(QString, filiale);
    QFETCH(QString, cliente);
    QFETCH(QDate, data);
    QStringList calcolato;
    for (const RigaSospesi &r : Sospesi::leggi({filiale, cliente, data}, *m_connessione)) {
        QStringList v{r.cliente, QString::number(r.nrDaIncassare), r.daIncassare.perSql(),
                      r.daIncassareDal.toString(Qt::ISODate)};
        for (int i = 0; i < 4; ++i)
            v << QString::number(r.nr[i]) << r.importo[i].perSql();
        calcolato << (v << r.daRimettere.perSql() << r.incassatoDal.toString(Qt::ISODate))
                         .join(QLatin1Char('|'));
    }
    QString bande;
    for (auto [da, a] : {std::pair{0, 7}, {8, 15}, {16, 30}, {31, 99999}})
        bande += QStringLiteral(", SUM(inc AND eta BETWEEN %1 AND %2), "
                                "SUM(IF(inc AND eta BETWEEN %1 AND %2, leimcs, 0))")
                     .arg(da)
                     .arg(a);
    QStringList atteso;
    for (const QVariantList &riga : m_db->righe(
             QStringLiteral("SELECT CONCAT_WS('|', lecodi, SUM(NOT inc), SUM(IF(inc, 0, lecnss)), "
                            "IFNULL(MIN(IF(inc, NULL, ledtlv)), '')%1, SUM(IF(inc, leimcs, 0)), "
                            "IFNULL(MIN(IF(inc, ledtin, NULL)), '')) FROM (SELECT l.*, leimcs > 0 "
                            "AND ledtin <= '%2' AS inc, DATEDIFF('%2', ledtin) AS eta FROM "
                            "letve00f l WHERE lecnss > 0 AND ledtlv <= '%2' AND NOT (lendvc <> 0 "
                            "AND ledtvc <= '%2') AND NOT (lendvc = 0 AND leflsc = 1) AND ('%3' = "
                            "'' OR lefili = '%3') AND ('%4' = '' OR lecodi = '%4')) t GROUP BY "
                            "lecodi ORDER BY lecodi")
                 .arg(bande, data.toString(Qt::ISODate), filiale, cliente)))
        atteso << riga.value(0).toString();
    QVERIFY(atteso.size() > 0);
    QCOMPARE(calcolato, atteso);
}

void tst_Registro::fasce_data()
{
    QTest::addColumn<int>("giorni");
    QTest::addColumn<int>("fascia");
    for (auto [giorni, fascia] :
         {std::pair{0, 0}, {7, 0}, {8, 1}, {15, 1}, {16, 2}, {30, 2}, {31, 3}, {400, 3}})
        QTest::addRow("%d days", giorni) << giorni << fascia;
}

// A collection's age, counted from its date to the report's date, falls in one band.
void tst_Registro::fasce()
{
    QFETCH(int, giorni);
    QFETCH(int, fascia);
    const QDate data(2026, 12, 6);
    ESEGUI_SQL(*m_db, QStringLiteral("DELETE FROM letve00f WHERE lecodi=4242"));
    ESEGUI_SQL(
        *m_db,
        QStringLiteral(
            "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lecodi, lecnss, leimcs, ledtin) "
            "VALUES ('01', '99', 2026, '2025-01-01', 4242, 10, 9.5, '%1')")
            .arg(data.addDays(-giorni).toString(Qt::ISODate)));
    const QList<RigaSospesi> righe =
        Sospesi::leggi({{}, QStringLiteral("4242"), data}, *m_connessione);
    QCOMPARE(righe.size(), 1);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(righe[0].nr[i], i == fascia ? 1 : 0);
        QCOMPARE(righe[0].importo[i].centesimi(), i == fascia ? 950 : 0);
    }
}

QTEST_GUILESS_MAIN(tst_Registro)
#include "tst_registro.moc"
