#pragma once

#include "data/importo.h"

#include <QDate>
#include <QDateTime>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The remittance letter as data, and its layout as HTML for QTextDocument. Everything here is
// pure: the default print component reads the database and hands the values in.

// A name and address: the courier's letter-head or the customer.
struct Anagrafica
{
    QString ragioneSociale;
    QString indirizzo;
    QString cap;
    QString localita;
    QString provincia;
    QString partitaIva;
    QString telefono;
    QString email;
};

// One waybill listed in the letter.
struct SpedizioneRimessa
{
    QString numero;       // lenrlv
    QDate data;           // ledtlv
    QString riferimento;  // lerife, the sender's reference
    QString destinatario; // ledest
    Importo importo;      // lecnss
};

struct LetteraRimessa
{
    Anagrafica mittente;
    Anagrafica cliente;
    QString codiceCliente;
    QDate data;             // date of the letter
    int numeroDistinta = 0; // 0: not numbered (a provisional letter)
    QDate dataDistinta;
    QStringList righe; // the letter's own lines, empty ones already left out
    QString allegato;  // the attachment line, may be empty
    QVector<SpedizioneRimessa> spedizioni;
    QSize logo; // size at which the image resource "logo" is shown; empty: none
};

namespace LetteraRimessaTesto {

// Name under which the logo is added to the QTextDocument.
inline constexpr char risorsaLogo[] = "logo";

Importo totale(const QVector<SpedizioneRimessa> &spedizioni);
// A date as dd/mm/yyyy (the empty text for a null date).
QString data(const QDate &data);

// "Milano, 05/03/2024": the courier's town and the letter's date.
QString luogoEData(const LetteraRimessa &lettera);
QString oggetto(const LetteraRimessa &lettera);
// The closing greeting, left out when one of the letter's own lines already greets.
QString saluto(const LetteraRimessa &lettera);
// "20126 Milano (MI)", leaving out what is missing.
QString capLocalitaProvincia(const Anagrafica &a);

QString html(const LetteraRimessa &lettera);

// "rimessa_<customer>_<yyyyMMdd_hhmmss>.pdf", with "_<n>" before the extension from the second
// file of the same second on; characters that do not belong in a file name become "_".
QString nomeFilePdf(const QString &codiceCliente, const QDateTime &quando, int progressivo = 1);

} // namespace LetteraRimessaTesto
