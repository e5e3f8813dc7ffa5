#include "misure.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

const double limiteInterattiva = 50.0;
const double limitePrimeRighe = 100.0;
const double rapportoInterattiva = 1.2;
const double rapportoMassiva = 2.0;

qint64 campoStatus(const char *nome)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression riga(QStringLiteral("^%1:\\s+(\\d+)\\s+kB").arg(QLatin1String(nome)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = riga.match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

} // namespace

QVector<double> Serie::ordinati() const
{
    QVector<double> valori = m_valori;
    std::sort(valori.begin(), valori.end());
    return valori;
}

double Serie::mediana() const
{
    if (m_valori.isEmpty())
        return 0;
    const QVector<double> v = ordinati();
    const qsizetype n = v.size();
    return n % 2 ? v.at(n / 2) : (v.at(n / 2 - 1) + v.at(n / 2)) / 2;
}

double Serie::p95() const
{
    if (m_valori.isEmpty())
        return 0;
    const QVector<double> v = ordinati();
    const qsizetype rango = qsizetype(std::ceil(0.95 * double(v.size())));
    return v.at(std::clamp<qsizetype>(rango, 1, v.size()) - 1);
}

double Serie::massimo() const
{
    return m_valori.isEmpty() ? 0 : *std::max_element(m_valori.begin(), m_valori.end());
}

QString Serie::elenco() const
{
    QStringList testi;
    for (double v : m_valori)
        testi << QString::number(v, 'f', 0);
    return testi.join(QStringLiteral(", "));
}

namespace Misure {

double rapporto(const Risultato &r)
{
    if (r.limite.vuota() || r.limite.mediana() <= 0)
        return 0;
    return r.finestra.mediana() / r.limite.mediana();
}

QString esito(const Risultato &r)
{
    QStringList mancati;
    const double k = rapporto(r);
    switch (r.obiettivo) {
    case Obiettivo::Interattiva:
        if (r.finestra.p95() >= limiteInterattiva)
            mancati << QStringLiteral("p95");
        if (k > rapportoInterattiva)
            mancati << QStringLiteral("ratio");
        break;
    case Obiettivo::PrimeRighe:
        if (r.finestra.p95() >= limitePrimeRighe)
            mancati << QStringLiteral("p95");
        break;
    case Obiettivo::Massiva:
        if (k > rapportoMassiva)
            mancati << QStringLiteral("ratio");
        break;
    case Obiettivo::Nessuno:
        return QStringLiteral("—");
    }
    return mancati.isEmpty() ? QStringLiteral("met")
                             : QStringLiteral("**missed** (") + mancati.join(QStringLiteral(", ")) +
                                   QLatin1Char(')');
}

QString descrizione(Obiettivo obiettivo)
{
    switch (obiettivo) {
    case Obiettivo::Interattiva:
        return QStringLiteral("p95 < 50, ratio ≤ 1.2");
    case Obiettivo::PrimeRighe:
        return QStringLiteral("p95 < 100");
    case Obiettivo::Massiva:
        return QStringLiteral("ratio ≤ 2");
    case Obiettivo::Nessuno:
        break;
    }
    return QStringLiteral("—");
}

QString numero(double valore, int decimali)
{
    return QString::number(valore, 'f', decimali);
}

QString tabella(const QVector<Risultato> &risultati)
{
    QStringList righe;
    righe << QStringLiteral("| Action | n | Median ms | p95 ms | Lower bound ms | Ratio | Target "
                            "| Result |")
          << QStringLiteral("|---|---:|---:|---:|---:|---:|---|---|");
    QStringList note;
    for (const Risultato &r : risultati) {
        QString azione = r.azione;
        if (!r.nota.isEmpty()) {
            note << r.nota;
            azione += QStringLiteral(" (%1)").arg(note.size());
        }
        const double k = rapporto(r);
        righe << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 |")
                     .arg(azione)
                     .arg(r.finestra.numero())
                     .arg(numero(r.finestra.mediana()), numero(r.finestra.p95()),
                          r.limite.vuota() ? QStringLiteral("—") : numero(r.limite.mediana(), 2),
                          k > 0 ? numero(k, 2) : QStringLiteral("—"),
                          r.obiettivo == Obiettivo::Interattiva && r.limite.vuota()
                              ? QStringLiteral("p95 < 50")
                              : descrizione(r.obiettivo),
                          esito(r));
    }
    QString testo = righe.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (!note.isEmpty()) {
        testo += QLatin1Char('\n');
        for (int i = 0; i < note.size(); ++i)
            testo += QStringLiteral("(%1) %2\n").arg(i + 1).arg(note.at(i));
    }
    return testo;
}

qint64 memoriaResidenteKb()
{
    return campoStatus("VmRSS");
}

qint64 piccoMemoriaKb()
{
    return campoStatus("VmHWM");
}

} // namespace Misure
