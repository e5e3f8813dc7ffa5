#pragma once

#include <QMainWindow>

#include <memory>

class cRiscuti;
namespace Ui {
class FinestraOspite;
}

// The demo host: opens the component's windows and counts the `fine` events it receives.
class FinestraOspite : public QMainWindow
{
    Q_OBJECT
public:
    FinestraOspite(cRiscuti *componente, const QString &cartellaSchermate,
                   QWidget *parent = nullptr);
    ~FinestraOspite() override;

    // Opens the working windows in turn, saving a PNG of each (for --esci runs).
    void mostraTutte();

private:
    template <typename Azione>
    void apri(Azione azione);
    void salvaSchermate();
    void aggiornaStato();

    std::unique_ptr<Ui::FinestraOspite> ui;
    cRiscuti *m_componente;
    QString m_cartellaSchermate;
    int m_fine = 0;
};
