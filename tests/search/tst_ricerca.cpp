#include "search/apriricerca.h"
#include "search/frmricerca.h"
#include "search/frmricercagia.h"

#include "data/connessione.h"
#include "data/recordset.h"
#include "search/geometria.h"
#include "search/modellopaginato.h"
#include "services/modprincipale.h"
#include "support/databasediprova.h"
#include "support/errori.h"
#include "support/operatore.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QDate>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>

#include <memory>

// The search subsystem against the real server: the paged grid model, then the two search
// dialogs driven as an operator drives them, on rows of the test's own: customers for
// frmRicerca (two with the same name, one whose name ends in blanks), customer 500's waybills
// and held shipments for frmRicercaGia. Each dialog row is one path from the opening to the
// closing; the statements themselves are proven without windows.
class tst_Ricerca : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_risposte = std::make_unique<RisposteMessaggi>(); }
    void cleanup() { m_risposte.reset(); }
    void pagine_data();
    void pagine();
    void percorsi_data();
    void percorsi();
    void listaLunga();

private:
    // Runs `apri`, which shows a dialog; once it is active, runs the operator's steps on it
    // (`osserva` just before the last one) and returns when it has closed. The `messaggi` boxes
    // it sets off are answered with OK and recorded in m_messaggi, with the arrows shown.
    void mostra(const std::function<void()> &apri, const QStringList &passi,
                const std::function<void(QWidget *)> &osserva = {}, int messaggi = 0);

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<RisposteMessaggi> m_risposte;
    QStringList m_messaggi;
};

namespace {

const int pagina = ModelloPaginato::righePerPagina;

// frmRicercaGia's grid by mode: the waybill number's column, then the columns hidden or
// formatted, by their headings.
const QMap<int, QStringList> griglie{
    {1, {"lenrlv", "lenrlv nascosta; Bord_Inv=BorCons"}},
    {7, {"Num_Ldv", "Bord_Inv=BorCons"}},
    {10, {"Num_Ldv", "Bord_Inv=BorCons"}},
    {11, {"ginrlv", "ginrlv nascosta; ledtlv nascosta"}},
    {12,
     {"Nr_LDV", "Contrassegno=Contr; Inc_contr=TipoContr; Anticipata=Anticip; "
                "Inc_Anticip=TipoAnt; Porto_Ass=Assegnato; Inc_PortoAss=TipoAss"}}};

// frmRicercaGia with a mode's inputs; only mode 7 takes NumLetVett as one.
frmRicercaGia *spedizioni(int tipo, const QString &codice = "500")
{
    frmRicercaGia *dialogo = frmRicercaGia::istanza();
    dialogo->setCodiceCliente(codice);
    dialogo->setFiliale("01");
    dialogo->setTipoRicerca(tipo);
    dialogo->setRiferimentoCliente("R-101");
    if (tipo == 7)
        dialogo->setNumLetVett("9");
    dialogo->setAnnoRif_LDV("2016");
    dialogo->setGiacenza("45");
    dialogo->setAnnoGiacenza(QString::number(QDate::currentDate().year()));
    return dialogo;
}

// The point of the grid row whose waybill number is `numero`, on its first shown column.
QPoint puntoRiga(QTableView *vista, const QString &numero)
{
    QAbstractItemModel *m = vista->model();
    int numeri = 0;
    while (m->headerData(numeri, Qt::Horizontal) !=
           griglie[qobject_cast<frmRicercaGia *>(vista->window())->TipoRicerca()].at(0))
        ++numeri;
    int riga = 0;
    while (riga < m->rowCount() && m->index(riga, numeri).data() != numero)
        ++riga;
    int colonna = 0;
    while (vista->isColumnHidden(colonna))
        ++colonna;
    vista->scrollTo(m->index(riga, colonna));
    return vista->visualRect(m->index(riga, colonna)).center();
}

// One step: "campo=testo" types into a field (into a date mask only the digits go), "riga:x"
// clicks a row (frmRicerca's by place, frmRicercaGia's by waybill number), "doppio:x" double-
// clicks one, "tab" moves into the list, "giu", "invio", "esc" press a key where the focus is,
// "chiudi" is the close box, "tabella:x" hands frmRicerca another table; anything else is a
// control clicked.
void passo(QWidget *d, const QString &passo)
{
    const QString valore = passo.section(QRegularExpression("[=:]"), 1);
    const QMap<QString, Qt::Key> tasti{
        {"giu", Qt::Key_Down}, {"invio", Qt::Key_Return}, {"esc", Qt::Key_Escape}};
    auto *lista = d->findChild<QListWidget *>("lstCerca");
    auto *vista = d->findChild<QTableView *>("Griglia");
    if (passo.contains(u'=')) {
        Operatore(d).digita(passo.section(u'=', 0, 0), valore);
    } else if (lista && passo.startsWith("riga:")) {
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualItemRect(lista->item(valore.toInt())).center());
    } else if (vista && passo.contains(u':')) {
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, puntoRiga(vista, valore));
        if (passo.startsWith("doppio:"))
            QTest::mouseDClick(vista->viewport(), Qt::LeftButton, {}, puntoRiga(vista, valore));
    } else if (passo == "tab") {
        lista->setFocus(Qt::TabFocusReason);
    } else if (tasti.contains(passo)) {
        // Straight after a message box the dialog may not hold the focus yet: to the dialog.
        QWidget *fuoco = QApplication::focusWidget();
        QTest::keyClick(d->isAncestorOf(fuoco) ? fuoco : d, tasti[passo]);
    } else if (passo == "chiudi") {
        d->close();
    } else if (passo.startsWith("tabella:")) {
        qobject_cast<frmRicerca *>(d)->setNomeTabella(valore);
    } else {
        clic(controlloDi<QWidget>(d, passo));
    }
}

// What frmRicerca shows: the search text, the matching ("bloccato" when it cannot be chosen),
// the list's rows with their codes.
QString mostraRicerca(QWidget *d)
{
    Operatore o(d);
    QStringList parti{o.mostrato("txtCerca"),
                      !o.controllo("fraTipoStringa")->isEnabled()            ? "bloccato"
                      : o.controllo<QRadioButton>("optInterna")->isChecked() ? "Speciale"
                                                                             : "Normale"};
    const auto *lista = o.controllo<QListWidget>("lstCerca");
    for (int i = 0; i < lista->count(); ++i)
        parti << lista->item(i)->text() + '|' + lista->item(i)->data(Qt::UserRole).toString();
    return parti.join(" / ");
}

// What frmRicercaGia shows: the waybills listed, the controls hidden or disabled, the message
// of an empty list. On the way, the grid's rules (`regole`) and the caption of "&Seleziona".
void mostraSpedizioni(QWidget *d, QString &visto, bool regole)
{
    Operatore o(d);
    auto *vista = o.controllo<QTableView>("Griglia");
    const int tipo = qobject_cast<frmRicercaGia *>(d)->TipoRicerca();
    QStringList numeri;
    QStringList colonne;
    for (int c = 0; c < vista->model()->columnCount(); ++c) {
        const QString nome = vista->model()->headerData(c, Qt::Horizontal).toString();
        for (int riga = 0; nome == griglie[tipo].at(0) && riga < vista->model()->rowCount(); ++riga)
            numeri << vista->model()->index(riga, c).data().toString();
        if (vista->isColumnHidden(c))
            colonne << nome + " nascosta";
        else if (vista->columnWidth(c) != Geometria::daTwips(1000, vista))
            colonne << nome + " larga";
        if (QAbstractItemDelegate *formato = vista->itemDelegateForColumn(c))
            colonne << nome + '=' + formato->objectName();
    }
    if (tipo == 11) // the held-shipment lists have no order of their own
        numeri.sort();
    QStringList controlli;
    for (const char *nome : {"lblRif", "txtValore", "lblAnno", "txtAnnoData", "cmdVisualizza",
                             "cmdSeleziona", "cmdEsci"}) {
        const QWidget *controllo = o.controllo(nome);
        if (!controllo->isVisible() || !controllo->isEnabled())
            controlli << nome + QString(controllo->isVisible() ? " spento" : "");
    }
    if (regole)
        QCOMPARE(colonne.join("; "), griglie[tipo].at(1));
    QCOMPARE(o.controllo<QPushButton>("cmdSeleziona")->text(), tipo == 10 ? "&Esci" : "&Seleziona");
    visto =
        QStringList{numeri.join(", "), controlli.join(", "), o.mostrato("lblRisposta")}.join(" / ");
}

// What frmRicerca's caller gets: the record's code read by position, as the customer field
// reads it, "vuoto" for an empty result, "chiuso" for the closed record given in place of one
// handed over before, "nessuno" for none.
QString esitoRicerca(const std::unique_ptr<Recordset> &r)
{
    return !r ? "nessuno" : !r->aperto() ? "chiuso" : r->eof() ? "vuoto" : r->campo(1).toString();
}

QString info(const QString &testo, const QString &titolo = "Gestione Trasporti")
{
    return comeAppare(testo, titolo, QMessageBox::Information);
}

} // namespace

void tst_Ricerca::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    const int anno = QDate::currentDate().year();
    QVERIFY(m_db->caricaTesto(
        QStringLiteral(
            "INSERT INTO clien (Codice, RagioneSociale, Localita, Provincia, PartitaIva) VALUES "
            "(9001, 'Zeta Prova  ', 'Zetopoli', 'ZZ', '99999999990'), (9002, 'Zeta Gemella', "
            "'Gemellopoli', 'ZZ', NULL), (9003, 'Zeta Gemella', 'Gemellopoli', 'ZZ', NULL), "
            "(1003, 'Moda Lombarda S.r.l.', 'Milano', 'MI', '08642090156');\n"
            "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, "
            "leflbc, lerfgi, leangi, lecnss) VALUES "
            "('01', '9', 2015, '2015-03-04', 'R-100', '2015-03-01', 500, 1, 45, %1, 1),"
            "('01', '10', 2015, '2015-03-05', 'R-101', '2016-02-01', 500, 0, 0, 0, 0),"
            "('01', '90', 2016, '2016-01-10', 'R-200', '2015-12-30', 500, 0, 0, 0, 2),"
            "('01', '12 ', 2016, '2016-02-10', 'R-150', '2016-02-09', 500, 0, 0, 0, 9),"
            "('01', '20', 2016, '2016-03-01', 'O''NEIL-7', '2016-03-01', 500, 0, 0, 0, 5);\n"
            "INSERT INTO giace00f (gifili, ginrgi, giangi, ginrlv, gianlv, gidtgi, gicodi) VALUES "
            "('01', 45, %1, '9', 2015, '%1-01-15', 500), ('01', 46, %1, '90', 2016, '%1-06-01', "
            "500), ('01', 47, %2, '10', 2015, '%2-12-01', 500);")
            .arg(anno)
            .arg(anno - 1)));
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
}

// The collections' list, latest first with NULLs last, read a page at a time wherever the grid
// jumps: every row in its place, in the order of a statement that sorts the whole list by the
// waybill's key too, each page read once. A list refused on opening throws and the one shown
// stays; a page refused while scrolling is reported once and its rows show empty.
void tst_Ricerca::pagine_data()
{
    QTest::addColumn<int>("righe");
    QTest::addColumn<QString>("caso");
    QTest::newRow("empty") << 0 << "";
    QTest::newRow("one row") << 1 << "";
    QTest::newRow("one short of a page") << pagina - 1 << "";
    QTest::newRow("exactly one page") << pagina << "";
    QTest::newRow("one over a page") << pagina + 1 << "";
    QTest::newRow("many pages of ties and NULLs") << 5 * pagina + 17 << "";
    QTest::newRow("ascending, NULLs first: references") << 3 * pagina + 5 << "riferimenti";
    QTest::newRow("refused on opening") << pagina + 10 << "apertura";
    QTest::newRow("refused while scrolling") << pagina + 10 << "scorrendo";
}

void tst_Ricerca::pagine()
{
    QFETCH(int, righe);
    QFETCH(QString, caso);
    const bool riferimenti = caso == "riferimenti";
    // Customer 700's waybills in branch 07 drawn from few values: references (one in seven NULL),
    // reference dates (one in eleven NULL), waybill dates (one in thirteen NULL); numbers that come
    // again as "7" and "07" in one year, and as the same text the next year.
    QVERIFY(m_db->esegui("DELETE FROM letve00f WHERE lecodi=700"));
    QVERIFY(m_db->esegui("DROP TABLE IF EXISTS copia"));
    QVERIFY(righe == 0 ||
            m_db->esegui(
                QStringLiteral(
                    "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, "
                    "lecnss) SELECT '07', CONCAT(IF((seq DIV 400) MOD 2, '0', ''), m), 2015 + seq "
                    "DIV 800, IF(m MOD 13 = 0, NULL, MAKEDATE(2015 + seq DIV 800, 1 + m MOD 5)), "
                    "IF(m MOD 7 = 0, NULL, CONCAT('R-', m MOD 5)), IF(m MOD 11 = 0, NULL, "
                    "'2020-01-01' + INTERVAL (m MOD 3) DAY), 700, 1 FROM (SELECT seq, seq MOD 400 "
                    "AS m FROM seq_1_to_%1) AS n")
                    .arg(righe)));
    QStringList previste;
    for (const QVariantList &riga :
         m_db->righe(QString("SELECT lenrlv, ledtlv FROM letve00f WHERE lecodi=700 AND ") +
                     (riferimenti ? "lerife >= 'R-1' ORDER BY lerife, ledtlv, lenrlv, leanlv"
                                  : "lecnss > 0 ORDER BY lerifd DESC, lerife DESC, lenrlv DESC, "
                                    "leanlv DESC")))
        previste << riga[0].toString() + '|' + riga[1].toString();
    // The same list on a copy of the rows, which goes once the first page is read.
    const IstruzioniRicerca::ListaRicerca lista =
        riferimenti ? IstruzioniRicerca::riferimentiDa("700", "R-1", "", "07")
                    : IstruzioniRicerca::contrassegni("700", "07", "");
    IstruzioniRicerca::ListaRicerca copia = lista;
    copia.origine.replace("vdaticontrassegni", "copia");
    QVERIFY(m_db->esegui("CREATE TABLE copia SELECT * FROM vdaticontrassegni"));

    Connessione connessione(m_db->testoConnessione());
    connessione.apri();
    ModelloPaginato modello;
    QSignalSpy fallita(&modello, &ModelloPaginato::letturaFallita);
    modello.apri(connessione.database(), caso == "scorrendo" ? copia : lista);
    QCOMPARE(modello.pagineLette(), 1);
    modello.attendiConteggio(); // counted meanwhile: the scroll bar covers the whole list
    QCOMPARE(modello.rowCount(), int(previste.size()));
    QCOMPARE(modello.pagineLette(), 1);
    QVERIFY(m_db->esegui("DROP TABLE copia"));
    if (caso == "apertura")
        QCOMPARE(numeroErrore([&] { modello.apri(connessione.database(), copia); }), 1146);

    // Read as an operator jumps: the last row (Ctrl+End), the page before it (read backwards from
    // the last), one in the middle (by its offset), then every row from the top.
    const int numero = modello.colonna(riferimenti ? "lenrlv" : "Nr_LDV");
    const int data = modello.colonna(riferimenti ? "Data_Emissione" : "Data_LDV");
    const auto cella = [&](int riga) {
        return modello.index(riga, numero).data().toString() + '|' +
               modello.index(riga, data).data().toString();
    };
    const int n = modello.rowCount();
    for (const int riga : {n - 1, n - 1 - pagina, n / 2})
        if (riga >= 0)
            cella(riga);
    QStringList lette;
    for (int riga = 0; riga < n; ++riga)
        lette << cella(riga);
    if (caso == "scorrendo") // the rows after the first page show empty
        previste = previste.mid(0, pagina) + QStringList(n - pagina, "|");
    QCOMPARE(lette, previste);
    QCOMPARE(modello.pagineLette(), (n + pagina - 1) / pagina + int(n == 0));
    QTRY_COMPARE(fallita.size(), int(caso == "scorrendo"));
}

void tst_Ricerca::mostra(const std::function<void()> &apri, const QStringList &passi,
                         const std::function<void(QWidget *)> &osserva, int messaggi)
{
    m_messaggi.clear();
    m_risposte->gestisci([=](QWidget *finestra) {
        QVERIFY(QTest::qWaitForWindowActive(finestra));
        for (int i = 0; i < messaggi; ++i) {
            m_risposte->gestisci([=](QWidget *messaggio) {
                auto *box = qobject_cast<QMessageBox *>(messaggio);
                QString frecce; // the numbers of frmRicerca's arrows, shown meanwhile
                for (const char *nome : {"Image2", "Image3", "Image4"})
                    if (auto *freccia = finestra->findChild<QWidget *>(nome);
                        freccia && freccia->isVisible())
                        frecce += nome + 5;
                m_messaggi << comeAppare(box->text(), box->windowTitle(), box->icon()) +
                                  (frecce.isEmpty() ? "" : " <" + frecce + '>');
                box->button(QMessageBox::Ok)->click();
            });
        }
        for (int i = 0; i < passi.size(); ++i) {
            if (i == passi.size() - 1 && osserva)
                osserva(finestra);
            passo(finestra, passi.at(i));
        }
        // A step that failed must not leave the dialog waiting.
        if (!QTest::qWaitFor([finestra] { return !finestra->isVisible(); }, 2000)) {
            finestra->close();
            QFAIL("the dialog stayed open");
        }
    });
    apri();
}

// Mode 0 is the customer search through its launcher, as the customer field opens it: before
// each path a search hands customer 9001 over, so that "unchanged" shows as "chiuso". The other
// modes are frmRicercaGia's, with the year 2016 handed over: before each path a pick leaves 90
// of 10/01/2016; "cliente:" sets the customer before the dialog shows; it leaves
// NumLetVett|DataLdv.
void tst_Ricerca::percorsi_data()
{
    QTest::addColumn<int>("modo");
    QTest::addColumn<QString>("passi");
    QTest::addColumn<QString>("visto"); // before the last step
    QTest::addColumn<QStringList>("messaggi");
    QTest::addColumn<QString>("esito");
    const auto riga = [](const char *nome, int modo, const QString &passi, const QString &visto,
                         const char *esito, const QStringList &messaggi = {}) {
        QTest::newRow(nome) << modo << passi << visto << messaggi << esito;
    };
    const QString altro = comeAppare("5 - La tabella forni non è l'anagrafica clien di questa "
                                     "ricerca.",
                                     "Riscuti", QMessageBox::NoIcon);
    riga("513 empty text, the title as written", 0, "cmdRicerca;cmdAnnulla", " / Normale",
         "nessuno",
         {info("Campo Ricerca vuoto! Bisogna inserire una stringa da ricercare",
               "Gestione trasorti") +
          " <4>"});
    riga("514 letters in a code", 0, "optCodice;txtCerca=12a;cmdRicerca;esc", " / bloccato",
         "nessuno",
         {info("Bisogna inserire un valore numerico nella casella Ricerca, se si seleziona la "
               "ricerca per 'CODICE' o per 'P.IVA'") +
          " <234>"});
    riga("516 ten digits for a VAT number", 0, "optIva;txtCerca=1234567890;cmdRicerca;chiudi",
         " / bloccato", "chiuso",
         {info("Selezionando la ricerca per 'partita iva'; bisogna inserire nella casella ricerca "
               "un valore numerico di 11 caratteri") +
          " <34>"});
    riga("515 a number in the operator's format", 0,
         "optLocalita;txtCerca=1.234,5;cmdRicerca;cmdAnnulla", " / Normale", "nessuno",
         {info("Selezionando la ricerca per 'Ragione Sociale','Località','Provincia'; bisogna "
               "inserire nella casella ricerca un valore non numerico") +
          " <4>"});
    riga("town rows; Avvia again closes", 0, "optLocalita;txtCerca=Zetop;cmdRicerca;cmdRicerca",
         "disabilitato / bloccato / Zeta Prova ---Zetopoli|9001", "chiuso");
    riga("province rows; a click takes the second of two equal names", 0,
         "optProvincia;txtCerca=ZZ;cmdRicerca;riga:1",
         "disabilitato / bloccato / ZZ ---Zeta Gemella|9002 / ZZ ---Zeta Gemella|9003 / ZZ "
         "---Zeta Prova  |9001",
         "9003");
    riga("Speciale inside the name, picked from the keyboard", 0,
         "optInterna;txtCerca=Gemel;invio;tab;giu;invio",
         "disabilitato / bloccato / Zeta Gemella|9002 / Zeta Gemella|9003", "9003");
    riga("code: the record at once", 0, "optInterna;optCodice;txtCerca=1003;cmdRicerca",
         "1003 / bloccato", "1003");
    riga("località after Speciale matches from the start", 0,
         "optInterna;optLocalita;txtCerca=opoli;cmdRicerca", "opoli / Speciale",
         "chiuso non trovata", {info("Occorrenza non trovata nel database.")});
    riga("another error leaves the dialog; Avvia runs it again", 0,
         "tabella:forni;txtCerca=Moda;cmdRicerca;cmdRicerca;cmdAnnulla", "disabilitato / bloccato",
         "nessuno", {altro, altro});

    const QString anno = "lblAnno spento, txtAnnoData spento, cmdEsci / ";
    const QString vuota = " / lblAnno, txtAnnoData, cmdSeleziona / Non ci sono spedizioni per il "
                          "cliente selezionato.";
    riga("1: the year's references; a pick gives number, trimmed, and date", 1,
         "riga:12 ;cmdSeleziona", "10, 12  / " + anno, "12|10/02/2016");
    riga("1: Visualizza from a typed reference", 1, "txtValore=R-150;invio;chiudi",
         "12 , 90 / " + anno, "90|10/01/2016");
    riga("7: Visualizza asks for a number, the list stays; Esc leaves with none", 7, "invio;esc",
         "90 / cmdEsci / ", "|10/01/2016",
         {comeAppare("Indicare il numero di lettera di vettura.", "Riscuti",
                     QMessageBox::Information)});
    riga("7: Visualizza compares as a number", 7, "txtValore=9;invio;riga:10;cmdSeleziona",
         "9, 10, 12 , 20, 90 / cmdEsci / ", "10|05/03/2015");
    riga("10: the button reads Esci and takes nothing", 10, "cmdSeleziona",
         "9 / lblRif, txtValore, lblAnno, txtAnnoData, cmdVisualizza, cmdEsci / ", "90|10/01/2016");
    riga("11: this year's held shipments", 11, "riga:9;cmdSeleziona",
         "9, 90 / lblRif, txtValore, cmdEsci / ", "9|04/03/2015");
    const QString anno11 = QString::number(QDate::currentDate().year());
    riga("11: held from a date typed into the mask; an invalid one runs the list again", 11,
         "txtAnnoData=0106" + anno11 + ";invio;txtAnnoData=3102" + anno11 + ";invio;chiudi",
         "90 / lblRif, txtValore, cmdEsci / ", "90|10/01/2016");
    riga("12: nothing for the customer: Esci", 12, "cliente:999;cmdEsci", vuota, "|10/01/2016");
    riga("12: a reference with a quote; a double click picks", 12,
         "txtValore=O'NEIL;invio;doppio:20", "20 / lblAnno, txtAnnoData, cmdEsci / ",
         "20|01/03/2016");
}

void tst_Ricerca::percorsi()
{
    QFETCH(int, modo);
    QFETCH(QString, passi);
    QFETCH(QString, visto);
    QFETCH(QStringList, messaggi);
    QFETCH(QString, esito);

    QStringList operatore = passi.split(u';');
    QString mostrato;
    if (modo == 0) {
        std::unique_ptr<Recordset> record;
        const auto apri = [&record] { record = ApriRicerca(1, "Clien"); };
        mostra(apri, {"optCodice", "txtCerca=9001", "cmdRicerca"});
        mostra(
            apri, operatore, [&](QWidget *d) { mostrato = mostraRicerca(d); },
            int(messaggi.size()));
        QCOMPARE(esitoRicerca(record) +
                     (frmRicerca::istanza()->NonTrovataOccorrenza() ? " non trovata" : ""),
                 esito);
    } else {
        frmRicercaGia *d = spedizioni(7);
        mostra([d] { d->mostraModale(); }, {"riga:90", "cmdSeleziona"});
        spedizioni(modo);
        if (operatore.first().startsWith("cliente:"))
            d->setCodiceCliente(operatore.takeFirst().mid(8));
        const auto osserva = [&](QWidget *finestra) {
            // A refused "&Visualizza" has dropped the grid's layout first, as it does.
            mostraSpedizioni(finestra, mostrato, messaggi.isEmpty());
            QVERIFY(d->AnnoRif_LDV().isEmpty()); // emptied by the activation
        };
        mostra([d] { d->mostraModale(); }, operatore, osserva, int(messaggi.size()));
        QCOMPARE(d->NumLetVett() + '|' + d->DataLdv(), esito);
    }
    QCOMPARE(mostrato, visto);
    QCOMPARE(m_messaggi, messaggi);
}

// Thousands of rows: the list opens on its first page, Ctrl+End reaches the true last row and
// "&Seleziona" takes it.
void tst_Ricerca::listaLunga()
{
    QVERIFY(m_db->esegui(
        "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, lecnss) "
        "SELECT '01', CAST(seq AS CHAR), 2017, '2017-01-02' + INTERVAL (seq MOD 300) DAY, "
        "CONCAT('L-', LPAD(seq, 5, '0')), '2017-01-01', 600, 1 FROM seq_1_to_20000"));
    frmRicercaGia *dialogo = spedizioni(12, "600");
    dialogo->setRiferimentoCliente(QString());
    mostra([dialogo] { dialogo->mostraModale(); }, {"cmdSeleziona"},
           [](QWidget *d) {
               auto *vista = controlloDi<QTableView>(d, "Griglia");
               vista->setFocus();
               QTest::keyClick(vista, Qt::Key_End, Qt::ControlModifier);
               QCOMPARE(vista->currentIndex().row(), 19999);
           });
    // Latest reference date first, then the reference descending: L-00001 comes last.
    QCOMPARE(dialogo->NumLetVett() + '|' + dialogo->DataLdv(), "1|03/01/2017");
}

QTEST_MAIN(tst_Ricerca)
#include "tst_ricerca.moc"
