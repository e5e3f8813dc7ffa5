#include "search/intestazionegriglia.h"

#include <QPainter>
#include <QStyleOptionHeader>
#include <QTextLayout>

namespace {

// The heading as drawn: a break is allowed after each underscore.
QString conRitorni(QString testo)
{
    return testo.replace(QLatin1Char('_'), QStringLiteral("_\u200B"));
}

} // namespace

IntestazioneGriglia::IntestazioneGriglia(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHighlightSections(false);
}

void IntestazioneGriglia::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader opzione;
    initStyleOptionForIndex(&opzione, logicalIndex);
    opzione.rect = rect;
    const QString testo = opzione.text;
    opzione.text.clear();

    painter->save();
    style()->drawControl(QStyle::CE_Header, &opzione, painter, this);
    const QRect area = style()->subElementRect(QStyle::SE_HeaderLabel, &opzione, this);
    painter->setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter->setClipRect(area);

    QTextOption disposizione(Qt::AlignLeft);
    disposizione.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextLayout testoDisposto(conRitorni(testo), font());
    testoDisposto.setTextOption(disposizione);
    const QFontMetrics metriche(font());
    testoDisposto.beginLayout();
    qreal altezza = 0;
    for (int riga = 0; riga < righe; ++riga) {
        QTextLine linea = testoDisposto.createLine();
        if (!linea.isValid())
            break;
        linea.setLineWidth(area.width());
        linea.setPosition(QPointF(0, altezza));
        altezza += metriche.lineSpacing();
    }
    testoDisposto.endLayout();
    const qreal alto = area.top() + (area.height() - altezza) / 2.0;
    testoDisposto.draw(painter, QPointF(area.left(), alto));
    painter->restore();
}

QSize IntestazioneGriglia::sectionSizeFromContents(int logicalIndex) const
{
    QSize dimensione = QHeaderView::sectionSizeFromContents(logicalIndex);
    const QFontMetrics metriche(font());
    dimensione.setHeight(
        qMax(dimensione.height(), metriche.lineSpacing() * righe + 2 * metriche.descent()));
    return dimensione;
}
