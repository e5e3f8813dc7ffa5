-- The load driver's company, on db/schema.sql: the same rows at every load. 40 branches with 10
-- customers each, 60,000 waybills of 2026, as things stand on 1 December 2026:
--   70% cash on delivery; of those, 80% collected and waiting for a remittance (each customer
--   is paid mostly one way: collection code 1 + customer mod 4, one in five another code),
--   collected one to four days after the waybill's date, from January to October; the other
--   20% not collected yet, which the driver's saves record;
--   no remittance yet, the last number 5000.
-- References are unique ("RIF" and the row number), so a lookup by reference finds one waybill.
-- Every draw is CRC32 of a word and the row number: no RAND(). Rows come from MariaDB's sequence
-- engine. Runs after db/schema.sql in an empty database; the last statement writes
-- carico_generazione, the mark of a complete load.

SET NAMES utf8mb4;

INSERT INTO filiali (codice, Descrizione, Localita)
SELECT LPAD(seq, 2, '0'), CONCAT('Filiale ', LPAD(seq, 2, '0')), CONCAT('Città ', seq)
FROM seq_1_to_40;

INSERT INTO codicizona (Codice, Descrizione)
SELECT seq, CONCAT('Linea ', seq) FROM seq_1_to_5;

INSERT INTO forni (Codice, RagioneSociale, Vettore)
SELECT seq, CONCAT('Vettore ', seq, ' S.r.l.'), 1 FROM seq_1_to_5;

-- Customer 2001 + c belongs to branch c mod 40 + 1.
INSERT INTO clien (Filiale, Codice, RagioneSociale, Localita, Provincia)
SELECT LPAD(seq MOD 40 + 1, 2, '0'), 2001 + seq, CONCAT('Cliente ', 2001 + seq, ' S.p.A.'),
       CONCAT('Città ', seq MOD 40 + 1), 'MI'
FROM seq_0_to_399;

-- Row n: customer n mod 400, so branch n mod 40 + 1.
INSERT INTO letve00f (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, lelin1,
                      lecdve, lecnss, leanpc, leimpa, lefinc, letpin, leimcs, leflic, leflsc,
                      ledtin, lendvc)
SELECT filiale, CAST(100000 + n AS CHAR), 2026, data_ldv, CONCAT('RIF', n), data_ldv, cliente,
       CONCAT('Destinatario ', n MOD 997), 1 + n MOD 5, 1 + n MOD 5,
       contrassegno, IF(n MOD 10 = 0, 5, 0), IF(n MOD 15 = 0, 7.5, 0),
       IF(incassato, filiale, NULL), IF(incassato, '3', NULL),
       IF(incassato, contrassegno, 0), IF(incassato, codice, '0'), 0,
       IF(incassato, data_ldv + INTERVAL 1 + CRC32(CONCAT('i', n)) MOD 4 DAY, NULL), 0
FROM (SELECT seq AS n, LPAD(seq MOD 40 + 1, 2, '0') AS filiale, 2001 + seq MOD 400 AS cliente,
             DATE '2026-01-01' + INTERVAL CRC32(CONCAT('d', seq)) MOD 300 DAY AS data_ldv,
             IF(CRC32(CONCAT('c', seq)) MOD 10 < 7,
                20 + CRC32(CONCAT('a', seq)) MOD 48000 / 100, 0) AS contrassegno,
             CRC32(CONCAT('c', seq)) MOD 10 < 7 AND CRC32(CONCAT('r', seq)) MOD 5 > 0 AS incassato,
             CAST(IF(CRC32(CONCAT('t', seq)) MOD 5 > 0, 1 + seq MOD 400 MOD 4,
                     1 + CRC32(CONCAT('u', seq)) MOD 4) AS CHAR) AS codice
      FROM seq_1_to_60000) righe;

UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam = 5000;

CREATE TABLE carico_generazione (
    Id            TINYINT  NOT NULL DEFAULT 1,
    ultimo_numero INT      NOT NULL,
    caricato_il   DATETIME NOT NULL,
    PRIMARY KEY (Id)
) ENGINE=InnoDB;
INSERT INTO carico_generazione (ultimo_numero, caricato_il)
SELECT UltimoNumDistVersam, NOW() FROM zolvimacon_tabge00f;
