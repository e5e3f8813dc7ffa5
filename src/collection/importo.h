#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// An amount as the database gives it, exact decimal text ("12.50", "-3", "0.5"), held as a whole
// number of units of its last decimal place: sums and comparisons never meet a binary fraction.
class Importo
{
public:
    Importo() = default;

    // The amount of a column value; nothing for NULL or a value that is not a plain decimal
    // number with a point.
    static std::optional<Importo> leggi(const QVariant &valore);

    bool zero() const { return m_unita == 0; }
    bool positivo() const { return m_unita > 0; }

    Importo operator+(const Importo &altro) const;
    Importo operator-(const Importo &altro) const;

    // Currency text of the default locale ("1.234,50 €" in Italian).
    QString valuta() const;
    // The plain number with the default locale's decimal separator and the stored decimals
    // ("12.50" -> "12,50"): what an amount field holds.
    QString testoCampo() const;

private:
    Importo(qint64 unita, int decimali) : m_unita(unita), m_decimali(decimali) {}
    Importo conDecimali(int decimali) const;

    qint64 m_unita = 0;
    int m_decimali = 0;
};
