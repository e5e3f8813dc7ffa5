#include "suite/letterarimessa.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace LetteraRimessaTesto {

namespace {

QString e(const QString &testo)
{
    return testo.toHtmlEscaped();
}

// The non-empty lines of an address, each escaped.
QStringList righeIndirizzo(const Anagrafica &a)
{
    QStringList righe;
    if (!a.indirizzo.trimmed().isEmpty())
        righe << e(a.indirizzo.trimmed());
    const QString citta = capLocalitaProvincia(a);
    if (!citta.isEmpty())
        righe << e(citta);
    return righe;
}

} // namespace

Importo totale(const QVector<SpedizioneRimessa> &spedizioni)
{
    Importo somma;
    for (const SpedizioneRimessa &s : spedizioni)
        somma += s.importo;
    return somma;
}

QString data(const QDate &d)
{
    return d.isValid() ? QLocale().toString(d, QStringLiteral("dd/MM/yyyy")) : QString();
}

QString capLocalitaProvincia(const Anagrafica &a)
{
    QStringList parti;
    if (!a.cap.trimmed().isEmpty())
        parti << a.cap.trimmed();
    if (!a.localita.trimmed().isEmpty())
        parti << a.localita.trimmed();
    if (!a.provincia.trimmed().isEmpty())
        parti << QLatin1Char('(') + a.provincia.trimmed() + QLatin1Char(')');
    return parti.join(QLatin1Char(' '));
}

QString luogoEData(const LetteraRimessa &lettera)
{
    const QString luogo = lettera.mittente.localita.trimmed();
    return luogo.isEmpty() ? data(lettera.data) : luogo + QStringLiteral(", ") + data(lettera.data);
}

QString oggetto(const LetteraRimessa &lettera)
{
    QString testo = QStringLiteral("Rimessa contrassegni incassati per Vs. conto");
    if (lettera.numeroDistinta > 0) {
        testo += QStringLiteral(" – distinta n. ") + QString::number(lettera.numeroDistinta);
        if (lettera.dataDistinta.isValid())
            testo += QStringLiteral(" del ") + data(lettera.dataDistinta);
    }
    return testo;
}

QString saluto(const LetteraRimessa &lettera)
{
    for (const QString &riga : lettera.righe) {
        if (riga.contains(QLatin1String("salut"), Qt::CaseInsensitive))
            return QString();
    }
    return QStringLiteral("Distinti saluti.");
}

QString html(const LetteraRimessa &lettera)
{
    const Anagrafica &m = lettera.mittente;
    QString h;
    h += QStringLiteral("<html><body style=\"font-family: sans-serif; font-size: 10pt;\">");

    // Letter-head: logo on the left, the courier's data on the right.
    h += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>");
    h += QStringLiteral("<td width=\"40%\" valign=\"middle\">");
    if (!lettera.logo.isEmpty())
        h += QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\">")
                 .arg(QLatin1String(risorsaLogo))
                 .arg(lettera.logo.width())
                 .arg(lettera.logo.height());
    h += QStringLiteral("</td><td width=\"60%\" align=\"right\" valign=\"top\">");
    h += QStringLiteral("<span style=\"font-size: 13pt; font-weight: bold;\">") +
         e(m.ragioneSociale.trimmed()) + QStringLiteral("</span>");
    for (const QString &riga : righeIndirizzo(m))
        h += QStringLiteral("<br>") + riga;
    if (!m.partitaIva.trimmed().isEmpty())
        h += QStringLiteral("<br>P. IVA ") + e(m.partitaIva.trimmed());
    QStringList contatti;
    if (!m.telefono.trimmed().isEmpty())
        contatti << QStringLiteral("Tel. ") + e(m.telefono.trimmed());
    if (!m.email.trimmed().isEmpty())
        contatti << e(m.email.trimmed());
    if (!contatti.isEmpty())
        h += QStringLiteral("<br>") + contatti.join(QStringLiteral(" &middot; "));
    h += QStringLiteral("</td></tr></table><hr>");

    // The customer's address block, to the right as in a windowed envelope.
    h +=
        QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\" "
                       "style=\"margin-top: 18px;\"><tr><td width=\"55%\"></td><td width=\"45%\">");
    h += QStringLiteral("Spett.le<br><b>") + e(lettera.cliente.ragioneSociale.trimmed()) +
         QStringLiteral("</b>");
    for (const QString &riga : righeIndirizzo(lettera.cliente))
        h += QStringLiteral("<br>") + riga;
    h += QStringLiteral("</td></tr></table>");

    h += QStringLiteral("<p style=\"margin-top: 24px;\">") + e(luogoEData(lettera)) +
         QStringLiteral("</p>");
    h += QStringLiteral("<p style=\"margin-top: 12px;\"><b>Oggetto: ") + e(oggetto(lettera)) +
         QStringLiteral("</b></p>");
    if (!lettera.codiceCliente.isEmpty())
        h += QStringLiteral("<p>Codice cliente: ") + e(lettera.codiceCliente) +
             QStringLiteral("</p>");

    for (const QString &riga : lettera.righe)
        h += QStringLiteral("<p>") + e(riga) + QStringLiteral("</p>");

    // The listed waybills and their total.
    h += QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
        "style=\"border-collapse: collapse; border-color: #808080; margin-top: 12px;\">"
        "<thead><tr style=\"background-color: #e6e6e6;\">"
        "<th width=\"10%\" align=\"left\">N. LDV</th><th width=\"15%\" align=\"left\">Data</th>"
        "<th width=\"20%\" align=\"left\">Vs. riferimento</th>"
        "<th width=\"37%\" align=\"left\">Destinatario</th>"
        "<th width=\"18%\" align=\"right\">Importo</th></tr></thead>");
    for (const SpedizioneRimessa &s : lettera.spedizioni) {
        h += QStringLiteral("<tr><td style=\"white-space: nowrap;\">") + e(s.numero.trimmed()) +
             QStringLiteral("</td><td style=\"white-space: nowrap;\">") + data(s.data) +
             QStringLiteral("</td><td>") + e(s.riferimento.trimmed()) +
             QStringLiteral("</td><td>") + e(s.destinatario.trimmed()) +
             QStringLiteral("</td><td align=\"right\" style=\"white-space: nowrap;\">") +
             e(s.importo.valuta()) + QStringLiteral("</td></tr>");
    }
    const int quante = lettera.spedizioni.size();
    h += QStringLiteral("<tr><td colspan=\"4\" align=\"right\"><b>Totale (%1 %2)</b></td>")
             .arg(quante)
             .arg(quante == 1 ? QStringLiteral("spedizione") : QStringLiteral("spedizioni"));
    h += QStringLiteral("<td align=\"right\"><b>") + e(totale(lettera.spedizioni).valuta()) +
         QStringLiteral("</b></td></tr></table>");

    const QString chiusura = saluto(lettera);
    if (!chiusura.isEmpty())
        h += QStringLiteral("<p style=\"margin-top: 18px;\">") + e(chiusura) +
             QStringLiteral("</p>");

    // Signature.
    h += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\" "
                        "style=\"margin-top: 24px;\"><tr><td width=\"55%\"></td>"
                        "<td width=\"45%\" align=\"center\">");
    h += e(m.ragioneSociale.trimmed()) + QStringLiteral("<br>Ufficio contrassegni<br><br><br>"
                                                        "______________________________");
    h += QStringLiteral("</td></tr></table>");

    if (!lettera.allegato.trimmed().isEmpty())
        h += QStringLiteral("<p style=\"margin-top: 24px;\">") + e(lettera.allegato.trimmed()) +
             QStringLiteral("</p>");

    h += QStringLiteral("</body></html>");
    return h;
}

QString nomeFilePdf(const QString &codiceCliente, const QDateTime &quando, int progressivo)
{
    QString cliente = codiceCliente.trimmed();
    static const QRegularExpression estranei(QStringLiteral("[^A-Za-z0-9-]"));
    cliente.replace(estranei, QStringLiteral("_"));
    if (cliente.isEmpty())
        cliente = QStringLiteral("senza_cliente");
    QString nome = QStringLiteral("rimessa_") + cliente + QLatin1Char('_') +
                   quando.toString(QStringLiteral("yyyyMMdd_hhmmss"));
    if (progressivo > 1)
        nome += QLatin1Char('_') + QString::number(progressivo);
    return nome + QStringLiteral(".pdf");
}

} // namespace LetteraRimessaTesto
