#include "data/testoconnessione.h"

#include <QList>
#include <QPair>

namespace {

using Coppie = QList<QPair<QString, QString>>;

// Splits "k=v;k={a;b};k="x;y"" into trimmed pairs; a value in braces or double quotes may hold ';',
// and its closing character doubled.
Coppie dividi(const QString &testo)
{
    Coppie coppie;
    int i = 0;
    const int n = testo.size();
    while (i < n) {
        const int uguale = testo.indexOf(QLatin1Char('='), i);
        const int puntoVirgola = testo.indexOf(QLatin1Char(';'), i);
        if (uguale < 0 || (puntoVirgola >= 0 && puntoVirgola < uguale)) {
            // A fragment without "=" (or an empty one) carries nothing.
            if (puntoVirgola < 0)
                break;
            i = puntoVirgola + 1;
            continue;
        }
        const QString chiave = testo.mid(i, uguale - i).trimmed();
        int j = uguale + 1;
        while (j < n && testo.at(j).isSpace())
            ++j;
        QString valore;
        if (j < n && (testo.at(j) == QLatin1Char('{') || testo.at(j) == QLatin1Char('"'))) {
            // Inside, the closing character written twice stands for itself ("}}", """").
            const QChar chiusura =
                testo.at(j) == QLatin1Char('{') ? QLatin1Char('}') : QLatin1Char('"');
            ++j;
            while (j < n) {
                if (testo.at(j) == chiusura) {
                    if (j + 1 < n && testo.at(j + 1) == chiusura) {
                        valore += chiusura;
                        j += 2;
                        continue;
                    }
                    break;
                }
                valore += testo.at(j++);
            }
            ++j;
            const int dopo = testo.indexOf(QLatin1Char(';'), j);
            i = dopo < 0 ? n : dopo + 1;
        } else {
            const int fine = testo.indexOf(QLatin1Char(';'), j);
            valore = testo.mid(j, (fine < 0 ? n : fine) - j).trimmed();
            i = fine < 0 ? n : fine + 1;
        }
        coppie.append({chiave, valore});
    }
    return coppie;
}

bool una(const QString &chiave, std::initializer_list<const char *> nomi)
{
    for (const char *nome : nomi)
        if (chiave.compare(QLatin1String(nome), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// "SSL_CA", "Ssl-Ca", "sslca" all name SslCa: compared without the separators.
bool chiaveTls(const QString &chiave, const char *nome)
{
    QString compatta = chiave;
    compatta.remove(QLatin1Char('_')).remove(QLatin1Char('-'));
    return compatta.compare(QLatin1String(nome), Qt::CaseInsensitive) == 0;
}

ModoTls modoTls(const QString &valore)
{
    static const struct
    {
        const char *nome;
        ModoTls modo;
    } modi[] = {{"DISABLED", ModoTls::Disabilitato},
                {"PREFERRED", ModoTls::Preferito},
                {"REQUIRED", ModoTls::Richiesto},
                {"VERIFY_CA", ModoTls::VerificaCa},
                {"VERIFY_IDENTITY", ModoTls::VerificaIdentita}};
    for (const auto &m : modi)
        if (valore.compare(QLatin1String(m.nome), Qt::CaseInsensitive) == 0)
            return m.modo;
    return ModoTls::Sconosciuto;
}

// A text that names TLS files but no mode wants TLS, and wants the CA it names checked.
ModoTls modoSenzaSslMode(const ParametriConnessione &p)
{
    if (!p.sslCa.isEmpty())
        return ModoTls::VerificaCa;
    if (!p.sslCert.isEmpty() || !p.sslKey.isEmpty() || !p.sslCipher.isEmpty())
        return ModoTls::Richiesto;
    return ModoTls::Disabilitato;
}

void applica(const QString &testo, ParametriConnessione &p)
{
    for (const auto &[chiave, valore] : dividi(testo)) {
        if (una(chiave, {"Extended Properties"}))
            applica(valore, p);
        else if (una(chiave, {"Server", "Data Source", "Host", "Address"}))
            p.host = valore;
        else if (una(chiave, {"Port"}))
            p.porta = valore.toInt();
        else if (una(chiave, {"Database", "Initial Catalog", "DB"}))
            p.database = valore;
        else if (una(chiave, {"Uid", "User", "User ID", "UserName"}))
            p.utente = valore;
        else if (una(chiave, {"Pwd", "Password"}))
            p.password = valore;
        else if (una(chiave, {"Socket"}))
            p.socket = valore;
        else if (chiaveTls(chiave, "SslMode"))
            p.testoModoTls = valore;
        else if (chiaveTls(chiave, "SslCa"))
            p.sslCa = valore;
        else if (chiaveTls(chiave, "SslCert"))
            p.sslCert = valore;
        else if (chiaveTls(chiave, "SslKey"))
            p.sslKey = valore;
        else if (chiaveTls(chiave, "SslCipher"))
            p.sslCipher = valore;
    }
}

} // namespace

ParametriConnessione leggiTestoConnessione(const QString &testo)
{
    ParametriConnessione p;
    applica(testo, p);
    if (p.host.isEmpty())
        p.host = QStringLiteral("localhost");
    p.modoTls = p.testoModoTls.isEmpty() ? modoSenzaSslMode(p) : modoTls(p.testoModoTls);
    return p;
}
