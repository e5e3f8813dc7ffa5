#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Every message the component shows: a modal box with the exact text, title and icon.
namespace Messaggi {

inline QString titoloApplicazione() { return QStringLiteral("Riscuti"); }
inline QString titoloSuite() { return QStringLiteral("Gestione Trasporti"); }

QMessageBox::StandardButton mostra(QWidget *finestra, QMessageBox::Icon icona,
                                   const QString &titolo, const QString &testo,
                                   QMessageBox::StandardButtons pulsanti = QMessageBox::Ok);
void avviso(QWidget *finestra, const QString &titolo, const QString &testo);       // exclamation
void informazione(QWidget *finestra, const QString &titolo, const QString &testo); // information
void critico(QWidget *finestra, const QString &titolo, const QString &testo);      // critical
// A Yes/No question; true for Yes.
bool domanda(QWidget *finestra, const QString &titolo, const QString &testo);

// "<numero> <descrizione>" of whatever was thrown: ErroreDb keeps its number, any other
// exception gets 5 (invalid procedure call).
QString testoErrore(std::exception_ptr errore);

} // namespace Messaggi

// Runs an event handler of a window. An error ends the handler with a critical box carrying the
// error number and description, title "Riscuti"; nothing reaches the host's event loop.
void eseguiGestore(QWidget *finestra, const std::function<void()> &gestore);
