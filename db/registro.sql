-- The audit trail of the collection and remittance component, and the index of its report of
-- the money waiting, for a database made before they existed. Runs in the current database and
-- may run again: `mariadb trasporti < db/registro.sql`. db/schema.sql includes the same.
--
-- One row per change: a save of a collection has one row per column that changed, with its
-- value before and after (as text: amounts with a point, dates yyyy-mm-dd, NULL as NULL); a
-- remittance, a provisional letter and a cancellation have one row per waybill. The component
-- writes the rows inside the transaction of the change, and only inserts.

SET NAMES utf8mb4;

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

CREATE INDEX IF NOT EXISTS ix_letve_sospesi
    ON letve00f (lendvc, leflsc, lecodi, lefili, lecnss, leimcs, ledtin, ledtlv);
CREATE INDEX IF NOT EXISTS ix_letve_data_distinta ON letve00f (ledtvc);
