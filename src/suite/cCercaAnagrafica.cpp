#include "suite/cCercaAnagrafica.h"

#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "data/recordset.h"
#include "data/sql.h"

cCercaAnagrafica::cCercaAnagrafica(const QString &tabellaRegistro) : m_tabella(tabellaRegistro) {}

cCercaAnagrafica::~cCercaAnagrafica() = default;

void cCercaAnagrafica::setPercorsoDb(const QString &percorso)
{
    m_percorsoDb = percorso;
}

void cCercaAnagrafica::setTabella(const QString &tabella)
{
    if (tabella.trimmed().isEmpty())
        return;
    const QString nome = Sql::identificatore(tabella.trimmed());
    if (nome.compare(m_tabella, Qt::CaseInsensitive) != 0)
        throw ErroreDb(ArgomentoNonValido,
                       QStringLiteral("La tabella %1 non è l'anagrafica %2 di questa ricerca.")
                           .arg(nome, m_tabella));
}

void cCercaAnagrafica::setCampoRicerca(int campo)
{
    m_campo = campo;
}

void cCercaAnagrafica::setStringaRicerca(const QString &testo)
{
    m_testo = testo;
}

void cCercaAnagrafica::setTipoConfronto(int tipo)
{
    m_tipo = tipo;
}

void cCercaAnagrafica::EseguiRicerca(std::unique_ptr<Recordset> &risultato)
{
    const QString istruzione = Istruzioni::ricercaAnagrafica(m_tabella, m_campo, m_tipo, m_testo);
    auto nuovo = std::make_unique<Recordset>();
    nuovo->apri(istruzione, m_percorsoDb);
    if (nuovo->numeroRighe() > 0)
        nuovo->primo();
    risultato = std::move(nuovo);
}

void cCercaAnagrafica::ChiudiRicerca(std::unique_ptr<Recordset> &risultato)
{
    if (!risultato)
        return;
    if (risultato->aperto())
        risultato->chiudi();
    risultato.reset();
}

cCercaClienti::cCercaClienti() : cCercaAnagrafica(QStringLiteral("clien")) {}

cCercaFornitori::cCercaFornitori() : cCercaAnagrafica(QStringLiteral("forni")) {}

cCercaDestinatari::cCercaDestinatari() : cCercaAnagrafica(QStringLiteral("destinatari")) {}
