#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class Recordset;

// The customer code field shared by the collection and the remittance windows: a typed code is
// looked up in the customer register and its name shown in the caption bar, or the customer is
// picked in the search dialog. The windows differ in the options.
class CampoCliente : public QObject
{
    Q_OBJECT
public:
    struct Opzioni
    {
        // Collection window: once a typed code is found the field is locked and not looked up
        // again. Remittance window: every leave looks the code up.
        bool bloccaDopoConvalida = false;
        // The window's clearing before a lookup or a search.
        std::function<void()> pulisci;
        // Where the focus goes after a lookup (found or not).
        QWidget *focusDopoRicerca = nullptr;
        // What the window does after a customer was picked in the search dialog.
        std::function<void()> dopoScelta;
        // The search button's dialog: the customer the operator chose (a recordset the caller
        // owns), or nothing.
        std::function<std::unique_ptr<Recordset>()> cerca;
    };

    CampoCliente(QLineEdit *txtCodiceCli, QPushButton *cmdCercaCliente, QLabel *barCliente,
                 Opzioni opzioni);

    QString CodCliente() const { return m_codCliente; }
    bool ClienteValido() const { return m_clienteValido; }
    void setClienteValido(bool valido) { m_clienteValido = valido; }

    // Looks the typed code up. Returns false when the move of the focus must be refused.
    bool ConvalidaCliente();
    // The search button: picks a customer in the search dialog.
    void CercaCliente();

    // A customer code is a plain whole number: digits only, no sign, blank or separator.
    static bool codiceValido(const QString &testo);

private:
    QLineEdit *m_txt;
    QLabel *m_bar;
    Opzioni m_opzioni;
    QString m_codCliente;
    bool m_clienteValido = false;
    bool m_appenaConvalidato = false;
    bool m_spostamentoDopoRicerca = false; // the lookup is moving the focus on
};
