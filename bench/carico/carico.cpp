#include "carico.h"

#include <QDate>
#include <QStringList>

namespace Carico {

namespace {

const int filialiInCoppia = 10;
const int filiali = 40;
const int clientiPerFiliale = 10;
const int primoCliente = 2001;

const char *const incassoCon[] = {"Conto Corrente", "Assegno Circolare", "Contanti"};
const char *const codiciIncasso[] = {"", "In Cassa", "Invio assegno mitt.", "Invio ns assegno",
                                     "Bonifico Bancario"};

// Euros and cents of the save's three amounts: 10.00 to 909.99, the second and third one and
// two euros more.
int euro(int id)
{
    return 10 + id % 900;
}
int centesimi(int id)
{
    return id % 100;
}
QString importo(int id, int piu, QChar separatore)
{
    return QStringLiteral("%1%2%3")
        .arg(euro(id) + piu)
        .arg(separatore)
        .arg(centesimi(id), 2, 10, QLatin1Char('0'));
}
int codice(int id, int gruppo)
{
    return 1 + (id + gruppo) % 4;
}
QDate dataIncasso(int id)
{
    return QDate(2026, 12, 1).addDays(id % 28);
}

GruppoIncasso gruppo(int id, int n, bool inviato)
{
    GruppoIncasso g;
    g.importo = importo(id, n, QLatin1Char(','));
    g.codice = codice(id, n);
    g.testoCodice = QLatin1String(codiciIncasso[g.codice]);
    g.inviato = inviato;
    return g;
}

} // namespace

int filiale(int postazione)
{
    const int n = postazione < 2 * filialiInCoppia ? postazione / 2 : postazione - filialiInCoppia;
    return n % filiali + 1;
}

QString codiceFiliale(int postazione)
{
    return QStringLiteral("%1").arg(filiale(postazione), 2, 10, QLatin1Char('0'));
}

QString nomeComputer(int postazione)
{
    return QStringLiteral("FILIALE%1-PC%2").arg(codiceFiliale(postazione)).arg(postazione + 1);
}

bool inCoppia(int postazione, int postazioni)
{
    return postazione < 2 * filialiInCoppia && (postazione ^ 1) < postazioni;
}

qint64 chiusuraCassa(int postazione, qint64 inizioMs, int secondi)
{
    return inizioMs + secondi * 500 + (filiale(postazione) - 1) * 1000;
}

QList<int> clientiFiliale(int filiale)
{
    QList<int> clienti;
    for (int k = 0; k < clientiPerFiliale; ++k)
        clienti << primoCliente + filiale - 1 + filiali * k;
    return clienti;
}

DatiIncasso datiSalvataggio(int id, const QString &numero, const QString &filiale,
                            const QString &dataLdv)
{
    DatiIncasso d;
    d.numeroLdv = numero;
    d.filiale = filiale;
    d.dataLdv = dataLdv;
    d.filialeIncasso = codiceFiliale(id / 1000);
    d.banca = QStringLiteral("Banca %1").arg(id);
    d.incassoCon = id % 3;
    d.testoIncassoCon = QLatin1String(incassoCon[d.incassoCon]);
    d.nrAssegno = QStringLiteral("S%1").arg(id);
    d.piazza = QStringLiteral("Piazza %1").arg(id);
    d.contrassegno = gruppo(id, 0, false);
    d.anticipata = gruppo(id, 1, id % 2);
    d.assegnato = gruppo(id, 2, id / 2 % 2);
    d.dataIncasso = dataIncasso(id).toString(QStringLiteral("dd/MM/yyyy"));
    d.passaggioContabile = id % 2;
    return d;
}

QString colonne()
{
    return QStringLiteral("lefinc, leban, letpin, lenras, lepiaz, leimcs, leflic, leflsc, leimap, "
                          "leflia, leflsa, leinpa, leflip, leflsp, ledtin, leflco");
}

QString colonneAttese(int id)
{
    const DatiIncasso d = datiSalvataggio(id, QString(), QString(), QString());
    const auto g = [id](const GruppoIncasso &gruppo, int n) {
        return QStringList{importo(id, n, QLatin1Char('.')), QString::number(gruppo.codice),
                           QString::number(gruppo.inviato ? 1 : 0)};
    };
    return (QStringList{d.filialeIncasso, d.banca, QString::number(d.incassoCon), d.nrAssegno,
                        d.piazza} +
            g(d.contrassegno, 0) + g(d.anticipata, 1) + g(d.assegnato, 2) +
            QStringList{dataIncasso(id).toString(Qt::ISODate),
                        QString::number(d.passaggioContabile ? 1 : 0)})
        .join(QLatin1Char('|'));
}

int idDaAssegno(const QString &nrAssegno)
{
    bool ok = false;
    const int id = nrAssegno.mid(1).toInt(&ok);
    return nrAssegno.startsWith(QLatin1Char('S')) && ok ? id : -1;
}

} // namespace Carico
