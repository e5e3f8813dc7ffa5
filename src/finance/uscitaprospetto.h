#pragma once

#include <QString>

class QStandardItemModel;
class QTableView;
class QWidget;
struct Prospetto;

// Where a report goes from its window: a CSV file, a PDF file (the operator picks the file), or
// paper. A file that cannot be written throws ErroreDb.
namespace UscitaProspetto {

// Shows the report in a grid: its headings and cells, numbers to the right, totals in bold.
void mostra(QTableView *griglia, QStandardItemModel *modello, const Prospetto &prospetto);

// Asks for the file, proposing `nomeProposto` in the user's documents, and writes it; false when
// the operator cancels. Each ends with a message that says where the file is.
bool esportaCsv(QWidget *finestra, const Prospetto &prospetto, const QString &nomeProposto);
bool salvaPdf(QWidget *finestra, const Prospetto &prospetto, const QString &nomeProposto);

void scriviCsv(const QString &percorso, const Prospetto &prospetto);
// A4 landscape.
void scriviPdf(const QString &percorso, const Prospetto &prospetto);

// Prints through the print dialog on a workstation with a printer. RISCUTI_STAMPA "nessuna" (and
// a session without a screen) prints nothing, "anteprima" shows a print preview; either way,
// and without a printer, the operator is told.
void stampa(QWidget *finestra, const Prospetto &prospetto);

} // namespace UscitaProspetto
