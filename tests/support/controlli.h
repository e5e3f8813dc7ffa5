#pragma once

#include <QString>
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
