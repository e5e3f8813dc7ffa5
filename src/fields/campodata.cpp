#include "fields/campodata.h"

#include "services/messaggi.h"
#include "fields/comportamentocampo.h"

#include <QDate>
#include <QLineEdit>

namespace CampoData {

namespace {

const QString maschera = QStringLiteral("99/99/9999;_");

void impostaMaschera(QLineEdit *campo)
{
    if (campo->inputMask() != maschera)
        campo->setInputMask(maschera);
}

void suPerdita(QLineEdit *campo)
{
    if (!campo->inputMask().isEmpty() && testo(campo) == mascheraVuota())
        svuota(campo);
}

ComportamentoCampo *base(QLineEdit *campo)
{
    auto *comportamento = new ComportamentoCampo(campo);
    comportamento->suFocus = [campo] { impostaMaschera(campo); };
    comportamento->suPerditaFocus = [campo] { suPerdita(campo); };
    return comportamento;
}

} // namespace

QString testo(const QLineEdit *campo)
{
    return campo->inputMask().isEmpty() ? campo->text() : campo->displayText();
}

void svuota(QLineEdit *campo)
{
    // Taking the mask away also takes the length limit away: the field keeps its own.
    const int lunghezza = campo->maxLength();
    campo->setText(QString());
    campo->setInputMask(QString());
    campo->setText(QString());
    campo->setMaxLength(lunghezza);
}

void preparaCampo(QLineEdit *campo)
{
    campo->setInputMask(QString());
    campo->setMaxLength(10);
    campo->setToolTip(QStringLiteral("Premere F12 per la ricerca"));
}

bool eDataValida(const QString &testo)
{
    return QDate::fromString(testo, QStringLiteral("dd/MM/yyyy")).isValid();
}

ComportamentoCampo *senzaControllo(QLineEdit *campo)
{
    return base(campo);
}

ComportamentoCampo *conRicerca(QLineEdit *campo, std::function<void()> ricerca)
{
    auto *comportamento = base(campo);
    comportamento->suValidazione = [campo, ricerca] {
        const QString t = testo(campo);
        if (!t.isEmpty() && t != mascheraVuota())
            eseguiGestore(campo->window(), ricerca);
        return true;
    };
    return comportamento;
}

ComportamentoCampo *conValidita(QLineEdit *campo, const QString &messaggio)
{
    auto *comportamento = base(campo);
    comportamento->suValidazione = [campo, messaggio] {
        // Nothing typed is no wrong date, with the mask ("__/__/____") or without it (a field
        // the window emptied while it had the focus).
        const QString t = testo(campo);
        if (t.isEmpty() || t == mascheraVuota() || eDataValida(t))
            return true;
        Messaggi::mostra(campo->window(), QMessageBox::NoIcon, Messaggi::titoloApplicazione(),
                         messaggio);
        return false;
    };
    return comportamento;
}

ComportamentoCampo *conMascheraCondizionata(QLineEdit *campo, std::function<bool()> conMaschera)
{
    auto *comportamento = base(campo);
    comportamento->suFocus = [campo, conMaschera] {
        if (!conMaschera())
            return;
        campo->setMaxLength(10);
        impostaMaschera(campo);
    };
    return comportamento;
}

} // namespace CampoData
