#include "search/modellopaginato.h"

#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/istruzioni_ricerca.h"
#include "support/databasediprova.h"

#include <QDate>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

#include <memory>

// The paged grid model against the real server: lists that end before, on and after a page
// boundary, with long runs of equal order values (and NULLs) across the boundaries, in the three
// orders of the dialog's lists. Every row must come exactly once, in the order of a statement
// that sorts the whole list by the waybill's key as well.
class tst_ModelloPaginato : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void ogniRigaUnaVolta_data();
    void ogniRigaUnaVolta();
    void listaVuota();
    void listaSenzaOrdine();
    void rifiutoAllApertura();
    void rifiutoDuranteLoScorrimento();

private:
    // Customer 700 gets `righe` waybills in branch 01: references from a handful of values (one
    // in seven NULL), reference dates from three days (one in eleven NULL), waybill dates from
    // five days of the year (one in thirteen NULL), numbers that come again as numbers within a
    // year ("7" and "07") and as the same text in the next year with the same reference and
    // reference date, so only the year tells those two rows apart.
    void generaSpedizioni(int righe);
    // Every row of `modello`, reading page after page as a grid scrolling down would.
    static QList<QStringList> leggiScorrendo(ModelloPaginato &modello, int primaColonna,
                                             int secondaColonna);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<Connessione> m_connessione;
};

namespace {

const int pagina = ModelloPaginato::righePerPagina;

QString testo(const QVariant &valore)
{
    if (valore.isNull())
        return QStringLiteral("NULL");
    if (valore.typeId() == QMetaType::QDate)
        return valore.toDate().toString(Qt::ISODate);
    return valore.toString();
}

} // namespace

Q_DECLARE_METATYPE(IstruzioniRicerca::ListaRicerca)

void tst_ModelloPaginato::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    m_connessione = std::make_unique<Connessione>(m_db->testoConnessione());
    m_connessione->apri();
}

void tst_ModelloPaginato::cleanup()
{
    QVERIFY(m_db->esegui(QStringLiteral("DELETE FROM letve00f WHERE lecodi=700")));
}

void tst_ModelloPaginato::generaSpedizioni(int righe)
{
    if (righe == 0)
        return;
    QVERIFY(m_db->esegui(
        QStringLiteral(
            "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, lecnss) "
            "SELECT '01', CONCAT(IF((seq DIV 400) MOD 2 = 1, '0', ''), m), 2015 + seq DIV 800, "
            "IF(m MOD 13 = 0, NULL, MAKEDATE(2015 + seq DIV 800, 1 + m MOD 5)), "
            "IF(m MOD 7 = 0, NULL, CONCAT('R-', m MOD 5)), "
            "IF(m MOD 11 = 0, NULL, '2020-01-01' + INTERVAL (m MOD 3) DAY), 700, 1 "
            "FROM (SELECT seq, seq MOD 400 AS m FROM seq_1_to_%1) AS n")
            .arg(righe)));
}

QList<QStringList> tst_ModelloPaginato::leggiScorrendo(ModelloPaginato &modello, int primaColonna,
                                                       int secondaColonna)
{
    while (modello.canFetchMore(QModelIndex()))
        modello.fetchMore(QModelIndex());
    QList<QStringList> righe;
    for (int riga = 0; riga < modello.rowCount(); ++riga)
        righe << QStringList{testo(modello.index(riga, primaColonna).data()),
                             testo(modello.index(riga, secondaColonna).data())};
    return righe;
}

void tst_ModelloPaginato::ogniRigaUnaVolta_data()
{
    QTest::addColumn<int>("righe");
    QTest::addColumn<IstruzioniRicerca::ListaRicerca>("lista");
    // The waybill number and date as the list shows them, and the same list in full order.
    QTest::addColumn<int>("colonnaNumero");
    QTest::addColumn<int>("colonnaData");
    QTest::addColumn<QString>("riferimento");

    const QString dove = QStringLiteral(" FROM letve00f WHERE lecodi=700 AND lefili='01'");
    const QString contrassegni = QStringLiteral("SELECT lenrlv, ledtlv") + dove +
                                 QStringLiteral(" AND lecnss > 0 ORDER BY lerifd DESC, "
                                                "lerife DESC, lenrlv DESC, leanlv DESC");
    const auto modo12 = [&](const char *nome, int righe) {
        QTest::newRow(nome) << righe << IstruzioniRicerca::contrassegni("700", "01", QString()) << 9
                            << 10 << contrassegni;
    };
    modo12("collections, one row", 1);
    modo12("collections, one short of a page", pagina - 1);
    modo12("collections, exactly one page", pagina);
    modo12("collections, one over a page", pagina + 1);
    modo12("collections, several pages of ties", 5 * pagina + 17);
    QTest::newRow("collections from Visualizza with a reference")
        << 3 * pagina << IstruzioniRicerca::contrassegniValore("700", "R-3", "01") << 9 << 10
        << QStringLiteral("SELECT lenrlv, ledtlv") + dove +
               QStringLiteral(" AND lecnss > 0 AND lerife LIKE '%R-3%' ORDER BY lerifd DESC, "
                              "lerife DESC, lenrlv DESC, leanlv DESC");
    QTest::newRow("references from one on, NULL waybill dates among equal references")
        << 3 * pagina + 5 << IstruzioniRicerca::riferimentiDa("700", "R-1", "", "01") << 0 << 5
        << QStringLiteral("SELECT lenrlv, ledtlv") + dove +
               QStringLiteral(" AND lerife >= 'R-1' ORDER BY lerife, ledtlv, lenrlv, leanlv");
    QTest::newRow("numbers as numbers, \"7\" and \"07\" in one year")
        << 4 * pagina << IstruzioniRicerca::numeriDaValore("700", "0", "", "01") << 0 << 1
        << QStringLiteral("SELECT lenrlv, ledtlv") + dove +
               QStringLiteral(" ORDER BY CAST(lenrlv AS UNSIGNED), leanlv, lenrlv");
}

void tst_ModelloPaginato::ogniRigaUnaVolta()
{
    QFETCH(int, righe);
    QFETCH(IstruzioniRicerca::ListaRicerca, lista);
    QFETCH(int, colonnaNumero);
    QFETCH(int, colonnaData);
    QFETCH(QString, riferimento);
    generaSpedizioni(righe);

    QList<QStringList> attese;
    for (const QVariantList &riga : m_db->righe(riferimento))
        attese << QStringList{testo(riga[0]), testo(riga[1])};
    QVERIFY(!attese.isEmpty());

    ModelloPaginato modello;
    QSignalSpy inserite(&modello, &QAbstractItemModel::rowsInserted);
    QVERIFY(inserite.isValid());
    modello.apri(m_connessione->database(), lista);
    QCOMPARE(modello.rowCount(), qMin(pagina, int(attese.size())));
    QCOMPARE(modello.canFetchMore(QModelIndex()), int(attese.size()) >= pagina);

    QCOMPARE(leggiScorrendo(modello, colonnaNumero, colonnaData), attese);
    QCOMPARE(modello.canFetchMore(QModelIndex()), false);
    QCOMPARE(inserite.size(), (int(attese.size()) - 1) / pagina);
    QVERIFY(!modello.lastError().isValid());
}

// No rows: the headings still come from the statement, and there is nothing more to read.
void tst_ModelloPaginato::listaVuota()
{
    ModelloPaginato modello;
    modello.apri(m_connessione->database(),
                 IstruzioniRicerca::contrassegni("700", "01", QString()));
    QCOMPARE(modello.rowCount(), 0);
    QCOMPARE(modello.canFetchMore(QModelIndex()), false);
    QCOMPARE(modello.columnCount(), 11);
    QCOMPARE(modello.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nr_Rif"));
    QCOMPARE(modello.headerData(10, Qt::Horizontal).toString(), QStringLiteral("Data_LDV"));
}

// A list without an order of its own (the held shipments) comes whole in one read, and Ctrl+End's
// read of the rest of an ordered list brings every remaining row at once.
void tst_ModelloPaginato::listaSenzaOrdine()
{
    generaSpedizioni(2 * pagina + 3);
    ModelloPaginato modello;
    modello.apri(m_connessione->database(), {QStringLiteral("select lenrlv, leanlv"),
                                             QStringLiteral(" from letve00f where lecodi=700"),
                                             {}});
    QCOMPARE(modello.rowCount(), 2 * pagina + 3);
    QCOMPARE(modello.columnCount(), 2);
}

// A refused statement throws the server's error, as the dialog's loading reports it, and the
// list shown before stays.
void tst_ModelloPaginato::rifiutoAllApertura()
{
    generaSpedizioni(3);
    ModelloPaginato modello;
    const IstruzioniRicerca::ListaRicerca contrassegni =
        IstruzioniRicerca::contrassegni("700", "01", QString());
    modello.apri(m_connessione->database(), contrassegni);
    QCOMPARE(modello.rowCount(), 3);
    try {
        modello.apri(m_connessione->database(),
                     {contrassegni.campi, QStringLiteral(" from manca where lecodi=700"),
                      contrassegni.ordine});
        QFAIL("a statement on a missing table was accepted");
    } catch (const ErroreDb &errore) {
        QCOMPARE(errore.numero(), 1146);
    }
    QCOMPARE(modello.rowCount(), 3);
    QCOMPARE(modello.columnCount(), 11);
}

// A page refused while the grid scrolls cannot be thrown: the model reports it once, keeps the
// rows it has and stops asking for more.
void tst_ModelloPaginato::rifiutoDuranteLoScorrimento()
{
    generaSpedizioni(pagina + 10);
    QVERIFY(m_db->esegui(QStringLiteral("CREATE TABLE copia_letve LIKE letve00f")));
    QVERIFY(m_db->esegui(QStringLiteral("INSERT INTO copia_letve SELECT * FROM letve00f")));
    ModelloPaginato modello;
    QSignalSpy fallita(&modello, &ModelloPaginato::letturaFallita);
    QVERIFY(fallita.isValid());
    modello.apri(m_connessione->database(),
                 {QStringLiteral("select lenrlv, ledtlv"),
                  QStringLiteral(" from copia_letve where lecodi=700"),
                  {{{QStringLiteral("lenrlv")}}, {{QStringLiteral("leanlv")}}}});
    QCOMPARE(modello.rowCount(), pagina);
    QVERIFY(m_db->esegui(QStringLiteral("DROP TABLE copia_letve")));

    modello.fetchMore(QModelIndex());
    QCOMPARE(fallita.size(), 1);
    QCOMPARE(fallita.first().first().value<QSqlError>().nativeErrorCode(), QStringLiteral("1146"));
    QCOMPARE(modello.lastError().nativeErrorCode(), QStringLiteral("1146"));
    QCOMPARE(modello.rowCount(), pagina);
    QCOMPARE(modello.canFetchMore(QModelIndex()), false);
}

QTEST_GUILESS_MAIN(tst_ModelloPaginato)
#include "tst_modellopaginato.moc"
