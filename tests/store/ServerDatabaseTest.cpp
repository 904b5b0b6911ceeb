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

namespace {
// A libpq variable set for one case, put back as it was at its end.
class Variable {
public:
    Variable(const char *name, const QByteArray &value)
        : m_name(name), m_was(qgetenv(name)), m_set(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value);
    }
    ~Variable() {
        if (m_set)
            qputenv(m_name, m_was);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_was;
    bool m_set;
};
} // namespace

// Opening the register on a PostgreSQL server: the tables made once on an empty database, a
// database that is not Kelto's refused untouched, a server that cannot be reached or a password it
// refuses named with libpq's reason, a server lost halfway through a registration, and lost while
// the program works: named, and connected to again once it is back.
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
    void lostConnectionIsNamedAndMadeAgain();

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
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    static bool roleMade = false;
    if (!roleMade) {
        QVERIFY2(m_engines.server()->addPasswordRole("room2", "s3cret-room2", "room2db", &error), qPrintable(error));
        roleMade = true;
        QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error)); // the restart closed the old one
    }
    const Variable noPasswordFile("PGPASSFILE", m_folder->filePath(QStringLiteral("no.pgpass")).toUtf8());
    const Variable passwordVariable("PGPASSWORD", password);
    EngineSettings::Choice room = m_engines.lastChoice();
    room.database = QStringLiteral("room2db");
    room.user = QStringLiteral("room2");

    const QStringList connectionsBefore = QSqlDatabase::connectionNames();
    QString message;
    QCOMPARE(Database::reachServer(room, &message), reason.isEmpty());
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);
    QCOMPARE(Database::serverInUse().database, m_engines.lastChoice().database);
    QVERIFY(QSqlQuery(Database::connection()).exec(QStringLiteral("SELECT 1")));

    QString openError;
    QCOMPARE(Database::openServer(room, &openError), reason.isEmpty());
    if (reason.isEmpty()) {
        QCOMPARE(message, StoreMessages::serverReached(room.serverName()));
        QCOMPARE(Database::serverInUse().user, QStringLiteral("room2"));
        return;
    }
    for (const QString &named : {message, openError}) {
        QVERIFY2(named.startsWith(StoreMessages::serverUnreachable(room.serverName(), QString())), qPrintable(named));
        QVERIFY2(named.contains(reason), qPrintable(named));
    }
}

// A server stopped under a working program: reads and writes name it with libpq's reason (the
// listener hears once), and the first statement after it is back connects again.
void ServerDatabaseTest::lostConnectionIsNamedAndMadeAgain() {
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    const QString server = m_engines.lastChoice().serverName();
    QStringList heard;
    Database::setTroubleListener([&heard](Database::Trouble trouble, const QString &detail) {
        if (trouble == Database::Trouble::LostServer)
            heard << detail;
    });
    DataSource items(QStringLiteral("QUS"));
    items.setFilter(QStringLiteral("ID"), QStringLiteral("3")); // a kept statement, prepared on this session
    QCOMPARE(items.recordCount(), 1);
    m_engines.server()->stop();

    items.setFilter(QStringLiteral("ID"), QStringLiteral("4"));
    QVERIFY(items.noCurrentRow());
    QVERIFY2(items.lastError().startsWith(StoreMessages::serverLost(server, QString())), qPrintable(items.lastError()));
    QVERIFY(items.lastError().size() > StoreMessages::serverLost(server, QString()).size()); // libpq's reason
    items.refresh();
    {
        Transaction write;
        QVERIFY(!write.isActive());
        QVERIFY2(write.lastError().startsWith(StoreMessages::serverLostInSave(server, QString())),
                 qPrintable(write.lastError()));
    }
    QCOMPARE(heard.size(), 1);
    QCOMPARE(heard.at(0).left(40), items.lastError().left(40));
    QVERIFY(Database::connectionLost());

    QVERIFY2(m_engines.server()->start(&error), qPrintable(error));
    QCoreApplication::processEvents(); // a turn of the events: the store may try again
    items.setFilter(QStringLiteral("ID"), QStringLiteral("4"));
    QVERIFY2(!items.noCurrentRow(), qPrintable(items.lastError()));
    QVERIFY(!Database::connectionLost());
    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), QStringLiteral("back1"));
    QVERIFY2(examinees.save(), qPrintable(examinees.lastError()));
    Database::setTroubleListener({});
}

QTEST_MAIN(ServerDatabaseTest)
#include "ServerDatabaseTest.moc"
