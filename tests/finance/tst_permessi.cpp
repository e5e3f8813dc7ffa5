#include "collection/salvataggioincasso.h"
#include "data/connessione.h"
#include "data/recordset.h"
#include "data/registro.h"
#include "finance/sospesi.h"
#include "remittance/annullamentorimessa.h"
#include "remittance/registrazionerimessa.h"
#include "support/databasediprova.h"
#include "support/errori.h"

#include <QCoreApplication>
#include <QTest>

#include <memory>

// The component at work as an operator whose account has only the role of db/permessi.sql.
class tst_Permessi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void salvataggioRimessaAnnullamento();
    void rifiutatoCioCheNonServe();

private:
    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<Connessione> m_operatore;
    QString m_utente;
};

void tst_Permessi::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    QVERIFY(m_db->caricaDemo());
    QVERIFY(m_db->caricaFile(DatabaseDiProva::cartellaSorgenti() + "/db/permessi.sql"));
    m_utente = QStringLiteral("op%1").arg(QCoreApplication::applicationPid());
    const QString account = "'" + m_utente + "'@'localhost'";
    ESEGUI_SQL(*m_db, "CREATE USER " + account + " IDENTIFIED BY 'segreta'");
    ESEGUI_SQL(*m_db, "GRANT operatori_contrassegni TO " + account);
    ESEGUI_SQL(*m_db, "SET DEFAULT ROLE operatori_contrassegni FOR " + account);
    ESEGUI_SQL(*m_db, "GRANT SELECT, INSERT, UPDATE, CREATE, DROP, ALTER, INDEX ON "
                      "TSTPERMRimessa TO operatori_contrassegni");
    m_operatore =
        std::make_unique<Connessione>(QStringLiteral("Socket=%1;Database=%2;Uid=%3;Pwd=segreta;")
                                          .arg(m_db->socket(), m_db->nome(), m_utente));
    m_operatore->apri();
}

void tst_Permessi::cleanupTestCase()
{
    m_operatore.reset();
    m_db->esegui("DROP USER IF EXISTS '" + m_utente + "'@'localhost'");
}

// Each write goes through with its audit rows, and the two reports read.
void tst_Permessi::salvataggioRimessaAnnullamento()
{
    DatiIncasso d;
    d.numeroLdv = QStringLiteral("10021");
    d.filiale = QStringLiteral("01");
    d.dataLdv = QStringLiteral("08/01/2025");
    d.filialeIncasso = QStringLiteral("01");
    d.testoIncassoCon = QStringLiteral("Contanti");
    d.incassoCon = 3;
    d.contrassegno = {QStringLiteral("660,24"), QStringLiteral("In Cassa"), 1, false};
    d.dataIncasso = QStringLiteral("01/12/2026");
    SalvataggioIncasso::salva(d, *m_operatore);

    RegistrazioneRimessa rimessa(
        *m_operatore, {QStringLiteral("1002"), 1, QDate(2026, 12, 1), QDate(2026, 12, 1), {}});
    QVERIFY(rimessa.seleziona());
    rimessa.registra({QStringLiteral("TSTPERMRimessa"),
                      QStringLiteral("CREATE TABLE ? (PRIMARY KEY (lefili, lenrlv, leanlv)) "
                                     "SELECT * FROM ? LIMIT 0"),
                      Registro::nomeComputer()});
    rimessa.liberaTabellaLavoro();
    AnnullamentoRimessa::annulla(rimessa.numero(), rimessa.data(), *m_operatore);

    QCOMPARE(m_db->righe("SELECT Azione, COUNT(*) FROM registrocontrassegni WHERE UtenteDb='" +
                         m_utente + "@localhost' GROUP BY Azione ORDER BY Azione"),
             (QList<QVariantList>{{"annullamento", 1}, {"incasso", 5}, {"rimessa", 1}}));
    QCOMPARE(m_db->valore("SELECT CONCAT(leimcs, lendvc, leflsc) FROM letve00f WHERE "
                          "lenrlv='10021' AND leanlv=2025")
                 .toString(),
             QStringLiteral("660.2400"));

    QVERIFY(!Sospesi::leggi({{}, {}, QDate(2026, 12, 1)}, *m_operatore).isEmpty());
    Recordset storico;
    storico.apri(IstruzioniRegistro::storico({QStringLiteral("10021"), {}, {}, {}, {}, 10}),
                 *m_operatore);
    QCOMPARE(storico.numeroRighe(), 7);
}

// Amounts due, the audit rows and other tables are out of an operator's reach.
void tst_Permessi::rifiutatoCioCheNonServe()
{
    for (const char *istruzione :
         {"UPDATE letve00f SET lecnss=0 WHERE lenrlv='10021'", "DELETE FROM registrocontrassegni",
          "UPDATE registrocontrassegni SET Dopo='x'", "DELETE FROM letve00f WHERE lenrlv='10021'",
          "UPDATE clien SET RagioneSociale='x'", "CREATE TABLE altra (a INT)"})
        QVERIFY2(QList<int>({1142, 1143}).contains(numeroErrore([&] {
            m_operatore->esegui(QLatin1String(istruzione));
        })),
                 istruzione);
}

QTEST_GUILESS_MAIN(tst_Permessi)
#include "tst_permessi.moc"
