#include "data/istruzioni_registro.h"

#include "data/erroredb.h"
#include "data/sql.h"

namespace IstruzioniRegistro {

namespace {

const QString colonneRegistro = QStringLiteral(
    "insert into registrocontrassegni (Quando, Postazione, UtenteDb, UtenteSistema, Azione, "
    "lefili, lenrlv, leanlv, lecodi, NrDistinta, DataDistinta, Colonna, Prima, Dopo) ");

QString quotato(const QString &valore)
{
    return QLatin1Char('\'') + Sql::testo(valore) + QLatin1Char('\'');
}

QString quotatoONull(const QVariant &valore)
{
    return valore.isNull() ? QStringLiteral("NULL") : quotato(valore.toString());
}

QString interoONull(const QString &valore)
{
    return valore.isEmpty() ? QStringLiteral("NULL") : Sql::intero(valore);
}

// When, where and who, as the first five values of a row.
QString testaRiga(const Autore &autore, Azione azione)
{
    return QStringLiteral("NOW(3), ") + quotato(autore.postazione) +
           QStringLiteral(", CURRENT_USER(), ") + quotato(autore.utenteSistema) +
           QStringLiteral(", ") + quotato(nomeAzione(azione));
}

QString chiaveLdv(const Istruzioni::ChiaveRimessa &ldv)
{
    return quotato(ldv.filiale) + QStringLiteral(", ") + quotato(ldv.numero) +
           QStringLiteral(", ") + Sql::intero(ldv.anno);
}

QString dataQuotata(const QDate &data)
{
    return QLatin1Char('\'') + Sql::data(data) + QLatin1Char('\'');
}

// The collection's age band as of `d`: 0 when not collected by then, else 1 to 4.
QString fascia(const QString &d)
{
    QString casi =
        QStringLiteral("CASE WHEN leimcs > 0 AND ledtin <= ") + d + QStringLiteral(" THEN CASE");
    for (int i = 0; i < 3; ++i)
        casi += QStringLiteral(" WHEN DATEDIFF(%1, ledtin) <= %2 THEN %3")
                    .arg(d)
                    .arg(limitiFasce[i])
                    .arg(i + 1);
    return casi + QStringLiteral(" ELSE 4 END ELSE 0 END");
}

// The waybills waiting as of the filter's date, with `colonne`: those not remitted (through
// ix_letve_sospesi, the customer's alone when one is given) and those remitted after the date
// (through ix_letve_data_distinta), as two selections of one UNION ALL.
QString selezioneSospese(const QString &colonne, const FiltroSospesi &f)
{
    const QString d = dataQuotata(f.data);
    QString comuni = QStringLiteral(" AND lecnss > 0 AND ledtlv <= ") + d;
    if (!f.cliente.isEmpty())
        comuni += QStringLiteral(" AND lecodi=") + Sql::intero(f.cliente);
    if (!f.filiale.isEmpty())
        comuni += QStringLiteral(" AND lefili=") + quotato(f.filiale);
    const QString testa = QStringLiteral("SELECT ") + colonne + QStringLiteral(", ") + fascia(d) +
                          QStringLiteral(" AS Fascia FROM letve00f WHERE ");
    return testa + QStringLiteral("lendvc=0 AND leflsc=0") + comuni +
           QStringLiteral(" UNION ALL ") + testa + QStringLiteral("ledtvc > ") + d +
           QStringLiteral(" AND lendvc<>0") + comuni;
}

} // namespace

QString nomeAzione(Azione azione)
{
    switch (azione) {
    case Azione::Incasso:
        return QStringLiteral("incasso");
    case Azione::Rimessa:
        return QStringLiteral("rimessa");
    case Azione::RimessaProvvisoria:
        return QStringLiteral("rimessa provvisoria");
    case Azione::Annullamento:
        break;
    }
    return QStringLiteral("annullamento");
}

QString presenza()
{
    return QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE "
                          "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='registrocontrassegni';");
}

const QStringList &colonneIncasso()
{
    static const QStringList colonne{
        QStringLiteral("lefinc"), QStringLiteral("leban"),  QStringLiteral("letpin"),
        QStringLiteral("lenras"), QStringLiteral("lepiaz"), QStringLiteral("leimcs"),
        QStringLiteral("leflic"), QStringLiteral("leflsc"), QStringLiteral("leimap"),
        QStringLiteral("leflia"), QStringLiteral("leflsa"), QStringLiteral("leinpa"),
        QStringLiteral("leflip"), QStringLiteral("leflsp"), QStringLiteral("ledtin"),
        QStringLiteral("leflco")};
    return colonne;
}

QString statoIncasso(const Istruzioni::ChiaveLdv &c, bool blocca)
{
    return QStringLiteral("SELECT lefili, lenrlv, leanlv, lecodi, ") +
           colonneIncasso().join(QStringLiteral(", ")) +
           QStringLiteral(" FROM letve00f WHERE lenrlv=") + quotato(c.numero) +
           QStringLiteral(" and lefili=") + quotato(c.filiale) + QStringLiteral(" and ledtlv=") +
           dataQuotata(c.data) + QStringLiteral(" ORDER BY leanlv") +
           (blocca ? QStringLiteral(" FOR UPDATE;") : QStringLiteral(";"));
}

QString registraIncasso(const Autore &autore, const QList<Modifica> &modifiche)
{
    QStringList righe;
    for (const Modifica &m : modifiche) {
        righe << QStringLiteral("(") + testaRiga(autore, Azione::Incasso) + QStringLiteral(", ") +
                     chiaveLdv(m.ldv) + QStringLiteral(", ") + interoONull(m.cliente) +
                     QStringLiteral(", NULL, NULL, ") + quotato(Sql::identificatore(m.colonna)) +
                     QStringLiteral(", ") + quotatoONull(m.prima) + QStringLiteral(", ") +
                     quotatoONull(m.dopo) + QStringLiteral(")");
    }
    return colonneRegistro + QStringLiteral("values ") + righe.join(QStringLiteral(", ")) +
           QStringLiteral(";");
}

QString registraDistinta(const Autore &autore, Azione azione, const QString &numero,
                         const QDate &data)
{
    const QString n = Sql::intero(numero);
    const QString d = dataQuotata(data);
    return colonneRegistro + QStringLiteral("SELECT ") + testaRiga(autore, azione) +
           QStringLiteral(", lefili, lenrlv, leanlv, lecodi, ") + n + QStringLiteral(", ") + d +
           QStringLiteral(", NULL, NULL, NULL FROM letve00f WHERE LENDVC=") + n +
           QStringLiteral(" AND LEDTVC=") + d + QStringLiteral(";");
}

QString registraLdv(const Autore &autore, Azione azione, const QString &cliente,
                    const QVector<Istruzioni::ChiaveRimessa> &ldv)
{
    QStringList righe;
    for (const Istruzioni::ChiaveRimessa &chiave : ldv)
        righe << QStringLiteral("(") + testaRiga(autore, azione) + QStringLiteral(", ") +
                     chiaveLdv(chiave) + QStringLiteral(", ") + interoONull(cliente) +
                     QStringLiteral(", NULL, NULL, NULL, NULL, NULL)");
    return colonneRegistro + QStringLiteral("values ") + righe.join(QStringLiteral(", ")) +
           QStringLiteral(";");
}

QString storico(const FiltroStorico &f)
{
    QString dove;
    if (!f.ldv.isEmpty())
        dove += QStringLiteral(" AND r.lenrlv=") + quotato(f.ldv);
    if (!f.cliente.isEmpty())
        dove += QStringLiteral(" AND r.lecodi=") + Sql::intero(f.cliente);
    if (!f.distinta.isEmpty())
        dove += QStringLiteral(" AND r.NrDistinta=") + Sql::intero(f.distinta);
    if (f.dal.isValid())
        dove += QStringLiteral(" AND r.Quando >= ") + dataQuotata(f.dal);
    if (f.al.isValid())
        dove += QStringLiteral(" AND r.Quando < ") + dataQuotata(f.al.addDays(1));
    return QStringLiteral(
               "SELECT r.Quando, r.Azione, r.lefili, r.lenrlv, r.leanlv, r.lecodi, "
               "c.RagioneSociale, r.NrDistinta, r.DataDistinta, r.Colonna, r.Prima, r.Dopo, "
               "r.Postazione, r.UtenteDb, r.UtenteSistema FROM registrocontrassegni r "
               "LEFT JOIN clien c ON c.Codice=r.lecodi WHERE 1=1") +
           dove + QStringLiteral(" ORDER BY r.Quando DESC, r.Id DESC LIMIT ") +
           QString::number(f.righe) + QStringLiteral(";");
}

QString filiali()
{
    return QStringLiteral("SELECT codice, Descrizione FROM filiali ORDER BY codice;");
}

QString sospesi(const FiltroSospesi &f)
{
    QString fasce;
    for (int n = 1; n <= 4; ++n)
        fasce += QStringLiteral("SUM(s.Fascia=%1) AS Nr%1, SUM(IF(s.Fascia=%1, s.leimcs, 0)) AS "
                                "Importo%1, ")
                     .arg(n);
    return QStringLiteral("SELECT s.lecodi AS Cliente, MAX(c.RagioneSociale) AS RagioneSociale, "
                          "SUM(s.Fascia=0) AS NrDaIncassare, SUM(IF(s.Fascia=0, s.lecnss, 0)) AS "
                          "DaIncassare, MIN(IF(s.Fascia=0, s.ledtlv, NULL)) AS DaIncassareDal, ") +
           fasce +
           QStringLiteral(
               "SUM(s.Fascia>0) AS NrDaRimettere, SUM(IF(s.Fascia>0, s.leimcs, 0)) AS "
               "DaRimettere, MIN(IF(s.Fascia>0, s.ledtin, NULL)) AS IncassatoDal FROM (") +
           selezioneSospese(QStringLiteral("lecodi, lecnss, leimcs, ledtin, ledtlv"), f) +
           QStringLiteral(") s LEFT JOIN clien c ON c.Codice=s.lecodi GROUP BY s.lecodi "
                          "ORDER BY s.lecodi;");
}

QString sospesiLdv(const FiltroSospesi &f)
{
    return selezioneSospese(QStringLiteral("lefili, lenrlv, leanlv, ledtlv, lecodi, lerife, "
                                           "ledest, lecnss, leimcs, ledtin, DATEDIFF(") +
                                dataQuotata(f.data) + QStringLiteral(", ledtin) AS Giorni"),
                            f) +
           QStringLiteral(" ORDER BY Fascia=0, ledtin, ledtlv, lefili, lenrlv;");
}

} // namespace IstruzioniRegistro
