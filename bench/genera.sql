-- The benchmark's company: a large transport database on db/schema.sql, the same rows at every
-- load. 8 branches, 10,000 customers, 5,000 recipients and 1,000,000 waybills from 1 December
-- 2024 to 30 November 2026, as things stand on 4 December 2026: collections, remittances (one
-- per customer, collection code and month) with their contrassegni rows, held shipments.
--
-- Two customers are there for the benchmark's heavy actions:
--   1001  a web shop at branch 01: about 80,000 waybills, 70% of them cash on delivery, so its
--         shipment list (cash-on-delivery rows of branch 01) has more than 50,000 rows;
--   1002  a chain paid with our cheque (collection code 3) on every waybill; its 10,000 most
--         recent collections are neither sent nor remitted, so a remittance of type 3 over the
--         whole two years takes exactly 10,000 waybills.
--
-- The joins are written in the order they must run (STRAIGHT_JOIN): a plan chosen on tables
-- whose statistics are not there yet can turn a lookup by key into a scan per row.
-- Every draw is CRC32 of a word and the row number: no RAND(). Rows come from MariaDB's sequence
-- engine (seq_1_to_N), set-based, one statement per table. Run it after db/schema.sql in an
-- empty database; the last statement writes bench_generazione, the mark of a complete load.
-- The working tables (bench_*) are ordinary tables in the database, not temporary ones: a
-- temporary table lives in the server's tmpdir, shared with every other process of the machine
-- that cleans temporary files, and a table lost there in the middle of a load fails it.

SET NAMES utf8mb4;
SET SESSION unique_checks = 0, foreign_key_checks = 0;
-- The window functions and the joins below sort a million rows.
SET SESSION sort_buffer_size = 64 * 1024 * 1024, join_buffer_size = 16 * 1024 * 1024;

-- Valid Italian VAT number from its first ten digits: the eleventh is the check digit (odd
-- places summed, even places doubled with 9 taken off above 9).
CREATE FUNCTION bench_partita_iva(base CHAR(10)) RETURNS CHAR(11) DETERMINISTIC
RETURN CONCAT(base, (10 - (
      SUBSTRING(base, 1, 1) + SUBSTRING(base, 3, 1) + SUBSTRING(base, 5, 1)
    + SUBSTRING(base, 7, 1) + SUBSTRING(base, 9, 1)
    + SUBSTRING(base, 2, 1) * 2 - IF(SUBSTRING(base, 2, 1) > 4, 9, 0)
    + SUBSTRING(base, 4, 1) * 2 - IF(SUBSTRING(base, 4, 1) > 4, 9, 0)
    + SUBSTRING(base, 6, 1) * 2 - IF(SUBSTRING(base, 6, 1) > 4, 9, 0)
    + SUBSTRING(base, 8, 1) * 2 - IF(SUBSTRING(base, 8, 1) > 4, 9, 0)
    + SUBSTRING(base, 10, 1) * 2 - IF(SUBSTRING(base, 10, 1) > 4, 9, 0)) % 10) % 10);

-- --- Branches, lines, carriers -----------------------------------------------------------------

INSERT INTO filiali (codice, Descrizione, Indirizzo, Cap, Localita, Provincia) VALUES
    ('01', 'Milano', 'Via dell''Innovazione 14', '20126', 'Milano', 'MI'),
    ('02', 'Torino', 'Corso Giulio Cesare 290', '10154', 'Torino', 'TO'),
    ('03', 'Bologna', 'Via dell''Industria 30', '40138', 'Bologna', 'BO'),
    ('04', 'Verona', 'Via Belgio 12', '37135', 'Verona', 'VR'),
    ('05', 'Firenze', 'Via Pratese 160', '50145', 'Firenze', 'FI'),
    ('06', 'Roma', 'Via Tiburtina 1020', '00156', 'Roma', 'RM'),
    ('07', 'Napoli', 'Via Galileo Ferraris 150', '80142', 'Napoli', 'NA'),
    ('08', 'Bari', 'Viale Lorenzo Ravanas 220', '70123', 'Bari', 'BA');

INSERT INTO codicizona (Codice, Descrizione) VALUES
    (11, 'Milano città'), (12, 'Milano hinterland nord'), (13, 'Monza e Brianza'),
    (21, 'Torino città'), (22, 'Cintura torinese'), (23, 'Canavese e Biellese'),
    (31, 'Bologna città'), (32, 'Imola e Romagna'), (33, 'Modena e Reggio Emilia'),
    (41, 'Verona città'), (42, 'Lago di Garda'), (43, 'Vicenza e Padova'),
    (51, 'Firenze città'), (52, 'Prato e Pistoia'), (53, 'Valdarno e Arezzo'),
    (61, 'Roma centro'), (62, 'Roma est e Tivoli'), (63, 'Litorale romano'),
    (71, 'Napoli città'), (72, 'Caserta e Agro aversano'), (73, 'Salerno e Costiera'),
    (81, 'Bari città'), (82, 'Terra di Bari'), (83, 'Brindisi e Lecce');

INSERT INTO forni (Filiale, Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia, PartitaIva, Telefono, Vettore) VALUES
    ('01', 101, 'Autotrasporti Colombo S.n.c.', 'Viale Italia 560', '20099', 'Sesto San Giovanni', 'MI', '43209880152', '02 04875371', 1),
    ('02', 102, 'Trasporti Ferrero & Figli S.r.l.', 'Via Torino 45', '10036', 'Settimo Torinese', 'TO', '19753090018', '011 4923642', 1),
    ('03', 103, 'Logistica Emiliana S.r.l.', 'Via del Lavoro 19', '40033', 'Casalecchio di Reno', 'BO', '96296300377', '051 4971913', 1),
    ('04', 104, 'Autolinee Zanetti S.a.s.', 'Via Nazionale 31', '37036', 'San Martino Buon Albergo', 'VR', '72839510236', '045 5020184', 1),
    ('05', 105, 'Trasporti Toscani Bertini S.r.l.', 'Via di Sesto 92', '50019', 'Sesto Fiorentino', 'FI', '49382720487', '055 5068455', 1),
    ('06', 106, 'Corrieri Romani Associati Soc. Coop.', 'Via Maremmana Inferiore 8', '00012', 'Guidonia Montecelio', 'RM', '25925930585', '06 05116726', 1),
    ('07', 107, 'Autotrasporti Esposito Gennaro', 'Via Nazionale delle Puglie 210', '80026', 'Casoria', 'NA', '02469140632', '081 5164997', 1),
    ('08', 108, 'Logistica Levante S.r.l.', 'Via dei Gladioli 3', '70026', 'Modugno', 'BA', '79012350728', '080 5213268', 1),
    ('01', 109, 'Padana Express S.r.l.', 'Via Emilia 88', '26900', 'Lodi', 'LO', '55555560980', '0371 261539', 1),
    ('05', 110, 'Trasporti Adriatici Marchetti S.n.c.', 'Via Flaminia 410', '60126', 'Ancona', 'AN', '32098770426', '071 5309810', 1),
    ('01', 201, 'Carburanti Lombardi S.p.A.', 'Via Rubattino 84', '20134', 'Milano', 'MI', '97530880158', '02 09702471', 0),
    ('01', 202, 'Pneumatici Gallo S.r.l.', 'Via Orzinuovi 17', '25125', 'Brescia', 'BS', '74074090171', '030 9750742', 0),
    ('01', 203, 'Cartotecnica Moderna S.r.l.', 'Via Zanica 41', '24126', 'Bergamo', 'BG', '50617300160', '035 9799013', 0),
    ('04', 205, 'Imballaggi Veneti S.r.l.', 'Corso Stati Uniti 30', '35127', 'Padova', 'PD', '03703720288', '049 9895555', 0);

-- --- Word lists the registers are combined from ----------------------------------------------

-- Towns with their post code, telephone prefix and the branch that serves them; id from 0.
CREATE TABLE bench_localita (
    id INT PRIMARY KEY, localita VARCHAR(40), provincia CHAR(2), cap CHAR(5),
    prefisso VARCHAR(5), filiale CHAR(2));
INSERT INTO bench_localita VALUES
    (0, 'Milano', 'MI', '20121', '02', '01'), (1, 'Monza', 'MB', '20900', '039', '01'),
    (2, 'Como', 'CO', '22100', '031', '01'), (3, 'Bergamo', 'BG', '24121', '035', '01'),
    (4, 'Brescia', 'BS', '25121', '030', '01'), (5, 'Varese', 'VA', '21100', '0332', '01'),
    (6, 'Pavia', 'PV', '27100', '0382', '01'), (7, 'Lodi', 'LO', '26900', '0371', '01'),
    (8, 'Lecco', 'LC', '23900', '0341', '01'), (9, 'Cremona', 'CR', '26100', '0372', '01'),
    (10, 'Sesto San Giovanni', 'MI', '20099', '02', '01'),
    (11, 'Legnano', 'MI', '20025', '0331', '01'),
    (12, 'Torino', 'TO', '10121', '011', '02'), (13, 'Alba', 'CN', '12051', '0173', '02'),
    (14, 'Cuneo', 'CN', '12100', '0171', '02'), (15, 'Asti', 'AT', '14100', '0141', '02'),
    (16, 'Biella', 'BI', '13900', '015', '02'), (17, 'Novara', 'NO', '28100', '0321', '02'),
    (18, 'Alessandria', 'AL', '15121', '0131', '02'), (19, 'Aosta', 'AO', '11100', '0165', '02'),
    (20, 'Bologna', 'BO', '40121', '051', '03'), (21, 'Modena', 'MO', '41121', '059', '03'),
    (22, 'Parma', 'PR', '43121', '0521', '03'),
    (23, 'Reggio nell''Emilia', 'RE', '42121', '0522', '03'),
    (24, 'Imola', 'BO', '40026', '0542', '03'), (25, 'Forlì', 'FC', '47121', '0543', '03'),
    (26, 'Ferrara', 'FE', '44121', '0532', '03'), (27, 'Rimini', 'RN', '47921', '0541', '03'),
    (28, 'Verona', 'VR', '37121', '045', '04'), (29, 'Vicenza', 'VI', '36100', '0444', '04'),
    (30, 'Padova', 'PD', '35121', '049', '04'), (31, 'Treviso', 'TV', '31100', '0422', '04'),
    (32, 'Venezia', 'VE', '30121', '041', '04'), (33, 'Trento', 'TN', '38122', '0461', '04'),
    (34, 'Belluno', 'BL', '32100', '0437', '04'),
    (35, 'Firenze', 'FI', '50121', '055', '05'), (36, 'Prato', 'PO', '59100', '0574', '05'),
    (37, 'Pistoia', 'PT', '51100', '0573', '05'), (38, 'Arezzo', 'AR', '52100', '0575', '05'),
    (39, 'Lucca', 'LU', '55100', '0583', '05'), (40, 'Pisa', 'PI', '56125', '050', '05'),
    (41, 'Siena', 'SI', '53100', '0577', '05'), (42, 'Livorno', 'LI', '57123', '0586', '05'),
    (43, 'Roma', 'RM', '00185', '06', '06'), (44, 'Latina', 'LT', '04100', '0773', '06'),
    (45, 'Frosinone', 'FR', '03100', '0775', '06'), (46, 'Viterbo', 'VT', '01100', '0761', '06'),
    (47, 'Tivoli', 'RM', '00019', '0774', '06'), (48, 'Perugia', 'PG', '06121', '075', '06'),
    (49, 'Napoli', 'NA', '80133', '081', '07'), (50, 'Caserta', 'CE', '81100', '0823', '07'),
    (51, 'Salerno', 'SA', '84121', '089', '07'), (52, 'Avellino', 'AV', '83100', '0825', '07'),
    (53, 'Benevento', 'BN', '82100', '0824', '07'),
    (54, 'Torre del Greco', 'NA', '80059', '081', '07'),
    (55, 'Bari', 'BA', '70121', '080', '08'), (56, 'Lecce', 'LE', '73100', '0832', '08'),
    (57, 'Taranto', 'TA', '74121', '099', '08'), (58, 'Brindisi', 'BR', '72100', '0831', '08'),
    (59, 'Foggia', 'FG', '71121', '0881', '08'), (60, 'Altamura', 'BA', '70022', '080', '08');

CREATE TABLE bench_parole (elenco VARCHAR(10), id INT, parola VARCHAR(40),
                                     PRIMARY KEY (elenco, id));
INSERT INTO bench_parole (elenco, id, parola)
SELECT 'settore', seq - 1,
       ELT(seq, 'Elettroforniture', 'Moda', 'Farmaceutici', 'Arredamenti', 'Ricambi Auto',
           'Libreria', 'Tessiture', 'Casalinghi', 'Ferramenta', 'Cosmetici', 'Enoteca',
           'Articoli Sportivi', 'Meccanica', 'Cioccolateria', 'Vini', 'Rubinetterie',
           'Abbigliamento', 'Forniture Ufficio', 'Ceramiche', 'Salumificio', 'Macchine Agricole',
           'Ottica', 'Componenti Elettronici', 'Editrice', 'Marmi', 'Occhialeria',
           'Calzaturificio', 'Orafi', 'Cantina', 'Forniture Alberghiere', 'Pelletteria',
           'Lanificio', 'Oleificio', 'Cartiere', 'Orologeria', 'Vivai', 'Forniture Mediche',
           'Torrefazione', 'Pastificio', 'Mobilificio', 'Gioielleria', 'Profumeria',
           'Caseificio', 'Tipografia', 'Idraulica', 'Elettrodomestici', 'Giocattoli',
           'Erboristeria', 'Informatica', 'Imballaggi')
FROM seq_1_to_50
UNION ALL
SELECT 'cognome', seq - 1,
       ELT(seq, 'Rossi', 'Russo', 'Ferrari', 'Esposito', 'Bianchi', 'Romano', 'Colombo', 'Ricci',
           'Marino', 'Greco', 'Bruno', 'Gallo', 'Conti', 'De Luca', 'Mancini', 'Costa',
           'Giordano', 'Rizzo', 'Lombardi', 'Moretti', 'Barbieri', 'Fontana', 'Santoro',
           'Mariani', 'Rinaldi', 'Caruso', 'Ferrara', 'Galli', 'Martini', 'Leone', 'Longo',
           'Gentile', 'Martinelli', 'Vitale', 'Lombardo', 'Serra', 'Coppola', 'De Santis',
           'D''Angelo', 'Marchetti', 'Parisi', 'Villa', 'Conte', 'Ferraro', 'Ferri', 'Fabbri',
           'Bianco', 'Marini', 'Grasso', 'Valentini', 'Messina', 'Sala', 'De Angelis', 'Gatti',
           'Pellegrini', 'Palumbo', 'Sanna', 'Farina', 'Rizzi', 'Monti', 'Cattaneo', 'Morelli',
           'Amato', 'Silvestri', 'Mazza', 'Testa', 'Grassi', 'Pellegrino', 'Carbone',
           'Giuliani', 'Benedetti', 'Barone', 'Rossetti', 'Caputo', 'Montanari', 'Guerra',
           'Palmieri', 'Bernardi', 'Martino', 'Fiore', 'De Rosa', 'Ferretti', 'Bellini',
           'Basile', 'Riva', 'Donati', 'Piras', 'Vitali', 'Battaglia', 'Sartori', 'Neri',
           'Costantini', 'Milani', 'Pagano', 'Ruggiero', 'Sorrentino', 'D''Amico', 'Orlando',
           'Negri', 'Zanetti')
FROM seq_1_to_100
UNION ALL
SELECT 'forma', seq - 1,
       ELT(seq, 'S.p.A.', 'S.r.l.', 'S.r.l.', 'S.n.c.', 'S.a.s.', '& Figli S.r.l.')
FROM seq_1_to_6
UNION ALL
SELECT 'via', seq - 1,
       ELT(seq, 'Via Roma', 'Via Garibaldi', 'Corso Italia', 'Viale Europa', 'Via Mazzini',
           'Via Dante', 'Via Verdi', 'Via Cavour', 'Via Marconi', 'Via XX Settembre',
           'Via dell''Industria', 'Via del Lavoro', 'Via dell''Artigianato',
           'Viale della Repubblica', 'Via Nazionale', 'Via Emilia', 'Via Matteotti',
           'Via Gramsci', 'Corso Vittorio Emanuele', 'Via Manzoni', 'Via San Francesco',
           'Via dei Mille', 'Viale Lombardia', 'Via Leonardo da Vinci', 'Via Galileo Galilei',
           'Via Torino', 'Via Milano', 'Via Napoli', 'Piazza della Libertà',
           'Via Fratelli Rosselli')
FROM seq_1_to_30
UNION ALL
SELECT 'nome', seq - 1,
       ELT(seq, 'Mario', 'Giulia', 'Luca', 'Francesca', 'Marco', 'Chiara', 'Alessandro', 'Sara',
           'Paolo', 'Elena', 'Roberto', 'Laura', 'Stefano', 'Anna', 'Giuseppe', 'Martina',
           'Andrea', 'Valentina', 'Francesco', 'Federica', 'Matteo', 'Silvia', 'Davide',
           'Alessia', 'Simone', 'Elisa', 'Giovanni', 'Paola', 'Antonio', 'Roberta', 'Lorenzo',
           'Ilaria', 'Riccardo', 'Cristina', 'Fabio', 'Monica', 'Nicola', 'Serena', 'Pietro',
           'Giorgia')
FROM seq_1_to_40
UNION ALL
SELECT 'negozio', seq - 1,
       ELT(seq, 'Farmacia', 'Ferramenta', 'Bar Pasticceria', 'Ottica', 'Cartoleria',
           'Alimentari', 'Boutique', 'Officina', 'Ristorante', 'Hotel', 'Fioreria', 'Libreria',
           'Erboristeria', 'Supermercato', 'Calzature', 'Enoteca', 'Tabaccheria', 'Gelateria',
           'Profumeria', 'Studio Dentistico')
FROM seq_1_to_20;

-- --- Customers and recipients -------------------------------------------------------------------

-- Codes 1001 to 11000. A multiplicative step spreads sector and surname; the two benchmark
-- customers are named outright.
INSERT INTO clien (Filiale, Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia,
                   PartitaIva, Telefono)
SELECT l.filiale, 1000 + c.seq,
       CASE c.seq
           WHEN 1 THEN 'Shopping Italia Online S.p.A.'
           WHEN 2 THEN 'Grande Distribuzione Ferraris S.p.A.'
           ELSE CONCAT(s.parola, ' ', g.parola, ' ', f.parola)
       END,
       CONCAT(v.parola, ' ', 1 + CRC32(CONCAT('civico', c.seq)) % 250),
       l.cap, l.localita, l.provincia,
       bench_partita_iva(CONCAT(LPAD((c.seq * 7351331) % 10000000, 7, '0'),
                                LPAD(l.id + 1, 3, '0'))),
       CONCAT(l.prefisso, ' ', LPAD((c.seq * 48271) % 10000000, 7, '0'))
FROM (SELECT seq, (seq * 3037) % 10000 AS k,
             IF(seq <= 2, 0, CRC32(CONCAT('localita', seq)) % 61) AS luogo
      FROM seq_1_to_10000) c
JOIN bench_localita l ON l.id = c.luogo
JOIN bench_parole s ON s.elenco = 'settore' AND s.id = c.k % 50
JOIN bench_parole g ON g.elenco = 'cognome' AND g.id = (c.k DIV 50) % 100
JOIN bench_parole f ON f.elenco = 'forma' AND f.id = CRC32(CONCAT('forma', c.seq)) % 6
JOIN bench_parole v ON v.elenco = 'via' AND v.id = CRC32(CONCAT('via', c.seq)) % 30;

-- Codes 50001 to 55000: two in five are shops or firms with a VAT number, the rest people.
INSERT INTO destinatari (Filiale, Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia,
                         PartitaIva, Telefono)
SELECT l.filiale, 50000 + d.seq,
       IF(d.negozio, CONCAT(n.parola, ' ', g.parola), CONCAT(g.parola, ' ', p.parola)),
       CONCAT(v.parola, ' ', 1 + CRC32(CONCAT('civico destinatario', d.seq)) % 300),
       l.cap, l.localita, l.provincia,
       IF(d.negozio,
          bench_partita_iva(CONCAT(LPAD((d.seq * 9133) % 10000000, 7, '0'),
                                   LPAD(l.id + 101, 3, '0'))), NULL),
       CONCAT(l.prefisso, ' ', LPAD((d.seq * 69621) % 10000000, 7, '0'))
FROM (SELECT seq, CRC32(CONCAT('negozio', seq)) % 5 < 2 AS negozio,
             CRC32(CONCAT('localita destinatario', seq)) % 61 AS luogo
      FROM seq_1_to_5000) d
JOIN bench_localita l ON l.id = d.luogo
JOIN bench_parole g ON g.elenco = 'cognome' AND g.id = CRC32(CONCAT('cognome', d.seq)) % 100
JOIN bench_parole p ON p.elenco = 'nome' AND p.id = CRC32(CONCAT('nome', d.seq)) % 40
JOIN bench_parole n ON n.elenco = 'negozio' AND n.id = CRC32(CONCAT('tipo negozio', d.seq)) % 20
JOIN bench_parole v ON v.elenco = 'via' AND v.id = CRC32(CONCAT('via destinatario', d.seq)) % 30;

-- --- Waybills -----------------------------------------------------------------------------------

-- bench_base draws, for waybill n, its customer, date, recipient, amounts, collection code and
-- whether it was held. Customer shares: 1001 8%, 1002 3.5%, 1003 to 1010 0.5% each, the rest
-- over 1011 to 11000 with the lower codes sending more (a long tail, as in a real book).
-- Dates: 730 days from 1 December 2024; a Sunday moves to the Monday.
CREATE TABLE bench_base ENGINE=Aria AS
SELECT g.n, g.cliente, c.Filiale AS filiale, g.ledtlv,
       g.ledtlv - INTERVAL (g.n % 3) DAY AS lerifd,
       d.RagioneSociale AS ledest,
       -- a third of the amounts are whole euros
       IF(CRC32(CONCAT('contrassegno', g.n)) % 1000
              < CASE g.cliente WHEN 1001 THEN 700 WHEN 1002 THEN 1000 ELSE 400 END,
          IF(g.n % 3 = 0, 25 + CRC32(CONCAT('importo', g.n)) % 1976,
             ROUND(25 + CRC32(CONCAT('importo', g.n)) % 197501 / 100, 2)), 0) AS contrassegno,
       IF(CRC32(CONCAT('anticipata', g.n)) % 13 = 0,
          5 + CRC32(CONCAT('importo anticipata', g.n)) % 40 * 2.5, 0) AS anticipata,
       IF(CRC32(CONCAT('porto', g.n)) % 11 = 0,
          9.90 + CRC32(CONCAT('importo porto', g.n)) % 25 * 3.2, 0) AS porto,
       IF(g.cliente = 1002, '3',
          ELT(1 + CRC32(CONCAT('codice', g.n)) % 10, '1', '1', '1', '1', '1', '2', '2', '3', '3',
              '4')) AS codice,
       CRC32(CONCAT('giacenza', g.n)) % 40 = 0 AS giacenza
FROM (SELECT x.n,
             CASE
                 WHEN x.u % 1000 < 80 THEN 1001
                 WHEN x.u % 1000 < 115 THEN 1002
                 WHEN x.u % 1000 < 155 THEN 1003 + (x.u DIV 1000) % 8
                 ELSE 1011 + FLOOR(9990 * POW((x.u DIV 1000) % 1000000 / 1000000, 1.6))
             END AS cliente,
             DATE '2024-12-01' + INTERVAL FLOOR((x.n - 1) * 730 / 1000000) DAY
                 + INTERVAL IF(DAYOFWEEK(DATE '2024-12-01'
                                         + INTERVAL FLOOR((x.n - 1) * 730 / 1000000) DAY) = 1,
                               1, 0) DAY AS ledtlv
      FROM (SELECT seq AS n, CRC32(CONCAT('cliente', seq)) AS u FROM seq_1_to_1000000) x) g
STRAIGHT_JOIN clien c ON c.Codice = g.cliente
STRAIGHT_JOIN destinatari d ON d.Codice = 50001 + CRC32(CONCAT('destinatario', g.n)) % 5000;

-- bench_ldv numbers the waybills (per branch and year, the branch number in front), the
-- sender's references (per customer and year of the reference) and the holds (per branch and
-- year), and decides what has been collected by 4 December 2026: recent holds are still open,
-- one waybill in 23 was never collected, the last few days wait for their collection.
CREATE TABLE bench_ldv ENGINE=Aria AS
SELECT b.*,
       CAST(CAST(b.filiale AS UNSIGNED) * 1000000
            + ROW_NUMBER() OVER (PARTITION BY b.filiale, YEAR(b.ledtlv) ORDER BY b.n) AS CHAR)
           AS lenrlv,
       CONCAT(ELT(1 + b.cliente % 4, 'RIF', 'DDT', 'ORD', 'BOL'), '-', b.cliente, '-',
              RIGHT(YEAR(b.lerifd), 2),
              LPAD(ROW_NUMBER() OVER (PARTITION BY b.cliente, YEAR(b.lerifd) ORDER BY b.n), 6,
                   '0')) AS lerife,
       IF(b.giacenza,
          ROW_NUMBER() OVER (PARTITION BY b.giacenza, b.filiale,
                                          YEAR(b.ledtlv + INTERVAL 2 DAY) ORDER BY b.n),
          0) AS numero_giacenza,
       b.giacenza AND b.ledtlv + INTERVAL 2 DAY >= DATE '2026-11-24' AS giacenza_aperta,
       NOT (b.giacenza AND b.ledtlv + INTERVAL 2 DAY >= DATE '2026-11-24')
           AND b.ledtlv <= DATE '2026-11-28' AND b.n % 23 <> 0
           AND b.contrassegno + b.anticipata + b.porto > 0 AS incassato,
       LEAST(b.ledtlv + INTERVAL (1 + b.n % 4 + IF(b.giacenza, 8 + b.n % 10, 0)) DAY,
             DATE '2026-12-04') AS data_incasso
FROM bench_base b;

-- Which cash-on-delivery collections have been remitted: those up to October 2026 except one
-- in 31 (a backlog); for customer 1002 all but its 10,000 most recent.
CREATE TABLE bench_rimesse ENGINE=Aria AS
SELECT n, cliente, codice, contrassegno, data_incasso,
       IF(cliente = 1002,
          ROW_NUMBER() OVER (PARTITION BY cliente = 1002 ORDER BY data_incasso DESC, n DESC)
              > 10000,
          data_incasso <= DATE '2026-10-31' AND n % 31 <> 0) AS rimesso
FROM bench_ldv
WHERE incassato AND contrassegno > 0;

-- One remittance per customer, collection code and month of collection, dated the 5th of the
-- next month (Monday when that is a week-end), numbered in date order from 1.
CREATE TABLE bench_distinte (PRIMARY KEY (cliente, codice, mese)) ENGINE=Aria AS
SELECT r.cliente, r.codice, r.mese, r.data_distinta, SUM(r.contrassegno) AS totale,
       ROW_NUMBER() OVER (ORDER BY r.data_distinta, r.cliente, r.codice) AS numero
FROM (SELECT cliente, codice, DATE_FORMAT(data_incasso, '%Y-%m') AS mese, contrassegno,
             LAST_DAY(data_incasso) + INTERVAL 5 DAY
                 + INTERVAL CASE DAYOFWEEK(LAST_DAY(data_incasso) + INTERVAL 5 DAY)
                                WHEN 7 THEN 2 WHEN 1 THEN 1 ELSE 0 END DAY AS data_distinta
      FROM bench_rimesse
      WHERE rimesso) r
GROUP BY r.cliente, r.codice, r.mese, r.data_distinta;

CREATE TABLE bench_rimesse_numerate (PRIMARY KEY (n)) ENGINE=Aria AS
SELECT r.n, d.numero, d.data_distinta
FROM bench_rimesse r
STRAIGHT_JOIN bench_distinte d
  ON d.cliente = r.cliente AND d.codice = r.codice
 AND d.mese = DATE_FORMAT(r.data_incasso, '%Y-%m')
WHERE r.rimesso;

-- In key order, so that the clustered index grows at its end.
INSERT INTO letve00f
    (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, lelin1, lecdve, leflbc,
     lerico, lerfgi, leangi, lecnss, leanpc, leimpa,
     lefinc, letpin, leban, lenras, lepiaz, leimcs, leflic, leflsc, leimap, leflia, leflsa,
     leinpa, leflip, leflsp, ledtin, leflco,
     lendvc, ledtvc, lendap, ledtap, lenrft, ledtft, lendiv, ledtiv)
SELECT d.filiale, d.lenrlv, YEAR(d.ledtlv), d.ledtlv, d.lerife, d.lerifd, d.cliente, d.ledest,
       CAST(d.filiale AS UNSIGNED) * 10 + 1 + d.n % 3,
       IF(d.n % 6 = 0, 109 + d.n % 2, 100 + CAST(d.filiale AS UNSIGNED)),
       d.ledtlv <= DATE '2026-11-27',
       d.giacenza AND NOT d.giacenza_aperta,
       d.numero_giacenza, IF(d.giacenza, YEAR(d.ledtlv + INTERVAL 2 DAY), 0),
       d.contrassegno, d.anticipata, d.porto,
       -- collection record
       IF(d.incassato, IF(d.n % 9 = 0, LPAD(1 + CAST(d.filiale AS UNSIGNED) % 8, 2, '0'),
                          d.filiale), NULL),
       d.tipo_pagamento,
       IF(d.tipo_pagamento = '2',
          ELT(1 + d.n % 8, 'Intesa Sanpaolo', 'UniCredit', 'Banco BPM', 'BPER Banca',
              'Monte dei Paschi di Siena', 'Credem', 'Banca Popolare di Sondrio',
              'Banca Sella'), NULL),
       IF(d.tipo_pagamento = '2', LPAD((d.n * 7351331) % 10000000000, 10, '0'), NULL),
       IF(d.tipo_pagamento = '2', ELT(1 + d.n % 6, 'Milano', 'Torino', 'Bologna', 'Roma',
                                      'Napoli', 'Bari'), NULL),
       IF(d.incassato, d.contrassegno, 0),
       IF(d.incassato AND d.contrassegno > 0, d.codice, '0'),
       r.numero IS NOT NULL,
       IF(d.incassato, d.anticipata, 0),
       IF(d.incassato AND d.anticipata > 0, '1', '0'),
       d.incassato AND d.anticipata > 0 AND d.data_incasso <= DATE '2026-10-31',
       IF(d.incassato, d.porto, 0),
       IF(d.incassato AND d.porto > 0, '1', '0'),
       d.incassato AND d.porto > 0 AND d.data_incasso <= DATE '2026-10-31',
       IF(d.incassato, d.data_incasso, NULL),
       d.incassato AND d.data_incasso <= DATE '2026-10-31',
       -- later processing
       IFNULL(r.numero, 0), r.data_distinta,
       IF(d.incassato AND d.anticipata > 0 AND d.data_incasso <= DATE '2026-10-31',
          (YEAR(d.data_incasso) - 2024) * 12 + MONTH(d.data_incasso), 0),
       IF(d.incassato AND d.anticipata > 0 AND d.data_incasso <= DATE '2026-10-31',
          LAST_DAY(d.data_incasso) + INTERVAL 3 DAY, NULL),
       IF(d.incassato AND d.porto > 0 AND d.data_incasso <= DATE '2026-10-31',
          MONTH(d.data_incasso) * 100000 + d.cliente, 0),
       IF(d.incassato AND d.porto > 0 AND d.data_incasso <= DATE '2026-10-31',
          LAST_DAY(d.data_incasso), NULL),
       IF(d.incassato AND d.filiale <> '01' AND d.data_incasso <= DATE '2026-11-15',
          DATEDIFF(d.data_incasso, DATE '2024-12-06') DIV 7 + 1, 0),
       IF(d.incassato AND d.filiale <> '01' AND d.data_incasso <= DATE '2026-11-15',
          DATE '2024-12-06' + INTERVAL (DATEDIFF(d.data_incasso, DATE '2024-12-06') DIV 7 + 1) * 7
              DAY, NULL)
FROM (SELECT x.*,
             -- means of payment: cash below 1000 euro, otherwise (and for the sender's cheque)
             -- a banker's draft; one cash payer in seven pays by account transfer
             IF(x.incassato,
                IF(x.codice = '2' OR x.contrassegno >= 1000, '2', IF(x.n % 7 = 0, '1', '3')),
                NULL) AS tipo_pagamento
      FROM bench_ldv x) d
LEFT JOIN bench_rimesse_numerate r ON r.n = d.n
ORDER BY d.filiale, d.lenrlv, YEAR(d.ledtlv);

-- Held shipments, two days after the waybill; those before 24 November 2026 are resolved.
INSERT INTO giace00f (gifili, ginrgi, giangi, ginrlv, gianlv, gidtgi, gicodi, GIDTBF, gicaus)
SELECT filiale, numero_giacenza, YEAR(ledtlv + INTERVAL 2 DAY), lenrlv, YEAR(ledtlv),
       ledtlv + INTERVAL 2 DAY, cliente,
       IF(giacenza_aperta, NULL, ledtlv + INTERVAL (5 + n % 10) DAY),
       ELT(1 + n % 5, 'Destinatario assente', 'Indirizzo errato', 'Rifiutato dal destinatario',
           'Merce danneggiata', 'Chiuso per ferie')
FROM bench_ldv
WHERE giacenza;

-- Remittances sent with our cheque (code 3) or bank transfer (code 4): one identical row per
-- remitted waybill, for the total of the remittance, drawn on the branch's bank.
INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, Importo)
SELECT d.numero, d.data_distinta,
       IF(d.codice = '3', CONCAT('Assegno n. ', LPAD((d.numero * 7717) % 100000000, 10, '0')),
          CONCAT('CRO ', LPAD((d.numero * 104723) % 100000000000, 11, '0'))),
       ELT(CAST(l.lefili AS UNSIGNED), 'Banco BPM - Milano Sede', 'Intesa Sanpaolo - Torino',
           'BPER Banca - Bologna', 'Banco BPM - Verona', 'Intesa Sanpaolo - Firenze',
           'UniCredit - Roma Tiburtina', 'Intesa Sanpaolo - Napoli', 'BPER Banca - Bari'),
       d.totale
FROM bench_distinte d
STRAIGHT_JOIN letve00f l ON l.lendvc = d.numero AND l.ledtvc = d.data_distinta
WHERE d.codice IN ('3', '4')
ORDER BY d.numero, l.lefili, l.leanlv, l.lenrlv;

UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam = (SELECT MAX(numero) FROM bench_distinte);

DROP TABLE bench_rimesse_numerate;
DROP TABLE bench_distinte;
DROP TABLE bench_rimesse;
DROP TABLE bench_ldv;
DROP TABLE bench_base;
DROP TABLE bench_parole;
DROP TABLE bench_localita;
DROP FUNCTION bench_partita_iva;

-- Fresh statistics, so that the plans are those of a database that has lived with its data.
ANALYZE TABLE letve00f, giace00f, contrassegni, clien, destinatari, forni, filiali, codicizona;

-- The mark of a complete load. Its signature is @firma_generazione, which scripts/bench.sh sets
-- to the checksum of the schema and of this file before loading, so that a changed generator
-- loads again; by hand, SET @firma_generazione = 'a mano'; first (without it this insert fails
-- and the load does not count as complete).
CREATE TABLE bench_generazione (
    firma        VARCHAR(64) NOT NULL,
    ultimo_numero INT        NOT NULL,
    caricato_il  DATETIME    NOT NULL
) ENGINE=InnoDB;
INSERT INTO bench_generazione (firma, ultimo_numero, caricato_il)
SELECT @firma_generazione, UltimoNumDistVersam, NOW() FROM zolvimacon_tabge00f;
