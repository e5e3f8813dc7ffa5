#include "fields/campocliente.h"

#include "services/messaggi.h"
#include "services/modprincipale.h"
#include "data/connessione.h"
#include "data/istruzioni.h"
#include "data/recordset.h"
#include "fields/comportamentocampo.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace {

// Enter in the code field asks for the focus to move to the search button; the key goes on.
class InvioAlPulsante : public QObject
{
public:
    InvioAlPulsante(QLineEdit *campo, QPushButton *pulsante) : QObject(campo), m_pulsante(pulsante)
    {
        campo->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() == QEvent::KeyPress) {
            const int tasto = static_cast<QKeyEvent *>(evento)->key();
            if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter)
                m_pulsante->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }

private:
    QPushButton *m_pulsante;
};

} // namespace

CampoCliente::CampoCliente(QLineEdit *txtCodiceCli, QPushButton *cmdCercaCliente,
                           QLabel *barCliente, Opzioni opzioni)
    : QObject(txtCodiceCli), m_txt(txtCodiceCli), m_bar(barCliente), m_opzioni(std::move(opzioni))
{
    new InvioAlPulsante(txtCodiceCli, cmdCercaCliente);
    auto *comportamento = new ComportamentoCampo(txtCodiceCli);
    // Leaving the field validates it; the focus loss that follows an accepted validation does not
    // look the same code up a second time.
    comportamento->suValidazione = [this] {
        if (m_spostamentoDopoRicerca)
            return true;
        m_appenaConvalidato = true;
        bool esito = true;
        eseguiGestore(m_txt->window(), [&] { esito = ConvalidaCliente(); });
        return esito;
    };
    comportamento->suPerditaFocus = [this] {
        const bool giaFatto = m_appenaConvalidato || m_spostamentoDopoRicerca;
        m_appenaConvalidato = false;
        if (!giaFatto && !m_txt->text().isEmpty())
            eseguiGestore(m_txt->window(), [this] { ConvalidaCliente(); });
    };
    connect(cmdCercaCliente, &QPushButton::clicked, this,
            [this] { eseguiGestore(m_txt->window(), [this] { CercaCliente(); }); });
}

bool CampoCliente::codiceValido(const QString &testo)
{
    static const QRegularExpression cifre(QStringLiteral("^[0-9]{1,9}$"));
    return cifre.match(testo).hasMatch();
}

bool CampoCliente::ConvalidaCliente()
{
    if (m_opzioni.bloccaDopoConvalida && m_clienteValido)
        return true;
    m_codCliente = m_txt->text();
    if (m_opzioni.pulisci)
        m_opzioni.pulisci();
    if (!codiceValido(m_txt->text())) {
        Messaggi::avviso(m_txt->window(), Messaggi::titoloApplicazione(),
                         QStringLiteral("Codice cliente assente o errato"));
        return false;
    }
    Recordset cliente;
    cliente.apri(Istruzioni::nomeCliente(m_codCliente), modPrincipale::PercorsoDatabase());
    if (!cliente.eof()) {
        m_bar->setText(cliente.campo(0).toString());
        if (m_opzioni.bloccaDopoConvalida) {
            m_clienteValido = true;
            m_txt->setReadOnly(true);
        }
    } else {
        Messaggi::informazione(m_txt->window(), Messaggi::titoloSuite(),
                               QStringLiteral("Codice Cliente Inesistente"));
    }
    cliente.chiudi();
    // The lookup may run while the focus is already on its way elsewhere: move it once that
    // move has ended. Leaving the field this way looks nothing up again: the window's activation
    // looks the code up with the focus still in the field, and an unknown code would otherwise
    // clear the window and bring its message back.
    if (QWidget *dopo = m_opzioni.focusDopoRicerca) {
        QTimer::singleShot(0, this, [this, dopo] {
            m_spostamentoDopoRicerca = true;
            dopo->setFocus(Qt::OtherFocusReason);
            m_spostamentoDopoRicerca = false;
        });
    }
    return true;
}

void CampoCliente::CercaCliente()
{
    if (m_opzioni.pulisci)
        m_opzioni.pulisci();
    std::unique_ptr<Recordset> record = m_opzioni.cerca ? m_opzioni.cerca() : nullptr;
    if (!record) {
        m_clienteValido = false;
        return;
    }
    if (record->aperto() && !record->eof() && !record->bof()) {
        m_codCliente = record->campo(1).toString();
        m_txt->setText(m_codCliente);
        m_bar->setText(record->campo(QStringLiteral("RagioneSociale")).toString());
        std::unique_ptr<Connessione> nessuna;
        ChiudiConnessione(record, nessuna, false, false);
        if (m_opzioni.dopoScelta)
            m_opzioni.dopoScelta();
    }
}
