#include "search/modiricerca.h"

#include <QDate>

#include <algorithm>

namespace {

using namespace IstruzioniRicerca;
using Formato = ModoRicerca::Formato;
using M = ModoRicerca;

// Each row: the mode, its first list, its "&Visualizza" list, the message for a missing value,
// the hidden columns, the formatted columns, the columns picked, its rules.
const QVector<ModoRicerca> &modi()
{
    static const QVector<ModoRicerca> tabella{
        {1, // waybills from a sender's reference on
         [](const ValoriRicerca &v) {
             return riferimentiDa(v.codiceCliente, v.riferimento, v.anno, v.filiale);
         },
         [](const ValoriRicerca &v) {
             return riferimentiDaValore(v.codiceCliente, v.valore, v.filiale);
         },
         QStringLiteral("Indicare un riferimento Cliente."),
         {QStringLiteral("lenrlv")},
         {{QStringLiteral("Bord_Inv"), Formato::BorCons}},
         {QStringLiteral("lenrlv"), QStringLiteral("Data_Emissione")},
         M::AnnoDataSpento | M::DataComeMostrata},

        {7, // waybills from a waybill number on
         [](const ValoriRicerca &v) {
             return numeriDa(v.codiceCliente, v.filiale, v.numeroLdv, v.anno);
         },
         [](const ValoriRicerca &v) {
             return numeriDaValore(v.codiceCliente, v.valore, v.annoData, v.filiale);
         },
         QStringLiteral("Indicare il numero di lettera di vettura."),
         {},
         {{QStringLiteral("Bord_Inv"), Formato::BorCons}},
         {QStringLiteral("Num_Ldv"), QStringLiteral("Data_Emissione")},
         {}},

        {10, // the waybills of one held-shipment record, to look at only
         [](const ValoriRicerca &v) { return spedizioniGiacenza(v.giacenza, v.annoGiacenza); },
         nullptr,
         QString(),
         {},
         {{QStringLiteral("Bord_Inv"), Formato::BorCons}},
         {},
         M::AnnoDataNascosto | M::ValoreNascosto | M::VisualizzaNascosto | M::SelezionaEsce},

        {11, // the customer's held shipments, of this year or from a date on
         [](const ValoriRicerca &v) {
             return giacenzeAnno(v.codiceCliente, QDate::currentDate().year());
         },
         [](const ValoriRicerca &v) {
             return giacenzeDal(v.codiceCliente,
                                QDate::fromString(v.annoData, QStringLiteral("dd/MM/yyyy")));
         },
         QString(),
         {QStringLiteral("ginrlv"), QStringLiteral("ledtlv")},
         {},
         {QStringLiteral("ginrlv"), QStringLiteral("ledtlv")},
         M::ValoreNascosto | M::MascheraData | M::VisualizzaConData},

        {12, // the customer's cash-on-delivery rows with their collection state
         [](const ValoriRicerca &v) {
             return contrassegni(v.codiceCliente, v.filiale, v.riferimento);
         },
         [](const ValoriRicerca &v) {
             return contrassegniValore(v.codiceCliente, v.valore, v.filiale);
         },
         QString(),
         {},
         {{QStringLiteral("Contrassegno"), Formato::Contr},
          {QStringLiteral("Inc_contr"), Formato::TipoContr},
          {QStringLiteral("Anticipata"), Formato::Anticip},
          {QStringLiteral("Inc_Anticip"), Formato::TipoAnt},
          {QStringLiteral("Porto_Ass"), Formato::Assegnato},
          {QStringLiteral("Inc_PortoAss"), Formato::TipoAss}},
         {QStringLiteral("Nr_LDV"), QStringLiteral("Data_LDV")},
         M::AnnoDataNascosto},

        // Named only by the date field's rule: no lists.
        {2, nullptr, nullptr, QString(), {}, {}, {}, M::MascheraData},
    };
    return tabella;
}

} // namespace

const ModoRicerca &ModoRicerca::di(int tipo)
{
    static const ModoRicerca sconosciuto;
    const QVector<ModoRicerca> &tabella = modi();
    const auto trovato =
        std::find_if(tabella.begin(), tabella.end(),
                     [tipo](const ModoRicerca &modo) { return modo.tipo == tipo; });
    return trovato == tabella.end() ? sconosciuto : *trovato;
}
