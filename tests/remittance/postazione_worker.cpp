// One workstation of the concurrent-stations suite, in a process of its own: it opens the
// remittance window offscreen, types a customer, a type and a period as an operator does, says
// "pronto" and waits for the barrier file, then presses the remittance button, answers Yes and
// reports on standard output what it saw, one "kind|value" line each:
//     tabella|<work table of this station>
//     query|<entry 1 of the letter data>
//     riga|<lefili>|<lenrlv>|<leanlv>|<lecodi>|<lendvc>   (rows the letter listed)
//     messaggio|<text of each message box>
// Arguments: <connection text> <INI file> <customer> <type> <from dd/mm/yyyy> <to dd/mm/yyyy>
//            <barrier file> [<cheque reference> <bank> <amount>]
#include "services/modprincipale.h"
#include "data/erroredb.h"
#include "data/recordset.h"
#include "remittance/frmrimessa.h"
#include "remittance/postazione.h"
#include "suite/RegistroComponenti.h"
#include "suite/cModuliStampa.h"
#include "suite/creamodulistampa.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

void scrivi(const QString &tipo, const QString &valore)
{
    QString riga = valore;
    riga.replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
    std::printf("%s|%s\n", qPrintable(tipo), riga.toUtf8().constData());
    std::fflush(stdout);
}

// The letter of this station: the rows of the query it is given, read on a connection of its
// own, as the suite's printer reads them.
class StampaPostazione : public cModuliStampa
{
public:
    void setPercorsoDb(const QString &percorso) override { m_percorso = percorso; }
    void setNumeroModulo(int) override {}
    void setFileLogo(const QString &) override {}
    void DatiStampa(const QStringList &dati) override { m_query = dati.value(1); }
    void Stampa(QString &, bool &) override
    {
        scrivi(QStringLiteral("query"), m_query);
        Recordset righe;
        righe.apri(m_query, m_percorso);
        for (righe.primo(); !righe.eof(); righe.successivo()) {
            QStringList valori;
            for (const char *campo : {"lefili", "lenrlv", "leanlv", "lecodi", "lendvc"})
                valori << righe.campo(QLatin1String(campo)).toString();
            scrivi(QStringLiteral("riga"), valori.join(QLatin1Char('|')));
        }
    }

private:
    QString m_percorso;
    QString m_query;
};

[[noreturn]] void fallisce(const QString &motivo)
{
    scrivi(QStringLiteral("errore"), motivo);
    std::exit(1);
}

template <typename T> T *controllo(QWidget *finestra, const char *nome)
{
    T *trovato = finestra->findChild<T *>(QLatin1String(nome));
    if (!trovato)
        fallisce(QStringLiteral("nessun controllo %1").arg(QLatin1String(nome)));
    return trovato;
}

void attendi(const std::function<bool()> &condizione, const char *cosa, int millisecondi = 20000)
{
    if (!QTest::qWaitFor(condizione, millisecondi))
        fallisce(QStringLiteral("attesa scaduta: %1").arg(QLatin1String(cosa)));
}

void digitaData(QLineEdit *campo, const QString &data)
{
    attendi([campo] { return campo->hasFocus(); }, "campo data");
    QTest::keyClicks(campo, QString(data).remove(QLatin1Char('/')));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() != 8 && argomenti.size() != 11)
        fallisce(QStringLiteral("argomenti: connessione ini cliente tipo dal al barriera "
                                "[riferimento banca importo]"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    modPrincipale::setPercorsoDatabase(argomenti.at(1));
    modPrincipale::setPercorsoFileIni(argomenti.at(2));
    RegistroComponenti::registra(IdProgrammaticoStampa(QStringLiteral("Postazione")),
                                 [] { return new StampaPostazione; });
    scrivi(QStringLiteral("tabella"), NomeTabellaLavoro(QStringLiteral("Rimessa")));

    frmRimessa *finestra = frmRimessa::istanza();
    finestra->mostra();
    if (!QTest::qWaitForWindowActive(finestra))
        fallisce(QStringLiteral("finestra non attiva"));

    // The customer, left with Tab: its lookup sends the focus to the type list.
    auto *cliente = controllo<QLineEdit>(finestra, "txtCodiceCli");
    QTest::mouseClick(cliente, Qt::LeftButton);
    QTest::keyClicks(cliente, argomenti.at(3));
    QTest::keyClick(cliente, Qt::Key_Tab);
    auto *tipo = controllo<QComboBox>(finestra, "cmbCodInc");
    attendi([tipo] { return tipo->hasFocus(); }, "lista dei tipi");
    for (int i = tipo->currentIndex(); i < argomenti.at(4).toInt(); ++i)
        QTest::keyClick(tipo, Qt::Key_Down);
    QTest::keyClick(tipo, Qt::Key_Tab);
    auto *dal = controllo<QLineEdit>(finestra, "txtDataDa");
    digitaData(dal, argomenti.at(5));
    QTest::keyClick(dal, Qt::Key_Tab);
    auto *al = controllo<QLineEdit>(finestra, "txtDataAl");
    digitaData(al, argomenti.at(6));
    if (argomenti.size() == 11) {
        QTest::keyClick(al, Qt::Key_Tab);
        for (const auto &[nome, valore] :
             {std::pair{"txtRiferimento", argomenti.at(8)}, std::pair{"txtBanca", argomenti.at(9)},
              std::pair{"txtImportoAss", argomenti.at(10)}}) {
            auto *campo = controllo<QLineEdit>(finestra, nome);
            QTest::mouseClick(campo, Qt::LeftButton);
            QTest::keyClicks(campo, valore);
        }
    }

    // Everything typed: wait at the barrier, then press the button with the others.
    scrivi(QStringLiteral("pronto"), argomenti.at(3));
    attendi([&] { return QFile::exists(argomenti.at(7)); }, "barriera", 120000);

    RisposteMessaggi risposte;
    risposte.rispondi(QMessageBox::Yes);
    QTest::mouseClick(controllo<QPushButton>(finestra, "cmdRimessa"), Qt::LeftButton);
    for (const QString &testo : risposte.testi())
        scrivi(QStringLiteral("messaggio"), testo);
    finestra->scarica();
    scrivi(QStringLiteral("fine"), argomenti.at(3));
    return 0;
}
