#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>

// The progress of a definitive remittance run over many waybills. Application-modal while it is
// shown: the operator can neither start a second run nor close a window (nor cancel the shared
// connection's work from another window) until the posting has ended. It cannot be cancelled:
// a half-posted remittance is never left behind, the transaction commits or rolls back whole.
// Everything runs on the UI thread; the dialog lets the event loop run a few times a second.
class AvanzamentoRimessa : public QProgressDialog
{
public:
    AvanzamentoRimessa(QWidget *finestra, int passiTotali);

    // The phase's caption and the steps done (a waybill copied, posted or marked counts one).
    void aggiorna(const QString &fase, int fatti);

protected:
    void reject() override {}
    void closeEvent(QCloseEvent *evento) override;

private:
    QElapsedTimer m_ultimoAggiornamento;
};
