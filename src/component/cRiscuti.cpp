#include "component/cRiscuti.h"

#include "collection/frmriscuti.h"
#include "data/riservaconnessioni.h"
#include "finance/frmsospesi.h"
#include "finance/frmstorico.h"
#include "remittance/frmannullarimessa.h"
#include "remittance/frmrimessa.h"
#include "riscuti_versione.h"
#include "services/modprincipale.h"

namespace {

// Stores the window in the reference (connecting its Uscita once) and shows it.
template <typename Finestra, typename Gestore>
void mostraFinestra(cRiscuti *classe, QPointer<Finestra> &riferimento, Finestra *finestra,
                    Gestore gestore)
{
    if (riferimento != finestra) {
        if (riferimento)
            QObject::disconnect(riferimento, &Finestra::Uscita, classe, gestore);
        QObject::connect(finestra, &Finestra::Uscita, classe, gestore, Qt::UniqueConnection);
        riferimento = finestra;
    }
    finestra->mostra();
}

} // namespace

cRiscuti::cRiscuti(QObject *parent) : QObject(parent) {}

cRiscuti::~cRiscuti()
{
    // This instance raises nothing while it goes; other instances still hear their windows.
    if (Frm)
        disconnect(Frm, nullptr, this, nullptr);
    if (frm2)
        disconnect(frm2, nullptr, this, nullptr);
    if (Frm3)
        disconnect(Frm3, nullptr, this, nullptr);
    if (Frm4)
        disconnect(Frm4, nullptr, this, nullptr);
    if (Frm5)
        disconnect(Frm5, nullptr, this, nullptr);
    if (frmRiscuti *finestra = frmRiscuti::istanza(false))
        finestra->scarica();
    if (frmRimessa *finestra = frmRimessa::istanza(false))
        finestra->scarica();
    if (frmAnnullaRimessa *finestra = frmAnnullaRimessa::istanza(false))
        finestra->scarica();
    if (frmStorico *finestra = frmStorico::istanza(false))
        finestra->scarica();
    if (frmSospesi *finestra = frmSospesi::istanza(false))
        finestra->scarica();
    // A host that lets the class go expects its logins on the server to go too.
    RiservaConnessioni::svuota();
}

QString cRiscuti::versione()
{
    return QStringLiteral(RISCUTI_VERSIONE);
}

QString cRiscuti::PercorsoDatabase() const
{
    return modPrincipale::PercorsoDatabase();
}

void cRiscuti::setPercorsoDatabase(const QString &valore)
{
    modPrincipale::setPercorsoDatabase(valore);
}

QString cRiscuti::PercorsoFileIni() const
{
    return modPrincipale::PercorsoFileIni();
}

void cRiscuti::setPercorsoFileIni(const QString &valore)
{
    modPrincipale::setPercorsoFileIni(valore);
}

void cRiscuti::setPercorsoLogoIntestazione(const QString &valore)
{
    modPrincipale::setPercorsoLogoIntestazione(valore);
}

void cRiscuti::MostraRiscuti()
{
    mostraFinestra(this, Frm, frmRiscuti::istanza(), &cRiscuti::Frm_Uscita);
}

void cRiscuti::MostraRiscutiEXT(const QString &strLdv, const QString &strDataLdv,
                                const QString &strFiliale, const QString &strCliente)
{
    frmRiscuti *finestra = frmRiscuti::istanza();
    finestra->setNLdv(strLdv);
    finestra->setDataLdv(strDataLdv);
    finestra->setFiliale(strFiliale);
    finestra->setCodiceCliente(strCliente);
    mostraFinestra(this, Frm, finestra, &cRiscuti::Frm_Uscita);
}

QVariant cRiscuti::Esegui(const QString &, const QVariant &)
{
    return QVariant();
}

void cRiscuti::RimessaContrassegni()
{
    mostraFinestra(this, frm2, frmRimessa::istanza(), &cRiscuti::frm2_Uscita);
}

void cRiscuti::AnnullaRimessaContrassegno()
{
    mostraFinestra(this, Frm3, frmAnnullaRimessa::istanza(), &cRiscuti::Frm3_Uscita);
}

void cRiscuti::StoricoContrassegni()
{
    mostraFinestra(this, Frm4, frmStorico::istanza(), &cRiscuti::Frm4_Uscita);
}

// The report's waybills open the collection window through the instance that shows it.
void cRiscuti::ContrassegniSospesi()
{
    frmSospesi *finestra = frmSospesi::istanza();
    connect(finestra, &frmSospesi::apriIncasso, this, &cRiscuti::MostraRiscutiEXT,
            Qt::UniqueConnection);
    mostraFinestra(this, Frm5, finestra, &cRiscuti::Frm5_Uscita);
}

void cRiscuti::Frm_Uscita()
{
    if (Frm)
        disconnect(Frm, &frmRiscuti::Uscita, this, &cRiscuti::Frm_Uscita);
    Frm = nullptr;
    emit fine();
}

void cRiscuti::frm2_Uscita()
{
    if (frm2)
        disconnect(frm2, &frmRimessa::Uscita, this, &cRiscuti::frm2_Uscita);
    frm2 = nullptr;
    emit fine();
}

void cRiscuti::Frm3_Uscita()
{
    if (Frm3)
        disconnect(Frm3, &frmAnnullaRimessa::Uscita, this, &cRiscuti::Frm3_Uscita);
    Frm3 = nullptr;
    emit fine();
}

void cRiscuti::Frm4_Uscita()
{
    if (Frm4)
        disconnect(Frm4, &frmStorico::Uscita, this, &cRiscuti::Frm4_Uscita);
    Frm4 = nullptr;
    emit fine();
}

void cRiscuti::Frm5_Uscita()
{
    if (Frm5)
        disconnect(Frm5, nullptr, this, nullptr);
    Frm5 = nullptr;
    emit fine();
}
