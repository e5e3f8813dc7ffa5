#include "data/transazione.h"

#include "data/connessione.h"

Transazione::Transazione(Connessione &connessione) : m_connessione(connessione)
{
    m_connessione.iniziaTransazione();
}

Transazione::~Transazione()
{
    if (!m_connessione.inTransazione())
        return;
    try {
        m_connessione.annullaTransazione();
    } catch (...) {
        // The connection stays in its transaction and is not reused: closing drops it.
    }
}

void Transazione::conferma()
{
    m_connessione.confermaTransazione();
}
