#pragma once

#include "component/finestre.h"

#include <memory>

namespace Ui {
class frmRiscuti;
}

// The collection-entry window "Incasso contrassegni".
class frmRiscuti : public FinestraLavoro
{
    Q_OBJECT
public:
    // The process-wide instance; created on first use when `crea`.
    static frmRiscuti *istanza(bool crea = true);

    explicit frmRiscuti(QWidget *parent = nullptr);
    ~frmRiscuti() override;

    // The host's presets of one waybill, read on every activation.
    QString NLdv() const { return m_NLdv; }
    void setNLdv(const QString &valore) { m_NLdv = valore; }
    QString DataLdv() const { return m_DataLdv; }
    void setDataLdv(const QString &valore) { m_DataLdv = valore; }
    QString Filiale() const { return m_Filiale; }
    void setFiliale(const QString &valore) { m_Filiale = valore; }
    QString CodiceCliente() const { return m_CodiceCliente; }
    void setCodiceCliente(const QString &valore) { m_CodiceCliente = valore; }

private:
    std::unique_ptr<Ui::frmRiscuti> ui;
    QString m_NLdv;
    QString m_DataLdv;
    QString m_Filiale;
    QString m_CodiceCliente;
};
