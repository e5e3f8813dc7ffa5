#pragma once

#include "data/istruzioni_registro.h"
#include "finance/prospetto.h"
#include "finance/sospesi.h"
#include "services/finestre.h"

#include <memory>

namespace Ui {
class frmSospesi;
}
class QModelIndex;
class QStandardItemModel;

// The report "Contrassegni in sospeso": for one branch or all, one customer or all, as of a date
// (today when it opens), per customer the cash-on-delivery amounts due and not collected and
// those collected and not remitted by age, with the grand total. A double click on a customer
// lists its waybills; a double click on a waybill asks for "Incasso contrassegni" on it. The
// report goes to a CSV file, a PDF file or the printer.
class frmSospesi : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmSospesi *istanza(bool crea = true);

    explicit frmSospesi(QWidget *parent = nullptr);
    ~frmSospesi() override;

signals:
    // The operator wants to work on a waybill: number, date (dd/mm/yyyy), branch, customer.
    void apriIncasso(const QString &ldv, const QString &dataLdv, const QString &filiale,
                     const QString &cliente);

protected:
    void caricamento() override;

private:
    void CaricaFiliali();
    // The click on cmdCalcola: the report for the filters, the waybill list emptied.
    void Calcola();
    void MostraLdv(const QModelIndex &indice);
    void ApriLdv(const QModelIndex &indice);
    // The filters as the operator left them; false (after the message) when one is not valid.
    bool LeggiFiltro(IstruzioniRegistro::FiltroSospesi &filtro);
    QString Ambito(const IstruzioniRegistro::FiltroSospesi &filtro) const;
    QString NomeFile(const QString &estensione) const;

    std::unique_ptr<Ui::frmSospesi> ui;
    QStandardItemModel *m_modello;
    QStandardItemModel *m_modelloLdv;
    IstruzioniRegistro::FiltroSospesi m_filtro;
    QList<RigaSospesi> m_righe;
    Prospetto m_prospetto;
    Sospesi::LdvSospese m_ldv;
    QString m_clienteLdv;
};
