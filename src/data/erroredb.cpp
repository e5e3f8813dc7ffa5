#include "data/erroredb.h"

ErroreDb::ErroreDb(int numero, const QString &descrizione)
    : m_numero(numero), m_descrizione(descrizione), m_what(testo().toStdString())
{
}

ErroreDb ErroreDb::connessioneChiusa()
{
    return {ConnessioneChiusa, QStringLiteral("Operazione non consentita se l'oggetto è chiuso.")};
}

ErroreDb ErroreDb::elementoNonTrovato(const QString &nomeONumero)
{
    return {ElementoNonTrovato, QStringLiteral("Elemento non trovato nell'insieme corrispondente "
                                               "al nome o al numero richiesto: %1.")
                                    .arg(nomeONumero)};
}

ErroreDb ErroreDb::nessunRecordCorrente()
{
    return {NessunRecordCorrente,
            QStringLiteral("BOF o EOF è True oppure il record corrente è stato eliminato. "
                           "L'operazione richiesta necessita di un record corrente.")};
}

QString ErroreDb::testo() const
{
    return QString::number(m_numero) + QLatin1Char(' ') + m_descrizione;
}

const char *ErroreDb::what() const noexcept
{
    return m_what.c_str();
}
