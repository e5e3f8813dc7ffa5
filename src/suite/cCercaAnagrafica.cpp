#include "suite/cCercaAnagrafica.h"

#include "data/erroredb.h"
#include "data/recordset.h"
#include "data/sql.h"

namespace {

// "!" escapes the LIKE wildcards: a backslash would have to be escaped twice, once for LIKE and
// once for the quoted literal.
const QChar escapeLike = u'!';

QString colonna(int campo)
{
    switch (campo) {
    case cCercaAnagrafica::Codice:
        return QStringLiteral("Codice");
    case cCercaAnagrafica::RagioneSociale:
        return QStringLiteral("RagioneSociale");
    case cCercaAnagrafica::PartitaIva:
        return QStringLiteral("PartitaIva");
    case cCercaAnagrafica::Localita:
        return QStringLiteral("Localita");
    case cCercaAnagrafica::Provincia:
        return QStringLiteral("Provincia");
    }
    throw ErroreDb(cCercaAnagrafica::ArgomentoNonValido,
                   QStringLiteral("Campo di ricerca %1 non previsto.").arg(campo));
}

// The searched field as text, so that a code can be matched from its start or inside.
QString espressioneTesto(int campo)
{
    return campo == cCercaAnagrafica::Codice ? QStringLiteral("CAST(Codice AS CHAR)")
                                             : colonna(campo);
}

void controllaTipo(int tipo)
{
    if (tipo < cCercaAnagrafica::IniziaCon || tipo > cCercaAnagrafica::Uguale)
        throw ErroreDb(cCercaAnagrafica::ArgomentoNonValido,
                       QStringLiteral("Tipo di confronto %1 non previsto.").arg(tipo));
}

} // namespace

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
    const QString istruzione = istruzioneRicerca(m_tabella, m_campo, m_tipo, m_testo);
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

QString cCercaAnagrafica::modelloLike(const QString &testo, int tipo)
{
    controllaTipo(tipo);
    QString modello;
    modello.reserve(testo.size() + 4);
    if (tipo == Contiene)
        modello += u'%';
    for (const QChar c : testo) {
        if (c == escapeLike || c == u'%' || c == u'_')
            modello += escapeLike;
        modello += c;
    }
    if (tipo != Uguale)
        modello += u'%';
    return modello;
}

QString cCercaAnagrafica::istruzioneRicerca(const QString &tabella, int campo, int tipo,
                                            const QString &testo)
{
    controllaTipo(tipo);
    const QString espressione = espressioneTesto(campo);

    QString condizione;
    if (tipo == Uguale && campo == Codice) {
        const QString numero = testo.trimmed();
        condizione = Sql::eIntero(numero) ? QStringLiteral("Codice=") + Sql::intero(numero)
                                          : QStringLiteral("1=0");
    } else if (tipo == Uguale) {
        condizione = colonna(campo) + QStringLiteral("='") + Sql::testo(testo) + u'\'';
    } else {
        condizione = espressione + QStringLiteral(" LIKE '") +
                     Sql::testo(modelloLike(testo, tipo)) + QStringLiteral("' ESCAPE '") +
                     escapeLike + u'\'';
    }

    return QStringLiteral("SELECT ") + espressione +
           QStringLiteral(" AS Corrispondenza, Codice, RagioneSociale, Localita, Provincia, "
                          "Indirizzo, Cap, PartitaIva FROM ") +
           Sql::identificatore(tabella) + QStringLiteral(" WHERE ") + condizione +
           QStringLiteral(" ORDER BY ") + espressione + QStringLiteral("='") + Sql::testo(testo) +
           QStringLiteral("' DESC, RagioneSociale, Codice;");
}

cCercaClienti::cCercaClienti() : cCercaAnagrafica(QStringLiteral("clien")) {}

cCercaFornitori::cCercaFornitori() : cCercaAnagrafica(QStringLiteral("forni")) {}

cCercaDestinatari::cCercaDestinatari() : cCercaAnagrafica(QStringLiteral("destinatari")) {}
