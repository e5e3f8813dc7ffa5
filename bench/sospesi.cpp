// riscuti-bench-sospesi: the report "Contrassegni in sospeso" on the benchmark's database, timed
// as the operator meets it (the window opened on every customer, a customer's report, its
// waybills) and checked against the same figures computed waybill by waybill. scripts/bench.sh
// prepares the database; run it with --socket and --database like riscuti-bench.

#include "finance/sospesi.h"
#include "component/cRiscuti.h"
#include "data/connessione.h"
#include "data/recordset.h"
#include "finance/frmsospesi.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// The median and the slowest of `n` timings of `azione`, in milliseconds.
QString misura(int n, const std::function<void()> &azione)
{
    QVector<double> ms;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        azione();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return QStringLiteral("%1 | %2").arg(ms.at(ms.size() / 2), 0, 'f', 1).arg(ms.last(), 0, 'f', 1);
}

// The amount still waiting per customer, by the plain definitions, waybill by waybill.
QString totaleIndipendente(Connessione &c, const QDate &data)
{
    const QString d = data.toString(Qt::ISODate);
    Recordset r;
    r.apri(QStringLiteral("SELECT COUNT(*), SUM(IF(leimcs > 0 AND ledtin <= '%1', leimcs, lecnss)) "
                          "FROM letve00f WHERE lecnss > 0 AND ledtlv <= '%1' AND NOT (lendvc <> 0 "
                          "AND ledtvc <= '%1') AND NOT (lendvc = 0 AND leflsc = 1)")
               .arg(d),
           c);
    return r.campo(0).toString() + QStringLiteral(" / ") + r.campo(1).toString();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const QStringList a = app.arguments();
    const QString socket = a.value(a.indexOf(QStringLiteral("--socket")) + 1);
    const QString database = a.contains(QStringLiteral("--database"))
                                 ? a.value(a.indexOf(QStringLiteral("--database")) + 1)
                                 : QStringLiteral("trasporti_bench");
    const int n = 10;
    const QDate oggi = QDate::currentDate();
    const QString testo =
        QStringLiteral("Socket=%1;Database=%2;Uid=root;Pwd=;").arg(socket, database);
    Connessione connessione(testo);
    connessione.apri();

    cRiscuti riscuti;
    riscuti.setPercorsoDatabase(testo);
    frmSospesi *finestra = frmSospesi::istanza();
    auto *griglia = finestra->findChild<QTableView *>(QStringLiteral("Griglia"));
    auto *cliente = finestra->findChild<QLineEdit *>(QStringLiteral("txtCliente"));
    auto *calcola = finestra->findChild<QPushButton *>(QStringLiteral("cmdCalcola"));
    auto *ldv = finestra->findChild<QTableView *>(QStringLiteral("GrigliaLdv"));

    std::printf("| Action (today %s) | median ms | slowest ms | rows |\n|---|---:|---:|---:|\n",
                qPrintable(oggi.toString(QStringLiteral("dd/MM/yyyy"))));
    const QString apertura = misura(n, [&] {
        finestra->scarica();
        riscuti.ContrassegniSospesi();
    });
    std::printf("| Window opened on every customer | %s | %d |\n", qPrintable(apertura),
                int(griglia->model()->rowCount()) - 1);
    for (const char *codice : {"1001", "1002"}) {
        cliente->setText(QLatin1String(codice));
        const QString uno = misura(n, [&] { calcola->click(); });
        std::printf("| Report of customer %s | %s | %d |\n", codice, qPrintable(uno),
                    int(griglia->model()->rowCount()) - 1);
        const QString elenco = misura(n, [&] {
            const QPoint punto = griglia->visualRect(griglia->model()->index(0, 1)).center();
            QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, punto);
            QTest::mouseDClick(griglia->viewport(), Qt::LeftButton, {}, punto);
        });
        std::printf("| Its waybills (double click) | %s | %d |\n", qPrintable(elenco),
                    int(ldv->model()->rowCount()));
    }
    const QString bare = misura(n, [&] { Sospesi::leggi({{}, {}, oggi}, connessione); });
    std::printf("| The report's statement alone, every customer | %s | |\n", qPrintable(bare));

    // The grand total against the independent computation.
    const RigaSospesi totale = Sospesi::totale(Sospesi::leggi({{}, {}, oggi}, connessione));
    const QString report = QString::number(totale.nrDaIncassare + totale.nrDaRimettere) +
                           QStringLiteral(" / ") +
                           (totale.daIncassare + totale.daRimettere).perSql();
    const QString atteso = totaleIndipendente(connessione, oggi);
    std::printf("\nWaybills / amount waiting: report %s, computed waybill by waybill %s: %s\n",
                qPrintable(report), qPrintable(atteso), report == atteso ? "equal" : "DIFFERENT");
    finestra->scarica();
    return report == atteso ? 0 : 1;
}
