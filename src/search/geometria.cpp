#include "search/geometria.h"

#include <QGroupBox>
#include <QWidget>

namespace Geometria {

namespace {

constexpr int twipsPerPollice = 1440;
constexpr int dpiDiDisegno = 96;

int scala(int pixel, int dpi)
{
    return (pixel * dpi + dpiDiDisegno / 2) / dpiDiDisegno;
}

// The controls drawn on a window or inside one of its frames; the inner parts of other controls
// (a list's viewport, a grid's headers) follow their owner.
void scalaFigli(QWidget *contenitore, int dpi)
{
    const auto figli = contenitore->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *figlio : figli) {
        if (figlio->isWindow())
            continue;
        const QRect r = figlio->geometry();
        figlio->setGeometry(scala(r.x(), dpi), scala(r.y(), dpi), scala(r.width(), dpi),
                            scala(r.height(), dpi));
        if (qobject_cast<QGroupBox *>(figlio))
            scalaFigli(figlio, dpi);
    }
}

} // namespace

int daTwips(int twips, const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiX() : dpiDiDisegno;
    return (twips * dpi + twipsPerPollice / 2) / twipsPerPollice;
}

void adattaAlDpi(QWidget *finestra)
{
    const int dpi = finestra->logicalDpiX();
    if (dpi == dpiDiDisegno || dpi <= 0)
        return;
    scalaFigli(finestra, dpi);
    finestra->resize(scala(finestra->width(), dpi), scala(finestra->height(), dpi));
}

} // namespace Geometria
