#pragma once

#include "data/importo.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One value of a report: as the grid, the PDF and the printout show it, and as the CSV file
// carries it for a spreadsheet (amounts with a decimal comma and no currency, dates dd/mm/yyyy).
struct Cella
{
    QString mostrato;
    QString esportato;
    bool numero = false; // aligned to the right

    static Cella testo(const QString &testo);
    static Cella intero(qint64 valore);
    static Cella importo(Importo valore);
    static Cella data(const QDate &data);
    static Cella dataOra(const QDateTime &quando);
};

// A report as its window shows it and exports it: a title, a line saying what it covers, the
// column headings (a line break splits a heading on screen and on paper) and the rows.
struct Prospetto
{
    QString titolo;
    QString sottotitolo;
    QStringList intestazioni;
    QList<QList<Cella>> righe;
    // Rows from this one on are totals (printed in bold); -1 when none.
    int primaRigaTotale = -1;
};

// The CSV file Italian spreadsheets open as they are: UTF-8 with its byte-order mark, fields
// separated by ";", lines ending "\r\n", a field holding ";", a double quote or a line break
// written in double quotes with its quotes doubled.
namespace Csv {

QString campo(const QString &valore);
QString riga(const QStringList &campi);
// The amount with a decimal comma, no grouping, no currency: "1234,50", "-3,00".
QString importo(Importo valore);
// Headings (line breaks made blanks), then the rows' exported values.
QByteArray documento(const Prospetto &prospetto);

} // namespace Csv

// The report as an HTML page for QTextDocument: title, subtitle, the table with its headings.
QString htmlProspetto(const Prospetto &prospetto);
