#include "component/finestre.h"

#include "component/messaggi.h"

#include <QCloseEvent>
#include <QEvent>

FinestraLavoro::FinestraLavoro(QWidget *parent) : QWidget(parent, Qt::Window) {}

void FinestraLavoro::mostra()
{
    if (!m_caricata) {
        caricamento();
        m_caricata = true;
    }
    show();
    raise();
    activateWindow();
}

void FinestraLavoro::scarica()
{
    if (m_caricata)
        close();
}

bool FinestraLavoro::event(QEvent *evento)
{
    if (evento->type() == QEvent::WindowActivate && m_caricata)
        eseguiGestore(this, [this] { attivazione(); });
    return QWidget::event(evento);
}

void FinestraLavoro::closeEvent(QCloseEvent *evento)
{
    evento->accept();
    if (!m_caricata)
        return;
    m_caricata = false;
    emit Uscita();
}

DialogoModale::DialogoModale(QWidget *parent) : QDialog(parent) {}

void DialogoModale::mostraModale()
{
    caricamento();
    m_caricata = true;
    exec();
    m_caricata = false;
}

void DialogoModale::scarica()
{
    done(QDialog::Rejected);
}

bool DialogoModale::event(QEvent *evento)
{
    if (evento->type() == QEvent::WindowActivate && m_caricata)
        eseguiGestore(this, [this] { attivazione(); });
    return QDialog::event(evento);
}

void DialogoModale::done(int risultato)
{
    m_caricata = false;
    QDialog::done(risultato);
}
