#include "data/testoconnessione.h"

#include <QTest>

// The connection texts the suite's hosts write, read into the parameters of a connection.
class tst_TestoConnessione : public QObject
{
    Q_OBJECT

private slots:
    void leggi_data();
    void leggi();
};

namespace {

struct Atteso
{
    QString host;
    int porta;
    QString database;
    QString utente;
    QString password;
    QString socket;
    ModoTls modo = ModoTls::Disabilitato;
    QStringList tls = {"", "", "", ""}; // SslCa, SslCert, SslKey, SslCipher
};

} // namespace

Q_DECLARE_METATYPE(Atteso)

void tst_TestoConnessione::leggi_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<Atteso>("atteso");

    const QString lh = QStringLiteral("localhost");
    using M = ModoTls;
    auto riga = [](const char *nome, const QString &testo, const Atteso &atteso) {
        QTest::newRow(nome) << testo << atteso;
    };

    riga("ODBC driver text as hosts write it",
         "Driver={MariaDB ODBC 3.1 Driver};Server=localhost;Port=3306;Database=trasporti;"
         "Uid=operatore;Pwd=segreta;Option=3;",
         {lh, 3306, "trasporti", "operatore", "segreta", ""});
    riga("OLE DB text with nested Extended Properties",
         "Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"DRIVER={MySQL ODBC "
         "3.51 Driver};SERVER=myhost;DATABASE=trasporti;UID=operatore;PWD=segreta;OPTION=3\"",
         {"myhost", 0, "trasporti", "operatore", "segreta", ""});
    riga("keys in any case", "sErVeR=h1;PORT=3307;dataBASE=d1;UID=u1;pWd=p1",
         {"h1", 3307, "d1", "u1", "p1", ""});
    riga("blanks around keys and values ignored",
         "  Server = h2 ;  Database =d2;Uid= u2 ;\tPwd =\tp2\t; Port = 3308 ",
         {"h2", 3308, "d2", "u2", "p2", ""});
    riga("final semicolon optional", "Server=h3;Database=d3", {"h3", 0, "d3", "", "", ""});
    riga("empty fragments and stray text skipped", ";;Server=h4;;garbage;Database=d4;",
         {"h4", 0, "d4", "", "", ""});
    riga("braces hold semicolons and equals signs", "Server=h5;Pwd={se;gr=eta};Uid=u5",
         {"h5", 0, "", "u5", "se;gr=eta", ""});
    riga("double quotes hold semicolons", "Pwd=\"a;b c\";Server=h6",
         {"h6", 0, "", "", "a;b c", ""});
    riga("blanks kept inside braces", "Pwd={ a b };Server=h7", {"h7", 0, "", "", " a b ", ""});
    riga("closing brace doubled inside braces", "Pwd={ab}}c;d};Uid=u8",
         {lh, 0, "", "u8", "ab}c;d", ""});
    riga("double quote doubled inside quotes", "Pwd=\"x\"\"y;z\";Uid=u9",
         {lh, 0, "", "u9", "x\"y;z", ""});
    riga("aliases Data Source, Initial Catalog, User ID, Password",
         "Data Source=h10;Initial Catalog=d10;User ID=u10;Password=p10",
         {"h10", 0, "d10", "u10", "p10", ""});
    riga("aliases Host, DB, User", "Host=h11;DB=d11;User=u11", {"h11", 0, "d11", "u11", "", ""});
    riga("aliases Address, UserName", "Address=h12;UserName=u12", {"h12", 0, "", "u12", "", ""});
    riga("socket without server means the local one", "Socket=/tmp/rc/sock;Database=d13;Uid=root",
         {lh, 0, "d13", "root", "", "/tmp/rc/sock"});
    riga("unknown keys ignored, also with equals signs in their value",
         "Provider=MSDASQL;Driver={X};Option=3;Stmt=SET a=1;Charset=utf8mb4;Server=h14",
         {"h14", 0, "", "", "", ""});
    riga("keys of Extended Properties count as written outside",
         "Uid=esterno;Extended Properties=\"Server=h15;Port=3310\";Database=d15",
         {"h15", 3310, "d15", "esterno", "", ""});
    riga("Extended Properties in braces", "extended properties={SERVER=h16;SOCKET=/s16}",
         {"h16", 0, "", "", "", "/s16"});
    riga("empty text: the local server", "", {lh, 0, "", "", "", ""});
    riga("empty server value: the local server", "Server=;Database=d17",
         {lh, 0, "d17", "", "", ""});
    riga("port that is not a number: the default", "Server=h18;Port=abc",
         {"h18", 0, "", "", "", ""});

    riga("TLS keys as ADO texts write them",
         "Server=h20;SslMode=VERIFY_IDENTITY;SslCa=/pki/ca.pem;SslCert=/pki/st.pem;"
         "SslKey=/pki/st.key;SslCipher=TLS_AES_256_GCM_SHA384",
         {"h20",
          0,
          "",
          "",
          "",
          "",
          M::VerificaIdentita,
          {"/pki/ca.pem", "/pki/st.pem", "/pki/st.key", "TLS_AES_256_GCM_SHA384"}});
    riga("TLS keys as ODBC texts write them, values in any case",
         "SERVER=h21;SSLMODE=verify_ca;SSLCA={C:\\pki\\ca.pem};SSLCERT=c;SSLKEY=k;sslcipher=x",
         {"h21", 0, "", "", "", "", M::VerificaCa, {"C:\\pki\\ca.pem", "c", "k", "x"}});
    riga("SSL_CA and Ssl-Mode spellings", "SSL_CA=/ca;Ssl-Mode=Required;SSL_KEY=k",
         {lh, 0, "", "", "", "", M::Richiesto, {"/ca", "", "k", ""}});
    riga("DISABLED named", "SslMode=disabled;SslCa=/ca",
         {lh, 0, "", "", "", "", M::Disabilitato, {"/ca", "", "", ""}});
    riga("PREFERRED named", "SslMode=PREFERRED", {lh, 0, "", "", "", "", M::Preferito});
    riga("TLS keys in Extended Properties", "Extended Properties=\"SslMode=REQUIRED\"",
         {lh, 0, "", "", "", "", M::Richiesto});
    riga("no SslMode but a CA: its certificates are checked", "Server=h22;SslCa=/ca",
         {"h22", 0, "", "", "", "", M::VerificaCa, {"/ca", "", "", ""}});
    riga("no SslMode but a client certificate: TLS required", "SslCert=c;SslKey=k",
         {lh, 0, "", "", "", "", M::Richiesto, {"", "c", "k", ""}});
    riga("unknown SslMode kept unknown, never weaker", "SslMode=VERIFY_FULL;SslCa=/ca",
         {lh, 0, "", "", "", "", M::Sconosciuto, {"/ca", "", "", ""}});
}

void tst_TestoConnessione::leggi()
{
    QFETCH(QString, testo);
    QFETCH(Atteso, atteso);

    const ParametriConnessione p = leggiTestoConnessione(testo);
    QCOMPARE(p.host, atteso.host);
    QCOMPARE(p.porta, atteso.porta);
    QCOMPARE(p.database, atteso.database);
    QCOMPARE(p.utente, atteso.utente);
    QCOMPARE(p.password, atteso.password);
    QCOMPARE(p.socket, atteso.socket);
    QCOMPARE(p.modoTls, atteso.modo);
    QCOMPARE(QStringList({p.sslCa, p.sslCert, p.sslKey, p.sslCipher}), atteso.tls);
}

QTEST_GUILESS_MAIN(tst_TestoConnessione)
#include "tst_testoconnessione.moc"
