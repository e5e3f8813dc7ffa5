#pragma once

#include "suite/cModuliStampa.h"

#include <QString>
#include <QStringList>

struct Anagrafica;
class QImage;
struct LetteraRimessa;
class Connessione;

// The print component the suite uses when its INI file names no other one. It knows one form,
// the remittance letter (number 8): an Italian covering letter with the courier's letter-head,
// the customer's address, the letter's lines and the table of the remitted waybills with their
// total. Any other form number makes Stampa throw ErroreDb(ModuloNonPrevisto).
//
// Every letter is written as PDF into the archive folder (RISCUTI_ARCHIVIO_STAMPE, else
// ~/.local/share/BelvoraniRiscutiContrassegni/stampe or the platform's equivalent) under a name
// of its own. What happens next is chosen by RISCUTI_STAMPA:
//   "stampante"  printed on the system's default printer,
//   "anteprima"  shown in a print preview, from which the operator prints,
//   "nessuna"    the PDF copy only.
// Without the variable: "stampante", unless the session has no screen (offscreen or minimal
// platform), where only the PDF is written. When the letter should be printed and the system has
// no printer, the operator is told so and where the PDF copy is.
//
// The letter-head comes from the table azienda (its first row); a database without that table
// takes it from the section [Azienda] of the suite's INI file (keys RagioneSociale, Indirizzo,
// Cap, Localita, Provincia, PartitaIva, Telefono, Email).
class cModuliStampaPredefinito : public cModuliStampa
{
public:
    enum Uscita { Nessuna, Stampante, Anteprima, SenzaStampante };
    enum Errore {
        ModuloNonPrevisto = 5,     // a form number other than 8
        ArchivioNonScrivibile = 75 // the PDF copy could not be written
    };
    static constexpr int ModuloRimessa = 8;

    cModuliStampaPredefinito();
    ~cModuliStampaPredefinito() override;

    void setPercorsoDb(const QString &percorso) override;
    void setNumeroModulo(int numero) override;
    void setFileLogo(const QString &percorso) override;
    void DatiStampa(const QStringList &dati) override;
    // Reads the data, writes the PDF copy and prints as configured. Database refusals and a PDF
    // that cannot be written throw ErroreDb. On return `testo` holds the PDF's path and `flag`
    // is true.
    void Stampa(QString &testo, bool &flag) override;

    // The PDF written by the last Stampa, empty before the first.
    QString ultimoPdf() const { return m_ultimoPdf; }

    static Uscita uscitaConfigurata();
    // The choice of RISCUTI_STAMPA (`scelta`) in a process with or without windows, on a screen
    // or not, with or without a default printer.
    static Uscita uscita(const QString &scelta, bool conFinestre, bool conSchermo,
                         bool conStampante);
    static QString cartellaArchivio();

private:
    QString dato(int indice) const;
    LetteraRimessa leggiLettera(Connessione &connessione) const;
    static Anagrafica leggiIntestazione(Connessione &connessione);
    static QString scriviPdf(const QString &html, const QImage &logo, const QString &cliente);
    static void avvisaSenzaStampante(const QString &pdf);
    static void stampa(const QString &html, const QImage &logo, Uscita uscita);

    QString m_percorsoDb;
    int m_numeroModulo = 0;
    QString m_fileLogo;
    QStringList m_dati;
    QString m_ultimoPdf;
};
