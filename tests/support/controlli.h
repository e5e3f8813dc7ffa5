#pragma once

#include <QString>
#include <QTest>
#include <QWidget>
#include <QtGlobal>

// The named control of a window, for widget tests that act as an operator. A missing control
// ends the test run loudly: the window's .ui no longer has what the test drives.
template <typename T>
T *controlloDi(const QWidget *finestra, const QString &nome)
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
