#pragma once

#include <QString>

#include <exception>
#include <string>

// The one error type of the component: a database refusal, a failed connection or a value that
// cannot go into a statement. The number is the server's own where there is one.
class ErroreDb : public std::exception
{
public:
    // Numbers the component raises itself (the server's numbers are used as they come).
    enum Numero {
        TipoNonCorrispondente = 13,     // a value is not the number a statement needs
        NessunRecordCorrente = 3021,    // a field read with no current row
        ElementoNonTrovato = 3265,      // a field name the row does not have
        ConnessioneChiusa = 3704,       // an operation on a closed connection or recordset
    };

    ErroreDb(int numero, const QString &descrizione);
    // The component's own errors, with their fixed texts.
    static ErroreDb connessioneChiusa();
    static ErroreDb elementoNonTrovato(const QString &nomeONumero);
    static ErroreDb nessunRecordCorrente();

    int numero() const { return m_numero; }
    QString descrizione() const { return m_descrizione; }
    // "<numero> <descrizione>", the text the windows show.
    QString testo() const;
    const char *what() const noexcept override;

private:
    int m_numero;
    QString m_descrizione;
    std::string m_what;
};
