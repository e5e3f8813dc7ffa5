#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QVector>

// Milliseconds since construction (or the last riparti), with nanosecond resolution.
class Cronometro
{
public:
    Cronometro() { m_timer.start(); }
    void riparti() { m_timer.restart(); }
    double ms() const { return m_timer.nsecsElapsed() / 1e6; }

private:
    QElapsedTimer m_timer;
};

// The timings of one action, in milliseconds.
class Serie
{
public:
    void aggiungi(double ms) { m_valori.append(ms); }
    int numero() const { return int(m_valori.size()); }
    bool vuota() const { return m_valori.isEmpty(); }
    double mediana() const;
    // Nearest rank: the smallest value that at least 95% of the samples do not exceed.
    double p95() const;
    double massimo() const;
    // The samples in the order they were taken, "12, 15, 11" (0 decimals).
    QString elenco() const;

private:
    QVector<double> ordinati() const;

    QVector<double> m_valori;
};

// What an action has to meet.
enum class Obiettivo {
    Interattiva, // p95 under 50 ms, and at most 1.2 times its lower bound when it has one
    PrimeRighe,  // p95 under 100 ms (the first rows of the long list)
    Massiva,     // median at most 2 times its lower bound (a posting over 10,000 waybills)
    Nessuno,     // reported only
};

// One line of the results: the action through the window, the same statements sent bare.
struct Risultato
{
    QString azione;
    Serie finestra;
    Serie limite; // empty: the action sends no statement
    Obiettivo obiettivo = Obiettivo::Interattiva;
    QString nota;
};

namespace Misure {

// Window median over bound median; 0 when there is no bound.
double rapporto(const Risultato &r);
// "met", or what was missed.
QString esito(const Risultato &r);
QString descrizione(Obiettivo obiettivo);
// The results as a Markdown table, with the notes numbered below it.
QString tabella(const QVector<Risultato> &risultati);

// A number with a fixed count of decimals and a point ("12.3"), the way the table prints it.
QString numero(double valore, int decimali = 1);

// From /proc/self/status, in kB: the resident set now and at its peak.
qint64 memoriaResidenteKb();
qint64 piccoMemoriaKb();

} // namespace Misure
