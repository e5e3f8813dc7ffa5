#pragma once

#include <QString>

#include <memory>

class Recordset;

// The master-record search of the suite: finds customers, suppliers or recipients in their
// register table. The search dialog drives it through the operations below, in this order:
// setCampoRicerca, setTipoConfronto, setStringaRicerca, setTabella, setPercorsoDb,
// EseguiRicerca, and ChiudiRicerca for a result it does not keep.
//
// The result's fields, in this order: Corrispondenza (the searched field as text), Codice,
// RagioneSociale, Localita, Provincia, Indirizzo, Cap, PartitaIva. Rows equal to the search text
// come first, then by RagioneSociale and Codice.
//
// Matching (TipoConfronto): 1 the field starts with the text, 2 contains it, 3 equals it.
// "%" and "_" in the text match themselves. A code search (CampoRicerca 1) with type 3 and a text
// that is not a whole number finds nothing: the dialog has checked the input already, and an
// empty result is what the dialog reports as "not found".
class cCercaAnagrafica
{
public:
    enum Campo { Codice = 1, RagioneSociale = 2, PartitaIva = 3, Localita = 4, Provincia = 5 };
    enum Confronto { IniziaCon = 1, Contiene = 2, Uguale = 3 };
    // Numbers of the errors the component raises itself (ErroreDb).
    enum Errore { ArgomentoNonValido = 5 };

    virtual ~cCercaAnagrafica();
    cCercaAnagrafica(const cCercaAnagrafica &) = delete;
    cCercaAnagrafica &operator=(const cCercaAnagrafica &) = delete;

    void setPercorsoDb(const QString &percorso);
    // The dialog hands the table it means ("Clien"). Accepted when it names this register's
    // table without regard to case (an empty name too); any other name throws ErroreDb: a
    // customer search must not read the supplier register.
    void setTabella(const QString &tabella);
    int CampoRicerca() const { return m_campo; }
    void setCampoRicerca(int campo);
    void setStringaRicerca(const QString &testo);
    void setTipoConfronto(int tipo);
    // Runs the search on a connection of the result's own and puts the open result, on its first
    // row, into `risultato`. A refused statement or a field/type outside the lists above throws
    // ErroreDb and leaves `risultato` as it was. An empty result is an open, empty recordset:
    // reading a field then throws ErroreDb 3021.
    void EseguiRicerca(std::unique_ptr<Recordset> &risultato);
    // Closes the result, if open, and releases it.
    void ChiudiRicerca(std::unique_ptr<Recordset> &risultato);

    QString tabellaRegistro() const { return m_tabella; }
    int TipoConfronto() const { return m_tipo; }

protected:
    explicit cCercaAnagrafica(const QString &tabellaRegistro);

private:
    const QString m_tabella;
    QString m_percorsoDb;
    QString m_testo;
    int m_campo = RagioneSociale;
    int m_tipo = IniziaCon;
};

// Customers: table clien.
class cCercaClienti : public cCercaAnagrafica
{
public:
    cCercaClienti();
};

// Suppliers and carriers: table forni.
class cCercaFornitori : public cCercaAnagrafica
{
public:
    cCercaFornitori();
};

// Recipients: table destinatari.
class cCercaDestinatari : public cCercaAnagrafica
{
public:
    cCercaDestinatari();
};
