#include "fields/campoimporto.h"

#include "data/importo.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

CampoImporto::CampoImporto(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QString CampoImporto::testoVisualizzato() const
{
    // Display only: the field's value stays the text.
    const std::optional<Importo> importo = Importo::daNumero(text());
    return importo ? importo->testoVisualizzato() : text();
}

void CampoImporto::paintEvent(QPaintEvent *evento)
{
    if (hasFocus() || text().isEmpty()) {
        QLineEdit::paintEvent(evento);
        return;
    }
    QPainter pittore(this);
    QStyleOptionFrame opzione;
    initStyleOption(&opzione);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &opzione, &pittore, this);
    const QRect area =
        style()->subElementRect(QStyle::SE_LineEditContents, &opzione, this).adjusted(2, 0, -2, 0);
    pittore.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    pittore.drawText(area, int(alignment()), testoVisualizzato());
}
