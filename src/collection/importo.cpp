#include "collection/importo.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

qint64 potenzaDieci(int esponente)
{
    qint64 p = 1;
    while (esponente-- > 0)
        p *= 10;
    return p;
}

} // namespace

std::optional<Importo> Importo::leggi(const QVariant &valore)
{
    if (valore.isNull() || !valore.isValid())
        return std::nullopt;
    // At most 18 digits in all, so the units fit a 64-bit integer.
    static const QRegularExpression decimale(
        QStringLiteral("^(-?)([0-9]{1,18})(?:\\.([0-9]{0,6}))?$"));
    const QRegularExpressionMatch m = decimale.match(valore.toString().trimmed());
    if (!m.hasMatch() || m.captured(2).size() + m.captured(3).size() > 18)
        return std::nullopt;
    const QString frazione = m.captured(3);
    const qint64 unita = (m.captured(2) + frazione).toLongLong();
    return Importo(m.captured(1).isEmpty() ? unita : -unita, int(frazione.size()));
}

Importo Importo::conDecimali(int decimali) const
{
    return Importo(m_unita * potenzaDieci(decimali - m_decimali), decimali);
}

Importo Importo::operator+(const Importo &altro) const
{
    const int decimali = qMax(m_decimali, altro.m_decimali);
    return Importo(conDecimali(decimali).m_unita + altro.conDecimali(decimali).m_unita, decimali);
}

Importo Importo::operator-(const Importo &altro) const
{
    const int decimali = qMax(m_decimali, altro.m_decimali);
    return Importo(conDecimali(decimali).m_unita - altro.conDecimali(decimali).m_unita, decimali);
}

QString Importo::valuta() const
{
    // Whole cents become the nearest double, which the locale's two decimals give back exactly.
    return QLocale().toCurrencyString(double(m_unita) / double(potenzaDieci(m_decimali)));
}

QString Importo::testoCampo() const
{
    const QLocale locale;
    const qint64 assoluto = m_unita < 0 ? -m_unita : m_unita;
    const qint64 scala = potenzaDieci(m_decimali);
    QString testo = QString::number(assoluto / scala);
    if (m_decimali > 0)
        testo += locale.decimalPoint() +
                 QString::number(assoluto % scala).rightJustified(m_decimali, QLatin1Char('0'));
    return m_unita < 0 ? locale.negativeSign() + testo : testo;
}
