#pragma once

#include <QCoreApplication>
#include <QPointer>

// The one instance of a window class in the process: created on first use (when `crea`),
// reused afterwards, deleted when the application quits.
template <typename Finestra>
Finestra *istanzaDiProcesso(bool crea)
{
    static QPointer<Finestra> istanza;
    if (!istanza && crea) {
        istanza = new Finestra;
        if (auto *app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, [] { delete istanza.data(); });
    }
    return istanza.data();
}
