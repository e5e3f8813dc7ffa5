#include "data/istruzioni_ricerca.h"

#include "data/sql.h"

#include <QStringList>

namespace IstruzioniRicerca {

namespace {

// The columns of the reference list (mode 1). The first list and the "&Visualizza" list were
// written apart and differ by one blank before lerico; both are kept as they are.
const QString selezioneRiferimenti = QStringLiteral(
    "select lenrlv, leflbc as Bord_Inv, lerife as Numero_Rif, lerifd as Data_Rif, "
    "ledest as Destinatario, ledtlv as Data_Emissione, ginrgi as Num_Giac, giangi as Anno_giac,");
const QString daLetvePerRiferimento =
    QStringLiteral("lerico as Riconsegna  from letve00f left join giace00f on lefili=gifili and "
                   "lenrlv=ginrlv and leanlv=gianlv where lecodi=");

const QString selezioneNumeri = QStringLiteral(
    "select lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as Bord_Inv, "
    "lerife as Numero_Rif, lerifd as Data_Rif, ledest as Destinatario,  ginrgi as Num_Giac, "
    "giangi as Anno_giac, lerico as Riconsegna from letve00f left join giace00f on "
    "lefili=gifili and lenrlv=ginrlv and leanlv=gianlv where lecodi=");
const QString ordineNumeri = QStringLiteral(" ORDER BY CAST(lenrlv as unsigned), leanlv;");

const QString selezioneGiacenze = QStringLiteral(
    "select ginrlv, ledtlv, Ginrgi as Giacenza, gidtgi as Data_Giac, gicodi as cod_cliente, "
    "Lerife as Rif_Mitt, Lerifd as Data_Rif_Mitt,ledest as Destinatario, GIDTBF as Buon_Fine "
    "FROM giace00f INNER join letve00f on gifili=lefili and ginrlv=lenrlv and gianlv=leanlv "
    "where ");

// The collection list (mode 12) up to the customer code; `tipoPrimoCast` is "Char" in the first
// list without a reference and "char" everywhere else.
QString selezioneContrassegni(const QString &tipoPrimoCast)
{
    return QStringLiteral("select lerife AS Nr_Rif,lerifd AS Data_Rif,ledest AS Destinatario,"
                          "lecnss AS Contrassegno,cast(concat_WS('.',leflic,leflsc)as ") +
           tipoPrimoCast +
           QStringLiteral(") AS Inc_contr,leanpc AS Anticipata,"
                          "cast(concat_WS('.',leflia,leflsa)as char) AS Inc_Anticip,"
                          "leimpa as Porto_Ass, cast(concat_WS('.',leflip,leflsp)as char) "
                          "as Inc_PortoAss,lenrlv AS Nr_LDV,ledtlv AS Data_LDV "
                          "from vdaticontrassegni where lecodi=");
}

// A customer code or year, written bare.
QString numero(const QString &valore)
{
    return Sql::intero(valore.trimmed());
}

// A text searched inside a LIKE pattern: the backslash is LIKE's escape character, so it is
// doubled to stand for itself; "%" and "_" keep their wildcard meaning.
QString contenuto(const QString &valore)
{
    QString testo = valore;
    testo.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return Sql::testo(testo);
}

const QString selezioneVisibile = QStringLiteral(" from ");
const QString inizioOrdine = QStringLiteral(" ORDER BY ");

// The rows that come after `valore` in one column of the order. Nothing comes after a NULL in a
// descending column (NULL is last there): the empty text.
QString dopoIn(const ColonnaOrdine &colonna, const QVariant &valore)
{
    if (valore.isNull())
        return colonna.discendente ? QString()
                                   : colonna.espressione + QStringLiteral(" IS NOT NULL");
    const QString letterale = Sql::letterale(valore);
    if (colonna.discendente)
        return QLatin1Char('(') + colonna.espressione + QStringLiteral(" < ") + letterale +
               QStringLiteral(" OR ") + colonna.espressione + QStringLiteral(" IS NULL)");
    return colonna.espressione + QStringLiteral(" > ") + letterale;
}

// The rows after the one whose order values are `dopo`: equal on the first columns and after
// it on the next one, for each column in turn.
QString condizioneDopo(const QVector<ColonnaOrdine> &colonne, const QVariantList &dopo)
{
    QStringList alternative;
    QStringList uguali;
    for (int i = 0; i < colonne.size(); ++i) {
        const QString dopoQui = dopoIn(colonne[i], dopo[i]);
        if (!dopoQui.isEmpty())
            alternative << QLatin1Char('(') +
                               (uguali + QStringList{dopoQui}).join(QStringLiteral(" AND ")) +
                               QLatin1Char(')');
        uguali << colonne[i].espressione + QStringLiteral(" <=> ") + Sql::letterale(dopo[i]);
    }
    // After the very last row of the order there is nothing.
    return alternative.isEmpty() ? QStringLiteral("FALSE")
                                 : alternative.join(QStringLiteral(" OR "));
}

QString elencoOrdine(const QVector<ColonnaOrdine> &colonne)
{
    QStringList parti;
    for (const ColonnaOrdine &colonna : colonne)
        parti << colonna.espressione + (colonna.discendente ? QStringLiteral(" desc") : QString());
    return parti.join(QStringLiteral(", "));
}

QString colonneChiave(const QVector<ColonnaOrdine> &colonne)
{
    QString testo;
    for (int i = 0; i < colonne.size(); ++i)
        testo += QStringLiteral(", ") + colonne[i].espressione +
                 QStringLiteral(" AS chiave_pagina_") + QString::number(i);
    return testo;
}

} // namespace

bool eAnno(const QString &anno)
{
    return Sql::eIntero(anno.trimmed());
}

QString riferimentiDa(const QString &codiceCliente, const QString &riferimento, const QString &anno,
                      const QString &filiale)
{
    QString istruzione = selezioneRiferimenti + daLetvePerRiferimento + numero(codiceCliente) +
                         QStringLiteral(" and LERIFE>='") + Sql::testo(riferimento);
    if (eAnno(anno))
        istruzione +=
            QStringLiteral("' and year(LERIFD)=") + numero(anno) + QStringLiteral(" and lefili='");
    else
        istruzione += QStringLiteral("' and lefili='");
    return istruzione + Sql::testo(filiale) + QStringLiteral("' ORDER BY lerife, ledtlv;");
}

QString riferimentiDaValore(const QString &codiceCliente, const QString &valore,
                            const QString &filiale)
{
    return selezioneRiferimenti + QLatin1Char(' ') + daLetvePerRiferimento + numero(codiceCliente) +
           QStringLiteral(" and lerife >='") + Sql::testo(valore) +
           QStringLiteral("' and lefili='") + Sql::testo(filiale) +
           QStringLiteral("' ORDER BY lerife, ledtlv;");
}

QString numeriDa(const QString &codiceCliente, const QString &filiale, const QString &numeroLdv,
                 const QString &anno)
{
    QString istruzione = selezioneNumeri + numero(codiceCliente) + QStringLiteral(" and lefili='") +
                         Sql::testo(filiale) + QStringLiteral("' and LENRLV>='") +
                         Sql::testo(numeroLdv);
    if (eAnno(anno))
        return istruzione + QStringLiteral("' and LEANLV=") + numero(anno) + ordineNumeri;
    return istruzione + QLatin1Char('\'') + ordineNumeri;
}

QString numeriDaValore(const QString &codiceCliente, const QString &valore, const QString &annoData,
                       const QString &filiale)
{
    QString istruzione = selezioneNumeri + numero(codiceCliente) +
                         QStringLiteral(" and cast(lenrlv as unsigned) >=") + numero(valore);
    if (!annoData.isEmpty())
        istruzione += QStringLiteral(" and leanlv>='") + Sql::testo(annoData) + QLatin1Char('\'');
    return istruzione + QStringLiteral(" and lefili='") + Sql::testo(filiale) + QLatin1Char('\'') +
           ordineNumeri;
}

QString spedizioniGiacenza(const QString &giacenza, const QString &annoGiacenza)
{
    return QStringLiteral("SELECT lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as "
                          "Bord_Inv, lerife as Numero_Rif, lerifd as Data_Rif, ledest as "
                          "Destinatario, lerico as Riconsegna from (letve00f inner JOIN giace00f "
                          "on lefili=gifili and lerfgi=ginrgi and leangi=giangi) where ginrgi='") +
           Sql::testo(giacenza) + QStringLiteral("' and giangi=") + numero(annoGiacenza) +
           QLatin1Char(';');
}

QString giacenzeAnno(const QString &codiceCliente, int anno)
{
    return selezioneGiacenze + QStringLiteral("giangi=") + QString::number(anno) +
           QStringLiteral(" and letve00f.lecodi='") + numero(codiceCliente) + QStringLiteral("';");
}

QString giacenzeDal(const QString &codiceCliente, const QDate &dal)
{
    return selezioneGiacenze + QStringLiteral("letve00f.Lecodi='") + numero(codiceCliente) +
           QStringLiteral("' and gidtgi>='") + Sql::data(dal) + QStringLiteral("';");
}

QString contrassegni(const QString &codiceCliente, const QString &filiale,
                     const QString &riferimento)
{
    const QString ordine = QStringLiteral(" ORDER BY Data_Rif desc, Nr_Rif desc;");
    if (riferimento.isEmpty())
        return selezioneContrassegni(QStringLiteral("Char")) + numero(codiceCliente) +
               QStringLiteral(" and lefili='") + Sql::testo(filiale) + QLatin1Char('\'') + ordine;
    return selezioneContrassegni(QStringLiteral("char")) + numero(codiceCliente) +
           QStringLiteral(" and lefili='") + Sql::testo(filiale) +
           QStringLiteral("' and Lerife like('%") + contenuto(riferimento) + QStringLiteral("%')") +
           ordine;
}

QString contrassegniValore(const QString &codiceCliente, const QString &valore,
                           const QString &filiale)
{
    QString istruzione = selezioneContrassegni(QStringLiteral("char")) + numero(codiceCliente);
    if (!valore.isEmpty())
        istruzione +=
            QStringLiteral(" and lerife like('%") + contenuto(valore) + QStringLiteral("%')");
    return istruzione + QStringLiteral(" and lefili='") + Sql::testo(filiale) +
           QStringLiteral("' ORDER BY lerifd desc, lerife desc;");
}

Ordinamento ordinamento(int tipoRicerca)
{
    const ColonnaOrdine numeroLdv{QStringLiteral("lenrlv")};
    const ColonnaOrdine annoLdv{QStringLiteral("leanlv")};
    switch (tipoRicerca) {
    case 1:
        return {{{QStringLiteral("lerife")}, {QStringLiteral("ledtlv")}}, {numeroLdv, annoLdv}};
    case 7:
        return {{{QStringLiteral("CAST(lenrlv as unsigned)")}, annoLdv}, {numeroLdv}};
    case 12:
        return {{{QStringLiteral("lerifd"), true}, {QStringLiteral("lerife"), true}},
                {{QStringLiteral("lenrlv"), true}, {QStringLiteral("leanlv"), true}}};
    default:
        return {};
    }
}

// The statement is cut where its own columns end (the first " from ": the values all come
// later) and where its order starts (the last " ORDER BY ": a value may hold those words, the
// statement's own order comes after every value).
QString pagina(const QString &istruzione, const Ordinamento &ordine, const QVariantList &dopo,
               int righe)
{
    const QVector<ColonnaOrdine> colonne = ordine.colonne();
    const int fineColonne = istruzione.indexOf(selezioneVisibile, 0, Qt::CaseInsensitive);
    const int ordineDa = istruzione.lastIndexOf(inizioOrdine, -1, Qt::CaseInsensitive);
    if (ordine.vuoto() || fineColonne < 0 || ordineDa < fineColonne ||
        !istruzione.endsWith(QLatin1Char(';')) ||
        (!dopo.isEmpty() && dopo.size() != colonne.size()))
        return QString();

    QString testo = istruzione.left(fineColonne) + colonneChiave(colonne) +
                    istruzione.mid(fineColonne, ordineDa - fineColonne);
    if (!dopo.isEmpty())
        testo += QStringLiteral(" and (") + condizioneDopo(colonne, dopo) + QLatin1Char(')');
    testo += istruzione.mid(ordineDa, istruzione.size() - 1 - ordineDa);
    if (!ordine.chiave.isEmpty())
        testo += QStringLiteral(", ") + elencoOrdine(ordine.chiave);
    if (righe > 0)
        testo += QStringLiteral(" LIMIT ") + QString::number(righe);
    return testo + QLatin1Char(';');
}

} // namespace IstruzioniRicerca
