#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

#include <optional>

// A sum of money, exact to the cent: a whole number of cents, so that sums and differences never
// meet a binary fraction. Every amount is read and written here: the database's DECIMAL text,
// what an operator types, the amount field, the grid, the labels and the letter, and statements.
// Readers refuse more than 16 digits of whole euros (the columns hold 10).
class Importo
{
public:
    Importo() = default; // zero
    static Importo daCentesimi(qint64 centesimi) { return Importo(centesimi); }

    // A DECIMAL column as the server gives it ("12.50", "-3", "0.5", "1.2300"). NULL, decimals
    // past the second that are not zeros, anything else: nothing.
    static std::optional<Importo> daDatabase(const QVariant &valore);
    // A DECIMAL column read for a report or the letter: NULL is zero; anything daDatabase refuses
    // throws ErroreDb (TipoNonCorrispondente).
    static Importo daColonna(const QVariant &valore);
    // A plain decimal with a point, as Sql::decimale takes it ("1.005", ".5", "5."), the way the
    // database stores it in a two-decimal column: rounded half away from zero at the cent.
    static std::optional<Importo> daLetterale(const QString &decimale);
    // An amount as an operator writes it in `locale`: blanks and the euro sign around, a minus
    // before, the decimal separator, the group separator between groups of three digits, at most
    // two decimals that are not zeros ("€ 1.234,5" is 1234.50). Anything else, the empty text
    // included: nothing.
    static std::optional<Importo> daDigitato(const QString &testo,
                                             const QLocale &locale = QLocale());
    // Whether `locale` reads the text as a number at all, with its own syntax: blanks around, a
    // sign, grouping, decimals, an exponent, "inf" and "nan" ("1e3" is one, "12.5" in Italian is
    // not).
    static bool eNumero(const QString &testo, const QLocale &locale = QLocale());
    // Such a number rounded half away from zero at the cent; nothing when it is none, or is
    // "inf", "nan" or beyond any amount.
    static std::optional<Importo> daNumero(const QString &testo, const QLocale &locale = QLocale());

    qint64 centesimi() const { return m_centesimi; }
    bool zero() const { return m_centesimi == 0; }
    bool positivo() const { return m_centesimi > 0; }

    Importo operator+(Importo altro) const { return Importo(m_centesimi + altro.m_centesimi); }
    Importo operator-(Importo altro) const { return Importo(m_centesimi - altro.m_centesimi); }
    Importo &operator+=(Importo altro)
    {
        m_centesimi += altro.m_centesimi;
        return *this;
    }
    bool operator==(Importo altro) const { return m_centesimi == altro.m_centesimi; }
    bool operator!=(Importo altro) const { return m_centesimi != altro.m_centesimi; }
    bool operator<(Importo altro) const { return m_centesimi < altro.m_centesimi; }

    // What an amount field holds: the plain number with the decimal separator of `locale`
    // ("1234,50", "-3,00").
    QString testoCampo(const QLocale &locale = QLocale()) const;
    // What an amount field shows without the focus, "€#,##0.00;(€#,##0.00)" with the separators
    // of `locale`: "€1.234,50", "(€3,00)".
    QString testoVisualizzato(const QLocale &locale = QLocale()) const;
    // Currency text of `locale` with the cents, its symbol, sign and blanks where it puts them:
    // "1.234,50 €" in Italian (labels, letter).
    QString valuta(const QLocale &locale = QLocale()) const;
    // A cell of the shipment grid: empty for zero, otherwise valuta().
    QString testoGriglia(const QLocale &locale = QLocale()) const;
    // Bare in a statement, with a point: "1234.50", "-3.00" (through Sql::decimale).
    QString perSql() const;

private:
    explicit Importo(qint64 centesimi) : m_centesimi(centesimi) {}

    qint64 m_centesimi = 0;
};
