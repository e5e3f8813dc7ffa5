#pragma once

#include "data/istruzioni_ricerca.h"

#include <QFlags>
#include <QString>
#include <QStringList>
#include <QVector>

// What the lists of the shipment search are built from: the dialog's properties and, for
// "&Visualizza", its two fields.
struct ValoriRicerca
{
    QString codiceCliente;
    QString filiale;
    QString riferimento;  // RiferimentoCliente
    QString anno;         // AnnoRif_LDV
    QString numeroLdv;    // NumLetVett
    QString giacenza;     // Giacenza
    QString annoGiacenza; // AnnoGiacenza
    QString valore;       // txtValore
    QString annoData;     // txtAnnoData, empty while nothing is typed into its mask
};

// One mode of the shipment search (TipoRicerca): its lists, its grid and its controls. Columns
// are named by their headings, the names the lists give them.
struct ModoRicerca
{
    using Costruttore = IstruzioniRicerca::ListaRicerca (*)(const ValoriRicerca &);

    // The grid's display formats; each one is attached to the columns that name it.
    enum class Formato { BorCons, Contr, TipoContr, Anticip, TipoAnt, Assegnato, TipoAss };
    struct ColonnaFormattata
    {
        QString colonna;
        Formato formato;
    };

    // The columns "&Seleziona" takes from the current row, trimmed: the waybill number and its
    // date. None: it takes nothing.
    struct Scelta
    {
        QString numero;
        QString data;
    };

    // What sets a mode apart besides its lists and columns. Without any, the controls stay as
    // drawn: everything shown and enabled, txtAnnoData white.
    enum Regola {
        AnnoDataSpento = 0x01,     // txtAnnoData and lblAnno disabled, the field button-coloured
        AnnoDataNascosto = 0x02,   // txtAnnoData and lblAnno hidden
        ValoreNascosto = 0x04,     // lblRif and txtValore hidden
        VisualizzaNascosto = 0x08, // cmdVisualizza hidden
        SelezionaEsce = 0x10,      // cmdSeleziona captioned "&Esci"
        MascheraData = 0x20,       // txtAnnoData takes a date (its mask on focus), not a year
        VisualizzaConData = 0x40,  // "&Visualizza" without a valid date runs the list shown again
        DataComeMostrata = 0x80,   // "&Seleziona" keeps the blanks of the date
    };
    Q_DECLARE_FLAGS(Regole, Regola)

    int tipo = 0;
    Costruttore primaLista = nullptr;      // on loading; none: the grid stays empty
    Costruttore listaVisualizza = nullptr; // none: "&Visualizza" runs the list shown again
    QString valoreRichiesto; // "&Visualizza" gives this message instead while txtValore is empty
    QStringList colonneNascoste;
    QVector<ColonnaFormattata> formati;
    Scelta scelta;
    Regole regole;

    // The mode `tipo`; for an unknown one a mode without lists or rules.
    static const ModoRicerca &di(int tipo);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ModoRicerca::Regole)
