#include "support/KeltoFiles.h"
#include "support/StoreEngines.h"
#include "support/TempProgramFolder.h"

#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dialect.h"
#include "store/DistinctValuesModel.h"
#include "store/EngineSettings.h"
#include "store/ItemTexts.h"
#include "store/StoreMessages.h"
#include "store/Transaction.h"

#include <QSqlQuery>
#include <QTest>

// Opening the register on a PostgreSQL server: the tables made once on an empty database, a
// database that is not Kelto's refused untouched, a server that cannot be reached or a password it
// refuses named with libpq's reason, a server lost halfway through a registration.
class ServerDatabaseTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void makesTablesOnceOnEmptyDatabase();
    void refusesForeignDatabase_data();
    void refusesForeignDatabase();
    void earlierCodeIndexesAreRenewed_data();
    void earlierCodeIndexesAreRenewed();
    void namesInOneOrderOnBothEngines();
    void unreachableServerIsNamed();
    void serverLostInARegistrationWritesNothing();
    void passwordIsCheckedByTheServer_data();
    void passwordIsCheckedByTheServer();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    StoreEngines m_engines;
};

void ServerDatabaseTest::init() { m_folder = std::make_unique<TempProgramFolder>(); }

void ServerDatabaseTest::cleanup() { m_folder.reset(); }

void ServerDatabaseTest::makesTablesOnceOnEmptyDatabase() {
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    const EngineSettings::Choice server = m_engines.lastChoice();
    QVERIFY2(Database::openServer(server, &error), qPrintable(error)); // a second workstation
    QCOMPARE(columnInFile(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                         "current_schema() ORDER BY table_name")),
             QStringList({"Answer", "IDE", "QUS", "Theme"}));
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"QU\" FROM \"QUS\" ORDER BY \"ID\"")), itemTexts());
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"TH\" || '/' || \"Name\" FROM \"Theme\"")), QStringList{"1/"});
    // The look-up index on the lowered code is unique: one examinee per code, Latin case aside.
    QVERIFY(QSqlQuery(Database::connection()).exec(QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES ('k1')")));
    QVERIFY(!QSqlQuery(Database::connection()).exec(QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES ('K1')")));
    // And digits aside: Persian and Arabic-Indic digits are the ASCII digits they are.
    const auto inserted = [](const QString &code) {
        QSqlQuery insert(Database::connection());
        insert.prepare(QStringLiteral("INSERT INTO \"Answer\" (\"Code\") VALUES (?)"));
        insert.addBindValue(code);
        return insert.exec();
    };
    QVERIFY(inserted(QStringLiteral("k12")));
    QVERIFY(!inserted(QStringLiteral("K\u06F1\u06F2")));
    QVERIFY(!inserted(QStringLiteral("k\u0661\u0662")));
}

void ServerDatabaseTest::refusesForeignDatabase_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("another program's table") << "CREATE TABLE patients (name text)";
    QTest::newRow("a table beside Kelto's") << "CREATE TABLE \"Notes\" (\"Text\" text)";
    QTest::newRow("a field missing") << "ALTER TABLE \"IDE\" DROP COLUMN \"Tahsil\"";
}

void ServerDatabaseTest::refusesForeignDatabase() {
    QFETCH(QString, change);
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    Database::close();
    const EngineSettings::Choice server = m_engines.lastChoice();
    if (change.startsWith(QLatin1String("CREATE TABLE patients"))) {
        // An empty database of another program: drop Kelto's tables first.
        QVERIFY2(m_engines.server()->runSql(server.database, "DROP TABLE \"IDE\", \"Answer\", \"QUS\", \"Theme\"",
                                            nullptr, &error),
                 qPrintable(error));
    }
    QVERIFY2(m_engines.server()->runSql(server.database, change, nullptr, &error), qPrintable(error));
    QString tablesBefore;
    const QString tables = QStringLiteral("SELECT string_agg(table_name || '.' || column_name, ',' ORDER BY "
                                          "table_name, column_name) FROM information_schema.columns WHERE "
                                          "table_schema = 'public'");
    QVERIFY(m_engines.server()->runSql(server.database, tables, &tablesBefore));
    QVERIFY(!Database::openServer(server, &error));
    QCOMPARE(error, StoreMessages::notKeltoDatabase(server.serverName()));
    QVERIFY(!Database::isOpen());
    QString tablesAfter;
    QVERIFY(m_engines.server()->runSql(server.database, tables, &tablesAfter));
    QCOMPARE(tablesAfter, tablesBefore);
}

// A database made when the look-up indexes lowered the field only: opened again, the code indexes fold
// digits too and the names' index holds the spelling; a code index stays as it was when the codes
// stored would clash under the new rule, and every index when the workstation's role may not make
// them anew. The register opens all the same.
void ServerDatabaseTest::earlierCodeIndexesAreRenewed_data() {
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("role"); // the workstation's, when it does not own the tables
    QTest::addColumn<bool>("codesRenewed");
    QTest::addColumn<bool>("namesRenewed");
    QTest::addColumn<int>("twelves"); // the examinees "K12" finds
    QTest::newRow("codes apart") << QStringList{"k12", "K13"} << QString() << true << true << 1;
    QTest::newRow("a code beside its Persian-digit twin")
        << QStringList{"k12", "k\u06F1\u06F2"} << QString() << false << true << 2;
    QTest::newRow("a role that does not own the tables") << QStringList{"k12", "K13"} << "room2" << false << false << 1;
}

void ServerDatabaseTest::earlierCodeIndexesAreRenewed() {
    QFETCH(QStringList, codes);
    QFETCH(QString, role);
    QFETCH(bool, codesRenewed);
    QFETCH(bool, namesRenewed);
    QFETCH(int, twelves);
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    Database::close();
    EngineSettings::Choice server = m_engines.lastChoice();
    QString earlier =
        QStringLiteral("DROP INDEX \"IDE_Code\", \"Answer_Code\"; "
                       "CREATE UNIQUE INDEX \"IDE_Code\" ON \"IDE\" (lower(\"Code\")); "
                       "CREATE UNIQUE INDEX \"Answer_Code\" ON \"Answer\" (lower(\"Code\")); "
                       "DROP INDEX \"IDE_LName\"; CREATE INDEX \"IDE_LName\" ON \"IDE\" (lower(\"LName\")); ");
    for (const QString &code : codes)
        earlier += QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES ('%1'); "
                                  "INSERT INTO \"Answer\" (\"Code\") VALUES ('%1'); ")
                       .arg(code);
    if (!role.isEmpty()) {
        earlier += QStringLiteral("CREATE ROLE %1 LOGIN; GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA "
                                  "public TO %1; GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO %1;")
                       .arg(role);
        server.user = role;
    }
    QVERIFY2(m_engines.server()->runSql(server.database, earlier, nullptr, &error), qPrintable(error));

    QVERIFY2(Database::openServer(server, &error), qPrintable(error));
    const QStringList definitions = columnInFile(QStringLiteral(
        "SELECT indexdef FROM pg_indexes WHERE indexname IN ('IDE_Code', 'Answer_Code') ORDER BY indexname"));
    QCOMPARE(definitions.size(), 2);
    for (const QString &definition : definitions)
        QVERIFY2(definition.contains(QLatin1String("UNIQUE")) &&
                     Dialect::isCurrentIndex(definition, QStringLiteral("\"Code\"")) == codesRenewed,
                 qPrintable(definition));
    QCOMPARE(
        Dialect::isCurrentIndex(
            valueInFile(QStringLiteral("SELECT indexdef FROM pg_indexes WHERE indexname = 'IDE_LName'")), "\"LName\""),
        namesRenewed);
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"Code\" FROM \"Answer\" ORDER BY \"ID\"")), codes);
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setFilter(QStringLiteral("Code"), QStringLiteral("K\u0661\u0662"));
    QCOMPARE(examinees.recordCount(), twelves);
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), QStringLiteral("k\u06F1\u06F3"));
    QCOMPARE(examinees.save(), !codesRenewed); // "K13" is there but for the twins
    QCOMPARE(examinees.lastSaveWasDuplicateCode(), codesRenewed);
}

// The drop-down lists of names give one list on both engines, also on a server database made under
// ICU's Persian rules, whose own order differs from the program's (Latin after Persian, hamza forms
// apart, lower case first).
void ServerDatabaseTest::namesInOneOrderOnBothEngines() {
    const QStringList names{"ali",
                            "ALI",
                            "Ali",
                            "Zahra",
                            "\u06A9\u0631\u064A\u0645",
                            "\u0643\u0631\u064A\u0645", // Persian and Arabic kaf
                            "\u0639\u0644\u064A",
                            "\u0639\u0644\u06CC", // Arabic and Persian yeh
                            "\u0623\u062D\u0645\u062F",
                            "\u0627\u062D\u0645\u062F",
                            "\u0645\u0624\u0645\u0646",
                            "\u0645\u0648\u0645\u0646",
                            "\u0631\u0626\u064A\u0633", // hamza forms
                            "\u0645\u064A\u200C\u0631\u0632\u0627",
                            "\u0645\u064A\u0631\u0632\u0627", // a joiner
                            "\u0622\u0631\u0634",
                            "2\u0646\u0641\u0631",
                            "\u0698\u0627\u0644\u0647"};
    const auto listed = [&names] {
        for (int i = 0; i < names.size(); ++i) {
            DataSource examinee(QStringLiteral("IDE"));
            examinee.addNew();
            examinee.setValue(QStringLiteral("Code"), QStringLiteral("n%1").arg(i));
            examinee.setValue(QStringLiteral("LName"), names.at(i));
            examinee.save();
        }
        DataSource examinees(QStringLiteral("IDE"));
        DistinctValuesModel list(&examinees, QStringLiteral("LName"));
        QStringList values;
        for (int row = 0; row < list.rowCount(); ++row)
            values << list.index(row).data().toString();
        return values;
    };
    QString error;
    QVERIFY2(m_folder->openDatabase(&error), qPrintable(error));
    const QStringList inFile = listed();
    QCOMPARE(inFile.size(), names.size() - 2);
    QCOMPARE(inFile.at(0), QStringLiteral("2\u0646\u0641\u0631"));
    QCOMPARE(inFile.at(1), QStringLiteral("ALI"));

    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    EngineSettings::Choice persian = m_engines.lastChoice();
    persian.database = QStringLiteral("kelto_persian");
    QVERIFY2(m_engines.server()->runSql(QStringLiteral("postgres"),
                                        QStringLiteral("CREATE DATABASE kelto_persian TEMPLATE template0 "
                                                       "LOCALE_PROVIDER icu ICU_LOCALE 'fa' LOCALE 'C.UTF-8'"),
                                        nullptr, &error),
             qPrintable(error));
    QVERIFY2(Database::openServer(persian, &error), qPrintable(error));
    QCOMPARE(valueInFile(QStringLiteral("SELECT min(n) FROM (VALUES ('Ali'), ('ali')) v(n)")), QStringLiteral("ali"));
    QCOMPARE(listed(), inFile);
}

void ServerDatabaseTest::unreachableServerIsNamed() {
    EngineSettings::Choice nowhere;
    nowhere.onServer = true;
    nowhere.host = m_folder->filePath(QStringLiteral("no-server-here"));
    nowhere.database = QStringLiteral("kelto");
    nowhere.user = QStringLiteral("room2");
    nowhere.sslMode = QStringLiteral("prefer");
    QString error;
    QVERIFY(!Database::openServer(nowhere, &error));
    QVERIFY(!Database::isOpen());
    QVERIFY2(error.contains(nowhere.serverName()), qPrintable(error));
    QVERIFY2(error.contains(QLatin1String("No such file or directory")), qPrintable(error)); // libpq's reason
}

// The server stops between the two rows of a registration: neither row is stored.
void ServerDatabaseTest::serverLostInARegistrationWritesNothing() {
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    const QString database = m_engines.lastChoice().database;
    DataSource examinees(QStringLiteral("IDE"));
    DataSource answers(QStringLiteral("Answer"));
    {
        Transaction registration;
        answers.addNew();
        answers.setValue(QStringLiteral("Code"), QStringLiteral("lost1"));
        QVERIFY(answers.save());
        m_engines.server()->stop(); // ends every session, this one's transaction with it
        examinees.addNew();
        examinees.setValue(QStringLiteral("Code"), QStringLiteral("lost1"));
        QVERIFY(!examinees.save());
        QVERIFY(!examinees.lastError().isEmpty());
        QVERIFY(!registration.commit());
    }
    Database::close();
    QVERIFY2(m_engines.server()->start(&error), qPrintable(error));
    QString rows;
    QVERIFY(m_engines.server()->runSql(
        database, QStringLiteral("SELECT (SELECT count(*) FROM \"IDE\") + (SELECT count(*) FROM \"Answer\")"), &rows));
    QCOMPARE(rows, QStringLiteral("0"));
}

void ServerDatabaseTest::passwordIsCheckedByTheServer_data() {
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QString>("reason"); // libpq's; empty when the role gets in
    QTest::newRow("right") << QByteArray("s3cret-reception") << QString();
    QTest::newRow("wrong") << QByteArray("guessed") << "password authentication failed for user \"reception\"";
    QTest::newRow("none") << QByteArray() << "no password supplied";
}

// The password comes from PGPASSWORD, as for any libpq program; the test of the connection goes on
// a connection of its own and leaves the program's as it was.
void ServerDatabaseTest::passwordIsCheckedByTheServer() {
    QFETCH(QByteArray, password);
    QFETCH(QString, reason);
    QString error;
    static const bool roleMade = m_engines.openNewServerDatabase(&error) &&
                                 m_engines.server()->addPasswordRole("reception", "s3cret-reception", "receptiondb", &error);
    QVERIFY2(roleMade && m_engines.openNewServerDatabase(&error), qPrintable(error));
    qputenv("PGPASSFILE", m_folder->filePath(QStringLiteral("none")).toUtf8()); // no ~/.pgpass of the machine's
    password.isNull() ? qunsetenv("PGPASSWORD") : qputenv("PGPASSWORD", password);
    EngineSettings::Choice room = m_engines.lastChoice();
    room.database = QStringLiteral("receptiondb");
    room.user = QStringLiteral("reception");
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();
    QString message;
    QCOMPARE(Database::reachServer(room, &message), reason.isEmpty());
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore); // the program's own stays as it was
    QCOMPARE(Database::serverInUse().serverName(), m_engines.lastChoice().serverName());
    QString openError;
    QCOMPARE(Database::openServer(room, &openError), reason.isEmpty());
    qunsetenv("PGPASSWORD");
    qunsetenv("PGPASSFILE");
    if (reason.isEmpty())
        QCOMPARE(message, StoreMessages::serverReached(room.serverName()));
    for (const QString &named : reason.isEmpty() ? QStringList() : QStringList{message, openError}) {
        QVERIFY2(named.startsWith(StoreMessages::serverUnreachable(room.serverName(), QString())), qPrintable(named));
        QVERIFY2(named.contains(reason), qPrintable(named));
    }
}

QTEST_MAIN(ServerDatabaseTest)
#include "ServerDatabaseTest.moc"
