#pragma once

#include <QString>
#include <QTest>
#include <QWidget>
#include <QtGlobal>

#include <functional>

// The named control of a window, for widget tests that act as an operator. A missing control
// ends the test run loudly: the window's .ui no longer has what the test drives.
template <typename T> T *controlloDi(const QWidget *finestra, const QString &nome)
{
    T *trovato = finestra->findChild<T *>(nome);
    if (!trovato)
        qFatal("%s has no %s named %s", qPrintable(finestra->objectName()),
               T::staticMetaObject.className(), qPrintable(nome));
    return trovato;
}

// A left click in the middle of the widget, where an operator clicks a button or an option.
inline void clic(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {},
                      QPoint(widget->width() / 2, widget->height() / 2));
}

// Runs `azione` each time `oggetto` receives an event of type `tipo`, for as long as it lives:
// what a window shows at the moment it appears, before anything else can change it.
class FiltroEventi : public QObject
{
public:
    FiltroEventi(QObject *oggetto, QEvent::Type tipo, std::function<void()> azione)
        : m_oggetto(oggetto), m_tipo(tipo), m_azione(std::move(azione))
    {
        oggetto->installEventFilter(this);
    }
    ~FiltroEventi() override { m_oggetto->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() == m_tipo)
            m_azione();
        return false;
    }

private:
    QObject *m_oggetto;
    QEvent::Type m_tipo;
    std::function<void()> m_azione;
};
