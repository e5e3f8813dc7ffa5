#include "data/istruzioni.h"

#include "data/sql.h"

namespace Istruzioni {

namespace {

const QString testaLdv = QStringLiteral(
    "SELECT letve00f.*, giace00f.*, forni.RagioneSociale as Vettore, filiali.Descrizione as "
    "filiale, codicizona.Descrizione as linea from (((letve00f LEFT JOIN giace00f on lefili=gifili "
    "and lenrlv=ginrlv and leanlv=gianlv) inner JOIN filiali ON lefili=filiali.codice) INNER JOIN "
    "codicizona on lelin1=codicizona.Codice) INNER join forni ON forni.Codice=lecdve WHERE ");

QString q(const QString &valore)
{
    return Sql::testo(valore);
}

QString chiaveSalvataggio(const ChiaveLdv &c)
{
    return QStringLiteral("lenrlv='") + q(c.numero) + QStringLiteral("' and lefili='")
           + q(c.filiale) + QStringLiteral("' and ledtlv='") + Sql::data(c.data)
           + QStringLiteral("';");
}

QString chiavePosting(const ChiaveRimessa &c)
{
    return QStringLiteral(" WHERE LEFILI='") + q(c.filiale) + QStringLiteral("' AND LENRLV='")
           + q(c.numero) + QStringLiteral("' AND LEANLV=") + Sql::intero(c.anno)
           + QStringLiteral(";");
}

QString condizioneSelezione(int tipo, const QDate &dal, const QDate &al)
{
    return QStringLiteral("SELECT * from vdaticontrassegni where leflic='") + QString::number(tipo)
           + QStringLiteral("' and leflsc=0 and (ledtin between '") + Sql::data(dal)
           + QStringLiteral("' and '") + Sql::data(al) + QStringLiteral("') and lendvc =0");
}

} // namespace

QString tuttaLaTabella(const QString &tabella)
{
    return QStringLiteral("SELECT * from ") + Sql::identificatore(tabella) + QStringLiteral(";");
}

QString leggiTabella(const QString &tabella)
{
    return QStringLiteral("select * from ") + Sql::identificatore(tabella) + QStringLiteral(";");
}

QString eliminaTabella(const QString &tabella)
{
    return QStringLiteral("Drop table ") + Sql::identificatore(tabella) + QStringLiteral(";");
}

QString leggiMaxAllowedPacket()
{
    return QStringLiteral("SELECT @@max_allowed_packet;");
}

QString inserisciRiga(const QString &tabella, const QStringList &colonne,
                      const QVariantList &valori)
{
    return inserisciRighe(tabella, colonne, {valori});
}

QString inserisciRighe(const QString &tabella, const QStringList &colonne,
                       const QList<QVariantList> &righe)
{
    QStringList nomi;
    for (const QString &colonna : colonne)
        nomi << Sql::identificatore(colonna);
    QStringList tuple;
    tuple.reserve(righe.size());
    for (const QVariantList &valori : righe) {
        QStringList letterali;
        for (int i = 0; i < colonne.size(); ++i)
            letterali << Sql::letterale(valori.value(i));
        tuple << QLatin1Char('(') + letterali.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return QStringLiteral("insert into ") + Sql::identificatore(tabella) + QStringLiteral(" (")
           + nomi.join(QLatin1Char(',')) + QStringLiteral(") values ")
           + tuple.join(QLatin1Char(',')) + QStringLiteral(";");
}

QString nomeCliente(const QString &codice)
{
    return QStringLiteral("select RagioneSociale from clien where Codice=") + Sql::intero(codice)
           + QStringLiteral(";");
}

QString ldvPerRiferimento(const QString &riferimento, const QDate &dataRiferimento)
{
    return testaLdv + QStringLiteral("lerife='") + q(riferimento) + QStringLiteral("' and lerifd='")
           + Sql::data(dataRiferimento) + QStringLiteral("';");
}

QString ldvPerNumero(const QString &numero, const QDate &dataLdv)
{
    return testaLdv + QStringLiteral("lenrlv='") + q(numero) + QStringLiteral("' and ledtlv='")
           + Sql::data(dataLdv) + QStringLiteral("';");
}

QString ldvPreimpostata(const QString &numero, const QDate &dataLdv, const QString &filiale)
{
    return testaLdv + QStringLiteral("lenrlv='") + q(numero) + QStringLiteral("' and ledtlv='")
           + Sql::data(dataLdv) + QStringLiteral("' and lefili='") + q(filiale)
           + QStringLiteral("';");
}

QString vistaPerNumero(const QString &numero, const QDate &dataLdv)
{
    return QStringLiteral("SELECT * from vdaticontrassegni WHERE lenrlv='") + q(numero)
           + QStringLiteral("' and ledtlv='") + Sql::data(dataLdv) + QStringLiteral("';");
}

QString aggiornaTesto(const QString &colonna, const QString &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna)
           + QStringLiteral("='") + q(valore) + QStringLiteral("' where ")
           + chiaveSalvataggio(chiave);
}

QString aggiornaIntero(const QString &colonna, const QString &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna)
           + QLatin1Char('=') + Sql::intero(valore) + QStringLiteral(" where ")
           + chiaveSalvataggio(chiave);
}

QString aggiornaImporto(const QString &colonna, const QString &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna)
           + QLatin1Char('=') + Sql::decimale(valore) + QStringLiteral(" where ")
           + chiaveSalvataggio(chiave);
}

QString aggiornaData(const QString &colonna, const QDate &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna)
           + QStringLiteral("='") + Sql::data(valore) + QStringLiteral("' where ")
           + chiaveSalvataggio(chiave);
}

QString selezioneRimessa(int tipo, const QDate &dal, const QDate &al, const QString &cliente)
{
    return condizioneSelezione(tipo, dal, al) + QStringLiteral(" and lecodi=")
           + Sql::intero(cliente) + QStringLiteral(";");
}

QString selezioneRimessaProvvisoria(int tipo, const QDate &dal, const QDate &al)
{
    return condizioneSelezione(tipo, dal, al) + QStringLiteral(";");
}

QString leggiUltimoNumero()
{
    return QStringLiteral("select UltimoNumDistVersam from zolvimacon_tabge00f for update;");
}

QString scriviUltimoNumero(const QString &numero)
{
    return QStringLiteral("UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=")
           + Sql::intero(numero) + QStringLiteral(";");
}

QString timbraRimessa(const QString &tabella, const QString &numero, const QDate &data,
                      const ChiaveRimessa &chiave)
{
    return QStringLiteral("UPDATE ") + Sql::identificatore(tabella) + QStringLiteral(" SET LENDVC=")
           + Sql::intero(numero) + QStringLiteral(",LEDTVC='") + Sql::data(data)
           + QLatin1Char('\'') + chiavePosting(chiave);
}

QString inserisciContrassegno(const QString &numero, const QDate &data, const DatiAssegno &assegno)
{
    return QStringLiteral("insert into contrassegni set NrDistinta=") + Sql::intero(numero)
           + QStringLiteral(",DataDistinta='") + Sql::data(data)
           + QStringLiteral("', Riferimento='") + q(assegno.riferimento)
           + QStringLiteral("', Banca='") + q(assegno.banca) + QStringLiteral("', Importo=")
           + assegno.importo.perSql() + QStringLiteral(";");
}

QString timbraAssegnoTabellaLavoro(const QString &tabella, const QString &numero,
                                   const QDate &data, const DatiAssegno &assegno,
                                   const ChiaveRimessa &chiave)
{
    return QStringLiteral("UPDATE ") + Sql::identificatore(tabella)
           + QStringLiteral(" SET NrDistinta=") + Sql::intero(numero)
           + QStringLiteral(",DataDistinta='") + Sql::data(data)
           + QStringLiteral("', Riferimento='") + q(assegno.riferimento)
           + QStringLiteral("', Banca='") + q(assegno.banca) + QStringLiteral("', Importo=")
           + assegno.importo.perSql() + chiavePosting(chiave);
}

QString segnaInviato(const ChiaveRimessa &chiave)
{
    return QStringLiteral("UPDATE letve00f SET LEFLSC=1") + chiavePosting(chiave);
}

QString ldvRimesseNelFrattempo(const QString &tabella)
{
    const QString t = Sql::identificatore(tabella);
    const auto uguali = [&t](const char *colonna) {
        return QStringLiteral("letve00f.") + QLatin1String(colonna) + QLatin1Char('=') + t
               + QLatin1Char('.') + QLatin1String(colonna);
    };
    return QStringLiteral("SELECT COUNT(*) FROM letve00f INNER JOIN ") + t
           + QStringLiteral(" ON ") + uguali("LEFILI") + QStringLiteral(" AND ")
           + uguali("LENRLV") + QStringLiteral(" AND ") + uguali("LEANLV") + QStringLiteral(" WHERE ")
           + t + QStringLiteral(".LENDVC=0 AND (letve00f.LENDVC<>0 OR letve00f.LEFLSC<>0) FOR UPDATE;");
}

QString annullaRimessaLdv(const QString &numero, const QDate &data)
{
    return QStringLiteral("UPDATE letve00f SET LENDVC=0, LEDTVC=Null, LEFLSC=0 WHERE LENDVC=")
           + Sql::intero(numero) + QStringLiteral(" AND LEDTVC='") + Sql::data(data)
           + QStringLiteral("';");
}

QString eliminaContrassegni(const QString &numero, const QDate &data)
{
    return QStringLiteral("Delete from contrassegni where NrDistinta=") + Sql::intero(numero)
           + QStringLiteral(" and DataDistinta='") + Sql::data(data) + QStringLiteral("';");
}

} // namespace Istruzioni
