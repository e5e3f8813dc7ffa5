#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <stdexcept>

class QComboBox;
class QLineEdit;

// What an operator does with the keyboard and the mouse, on the real controls of a window.
// Everything goes through QTest's events, so the windows' filters, validations and focus rules
// run as they do for a person.
namespace Operatore {

// The named control of a window; throws when the window has none of that class.
template <typename T> T *controllo(QWidget *finestra, const char *nome)
{
    T *trovato = finestra->findChild<T *>(QLatin1String(nome));
    if (!trovato)
        throw std::runtime_error(std::string("no control ") + nome + " in " +
                                 finestra->objectName().toStdString());
    return trovato;
}

// Waits until the window is the active one (focus moves need it); throws after 5 s.
void attendiAttiva(QWidget *finestra);
// Gives the field the focus as a Tab or a click would, selects what it holds and types `testo`
// over it.
void scrivi(QLineEdit *campo, const QString &testo);
// The same for a masked date field: the mask appears with the focus, the digits (ddmmyyyy) fill
// it and the slashes are skipped.
void scriviData(QLineEdit *campo, const QString &cifre);
// Empties a field the way an operator does: select everything, Delete.
void svuota(QLineEdit *campo);
// Leaves the field with Tab; returns once the events it set off (deferred focus moves) are done.
void tab(QWidget *campo);
// Picks entry `voce` of a drop-down list from the keyboard: Home, then Down.
void scegli(QComboBox *lista, int voce);
// A left click in the middle of the control.
void clic(QWidget *controllo);
// Runs the events already posted.
void eventiInSospeso();

} // namespace Operatore

// Watches a widget for its first paint after construction (or after riarma()) that finds
// `condizione` true. `dopo` runs once that paint has ended (queued, so it also runs inside a
// modal dialog's own event loop).
class OsservatoreDipinto : public QObject
{
public:
    explicit OsservatoreDipinto(QWidget *widget, std::function<bool()> condizione = {});
    ~OsservatoreDipinto() override;

    std::function<void()> dopo;

    // Runs the event loop until the paint has happened; false after `millisecondi`.
    bool attendi(int millisecondi);
    bool dipinto() const { return m_dipinto; }
    void riarma() { m_dipinto = false; }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    QWidget *m_widget;
    std::function<bool()> m_condizione;
    bool m_dipinto = false;
};

// Answers the modal message boxes an action shows, in order, and notes what each said and when
// it appeared (ms on the given clock). A box beyond the queued answers gets its default button
// and is noted too, so the check after the action sees it and the run never hangs on a box.
// Other modal windows (the posting's progress, the search dialogs) are left alone. Looks every
// millisecond, from construction on.
class Risponditore : public QObject
{
public:
    struct Visto
    {
        QString testo;
        QString titolo;
        QMessageBox::Icon icona = QMessageBox::NoIcon;
        double istanteMs = 0;
    };

    explicit Risponditore(std::function<double()> orologio);

    void rispondi(std::initializer_list<QMessageBox::StandardButton> pulsanti);
    const QList<Visto> &visti() const { return m_visti; }
    // The texts of the boxes seen, for a failed check's message.
    QString testi() const;
    // Forgets the queued answers and the boxes seen.
    void azzera();

private:
    void controlla();

    std::function<double()> m_orologio;
    QTimer m_timer;
    QQueue<QMessageBox::StandardButton> m_coda;
    QList<Visto> m_visti;
};
