#pragma once

#include "services/finestre.h"

#include <QString>

#include <memory>

namespace Ui {
class frmRiscuti;
}

class CampoCliente;
class Recordset;
struct DatiIncasso;

// The collection-entry window "Incasso contrassegni": the operator names a customer, finds one
// of the customer's waybills (by the sender's reference, from the shipment list, or preset by
// the host), sees its amounts and state, records how, when and where each amount was collected
// and saves it into the waybill row, one column per statement in one transaction.
class frmRiscuti : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmRiscuti *istanza(bool crea = true);

    explicit frmRiscuti(QWidget *parent = nullptr);
    ~frmRiscuti() override;

    // The host's presets of one waybill (number, date dd/mm/yyyy, branch, customer code), read
    // on every activation.
    QString NLdv() const;
    void setNLdv(const QString &valore);
    QString DataLdv() const;
    void setDataLdv(const QString &valore);
    QString Filiale() const;
    void setFiliale(const QString &valore);
    QString CodiceCliente() const;
    void setCodiceCliente(const QString &valore);

protected:
    void caricamento() override;
    void attivazione() override;
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    // Waybill lookup.
    void RicercaPerRiferimento();
    void ElencoSpedizioni();
    bool ClienteNumerico();
    bool ControllaRicerca();
    void CercaSpedizione(int tipo);
    void RicercaPreimpostata();
    void CaricaLdvPreimpostata();

    // Display.
    void RipristinaProgetto();
    void PulisciCampi(bool ancheRicerca);
    void CaricaDati(const Recordset &rsLdv);
    void BloccaIncasso(int tipo, bool blocca);

    // Save.
    DatiIncasso datiIncasso() const;
    bool ControllaDati();
    void Salva();

    std::unique_ptr<Ui::frmRiscuti> ui;
    CampoCliente *m_cliente = nullptr;

    QString m_NLdv;
    QString m_DataLdv;
    QString m_Filiale;
    QString m_CodiceCliente;

    // The last pick of the shipment list.
    QString m_NLdvScelta;
    QString m_DataLdvScelta;
};
