#include "search/formatigriglia.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace FormatiGriglia {

namespace {

// Decimals of the locale's currency, as its own currency text of a whole number shows them.
int decimaliValuta(const QLocale &locale)
{
    const QString uno = locale.toCurrencyString(1.0);
    const int punto = uno.indexOf(locale.decimalPoint());
    if (punto < 0)
        return 0;
    int cifre = 0;
    for (int i = punto + locale.decimalPoint().size(); i < uno.size() && uno.at(i).isDigit(); ++i)
        ++cifre;
    return cifre;
}

} // namespace

QString testo(const QVariant &valore)
{
    if (valore.isNull())
        return QString();
    switch (valore.typeId()) {
    case QMetaType::QDate:
        return valore.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return valore.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    default:
        return valore.toString();
    }
}

QString bordero(const QVariant &valore)
{
    if (valore.isNull())
        return QString();
    bool numero = false;
    const qlonglong flag = valore.toLongLong(&numero);
    if (numero)
        return flag != 0 ? QStringLiteral("*") : QString();
    return valore.toBool() ? QStringLiteral("*") : QString();
}

QString importo(const QVariant &valore, const QLocale &locale)
{
    if (valore.isNull())
        return QString();
    const QString testoValore = valore.toString();
    if (testoValore == QLatin1String("0") || testoValore == QLatin1String("0.00"))
        return QString();
    const QString formattato = valuta(testoValore, locale);
    return formattato.isEmpty() ? testoValore : formattato;
}

QString statoIncasso(const QVariant &valore)
{
    const QStringList parti = valore.toString().split(QLatin1Char('.'));
    if (parti.size() < 2)
        return QString();
    bool numero = false;
    const int codice = parti.at(0).toInt(&numero);
    if (!numero || codice == 0)
        return QString();
    QString breve;
    if (parti.at(0) == QLatin1String("1"))
        breve = QStringLiteral("Cassa");
    else if (parti.at(0) == QLatin1String("2"))
        breve = QStringLiteral("Ass.Mitt.");
    else if (parti.at(0) == QLatin1String("3"))
        breve = QStringLiteral("Ns.Ass.");
    else if (parti.at(0) == QLatin1String("4"))
        breve = QStringLiteral("Bonifico");
    else
        return QString();
    if (parti.at(1) != QLatin1String("0"))
        breve += QStringLiteral("-inviato");
    return breve;
}

QString valuta(const QString &decimale, const QLocale &locale)
{
    static const QRegularExpression forma(QStringLiteral("^(-?)([0-9]{1,18})(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch m = forma.match(decimale.trimmed());
    if (!m.hasMatch())
        return QString();
    const bool negativo = !m.captured(1).isEmpty();
    const int decimali = decimaliValuta(locale);
    QString interi = m.captured(2);
    QString frazione = m.captured(3);

    // Round half away from zero at the currency's decimals, on the digits themselves.
    const bool arrotondaSu =
        frazione.size() > decimali && frazione.at(decimali) >= QLatin1Char('5');
    frazione = frazione.left(decimali).leftJustified(decimali, QLatin1Char('0'));
    QString cifre = interi + frazione;
    if (arrotondaSu) {
        int i = cifre.size() - 1;
        while (i >= 0 && cifre.at(i) == QLatin1Char('9'))
            cifre[i--] = QLatin1Char('0');
        if (i >= 0)
            cifre[i] = QChar(cifre.at(i).unicode() + 1);
        else
            cifre.prepend(QLatin1Char('1'));
    }
    interi = cifre.left(cifre.size() - decimali);
    frazione = cifre.right(decimali);
    const bool zero = !cifre.contains(QRegularExpression(QStringLiteral("[1-9]")));

    QString numero = locale.toString(interi.toLongLong());
    if (decimali > 0)
        numero += locale.decimalPoint() + frazione;

    // The locale's own currency text of 1 (or -1) gives the layout: symbol, sign and blanks.
    const bool conSegno = negativo && !zero;
    const QString modello = locale.toCurrencyString(conSegno ? -1.0 : 1.0);
    const QString uno = locale.toString(1.0, 'f', decimali);
    const int dove = modello.indexOf(uno);
    if (dove < 0)
        return QString();
    return QString(modello).replace(dove, uno.size(), numero);
}

} // namespace FormatiGriglia

FormatoColonna::FormatoColonna(const QString &nome, Formato formato, QObject *parent,
                               Qt::Alignment allineamento)
    : QStyledItemDelegate(parent), m_formato(std::move(formato)), m_allineamento(allineamento)
{
    setObjectName(nome);
}

void FormatoColonna::initStyleOption(QStyleOptionViewItem *opzione, const QModelIndex &indice) const
{
    QStyledItemDelegate::initStyleOption(opzione, indice);
    opzione->displayAlignment = m_allineamento;
}

QString FormatoColonna::displayText(const QVariant &valore, const QLocale &locale) const
{
    return m_formato(valore, locale);
}

FormatoColonna *FormatoColonna::BorCons(QObject *parent)
{
    return new FormatoColonna(
        QStringLiteral("BorCons"),
        [](const QVariant &valore, const QLocale &) { return FormatiGriglia::bordero(valore); },
        parent);
}

FormatoColonna *FormatoColonna::Importo(const QString &nome, QObject *parent)
{
    // The operator's currency is the default locale's, whatever locale the grid was given.
    return new FormatoColonna(
        nome,
        [](const QVariant &valore, const QLocale &) {
            return FormatiGriglia::importo(valore, QLocale());
        },
        parent, Qt::AlignRight | Qt::AlignVCenter);
}

FormatoColonna *FormatoColonna::StatoIncasso(const QString &nome, QObject *parent)
{
    return new FormatoColonna(
        nome,
        [](const QVariant &valore, const QLocale &) {
            return FormatiGriglia::statoIncasso(valore);
        },
        parent);
}

FormatoColonna *FormatoColonna::Predefinito(QObject *parent)
{
    return new FormatoColonna(
        QStringLiteral("FormatoPredefinito"),
        [](const QVariant &valore, const QLocale &) { return FormatiGriglia::testo(valore); },
        parent);
}
