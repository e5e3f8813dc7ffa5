#include "data/istruzioni_ricerca.h"

#include "data/sql.h"

#include <QStringList>

namespace IstruzioniRicerca {

namespace {

// Modes 1 and 7 list the waybills with their held-shipment record, if any.
const QString daSpedizioniConGiacenze =
    QStringLiteral(" from letve00f left join giace00f on lefili=gifili and lenrlv=ginrlv and "
                   "leanlv=gianlv where lecodi=");

// The columns of the reference list (mode 1). The first list and the "&Visualizza" list were
// written apart and differ by one blank before lerico (`primaDiLerico`); both are kept as they
// are, with the doubled blank before " from".
QString campiRiferimenti(const QString &primaDiLerico)
{
    return QStringLiteral("select lenrlv, leflbc as Bord_Inv, lerife as Numero_Rif, lerifd as "
                          "Data_Rif, ledest as Destinatario, ledtlv as Data_Emissione, ginrgi as "
                          "Num_Giac, giangi as Anno_giac,") +
           primaDiLerico + QStringLiteral("lerico as Riconsegna ");
}

const QString campiNumeri = QStringLiteral(
    "select lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as Bord_Inv, "
    "lerife as Numero_Rif, lerifd as Data_Rif, ledest as Destinatario,  ginrgi as Num_Giac, "
    "giangi as Anno_giac, lerico as Riconsegna");

const QString campiGiacenze = QStringLiteral(
    "select ginrlv, ledtlv, Ginrgi as Giacenza, gidtgi as Data_Giac, gicodi as cod_cliente, "
    "Lerife as Rif_Mitt, Lerifd as Data_Rif_Mitt,ledest as Destinatario, GIDTBF as Buon_Fine");
const QString daGiacenze =
    QStringLiteral(" FROM giace00f INNER join letve00f on gifili=lefili and ginrlv=lenrlv and "
                   "gianlv=leanlv where ");

// The columns of the collection list (mode 12); `tipoPrimoCast` is "Char" in the first list
// without a reference and "char" everywhere else.
QString campiContrassegni(const QString &tipoPrimoCast)
{
    return QStringLiteral("select lerife AS Nr_Rif,lerifd AS Data_Rif,ledest AS Destinatario,"
                          "lecnss AS Contrassegno,cast(concat_WS('.',leflic,leflsc)as ") +
           tipoPrimoCast +
           QStringLiteral(") AS Inc_contr,leanpc AS Anticipata,"
                          "cast(concat_WS('.',leflia,leflsa)as char) AS Inc_Anticip,"
                          "leimpa as Porto_Ass, cast(concat_WS('.',leflip,leflsp)as char) "
                          "as Inc_PortoAss,lenrlv AS Nr_LDV,ledtlv AS Data_LDV");
}
const QString daContrassegni = QStringLiteral(" from vdaticontrassegni where lecodi=");

// The orders of the lists, each followed by the waybill's key.
const Ordinamento ordineRiferimenti{{{QStringLiteral("lerife")}, {QStringLiteral("ledtlv")}},
                                    {{QStringLiteral("lenrlv")}, {QStringLiteral("leanlv")}}};
const Ordinamento ordineNumeri{
    {{QStringLiteral("CAST(lenrlv as unsigned)")}, {QStringLiteral("leanlv")}},
    {{QStringLiteral("lenrlv")}}};
// Latest reference first. The first list's ORDER BY names the columns by their aliases.
Ordinamento ordineContrassegni(bool perAlias)
{
    const auto alias = [perAlias](const char *nome) {
        return perAlias ? QString::fromLatin1(nome) : QString();
    };
    return {{{QStringLiteral("lerifd"), true, alias("Data_Rif")},
             {QStringLiteral("lerife"), true, alias("Nr_Rif")}},
            {{QStringLiteral("lenrlv"), true}, {QStringLiteral("leanlv"), true}}};
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
        parti << (colonna.alias.isEmpty() ? colonna.espressione : colonna.alias) +
                     (colonna.discendente ? QStringLiteral(" desc") : QString());
    return QStringLiteral(" ORDER BY ") + parti.join(QStringLiteral(", "));
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

QString ListaRicerca::testo() const
{
    return campi + origine + (ordine.vuoto() ? QString() : elencoOrdine(ordine.proprie)) +
           QLatin1Char(';');
}

bool eAnno(const QString &anno)
{
    return Sql::eIntero(anno.trimmed());
}

ListaRicerca riferimentiDa(const QString &codiceCliente, const QString &riferimento,
                           const QString &anno, const QString &filiale)
{
    QString origine = daSpedizioniConGiacenze + numero(codiceCliente) +
                      QStringLiteral(" and LERIFE>='") + Sql::testo(riferimento) +
                      QLatin1Char('\'');
    if (eAnno(anno))
        origine += QStringLiteral(" and year(LERIFD)=") + numero(anno);
    origine += QStringLiteral(" and lefili='") + Sql::testo(filiale) + QLatin1Char('\'');
    return {campiRiferimenti(QString()), origine, ordineRiferimenti};
}

ListaRicerca riferimentiDaValore(const QString &codiceCliente, const QString &valore,
                                 const QString &filiale)
{
    return {campiRiferimenti(QStringLiteral(" ")),
            daSpedizioniConGiacenze + numero(codiceCliente) + QStringLiteral(" and lerife >='") +
                Sql::testo(valore) + QStringLiteral("' and lefili='") + Sql::testo(filiale) +
                QLatin1Char('\''),
            ordineRiferimenti};
}

ListaRicerca numeriDa(const QString &codiceCliente, const QString &filiale,
                      const QString &numeroLdv, const QString &anno)
{
    QString origine = daSpedizioniConGiacenze + numero(codiceCliente) +
                      QStringLiteral(" and lefili='") + Sql::testo(filiale) +
                      QStringLiteral("' and LENRLV>='") + Sql::testo(numeroLdv) + QLatin1Char('\'');
    if (eAnno(anno))
        origine += QStringLiteral(" and LEANLV=") + numero(anno);
    return {campiNumeri, origine, ordineNumeri};
}

ListaRicerca numeriDaValore(const QString &codiceCliente, const QString &valore,
                            const QString &annoData, const QString &filiale)
{
    QString origine = daSpedizioniConGiacenze + numero(codiceCliente) +
                      QStringLiteral(" and cast(lenrlv as unsigned) >=") + numero(valore);
    if (!annoData.isEmpty())
        origine += QStringLiteral(" and leanlv>='") + Sql::testo(annoData) + QLatin1Char('\'');
    origine += QStringLiteral(" and lefili='") + Sql::testo(filiale) + QLatin1Char('\'');
    return {campiNumeri, origine, ordineNumeri};
}

ListaRicerca spedizioniGiacenza(const QString &giacenza, const QString &annoGiacenza)
{
    return {QStringLiteral("SELECT lenrlv as Num_Ldv, ledtlv as Data_Emissione, leflbc as "
                           "Bord_Inv, lerife as Numero_Rif, lerifd as Data_Rif, ledest as "
                           "Destinatario, lerico as Riconsegna"),
            QStringLiteral(" from (letve00f inner JOIN giace00f on lefili=gifili and "
                           "lerfgi=ginrgi and leangi=giangi) where ginrgi='") +
                Sql::testo(giacenza) + QStringLiteral("' and giangi=") + numero(annoGiacenza),
            {}};
}

ListaRicerca giacenzeAnno(const QString &codiceCliente, int anno)
{
    return {campiGiacenze,
            daGiacenze + QStringLiteral("giangi=") + QString::number(anno) +
                QStringLiteral(" and letve00f.lecodi='") + numero(codiceCliente) +
                QLatin1Char('\''),
            {}};
}

ListaRicerca giacenzeDal(const QString &codiceCliente, const QDate &dal)
{
    return {campiGiacenze,
            daGiacenze + QStringLiteral("letve00f.Lecodi='") + numero(codiceCliente) +
                QStringLiteral("' and gidtgi>='") + Sql::data(dal) + QLatin1Char('\''),
            {}};
}

ListaRicerca contrassegni(const QString &codiceCliente, const QString &filiale,
                          const QString &riferimento)
{
    QString origine = daContrassegni + numero(codiceCliente) + QStringLiteral(" and lefili='") +
                      Sql::testo(filiale) + QLatin1Char('\'');
    if (!riferimento.isEmpty())
        origine +=
            QStringLiteral(" and Lerife like('%") + contenuto(riferimento) + QStringLiteral("%')");
    return {
        campiContrassegni(riferimento.isEmpty() ? QStringLiteral("Char") : QStringLiteral("char")),
        origine, ordineContrassegni(true)};
}

ListaRicerca contrassegniValore(const QString &codiceCliente, const QString &valore,
                                const QString &filiale)
{
    QString origine = daContrassegni + numero(codiceCliente);
    if (!valore.isEmpty())
        origine +=
            QStringLiteral(" and lerife like('%") + contenuto(valore) + QStringLiteral("%')");
    origine += QStringLiteral(" and lefili='") + Sql::testo(filiale) + QLatin1Char('\'');
    return {campiContrassegni(QStringLiteral("char")), origine, ordineContrassegni(false)};
}

QString pagina(const ListaRicerca &lista, const QVariantList &dopo, int righe, bool inversa,
               int salta)
{
    QVector<ColonnaOrdine> colonne = lista.ordine.colonne();
    // Read from the end: every column the other way round (NULL, first ascending, then comes
    // last, where it is in the list read backwards).
    if (inversa) {
        for (ColonnaOrdine &colonna : colonne)
            colonna.discendente = !colonna.discendente;
    }
    if (lista.ordine.vuoto() || (!dopo.isEmpty() && dopo.size() != colonne.size()))
        return QString();

    QString testo = lista.campi + colonneChiave(colonne) + lista.origine;
    if (!dopo.isEmpty())
        testo += QStringLiteral(" and (") + condizioneDopo(colonne, dopo) + QLatin1Char(')');
    testo += elencoOrdine(colonne);
    if (righe > 0)
        testo += QStringLiteral(" LIMIT ") + QString::number(righe);
    if (righe > 0 && salta > 0)
        testo += QStringLiteral(" OFFSET ") + QString::number(salta);
    return testo + QLatin1Char(';');
}

QString conteggio(const ListaRicerca &lista)
{
    return QStringLiteral("select count(*)") + lista.origine + QLatin1Char(';');
}

} // namespace IstruzioniRicerca
