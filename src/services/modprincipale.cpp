#include "services/modprincipale.h"

#include "data/connessione.h"
#include "data/recordset.h"

#include <QComboBox>
#include <QWidget>
#include <QWindow>

namespace modPrincipale {

namespace {

struct Impostazioni
{
    QString percorsoDatabase;
    QString percorsoFileIni;
    QString percorsoLogo;
};

Impostazioni &impostazioni()
{
    static Impostazioni valori;
    return valori;
}

} // namespace

QString PercorsoDatabase()
{
    return impostazioni().percorsoDatabase;
}
void setPercorsoDatabase(const QString &valore)
{
    impostazioni().percorsoDatabase = valore;
}
QString PercorsoFileIni()
{
    return impostazioni().percorsoFileIni;
}
void setPercorsoFileIni(const QString &valore)
{
    impostazioni().percorsoFileIni = valore;
}
QString PercorsoLogoIntestazione()
{
    return impostazioni().percorsoLogo;
}
void setPercorsoLogoIntestazione(const QString &valore)
{
    impostazioni().percorsoLogo = valore;
}

std::unique_ptr<Connessione> &ConnessioneComune()
{
    static std::unique_ptr<Connessione> connessione;
    return connessione;
}

Connessione &ConnessioneComuneAperta()
{
    std::unique_ptr<Connessione> &connessione = ConnessioneComune();
    if (!connessione)
        connessione = std::make_unique<Connessione>(PercorsoDatabase());
    if (!connessione->aperta()) {
        connessione->setTestoConnessione(PercorsoDatabase());
        connessione->apri();
    }
    return *connessione;
}

} // namespace modPrincipale

void ChiudiConnessione(std::unique_ptr<Recordset> &recordset,
                       std::unique_ptr<Connessione> &connessione, bool rilascia,
                       bool tieniConnessione)
{
    try {
        if (recordset && recordset->aperto())
            recordset->chiudi();
    } catch (...) {
    }
    if (rilascia)
        recordset.reset();
    try {
        if (connessione && (rilascia || !tieniConnessione) && connessione->aperta())
            connessione->chiudi();
    } catch (...) {
    }
    if (rilascia)
        connessione.reset();
}

void ChiudiRecordset(std::unique_ptr<Recordset> &recordset)
{
    if (recordset && recordset->aperto())
        recordset->chiudi();
    recordset.reset();
}

void EseguiComando(const QString &istruzione)
{
    Connessione connessione(modPrincipale::PercorsoDatabase());
    connessione.apri();
    connessione.esegui(istruzione);
}

// The flag goes to the native window, which the window manager keeps mapped, placed and
// active: set on the widget, it would destroy and re-create a shown window, which comes back
// inactive with no focused field. The widget's own flags are only told, so that a later showing
// does not undo it.
void ImpostaInPrimoPiano(QWidget *finestra, bool primoPiano)
{
    if (!finestra)
        return;
    const Qt::WindowFlags flag =
        primoPiano ? finestra->windowFlags() | Qt::WindowStaysOnTopHint
                   : finestra->windowFlags() & ~Qt::WindowFlags(Qt::WindowStaysOnTopHint);
    finestra->overrideWindowFlags(flag);
    if (QWindow *nativa = finestra->windowHandle())
        nativa->setFlag(Qt::WindowStaysOnTopHint, primoPiano);
}

void CaricaCodiciIncasso(QComboBox *lista)
{
    static const char *const voci[] = {"", "In Cassa", "Invio assegno mitt.", "Invio ns assegno",
                                       "Bonifico Bancario"};
    lista->clear();
    for (int codice = 0; codice < 5; ++codice) {
        lista->addItem(QString::fromUtf8(voci[codice]));
        lista->setItemData(lista->count() - 1, codice);
    }
    // The first addition makes a combo box select it; the list is left with no entry chosen.
    lista->setCurrentIndex(-1);
}
