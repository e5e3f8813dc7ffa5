#include "data/erroredb.h"

ErroreDb::ErroreDb(int numero, const QString &descrizione)
    : m_numero(numero), m_descrizione(descrizione), m_what(testo().toStdString())
{
}

QString ErroreDb::testo() const
{
    return QString::number(m_numero) + QLatin1Char(' ') + m_descrizione;
}

const char *ErroreDb::what() const noexcept
{
    return m_what.c_str();
}
