#include "finance/uscitaprospetto.h"

#include "data/erroredb.h"
#include "finance/prospetto.h"
#include "services/messaggi.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QTextDocument>

namespace UscitaProspetto {

namespace {

// The error number of a file that cannot be written.
const int fileNonScrivibile = 75;

QString scegliFile(QWidget *finestra, const QString &titolo, const QString &nomeProposto,
                   const QString &filtro)
{
    const QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(finestra, titolo, QDir(cartella).filePath(nomeProposto),
                                        filtro, nullptr, QFileDialog::DontUseNativeDialog);
}

void impostaPagina(QPrinter &stampante, const Prospetto &prospetto)
{
    stampante.setPageSize(QPageSize(QPageSize::A4));
    stampante.setPageOrientation(QPageLayout::Landscape);
    stampante.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    stampante.setDocName(prospetto.titolo);
    stampante.setCreator(QStringLiteral("BelvoraniRiscutiContrassegni"));
}

// Laid out on pages the size of the printable area, in 1/96 inch.
void componi(QTextDocument &documento, const QPrinter &stampante, const Prospetto &prospetto)
{
    documento.setDocumentMargin(0);
    documento.setPageSize(stampante.pageLayout().paintRect(QPageLayout::Point).size() * 96.0 /
                          72.0);
    documento.setHtml(htmlProspetto(prospetto));
}

[[noreturn]] void nonScritto(const QString &percorso)
{
    throw ErroreDb(
        fileNonScrivibile,
        QStringLiteral("Impossibile scrivere il file %1.").arg(QDir::toNativeSeparators(percorso)));
}

void informa(QWidget *finestra, const QString &percorso)
{
    Messaggi::informazione(
        finestra, Messaggi::titoloApplicazione(),
        QStringLiteral("Prospetto salvato in %1").arg(QDir::toNativeSeparators(percorso)));
}

bool senzaSchermo()
{
    const QString piattaforma = QGuiApplication::platformName();
    return piattaforma == QLatin1String("offscreen") || piattaforma == QLatin1String("minimal");
}

} // namespace

void mostra(QTableView *griglia, QStandardItemModel *modello, const Prospetto &prospetto)
{
    modello->clear();
    modello->setHorizontalHeaderLabels(prospetto.intestazioni);
    for (int r = 0; r < prospetto.righe.size(); ++r) {
        QList<QStandardItem *> elementi;
        for (const Cella &cella : prospetto.righe.at(r)) {
            auto *elemento = new QStandardItem(cella.mostrato);
            if (cella.numero)
                elemento->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (prospetto.primaRigaTotale >= 0 && r >= prospetto.primaRigaTotale) {
                QFont grassetto = elemento->font();
                grassetto.setBold(true);
                elemento->setFont(grassetto);
            }
            elementi << elemento;
        }
        modello->appendRow(elementi);
    }
    griglia->verticalHeader()->hide();
    griglia->resizeColumnsToContents();
}

namespace {

// Asks where to write the report, writes it there and says where it went; false when the
// operator gave no file.
bool salvaCome(QWidget *finestra, const QString &titolo, const QString &nomeProposto,
               const QString &filtro, void (*scrivi)(const QString &, const Prospetto &),
               const Prospetto &prospetto)
{
    const QString percorso = scegliFile(finestra, titolo, nomeProposto, filtro);
    if (percorso.isEmpty())
        return false;
    scrivi(percorso, prospetto);
    informa(finestra, percorso);
    return true;
}

} // namespace

bool esportaCsv(QWidget *finestra, const Prospetto &prospetto, const QString &nomeProposto)
{
    return salvaCome(finestra, QStringLiteral("Esporta in CSV"), nomeProposto,
                     QStringLiteral("File CSV (*.csv)"), scriviCsv, prospetto);
}

bool salvaPdf(QWidget *finestra, const Prospetto &prospetto, const QString &nomeProposto)
{
    return salvaCome(finestra, QStringLiteral("Salva in PDF"), nomeProposto,
                     QStringLiteral("File PDF (*.pdf)"), scriviPdf, prospetto);
}

void scriviCsv(const QString &percorso, const Prospetto &prospetto)
{
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(Csv::documento(prospetto)) < 0 ||
        !file.commit())
        nonScritto(percorso);
}

void scriviPdf(const QString &percorso, const Prospetto &prospetto)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(percorso);
    impostaPagina(pdf, prospetto);
    QTextDocument documento;
    componi(documento, pdf, prospetto);
    documento.print(&pdf);
    if (QFile(percorso).size() == 0)
        nonScritto(percorso);
}

void stampa(QWidget *finestra, const Prospetto &prospetto)
{
    const QString scelta = qEnvironmentVariable("RISCUTI_STAMPA").trimmed().toLower();
    if (scelta == QLatin1String("nessuna") || (scelta.isEmpty() && senzaSchermo())) {
        Messaggi::informazione(finestra, Messaggi::titoloApplicazione(),
                               QStringLiteral("La stampa è disattivata su questa postazione: "
                                              "salvare il prospetto in PDF."));
        return;
    }
    if (QPrinterInfo::defaultPrinter().isNull() && scelta != QLatin1String("anteprima")) {
        Messaggi::informazione(finestra, Messaggi::titoloApplicazione(),
                               QStringLiteral("Nessuna stampante installata: salvare il "
                                              "prospetto in PDF."));
        return;
    }
    QPrinter stampante(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    impostaPagina(stampante, prospetto);
    QTextDocument documento;
    componi(documento, stampante, prospetto);
    if (scelta == QLatin1String("anteprima")) {
        QPrintPreviewDialog anteprima(&stampante, finestra);
        QObject::connect(&anteprima, &QPrintPreviewDialog::paintRequested, &anteprima,
                         [&documento](QPrinter *p) { documento.print(p); });
        anteprima.exec();
        return;
    }
    QPrintDialog dialogo(&stampante, finestra);
    dialogo.setWindowTitle(QStringLiteral("Stampa ") + prospetto.titolo);
    if (dialogo.exec() == QDialog::Accepted)
        documento.print(&stampante);
}

} // namespace UscitaProspetto
