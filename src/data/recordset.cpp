#include "data/recordset.h"

#include "data/connessione.h"
#include "data/istruzioni.h"
#include "data/sql.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

namespace {

bool eNomeTabella(const QString &sorgente)
{
    static const QRegularExpression nome(QStringLiteral("^\\s*[A-Za-z0-9_]+\\s*;?\\s*$"));
    return nome.match(sorgente).hasMatch();
}

// A LIKE pattern ('%' any run, '_' one character) as an anchored regular expression.
QRegularExpression daLike(const QString &modello)
{
    QString re = QStringLiteral("^");
    for (const QChar c : modello) {
        if (c == QLatin1Char('%') || c == QLatin1Char('*'))
            re += QLatin1String(".*");
        else if (c == QLatin1Char('_'))
            re += QLatin1Char('.');
        else
            re += QRegularExpression::escape(QString(c));
    }
    re += QLatin1Char('$');
    return QRegularExpression(re, QRegularExpression::CaseInsensitiveOption |
                                      QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

Recordset::Recordset() = default;

Recordset::~Recordset()
{
    chiudi();
}

void Recordset::apri(const QString &sorgente, Connessione &connessione)
{
    chiudi();
    carica(sorgente, connessione);
}

void Recordset::apri(const QString &sorgente, const QString &testoConnessione)
{
    chiudi();
    auto propria = std::make_unique<Connessione>(testoConnessione);
    propria->apri();
    carica(sorgente, *propria);
    m_propria = std::move(propria);
}

void Recordset::carica(const QString &sorgente, Connessione &connessione)
{
    QString istruzione = sorgente;
    m_tabella.clear();
    if (eNomeTabella(sorgente)) {
        m_tabella = Sql::identificatore(sorgente.trimmed().remove(QLatin1Char(';')).trimmed());
        istruzione = Istruzioni::tuttaLaTabella(m_tabella);
    }
    Connessione::controllaIstruzione(istruzione);
    QSqlQuery query(connessione.database());
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    query.setForwardOnly(true);
    if (!query.exec(istruzione))
        Connessione::lancia(query.lastError());
    m_struttura = query.record();
    indicizzaCampi();
    const int campi = m_struttura.count();
    m_righe.clear();
    while (query.next()) {
        QVector<QVariant> riga(campi);
        for (int i = 0; i < campi; ++i)
            riga[i] = query.value(i);
        m_righe.append(std::move(riga));
    }
    if (query.lastError().isValid())
        Connessione::lancia(query.lastError());
    m_connessione = &connessione;
    m_pos = 0;
    m_aperto = true;
}

// Names are looked up without regard to case on every read: a waybill row has over a hundred
// columns, and comparing each name at every read cost more than the lookup's statement.
void Recordset::indicizzaCampi()
{
    m_indici.clear();
    m_indici.reserve(m_struttura.count());
    for (int i = 0; i < m_struttura.count(); ++i) {
        const QString chiave = m_struttura.fieldName(i).toLower();
        if (!m_indici.contains(chiave)) // of two equal names, the first is read, as by position
            m_indici.insert(chiave, i);
    }
}

int Recordset::cercaCampo(const QString &nome) const
{
    return m_indici.value(nome.toLower(), -1);
}

void Recordset::chiudi()
{
    m_righe.clear();
    m_struttura.clear();
    m_indici.clear();
    m_pos = 0;
    m_aperto = false;
    m_inAggiunta = false;
    m_connessione = nullptr;
    m_propria.reset();
}

bool Recordset::eof() const
{
    return m_pos >= m_righe.size();
}

bool Recordset::bof() const
{
    return m_pos < 0 || m_righe.isEmpty();
}

void Recordset::primo()
{
    m_pos = 0;
}

void Recordset::successivo()
{
    if (eof())
        richiediRigaCorrente();
    ++m_pos;
}

int Recordset::numeroCampi() const
{
    return m_struttura.count();
}

QString Recordset::nomeCampo(int indice) const
{
    return m_struttura.fieldName(indice);
}

bool Recordset::haCampo(const QString &nome) const
{
    return cercaCampo(nome) >= 0;
}

int Recordset::indiceCampo(const QString &nome) const
{
    const int indice = cercaCampo(nome);
    if (indice < 0)
        throw ErroreDb::elementoNonTrovato(nome);
    return indice;
}

void Recordset::richiediRigaCorrente() const
{
    if (!m_aperto)
        throw ErroreDb::connessioneChiusa();
    if (eof() || bof())
        throw ErroreDb::nessunRecordCorrente();
}

QVariant Recordset::campo(const QString &nome) const
{
    richiediRigaCorrente();
    return m_righe.at(m_pos).at(indiceCampo(nome));
}

QVariant Recordset::campo(int indice) const
{
    richiediRigaCorrente();
    if (indice < 0 || indice >= m_struttura.count())
        throw ErroreDb::elementoNonTrovato(QString::number(indice));
    return m_righe.at(m_pos).at(indice);
}

void Recordset::aggiungiNuovo()
{
    if (!m_aperto || m_tabella.isEmpty())
        throw ErroreDb(3251, QStringLiteral("L'operazione richiesta non è supportata da questo "
                                            "recordset."));
    m_nuova = QVector<QVariant>(m_struttura.count());
    m_impostati = QVector<bool>(m_struttura.count(), false);
    m_inAggiunta = true;
}

void Recordset::impostaCampo(const QString &nome, const QVariant &valore)
{
    if (!m_inAggiunta)
        throw ErroreDb(3251, QStringLiteral("Nessuna riga in aggiunta."));
    const int indice = indiceCampo(nome);
    m_nuova[indice] = valore;
    m_impostati[indice] = true;
}

void Recordset::aggiorna()
{
    if (!m_inAggiunta)
        return;
    QStringList colonne;
    QVariantList valori;
    for (int i = 0; i < m_nuova.size(); ++i) {
        if (!m_impostati.at(i))
            continue;
        colonne << m_struttura.fieldName(i);
        valori << m_nuova.at(i);
    }
    if (!colonne.isEmpty())
        m_connessione->esegui(Istruzioni::inserisciRiga(m_tabella, colonne, valori));
    m_righe.append(m_nuova);
    m_pos = m_righe.size() - 1;
    m_inAggiunta = false;
}

bool Recordset::trova(const QString &criterio)
{
    static const QRegularExpression like(
        QStringLiteral("^\\s*([A-Za-z0-9_]+)\\s+LIKE\\s*\\(?\\s*'(.*)'\\s*\\)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression uguale(
        QStringLiteral("^\\s*([A-Za-z0-9_]+)\\s*=\\s*'?(.*?)'?\\s*$"));
    QRegularExpressionMatch m = like.match(criterio);
    QRegularExpression modello;
    if (m.hasMatch()) {
        modello = daLike(m.captured(2));
    } else {
        m = uguale.match(criterio);
        if (!m.hasMatch())
            throw ErroreDb(3001,
                           QStringLiteral("Criterio di ricerca non valido: %1").arg(criterio));
        modello = QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(m.captured(2)) +
                                         QLatin1Char('$'),
                                     QRegularExpression::CaseInsensitiveOption);
    }
    const int indice = indiceCampo(m.captured(1));
    for (int pos = qMax(m_pos, 0); pos < m_righe.size(); ++pos) {
        if (modello.match(m_righe.at(pos).at(indice).toString()).hasMatch()) {
            m_pos = pos;
            return true;
        }
    }
    m_pos = m_righe.size();
    return false;
}
