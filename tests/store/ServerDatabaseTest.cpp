#include "support/KeltoFiles.h"
#include "support/StoreEngines.h"
#include "support/TempProgramFolder.h"

#include "store/DataSource.h"
#include "store/Database.h"
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
    QTest::newRow("right") << QByteArray("s3cret-room2") << QString();
    QTest::newRow("wrong") << QByteArray("guessed") << "password authentication failed for user \"room2\"";
    QTest::newRow("none") << QByteArray() << "no password supplied";
}

// The password comes from PGPASSWORD, as for any libpq program; the test of the connection goes on
// a connection of its own and leaves the program's as it was.
void ServerDatabaseTest::passwordIsCheckedByTheServer() {
    QFETCH(QByteArray, password);
    QFETCH(QString, reason);
    QString error;
    static const bool roleMade = m_engines.openNewServerDatabase(&error) &&
                                 m_engines.server()->addPasswordRole("room2", "s3cret-room2", "room2db", &error);
    QVERIFY2(roleMade && m_engines.openNewServerDatabase(&error), qPrintable(error));
    qputenv("PGPASSFILE", m_folder->filePath(QStringLiteral("none")).toUtf8()); // no ~/.pgpass of the machine's
    password.isNull() ? qunsetenv("PGPASSWORD") : qputenv("PGPASSWORD", password);
    EngineSettings::Choice room = m_engines.lastChoice();
    room.database = QStringLiteral("room2db");
    room.user = QStringLiteral("room2");
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
