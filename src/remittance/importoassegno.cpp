#include "remittance/importoassegno.h"

#include "data/erroredb.h"
#include "data/sql.h"

#include <QRegularExpression>

namespace ImportoAssegno {

namespace {

[[noreturn]] void nonValido(const QString &testo)
{
    throw ErroreDb(ErroreDb::TipoNonCorrispondente,
                   QStringLiteral("Tipo non corrispondente: l'importo dell'assegno o del bonifico "
                                  "'%1' non è valido.")
                       .arg(testo));
}

bool soloCifre(const QString &testo)
{
    for (const QChar c : testo) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The integer part: plain digits, or digits grouped by threes with the group separator.
bool parteInteraValida(const QString &intera, const QString &separatoreGruppi)
{
    if (intera.isEmpty())
        return false;
    if (!intera.contains(separatoreGruppi))
        return soloCifre(intera);
    const QStringList gruppi = intera.split(separatoreGruppi);
    for (int i = 0; i < gruppi.size(); ++i) {
        const QString &gruppo = gruppi.at(i);
        const bool lunghezzaGiusta =
            i == 0 ? (gruppo.size() >= 1 && gruppo.size() <= 3) : gruppo.size() == 3;
        if (!lunghezzaGiusta || !soloCifre(gruppo))
            return false;
    }
    return true;
}

} // namespace

QString perIstruzione(const QString &testo, const QLocale &locale)
{
    QString t = testo;
    t.remove(QStringLiteral("€"));
    t.remove(QChar::Nbsp);
    t = t.trimmed();

    bool negativo = false;
    if (t.startsWith(u'-') || t.startsWith(locale.negativeSign())) {
        negativo = true;
        t = t.mid(t.startsWith(u'-') ? 1 : locale.negativeSign().size()).trimmed();
    }

    const QString decimale = locale.decimalPoint();
    const QString gruppi = locale.groupSeparator();
    const qsizetype virgola = t.indexOf(decimale);
    QString intera = virgola < 0 ? t : t.left(virgola);
    QString decimali = virgola < 0 ? QString() : t.mid(virgola + decimale.size());

    // "12," and ",5" are read as the database reads "12." and ".5"; a separator alone is not.
    if (intera.isEmpty() && !decimali.isEmpty())
        intera = QStringLiteral("0");
    if (!parteInteraValida(intera, gruppi) || !soloCifre(decimali))
        nonValido(testo);

    intera.remove(gruppi);
    // Whole cents only: decimals past the second must be zeros (an amount is never rounded).
    while (decimali.size() > 2 && decimali.endsWith(u'0'))
        decimali.chop(1);
    if (decimali.size() > 2)
        nonValido(testo);
    while (intera.size() > 1 && intera.startsWith(u'0'))
        intera.remove(0, 1);

    QString risultato = intera;
    if (!decimali.isEmpty())
        risultato += QLatin1Char('.') + decimali;
    if (negativo && (intera != QLatin1String("0") || decimali.count(u'0') != decimali.size()))
        risultato.prepend(QLatin1Char('-'));
    if (!Sql::eDecimale(risultato))
        nonValido(testo);
    return risultato;
}

QString inValuta(const QString &decimale, const QLocale &locale)
{
    static const QRegularExpression forma(QStringLiteral("^(-?)([0-9]+)(?:\\.([0-9]{1,2}))?$"));
    const QRegularExpressionMatch m = forma.match(decimale);
    if (!m.hasMatch())
        nonValido(decimale);
    // The whole euros are grouped by the locale as an integer; the cents are joined as digits.
    const qlonglong euro = m.captured(2).toLongLong();
    const QString centesimi = m.captured(3).leftJustified(2, u'0');
    QString cifre = locale.toString(euro);
    cifre += locale.decimalPoint() + centesimi;
    const QString simbolo = locale.currencySymbol(QLocale::CurrencySymbol);
    // The locale's own currency pattern (symbol before or after, sign), applied to a sample
    // amount and then filled with the exact digits.
    const QString campione =
        locale.toCurrencyString(m.captured(1).isEmpty() ? 1.0 : -1.0, simbolo, 2);
    const QString cifreCampione = locale.toString(1.0, 'f', 2);
    return QString(campione).replace(cifreCampione, cifre);
}

} // namespace ImportoAssegno
