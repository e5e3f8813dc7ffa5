#include "services/messaggi.h"

#include "data/erroredb.h"

namespace Messaggi {

QMessageBox::StandardButton mostra(QWidget *finestra, QMessageBox::Icon icona,
                                   const QString &titolo, const QString &testo,
                                   QMessageBox::StandardButtons pulsanti)
{
    QMessageBox box(icona, titolo, testo, pulsanti, finestra);
    box.setWindowModality(Qt::ApplicationModal);
    if (pulsanti.testFlag(QMessageBox::No))
        box.setEscapeButton(QMessageBox::No);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void avviso(QWidget *finestra, const QString &titolo, const QString &testo)
{
    mostra(finestra, QMessageBox::Warning, titolo, testo);
}

void informazione(QWidget *finestra, const QString &titolo, const QString &testo)
{
    mostra(finestra, QMessageBox::Information, titolo, testo);
}

void critico(QWidget *finestra, const QString &titolo, const QString &testo)
{
    mostra(finestra, QMessageBox::Critical, titolo, testo);
}

bool domanda(QWidget *finestra, const QString &titolo, const QString &testo)
{
    return mostra(finestra, QMessageBox::Question, titolo, testo,
                  QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

QString testoErrore(std::exception_ptr errore)
{
    try {
        std::rethrow_exception(errore);
    } catch (const ErroreDb &e) {
        return e.testo();
    } catch (const std::exception &e) {
        return QStringLiteral("5 ") + QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("5 Errore sconosciuto.");
    }
}

} // namespace Messaggi

void eseguiGestore(QWidget *finestra, const std::function<void()> &gestore)
{
    try {
        gestore();
    } catch (...) {
        Messaggi::critico(finestra, Messaggi::titoloApplicazione(),
                          Messaggi::testoErrore(std::current_exception()));
    }
}
