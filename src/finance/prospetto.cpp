#include "finance/prospetto.h"

#include <QDateTime>
#include <QLocale>

namespace {

QLocale italiano()
{
    return QLocale(QLocale::Italian, QLocale::Italy);
}

QString dataItaliana(const QDate &data)
{
    return data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

} // namespace

Cella Cella::testo(const QString &testo)
{
    return {testo, testo, false};
}

Cella Cella::intero(qint64 valore)
{
    return {QLocale().toString(valore), QString::number(valore), true};
}

Cella Cella::importo(Importo valore)
{
    return {valore.valuta(), Csv::importo(valore), true};
}

Cella Cella::data(const QDate &data)
{
    return {dataItaliana(data), dataItaliana(data), false};
}

Cella Cella::dataOra(const QDateTime &quando)
{
    const QString testo = quando.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss.zzz"));
    return {testo, testo, false};
}

namespace Csv {

QString campo(const QString &valore)
{
    static const QString speciali = QStringLiteral(";\"\r\n");
    for (const QChar carattere : valore) {
        if (speciali.contains(carattere)) {
            QString quotato = valore;
            quotato.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            return QLatin1Char('"') + quotato + QLatin1Char('"');
        }
    }
    return valore;
}

QString riga(const QStringList &campi)
{
    QStringList quotati;
    for (const QString &valore : campi)
        quotati << campo(valore);
    return quotati.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

QString importo(Importo valore)
{
    return valore.testoCampo(italiano());
}

QByteArray documento(const Prospetto &prospetto)
{
    QStringList intestazioni;
    for (const QString &intestazione : prospetto.intestazioni)
        intestazioni << QString(intestazione).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString testo = riga(intestazioni);
    for (const QList<Cella> &celle : prospetto.righe) {
        QStringList valori;
        for (const Cella &cella : celle)
            valori << cella.esportato;
        testo += riga(valori);
    }
    return QByteArray("\xEF\xBB\xBF") + testo.toUtf8();
}

} // namespace Csv

QString htmlProspetto(const Prospetto &prospetto)
{
    QString html =
        QStringLiteral("<html><body style=\"font-family: sans-serif; font-size: 7pt\">"
                       "<h2>%1</h2><p>%2</p><table border=\"1\" cellspacing=\"0\" "
                       "cellpadding=\"3\" width=\"100%\"><tr>")
            .arg(prospetto.titolo.toHtmlEscaped(), prospetto.sottotitolo.toHtmlEscaped());
    for (const QString &intestazione : prospetto.intestazioni)
        html += QStringLiteral("<th bgcolor=\"#dde4ee\">%1</th>")
                    .arg(intestazione.toHtmlEscaped().replace(QLatin1Char('\n'),
                                                              QStringLiteral("<br>")));
    html += QStringLiteral("</tr>");
    for (int r = 0; r < prospetto.righe.size(); ++r) {
        const bool totale = prospetto.primaRigaTotale >= 0 && r >= prospetto.primaRigaTotale;
        html += QStringLiteral("<tr>");
        for (const Cella &cella : prospetto.righe.at(r)) {
            QString testo = cella.mostrato.toHtmlEscaped();
            if (totale)
                testo = QStringLiteral("<b>") + testo + QStringLiteral("</b>");
            // Cells never break (16 columns fit a landscape page); headings do.
            html +=
                QStringLiteral("<td align=\"%1\" style=\"white-space: nowrap\">%2</td>")
                    .arg(cella.numero ? QStringLiteral("right") : QStringLiteral("left"), testo);
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}
