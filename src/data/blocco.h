#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Connessione;

// Statements made by the builders, sent several to a round trip on a connection the caller owns
// (inside its transaction, if one is open). Each statement is checked alone before it joins the
// block; the server runs a block's statements in order and stops at the first it refuses, which
// is thrown as ErroreDb with the server's number and text, as a single statement's would be.
//     BloccoIstruzioni blocco(connessione);
//     for (...) blocco.aggiungi(Istruzioni::...);   // sends whenever the block is full
//     blocco.invia();                                // sends the rest
// Statements still waiting when the block goes (after a refusal, say) are never sent.
class BloccoIstruzioni
{
public:
    // A block stays under `byteMassimi` bytes of text (one statement longer than that goes
    // alone); 0 takes a quarter of the server's max_allowed_packet, at most byteBlocco.
    explicit BloccoIstruzioni(Connessione &connessione, int byteMassimi = 0);
    BloccoIstruzioni(const BloccoIstruzioni &) = delete;
    BloccoIstruzioni &operator=(const BloccoIstruzioni &) = delete;

    static constexpr int byteBlocco = 1024 * 1024;

    void aggiungi(const QString &istruzione);
    // Sends the statements still waiting, if any.
    void invia();
    int inAttesa() const { return int(m_istruzioni.size()); }
    // Called after each block the server has run, with the statements run so far: progress
    // that follows the server, not the queue.
    void setDopoInvio(std::function<void(int eseguite)> dopoInvio)
    {
        m_dopoInvio = std::move(dopoInvio);
    }
    int byteMassimi() const { return m_byteMassimi; }

private:
    Connessione &m_connessione;
    int m_byteMassimi;
    QStringList m_istruzioni;
    int m_byte = 0;
    int m_eseguite = 0;
    std::function<void(int)> m_dopoInvio;
};
