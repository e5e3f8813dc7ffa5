#include "fields/campoimporto.h"

#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

CampoImporto::CampoImporto(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

namespace {

// The digits of |valore| rounded to two decimals half away from zero, as the database rounds
// the typed number into its two-decimal columns (1,005 -> 101). Worked on the shortest decimal
// text of the value, which is the number as typed, so no binary rounding shows.
QString centesimi(double valore)
{
    const QString testo = QString::number(qAbs(valore), 'f', QLocale::FloatingPointShortest);
    const int punto = testo.indexOf(QLatin1Char('.'));
    const QString decimali = punto < 0 ? QString() : testo.mid(punto + 1);
    QString cifre =
        (punto < 0 ? testo : testo.left(punto)) + (decimali + QStringLiteral("00")).left(2);
    if (decimali.size() > 2 && decimali.at(2) >= QLatin1Char('5')) {
        int i = cifre.size() - 1;
        while (i >= 0 && cifre.at(i) == QLatin1Char('9'))
            cifre[i--] = QLatin1Char('0');
        if (i < 0)
            cifre.prepend(QLatin1Char('1'));
        else
            cifre[i] = QChar(cifre.at(i).unicode() + 1);
    }
    return cifre;
}

} // namespace

QString CampoImporto::formatta(const QString &testo)
{
    const QLocale locale;
    bool numero = false;
    const double valore = locale.toDouble(testo.trimmed(), &numero);
    if (!numero)
        return testo;
    // Display only: the stored value stays the text.
    const QString cifre = centesimi(valore);
    bool intero = false;
    const qulonglong parteIntera = cifre.left(cifre.size() - 2).toULongLong(&intero);
    if (!intero) // beyond any amount of the database: no grouping
        return testo;
    const QString importo =
        QStringLiteral("€") + locale.toString(parteIntera) + locale.decimalPoint() + cifre.right(2);
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
    const QRect area =
        style()->subElementRect(QStyle::SE_LineEditContents, &opzione, this).adjusted(2, 0, -2, 0);
    pittore.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    pittore.drawText(area, int(alignment()), testoVisualizzato());
}
