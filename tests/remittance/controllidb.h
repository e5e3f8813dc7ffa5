#pragma once

// Database checks shared by the suites that post, cancel and inject faults: the remittance
// suites' waybills; results and whole tables as text, to prove that nothing but the intended rows
// changed; and a cut of a connection in the middle of a statement.

#include "support/databasediprova.h"

#include <QDate>
#include <QMap>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace ControlliDb {

// Customer 1001's January 2025 collections of each type, waiting for a remittance (the first
// seven); neighbours the selection leaves out (another year, February, another customer, sent,
// remitted); remittance 40 of 10/02/2025 by our cheque over two waybills, and a 40 of another
// day. The last number is 41.
inline const char *const datiRimessa = R"(
DELETE FROM letve00f; DELETE FROM contrassegni; DELETE FROM clien;
UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=41;
INSERT INTO clien (Codice, RagioneSociale) VALUES (1001, 'Elettroforniture Brambilla');
INSERT INTO letve00f (lefili, lenrlv, leanlv, lecodi, lecnss, leflic, ledtin) VALUES
  ('01','1001',2025,1001,120.50,'1','2025-01-10'), ('02','1002',2025,1001,80,'1','2025-01-31'),
  ('01','2001',2025,1001,15,'2','2025-01-05'), ('01','3001',2025,1001,10,'3','2025-01-01'),
  ('01','3002',2025,1001,20,'3','2025-01-15'), ('03','3003',2025,1001,30.50,'3','2025-01-20'),
  ('01','4001',2025,1001,400,'4','2025-01-11'), ('01','1001',2024,1001,99,'1','2024-01-10'),
  ('01','1005',2025,1001,50,'1','2025-02-01'), ('01','1008',2025,1002,75,'1','2025-01-14');
INSERT INTO letve00f (lefili, lenrlv, leanlv, lecodi, lecnss, leflic, ledtin, leflsc, lendvc,
                      ledtvc) VALUES
  ('01','1006',2025,1001,60,'1','2025-01-12',1,0,NULL),
  ('01','1007',2025,1001,70,'1','2025-01-13',0,7,'2024-12-31'),
  ('01','4040',2025,1001,11,'3','2025-01-05',1,40,'2025-02-10'),
  ('02','4041',2025,1001,12,'3','2025-01-05',1,40,'2025-02-10'),
  ('01','4042',2024,1001,13,'3','2024-01-05',1,40,'2024-02-10');
INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, Importo)
VALUES (40,'2025-02-10','A-1','Banca Sella',23), (40,'2025-02-10','A-1','Banca Sella',23),
  (40,'2024-02-10','Z-9','Banca Sella',13);
)";

// Each row of the result of `sql` as one text: values joined by `tra`, NULL as `nullo`,
// decimals as exact text, dates yyyy-MM-dd.
inline QStringList testi(DatabaseDiProva &db, const QString &sql,
                         const QString &tra = QStringLiteral("|"),
                         const QString &nullo = QStringLiteral("-"))
{
    QStringList testi;
    for (const QVariantList &riga : db.righe(sql)) {
        QStringList valori;
        for (const QVariant &valore : riga)
            valori << (valore.isNull() ? nullo : valore.toString());
        testi << valori.join(tra);
    }
    return testi;
}

// Every row of a table (those meeting `condizione`, when given) as one text: values joined by
// " ¦ ", NULL as "NULL"; sorted. Two calls compare equal only when the table holds the same rows,
// byte for byte.
inline QStringList righe(DatabaseDiProva &db, const QString &tabella,
                         const QString &condizione = QString())
{
    const QString dove = condizione.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condizione;
    QStringList risultato = testi(db, QStringLiteral("SELECT * FROM `%1`%2").arg(tabella, dove),
                                  QStringLiteral(" ¦ "), QStringLiteral("NULL"));
    risultato.sort();
    return risultato;
}

// Remittance `numero` of `data` in the database: "<waybills stamped and sent>|<records>|<last
// number>".
inline QString esitoRimessa(DatabaseDiProva &db, int numero = 42,
                            const QDate &data = QDate::currentDate())
{
    const QString sql = QStringLiteral(
        "SELECT CONCAT((SELECT COUNT(*) FROM letve00f WHERE lendvc=%1 AND ledtvc='%2' AND "
        "leflsc=1), '|', (SELECT COUNT(*) FROM contrassegni WHERE NrDistinta=%1 AND "
        "DataDistinta='%2'), '|', UltimoNumDistVersam) FROM zolvimacon_tabge00f");
    return db.valore(sql.arg(numero).arg(data.toString(Qt::ISODate))).toString();
}

// Every base table of the test database, by name.
inline QMap<QString, QStringList> istantanea(DatabaseDiProva &db)
{
    QMap<QString, QStringList> tabelle;
    for (const QString &nome : testi(db, QStringLiteral("SELECT TABLE_NAME FROM information_schema."
                                                        "TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
                                                        "TABLE_TYPE='BASE TABLE'")))
        tabelle.insert(nome, righe(db, nome));
    return tabelle;
}

// The rows that differ between two snapshots, "-<table>: <row>" for a row gone and
// "+<table>: <row>" for a row come, table by table: empty when nothing changed.
inline QStringList differenze(const QMap<QString, QStringList> &prima,
                              const QMap<QString, QStringList> &dopo)
{
    QStringList diverse;
    QStringList nomi = prima.keys() + dopo.keys();
    nomi.removeDuplicates();
    nomi.sort();
    for (const QString &nome : std::as_const(nomi)) {
        for (const QString &riga : prima.value(nome))
            if (!dopo.value(nome).contains(riga))
                diverse << QLatin1Char('-') + nome + QStringLiteral(": ") + riga;
        for (const QString &riga : dopo.value(nome))
            if (!prima.value(nome).contains(riga))
                diverse << QLatin1Char('+') + nome + QStringLiteral(": ") + riga;
    }
    return diverse;
}

// The names of the work tables ("...Rimessa") left in the test database.
inline QStringList tabelleDiLavoro(DatabaseDiProva &db)
{
    return testi(db, QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                    "TABLE_SCHEMA=DATABASE() AND TABLE_NAME LIKE '%rimessa'"));
}

// What a trigger runs where a test means to cut the connection: it sleeps until the cut.
inline QString attesaDelTaglio()
{
    return QStringLiteral("SET @taglio = SLEEP(20)");
}

// Kills, from a mariadb client of its own, the connection of `database` that sleeps in a
// trigger's attesaDelTaglio() (the server shows it in the state "User sleep"), looking for it
// about five seconds. The component is blocked in that statement meanwhile: this is how a test
// cuts a connection in the middle of an action, as a failing network or an administrator would.
class TaglioConnessione
{
public:
    TaglioConnessione(const QString &socket, const QString &database)
    {
        m_client.start(QStringLiteral("mariadb"),
                       QStringList{"--no-defaults", "--delimiter=//", "-S", socket, "-u", "root",
                                   database, "-e", QStringLiteral(R"(BEGIN NOT ATOMIC
DECLARE i INT DEFAULT 0; WHILE i < 500 DO
  SET @id = (SELECT MAX(ID) FROM information_schema.PROCESSLIST
             WHERE DB=DATABASE() AND STATE='User sleep' AND ID<>CONNECTION_ID());
  IF @id IS NULL THEN DO SLEEP(0.01); SET i = i + 1;
  ELSE EXECUTE IMMEDIATE CONCAT('KILL ', @id); SELECT 'tagliata'; SET i = 500; END IF;
END WHILE; END)")});
        m_client.waitForStarted();
    }
    ~TaglioConnessione() { m_client.waitForFinished(10000); }

    // Whether the connection was cut; waits for the client to end.
    bool tagliata() const
    {
        m_client.waitForFinished(10000);
        m_uscita += m_client.readAllStandardOutput();
        return m_uscita.contains("tagliata");
    }

private:
    mutable QProcess m_client;
    mutable QByteArray m_uscita;
};

} // namespace ControlliDb
