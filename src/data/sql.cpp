#include "data/sql.h"

#include "data/erroredb.h"

#include <QRegularExpression>

namespace Sql {

namespace {

[[noreturn]] void nonNumerico(const QString &valore)
{
    throw ErroreDb(ErroreDb::TipoNonCorrispondente,
                   QStringLiteral("Tipo non corrispondente: '%1' non è un numero.").arg(valore));
}

} // namespace

QString testo(const QString &valore)
{
    QString risultato;
    risultato.reserve(valore.size() + 8);
    for (const QChar c : valore) {
        switch (c.unicode()) {
        case '\\':
            risultato += QLatin1String("\\\\");
            break;
        case '\'':
            risultato += QLatin1String("\\'");
            break;
        case 0:
            risultato += QLatin1String("\\0");
            break;
        default:
            risultato += c;
        }
    }
    return risultato;
}

bool eIntero(const QString &valore)
{
    static const QRegularExpression intero(QStringLiteral("^-?[0-9]{1,18}$"));
    return intero.match(valore).hasMatch();
}

bool eDecimale(const QString &valore)
{
    // Digits before or after the point may be missing (",5" and "5," typed with a comma), as
    // the database reads them.
    static const QRegularExpression decimale(
        QStringLiteral("^-?([0-9]{1,18}(\\.[0-9]{0,18})?|\\.[0-9]{1,18})$"));
    return decimale.match(valore).hasMatch();
}

QString intero(const QString &valore)
{
    if (!eIntero(valore))
        nonNumerico(valore);
    return valore;
}

QString decimale(const QString &valore)
{
    if (!eDecimale(valore))
        nonNumerico(valore);
    return valore;
}

QDate leggiData(const QString &ggmmaaaa)
{
    if (ggmmaaaa.isEmpty() || ggmmaaaa == QLatin1String("__/__/____"))
        return QDate();
    const QDate d = QDate::fromString(ggmmaaaa, QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid())
        throw ErroreDb(
            ErroreDb::TipoNonCorrispondente,
            QStringLiteral("Tipo non corrispondente: '%1' non è una data.").arg(ggmmaaaa));
    return d;
}

QString data(const QDate &d)
{
    return d.isNull() ? QString() : d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString letterale(const QVariant &valore)
{
    if (valore.isNull())
        return QStringLiteral("NULL");
    switch (valore.typeId()) {
    case QMetaType::Bool:
        return valore.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return valore.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(valore.toDouble(), 'g', 17);
    case QMetaType::QDate:
        // A null date held in a variant is no date at all: NULL, not the empty text.
        if (valore.toDate().isNull())
            return QStringLiteral("NULL");
        return QLatin1Char('\'') + data(valore.toDate()) + QLatin1Char('\'');
    case QMetaType::QDateTime:
        if (valore.toDateTime().isNull())
            return QStringLiteral("NULL");
        return QLatin1Char('\'') +
               valore.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
               QLatin1Char('\'');
    default:
        return QLatin1Char('\'') + testo(valore.toString()) + QLatin1Char('\'');
    }
}

bool unaSolaIstruzione(const QString &istruzione)
{
    enum Stato { Codice, Virgolette, CommentoRiga, CommentoBlocco };
    Stato stato = Codice;
    QChar chiusura;      // the quote that ends the literal or quoted name being read
    bool finita = false; // a ";" has ended the first statement
    const int n = istruzione.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = istruzione.at(i);
        const QChar dopo = i + 1 < n ? istruzione.at(i + 1) : QChar();
        switch (stato) {
        case Virgolette:
            if (c == QLatin1Char('\\') && chiusura != QLatin1Char('`'))
                ++i; // an escaped character, whatever it is
            else if (c == chiusura && dopo == chiusura)
                ++i; // a doubled quote stands for itself
            else if (c == chiusura)
                stato = Codice;
            continue;
        case CommentoRiga:
            if (c == QLatin1Char('\n'))
                stato = Codice;
            continue;
        case CommentoBlocco:
            if (c == QLatin1Char('*') && dopo == QLatin1Char('/')) {
                ++i;
                stato = Codice;
            }
            continue;
        case Codice:
            break;
        }
        if (c == QLatin1Char('#') || (c == QLatin1Char('-') && dopo == QLatin1Char('-') &&
                                      (i + 2 >= n || istruzione.at(i + 2).isSpace()))) {
            stato = CommentoRiga;
            continue;
        }
        if (c == QLatin1Char('/') && dopo == QLatin1Char('*')) {
            // "/*!" and "/*M!" hold code the server runs: read on as code.
            const QString apertura = istruzione.mid(i, 4);
            if (apertura.startsWith(QLatin1String("/*!")) || apertura == QLatin1String("/*M!"))
                i += apertura == QLatin1String("/*M!") ? 3 : 2;
            else {
                ++i;
                stato = CommentoBlocco;
            }
            continue;
        }
        if (c.isSpace())
            continue;
        if (finita)
            return false; // something after the ";" that ended the first statement
        if (c == QLatin1Char(';'))
            finita = true;
        else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            stato = Virgolette;
            chiusura = c;
        }
    }
    return true;
}

QString identificatore(const QString &nome)
{
    static const QRegularExpression valido(QStringLiteral("^(`?)([A-Za-z0-9_]{1,64})\\1$"));
    const QRegularExpressionMatch m = valido.match(nome);
    if (!m.hasMatch())
        throw ErroreDb(ErroreDb::TipoNonCorrispondente,
                       QStringLiteral("Nome di tabella o di campo non valido: '%1'.").arg(nome));
    // A name that starts with a digit ("2E3PCRimessa", a station name) would be read as a
    // number: such a name is quoted. Every other name stays as written.
    const QString semplice = m.captured(2);
    return semplice.at(0).isDigit() ? QLatin1Char('`') + semplice + QLatin1Char('`') : semplice;
}

} // namespace Sql
