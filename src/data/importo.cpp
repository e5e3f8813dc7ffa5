#include "data/importo.h"

#include "data/erroredb.h"
#include "data/sql.h"

#include <QStringList>

namespace {

// More whole euros than this would not fit a 64-bit count of cents.
const int cifreEuroMassime = 16;

bool soloCifre(const QString &testo)
{
    for (const QChar c : testo) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool soloZeri(const QString &cifre)
{
    return cifre.count(u'0') == cifre.size();
}

QString senzaZeriIniziali(const QString &cifre)
{
    qsizetype i = 0;
    while (i < cifre.size() && cifre.at(i) == u'0')
        ++i;
    return cifre.mid(i);
}

// A number taken apart: its digits before and after the decimal point, without grouping.
struct Parti
{
    bool negativo = false;
    QString interi;
    QString decimali;
};

// The amount of the parts, rounded half away from zero at the cent, as the database rounds a
// literal into a two-decimal column.
std::optional<Importo> inCentesimi(const Parti &parti)
{
    const QString interi = senzaZeriIniziali(parti.interi);
    if (interi.size() > cifreEuroMassime)
        return std::nullopt;
    qint64 centesimi =
        interi.toLongLong() * 100 + (parti.decimali + QStringLiteral("00")).left(2).toLongLong();
    if (parti.decimali.size() > 2 && parti.decimali.at(2) >= u'5')
        ++centesimi;
    return Importo::daCentesimi(parti.negativo ? -centesimi : centesimi);
}

// The digits as `locale` writes them: the integer part plain or grouped by threes with its group
// separator, then the decimal separator and the decimals. At least one digit.
std::optional<Parti> cifreLocale(const QString &testo, const QLocale &locale)
{
    const QString virgola = locale.decimalPoint();
    const qsizetype dove = testo.indexOf(virgola);
    Parti parti;
    parti.interi = dove < 0 ? testo : testo.left(dove);
    parti.decimali = dove < 0 ? QString() : testo.mid(dove + virgola.size());
    if ((parti.interi.isEmpty() && parti.decimali.isEmpty()) || !soloCifre(parti.decimali))
        return std::nullopt;
    const QString separatore = locale.groupSeparator();
    if (separatore.isEmpty() || !parti.interi.contains(separatore))
        return soloCifre(parti.interi) ? std::optional<Parti>(parti) : std::nullopt;
    const QStringList gruppi = parti.interi.split(separatore);
    for (qsizetype i = 0; i < gruppi.size(); ++i) {
        const qsizetype cifre = gruppi.at(i).size();
        const bool misura = i == 0 ? cifre >= 1 && cifre <= 3 : cifre == 3;
        if (!misura || !soloCifre(gruppi.at(i)))
            return std::nullopt;
    }
    parti.interi = gruppi.join(QString());
    return parti;
}

// Takes one leading sign off `testo`: the minus and plus of `locale`, "-", "+" and the minus
// sign U+2212, as the locale's number reading takes them.
void togliSegno(QString &testo, bool &negativo, const QLocale &locale)
{
    for (const QString &meno :
         {QStringLiteral("-"), QStringLiteral("\u2212"), locale.negativeSign()}) {
        if (!meno.isEmpty() && testo.startsWith(meno)) {
            negativo = true;
            testo.remove(0, meno.size());
            return;
        }
    }
    for (const QString &piu : {QStringLiteral("+"), locale.positiveSign()}) {
        if (!piu.isEmpty() && testo.startsWith(piu)) {
            testo.remove(0, piu.size());
            return;
        }
    }
}

// A number in the syntax of the locale's own reading (QLocale::toDouble), taken apart.
struct NumeroLocale
{
    Parti parti;
    qint64 esponente = 0;
    bool esponenteEnorme = false; // more than nine digits
    bool speciale = false;        // "inf" or "nan"
};

std::optional<NumeroLocale> scomponi(const QString &testo, const QLocale &locale)
{
    QString t = testo.trimmed();
    NumeroLocale numero;
    if (t.compare(QLatin1String("nan"), Qt::CaseInsensitive) == 0) {
        numero.speciale = true;
        return numero;
    }
    togliSegno(t, numero.parti.negativo, locale);
    if (t.compare(QLatin1String("inf"), Qt::CaseInsensitive) == 0) {
        numero.speciale = true;
        return numero;
    }
    const qsizetype e = t.indexOf(locale.exponential(), 0, Qt::CaseInsensitive);
    if (e >= 0) {
        QString esponente = t.mid(e + locale.exponential().size());
        t.truncate(e);
        bool negativo = false;
        togliSegno(esponente, negativo, locale);
        if (esponente.isEmpty() || !soloCifre(esponente))
            return std::nullopt;
        esponente = senzaZeriIniziali(esponente);
        numero.esponenteEnorme = esponente.size() > 9;
        if (!numero.esponenteEnorme)
            numero.esponente = negativo ? -esponente.toLongLong() : esponente.toLongLong();
    }
    const std::optional<Parti> cifre = cifreLocale(t, locale);
    if (!cifre)
        return std::nullopt;
    numero.parti.interi = cifre->interi;
    numero.parti.decimali = cifre->decimali;
    return numero;
}

bool nullo(const Parti &parti)
{
    return soloZeri(parti.interi) && soloZeri(parti.decimali);
}

// Compares the digits as the fractions 0.<a> and 0.<b>.
int confrontaCifre(const QString &a, const QString &b)
{
    const qsizetype lunghezza = qMax(a.size(), b.size());
    return a.leftJustified(lunghezza, u'0').compare(b.leftJustified(lunghezza, u'0'));
}

// The locale's reading stops where a double does: a number beyond about 1.8e308, or so small
// that it would be 0, is none.
bool entroUnDouble(const NumeroLocale &numero)
{
    const Parti &p = numero.parti;
    if (nullo(p))
        return true;
    if (numero.esponenteEnorme)
        return false;
    const QString cifre = p.interi + p.decimali;
    const qsizetype prima = cifre.size() - senzaZeriIniziali(cifre).size();
    const QString significative = cifre.mid(prima);
    // The number lies in [10^(ordine-1), 10^ordine).
    const qint64 ordine = p.interi.size() - prima + numero.esponente;
    if (ordine == 309) // below the halfway point after the largest double
        return confrontaCifre(significative, QStringLiteral("1797693134862315807937289714053")) < 0;
    if (ordine == -323) // above half the smallest double
        return confrontaCifre(significative, QStringLiteral("2470328229206232720882843964341")) > 0;
    return ordine > -323 && ordine < 309;
}

// The parts with the decimal point moved `esponente` places to the right (to the left when
// negative). Only for a number a double holds: the shift is a few hundred places at most.
Parti spostaVirgola(Parti parti, qint64 esponente)
{
    if (esponente > 0) {
        const QString decimali = parti.decimali.leftJustified(esponente, u'0');
        parti.interi += decimali.left(esponente);
        parti.decimali = parti.decimali.mid(esponente);
    } else if (esponente < 0) {
        const QString interi = parti.interi.rightJustified(-esponente, u'0');
        parti.decimali = interi.right(-esponente) + parti.decimali;
        parti.interi = interi.left(interi.size() + esponente);
    }
    return parti;
}

QString cifreEuro(qint64 centesimi)
{
    return QString::number(qAbs(centesimi) / 100);
}

QString cifreCentesimi(qint64 centesimi)
{
    return QString::number(qAbs(centesimi) % 100).rightJustified(2, u'0');
}

// The whole euros grouped and the cents, in the separators and digits of `locale`, unsigned.
QString numeroLocale(qint64 centesimi, const QLocale &locale)
{
    const qint64 assoluto = qAbs(centesimi);
    return locale.toString(assoluto / 100) + locale.decimalPoint() +
           locale.toString(assoluto % 100 / 10) + locale.toString(assoluto % 10);
}

} // namespace

std::optional<Importo> Importo::daDatabase(const QVariant &valore)
{
    if (valore.isNull())
        return std::nullopt;
    const QString testo = valore.toString().trimmed();
    const qsizetype punto = testo.indexOf(u'.');
    if (punto >= 0 && !soloZeri(testo.mid(punto + 3)))
        return std::nullopt;
    return daLetterale(testo);
}

Importo Importo::daColonna(const QVariant &valore)
{
    if (valore.isNull())
        return Importo();
    const std::optional<Importo> importo = daDatabase(valore);
    if (!importo)
        throw ErroreDb(ErroreDb::TipoNonCorrispondente,
                       QStringLiteral("Tipo non corrispondente: '%1' non è un importo.")
                           .arg(valore.toString()));
    return *importo;
}

std::optional<Importo> Importo::daLetterale(const QString &decimale)
{
    if (!Sql::eDecimale(decimale))
        return std::nullopt;
    Parti parti;
    parti.negativo = decimale.startsWith(u'-');
    const QString numero = parti.negativo ? decimale.mid(1) : decimale;
    const qsizetype punto = numero.indexOf(u'.');
    parti.interi = punto < 0 ? numero : numero.left(punto);
    parti.decimali = punto < 0 ? QString() : numero.mid(punto + 1);
    return inCentesimi(parti);
}

std::optional<Importo> Importo::daDigitato(const QString &testo, const QLocale &locale)
{
    QString t = testo;
    t.remove(QStringLiteral("€"));
    t.remove(QChar::Nbsp);
    t = t.trimmed();
    bool negativo = false;
    for (const QString &meno : {QStringLiteral("-"), locale.negativeSign()}) {
        if (!meno.isEmpty() && t.startsWith(meno)) {
            negativo = true;
            t = t.mid(meno.size()).trimmed();
            break;
        }
    }
    std::optional<Parti> parti = cifreLocale(t, locale);
    if (!parti)
        return std::nullopt;
    // Whole cents only: decimals past the second must be zeros (a typed amount is never rounded).
    if (!soloZeri(parti->decimali.mid(2)))
        return std::nullopt;
    parti->negativo = negativo;
    return inCentesimi(*parti);
}

bool Importo::eNumero(const QString &testo, const QLocale &locale)
{
    const std::optional<NumeroLocale> numero = scomponi(testo, locale);
    return numero && (numero->speciale || entroUnDouble(*numero));
}

std::optional<Importo> Importo::daNumero(const QString &testo, const QLocale &locale)
{
    const std::optional<NumeroLocale> numero = scomponi(testo, locale);
    if (!numero || numero->speciale || !entroUnDouble(*numero))
        return std::nullopt;
    if (nullo(numero->parti))
        return Importo();
    return inCentesimi(spostaVirgola(numero->parti, numero->esponente));
}

QString Importo::testoCampo(const QLocale &locale) const
{
    const QString segno = m_centesimi < 0 ? locale.negativeSign() : QString();
    return segno + cifreEuro(m_centesimi) + locale.decimalPoint() + cifreCentesimi(m_centesimi);
}

QString Importo::testoVisualizzato(const QLocale &locale) const
{
    const QString importo = QStringLiteral("€") + numeroLocale(m_centesimi, locale);
    return m_centesimi < 0 ? QLatin1Char('(') + importo + QLatin1Char(')') : importo;
}

QString Importo::valuta(const QLocale &locale) const
{
    // The locale's own currency text of one unit (or minus one) gives the layout: symbol, sign
    // and blanks; the amount takes the place of the 1.
    const QString modello = locale.toCurrencyString(qlonglong(m_centesimi < 0 ? -1 : 1));
    const QString uno = locale.toString(qlonglong(1));
    return QString(modello).replace(modello.indexOf(uno), uno.size(),
                                    numeroLocale(m_centesimi, locale));
}

QString Importo::testoGriglia(const QLocale &locale) const
{
    return zero() ? QString() : valuta(locale);
}

QString Importo::perSql() const
{
    const QString segno = m_centesimi < 0 ? QStringLiteral("-") : QString();
    return Sql::decimale(segno + cifreEuro(m_centesimi) + QLatin1Char('.') +
                         cifreCentesimi(m_centesimi));
}
