#include "support/KeltoFiles.h"
#include "support/PostgresServer.h"
#include "support/StoreEngines.h"
#include "support/TempProgramFolder.h"

#include "examinees/ExamineeRows.h"
#include "store/DataSource.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSqlQuery>
#include <QTest>

#include <memory>
#include <thread>

using ExamineeRows::DetailsSave;

// A change of an examinee's details, as the result sheet and the test window store it.
class ExamineeRowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void savingTheDetails_data();
    void savingTheDetails();
    void changeMadeWhileTheServerIsLostIsSavedLater();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    StoreEngines m_engines;
};

void ExamineeRowsTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("INSERT INTO IDE (Code, FName, Sen) VALUES ('K1', 'سارا', '34'), "
                                      "('K2', 'علي', '40'), ('I1', 'بي', '20')")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO Answer (Code, \"1\") VALUES ('K1', '5'), ('K2', ''), ('A1', '')")));
}

void ExamineeRowsTest::cleanup() { m_folder.reset(); }

void ExamineeRowsTest::savingTheDetails_data() {
    QTest::addColumn<QString>("code");       // typed over K1
    QTest::addColumn<int>("outcome");        // a DetailsSave
    QTest::addColumn<QString>("storedCode"); // the code both rows of the examinee hold afterwards
    QTest::addColumn<QString>("fault");      // SQL that makes storing the examinee row fail
    const int saved = int(DetailsSave::Saved);
    const int inUse = int(DetailsSave::CodeInUse);
    QTest::newRow("code kept") << "K1" << saved << "K1" << QString();
    QTest::newRow("free code") << "K9" << saved << "K9" << QString();
    QTest::newRow("own code in other case") << "k1" << saved << "k1" << QString();
    QTest::newRow("another examinee's in other case") << "k2" << inUse << "K1" << QString();
    QTest::newRow("another's in Arabic-Indic digits") << "K\u0662" << inUse << "K1" << QString();
    QTest::newRow("another's in Persian digits") << "K\u06F2" << inUse << "K1" << QString();
    QTest::newRow("an answer row's") << "A1" << inUse << "K1" << QString();
    QTest::newRow("an examinee row's") << "I1" << inUse << "K1" << QString();
    QTest::newRow("empty") << "" << int(DetailsSave::CodeMissing) << "K1" << QString();
    QTest::newRow("write fails")
        << "K9" << int(DetailsSave::Failed) << "K1"
        << "CREATE TRIGGER refuse BEFORE UPDATE ON IDE BEGIN SELECT RAISE(ABORT, 'disk full'); END";
}

void ExamineeRowsTest::savingTheDetails() {
    QFETCH(QString, code);
    QFETCH(int, outcome);
    QFETCH(QString, storedCode);
    QFETCH(QString, fault);
    if (!fault.isEmpty())
        QVERIFY(QSqlQuery(Database::connection()).exec(fault));
    DataSource examinee(QStringLiteral("IDE")), answerRow(QStringLiteral("Answer"));
    DataSource examineeCheck(QStringLiteral("IDE")), answerCheck(QStringLiteral("Answer"));
    examinee.setFilter(QStringLiteral("Code"), QStringLiteral("K1"));
    answerRow.setFilter(QStringLiteral("Code"), QStringLiteral("K1"));
    examinee.setValue(QStringLiteral("Code"), code);
    examinee.setValue(QStringLiteral("FName"), QStringLiteral("ساراه"));
    QString error;
    QCOMPARE(
        int(ExamineeRows::saveExaminee(examinee, answerRow, QStringLiteral("K1"), examineeCheck, answerCheck, &error)),
        outcome);
    QVERIFY2(fault.isEmpty() ? error.isEmpty() : error.contains(QStringLiteral("disk full")), qPrintable(error));
    const bool saved = outcome == int(DetailsSave::Saved);
    const QString name = saved ? QStringLiteral("ساراه") : QStringLiteral("سارا");
    QCOMPARE(valueInFile(QStringLiteral("SELECT Code||FName FROM IDE WHERE Sen='34'")), storedCode + name);
    QCOMPARE(valueInFile(QStringLiteral("SELECT Code FROM Answer WHERE \"1\"='5'")), storedCode);
    QCOMPARE(valueInFile(QStringLiteral("SELECT (SELECT COUNT(*) FROM IDE)||'+'||(SELECT COUNT(*) FROM Answer)")),
             QStringLiteral("3+3"));
    // Refused or failed, the examinee source still shows what was typed, to be stored again.
    QCOMPARE(examinee.value(QStringLiteral("Code")) + examinee.value(QStringLiteral("FName")),
             code + QStringLiteral("ساراه"));
}

// The server goes down in the middle of a change of the details (after its transaction began):
// the rows cannot be read again, so they stay as edited, code change included, and the same save
// stores them once the server is back: one examinee with its answer row, not a second one.
void ExamineeRowsTest::changeMadeWhileTheServerIsLostIsSavedLater() {
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    PostgresServer &server = *m_engines.server();
    const QString database = m_engines.lastChoice().database;
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\") VALUES ('K1', 'سارا')")) &&
            query.exec(QStringLiteral("INSERT INTO \"Answer\" (\"Code\", \"1\") VALUES ('K1', '5')")));
    // The examinee row's update waits, so that the server can be stopped under it.
    QVERIFY(server.runSql(database, QStringLiteral("CREATE FUNCTION held() RETURNS trigger AS $$ BEGIN "
                                                   "PERFORM pg_sleep(120); RETURN NEW; END $$ LANGUAGE plpgsql; "
                                                   "CREATE TRIGGER held BEFORE UPDATE ON \"IDE\" FOR EACH ROW "
                                                   "EXECUTE FUNCTION held()")));
    DataSource examinee(QStringLiteral("IDE")), answerRow(QStringLiteral("Answer"));
    DataSource examineeCheck(QStringLiteral("IDE")), answerCheck(QStringLiteral("Answer"));
    examinee.setFilter(QStringLiteral("Code"), QStringLiteral("K1"));
    answerRow.setFilter(QStringLiteral("Code"), QStringLiteral("K1"));
    examinee.setValue(QStringLiteral("Code"), QStringLiteral("K9"));
    examinee.setValue(QStringLiteral("FName"), QStringLiteral("ساراه"));
    const auto save = [&]() {
        return ExamineeRows::saveExaminee(examinee, answerRow, QStringLiteral("K1"), examineeCheck, answerCheck, &error);
    };
    bool stopped = false;
    std::thread stopper([&]() {
        QDeadlineTimer deadline(60000);
        QString waiting;
        while (!deadline.hasExpired() && waiting != QLatin1String("1"))
            server.runSql(database, QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE wait_event = 'PgSleep'"),
                          &waiting);
        stopped = waiting == QLatin1String("1");
        server.stop();
    });
    const DetailsSave first = save();
    stopper.join();
    QVERIFY2(stopped, "the save never reached the server's held update");
    QCOMPARE(first, DetailsSave::Failed);
    QVERIFY2(server.start(&error) && server.runSql(database, QStringLiteral("DROP TRIGGER held ON \"IDE\""), nullptr,
                                                    &error),
             qPrintable(error));
    // The user's retry comes from a later turn of the events, where the store may connect again.
    QCoreApplication::processEvents();
    QVERIFY2(save() == DetailsSave::Saved, qPrintable(error));
    QString rows;
    QVERIFY(server.runSql(database,
                          QStringLiteral("SELECT string_agg(\"Code\" || ':' || \"FName\", ',') FROM \"IDE\" UNION ALL "
                                         "SELECT string_agg(\"Code\" || ':' || \"1\", ',') FROM \"Answer\""),
                          &rows));
    QCOMPARE(rows, QStringLiteral("K9:ساراه\nK9:5"));
    Database::close();
}

QTEST_MAIN(ExamineeRowsTest)
#include "ExamineeRowsTest.moc"
