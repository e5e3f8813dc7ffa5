#pragma once

#include "data/erroredb.h"

#include <QHash>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

class Connessione;

// A result held on the client, moved over with a cursor, read by field name (without regard to
// case) or position. Decimal columns arrive as exact text ("12.50"), dates as QDate, NULL as a
// null QVariant. A recordset opened on a bare table name can also add rows to that table.
class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // Opens on a connection the caller owns. `sorgente` is a statement or a bare table name.
    void apri(const QString &sorgente, Connessione &connessione);
    // Opens on a connection of its own made from the connection text; closed with the recordset.
    void apri(const QString &sorgente, const QString &testoConnessione);
    bool aperto() const { return m_aperto; }
    void chiudi();

    bool eof() const; // past the last row (also when empty)
    bool bof() const; // before the first row (also when empty)
    void primo();
    void successivo();
    int numeroRighe() const { return m_righe.size(); }
    int posizione() const { return m_pos; }

    int numeroCampi() const;
    QString nomeCampo(int indice) const;
    bool haCampo(const QString &nome) const;
    // Throw NessunRecordCorrente with no current row, ElementoNonTrovato for an unknown field.
    QVariant campo(const QString &nome) const;
    QVariant campo(int indice) const;

    // Adding rows to the table the recordset was opened on (a bare table name).
    void aggiungiNuovo();
    void impostaCampo(const QString &nome, const QVariant &valore);
    void aggiorna(); // writes the new row with one INSERT; throws on refusal

    // Moves forward from the current row to the first that meets a criterion of the form
    // "<campo> LIKE ('<valore>')" or "<campo> = <valore>"; returns false (and stays past the end)
    // when none does.
    bool trova(const QString &criterio);

private:
    void carica(const QString &sorgente, Connessione &connessione);
    void indicizzaCampi();
    int cercaCampo(const QString &nome) const; // -1 when there is no such field
    int indiceCampo(const QString &nome) const;
    void richiediRigaCorrente() const;

    std::unique_ptr<Connessione> m_propria;
    Connessione *m_connessione = nullptr;
    QString m_tabella; // set when opened on a bare table name
    QSqlRecord m_struttura;
    QHash<QString, int> m_indici; // lower-case field name to position
    QVector<QVector<QVariant>> m_righe;
    int m_pos = 0;
    bool m_aperto = false;
    QVector<QVariant> m_nuova;
    QVector<bool> m_impostati;
    bool m_inAggiunta = false;
};
