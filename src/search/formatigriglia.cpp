#include "search/formatigriglia.h"

#include "data/importo.h"

#include <QDate>
#include <QDateTime>

namespace FormatiGriglia {

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
    // More decimals than the columns hold show rounded at the cent, as the database stores them.
    const std::optional<Importo> letto = Importo::daLetterale(valore.toString().trimmed());
    return letto ? letto->testoGriglia(locale) : valore.toString();
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
    const std::optional<Importo> letto = Importo::daLetterale(decimale.trimmed());
    return letto ? letto->valuta(locale) : QString();
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
