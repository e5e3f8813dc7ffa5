#pragma once

#include "services/finestre.h"
#include "data/istruzioni.h"

#include <QStringList>
#include <QVector>

#include <memory>

namespace Ui {
class frmRimessa;
}

class AvanzamentoRimessa;
class CampoCliente;
class Recordset;

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
    // Selects the waybills; false (after the message and the closing) when there are none.
    bool Selezione(std::unique_ptr<Recordset> &selezione);
    Istruzioni::DatiAssegno DatiAssegnoFinestra(int tipo) const;
    void CopiaInTabellaLavoro(Recordset &selezione, const Recordset &tabella,
                              const QString &nomeTabella);
    QString NuovoNumeroRimessa();
    void RegistraRimessa(Recordset &selezione, const QString &tabella);
    void ControllaLdvAncoraDaRimettere(const QString &tabella);
    void SegnaInviati(const QVector<Istruzioni::ChiaveRimessa> &chiavi);
    void StampaRimessa(const QStringList &datiLettera);
    void AnnullaRegistrazione();
    void PassiFinali(std::unique_ptr<Recordset> &selezione, bool tabellaPronta,
                     const QString &tabella);
    void passoAvanzamento();

    std::unique_ptr<Ui::frmRimessa> ui;
    CampoCliente *m_campoCliente = nullptr;
    // Number, year and branch of each selected waybill, in the order the selection read them.
    QVector<Istruzioni::ChiaveRimessa> m_chiaviSelezione;
    // The posting transaction on the shared connection is open.
    bool m_transazioneAperta = false;
    bool m_inEsecuzione = false;
    // The posting's values, fixed when the run starts.
    int m_tipo = 0;
    QDate m_dataRimessa;
    Istruzioni::DatiAssegno m_assegno;
    AvanzamentoRimessa *m_avanzamento = nullptr;
};
