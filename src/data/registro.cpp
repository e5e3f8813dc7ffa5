#include "data/registro.h"

#include "data/connessione.h"
#include "data/recordset.h"
#include "data/sql.h"

#include <QHash>
#include <QSysInfo>

namespace Registro {

namespace {

// The buffer the system is asked with holds 32 characters, the last for the terminator.
const int lunghezzaNomeComputer = 31;
// Key, customer, then the columns of the save.
const int primaColonnaIncasso = 4;

QVariant comeTesto(const QVariant &valore)
{
    if (valore.isNull())
        return QVariant();
    if (valore.typeId() == QMetaType::QDate)
        return Sql::data(valore.toDate());
    return valore.toString();
}

bool stessaChiave(const Istruzioni::ChiaveRimessa &a, const Istruzioni::ChiaveRimessa &b)
{
    return a.filiale == b.filiale && a.numero == b.numero && a.anno == b.anno;
}

} // namespace

QString nomeComputer()
{
    return QSysInfo::machineHostName().left(lunghezzaNomeComputer);
}

Autore autoreLocale()
{
    QString utente = qEnvironmentVariable("USER");
    for (const char *variabile : {"LOGNAME", "USERNAME"}) {
        if (utente.isEmpty())
            utente = qEnvironmentVariable(variabile);
    }
    return {nomeComputer(), utente};
}

bool presente(Connessione &connessione, bool rileggi)
{
    static QHash<QString, bool> noti;
    const QString testo = connessione.testoConnessione();
    const auto trovato = noti.constFind(testo);
    if (trovato != noti.constEnd() && !rileggi)
        return *trovato;
    Recordset conta;
    conta.apri(IstruzioniRegistro::presenza(), connessione);
    const bool esiste = conta.campo(0).toInt() > 0;
    noti.insert(testo, esiste);
    return esiste;
}

QList<StatoLdv> leggiStato(const Istruzioni::ChiaveLdv &chiave, bool blocca,
                           Connessione &connessione)
{
    Recordset righe;
    righe.apri(IstruzioniRegistro::statoIncasso(chiave, blocca), connessione);
    QList<StatoLdv> stati;
    for (righe.primo(); !righe.eof(); righe.successivo()) {
        StatoLdv stato{
            {righe.campo(0).toString(), righe.campo(1).toString(), righe.campo(2).toString()},
            righe.campo(3).toString(),
            {}};
        for (int i = primaColonnaIncasso; i < righe.numeroCampi(); ++i)
            stato.valori << comeTesto(righe.campo(i));
        stati << stato;
    }
    return stati;
}

QList<IstruzioniRegistro::Modifica> modifiche(const QList<StatoLdv> &prima,
                                              const QList<StatoLdv> &dopo)
{
    const QStringList &colonne = IstruzioniRegistro::colonneIncasso();
    QList<IstruzioniRegistro::Modifica> elenco;
    for (const StatoLdv &nuovo : dopo) {
        for (const StatoLdv &vecchio : prima) {
            if (!stessaChiave(vecchio.chiave, nuovo.chiave))
                continue;
            for (int i = 0; i < colonne.size(); ++i) {
                const QVariant a = vecchio.valori.value(i);
                const QVariant b = nuovo.valori.value(i);
                if (a.isNull() != b.isNull() || a.toString() != b.toString())
                    elenco << IstruzioniRegistro::Modifica{nuovo.chiave, nuovo.cliente,
                                                           colonne.at(i), a, b};
            }
        }
    }
    return elenco;
}

void registraIncasso(const QList<StatoLdv> &prima, const QList<StatoLdv> &dopo,
                     Connessione &connessione)
{
    const QList<IstruzioniRegistro::Modifica> cambiate = modifiche(prima, dopo);
    if (!cambiate.isEmpty())
        connessione.esegui(IstruzioniRegistro::registraIncasso(autoreLocale(), cambiate));
}

} // namespace Registro
