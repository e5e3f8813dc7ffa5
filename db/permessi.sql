-- The operators' role: the least the collection and remittance component needs. Runs in the
-- database of the suite (`mariadb trasporti < db/permessi.sql`, as an administrator) and may
-- run again. Then give the role to each operator's account and make it their default:
--     GRANT operatori_contrassegni TO 'rossi'@'%';
--     SET DEFAULT ROLE operatori_contrassegni FOR 'rossi'@'%';
-- and, once per station, the station's remittance work table (its station name followed by
-- "Rimessa", see the README), which the run creates, fills, indexes and drops:
--     GRANT SELECT, INSERT, UPDATE, CREATE, DROP, ALTER, INDEX ON `PC01Rimessa`
--         TO operatori_contrassegni;

CREATE ROLE IF NOT EXISTS operatori_contrassegni;

-- Reads: the registers, the waybills with their held shipments, the view and the letter-head.
GRANT SELECT ON clien TO operatori_contrassegni;
GRANT SELECT ON forni TO operatori_contrassegni;
GRANT SELECT ON destinatari TO operatori_contrassegni;
GRANT SELECT ON filiali TO operatori_contrassegni;
GRANT SELECT ON codicizona TO operatori_contrassegni;
GRANT SELECT ON giace00f TO operatori_contrassegni;
GRANT SELECT ON azienda TO operatori_contrassegni;
GRANT SELECT ON vdaticontrassegni TO operatori_contrassegni;

-- The waybill: only the collection record, the remittance stamp and the sent mark are written.
GRANT SELECT, UPDATE (lefinc, letpin, leban, lenras, lepiaz, leimcs, leflic, leflsc, leimap,
                      leflia, leflsa, leinpa, leflip, leflsp, ledtin, leflco, lendvc, ledtvc)
    ON letve00f TO operatori_contrassegni;

-- The remittance records, and the last remittance number.
GRANT SELECT, INSERT, DELETE ON contrassegni TO operatori_contrassegni;
GRANT SELECT, UPDATE (UltimoNumDistVersam) ON zolvimacon_tabge00f TO operatori_contrassegni;

-- Which station holds a work table (created with the schema; the run only checks it is there).
GRANT SELECT, INSERT, UPDATE, DELETE, CREATE ON tabellelavoro TO operatori_contrassegni;

-- The audit trail: written, read, never changed.
GRANT SELECT, INSERT ON registrocontrassegni TO operatori_contrassegni;
