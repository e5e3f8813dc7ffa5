#include "remittance/avanzamentorimessa.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace {

// Shown only when the run takes longer than this; a short run shows nothing.
const int attesaPrimaDiMostrare = 500;
// The event loop runs at most this often (ms) during the run.
const int intervalloAggiornamento = 100;

} // namespace

AvanzamentoRimessa::AvanzamentoRimessa(QWidget *finestra, int passiTotali)
    : QProgressDialog(finestra, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Rimessa contrassegni"));
    setWindowModality(Qt::ApplicationModal);
    setCancelButton(nullptr);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(attesaPrimaDiMostrare);
    setMinimumWidth(360);
    setRange(0, qMax(passiTotali, 1));
    setValue(0);
    m_ultimoAggiornamento.start();
}

void AvanzamentoRimessa::aggiorna(const QString &fase, int fatti)
{
    const bool nuovaFase = fase != labelText();
    if (!nuovaFase && fatti < maximum() &&
        m_ultimoAggiornamento.elapsed() < intervalloAggiornamento)
        return;
    if (nuovaFase)
        setLabelText(fase);
    // setValue shows the dialog once the wait has passed and, while it is shown and modal,
    // runs the event loop: the windows repaint, input to them is blocked.
    setValue(qMin(fatti, maximum()));
    m_ultimoAggiornamento.restart();
}

void AvanzamentoRimessa::closeEvent(QCloseEvent *evento)
{
    evento->ignore();
}
