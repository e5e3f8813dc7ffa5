#include "suite/modulistampapredefinito.h"

#include "data/connessione.h"
#include "data/erroredb.h"
#include "data/importo.h"
#include "data/istruzioni.h"
#include "data/recordset.h"
#include "data/sql.h"
#include "services/messaggi.h"
#include "services/modprincipale.h"
#include "suite/cLeggiIni.h"
#include "suite/letterarimessa.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace {

// Largest size of the logo in the letter-head, in the document's points.
const QSize spazioLogo(210, 80);
// Server's number for a table that does not exist.
const int tabellaInesistente = 1146;

QString testoCampo(const Recordset &r, const char *nome)
{
    const QString campo = QLatin1String(nome);
    return r.haCampo(campo) ? r.campo(campo).toString() : QString();
}

void impostaPagina(QPrinter &stampante)
{
    stampante.setPageSize(QPageSize(QPageSize::A4));
    stampante.setPageOrientation(QPageLayout::Portrait);
    stampante.setPageMargins(QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);
    stampante.setDocName(QStringLiteral("Rimessa contrassegni"));
    stampante.setCreator(QStringLiteral("BelvoraniRiscutiContrassegni"));
}

// The document is laid out on pages the size of the printer's printable area, so that printing
// adds neither margins of its own nor page numbers. Its units are 1/96 inch.
void preparaDocumento(QTextDocument &documento, const QPrinter &stampante, const QString &html,
                      const QImage &logo)
{
    if (!logo.isNull())
        documento.addResource(QTextDocument::ImageResource,
                              QUrl(QLatin1String(LetteraRimessaTesto::risorsaLogo)), logo);
    documento.setDocumentMargin(0);
    documento.setPageSize(stampante.pageLayout().paintRect(QPageLayout::Point).size() * 96.0 /
                          72.0);
    documento.setHtml(html);
}

bool senzaSchermo()
{
    const QString piattaforma = QGuiApplication::platformName();
    return piattaforma == QLatin1String("offscreen") || piattaforma == QLatin1String("minimal");
}

} // namespace

cModuliStampaPredefinito::cModuliStampaPredefinito() = default;
cModuliStampaPredefinito::~cModuliStampaPredefinito() = default;

void cModuliStampaPredefinito::setPercorsoDb(const QString &percorso)
{
    m_percorsoDb = percorso;
}

void cModuliStampaPredefinito::setNumeroModulo(int numero)
{
    m_numeroModulo = numero;
}

void cModuliStampaPredefinito::setFileLogo(const QString &percorso)
{
    m_fileLogo = percorso;
}

void cModuliStampaPredefinito::DatiStampa(const QStringList &dati)
{
    m_dati = dati;
}

QString cModuliStampaPredefinito::dato(int indice) const
{
    return m_dati.value(indice);
}

cModuliStampaPredefinito::Uscita cModuliStampaPredefinito::uscita(const QString &scelta,
                                                                  bool conFinestre, bool conSchermo,
                                                                  bool conStampante)
{
    const QString voce = scelta.trimmed().toLower();
    if (voce == QLatin1String("nessuna"))
        return Nessuna;
    if (voce == QLatin1String("anteprima"))
        return conFinestre ? Anteprima : Nessuna;
    if (voce.isEmpty() && !conSchermo)
        return Nessuna;
    // "stampante", or nothing said on a machine with a screen.
    return conStampante ? Stampante : SenzaStampante;
}

cModuliStampaPredefinito::Uscita cModuliStampaPredefinito::uscitaConfigurata()
{
    return uscita(qEnvironmentVariable("RISCUTI_STAMPA"),
                  qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr,
                  !senzaSchermo(), !QPrinterInfo::defaultPrinter().isNull());
}

QString cModuliStampaPredefinito::cartellaArchivio()
{
    const QString scelta = qEnvironmentVariable("RISCUTI_ARCHIVIO_STAMPE").trimmed();
    if (!scelta.isEmpty())
        return QDir::cleanPath(scelta);
    // Under the generic data folder, not the host's own: every host of the suite files its
    // letters in the same place.
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/BelvoraniRiscutiContrassegni/stampe"));
}

void cModuliStampaPredefinito::Stampa(QString &testo, bool &flag)
{
    if (m_numeroModulo != ModuloRimessa)
        throw ErroreDb(
            ModuloNonPrevisto,
            QStringLiteral("Il modulo di stampa %1 non è previsto.").arg(m_numeroModulo));

    LetteraRimessa lettera;
    {
        Connessione connessione(m_percorsoDb);
        connessione.apri();
        lettera = leggiLettera(connessione);
    }

    // A logo that is missing or unreadable leaves the letter-head without it.
    QImage logo;
    if (!m_fileLogo.trimmed().isEmpty())
        logo.load(m_fileLogo);
    if (!logo.isNull())
        lettera.logo = logo.size().scaled(spazioLogo, Qt::KeepAspectRatio);

    const QString html = LetteraRimessaTesto::html(lettera);
    m_ultimoPdf = scriviPdf(html, logo, lettera.codiceCliente);

    const Uscita uscita = uscitaConfigurata();
    if (uscita == SenzaStampante)
        avvisaSenzaStampante(m_ultimoPdf);
    else if (uscita != Nessuna)
        stampa(html, logo, uscita);

    testo = m_ultimoPdf;
    flag = true;
}

LetteraRimessa cModuliStampaPredefinito::leggiLettera(Connessione &connessione) const
{
    LetteraRimessa lettera;
    lettera.data = QDate::currentDate();
    lettera.codiceCliente = dato(0).trimmed();
    for (int i = 2; i <= 4; ++i) {
        if (!dato(i).trimmed().isEmpty())
            lettera.righe << dato(i);
    }
    lettera.allegato = dato(5);
    lettera.mittente = leggiIntestazione(connessione);

    const QString codice = Sql::intero(lettera.codiceCliente);
    {
        Recordset cliente;
        cliente.apri(Istruzioni::indirizzoCliente(codice), connessione);
        if (cliente.eof()) {
            lettera.cliente.ragioneSociale = QStringLiteral("Cliente ") + codice;
        } else {
            lettera.cliente.ragioneSociale = testoCampo(cliente, "RagioneSociale");
            lettera.cliente.indirizzo = testoCampo(cliente, "Indirizzo");
            lettera.cliente.cap = testoCampo(cliente, "Cap");
            lettera.cliente.localita = testoCampo(cliente, "Localita");
            lettera.cliente.provincia = testoCampo(cliente, "Provincia");
            lettera.cliente.partitaIva = testoCampo(cliente, "PartitaIva");
        }
    }

    const QString query = dato(1).trimmed();
    if (query.isEmpty())
        return lettera;
    Recordset righe;
    righe.apri(query, connessione);
    // The provisional letter's query lists every customer's collections: only this customer's
    // rows belong in the letter.
    const bool filtraCliente = righe.haCampo(QStringLiteral("lecodi"));
    const qint64 numeroCliente = codice.toLongLong();
    bool unaSolaDistinta = true;
    for (righe.primo(); !righe.eof(); righe.successivo()) {
        if (filtraCliente && righe.campo(QStringLiteral("lecodi")).toLongLong() != numeroCliente)
            continue;
        SpedizioneRimessa s;
        s.numero = righe.campo(QStringLiteral("lenrlv")).toString();
        if (righe.haCampo(QStringLiteral("ledtlv")))
            s.data = righe.campo(QStringLiteral("ledtlv")).toDate();
        s.riferimento = testoCampo(righe, "lerife");
        s.destinatario = testoCampo(righe, "ledest");
        s.importo = Importo::daColonna(righe.campo(QStringLiteral("lecnss")));
        lettera.spedizioni.append(s);

        // The subject names the remittance only when every listed waybill belongs to it.
        const int distinta = righe.haCampo(QStringLiteral("lendvc"))
                                 ? righe.campo(QStringLiteral("lendvc")).toInt()
                                 : 0;
        const QDate dataDistinta = righe.haCampo(QStringLiteral("ledtvc"))
                                       ? righe.campo(QStringLiteral("ledtvc")).toDate()
                                       : QDate();
        if (lettera.spedizioni.size() == 1) {
            lettera.numeroDistinta = distinta;
            lettera.dataDistinta = dataDistinta;
        } else if (distinta != lettera.numeroDistinta || dataDistinta != lettera.dataDistinta) {
            unaSolaDistinta = false;
        }
    }
    if (!unaSolaDistinta) {
        lettera.numeroDistinta = 0;
        lettera.dataDistinta = QDate();
    }

    std::stable_sort(lettera.spedizioni.begin(), lettera.spedizioni.end(),
                     [](const SpedizioneRimessa &a, const SpedizioneRimessa &b) {
                         if (a.data != b.data)
                             return a.data < b.data;
                         const qint64 na = a.numero.trimmed().toLongLong();
                         const qint64 nb = b.numero.trimmed().toLongLong();
                         if (na != nb)
                             return na < nb;
                         return a.numero < b.numero;
                     });
    return lettera;
}

Anagrafica cModuliStampaPredefinito::leggiIntestazione(Connessione &connessione)
{
    Anagrafica a;
    try {
        Recordset azienda;
        azienda.apri(Istruzioni::intestazioneAzienda(), connessione);
        if (!azienda.eof()) {
            a.ragioneSociale = testoCampo(azienda, "RagioneSociale");
            a.indirizzo = testoCampo(azienda, "Indirizzo");
            a.cap = testoCampo(azienda, "Cap");
            a.localita = testoCampo(azienda, "Localita");
            a.provincia = testoCampo(azienda, "Provincia");
            a.partitaIva = testoCampo(azienda, "PartitaIva");
            a.telefono = testoCampo(azienda, "Telefono");
            a.email = testoCampo(azienda, "Email");
            return a;
        }
    } catch (const ErroreDb &errore) {
        if (errore.numero() != tabellaInesistente)
            throw;
    }

    // A database without the letter-head table: the suite's INI file says who we are.
    const QString ini = modPrincipale::PercorsoFileIni();
    const QString sezione = QStringLiteral("Azienda");
    cLeggiIni lettore;
    a.ragioneSociale = lettore.LeggiValore(ini, sezione, QStringLiteral("RagioneSociale"));
    a.indirizzo = lettore.LeggiValore(ini, sezione, QStringLiteral("Indirizzo"));
    a.cap = lettore.LeggiValore(ini, sezione, QStringLiteral("Cap"));
    a.localita = lettore.LeggiValore(ini, sezione, QStringLiteral("Localita"));
    a.provincia = lettore.LeggiValore(ini, sezione, QStringLiteral("Provincia"));
    a.partitaIva = lettore.LeggiValore(ini, sezione, QStringLiteral("PartitaIva"));
    a.telefono = lettore.LeggiValore(ini, sezione, QStringLiteral("Telefono"));
    a.email = lettore.LeggiValore(ini, sezione, QStringLiteral("Email"));
    return a;
}

QString cModuliStampaPredefinito::scriviPdf(const QString &html, const QImage &logo,
                                            const QString &cliente)
{
    const QString cartella = cartellaArchivio();
    if (!QDir().mkpath(cartella))
        throw ErroreDb(ArchivioNonScrivibile,
                       QStringLiteral("Impossibile creare la cartella delle stampe %1.")
                           .arg(QDir::toNativeSeparators(cartella)));

    // Reserve a name of our own: two letters of the same customer in the same second, or two
    // workstations filing into one shared folder, never overwrite each other.
    const QDateTime adesso = QDateTime::currentDateTime();
    QString percorso;
    for (int progressivo = 1; percorso.isEmpty() && progressivo < 1000; ++progressivo) {
        const QString prova =
            QDir(cartella).filePath(LetteraRimessaTesto::nomeFilePdf(cliente, adesso, progressivo));
        QFile riserva(prova);
        if (riserva.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            percorso = prova;
    }
    if (percorso.isEmpty())
        throw ErroreDb(ArchivioNonScrivibile,
                       QStringLiteral("Impossibile scrivere la copia PDF della lettera in %1.")
                           .arg(QDir::toNativeSeparators(cartella)));

    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(percorso);
    impostaPagina(pdf);
    QTextDocument documento;
    preparaDocumento(documento, pdf, html, logo);
    documento.print(&pdf);

    if (QFileInfo(percorso).size() == 0) {
        QFile::remove(percorso);
        throw ErroreDb(ArchivioNonScrivibile,
                       QStringLiteral("Impossibile scrivere la copia PDF della lettera %1.")
                           .arg(QDir::toNativeSeparators(percorso)));
    }
    return percorso;
}

// The operator expected paper: say that none came and where the letter is.
void cModuliStampaPredefinito::avvisaSenzaStampante(const QString &pdf)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    Messaggi::informazione(QApplication::activeWindow(), Messaggi::titoloApplicazione(),
                           QStringLiteral("Nessuna stampante installata: la lettera non è stata "
                                          "stampata. La copia PDF è archiviata in %1")
                               .arg(QDir::toNativeSeparators(pdf)));
}

void cModuliStampaPredefinito::stampa(const QString &html, const QImage &logo, Uscita uscita)
{
    QPrinter stampante(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    impostaPagina(stampante);
    QTextDocument documento;
    preparaDocumento(documento, stampante, html, logo);

    if (uscita == Anteprima) {
        QPrintPreviewDialog anteprima(&stampante);
        anteprima.setWindowTitle(QStringLiteral("Rimessa contrassegni - anteprima di stampa"));
        QObject::connect(&anteprima, &QPrintPreviewDialog::paintRequested, &anteprima,
                         [&documento](QPrinter *p) { documento.print(p); });
        anteprima.exec();
        return;
    }
    documento.print(&stampante);
}
