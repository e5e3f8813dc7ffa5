#pragma once

#include "riscuti_export.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class frmRiscuti;
class frmRimessa;
class frmAnnullaRimessa;
class frmStorico;
class frmSospesi;

// The component's public class. The three settings are shared by every instance in the process;
// each show method opens its working window modeless (one window of each kind per process) and
// returns at once. `fine` is raised each time a window this instance showed is closed.
// A show method that fails while its window loads throws a std::exception whose what() reads
// "<error number> <description>".
class RISCUTI_EXPORT cRiscuti : public QObject
{
    Q_OBJECT
public:
    explicit cRiscuti(QObject *parent = nullptr);
    // Unloads frmRiscuti, frmRimessa, frmAnnullaRimessa, frmStorico and frmSospesi, in that
    // order.
    ~cRiscuti() override;

    // The component's version, "major.minor.patch", as the loaded library carries it.
    static QString versione();

    // Connection text of the suite's database ("Server=...;Database=...;Uid=...;Pwd=...").
    QString PercorsoDatabase() const;
    void setPercorsoDatabase(const QString &valore);
    // Path of the suite's INI file (print component and work-table template).
    QString PercorsoFileIni() const;
    void setPercorsoFileIni(const QString &valore);
    // Path of the letter-head logo of the remittance letter.
    void setPercorsoLogoIntestazione(const QString &valore);

    // Shows the collection-entry window "Incasso contrassegni".
    void MostraRiscuti();
    // Presets the collection-entry window on one waybill (number, date dd/mm/yyyy, branch,
    // customer code) and shows it; the window looks the waybill up when it becomes active.
    void MostraRiscutiEXT(const QString &strLdv, const QString &strDataLdv,
                          const QString &strFiliale, const QString &strCliente);
    // Reserved for the suite: does nothing and returns an empty variant.
    QVariant Esegui(const QString &Azione, const QVariant &Arg = QVariant());
    // Shows the remittance window "Rimessa contrassegni".
    void RimessaContrassegni();
    // Shows the cancellation window "Annulla Rimessa contrassegni".
    void AnnullaRimessaContrassegno();
    // Shows "Storico contrassegni", the audit trail of collections and remittances.
    void StoricoContrassegni();
    // Shows "Contrassegni in sospeso", the report of the money due and collected but not yet
    // remitted; a double click on one of its waybills opens "Incasso contrassegni" on it.
    void ContrassegniSospesi();

signals:
    // A working window shown through this instance has been closed.
    void fine();

private:
    void Frm_Uscita();
    void frm2_Uscita();
    void Frm3_Uscita();
    void Frm4_Uscita();
    void Frm5_Uscita();

    QPointer<frmRiscuti> Frm;
    QPointer<frmRimessa> frm2;
    QPointer<frmAnnullaRimessa> Frm3;
    QPointer<frmStorico> Frm4;
    QPointer<frmSospesi> Frm5;
};
