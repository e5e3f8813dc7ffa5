#pragma once

class Connessione;

// One transaction on a connection the caller owns: begun by the constructor, committed by
// conferma(), rolled back when the guard goes without a commit (an error on the way, say). A
// rollback that fails is left to the connection, which never hands on a transaction still open.
//     Transazione transazione(connessione);
//     connessione.esegui(...);
//     transazione.conferma();
class Transazione
{
public:
    explicit Transazione(Connessione &connessione);
    ~Transazione();
    Transazione(const Transazione &) = delete;
    Transazione &operator=(const Transazione &) = delete;

    void conferma();

private:
    Connessione &m_connessione;
};
