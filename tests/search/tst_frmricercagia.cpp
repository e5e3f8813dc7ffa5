#include "search/frmricercagia.h"

#include "services/modprincipale.h"
#include "search/geometria.h"
#include "support/controlli.h"
#include "support/databasediprova.h"
#include "support/errori.h"
#include "support/rispostemessaggi.h"

#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

#include <functional>
#include <memory>

// The shipment list, driven as an operator drives it against rows of the test's own: one
// customer (500) with waybills in branch 01, one waybill of the same customer in branch 02 and
// one of another customer, held-shipment records of this year and of the last.
class tst_frmRicercaGia : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void primaLista_data();
    void primaLista();
    void celleFormattate();
    void seleziona_data();
    void seleziona();
    void uscita_data();
    void uscita();
    void visualizza_data();
    void visualizza();
    void visualizzaRifiutato_data();
    void visualizzaRifiutato();
    void risultatoVuoto();
    void controlliPerModo_data();
    void controlliPerModo();
    void campoAnnoData();
    void erroreDiCaricamento();
    void didascalieEPrimoPiano();
    void listaLunga();

private:
    struct Ricerca
    {
        int tipo = 12;
        QString codice = QStringLiteral("500");
        QString filiale = QStringLiteral("01");
        QString riferimento;
        QString anno;
        QString numero;
        QString giacenza;
        QString annoGiacenza;
    };
    using Azione = std::function<void(frmRicercaGia *)>;

    // Sets every input of the dialog, shows it, runs `azione` on it once it is active and
    // returns when it has closed. `risposte` queues the answers to its message boxes.
    void mostra(const Ricerca &ricerca, const Azione &azione,
                const std::function<void()> &risposte = {});

    std::unique_ptr<DatabaseDiProva> m_db;
    std::unique_ptr<RisposteMessaggi> m_risposte;
    int m_anno = 0;
};

Q_DECLARE_METATYPE(QList<int>)

namespace {

template <typename T> T *controllo(QWidget *finestra, const char *nome)
{
    return controlloDi<T>(finestra, QLatin1String(nome));
}

QTableView *griglia(QWidget *d)
{
    return controllo<QTableView>(d, "Griglia");
}
QLineEdit *txtValore(QWidget *d)
{
    return controllo<QLineEdit>(d, "txtValore");
}
QLineEdit *txtAnnoData(QWidget *d)
{
    return controllo<QLineEdit>(d, "txtAnnoData");
}

// The text of a cell as the grid shows it, through the column's formatter.
QString mostrato(QTableView *vista, int riga, int colonna)
{
    const QModelIndex indice = vista->model()->index(riga, colonna);
    auto *formato = qobject_cast<QStyledItemDelegate *>(vista->itemDelegateForIndex(indice));
    return formato->displayText(indice.data(), vista->locale());
}

QStringList colonna(QTableView *vista, int numero)
{
    QStringList testi;
    for (int riga = 0; riga < vista->model()->rowCount(); ++riga)
        testi << vista->model()->index(riga, numero).data().toString();
    return testi;
}

QStringList intestazioni(QTableView *vista)
{
    QStringList nomi;
    for (int i = 0; i < vista->model()->columnCount(); ++i)
        nomi << vista->model()->headerData(i, Qt::Horizontal).toString();
    return nomi;
}

QList<int> nascoste(QTableView *vista)
{
    QList<int> colonne;
    for (int i = 0; i < vista->model()->columnCount(); ++i) {
        if (vista->isColumnHidden(i))
            colonne << i;
    }
    return colonne;
}

// Every shown column 1000 twips wide (a hidden column has no width).
bool larghezzeDiProgetto(QTableView *vista)
{
    const int attesa = Geometria::daTwips(1000, vista);
    for (int i = 0; i < vista->model()->columnCount(); ++i) {
        if (!vista->isColumnHidden(i) && vista->columnWidth(i) != attesa)
            return false;
    }
    return vista->model()->columnCount() > 0;
}

// The row whose column `colonna` holds `valore`, clicked as an operator does.
bool clicRiga(QTableView *vista, int colonna, const QString &valore)
{
    const QStringList valori = ::colonna(vista, colonna);
    const int riga = valori.indexOf(valore);
    if (riga < 0)
        return false;
    int visibile = 0;
    while (vista->isColumnHidden(visibile))
        ++visibile;
    const QModelIndex indice = vista->model()->index(riga, visibile);
    vista->scrollTo(indice);
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, vista->visualRect(indice).center());
    return vista->currentIndex().row() == riga;
}

const QStringList colonneRiferimento{"lenrlv",   "Bord_Inv",     "Numero_Rif",
                                     "Data_Rif", "Destinatario", "Data_Emissione",
                                     "Num_Giac", "Anno_giac",    "Riconsegna"};
const QStringList colonneNumero{"Num_Ldv",    "Data_Emissione", "Bord_Inv",
                                "Numero_Rif", "Data_Rif",       "Destinatario",
                                "Num_Giac",   "Anno_giac",      "Riconsegna"};
const QStringList colonneGiacenza{"Num_Ldv",  "Data_Emissione", "Bord_Inv",  "Numero_Rif",
                                  "Data_Rif", "Destinatario",   "Riconsegna"};
const QStringList colonneGiacenze{"ginrlv",        "ledtlv",       "Giacenza",
                                  "Data_Giac",     "cod_cliente",  "Rif_Mitt",
                                  "Data_Rif_Mitt", "Destinatario", "Buon_Fine"};
const QStringList colonneContrassegni{"Nr_Rif",       "Data_Rif",   "Destinatario", "Contrassegno",
                                      "Inc_contr",    "Anticipata", "Inc_Anticip",  "Porto_Ass",
                                      "Inc_PortoAss", "Nr_LDV",     "Data_LDV"};

} // namespace

void tst_frmRicercaGia::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    m_anno = QDate::currentDate().year();
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());
    const QString anno = QString::number(m_anno);
    const QString annoScorso = QString::number(m_anno - 1);
    QVERIFY(m_db->esegui(
        QStringLiteral(
            "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, "
            "leflbc, lerico, lerfgi, leangi, lecnss, leanpc, leimpa, leflic, leflsc, leflia, "
            "leflsa, "
            "leflip, leflsp) VALUES "
            "('01', '9', 2015, '2015-03-04', 'R-100', '2015-03-01', 500, 'Rossi', 1, 0, 45, %1, "
            "1234.50, 0, 15.00, '1', 0, '0', 0, '3', 1), "
            "('01', '10', 2015, '2015-03-05', 'R-101', '2016-02-01', 500, 'Bianchi', 0, 1, 0, 0, "
            "0, 7.50, 0, '0', 0, '4', 0, '0', 0), "
            "('01', '90', 2016, '2016-01-10', 'R-200', '2015-12-30', 500, 'Verdi', 0, 0, 0, 0, "
            "20.00, 7.50, 0, '2', 1, '4', 0, '0', 0), "
            "('01', '12 ', 2016, '2016-02-10', 'R-150', '2016-02-09', 500, 'D''Amico', 0, 0, 0, 0, "
            "99.90, 0, 0, '5', 0, '0', 0, '0', 0), "
            "('01', '20', 2016, '2016-03-01', 'O''NEIL-7', '2016-03-01', 500, 'Neri', 0, 0, 0, 0, "
            "5.00, 0, 0, '0', 0, '0', 0, '0', 0), "
            "('02', '11', 2016, '2016-03-02', 'R-300', '2016-03-02', 500, 'Altra filiale', 0, 0, "
            "0, "
            "0, 10.00, 0, 0, '0', 0, '0', 0, '0', 0), "
            "('01', '95', 2016, '2016-03-03', 'R-400', '2016-03-03', 501, 'Altro cliente', 0, 0, "
            "0, "
            "0, 10.00, 0, 0, '0', 0, '0', 0, '0', 0)")
            .arg(anno)));
    QVERIFY(m_db->esegui(
        QStringLiteral(
            "INSERT INTO giace00f (gifili, ginrgi, giangi, ginrlv, gianlv, gidtgi, gicodi, GIDTBF) "
            "VALUES ('01', 45, %1, '9', 2015, '%1-01-15', 500, NULL), "
            "('01', 46, %1, '90', 2016, '%1-06-01', 500, '%1-06-10'), "
            "('01', 47, %2, '10', 2015, '%2-12-01', 500, NULL)")
            .arg(anno, annoScorso)));
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
}

void tst_frmRicercaGia::init()
{
    m_risposte = std::make_unique<RisposteMessaggi>();
}

void tst_frmRicercaGia::cleanup()
{
    m_risposte.reset();
}

void tst_frmRicercaGia::mostra(const Ricerca &ricerca, const Azione &azione,
                               const std::function<void()> &risposte)
{
    frmRicercaGia *dialogo = frmRicercaGia::istanza();
    dialogo->setCodiceCliente(ricerca.codice);
    dialogo->setCaptionLabel(QStringLiteral("Riferimento"));
    dialogo->setFiliale(ricerca.filiale);
    dialogo->setRagioneSocialeCliente(QStringLiteral("Cliente di prova S.r.l."));
    dialogo->setTipoRicerca(ricerca.tipo);
    dialogo->setRiferimentoCliente(ricerca.riferimento);
    if (!ricerca.numero.isNull())
        dialogo->setNumLetVett(ricerca.numero);
    dialogo->setAnnoRif_LDV(ricerca.anno);
    dialogo->setGiacenza(ricerca.giacenza);
    dialogo->setAnnoGiacenza(ricerca.annoGiacenza);
    dialogo->setTitolo(QStringLiteral("Ricerca per riferimento"));
    m_risposte->gestisci([azione](QWidget *finestra) {
        auto *aperto = qobject_cast<frmRicercaGia *>(finestra);
        QVERIFY(aperto);
        QVERIFY(QTest::qWaitForWindowActive(aperto));
        azione(aperto);
    });
    if (risposte)
        risposte();
    dialogo->mostraModale();
    QVERIFY(!dialogo->isVisible());
}

// The first list of each mode: headings from the statement's aliases, the mode's rows, its
// hidden columns, every column 1000 twips wide, and "&Seleziona" offered.
void tst_frmRicercaGia::primaLista_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("riferimento");
    QTest::addColumn<QString>("anno");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QStringList>("colonne");
    QTest::addColumn<int>("colonnaNumero");
    QTest::addColumn<QStringList>("numeri");
    QTest::addColumn<QList<int>>("colonneNascoste");

    const QString anno = QString::number(QDate::currentDate().year());
    QTest::newRow("1: references from R-101 on")
        << 1 << "R-101"
        << ""
        << "" << colonneRiferimento << 0 << QStringList{"10", "12 ", "90"} << QList<int>{0};
    QTest::newRow("1: a year keeps the references of that year")
        << 1 << "R-101"
        << "2016"
        << "" << colonneRiferimento << 0 << QStringList{"10", "12 "} << QList<int>{0};
    QTest::newRow("1: a year that is no number is left out")
        << 1 << "R-101"
        << "2016x"
        << "" << colonneRiferimento << 0 << QStringList{"10", "12 ", "90"} << QList<int>{0};
    QTest::newRow("7: from number 9 on, compared as text")
        << 7 << ""
        << ""
        << "9" << colonneNumero << 0 << QStringList{"9", "90"} << QList<int>{};
    QTest::newRow("7: with the waybill year")
        << 7 << ""
        << "2015"
        << "9" << colonneNumero << 0 << QStringList{"9"} << QList<int>{};
    QTest::newRow("12: every cash-on-delivery row, latest reference first")
        << 12 << ""
        << ""
        << "" << colonneContrassegni << 9 << QStringList{"20", "12 ", "90", "9"} << QList<int>{};
    QTest::newRow("12: a reference with a quote")
        << 12 << "O'NEIL"
        << ""
        << "" << colonneContrassegni << 9 << QStringList{"20"} << QList<int>{};
}

void tst_frmRicercaGia::primaLista()
{
    QFETCH(int, tipo);
    QFETCH(QString, riferimento);
    QFETCH(QString, anno);
    QFETCH(QString, numero);
    QFETCH(QStringList, colonne);
    QFETCH(int, colonnaNumero);
    QFETCH(QStringList, numeri);
    QFETCH(QList<int>, colonneNascoste);

    Ricerca ricerca;
    ricerca.tipo = tipo;
    ricerca.riferimento = riferimento;
    ricerca.anno = anno;
    ricerca.numero = numero;
    mostra(ricerca, [&](frmRicercaGia *d) {
        QTableView *vista = griglia(d);
        QCOMPARE(intestazioni(vista), colonne);
        QCOMPARE(colonna(vista, colonnaNumero), numeri);
        QCOMPARE(nascoste(vista), colonneNascoste);
        QVERIFY(larghezzeDiProgetto(vista));
        QVERIFY(controllo<QPushButton>(d, "cmdSeleziona")->isVisible());
        QVERIFY(!controllo<QPushButton>(d, "cmdEsci")->isVisible());
        QVERIFY(controllo<QLabel>(d, "lblRisposta")->text().isEmpty());
        // The year served the first list only: activation empties it.
        QVERIFY(d->AnnoRif_LDV().isEmpty());
        d->close();
    });
    QCOMPARE(m_risposte->registrati().size(), 1);
}

// The formatters as the grid shows them: flags, amounts in the operator's currency, collection
// states; dates as day/month/year.
void tst_frmRicercaGia::celleFormattate()
{
    const QString euro = QStringLiteral("\u00A0€");
    mostra(Ricerca{}, [&](frmRicercaGia *d) {
        QTableView *vista = griglia(d);
        QCOMPARE(colonna(vista, 9), (QStringList{"20", "12 ", "90", "9"}));
        // Contrassegno, Inc_contr, Anticipata, Inc_Anticip, Porto_Ass, Inc_PortoAss.
        const QList<QStringList> attese{
            {"5,00" + euro, "", "", "", "", ""},
            {"99,90" + euro, "", "", "", "", ""}, // code 5 is no collection state
            {"20,00" + euro, "Ass.Mitt.-inviato", "7,50" + euro, "Bonifico", "", ""},
            {"1.234,50" + euro, "Cassa", "", "", "15,00" + euro, "Ns.Ass.-inviato"},
        };
        for (int riga = 0; riga < attese.size(); ++riga) {
            QStringList celle;
            for (int c = 3; c <= 8; ++c)
                celle << mostrato(vista, riga, c);
            QCOMPARE(celle, attese.at(riga));
        }
        QCOMPARE(mostrato(vista, 3, 1), QStringLiteral("01/03/2015"));
        QCOMPARE(mostrato(vista, 3, 10), QStringLiteral("04/03/2015"));
        QCOMPARE(vista->itemDelegateForColumn(3)->objectName(), QStringLiteral("Contr"));
        QCOMPARE(vista->itemDelegateForColumn(8)->objectName(), QStringLiteral("TipoAss"));
        d->close();
    });

    Ricerca numeri;
    numeri.tipo = 7;
    numeri.numero = QStringLiteral("9");
    mostra(numeri, [&](frmRicercaGia *d) {
        QTableView *vista = griglia(d);
        QCOMPARE(colonna(vista, 0), (QStringList{"9", "90"}));
        QCOMPARE(mostrato(vista, 0, 2), QStringLiteral("*"));
        QCOMPARE(mostrato(vista, 1, 2), QString());
        QCOMPARE(mostrato(vista, 0, 1), QStringLiteral("04/03/2015"));
        // A held-shipment number is shown as it is, not grouped as a quantity.
        QCOMPARE(mostrato(vista, 0, 7), QString::number(m_anno));
        d->close();
    });
}

// "&Seleziona" takes number and date of the clicked row, as shown, the number trimmed; hidden
// columns count too. In mode 10 the button reads "&Esci" and takes nothing.
void tst_frmRicercaGia::seleziona_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("riferimento");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<int>("colonnaRiga");
    QTest::addColumn<QString>("valoreRiga");
    QTest::addColumn<QString>("numeroAtteso");
    QTest::addColumn<QString>("dataAttesa");

    QTest::newRow("1: number from the hidden column, trimmed") << 1 << "R-101"
                                                               << "" << 2 << "R-150"
                                                               << "12"
                                                               << "10/02/2016";
    QTest::newRow("7: number and date of the row") << 7 << ""
                                                   << "9" << 0 << "90"
                                                   << "90"
                                                   << "10/01/2016";
    QTest::newRow("11: from the two hidden columns") << 11 << ""
                                                     << "" << 0 << "90"
                                                     << "90"
                                                     << "10/01/2016";
    QTest::newRow("12: a double click picks the row") << 12 << ""
                                                      << "" << 9 << "90"
                                                      << "90"
                                                      << "10/01/2016";
    QTest::newRow("12: Nr_LDV and Data_LDV, trimmed") << 12 << ""
                                                      << "" << 9 << "12 "
                                                      << "12"
                                                      << "10/02/2016";
    QTest::newRow("10: the button reads Esci and takes nothing") << 10 << ""
                                                                 << "prima" << 0 << "9"
                                                                 << "prima"
                                                                 << "precedente";
}

void tst_frmRicercaGia::seleziona()
{
    QFETCH(int, tipo);
    QFETCH(QString, riferimento);
    QFETCH(QString, numero);
    QFETCH(int, colonnaRiga);
    QFETCH(QString, valoreRiga);
    QFETCH(QString, numeroAtteso);
    QFETCH(QString, dataAttesa);

    // A pick in mode 7 leaves a known date behind for the mode 10 row.
    if (tipo == 10) {
        Ricerca prima;
        prima.tipo = 7;
        prima.numero = QStringLiteral("9");
        mostra(prima, [](frmRicercaGia *d) { clic(controllo<QPushButton>(d, "cmdSeleziona")); });
        QCOMPARE(frmRicercaGia::istanza()->DataLdv(), QStringLiteral("04/03/2015"));
        dataAttesa = QStringLiteral("04/03/2015");
        m_risposte->azzera();
    }

    Ricerca ricerca;
    ricerca.tipo = tipo;
    ricerca.riferimento = riferimento;
    ricerca.numero = numero;
    ricerca.giacenza = QStringLiteral("45");
    ricerca.annoGiacenza = QString::number(m_anno);
    const bool doppioClic = QByteArray(QTest::currentDataTag()).contains("double click");
    mostra(ricerca, [&](frmRicercaGia *d) {
        QVERIFY(clicRiga(griglia(d), colonnaRiga, valoreRiga));
        if (doppioClic) {
            QTableView *vista = griglia(d);
            QTest::mouseDClick(vista->viewport(), Qt::LeftButton, {},
                               vista->visualRect(vista->currentIndex()).center());
            QVERIFY(!d->isVisible());
            return;
        }
        auto *seleziona = controllo<QPushButton>(d, "cmdSeleziona");
        QCOMPARE(seleziona->text(),
                 tipo == 10 ? QStringLiteral("&Esci") : QStringLiteral("&Seleziona"));
        clic(seleziona);
        QVERIFY(!d->isVisible());
    });
    QCOMPARE(frmRicercaGia::istanza()->NumLetVett(), numeroAtteso);
    QCOMPARE(frmRicercaGia::istanza()->DataLdv(), dataAttesa);
}

// Leaving without a pick: "&Esci" (offered for an empty list) and Esc empty NumLetVett and keep
// DataLdv; the close box keeps both.
void tst_frmRicercaGia::uscita_data()
{
    QTest::addColumn<QString>("come");
    QTest::addColumn<QString>("codice");
    QTest::addColumn<QString>("numeroAtteso");
    QTest::newRow("Esci on an empty list") << "esci"
                                           << "999"
                                           << "";
    QTest::newRow("Esc with rows listed") << "esc"
                                          << "500"
                                          << "";
    QTest::newRow("Esc on an empty list") << "esc"
                                          << "999"
                                          << "";
    QTest::newRow("close box") << "chiudi"
                               << "500"
                               << "90";
}

void tst_frmRicercaGia::uscita()
{
    QFETCH(QString, come);
    QFETCH(QString, codice);
    QFETCH(QString, numeroAtteso);

    Ricerca prima;
    prima.tipo = 7;
    prima.numero = QStringLiteral("9");
    mostra(prima, [](frmRicercaGia *d) {
        QVERIFY(clicRiga(griglia(d), 0, QStringLiteral("90")));
        clic(controllo<QPushButton>(d, "cmdSeleziona"));
    });
    QCOMPARE(frmRicercaGia::istanza()->NumLetVett(), QStringLiteral("90"));

    Ricerca ricerca;
    ricerca.codice = codice;
    mostra(ricerca, [&](frmRicercaGia *d) {
        if (come == QLatin1String("esci"))
            clic(controllo<QPushButton>(d, "cmdEsci"));
        else if (come == QLatin1String("esc"))
            QTest::keyClick(griglia(d), Qt::Key_Escape);
        else
            d->close();
        QVERIFY(!d->isVisible());
    });
    QCOMPARE(frmRicercaGia::istanza()->NumLetVett(), numeroAtteso);
    QCOMPARE(frmRicercaGia::istanza()->DataLdv(), QStringLiteral("10/01/2016"));
}

// "&Visualizza" (by Enter, the default button) runs the mode's list from the dialog's fields and
// applies the grid rules again.
void tst_frmRicercaGia::visualizza_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("annoData");
    QTest::addColumn<int>("colonnaNumero");
    QTest::addColumn<QStringList>("numeri");
    QTest::addColumn<QList<int>>("colonneNascoste");

    const QString annoScorso = QString::number(QDate::currentDate().year() - 1);
    QTest::newRow("1: from a typed reference on")
        << 1 << "R-150"
        << "" << 0 << QStringList{"12 ", "90"} << QList<int>{0};
    QTest::newRow("7: number compared as a number, 10 is listed")
        << 7 << "9"
        << "" << 0 << QStringList{"9", "10", "12 ", "20", "90"} << QList<int>{};
    QTest::newRow("7: from a year on")
        << 7 << "9"
        << "2016" << 0 << QStringList{"12 ", "20", "90"} << QList<int>{};
    QTest::newRow("12: references containing the text")
        << 12 << "R-1"
        << "" << 9 << QStringList{"12 ", "9"} << QList<int>{};
    QTest::newRow("12: an empty text lists every row")
        << 12 << ""
        << "" << 9 << QStringList{"20", "12 ", "90", "9"} << QList<int>{};
    QTest::newRow("11: held from a date on, any year")
        << 11 << ""
        << "01/11/" + annoScorso << 0 << QStringList{"10", "9", "90"} << QList<int>{0, 1};
    QTest::newRow("11: an invalid date runs the list again")
        << 11 << ""
        << "31/02/" + annoScorso << 0 << QStringList{"9", "90"} << QList<int>{0, 1};
}

void tst_frmRicercaGia::visualizza()
{
    QFETCH(int, tipo);
    QFETCH(QString, valore);
    QFETCH(QString, annoData);
    QFETCH(int, colonnaNumero);
    QFETCH(QStringList, numeri);
    QFETCH(QList<int>, colonneNascoste);

    Ricerca ricerca;
    ricerca.tipo = tipo;
    ricerca.riferimento = QStringLiteral("R-101");
    ricerca.numero = QStringLiteral("9");
    mostra(ricerca, [&](frmRicercaGia *d) {
        QTableView *vista = griglia(d);
        if (!valore.isEmpty())
            QTest::keyClicks(txtValore(d), valore);
        QLineEdit *invio = txtValore(d)->isVisible() ? txtValore(d) : txtAnnoData(d);
        if (!annoData.isEmpty()) {
            txtAnnoData(d)->setFocus();
            QTest::keyClick(txtAnnoData(d), Qt::Key_Home);
            // Into the date mask only the digits are typed; the separators are fixed.
            QString tasti = annoData;
            if (!txtAnnoData(d)->inputMask().isEmpty())
                tasti.remove(QLatin1Char('/'));
            QTest::keyClicks(txtAnnoData(d), tasti);
        }
        QTest::keyClick(invio, Qt::Key_Return);

        QStringList trovati = colonna(vista, colonnaNumero);
        if (tipo == 11) // the held-shipment lists have no order of their own
            trovati.sort();
        QCOMPARE(trovati, numeri);
        QCOMPARE(nascoste(vista), colonneNascoste);
        QVERIFY(larghezzeDiProgetto(vista));
        if (tipo == 12)
            QCOMPARE(vista->itemDelegateForColumn(3)->objectName(), QStringLiteral("Contr"));
        if (tipo == 1)
            QCOMPARE(vista->itemDelegateForColumn(1)->objectName(), QStringLiteral("BorCons"));
        QVERIFY(controllo<QPushButton>(d, "cmdSeleziona")->isVisible());
        d->close();
    });
    QCOMPARE(m_risposte->registrati().size(), 1);
}

// "&Visualizza" refused before any query: a missing value asks for it, a waybill number that is
// no number never reaches the server and gets the handler's error box. The list stays as it was.
void tst_frmRicercaGia::visualizzaRifiutato_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("messaggio");
    QTest::addColumn<QMessageBox::Icon>("icona");
    QTest::newRow("1 asks for a reference")
        << 1 << ""
        << "Indicare un riferimento Cliente." << QMessageBox::Information;
    QTest::newRow("7 asks for a waybill number")
        << 7 << ""
        << "Indicare il numero di lettera di vettura." << QMessageBox::Information;
    QTest::newRow("7 with a number that is no number")
        << 7 << "9 or 1=1"
        << "13 Tipo non corrispondente: '9 or 1=1' non è un numero." << QMessageBox::Critical;
}

void tst_frmRicercaGia::visualizzaRifiutato()
{
    QFETCH(int, tipo);
    QFETCH(QString, valore);
    QFETCH(QString, messaggio);
    QFETCH(QMessageBox::Icon, icona);

    Ricerca ricerca;
    ricerca.tipo = tipo;
    ricerca.riferimento = QStringLiteral("R-101");
    ricerca.numero = QStringLiteral("9");
    mostra(
        ricerca,
        [&](frmRicercaGia *d) {
            const QStringList prima = colonna(griglia(d), 0);
            QTest::keyClicks(txtValore(d), valore);
            clic(controllo<QPushButton>(d, "cmdVisualizza"));
            QVERIFY(d->isVisible());
            QCOMPARE(colonna(griglia(d), 0), prima);
            d->close();
        },
        [&] { m_risposte->rispondi(QMessageBox::Ok); });

    QCOMPARE(m_risposte->registrati().size(), 2);
    QCOMPARE(comeAppare(m_risposte->registrati().at(1)),
             comeAppare(messaggio, QStringLiteral("Riscuti"), icona));
}

void tst_frmRicercaGia::risultatoVuoto()
{
    Ricerca ricerca;
    ricerca.codice = QStringLiteral("999");
    mostra(ricerca, [&](frmRicercaGia *d) {
        QCOMPARE(d->findChild<QTableView *>("Griglia")->model()->rowCount(), 0);
        QVERIFY(controllo<QPushButton>(d, "cmdEsci")->isVisible());
        QVERIFY(!controllo<QPushButton>(d, "cmdSeleziona")->isVisible());
        QCOMPARE(controllo<QLabel>(d, "lblRisposta")->text(),
                 QStringLiteral("Non ci sono spedizioni per il cliente selezionato."));
        QCOMPARE(intestazioni(griglia(d)), colonneContrassegni);

        // A reference that finds rows brings "&Seleziona" back and clears the message.
        d->setCodiceCliente(QStringLiteral("500"));
        QTest::keyClicks(txtValore(d), QStringLiteral("R-2"));
        QTest::keyClick(txtValore(d), Qt::Key_Return);
        QCOMPARE(colonna(griglia(d), 9), QStringList{"90"});
        QVERIFY(!controllo<QPushButton>(d, "cmdEsci")->isVisible());
        QVERIFY(controllo<QPushButton>(d, "cmdSeleziona")->isVisible());
        QVERIFY(controllo<QLabel>(d, "lblRisposta")->text().isEmpty());
        d->close();
    });
}

// The controls each mode shows, enables and colours. The dialog object is reused, so a mode
// that hides controls must not leave them hidden for the next one.
void tst_frmRicercaGia::controlliPerModo_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QStringList>("nascosti");
    QTest::addColumn<QStringList>("disabilitati");
    QTest::addColumn<bool>("annoDataGrigio");

    QTest::newRow("10 hides the search fields")
        << 10
        << QStringList{"lblRif", "txtValore", "lblAnno", "txtAnnoData", "cmdVisualizza", "cmdEsci"}
        << QStringList{} << false;
    QTest::newRow("1 locks the year")
        << 1 << QStringList{"cmdEsci"} << QStringList{"lblAnno", "txtAnnoData"} << true;
    QTest::newRow("11 hides the value")
        << 11 << QStringList{"lblRif", "txtValore", "cmdEsci"} << QStringList{} << false;
    QTest::newRow("12 hides the year")
        << 12 << QStringList{"lblAnno", "txtAnnoData", "cmdEsci"} << QStringList{} << false;
    QTest::newRow("7 shows everything") << 7 << QStringList{"cmdEsci"} << QStringList{} << false;
}

void tst_frmRicercaGia::controlliPerModo()
{
    QFETCH(int, tipo);
    QFETCH(QStringList, nascosti);
    QFETCH(QStringList, disabilitati);
    QFETCH(bool, annoDataGrigio);

    Ricerca ricerca;
    ricerca.tipo = tipo;
    if (tipo == 1)
        ricerca.riferimento = QStringLiteral("R-101");
    ricerca.numero = QStringLiteral("9");
    ricerca.giacenza = QStringLiteral("45");
    ricerca.annoGiacenza = QString::number(m_anno);
    mostra(ricerca, [&](frmRicercaGia *d) {
        QStringList trovatiNascosti;
        QStringList trovatiDisabilitati;
        for (const char *nome : {"lblRif", "txtValore", "lblAnno", "txtAnnoData", "cmdVisualizza",
                                 "cmdSeleziona", "cmdEsci"}) {
            auto *w = controllo<QWidget>(d, nome);
            if (!w->isVisible())
                trovatiNascosti << QString::fromLatin1(nome);
            else if (!w->isEnabled())
                trovatiDisabilitati << QString::fromLatin1(nome);
        }
        QCOMPARE(trovatiNascosti, nascosti);
        QCOMPARE(trovatiDisabilitati, disabilitati);
        if (txtAnnoData(d)->isVisible()) {
            const QColor atteso = annoDataGrigio
                                      ? d->palette().color(QPalette::Active, QPalette::Button)
                                      : d->palette().color(QPalette::Active, QPalette::Base);
            QCOMPARE(txtAnnoData(d)->palette().color(QPalette::Base), atteso);
        }
        d->close();
    });
}

// txtAnnoData: free text of up to 64 characters and no tooltip at start; the date mask only in
// mode 11; left untouched, it goes back to empty without a mask.
void tst_frmRicercaGia::campoAnnoData()
{
    Ricerca anno;
    anno.tipo = 7;
    anno.numero = QStringLiteral("9");
    mostra(anno, [&](frmRicercaGia *d) {
        QLineEdit *campo = txtAnnoData(d);
        QCOMPARE(campo->maxLength(), 64);
        QVERIFY(campo->toolTip().isEmpty());
        QTest::mouseClick(campo, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(campo));
        QVERIFY(campo->inputMask().isEmpty());
        QTest::keyClicks(campo, QStringLiteral("2015"));
        QCOMPARE(campo->text(), QStringLiteral("2015"));
        d->close();
    });

    Ricerca giacenze;
    giacenze.tipo = 11;
    mostra(giacenze, [&](frmRicercaGia *d) {
        QLineEdit *campo = txtAnnoData(d);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(campo));
        QVERIFY(!campo->inputMask().isEmpty());
        QCOMPARE(campo->displayText(), QStringLiteral("__/__/____"));
        QCOMPARE(campo->maxLength(), 10);
        QTest::mouseClick(griglia(d)->viewport(), Qt::LeftButton);
        QVERIFY(campo->inputMask().isEmpty());
        QCOMPARE(campo->text(), QString());
        d->close();
    });

    // The next showing in another mode starts from the drawn field again.
    mostra(anno, [&](frmRicercaGia *d) {
        QCOMPARE(txtAnnoData(d)->maxLength(), 64);
        QVERIFY(txtAnnoData(d)->inputMask().isEmpty());
        d->close();
    });
}

// A list that cannot load is the caller's error: mostraModale() throws and nothing shows. (A
// customer code that is no number is refused the same way: the hostile-input suite covers it.)
void tst_frmRicercaGia::erroreDiCaricamento()
{
    modPrincipale::setPercorsoDatabase(
        QStringLiteral("Socket=%1;Database=tst_inesistente;Uid=root;Pwd=;").arg(m_db->socket()));
    frmRicercaGia *dialogo = frmRicercaGia::istanza();
    dialogo->setTipoRicerca(12);
    dialogo->setCodiceCliente(QStringLiteral("500"));
    dialogo->setFiliale(QStringLiteral("01"));
    dialogo->setRiferimentoCliente(QString());
    const int trovato = numeroErrore([dialogo] { dialogo->mostraModale(); });
    modPrincipale::setPercorsoDatabase(m_db->testoConnessione());
    QCOMPARE(trovato, 1049);
    QVERIFY(!dialogo->isVisible());
    QVERIFY(!dialogo->caricata());
    QCOMPARE(m_risposte->registrati().size(), 0);
}

void tst_frmRicercaGia::didascalieEPrimoPiano()
{
    Ricerca ricerca;
    ricerca.tipo = 7;
    ricerca.numero = QStringLiteral("9");
    ricerca.anno = QStringLiteral("2015");
    frmRicercaGia::istanza()->setAnnoOdata(QString());
    mostra(ricerca, [&](frmRicercaGia *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Ricerca per riferimento"));
        QCOMPARE(controllo<QLabel>(d, "lblRif")->text(), QStringLiteral("Riferimento"));
        QCOMPARE(controllo<QLabel>(d, "lblCliente")->text(),
                 QStringLiteral("Cliente di prova S.r.l."));
        QVERIFY(controllo<QLabel>(d, "lblCliente")->font().bold());
        QCOMPARE(controllo<QLabel>(d, "lblAnno")->text(), QStringLiteral("Anno :"));
        QCOMPARE(d->AnnoOdata(), QStringLiteral("Anno :"));
        QVERIFY(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QTest::qWait(50);
        QVERIFY(d->isVisible());
        QVERIFY(d->AnnoRif_LDV().isEmpty());
        QCOMPARE(d->size(), QSize(Geometria::daTwips(9405, d), Geometria::daTwips(4515, d)));
        d->close();
    });

    frmRicercaGia::istanza()->setAnnoOdata(QStringLiteral("Data :"));
    mostra(ricerca, [&](frmRicercaGia *d) {
        QCOMPARE(controllo<QLabel>(d, "lblAnno")->text(), QStringLiteral("Data :"));
        d->close();
    });
    frmRicercaGia::istanza()->setAnnoOdata(QString());
}

// A customer with thousands of shipments: the list opens, and the last row can be reached and
// picked from the keyboard.
void tst_frmRicercaGia::listaLunga()
{
    QVERIFY(m_db->esegui(QStringLiteral(
        "INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, lecnss) "
        "SELECT '01', CAST(seq AS CHAR), 2017, '2017-01-02' + INTERVAL (seq MOD 300) DAY, "
        "CONCAT('L-', LPAD(seq, 5, '0')), '2017-01-01', 600, 1 FROM seq_1_to_20000")));
    Ricerca ricerca;
    ricerca.codice = QStringLiteral("600");
    mostra(ricerca, [&](frmRicercaGia *d) {
        QTableView *vista = griglia(d);
        // The first page only; scrolling to the end of it brings the next one.
        QCOMPARE(vista->model()->rowCount(), 256);
        vista->scrollToBottom();
        QTRY_COMPARE(vista->model()->rowCount(), 512);
        // One Ctrl+End reaches the true last row.
        vista->setFocus();
        QTest::keyClick(vista, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(vista->model()->rowCount(), 20000);
        QCOMPARE(vista->currentIndex().row(), 19999);
        clic(controllo<QPushButton>(d, "cmdSeleziona"));
    });
    // Latest reference date first, then the reference descending: L-00001 comes last.
    QCOMPARE(frmRicercaGia::istanza()->NumLetVett(), QStringLiteral("1"));
    QCOMPARE(frmRicercaGia::istanza()->DataLdv(), QStringLiteral("03/01/2017"));
}

QTEST_MAIN(tst_frmRicercaGia)
#include "tst_frmricercagia.moc"
