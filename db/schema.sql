-- Tables and view of the transport database that the collection and remittance component uses.
-- Runs in the current database (no CREATE DATABASE, no USE); InnoDB, utf8mb4.
-- Every column the component does not write has a default or accepts NULL, so a row can be
-- inserted naming only the columns a test cares about.

SET NAMES utf8mb4;

-- Branches of the courier.
CREATE TABLE filiali (
    codice      VARCHAR(2)  NOT NULL,
    Descrizione VARCHAR(40) NOT NULL DEFAULT '',
    Indirizzo   VARCHAR(60) NULL,
    Cap         CHAR(5)     NULL,
    Localita    VARCHAR(40) NULL,
    Provincia   CHAR(2)     NULL,
    PRIMARY KEY (codice)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Delivery lines / zones; letve00f.lelin1 refers here.
CREATE TABLE codicizona (
    Codice      INT         NOT NULL,
    Descrizione VARCHAR(40) NOT NULL DEFAULT '',
    PRIMARY KEY (Codice)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- The three registers share one layout. Filiale (the branch that looks after the account) comes
-- first so that Codice is the second field of a "SELECT *", where the customer search reads it.
-- Searches match from the start of a field, so each searchable field has its own index.
CREATE TABLE clien (
    Filiale        VARCHAR(2)  NOT NULL DEFAULT '01',
    Codice         INT         NOT NULL,
    RagioneSociale VARCHAR(60) NOT NULL DEFAULT '',
    Indirizzo      VARCHAR(60) NULL,
    Cap            CHAR(5)     NULL,
    Localita       VARCHAR(40) NULL,
    Provincia      CHAR(2)     NULL,
    PartitaIva     CHAR(11)    NULL,
    Telefono       VARCHAR(20) NULL,
    PRIMARY KEY (Codice),
    KEY ix_clien_ragione (RagioneSociale),
    KEY ix_clien_localita (Localita),
    KEY ix_clien_provincia (Provincia),
    KEY ix_clien_piva (PartitaIva)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Suppliers and carriers; letve00f.lecdve refers here for the carrier.
CREATE TABLE forni (
    Filiale        VARCHAR(2)  NOT NULL DEFAULT '01',
    Codice         INT         NOT NULL,
    RagioneSociale VARCHAR(60) NOT NULL DEFAULT '',
    Indirizzo      VARCHAR(60) NULL,
    Cap            CHAR(5)     NULL,
    Localita       VARCHAR(40) NULL,
    Provincia      CHAR(2)     NULL,
    PartitaIva     CHAR(11)    NULL,
    Telefono       VARCHAR(20) NULL,
    Vettore        TINYINT     NOT NULL DEFAULT 0, -- 1: a carrier, 0: another supplier
    PRIMARY KEY (Codice),
    KEY ix_forni_ragione (RagioneSociale),
    KEY ix_forni_localita (Localita),
    KEY ix_forni_provincia (Provincia),
    KEY ix_forni_piva (PartitaIva)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Recipients (consignees).
CREATE TABLE destinatari (
    Filiale        VARCHAR(2)  NOT NULL DEFAULT '01',
    Codice         INT         NOT NULL,
    RagioneSociale VARCHAR(60) NOT NULL DEFAULT '',
    Indirizzo      VARCHAR(60) NULL,
    Cap            CHAR(5)     NULL,
    Localita       VARCHAR(40) NULL,
    Provincia      CHAR(2)     NULL,
    PartitaIva     CHAR(11)    NULL,
    Telefono       VARCHAR(20) NULL,
    PRIMARY KEY (Codice),
    KEY ix_destinatari_ragione (RagioneSociale),
    KEY ix_destinatari_localita (Localita),
    KEY ix_destinatari_provincia (Provincia),
    KEY ix_destinatari_piva (PartitaIva)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Waybills (lettere di vettura). A waybill is branch + number + year; the collection window
-- finds it by number + date, the sender's reference + date, or the customer's lists.
CREATE TABLE letve00f (
    -- identity and description
    lefili  VARCHAR(2)    NOT NULL DEFAULT '01',
    lenrlv  VARCHAR(10)   NOT NULL,
    leanlv  INT           NOT NULL,
    ledtlv  DATE          NULL,
    lerife  VARCHAR(20)   NULL,
    lerifd  DATE          NULL,
    lecodi  INT           NOT NULL DEFAULT 0,
    ledest  VARCHAR(60)   NULL,
    lelin1  INT           NOT NULL DEFAULT 0,
    lecdve  INT           NOT NULL DEFAULT 0,
    leflbc  TINYINT       NOT NULL DEFAULT 0,
    lerico  INT           NOT NULL DEFAULT 0,
    lerfgi  INT           NOT NULL DEFAULT 0,
    leangi  INT           NOT NULL DEFAULT 0,
    -- amounts due
    lecnss  DECIMAL(12,2) NOT NULL DEFAULT 0,
    leanpc  DECIMAL(12,2) NOT NULL DEFAULT 0,
    leimpa  DECIMAL(12,2) NOT NULL DEFAULT 0,
    -- collection record
    lefinc  VARCHAR(2)    NULL,
    letpin  VARCHAR(2)    NULL,
    leban   VARCHAR(40)   NULL,
    lenras  VARCHAR(20)   NULL,
    lepiaz  VARCHAR(40)   NULL,
    leimcs  DECIMAL(12,2) NOT NULL DEFAULT 0,
    leflic  VARCHAR(2)    NOT NULL DEFAULT '0',
    leflsc  TINYINT       NOT NULL DEFAULT 0,
    leimap  DECIMAL(12,2) NOT NULL DEFAULT 0,
    leflia  VARCHAR(2)    NOT NULL DEFAULT '0',
    leflsa  TINYINT       NOT NULL DEFAULT 0,
    leinpa  DECIMAL(12,2) NOT NULL DEFAULT 0,
    leflip  VARCHAR(2)    NOT NULL DEFAULT '0',
    leflsp  TINYINT       NOT NULL DEFAULT 0,
    ledtin  DATE          NULL,
    leflco  TINYINT       NOT NULL DEFAULT 0,
    -- later processing: number 0 = not happened
    lendvc  INT           NOT NULL DEFAULT 0,
    ledtvc  DATE          NULL,
    lendap  INT           NOT NULL DEFAULT 0,
    ledtap  DATE          NULL,
    lenrft  INT           NOT NULL DEFAULT 0,
    ledtft  DATE          NULL,
    lendiv  INT           NOT NULL DEFAULT 0,
    ledtiv  DATE          NULL,
    PRIMARY KEY (lefili, lenrlv, leanlv),
    -- lookup by the sender's reference and its date
    KEY ix_letve_riferimento (lerife, lerifd),
    -- lookup and save by number and date (with or without the branch)
    KEY ix_letve_numero (lenrlv, ledtlv, lefili),
    -- the customer's shipment lists: by reference, by number, collections
    KEY ix_letve_cliente (lecodi, lefili, lerife, ledtlv),
    -- the collection list, latest reference date first; read a page at a time in this order
    -- (then by number and year, the key's rest that every index ends with)
    KEY ix_letve_elenco (lecodi, lefili, lerifd, lerife),
    -- remittance selection for one customer, and the provisional letter for all
    KEY ix_letve_incassi_cliente (lecodi, leflic, leflsc, lendvc, ledtin),
    KEY ix_letve_incassi (leflic, leflsc, lendvc, ledtin),
    -- remittance cancellation and the view's join to its remittance rows
    KEY ix_letve_distinta (lendvc, ledtvc),
    -- the waybills of one held-shipment record
    KEY ix_letve_giacenza (lerfgi, leangi, lefili),
    -- the money waiting: amounts neither remitted nor sent, per customer, read from the index
    -- alone; and those remitted after a given date
    KEY ix_letve_sospesi (lendvc, leflsc, lecodi, lefili, lecnss, leimcs, ledtin, ledtlv),
    KEY ix_letve_data_distinta (ledtvc)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Held shipments (giacenze): one record per hold, numbered per branch and year.
CREATE TABLE giace00f (
    gifili  VARCHAR(2)  NOT NULL DEFAULT '01',
    ginrgi  INT         NOT NULL,
    giangi  INT         NOT NULL,
    ginrlv  VARCHAR(10) NOT NULL,
    gianlv  INT         NOT NULL,
    gidtgi  DATE        NULL,
    gicodi  INT         NOT NULL DEFAULT 0,
    GIDTBF  DATE        NULL,
    gicaus  VARCHAR(40) NULL, -- why the shipment is held
    PRIMARY KEY (giangi, ginrgi, gifili),
    KEY ix_giace_ldv (gifili, ginrlv, gianlv),
    KEY ix_giace_cliente (gicodi, giangi)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Remittance records: one row per remitted waybill of a cheque or transfer remittance; the rows
-- of one remittance are identical.
CREATE TABLE contrassegni (
    Id           INT           NOT NULL AUTO_INCREMENT,
    NrDistinta   INT           NOT NULL DEFAULT 0,
    DataDistinta DATE          NULL,
    Riferimento  VARCHAR(40)   NULL,
    Banca        VARCHAR(40)   NULL,
    Importo      DECIMAL(12,2) NOT NULL DEFAULT 0,
    PRIMARY KEY (Id),
    KEY ix_contrassegni_distinta (NrDistinta, DataDistinta)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- General parameters: one row.
CREATE TABLE zolvimacon_tabge00f (
    Id                  TINYINT NOT NULL DEFAULT 1,
    UltimoNumDistVersam INT     NOT NULL DEFAULT 0,
    PRIMARY KEY (Id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

INSERT INTO zolvimacon_tabge00f (Id, UltimoNumDistVersam) VALUES (1, 0);

-- Which station is using a remittance work table: stations whose names clean up to the same text
-- share one, and take turns on it. The component creates the table when a database lacks it.
CREATE TABLE tabellelavoro (
    Nome     VARCHAR(64) NOT NULL,
    Computer VARCHAR(64) NOT NULL,
    Dal      DATETIME    NOT NULL,
    PRIMARY KEY (Nome)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- The courier's own letter-head data for printed letters: one row.
CREATE TABLE azienda (
    Id             TINYINT     NOT NULL DEFAULT 1,
    RagioneSociale VARCHAR(60) NOT NULL DEFAULT '',
    Indirizzo      VARCHAR(60) NULL,
    Cap            CHAR(5)     NULL,
    Localita       VARCHAR(40) NULL,
    Provincia      CHAR(2)     NULL,
    PartitaIva     CHAR(11)    NULL,
    Telefono       VARCHAR(20) NULL,
    Email          VARCHAR(60) NULL,
    PRIMARY KEY (Id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

INSERT INTO azienda (Id, RagioneSociale, Indirizzo, Cap, Localita, Provincia, PartitaIva,
                     Telefono, Email)
VALUES (1, 'Espresso Padano Trasporti S.p.A.', 'Via dell''Innovazione 14', '20126', 'Milano',
        'MI', '08312450151', '02 6612 4400', 'amministrazione@espressopadano.it');

-- Cash-on-delivery waybills with their collection record and, for a remittance sent by our
-- cheque or transfer, its data. contrassegni holds one identical row per remitted waybill, so
-- each remittance column is one lookup of the waybill's own remittance (lendvc, ledtvc) through
-- ix_contrassegni_distinta: a waybill appears once however many rows its remittance has, and a
-- query that reads no remittance column costs no lookup at all.
-- Every column keeps the type of its source, so a table copied with
-- CREATE TABLE t (PRIMARY KEY (lefili, lenrlv, leanlv)) SELECT * FROM vdaticontrassegni LIMIT 0
-- gets proper columns.
CREATE VIEW vdaticontrassegni AS
SELECT l.lenrlv, l.leanlv, l.lefili, l.ledtlv, l.lerife, l.lerifd, l.ledest, l.lecodi,
       l.lecnss, l.leanpc, l.leimpa,
       l.leflic, l.leflsc, l.leflia, l.leflsa, l.leflip, l.leflsp, l.ledtin, l.lendvc,
       l.lefinc, l.letpin, l.leban, l.lenras, l.lepiaz, l.leimcs, l.leimap, l.leinpa, l.leflco,
       l.ledtvc, l.lendap, l.ledtap, l.lenrft, l.ledtft, l.lendiv, l.ledtiv,
       (SELECT MAX(c.NrDistinta) FROM contrassegni c
        WHERE c.NrDistinta = l.lendvc AND c.DataDistinta = l.ledtvc) AS NrDistinta,
       (SELECT MAX(c.DataDistinta) FROM contrassegni c
        WHERE c.NrDistinta = l.lendvc AND c.DataDistinta = l.ledtvc) AS DataDistinta,
       (SELECT MAX(c.Riferimento) FROM contrassegni c
        WHERE c.NrDistinta = l.lendvc AND c.DataDistinta = l.ledtvc) AS Riferimento,
       (SELECT MAX(c.Banca) FROM contrassegni c
        WHERE c.NrDistinta = l.lendvc AND c.DataDistinta = l.ledtvc) AS Banca,
       (SELECT MAX(c.Importo) FROM contrassegni c
        WHERE c.NrDistinta = l.lendvc AND c.DataDistinta = l.ledtvc) AS Importo
FROM letve00f l
WHERE l.lecnss > 0;

-- The audit trail of changes to collection and remittance data: one row per column a save
-- changed, one per waybill of a remittance, a provisional letter or a cancellation. The same
-- table as db/registro.sql, which adds it to an existing database.
CREATE TABLE IF NOT EXISTS registrocontrassegni (
    Id            BIGINT       NOT NULL AUTO_INCREMENT,
    Quando        DATETIME(3)  NOT NULL,
    Postazione    VARCHAR(64)  NOT NULL DEFAULT '', -- the computer's name
    UtenteDb      VARCHAR(384) NOT NULL DEFAULT '', -- CURRENT_USER(): user@host
    UtenteSistema VARCHAR(64)  NOT NULL DEFAULT '', -- the operating-system user
    Azione        VARCHAR(20)  NOT NULL,            -- incasso, rimessa, rimessa provvisoria,
                                                    -- annullamento
    lefili        VARCHAR(2)   NULL,
    lenrlv        VARCHAR(10)  NULL,
    leanlv        INT          NULL,
    lecodi        INT          NULL,                -- the waybill's customer
    NrDistinta    INT          NULL,
    DataDistinta  DATE         NULL,
    Colonna       VARCHAR(10)  NULL,                -- a save: the column that changed
    Prima         VARCHAR(60)  NULL,
    Dopo          VARCHAR(60)  NULL,
    PRIMARY KEY (Id),
    KEY ix_registro_quando (Quando),
    KEY ix_registro_ldv (lenrlv, lefili, leanlv),
    KEY ix_registro_cliente (lecodi, Quando),
    KEY ix_registro_distinta (NrDistinta, DataDistinta)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
