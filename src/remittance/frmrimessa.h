#pragma once

#include "data/istruzioni.h"
#include "services/finestre.h"

#include <QStringList>

#include <memory>

namespace Ui {
class frmRimessa;
}

class CampoCliente;
class RegistrazioneRimessa;

// The remittance window "Rimessa contrassegni": for one customer, one collection type and one
// period of collection dates, the cash-on-delivery amounts collected and not yet passed on are
// gathered into a numbered remittance, posted in one transaction and announced to the customer
// by a letter; a provisional letter changes nothing.
class frmRimessa : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmRimessa *istanza(bool crea = true);

    explicit frmRimessa(QWidget *parent = nullptr);
    ~frmRimessa() override;

    // True while a remittance run is going on.
    bool inEsecuzione() const { return m_inEsecuzione; }

protected:
    void caricamento() override;
    void closeEvent(QCloseEvent *evento) override;

private:
    void PulisciCampi(bool pulisciCliente);
    void AbilitaDatiAssegno(bool abilita);
    void SceltaTipoRimessa();
    int TipoRimessa() const;

    // The click on cmdRimessa: selection, confirmation, posting and letter.
    void EseguiRimessa();
    bool Selezione(std::unique_ptr<RegistrazioneRimessa> &rimessa);
    Istruzioni::DatiAssegno DatiAssegnoFinestra(int tipo) const;
    void StampaRimessa(const QStringList &datiLettera);
    void PassiFinali(std::unique_ptr<RegistrazioneRimessa> &rimessa);

    std::unique_ptr<Ui::frmRimessa> ui;
    CampoCliente *m_campoCliente = nullptr;
    bool m_inEsecuzione = false;
};
