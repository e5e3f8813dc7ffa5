#include "fields/campoimporto.h"

#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

CampoImporto::CampoImporto(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QString CampoImporto::formatta(const QString &testo)
{
    const QLocale locale;
    bool numero = false;
    const double valore = locale.toDouble(testo.trimmed(), &numero);
    if (!numero)
        return testo;
    // Display only: the stored value stays the text; two decimals need no more than a double.
    const QString cifre = locale.toString(qAbs(valore), 'f', 2);
    const QString importo = QStringLiteral("€") + cifre;
    return valore < 0 ? QLatin1Char('(') + importo + QLatin1Char(')') : importo;
}

QString CampoImporto::testoVisualizzato() const
{
    return text().isEmpty() ? QString() : formatta(text());
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
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &opzione, this)
                           .adjusted(2, 0, -2, 0);
    pittore.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::Text));
    pittore.drawText(area, int(alignment()), testoVisualizzato());
}
