#include "data/istruzioni.h"

#include "data/erroredb.h"

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
    return QStringLiteral("lenrlv='") + q(c.numero) + QStringLiteral("' and lefili='") +
           q(c.filiale) + QStringLiteral("' and ledtlv='") + Sql::data(c.data) +
           QStringLiteral("';");
}

QString chiavePosting(const ChiaveRimessa &c)
{
    return QStringLiteral(" WHERE LEFILI='") + q(c.filiale) + QStringLiteral("' AND LENRLV='") +
           q(c.numero) + QStringLiteral("' AND LEANLV=") + Sql::intero(c.anno) +
           QStringLiteral(";");
}

QString condizioneSelezione(int tipo, const QDate &dal, const QDate &al)
{
    return QStringLiteral("SELECT * from vdaticontrassegni where leflic='") +
           QString::number(tipo) + QStringLiteral("' and leflsc=0 and (ledtin between '") +
           Sql::data(dal) + QStringLiteral("' and '") + Sql::data(al) +
           QStringLiteral("') and lendvc =0");
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

QString impostaSessione(int timeout)
{
    return QStringLiteral("SET SESSION sql_mode=REPLACE(@@sql_mode,'NO_BACKSLASH_ESCAPES',''), "
                          "max_statement_time=%1")
        .arg(timeout);
}

QString impostaTimeout(int timeout)
{
    return QStringLiteral("SET SESSION max_statement_time=%1").arg(timeout);
}

QString letturaCausale()
{
    return QStringLiteral("SET SESSION wsrep_sync_wait=1");
}

QString provaConnessione()
{
    return QStringLiteral("DO 0");
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
    return QStringLiteral("insert into ") + Sql::identificatore(tabella) + QStringLiteral(" (") +
           nomi.join(QLatin1Char(',')) + QStringLiteral(") values ") +
           tuple.join(QLatin1Char(',')) + QStringLiteral(";");
}

QString nomeCliente(const QString &codice)
{
    return QStringLiteral("select RagioneSociale from clien where Codice=") + Sql::intero(codice) +
           QStringLiteral(";");
}

QString ldvPerRiferimento(const QString &riferimento, const QDate &dataRiferimento)
{
    return testaLdv + QStringLiteral("lerife='") + q(riferimento) +
           QStringLiteral("' and lerifd='") + Sql::data(dataRiferimento) + QStringLiteral("';");
}

QString ldvPerNumero(const QString &numero, const QDate &dataLdv)
{
    return testaLdv + QStringLiteral("lenrlv='") + q(numero) + QStringLiteral("' and ledtlv='") +
           Sql::data(dataLdv) + QStringLiteral("';");
}

QString ldvPreimpostata(const QString &numero, const QDate &dataLdv, const QString &filiale)
{
    return testaLdv + QStringLiteral("lenrlv='") + q(numero) + QStringLiteral("' and ledtlv='") +
           Sql::data(dataLdv) + QStringLiteral("' and lefili='") + q(filiale) +
           QStringLiteral("';");
}

QString vistaPerNumero(const QString &numero, const QDate &dataLdv)
{
    return QStringLiteral("SELECT * from vdaticontrassegni WHERE lenrlv='") + q(numero) +
           QStringLiteral("' and ledtlv='") + Sql::data(dataLdv) + QStringLiteral("';");
}

QString aggiornaTesto(const QString &colonna, const QString &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna) +
           QStringLiteral("='") + q(valore) + QStringLiteral("' where ") +
           chiaveSalvataggio(chiave);
}

QString aggiornaIntero(const QString &colonna, const QString &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna) +
           QLatin1Char('=') + Sql::intero(valore) + QStringLiteral(" where ") +
           chiaveSalvataggio(chiave);
}

QString aggiornaImporto(const QString &colonna, const QString &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna) +
           QLatin1Char('=') + Sql::decimale(valore) + QStringLiteral(" where ") +
           chiaveSalvataggio(chiave);
}

QString aggiornaData(const QString &colonna, const QDate &valore, const ChiaveLdv &chiave)
{
    return QStringLiteral("update letve00f set ") + Sql::identificatore(colonna) +
           QStringLiteral("='") + Sql::data(valore) + QStringLiteral("' where ") +
           chiaveSalvataggio(chiave);
}

QString selezioneRimessa(int tipo, const QDate &dal, const QDate &al, const QString &cliente)
{
    return condizioneSelezione(tipo, dal, al) + QStringLiteral(" and lecodi=") +
           Sql::intero(cliente) + QStringLiteral(";");
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
    return QStringLiteral("UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam=") +
           Sql::intero(numero) + QStringLiteral(";");
}

QString timbraRimessa(const QString &tabella, const QString &numero, const QDate &data,
                      const ChiaveRimessa &chiave)
{
    return QStringLiteral("UPDATE ") + Sql::identificatore(tabella) +
           QStringLiteral(" SET LENDVC=") + Sql::intero(numero) + QStringLiteral(",LEDTVC='") +
           Sql::data(data) + QLatin1Char('\'') + chiavePosting(chiave);
}

QString inserisciContrassegno(const QString &numero, const QDate &data, const DatiAssegno &assegno)
{
    return QStringLiteral("insert into contrassegni set NrDistinta=") + Sql::intero(numero) +
           QStringLiteral(",DataDistinta='") + Sql::data(data) +
           QStringLiteral("', Riferimento='") + q(assegno.riferimento) +
           QStringLiteral("', Banca='") + q(assegno.banca) + QStringLiteral("', Importo=") +
           assegno.importo.perSql() + QStringLiteral(";");
}

QString timbraAssegnoTabellaLavoro(const QString &tabella, const QString &numero, const QDate &data,
                                   const DatiAssegno &assegno, const ChiaveRimessa &chiave)
{
    return QStringLiteral("UPDATE ") + Sql::identificatore(tabella) +
           QStringLiteral(" SET NrDistinta=") + Sql::intero(numero) +
           QStringLiteral(",DataDistinta='") + Sql::data(data) +
           QStringLiteral("', Riferimento='") + q(assegno.riferimento) +
           QStringLiteral("', Banca='") + q(assegno.banca) + QStringLiteral("', Importo=") +
           assegno.importo.perSql() + chiavePosting(chiave);
}

QString segnaInviato(const ChiaveRimessa &chiave)
{
    return QStringLiteral("UPDATE letve00f SET LEFLSC=1") + chiavePosting(chiave);
}

QString ldvRimesseNelFrattempo(const QString &tabella)
{
    const QString t = Sql::identificatore(tabella);
    const auto uguali = [&t](const char *colonna) {
        return QStringLiteral("letve00f.") + QLatin1String(colonna) + QLatin1Char('=') + t +
               QLatin1Char('.') + QLatin1String(colonna);
    };
    return QStringLiteral("SELECT COUNT(*) FROM letve00f INNER JOIN ") + t +
           QStringLiteral(" ON ") + uguali("LEFILI") + QStringLiteral(" AND ") + uguali("LENRLV") +
           QStringLiteral(" AND ") + uguali("LEANLV") + QStringLiteral(" WHERE ") + t +
           QStringLiteral(".LENDVC=0 AND (letve00f.LENDVC<>0 OR letve00f.LEFLSC<>0) FOR UPDATE;");
}

QString annullaRimessaLdv(const QString &numero, const QDate &data)
{
    return QStringLiteral("UPDATE letve00f SET LENDVC=0, LEDTVC=Null, LEFLSC=0 WHERE LENDVC=") +
           Sql::intero(numero) + QStringLiteral(" AND LEDTVC='") + Sql::data(data) +
           QStringLiteral("';");
}

QString eliminaContrassegni(const QString &numero, const QDate &data)
{
    return QStringLiteral("Delete from contrassegni where NrDistinta=") + Sql::intero(numero) +
           QStringLiteral(" and DataDistinta='") + Sql::data(data) + QStringLiteral("';");
}

// --- The stations' hold on their work tables --------------------------------------------------

QString creaTabelleLavoro()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS tabellelavoro (Nome VARCHAR(64) NOT NULL, "
        "Computer VARCHAR(64) NOT NULL, Dal DATETIME NOT NULL, PRIMARY KEY (Nome)) "
        "ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;");
}

QString occupaTabellaLavoro(const QString &nome, const QString &computer)
{
    return QStringLiteral("INSERT INTO tabellelavoro (Nome, Computer, Dal) VALUES ('") +
           Sql::testo(nome) + QStringLiteral("', '") + Sql::testo(computer) +
           QStringLiteral("', NOW());");
}

QString riprendiTabellaLavoro(const QString &nome, const QString &computer, int minuti)
{
    return QStringLiteral("UPDATE tabellelavoro SET Computer='") + Sql::testo(computer) +
           QStringLiteral("', Dal=NOW() WHERE Nome='") + Sql::testo(nome) +
           QStringLiteral("' AND (Computer='") + Sql::testo(computer) +
           QStringLiteral("' OR Dal < NOW() - INTERVAL ") + QString::number(minuti) +
           QStringLiteral(" MINUTE);");
}

QString occupanteTabellaLavoro(const QString &nome)
{
    return QStringLiteral("SELECT Computer, Dal FROM tabellelavoro WHERE Nome='") +
           Sql::testo(nome) + QStringLiteral("';");
}

QString liberaTabellaLavoro(const QString &nome, const QString &computer)
{
    return QStringLiteral("DELETE FROM tabellelavoro WHERE Nome='") + Sql::testo(nome) +
           QStringLiteral("' AND Computer='") + Sql::testo(computer) + QStringLiteral("';");
}

QString chiaveTabellaLavoroPresente(const QString &nome)
{
    return QStringLiteral("SELECT COUNT(*) FROM information_schema.STATISTICS WHERE "
                          "TABLE_SCHEMA=DATABASE() AND LOWER(TABLE_NAME)=LOWER('") +
           Sql::testo(Sql::identificatore(nome).remove(QLatin1Char('`'))) +
           QStringLiteral("') AND LOWER(COLUMN_NAME)='lenrlv' AND SEQ_IN_INDEX<=2;");
}

QString aggiungiChiaveTabellaLavoro(const QString &nome)
{
    return QStringLiteral("ALTER TABLE ") + Sql::identificatore(nome) +
           QStringLiteral(" ADD INDEX ix_ldv (lefili, lenrlv, leanlv);");
}

// --- Register search --------------------------------------------------------------------------

namespace {

// "!" escapes the LIKE wildcards: a backslash would have to be escaped twice, once for LIKE and
// once for the quoted literal.
const QChar escapeLike = u'!';
const int argomentoNonValido = 5;
enum { CampoCodice = 1, ConfrontoIniziaCon = 1, ConfrontoContiene = 2, ConfrontoUguale = 3 };

QString colonnaAnagrafica(int campo)
{
    static const char *const colonne[] = {"Codice", "RagioneSociale", "PartitaIva", "Localita",
                                          "Provincia"};
    if (campo < 1 || campo > 5)
        throw ErroreDb(argomentoNonValido,
                       QStringLiteral("Campo di ricerca %1 non previsto.").arg(campo));
    return QLatin1String(colonne[campo - 1]);
}

void controllaConfronto(int confronto)
{
    if (confronto < ConfrontoIniziaCon || confronto > ConfrontoUguale)
        throw ErroreDb(argomentoNonValido,
                       QStringLiteral("Tipo di confronto %1 non previsto.").arg(confronto));
}

} // namespace

QString modelloLike(const QString &testo, int confronto)
{
    controllaConfronto(confronto);
    QString modello;
    modello.reserve(testo.size() + 4);
    if (confronto == ConfrontoContiene)
        modello += u'%';
    for (const QChar c : testo) {
        if (c == escapeLike || c == u'%' || c == u'_')
            modello += escapeLike;
        modello += c;
    }
    if (confronto != ConfrontoUguale)
        modello += u'%';
    return modello;
}

QString ricercaAnagrafica(const QString &tabella, int campo, int confronto, const QString &testo)
{
    controllaConfronto(confronto);
    // The searched field as text, so that a code can be matched from its start or inside.
    const QString espressione =
        campo == CampoCodice ? QStringLiteral("CAST(Codice AS CHAR)") : colonnaAnagrafica(campo);

    QString condizione;
    if (confronto == ConfrontoUguale && campo == CampoCodice) {
        const QString numero = testo.trimmed();
        condizione = Sql::eIntero(numero) ? QStringLiteral("Codice=") + Sql::intero(numero)
                                          : QStringLiteral("1=0");
    } else if (confronto == ConfrontoUguale) {
        condizione = colonnaAnagrafica(campo) + QStringLiteral("='") + Sql::testo(testo) + u'\'';
    } else {
        condizione = espressione + QStringLiteral(" LIKE '") +
                     Sql::testo(modelloLike(testo, confronto)) + QStringLiteral("' ESCAPE '") +
                     escapeLike + u'\'';
    }

    return QStringLiteral("SELECT ") + espressione +
           QStringLiteral(" AS Corrispondenza, Codice, RagioneSociale, Localita, Provincia, "
                          "Indirizzo, Cap, PartitaIva FROM ") +
           Sql::identificatore(tabella) + QStringLiteral(" WHERE ") + condizione +
           QStringLiteral(" ORDER BY ") + espressione + QStringLiteral("='") + Sql::testo(testo) +
           QStringLiteral("' DESC, RagioneSociale, Codice;");
}

// --- Remittance letter -------------------------------------------------------------------------

QString indirizzoCliente(const QString &codice)
{
    return QStringLiteral("SELECT RagioneSociale, Indirizzo, Cap, Localita, Provincia, PartitaIva "
                          "FROM clien WHERE Codice=") +
           Sql::intero(codice) + QLatin1Char(';');
}

QString intestazioneAzienda()
{
    return QStringLiteral("SELECT * FROM azienda ORDER BY Id LIMIT 1;");
}

} // namespace Istruzioni
