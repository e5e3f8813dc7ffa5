#pragma once

#include <QByteArray>
#include <QString>

// The suite's INI reader. Sections and keys are found without regard to case; the value is
// everything after the first "=" of the line, blanks around it trimmed, further "=" and any
// ";" kept as they are (connection texts and statement templates live in these files).
// Lines starting with ";" or "#" are comments. The file is read as UTF-8 (a BOM is accepted);
// a file that is not valid UTF-8 is read as Latin-1, the way older workstations wrote it.
// LF, CR LF and bare CR line endings are all accepted. When a section or key appears more than
// once, the first occurrence in the file wins.
class cLeggiIni
{
public:
    // The value of `chiave` in `sezione` of the file; the empty text when the file cannot be
    // read or has no such section or key. Never throws.
    QString LeggiValore(const QString &file, const QString &sezione, const QString &chiave) const;

    // The same lookup on the content of a file already read.
    static QString valoreDaContenuto(const QByteArray &contenuto, const QString &sezione,
                                     const QString &chiave);
    static QString valoreDaTesto(const QString &testo, const QString &sezione,
                                 const QString &chiave);
};
