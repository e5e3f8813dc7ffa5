#pragma once

#include <QLocale>
#include <QString>
#include <QStyledItemDelegate>
#include <QVariant>

#include <functional>

// What the shipment grid shows for a cell value. Amounts arrive as exact decimal text ("12.50"),
// dates as QDate, NULL as a null QVariant.
namespace FormatiGriglia {

// Any cell without a formatter of its own: dates as dd/MM/yyyy, numbers without grouping, text
// as stored, NULL empty.
QString testo(const QVariant &valore);
// BorCons: "*" for a non-zero flag, empty for 0 or NULL.
QString bordero(const QVariant &valore);
// Contr, Anticip, Assegnato: empty for "0" or "0.00" (and NULL); otherwise the amount as
// currency text of `locale`, worked out from the decimal text without rounding through binary
// floating point. A value that is not a decimal number is shown as it is.
QString importo(const QVariant &valore, const QLocale &locale);
// TipoContr, TipoAnt, TipoAss: "<code>.<sent flag>" as the short text of the collection code
// ("Cassa", "Ass.Mitt.", "Ns.Ass.", "Bonifico", with "-inviato" when the flag is not "0").
// Code 0, an unknown code, or a value that is not "<number>.<flag>" show nothing.
QString statoIncasso(const QVariant &valore);

// An exact decimal text as a currency amount of `locale`; empty when `decimale` is not a plain
// decimal number with a point.
QString valuta(const QString &decimale, const QLocale &locale);

} // namespace FormatiGriglia

// A grid column's display format: the item delegate that turns a cell value into its text.
class FormatoColonna : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using Formato = std::function<QString(const QVariant &, const QLocale &)>;

    FormatoColonna(const QString &nome, Formato formato, QObject *parent = nullptr,
                   Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter);

    QString displayText(const QVariant &valore, const QLocale &locale) const override;

    // The seven formatters of the shipment list (amounts right-aligned), and the default for
    // every other column.
    static FormatoColonna *BorCons(QObject *parent);
    static FormatoColonna *Importo(const QString &nome, QObject *parent);
    static FormatoColonna *StatoIncasso(const QString &nome, QObject *parent);
    static FormatoColonna *Predefinito(QObject *parent);

protected:
    void initStyleOption(QStyleOptionViewItem *opzione, const QModelIndex &indice) const override;

private:
    Formato m_formato;
    Qt::Alignment m_allineamento;
};
