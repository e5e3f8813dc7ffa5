-- Demo data for the transport database: branches, zones, registers and about two years of
-- waybills (1 January 2025 to 30 November 2026) with their collections, remittances and held
-- shipments, and the audit trail of the last months. Everything is derived from the row number
-- of a sequence, so every load gives the same rows. Load it after schema.sql into an empty
-- database.

SET NAMES utf8mb4;

INSERT INTO filiali (codice, Descrizione, Indirizzo, Cap, Localita, Provincia) VALUES
    ('01', 'Milano', 'Via dell''Innovazione 14', '20126', 'Milano', 'MI'),
    ('02', 'Torino', 'Corso Giulio Cesare 290', '10154', 'Torino', 'TO'),
    ('03', 'Bologna', 'Via dell''Industria 30', '40138', 'Bologna', 'BO'),
    ('04', 'Verona', 'Via Belgio 12', '37135', 'Verona', 'VR'),
    ('05', 'Firenze', 'Via Pratese 160', '50145', 'Firenze', 'FI'),
    ('06', 'Roma', 'Via Tiburtina 1020', '00156', 'Roma', 'RM'),
    ('07', 'Napoli', 'Via Galileo Ferraris 150', '80142', 'Napoli', 'NA'),
    ('08', 'Bari', 'Viale Lorenzo Ravanas 220', '70123', 'Bari', 'BA');

-- Three delivery lines per branch: branch number * 10 + 1, 2, 3.
INSERT INTO codicizona (Codice, Descrizione) VALUES
    (11, 'Milano città'), (12, 'Milano hinterland nord'), (13, 'Monza e Brianza'),
    (21, 'Torino città'), (22, 'Cintura torinese'), (23, 'Canavese e Biellese'),
    (31, 'Bologna città'), (32, 'Imola e Romagna'), (33, 'Modena e Reggio Emilia'),
    (41, 'Verona città'), (42, 'Lago di Garda'), (43, 'Vicenza e Padova'),
    (51, 'Firenze città'), (52, 'Prato e Pistoia'), (53, 'Valdarno e Arezzo'),
    (61, 'Roma centro'), (62, 'Roma est e Tivoli'), (63, 'Litorale romano'),
    (71, 'Napoli città'), (72, 'Caserta e Agro aversano'), (73, 'Salerno e Costiera'),
    (81, 'Bari città'), (82, 'Terra di Bari'), (83, 'Brindisi e Lecce');

-- Customers, suppliers and carriers, recipients (VAT numbers carry a valid check digit).
INSERT INTO clien (Filiale, Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia, PartitaIva, Telefono) VALUES
    ('01', 1001, 'Elettroforniture Brambilla S.p.A.', 'Via Mecenate 76', '20138', 'Milano', 'MI', '32098880159', '02 48319271'),
    ('01', 1002, 'Moda Lombarda S.r.l.', 'Corso Buenos Aires 54', '20124', 'Milano', 'MI', '08642090156', '02 48367542'),
    ('01', 1003, 'Farmaceutici Sormani S.p.A.', 'Viale Lombardia 41', '20900', 'Monza', 'MB', '85185301083', '039 8415813'),
    ('01', 1004, 'Arredamenti Cattaneo S.r.l.', 'Via Milano 118', '20831', 'Seregno', 'MB', '61728511082', '039 8464084'),
    ('01', 1005, 'Ricambi Auto Galbiati S.n.c.', 'Via Gramsci 210', '20099', 'Sesto San Giovanni', 'MI', '38271720153', '02 48512355'),
    ('01', 1006, 'Libreria Editrice Ambrosiana S.r.l.', 'Via Torino 61', '20123', 'Milano', 'MI', '14814930153', '02 48560626'),
    ('01', 1007, 'Tessiture Comasche Riva S.p.A.', 'Via Bellinzona 88', '22100', 'Como', 'CO', '91358140134', '031 8608897'),
    ('01', 1008, 'Casalinghi Bergamaschi S.r.l.', 'Via Carducci 25', '24127', 'Bergamo', 'BG', '67901350164', '035 8657168'),
    ('01', 1009, 'Ferramenta Bonetti S.n.c.', 'Via Triumplina 143', '25127', 'Brescia', 'BS', '44444560179', '030 8705439'),
    ('01', 1010, 'Cosmetici Varesini S.r.l.', 'Viale Borri 203', '21100', 'Varese', 'VA', '20987770128', '0332 753710'),
    ('01', 1011, 'Enoteca dell''Oltrepò S.a.s.', 'Corso Cavour 40', '27100', 'Pavia', 'PV', '97530980180', '0382 801981'),
    ('01', 1012, 'Articoli Sportivi Mauri S.r.l.', 'Via Emilia 12', '26900', 'Lodi', 'LO', '74074190989', '0371 850252'),
    ('02', 1013, 'Meccanica Piemontese S.p.A.', 'Corso Francia 333', '10142', 'Torino', 'TO', '50617400010', '011 8898523'),
    ('02', 1014, 'Cioccolateria Sabauda S.r.l.', 'Via Nizza 150', '10126', 'Torino', 'TO', '27160610013', '011 8946794'),
    ('02', 1015, 'Vini delle Langhe Bruno S.a.s.', 'Corso Langhe 24', '12051', 'Alba', 'CN', '03703820047', '0173 995065'),
    ('02', 1016, 'Rubinetterie Cusiane S.p.A.', 'Via Novara 8', '28887', 'Omegna', 'VB', '80247031034', '0323 043336'),
    ('02', 1017, 'Abbigliamento Gianoli S.r.l.', 'Via Roma 77', '13900', 'Biella', 'BI', '56790240966', '015 9091607'),
    ('02', 1018, 'Forniture Ufficio Astigiane S.n.c.', 'Corso Alfieri 190', '14100', 'Asti', 'AT', '33333450055', '0141 139878'),
    ('03', 1019, 'Ceramiche Emiliane S.p.A.', 'Via Radici in Piano 480', '41049', 'Sassuolo', 'MO', '09876660367', '0536 188149'),
    ('03', 1020, 'Salumificio Parmense Ferrari S.r.l.', 'Via Emilia Ovest 96', '43126', 'Parma', 'PR', '86419870349', '0521 236420'),
    ('03', 1021, 'Macchine Agricole Zanardi S.p.A.', 'Via Emilia 1750', '40026', 'Imola', 'BO', '62963080379', '051 9284691'),
    ('03', 1022, 'Ottica Bolognese S.r.l.', 'Via Indipendenza 34', '40121', 'Bologna', 'BO', '39506290376', '051 9332962'),
    ('03', 1023, 'Componenti Elettronici Reggiani S.r.l.', 'Via Gramsci 55', '42124', 'Reggio nell''Emilia', 'RE', '16049500354', '0522 381233'),
    ('03', 1024, 'Editrice Romagnola S.a.s.', 'Corso della Repubblica 18', '47121', 'Forlì', 'FC', '92592710401', '0543 429504'),
    ('04', 1025, 'Marmi Veronesi Zanoni S.r.l.', 'Via Valpolicella 50', '37029', 'San Pietro in Cariano', 'VR', '69135920234', '045 9477775'),
    ('04', 1026, 'Occhialeria Bellunese S.p.A.', 'Via Feltre 102', '32100', 'Belluno', 'BL', '45679130257', '0437 526046'),
    ('04', 1027, 'Calzaturificio Riviera del Brenta S.r.l.', 'Via Nazionale 80', '30039', 'Stra', 'VE', '22222340279', '041 9574317'),
    ('04', 1028, 'Orafi Vicentini Dal Lago S.n.c.', 'Viale della Scienza 26', '36100', 'Vicenza', 'VI', '98765550243', '0444 622588'),
    ('04', 1029, 'Cantina Valdobbiadene Bortolin S.a.s.', 'Via Piva 45', '31049', 'Valdobbiadene', 'TV', '75308760265', '0423 670859'),
    ('04', 1030, 'Forniture Alberghiere del Garda S.r.l.', 'Via Gardesana 15', '37011', 'Bardolino', 'VR', '51851970239', '045 9719130'),
    ('05', 1031, 'Pelletteria Fiorentina Neri S.r.l.', 'Via Baracca 220', '50127', 'Firenze', 'FI', '28395180483', '055 9767401'),
    ('05', 1032, 'Lanificio Pratese Bardi S.p.A.', 'Via Galcianese 70', '59100', 'Prato', 'PO', '04938391002', '0574 815672'),
    ('05', 1033, 'Olio del Chianti Rossi S.a.s.', 'Via Chiantigiana 12', '50022', 'Greve in Chianti', 'FI', '81481600484', '055 9863943'),
    ('05', 1034, 'Cartiere Lucchesi S.p.A.', 'Via di Sottomonte 6', '55012', 'Capannori', 'LU', '58024810465', '0583 912214'),
    ('05', 1035, 'Orologeria Aretina S.r.l.', 'Via Fiorentina 120', '52100', 'Arezzo', 'AR', '34568020514', '0575 960485'),
    ('05', 1036, 'Vivai Pistoiesi Gori S.n.c.', 'Via Fiorentina 300', '51100', 'Pistoia', 'PT', '11111230477', '0573 008756'),
    ('06', 1037, 'Forniture Mediche Capitoline S.r.l.', 'Via Prenestina 450', '00171', 'Roma', 'RM', '87654440582', '06 50057027'),
    ('06', 1038, 'Editoria Tiburtina S.p.A.', 'Via Tiburtina 912', '00156', 'Roma', 'RM', '64197650589', '06 50105298'),
    ('06', 1039, 'Torrefazione Laziale S.r.l.', 'Via Casilina 1150', '00133', 'Roma', 'RM', '40740860586', '06 50153569'),
    ('06', 1040, 'Ricambi Pontini Marini S.n.c.', 'Via del Lido 44', '04100', 'Latina', 'LT', '17284070590', '0773 201840'),
    ('06', 1041, 'Distribuzione Ciociara S.r.l.', 'Via Casilina Sud 60', '03100', 'Frosinone', 'FR', '93827280608', '0775 250111'),
    ('06', 1042, 'Arte Sacra Viterbese S.a.s.', 'Via Cassia Nord 21', '01100', 'Viterbo', 'VT', '70370490560', '0761 298382'),
    ('07', 1043, 'Pastificio Gragnanese Di Martino S.r.l.', 'Via Roma 120', '80054', 'Gragnano', 'NA', '46913700632', '081 0346653'),
    ('07', 1044, 'Sartoria Napoletana Esposito S.r.l.', 'Via Toledo 256', '80134', 'Napoli', 'NA', '23456910639', '081 0394924'),
    ('07', 1045, 'Ceramiche Vietresi Solimene S.n.c.', 'Via Madonna degli Angeli 7', '84019', 'Vietri sul Mare', 'SA', '00000120659', '089 0443195'),
    ('07', 1046, 'Conserve Casertane S.p.A.', 'Viale Carlo III 90', '81100', 'Caserta', 'CE', '76543330617', '0823 491466'),
    ('08', 1047, 'Olearia Pugliese Lorusso S.r.l.', 'Via Napoli 350', '70123', 'Bari', 'BA', '53086540720', '080 0539737'),
    ('08', 1048, 'Mobilificio Murgiano S.p.A.', 'Via Altamura 66', '70022', 'Altamura', 'BA', '29629750729', '080 0588008'),
    ('08', 1049, 'Forniture Navali Tarantine S.r.l.', 'Via Galeso 88', '74123', 'Taranto', 'TA', '06172960731', '099 0636279'),
    ('08', 1050, 'Pietra Leccese Quarta S.a.s.', 'Via Taranto 40', '73100', 'Lecce', 'LE', '82716170756', '0832 684550');

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
    ('01', 204, 'Officina Meccanica Fratelli Riva', 'Via Borgazzi 105', '20900', 'Monza', 'MB', '27160511088', '039 9847284', 0),
    ('04', 205, 'Imballaggi Veneti S.r.l.', 'Corso Stati Uniti 30', '35127', 'Padova', 'PD', '03703720288', '049 9895555', 0),
    ('03', 206, 'Informatica Gestionale S.r.l.', 'Via Stalingrado 53', '40128', 'Bologna', 'BO', '80246930376', '051 9943826', 0);

INSERT INTO destinatari (Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia, PartitaIva, Telefono) VALUES
    (5001, 'Farmacia San Marco', 'Piazza San Marco 4', '35043', 'Monselice', 'PD', '04938880285', '049 1403271'),
    (5002, 'Ferramenta Colombo', 'Via Garibaldi 18', '20025', 'Legnano', 'MI', '81482090156', '02 41451542'),
    (5003, 'Bar Pasticceria Italia', 'Corso Italia 91', '56125', 'Pisa', 'PI', '58025300508', '050 1499813'),
    (5004, 'Rossi Mario', 'Via Verdi 7', '10024', 'Moncalieri', 'TO', NULL, '011 1548084'),
    (5005, 'Bianchi Giulia', 'Via Mazzini 33', '40137', 'Bologna', 'BO', NULL, '051 1596355'),
    (5006, 'Ottica Moretti', 'Via XX Settembre 56', '16121', 'Genova', 'GE', '87654930103', '010 1644626'),
    (5007, 'Cartoleria Il Quaderno', 'Via Roma 12', '38122', 'Trento', 'TN', '64198140226', '0461 692897'),
    (5008, 'Elettrodomestici Ricci S.r.l.', 'Viale Europa 140', '60131', 'Ancona', 'AN', '40741350421', '071 1741168'),
    (5009, 'Alimentari Greco', 'Via Sparano 80', '70121', 'Bari', 'BA', '17284560723', '080 1789439'),
    (5010, 'Boutique Eleganza', 'Via Condotti 22', '00187', 'Roma', 'RM', '93827770582', '06 41837710'),
    (5011, 'Esposito Anna', 'Via Posillipo 210', '80123', 'Napoli', 'NA', NULL, '081 1885981'),
    (5012, 'Officina Marchetti', 'Via Flaminia 301', '47923', 'Rimini', 'RN', '46914190999', '0541 934252'),
    (5013, 'Ristorante Da Gino', 'Corso Vannucci 5', '06121', 'Perugia', 'PG', '23457400549', '075 1982523'),
    (5014, 'Hotel Bellavista', 'Lungolago Zanardelli 20', '25087', 'Salò', 'BS', '00000610170', '030 2030794'),
    (5015, 'Conti Luca', 'Via Dante 44', '09124', 'Cagliari', 'CA', NULL, '070 2079065'),
    (5016, 'Fioreria Le Rose', 'Via Libertà 101', '90143', 'Palermo', 'PA', '53087030820', '091 2127336'),
    (5017, 'Ferraro Francesca', 'Via Etnea 300', '95124', 'Catania', 'CT', NULL, '095 2175607'),
    (5018, 'Studio Dentistico Dr. Fontana', 'Corso Vittorio Emanuele 15', '84122', 'Salerno', 'SA', '06173450658', '089 2223878'),
    (5019, 'Libreria Mondo Libri', 'Via Cavour 60', '50129', 'Firenze', 'FI', '82716660483', '055 2272149'),
    (5020, 'Galli Roberto', 'Via Manzoni 9', '23900', 'Lecco', 'LC', NULL, '0341 320420'),
    (5021, 'Erboristeria La Camomilla', 'Via Carducci 28', '34122', 'Trieste', 'TS', '35803080320', '040 2368691'),
    (5022, 'Supermercato Lungomare', 'Viale della Riviera 2', '65123', 'Pescara', 'PE', '12346290682', '085 2416962'),
    (5023, 'Lombardi Paolo', 'Via Gorizia 14', '33100', 'Udine', 'UD', NULL, '0432 465233'),
    (5024, 'Ferramenta Mancini', 'Via Appia Nuova 402', '00181', 'Roma', 'RM', '65432710583', '06 42513504'),
    (5025, 'Marino Chiara', 'Corso Garibaldi 70', '89125', 'Reggio di Calabria', 'RC', NULL, '0965 561775'),
    (5026, 'Calzature Costa', 'Via Indipendenza 88', '40121', 'Bologna', 'BO', '18519130373', '051 2610046'),
    (5027, 'Enoteca Il Grappolo', 'Via Sabotino 3', '31100', 'Treviso', 'TV', '95062340260', '0423 658317'),
    (5028, 'Bruno Stefano', 'Corso Vercelli 15', '28100', 'Novara', 'NO', NULL, '0321 706588'),
    (5029, 'Farmacia Sant''Agostino', 'Via Cavour 6', '43121', 'Parma', 'PR', '48148760340', '0521 754859'),
    (5030, 'Caruso Elena', 'Corso Mazzini 45', '87100', 'Cosenza', 'CS', NULL, '0984 803130'),
    (5031, 'Tabaccheria Gallo', 'Piazza Erbe 2', '37121', 'Verona', 'VR', '01235180237', '045 2851401'),
    (5032, 'Rinaldi Marco', 'Via Grande 77', '57123', 'Livorno', 'LI', NULL, '0586 899672'),
    (5033, 'Gelateria Polo Nord', 'Corso San Giorgio 15', '64100', 'Teramo', 'TE', '54321600675', '0861 947943'),
    (5034, 'Sport Alpino', 'Via Sant''Anselmo 30', '11100', 'Aosta', 'AO', '30864810079', '0165 996214'),
    (5035, 'Leone Sara', 'Via Calefati 10', '70121', 'Bari', 'BA', NULL, '080 3044485'),
    (5036, 'Idraulica Santoro', 'Via Marconi 19', '66100', 'Chieti', 'CH', '83951230693', '0871 092756'),
    (5037, 'Martini Alessandro', 'Viale Farini 60', '48121', 'Ravenna', 'RA', NULL, '0544 141027'),
    (5038, 'Profumeria Incanto', 'Via Garibaldi 140', '98122', 'Messina', 'ME', '37037650837', '090 3189298'),
    (5039, 'Falegnameria Barbieri', 'Via Museo 4', '39100', 'Bolzano', 'BZ', '13580860214', '0471 237569'),
    (5040, 'Ferri Laura', 'Corso Tacito 25', '05100', 'Terni', 'TR', NULL, '0744 285840');

-- Waybills. demo_base draws, for waybill n, its customer (the first five customers send 40% of
-- the waybills, all from branch 01), date, amounts, collection code and whether it was held.
-- CRC32 of a word and n stands in for chance: the same draws at every load.
CREATE TEMPORARY TABLE demo_base AS
SELECT g.n, g.cliente, c.Filiale AS filiale, g.ledtlv,
       g.ledtlv - INTERVAL (g.n % 3) DAY AS lerifd,
       d.Codice AS destinatario, d.RagioneSociale AS ledest,
       d.Localita AS localita_dest,
       -- a third of the amounts are whole euros
       IF(CRC32(CONCAT('contrassegno', g.n)) % 1000 < 400,
          IF(g.n % 3 = 0, 25 + CRC32(CONCAT('importo', g.n)) % 1976,
             ROUND(25 + CRC32(CONCAT('importo', g.n)) % 197501 / 100, 2)), 0) AS contrassegno,
       IF(CRC32(CONCAT('anticipata', g.n)) % 13 = 0,
          5 + CRC32(CONCAT('importo anticipata', g.n)) % 40 * 2.5, 0) AS anticipata,
       IF(CRC32(CONCAT('porto', g.n)) % 11 = 0,
          9.90 + CRC32(CONCAT('importo porto', g.n)) % 25 * 3.2, 0) AS porto,
       ELT(1 + CRC32(CONCAT('codice', g.n)) % 10, '1', '1', '1', '1', '1', '2', '2', '3', '3', '4')
           AS codice,
       CRC32(CONCAT('giacenza', g.n)) % 40 = 0 AS giacenza
FROM (SELECT s.seq AS n,
             IF(CRC32(CONCAT('cliente', s.seq)) % 1000 < 400,
                1001 + CRC32(CONCAT('cliente', s.seq)) % 5,
                1006 + CRC32(CONCAT('cliente', s.seq)) % 45) AS cliente,
             -- spread over 699 days; a Sunday moves to the Monday
             DATE '2025-01-01' + INTERVAL FLOOR((s.seq - 1) * 699 / 4000) DAY
                 + INTERVAL IF(DAYOFWEEK(DATE '2025-01-01'
                                         + INTERVAL FLOOR((s.seq - 1) * 699 / 4000) DAY) = 1,
                               1, 0) DAY AS ledtlv
      FROM seq_1_to_4000 s) g
JOIN clien c ON c.Codice = g.cliente
JOIN destinatari d ON d.Codice = 5001 + CRC32(CONCAT('destinatario', g.n)) % 40;

-- demo_ldv numbers the waybills (per branch and year, the branch number in front), the sender's
-- references (per customer and year) and the holds (per branch and year), and decides what has
-- been collected by 30 November 2026: recent holds are still open, one waybill in 23 was never
-- collected, collections up to October are remitted except one in 31 (a backlog).
CREATE TEMPORARY TABLE demo_ldv AS
SELECT b.*,
       CAST(CAST(b.filiale AS UNSIGNED) * 10000
            + ROW_NUMBER() OVER (PARTITION BY b.filiale, YEAR(b.ledtlv) ORDER BY b.n) AS CHAR)
           AS lenrlv,
       CONCAT(ELT(1 + (b.cliente - 1) % 4, 'RIF', 'DDT', 'ORD', 'BOL'), '-', YEAR(b.lerifd), '-',
              LPAD((b.cliente - 1000) * 400
                   + ROW_NUMBER() OVER (PARTITION BY b.cliente, YEAR(b.lerifd) ORDER BY b.n),
                   5, '0')) AS lerife,
       IF(b.giacenza,
          ROW_NUMBER() OVER (PARTITION BY b.giacenza, b.filiale,
                                          YEAR(b.ledtlv + INTERVAL 2 DAY) ORDER BY b.n),
          0) AS numero_giacenza,
       b.giacenza AND b.ledtlv + INTERVAL 2 DAY >= DATE '2026-11-20' AS giacenza_aperta,
       NOT (b.giacenza AND b.ledtlv + INTERVAL 2 DAY >= DATE '2026-11-20')
           AND b.ledtlv <= DATE '2026-11-26' AND b.n % 23 <> 0
           AND b.contrassegno + b.anticipata + b.porto > 0 AS incassato,
       LEAST(b.ledtlv + INTERVAL (1 + b.n % 4 + IF(b.giacenza, 8 + b.n % 10, 0)) DAY,
             DATE '2026-11-30') AS data_incasso
FROM demo_base b;

-- One remittance per customer, collection code and month of collection, dated the 5th of the
-- next month (Monday when that is a week-end), numbered in date order from 1.
CREATE TEMPORARY TABLE demo_distinte AS
SELECT r.cliente, r.codice, r.mese, r.data_distinta, SUM(r.contrassegno) AS totale,
       ROW_NUMBER() OVER (ORDER BY r.data_distinta, r.cliente, r.codice) AS numero
FROM (SELECT cliente, codice, DATE_FORMAT(data_incasso, '%Y-%m') AS mese, contrassegno,
             LAST_DAY(data_incasso) + INTERVAL 5 DAY
                 + INTERVAL CASE DAYOFWEEK(LAST_DAY(data_incasso) + INTERVAL 5 DAY)
                                WHEN 7 THEN 2 WHEN 1 THEN 1 ELSE 0 END DAY AS data_distinta
      FROM demo_ldv
      WHERE incassato AND contrassegno > 0 AND data_incasso <= DATE '2026-10-31'
            AND n % 31 <> 0) r
GROUP BY r.cliente, r.codice, r.mese, r.data_distinta;

INSERT INTO letve00f
    (lefili, lenrlv, leanlv, ledtlv, lerife, lerifd, lecodi, ledest, lelin1, lecdve, leflbc,
     lerico, lerfgi, leangi, lecnss, leanpc, leimpa,
     lefinc, letpin, leban, lenras, lepiaz, leimcs, leflic, leflsc, leimap, leflia, leflsa,
     leinpa, leflip, leflsp, ledtin, leflco,
     lendvc, ledtvc, lendap, ledtap, lenrft, ledtft, lendiv, ledtiv)
SELECT d.filiale, d.lenrlv, YEAR(d.ledtlv), d.ledtlv, d.lerife, d.lerifd, d.cliente, d.ledest,
       CAST(d.filiale AS UNSIGNED) * 10 + 1 + d.n % 3,
       IF(d.n % 6 = 0, 109 + d.n % 2, 100 + CAST(d.filiale AS UNSIGNED)),
       d.ledtlv <= DATE '2026-11-25',
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
       IF(d.tipo_pagamento = '2', d.localita_dest, NULL),
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
          (YEAR(d.data_incasso) - 2025) * 12 + MONTH(d.data_incasso), 0),
       IF(d.incassato AND d.anticipata > 0 AND d.data_incasso <= DATE '2026-10-31',
          LAST_DAY(d.data_incasso) + INTERVAL 3 DAY, NULL),
       IF(d.incassato AND d.porto > 0 AND d.data_incasso <= DATE '2026-10-31',
          MONTH(d.data_incasso) * 100 + d.cliente - 1000, 0),
       IF(d.incassato AND d.porto > 0 AND d.data_incasso <= DATE '2026-10-31',
          LAST_DAY(d.data_incasso), NULL),
       IF(d.incassato AND d.filiale <> '01' AND d.data_incasso <= DATE '2026-11-15',
          DATEDIFF(d.data_incasso, DATE '2025-01-03') DIV 7 + 1, 0),
       IF(d.incassato AND d.filiale <> '01' AND d.data_incasso <= DATE '2026-11-15',
          DATE '2025-01-03' + INTERVAL (DATEDIFF(d.data_incasso, DATE '2025-01-03') DIV 7 + 1) * 7
              DAY, NULL)
FROM (SELECT x.*,
             -- means of payment: cash below 1000 euro, otherwise (and for the sender's cheque)
             -- a banker's draft; one cash payer in seven pays by account transfer
             IF(x.incassato,
                IF(x.codice = '2' OR x.contrassegno >= 1000, '2', IF(x.n % 7 = 0, '1', '3')),
                NULL) AS tipo_pagamento
      FROM demo_ldv x) d
LEFT JOIN demo_distinte r
       ON r.cliente = d.cliente AND r.codice = d.codice
      AND r.mese = DATE_FORMAT(d.data_incasso, '%Y-%m')
      AND d.incassato AND d.contrassegno > 0 AND d.data_incasso <= DATE '2026-10-31'
      AND d.n % 31 <> 0;

-- Held shipments, two days after the waybill; those before 20 November 2026 are resolved.
INSERT INTO giace00f (gifili, ginrgi, giangi, ginrlv, gianlv, gidtgi, gicodi, GIDTBF, gicaus)
SELECT filiale, numero_giacenza, YEAR(ledtlv + INTERVAL 2 DAY), lenrlv, YEAR(ledtlv),
       ledtlv + INTERVAL 2 DAY, cliente,
       IF(giacenza_aperta, NULL, ledtlv + INTERVAL (5 + n % 10) DAY),
       ELT(1 + n % 5, 'Destinatario assente', 'Indirizzo errato', 'Rifiutato dal destinatario',
           'Merce danneggiata', 'Chiuso per ferie')
FROM demo_ldv
WHERE giacenza;

-- Remittances sent with our cheque (code 3) or bank transfer (code 4): one identical row per
-- remitted waybill, for the total of the remittance, drawn on the branch's bank.
INSERT INTO contrassegni (NrDistinta, DataDistinta, Riferimento, Banca, Importo)
SELECT r.numero, r.data_distinta,
       IF(r.codice = '3', CONCAT('Assegno n. ', LPAD((r.numero * 7717) % 100000000, 10, '0')),
          CONCAT('CRO ', LPAD((r.numero * 104723) % 100000000000, 11, '0'))),
       ELT(CAST(l.lefili AS UNSIGNED), 'Banco BPM - Milano Sede', 'Intesa Sanpaolo - Torino',
           'BPER Banca - Bologna', 'Banco BPM - Verona', 'Intesa Sanpaolo - Firenze',
           'UniCredit - Roma Tiburtina', 'Intesa Sanpaolo - Napoli', 'BPER Banca - Bari'),
       r.totale
FROM letve00f l
JOIN demo_distinte r ON r.numero = l.lendvc
WHERE r.codice IN ('3', '4')
ORDER BY r.numero, l.lefili, l.leanlv, l.lenrlv;

UPDATE zolvimacon_tabge00f SET UltimoNumDistVersam = (SELECT MAX(numero) FROM demo_distinte);

-- The audit trail of the last months: each collection since 1 October 2026 saved at its branch's
-- counter in the afternoon of its collection date (one row per column it changed), each
-- remittance since 1 September 2026 posted at head office on its date, and one provisional
-- letter.
INSERT INTO registrocontrassegni (Quando, Postazione, UtenteDb, UtenteSistema, Azione, lefili,
                                  lenrlv, leanlv, lecodi, Colonna, Prima, Dopo)
SELECT TIMESTAMP(l.ledtin, MAKETIME(14 + CRC32(CONCAT('ora', l.lenrlv)) % 4,
                                    CRC32(CONCAT('minuto', l.lenrlv)) % 60, 0))
           + INTERVAL (CRC32(CONCAT('ms', l.lenrlv)) % 1000) * 1000 MICROSECOND,
       CONCAT('CASSA-', l.lefinc), CONCAT('cassa', l.lefinc, '@localhost'),
       CONCAT('cassa', l.lefinc), 'incasso', l.lefili, l.lenrlv, l.leanlv, l.lecodi,
       c.colonna,
       CASE c.colonna WHEN 'leimcs' THEN '0.00' WHEN 'leflic' THEN '0' WHEN 'leflco' THEN '0'
                      ELSE NULL END,
       CASE c.colonna WHEN 'lefinc' THEN l.lefinc WHEN 'letpin' THEN l.letpin
                      WHEN 'leban' THEN l.leban WHEN 'lenras' THEN l.lenras
                      WHEN 'lepiaz' THEN l.lepiaz WHEN 'leimcs' THEN l.leimcs
                      WHEN 'leflic' THEN l.leflic WHEN 'ledtin' THEN l.ledtin
                      ELSE l.leflco END
FROM letve00f l
JOIN (SELECT 1 AS n, 'lefinc' AS colonna UNION ALL SELECT 2, 'leban' UNION ALL
      SELECT 3, 'letpin' UNION ALL SELECT 4, 'lenras' UNION ALL SELECT 5, 'lepiaz' UNION ALL
      SELECT 6, 'leimcs' UNION ALL SELECT 7, 'leflic' UNION ALL SELECT 15, 'ledtin' UNION ALL
      SELECT 16, 'leflco') c
  ON (c.colonna NOT IN ('leban', 'lenras', 'lepiaz') OR l.letpin = '2')
 AND (c.colonna <> 'leflco' OR l.leflco = 1)
WHERE l.lecnss > 0 AND l.leimcs > 0 AND l.ledtin >= DATE '2026-10-01'
ORDER BY l.ledtin, l.lenrlv, c.n;

INSERT INTO registrocontrassegni (Quando, Postazione, UtenteDb, UtenteSistema, Azione, lefili,
                                  lenrlv, leanlv, lecodi, NrDistinta, DataDistinta)
SELECT TIMESTAMP(l.ledtvc, '10:30:00') + INTERVAL l.lendvc SECOND, 'AMMIN-SEDE',
       'amministrazione@localhost', 'bianchi', 'rimessa', l.lefili, l.lenrlv, l.leanlv,
       l.lecodi, l.lendvc, l.ledtvc
FROM letve00f l
WHERE l.lendvc <> 0 AND l.ledtvc >= DATE '2026-09-01'
ORDER BY l.ledtvc, l.lendvc, l.lenrlv;

INSERT INTO registrocontrassegni (Quando, Postazione, UtenteDb, UtenteSistema, Azione, lefili,
                                  lenrlv, leanlv, lecodi)
SELECT TIMESTAMP(DATE '2026-11-27', '16:05:12.250'), 'AMMIN-SEDE',
       'amministrazione@localhost', 'bianchi', 'rimessa provvisoria', l.lefili, l.lenrlv,
       l.leanlv, l.lecodi
FROM letve00f l
WHERE l.lecodi = 1005 AND l.leflic = '1' AND l.leflsc = 0 AND l.lendvc = 0
  AND l.ledtin BETWEEN DATE '2026-11-01' AND DATE '2026-11-27';

DROP TEMPORARY TABLE demo_distinte;
DROP TEMPORARY TABLE demo_ldv;
DROP TEMPORARY TABLE demo_base;
