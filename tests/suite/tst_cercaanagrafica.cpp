#include "suite/cCercaAnagrafica.h"

#include "data/erroredb.h"
#include "data/istruzioni.h"
#include "data/recordset.h"
#include "support/databasediprova.h"
#include "support/errori.h"

#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

using Codici = QList<int>;

namespace {

enum class Registro { Clienti = 1, Fornitori = 2, Destinatari = 3 };

std::unique_ptr<cCercaAnagrafica> nuovaRicerca(Registro registro)
{
    switch (registro) {
    case Registro::Clienti:
        return std::make_unique<cCercaClienti>();
    case Registro::Fornitori:
        return std::make_unique<cCercaFornitori>();
    case Registro::Destinatari:
        return std::make_unique<cCercaDestinatari>();
    }
    return nullptr;
}

// Runs a search on the register the way the dialog does and returns its result.
std::unique_ptr<Recordset> cerca(cCercaAnagrafica &ricerca, const QString &percorso, int campo,
                                 int tipo, const QString &testo)
{
    ricerca.setPercorsoDb(percorso);
    ricerca.setCampoRicerca(campo);
    ricerca.setTipoConfronto(tipo);
    ricerca.setStringaRicerca(testo);
    std::unique_ptr<Recordset> risultato = std::make_unique<Recordset>();
    ricerca.EseguiRicerca(risultato);
    return risultato;
}

} // namespace

Q_DECLARE_METATYPE(Registro)

class tst_CercaAnagrafica : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // Statement texts, without a server.
    void istruzioneRicerca_data();
    void istruzioneRicerca();
    void campiETipiNonPrevisti_data();
    void campiETipiNonPrevisti();
    void tabella_data();
    void tabella();
    void proprietaIniziali();

    // Searches on the server.
    void ricerca_data();
    void ricerca();
    void campiDelRisultato();
    void erroreDelServerLasciaIlRisultato();
    void chiudiRicerca();

private:
    std::unique_ptr<DatabaseDiProva> m_db;
};

void tst_CercaAnagrafica::initTestCase()
{
    m_db = std::make_unique<DatabaseDiProva>();
    QVERIFY(m_db->pronto());

    // The same codes in every register with different names prove which table was read.
    QVERIFY(m_db->caricaTesto(QStringLiteral(
        "INSERT INTO clien (Codice, RagioneSociale, Indirizzo, Cap, Localita, Provincia, "
        "PartitaIva) VALUES "
        "(101, 'Rossi Trasporti S.r.l.', 'Via Roma 1', '20121', 'Milano', 'MI', '01234567890'),"
        "(102, 'Rossini & Figli', 'Via Po 2', '20900', 'Monza', 'MB', '01234567891'),"
        "(103, 'Bianchi Rossi', 'Corso Francia 3', '10138', 'Torino', 'TO', '11111111111'),"
        "(104, 'Rossi', 'Via Dante 4', '20121', 'Milano', 'MI', '12312312312'),"
        "(1030, 'D''Amico Spedizioni', 'Via Sparano 5', '70121', 'Bari', 'BA', '22222222222'),"
        "(1031, 'Sconto 50% S.r.l.', 'Via Roma 6', '06012', 'Città di Castello', 'PG', "
        "'33333333333'),"
        "(1032, 'Sconto 500 S.r.l.', 'Via Roma 7', '06121', 'Perugia', 'PG', '44444444444'),"
        "(1033, 'A_B snc', 'Via Emilia 8', '47121', 'Forlì', 'FC', '55555555555'),"
        "(1034, 'AxB snc', 'Via Emilia 9', '40121', 'Bologna', 'BO', '66666666666'),"
        "(1035, 'Back\\\\slash S.r.l.', 'Via Leonardo 10', '23900', 'Lecco', 'LC', "
        "'77777777777'),"
        "(1036, 'Barbieri \\\\'' srl', 'Via Verdi 11', '24121', 'Bergamo', 'BG', '88888888888'),"
        "(1037, ''' or 1=1 -- ', 'Via Nascosta 12', '00100', 'Roma', 'RM', '99999999999'),"
        "(1038, 'Caffè Perù', 'Piazza Duomo 13', '06012', 'Città', 'PG', '10101010101'),"
        "(1039, 'Bang!Bang', 'Via Fumetti 14', '16121', 'Genova', 'GE', '12121212121');\n"
        "INSERT INTO forni (Codice, RagioneSociale, Localita, Provincia, PartitaIva) VALUES "
        "(101, 'Rossi Carburanti', 'Pavia', 'PV', '01234567890'),"
        "(201, 'Verdi Logistica', 'Lodi', 'LO', '20202020202');\n"
        "INSERT INTO destinatari (Codice, RagioneSociale, Localita, Provincia, PartitaIva) VALUES "
        "(101, 'Rossi Destinatario', 'Lodi', 'LO', '01234567890'),"
        "(301, 'Neri Ottica', 'Pavia', 'PV', '30303030303');\n")));
    QCOMPARE(m_db->valore(QStringLiteral("SELECT RagioneSociale FROM clien WHERE Codice=1036"))
                 .toString(),
             QStringLiteral("Barbieri \\' srl"));
}

void tst_CercaAnagrafica::istruzioneRicerca_data()
{
    QTest::addColumn<QString>("tabella");
    QTest::addColumn<int>("campo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso");

    const QString colonne = QStringLiteral(
        " AS Corrispondenza, Codice, RagioneSociale, Localita, Provincia, Indirizzo, Cap, "
        "PartitaIva FROM ");
    auto riga = [&](const char *nome, const char *tabella, int campo, int tipo,
                    const QString &testo, const QString &espressione, const QString &resto) {
        QTest::newRow(nome) << tabella << campo << tipo << testo
                            << QStringLiteral("SELECT ") + espressione + colonne + tabella +
                                   QStringLiteral(" WHERE ") + resto;
    };

    riga("name starts with", "clien", 2, 1, "Rossi", "RagioneSociale",
         "RagioneSociale LIKE 'Rossi%' ESCAPE '!' ORDER BY RagioneSociale='Rossi' DESC, "
         "RagioneSociale, Codice;");
    riga("town contains", "forni", 4, 2, "Mil", "Localita",
         "Localita LIKE '%Mil%' ESCAPE '!' ORDER BY Localita='Mil' DESC, RagioneSociale, Codice;");
    riga("province starts with", "destinatari", 5, 1, "P", "Provincia",
         "Provincia LIKE 'P%' ESCAPE '!' ORDER BY Provincia='P' DESC, RagioneSociale, Codice;");
    riga("VAT number exact", "destinatari", 3, 3, "01234567890", "PartitaIva",
         "PartitaIva='01234567890' ORDER BY PartitaIva='01234567890' DESC, RagioneSociale, "
         "Codice;");
    riga("code exact, bare number", "clien", 1, 3, "1001", "CAST(Codice AS CHAR)",
         "Codice=1001 ORDER BY CAST(Codice AS CHAR)='1001' DESC, RagioneSociale, Codice;");
    riga("code exact, blanks around the number", "clien", 1, 3, " 1001 ", "CAST(Codice AS CHAR)",
         "Codice=1001 ORDER BY CAST(Codice AS CHAR)=' 1001 ' DESC, RagioneSociale, Codice;");
    riga("code exact, not a number: no rows", "clien", 1, 3, "12a", "CAST(Codice AS CHAR)",
         "1=0 ORDER BY CAST(Codice AS CHAR)='12a' DESC, RagioneSociale, Codice;");
    riga("code exact, a statement in place of the number", "clien", 1, 3, "1 or 1=1",
         "CAST(Codice AS CHAR)",
         "1=0 ORDER BY CAST(Codice AS CHAR)='1 or 1=1' DESC, RagioneSociale, Codice;");
    riga("code starts with", "clien", 1, 1, "10", "CAST(Codice AS CHAR)",
         "CAST(Codice AS CHAR) LIKE '10%' ESCAPE '!' ORDER BY CAST(Codice AS CHAR)='10' DESC, "
         "RagioneSociale, Codice;");
    riga("quote escaped", "clien", 2, 1, "D'Amico", "RagioneSociale",
         "RagioneSociale LIKE 'D\\'Amico%' ESCAPE '!' ORDER BY RagioneSociale='D\\'Amico' DESC, "
         "RagioneSociale, Codice;");
    riga("backslash doubled", "clien", 2, 2, "a\\b", "RagioneSociale",
         "RagioneSociale LIKE '%a\\\\b%' ESCAPE '!' ORDER BY RagioneSociale='a\\\\b' DESC, "
         "RagioneSociale, Codice;");
    riga("backslash before a quote", "clien", 2, 3, "\\'", "RagioneSociale",
         "RagioneSociale='\\\\\\'' ORDER BY RagioneSociale='\\\\\\'' DESC, RagioneSociale, "
         "Codice;");
    riga("statement typed as a name", "clien", 2, 1, "' or 1=1 -- ", "RagioneSociale",
         "RagioneSociale LIKE '\\' or 1=1 -- %' ESCAPE '!' ORDER BY RagioneSociale='\\' or 1=1 "
         "-- ' DESC, RagioneSociale, Codice;");
    riga("wildcards and the escape character escaped", "clien", 5, 2, "5%_!", "Provincia",
         "Provincia LIKE '%5!%!_!!%' ESCAPE '!' ORDER BY Provincia='5%_!' DESC, RagioneSociale, "
         "Codice;");
}

void tst_CercaAnagrafica::istruzioneRicerca()
{
    QFETCH(QString, tabella);
    QFETCH(int, campo);
    QFETCH(int, tipo);
    QFETCH(QString, testo);
    QFETCH(QString, atteso);

    QCOMPARE(Istruzioni::ricercaAnagrafica(tabella, campo, tipo, testo), atteso);
}

void tst_CercaAnagrafica::campiETipiNonPrevisti_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<int>("tipo");

    QTest::newRow("field 0") << 0 << 1;
    QTest::newRow("field 6") << 6 << 1;
    QTest::newRow("match type 0") << 2 << 0;
    QTest::newRow("match type 4") << 2 << 4;
}

void tst_CercaAnagrafica::campiETipiNonPrevisti()
{
    QFETCH(int, campo);
    QFETCH(int, tipo);

    QCOMPARE(numeroErrore([&] {
                 Istruzioni::ricercaAnagrafica(QStringLiteral("clien"), campo, tipo,
                                                     QStringLiteral("x"));
             }),
             int(cCercaAnagrafica::ArgomentoNonValido));

    // The component refuses before it reaches the server.
    cCercaClienti ricerca;
    ricerca.setPercorsoDb(m_db->testoConnessione());
    ricerca.setCampoRicerca(campo);
    ricerca.setTipoConfronto(tipo);
    ricerca.setStringaRicerca(QStringLiteral("x"));
    std::unique_ptr<Recordset> risultato;
    QCOMPARE(numeroErrore([&] { ricerca.EseguiRicerca(risultato); }),
             int(cCercaAnagrafica::ArgomentoNonValido));
    QVERIFY(!risultato);
}

void tst_CercaAnagrafica::tabella_data()
{
    QTest::addColumn<Registro>("registro");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<int>("errore");

    QTest::newRow("customers: Clien as the dialog hands it") << Registro::Clienti << "Clien" << 0;
    QTest::newRow("customers: upper case") << Registro::Clienti << "CLIEN" << 0;
    QTest::newRow("customers: blanks around") << Registro::Clienti << " clien " << 0;
    QTest::newRow("customers: no name keeps the register") << Registro::Clienti << "" << 0;
    QTest::newRow("customers: the supplier register refused")
        << Registro::Clienti << "forni" << int(cCercaAnagrafica::ArgomentoNonValido);
    QTest::newRow("customers: a statement refused")
        << Registro::Clienti << "clien; drop table forni" << int(ErroreDb::TipoNonCorrispondente);
    QTest::newRow("suppliers: Forni") << Registro::Fornitori << "Forni" << 0;
    QTest::newRow("suppliers: clien refused")
        << Registro::Fornitori << "clien" << int(cCercaAnagrafica::ArgomentoNonValido);
    QTest::newRow("recipients: Destinatari") << Registro::Destinatari << "Destinatari" << 0;
    QTest::newRow("recipients: a longer name refused")
        << Registro::Destinatari << "destinatari2" << int(cCercaAnagrafica::ArgomentoNonValido);
}

void tst_CercaAnagrafica::tabella()
{
    QFETCH(Registro, registro);
    QFETCH(QString, nome);
    QFETCH(int, errore);

    auto ricerca = nuovaRicerca(registro);
    const QString prima = ricerca->tabellaRegistro();
    QCOMPARE(numeroErrore([&] { ricerca->setTabella(nome); }), errore);
    QCOMPARE(ricerca->tabellaRegistro(), prima);
}

void tst_CercaAnagrafica::proprietaIniziali()
{
    cCercaClienti clienti;
    QCOMPARE(clienti.tabellaRegistro(), QStringLiteral("clien"));
    QCOMPARE(cCercaFornitori().tabellaRegistro(), QStringLiteral("forni"));
    QCOMPARE(cCercaDestinatari().tabellaRegistro(), QStringLiteral("destinatari"));

    // The dialog's preselection: company name, from the start.
    QCOMPARE(clienti.CampoRicerca(), int(cCercaAnagrafica::RagioneSociale));
    QCOMPARE(clienti.TipoConfronto(), int(cCercaAnagrafica::IniziaCon));
    clienti.setCampoRicerca(cCercaAnagrafica::PartitaIva);
    clienti.setTipoConfronto(cCercaAnagrafica::Uguale);
    QCOMPARE(clienti.CampoRicerca(), int(cCercaAnagrafica::PartitaIva));
    QCOMPARE(clienti.TipoConfronto(), int(cCercaAnagrafica::Uguale));
}

void tst_CercaAnagrafica::ricerca_data()
{
    QTest::addColumn<Registro>("registro");
    QTest::addColumn<int>("campo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<Codici>("attesi"); // in the order of the result

    const Registro c = Registro::Clienti;
    auto riga = [](const char *nome, Registro registro, int campo, int tipo, const QString &testo,
                   const Codici &attesi) {
        QTest::newRow(nome) << registro << campo << tipo << testo << attesi;
    };

    // Code.
    riga("code exact", c, 1, 3, "101", {101});
    riga("code exact, four digits", c, 1, 3, "1030", {1030});
    riga("code exact, leading zeros", c, 1, 3, "00101", {101});
    riga("code exact, unknown", c, 1, 3, "999", {});
    riga("code exact, not a number", c, 1, 3, "12a", {});
    riga("code exact, statement typed", c, 1, 3, "101 or 1=1", {});
    riga("code starts with", c, 1, 1, "1039", {1039});
    riga("code starts with, exact first", c, 1, 1, "103",
         {103, 1037, 1034, 1033, 1035, 1039, 1036, 1038, 1030, 1031, 1032});
    riga("code contains", c, 1, 2, "39", {1039});
    // Company name.
    riga("name starts with, exact first", c, 2, 1, "Rossi", {104, 101, 102});
    riga("name starts with, any case", c, 2, 1, "rOSSI t", {101});
    riga("name contains", c, 2, 2, "Rossi", {104, 103, 101, 102});
    riga("name exact", c, 2, 3, "Rossi Trasporti S.r.l.", {101});
    riga("name: percent matches itself", c, 2, 1, "Sconto 50%", {1031});
    riga("name: percent alone", c, 2, 2, "%", {1031});
    riga("name: underscore matches itself", c, 2, 1, "A_B", {1033});
    riga("name: underscore alone", c, 2, 2, "_", {1033});
    riga("name: escape character matches itself", c, 2, 2, "!", {1039});
    riga("name: quote", c, 2, 1, "D'Amico", {1030});
    riga("name: backslash", c, 2, 2, "\\", {1035, 1036});
    riga("name: backslash and quote", c, 2, 2, "\\'", {1036});
    riga("name: statement typed, starts with", c, 2, 1, "' or 1=1 -- ", {1037});
    riga("name: statement typed, exact", c, 2, 3, "' or 1=1 -- ", {1037});
    riga("name: statement typed, nothing like it", c, 2, 2, "x' or '1'='1", {});
    riga("name: accented letters", c, 2, 2, "Perù", {1038});
    riga("name: ampersand", c, 2, 2, "& Figli", {102});
    // VAT number.
    riga("VAT exact", c, 3, 3, "01234567890", {101});
    riga("VAT exact, ten digits find nothing", c, 3, 3, "0123456789", {});
    riga("VAT starts with", c, 3, 1, "0123456789", {101, 102});
    riga("VAT contains", c, 3, 2, "4567", {101, 102});
    // Town.
    riga("town starts with", c, 4, 1, "Città", {1038, 1031});
    riga("town contains, any case", c, 4, 2, "castello", {1031});
    riga("town exact", c, 4, 3, "Milano", {104, 101});
    riga("town with an accent", c, 4, 1, "Forlì", {1033});
    // Province.
    riga("province starts with", c, 5, 1, "P", {1038, 1031, 1032});
    riga("province contains", c, 5, 2, "B", {1034, 1036, 1030, 102});
    riga("province exact", c, 5, 3, "MI", {104, 101});
    // The other registers.
    riga("suppliers: their own table", Registro::Fornitori, 2, 1, "Rossi", {101});
    riga("suppliers: code", Registro::Fornitori, 1, 3, "201", {201});
    riga("suppliers: a customer's code", Registro::Fornitori, 1, 3, "1030", {});
    riga("recipients: their own table", Registro::Destinatari, 4, 1, "Pavia", {301});
    riga("recipients: VAT", Registro::Destinatari, 3, 3, "01234567890", {101});
}

void tst_CercaAnagrafica::ricerca()
{
    QFETCH(Registro, registro);
    QFETCH(int, campo);
    QFETCH(int, tipo);
    QFETCH(QString, testo);
    QFETCH(Codici, attesi);

    auto ricerca = nuovaRicerca(registro);
    ricerca->setTabella(ricerca->tabellaRegistro().toUpper());
    std::unique_ptr<Recordset> risultato =
        cerca(*ricerca, m_db->testoConnessione(), campo, tipo, testo);

    QVERIFY(risultato);
    QVERIFY(risultato->aperto());
    Codici trovati;
    for (; !risultato->eof(); risultato->successivo())
        trovati << risultato->campo(1).toInt();
    QCOMPARE(trovati, attesi);
    QCOMPARE(ricerca->CampoRicerca(), campo);
    if (attesi.isEmpty()) { // open, with its fields, and no current row
        QVERIFY(risultato->bof());
        QCOMPARE(risultato->numeroCampi(), 8);
        QCOMPARE(numeroErrore([&] { risultato->campo(QStringLiteral("Codice")); }),
                 int(ErroreDb::NessunRecordCorrente));
    }
}

void tst_CercaAnagrafica::campiDelRisultato()
{
    cCercaFornitori ricerca;
    std::unique_ptr<Recordset> risultato = cerca(ricerca, m_db->testoConnessione(),
                                                 cCercaAnagrafica::Codice, cCercaAnagrafica::Uguale,
                                                 QStringLiteral("101"));
    QVERIFY(risultato);
    // Positioned on its first row.
    QVERIFY(!risultato->bof());
    QVERIFY(!risultato->eof());
    QCOMPARE(risultato->posizione(), 0);
    // The code is the second field: the customer code field reads it by position.
    QCOMPARE(risultato->nomeCampo(1), QStringLiteral("Codice"));
    QCOMPARE(risultato->campo(1).toInt(), 101);
    QCOMPARE(risultato->campo(QStringLiteral("codice")).toInt(), 101);
    QCOMPARE(risultato->campo(QStringLiteral("RagioneSociale")).toString(),
             QStringLiteral("Rossi Carburanti"));
    QCOMPARE(risultato->campo(QStringLiteral("Localita")).toString(), QStringLiteral("Pavia"));
    QCOMPARE(risultato->campo(QStringLiteral("Provincia")).toString(), QStringLiteral("PV"));
    QCOMPARE(risultato->campo(QStringLiteral("PartitaIva")).toString(),
             QStringLiteral("01234567890"));
    QVERIFY(risultato->haCampo(QStringLiteral("Indirizzo")));
    QVERIFY(risultato->haCampo(QStringLiteral("Cap")));
    QCOMPARE(risultato->numeroRighe(), 1);
}

void tst_CercaAnagrafica::erroreDelServerLasciaIlRisultato()
{
    cCercaClienti ricerca;
    ricerca.setPercorsoDb(
        m_db->testoConnessione().replace(m_db->nome(), QStringLiteral("non_esiste_qui")));
    auto precedente = std::make_unique<Recordset>();
    const Recordset *indirizzo = precedente.get();
    ricerca.setStringaRicerca(QStringLiteral("Rossi"));

    const int numero = numeroErrore([&] { ricerca.EseguiRicerca(precedente); });
    QCOMPARE(numero, 1049); // unknown database
    QCOMPARE(precedente.get(), indirizzo);
}

void tst_CercaAnagrafica::chiudiRicerca()
{
    cCercaDestinatari ricerca;
    std::unique_ptr<Recordset> risultato =
        cerca(ricerca, m_db->testoConnessione(), cCercaAnagrafica::RagioneSociale,
              cCercaAnagrafica::IniziaCon, QStringLiteral("Neri"));
    QVERIFY(risultato);
    QCOMPARE(risultato->campo(1).toInt(), 301);

    ricerca.ChiudiRicerca(risultato);
    QVERIFY(!risultato);
    // Closing what is already released is harmless.
    ricerca.ChiudiRicerca(risultato);
    QVERIFY(!risultato);

    // A result that is no longer open is released too.
    risultato = std::make_unique<Recordset>();
    ricerca.ChiudiRicerca(risultato);
    QVERIFY(!risultato);
}

QTEST_GUILESS_MAIN(tst_CercaAnagrafica)
#include "tst_cercaanagrafica.moc"
