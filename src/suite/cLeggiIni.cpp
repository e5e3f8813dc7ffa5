#include "suite/cLeggiIni.h"

#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringView>

namespace {

QString decodifica(const QByteArray &contenuto)
{
    QByteArray byte = contenuto;
    if (byte.startsWith("\xEF\xBB\xBF"))
        byte.remove(0, 3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString testo = utf8.decode(byte);
    if (!utf8.hasError())
        return testo;
    return QString::fromLatin1(byte);
}

bool stessoNome(QStringView a, QStringView b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

QString cLeggiIni::LeggiValore(const QString &file, const QString &sezione,
                               const QString &chiave) const
{
    QFile ini(file);
    if (file.isEmpty() || !ini.open(QIODevice::ReadOnly))
        return QString();
    return valoreDaContenuto(ini.readAll(), sezione, chiave);
}

QString cLeggiIni::valoreDaContenuto(const QByteArray &contenuto, const QString &sezione,
                                     const QString &chiave)
{
    return valoreDaTesto(decodifica(contenuto), sezione, chiave);
}

QString cLeggiIni::valoreDaTesto(const QString &testo, const QString &sezione,
                                 const QString &chiave)
{
    // Keys written before the first section header belong to the section with no name.
    bool nellaSezione = sezione.trimmed().isEmpty();
    qsizetype inizio = 0;
    while (inizio <= testo.size()) {
        qsizetype fine = inizio;
        while (fine < testo.size() && testo.at(fine) != u'\n' && testo.at(fine) != u'\r')
            ++fine;
        const QStringView riga = QStringView(testo).mid(inizio, fine - inizio).trimmed();
        // CR LF counts as one line end.
        inizio = fine + 1;
        if (fine < testo.size() && testo.at(fine) == u'\r' && inizio < testo.size() &&
            testo.at(inizio) == u'\n')
            ++inizio;

        if (riga.isEmpty() || riga.startsWith(u';') || riga.startsWith(u'#'))
            continue;
        if (riga.startsWith(u'[')) {
            const qsizetype chiusa = riga.indexOf(u']');
            if (chiusa > 0) {
                nellaSezione = stessoNome(riga.mid(1, chiusa - 1), sezione);
                continue;
            }
        }
        if (!nellaSezione)
            continue;
        const qsizetype uguale = riga.indexOf(u'=');
        if (uguale < 0)
            continue;
        if (stessoNome(riga.left(uguale), chiave))
            return riga.mid(uguale + 1).trimmed().toString();
    }
    return QString();
}
