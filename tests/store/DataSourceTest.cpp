#include "support/KeltoFiles.h"
#include "support/StoreEngines.h"
#include "support/TempProgramFolder.h"

#include "store/DataSource.h"
#include "store/DataSourceModel.h"
#include "store/Database.h"
#include "store/Dialect.h"
#include "store/ItemTexts.h"
#include "store/ReadSnapshot.h"
#include "store/Transaction.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {

void addExaminee(const QString &code, const QString &lastName, const QString &group) {
    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), code);
    examinees.setValue(QStringLiteral("LName"), lastName);
    examinees.setValue(QStringLiteral("Group"), group);
    QVERIFY(examinees.save());
}
} // namespace

class DataSourceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data();
    void init();
    void cleanup();
    void opensOnFirstRow();
    void filters_data();
    void filters();
    void refreshDropsFilter();
    void itemFilterMatchesNumberAsText();
    void quotesAreJustText_data();
    void quotesAreJustText();
    void newRowCountsUntilRefresh();
    void saveInsertsOnceAndFillsId();
    void saveWritesOnlyChangedFields();
    void snapshotAcrossSources();
    void countIsOfTheSnapshot_data();
    void countIsOfTheSnapshot();
    void emptySnapshotStaysEmpty();
    void ownChangesOnAnUntakenCount();
    void countTakenBeforeRollbackAndClose();
    void lookUpReadsTheFileOpenNow();
    void readSnapshotHoldsTheFileWhileItLasts();
    void deleteStandsOnNeighbour();
    void saveFailures();
    void unknownFieldMatchesNothing();
    void signals_();
    void fieldValuesUnderFilter();
    void gridReadsPagesUnderFilter();
    void transactionRollsBack();
    void innerTransactionRollsBackAlone();

private:
    // Another database in place of the open one (as a restore makes it).
    bool openAnother(QString *error);

    std::unique_ptr<TempProgramFolder> m_folder;
    StoreEngines m_engines;
};

void DataSourceTest::initTestCase_data() { StoreEngines::addRows(); }

bool DataSourceTest::openAnother(QString *error) {
    Database::close();
    return StoreEngines::onServer() ? m_engines.openNewServerDatabase(error)
                                    : Database::open(m_folder->filePath(QStringLiteral("other.mdb")), error);
}

void DataSourceTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QString error;
    QVERIFY2(m_engines.open(*m_folder, &error), qPrintable(error));
    addExaminee(QStringLiteral("c1"), QStringLiteral("Ahmadi"), QStringLiteral("A"));
    addExaminee(QStringLiteral("c2"), QStringLiteral("Karimi"), QStringLiteral("B"));
    addExaminee(QStringLiteral("c3"), QStringLiteral("Ahmadi"), QStringLiteral("B"));
}

void DataSourceTest::cleanup() { m_folder.reset(); }

void DataSourceTest::opensOnFirstRow() {
    DataSource examinees(QStringLiteral("IDE"));
    QCOMPARE(examinees.recordCount(), 3);
    QVERIFY(!examinees.noCurrentRow());
    QCOMPARE(examinees.value(QStringLiteral("Code")), QStringLiteral("c1"));
    DataSource settings(QStringLiteral("Theme"));
    QCOMPARE(settings.recordCount(), 1);
    QCOMPARE(settings.value(QStringLiteral("TH")), QStringLiteral("1"));
    DataSource answers(QStringLiteral("Answer"));
    QCOMPARE(answers.recordCount(), 0);
    QVERIFY(answers.noCurrentRow());
    QCOMPARE(answers.value(QStringLiteral("Code")), QString());
}

void DataSourceTest::filters_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstCode");
    QTest::newRow("code in lower case") << "code"
                                        << "c2" << 1 << "c2";
    QTest::newRow("code as spelled") << "Code"
                                     << "c3" << 1 << "c3";
    QTest::newRow("code in capitals") << "CODE"
                                      << "c1" << 1 << "c1";
    QTest::newRow("last name, two rows") << "LName"
                                         << "Ahmadi" << 2 << "c1";
    QTest::newRow("group (a keyword)") << "group"
                                       << "B" << 2 << "c2";
    QTest::newRow("no such code") << "code"
                                  << "c9" << 0 << "";
    QTest::newRow("Latin letters without regard to case") << "code"
                                                          << "C1" << 1 << "c1";
    QTest::newRow("a name in other capitals") << "LName"
                                              << "AHMADI" << 2 << "c1";
    QTest::newRow("empty value") << "code"
                                 << "" << 0 << "";
}

void DataSourceTest::filters() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, count);
    QFETCH(QString, firstCode);
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setFilter(field, value);
    QCOMPARE(examinees.recordCount(), count);
    QCOMPARE(examinees.noCurrentRow(), count == 0);
    QCOMPARE(examinees.value(QStringLiteral("Code")), firstCode);
    // A look-up that ignores case must still go through an index, or it reads the whole table (on
    // the server's three rows its planner would read them all anyway, unless told not to).
    // The condition is the look-up's own, the value written in (the server explains no bound statement).
    const QString condition =
        Dialect::equalsIgnoringCase(Database::quoted(examinees.filter().field)).replace('?', QStringLiteral("'x'"));
    QSqlQuery plan(Database::connection());
    if (StoreEngines::onServer())
        QVERIFY(plan.exec(QStringLiteral("SET enable_seqscan = off")));
    QVERIFY2(plan.exec((StoreEngines::onServer() ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ")) +
                       QStringLiteral("SELECT 1 FROM \"IDE\" WHERE ") + condition),
             qPrintable(plan.lastError().text()));
    QStringList steps;
    while (plan.next())
        steps << plan.value(StoreEngines::onServer() ? 0 : 3).toString();
    QVERIFY2(steps.join(' ').contains(StoreEngines::onServer() ? "Index" : "USING"), qPrintable(steps.join(' ')));
}

void DataSourceTest::refreshDropsFilter() {
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setFilter(QStringLiteral("code"), QStringLiteral("c9"));
    QVERIFY(examinees.noCurrentRow());
    examinees.refresh();
    QCOMPARE(examinees.recordCount(), 3);
    QCOMPARE(examinees.value(QStringLiteral("code")), QStringLiteral("c1"));
}

void DataSourceTest::itemFilterMatchesNumberAsText() {
    DataSource items(QStringLiteral("QUS"));
    QCOMPARE(items.recordCount(), 40);
    for (int item : {1, 7, 40}) {
        items.setFilter(QStringLiteral("ID"), QString::number(item));
        QCOMPARE(items.recordCount(), 1);
        QCOMPARE(items.value(QStringLiteral("QU")), itemTexts().at(item - 1));
    }
    items.setFilter(QStringLiteral("ID"), QStringLiteral("41"));
    QVERIFY(items.noCurrentRow());
}

void DataSourceTest::quotesAreJustText_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("apostrophe") << "O'Brien";
    QTest::newRow("an attempt at SQL") << "x' OR '1'='1";
    QTest::newRow("double quote and semicolon") << "a\"; DROP TABLE IDE; --";
    QTest::newRow("Persian") << QStringLiteral("کد۱۲");
}

void DataSourceTest::quotesAreJustText() {
    QFETCH(QString, code);
    addExaminee(code, QStringLiteral("Quote"), QStringLiteral("C"));
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setFilter(QStringLiteral("code"), code);
    QCOMPARE(examinees.recordCount(), 1);
    QCOMPARE(examinees.value(QStringLiteral("Code")), code);
    examinees.setValue(QStringLiteral("FName"), code);
    QVERIFY(examinees.save());
    examinees.setFilter(QStringLiteral("FName"), code);
    QCOMPARE(examinees.recordCount(), 1);
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"IDE\"")), QStringList{"4"});
}

void DataSourceTest::newRowCountsUntilRefresh() {
    DataSource answers(QStringLiteral("Answer"));
    QCOMPARE(answers.recordCount(), 0);
    answers.addNew();
    QVERIFY(answers.isNewRow());
    QVERIFY(!answers.noCurrentRow());
    QCOMPARE(answers.recordCount(), 1);
    answers.setValue(QStringLiteral("Code"), QStringLiteral("c1"));
    answers.addNew(); // the first new row is dropped, not counted twice
    QCOMPARE(answers.recordCount(), 1);
    QCOMPARE(answers.value(QStringLiteral("Code")), QString());
    answers.refresh();
    QVERIFY(!answers.isNewRow());
    QCOMPARE(answers.recordCount(), 0);
    QVERIFY(answers.noCurrentRow());
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"Answer\"")), QStringList{"0"});
}

void DataSourceTest::saveInsertsOnceAndFillsId() {
    DataSource answers(QStringLiteral("Answer"));
    answers.addNew();
    answers.setValue(QStringLiteral("Code"), QStringLiteral("c1"));
    QVERIFY(answers.save());
    QVERIFY(!answers.isNewRow());
    QVERIFY(answers.value(QStringLiteral("ID")).toInt() > 0);
    QCOMPARE(answers.value(QStringLiteral("7")), QString());
    answers.setValue(QStringLiteral("7"), QStringLiteral("5"));
    QVERIFY(answers.save());
    QVERIFY(answers.save());
    QCOMPARE(columnInFile(
                 QStringLiteral("SELECT \"Code\" || ':' || \"7\" || ':' || coalesce(\"8\", 'null') FROM \"Answer\"")),
             QStringList{"c1:5:null"});
    // Emptying an answer stores an empty text: the item counts as unanswered again.
    answers.setValue(QStringLiteral("7"), QString());
    QVERIFY(answers.save());
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"7\" FROM \"Answer\"")), QStringList{""});

    // A new row that the filter would not match stays the current row once saved.
    answers.setFilter(QStringLiteral("code"), QStringLiteral("c1"));
    answers.addNew();
    answers.setValue(QStringLiteral("Code"), QStringLiteral("c2"));
    QVERIFY(answers.save());
    QCOMPARE(answers.value(QStringLiteral("Code")), QStringLiteral("c2"));
    QCOMPARE(answers.value(QStringLiteral("ID")),
             columnInFile(QStringLiteral("SELECT \"ID\" FROM \"Answer\" WHERE \"Code\" = 'c2'")).value(0));
    answers.setValue(QStringLiteral("1"), QStringLiteral("9"));
    QVERIFY(answers.save());
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"Code\" || coalesce(\"1\", '') FROM \"Answer\" ORDER BY \"ID\"")),
             QStringList({"c1", "c29"}));
}

// Two windows edit different fields of one row: each save writes only its own changes.
void DataSourceTest::saveWritesOnlyChangedFields() {
    DataSource first(QStringLiteral("IDE"));
    DataSource second(QStringLiteral("IDE"));
    first.setValue(QStringLiteral("FName"), QStringLiteral("Sara"));
    second.setValue(QStringLiteral("Tahsil"), QStringLiteral("BA"));
    QVERIFY(first.save());
    QVERIFY(second.save());
    QCOMPARE(columnInFile(QStringLiteral(
                 "SELECT \"FName\" || '/' || \"Tahsil\" || '/' || \"LName\" FROM \"IDE\" WHERE \"Code\" = 'c1'")),
             QStringList{"Sara/BA/Ahmadi"});
}

void DataSourceTest::snapshotAcrossSources() {
    DataSource reader(QStringLiteral("IDE"));
    reader.setFilter(QStringLiteral("LName"), QStringLiteral("Ahmadi"));
    QCOMPARE(reader.recordCount(), 2);

    DataSource writer(QStringLiteral("IDE"));
    writer.setValue(QStringLiteral("Code"), QStringLiteral("c1-changed")); // the reader's current row
    QVERIFY(writer.save());
    addExaminee(QStringLiteral("c4"), QStringLiteral("Ahmadi"), QStringLiteral("A"));

    QCOMPARE(reader.recordCount(), 2);
    QCOMPARE(reader.value(QStringLiteral("Code")), QStringLiteral("c1"));
    reader.setFilter(QStringLiteral("LName"), QStringLiteral("Ahmadi"));
    QCOMPARE(reader.recordCount(), 3);
    QCOMPARE(reader.value(QStringLiteral("Code")), QStringLiteral("c1-changed"));
    reader.refresh();
    QCOMPARE(reader.recordCount(), 4);
}

// What is written to the examinees after two sources opened on them (all, and the two Ahmadis)
// and before either was asked for its count.
enum class LaterWrite { Add, Delete, MoveIntoFilter, AddAfterAnAnswer };

void DataSourceTest::countIsOfTheSnapshot_data() {
    QTest::addColumn<LaterWrite>("write");
    QTest::addColumn<int>("allAfterRefresh");
    QTest::addColumn<int>("filteredAfterRefresh");
    QTest::newRow("another source adds a row") << LaterWrite::Add << 4 << 3;
    QTest::newRow("another source deletes a row") << LaterWrite::Delete << 2 << 1;
    QTest::newRow("another source moves a row under the filter") << LaterWrite::MoveIntoFilter << 3 << 3;
    QTest::newRow("an answer row, then an examinee row") << LaterWrite::AddAfterAnAnswer << 4 << 3;
}

// The count is taken only when asked for, yet it is the count as of the open or the filter.
void DataSourceTest::countIsOfTheSnapshot() {
    QFETCH(LaterWrite, write);
    QFETCH(int, allAfterRefresh);
    QFETCH(int, filteredAfterRefresh);
    DataSource all(QStringLiteral("IDE"));
    DataSource filtered(QStringLiteral("IDE"));
    filtered.setFilter(QStringLiteral("LName"), QStringLiteral("Ahmadi"));

    if (write == LaterWrite::AddAfterAnAnswer) {
        DataSource answers(QStringLiteral("Answer"));
        answers.addNew();
        answers.setValue(QStringLiteral("Code"), QStringLiteral("c4"));
        QVERIFY(answers.save());
    }
    if (write == LaterWrite::Add || write == LaterWrite::AddAfterAnAnswer)
        addExaminee(QStringLiteral("c4"), QStringLiteral("Ahmadi"), QStringLiteral("A"));
    if (write == LaterWrite::Delete) {
        DataSource remover(QStringLiteral("IDE")); // stands on c1, an Ahmadi
        QVERIFY(remover.deleteCurrent());
    }
    if (write == LaterWrite::MoveIntoFilter) {
        DataSource writer(QStringLiteral("IDE"));
        writer.setFilter(QStringLiteral("Code"), QStringLiteral("c2"));
        writer.setValue(QStringLiteral("LName"), QStringLiteral("Ahmadi"));
        QVERIFY(writer.save());
    }

    QCOMPARE(all.recordCount(), 3);
    QCOMPARE(filtered.recordCount(), 2);
    QCOMPARE(all.value(QStringLiteral("Code")), QStringLiteral("c1"));
    all.refresh();
    filtered.setFilter(QStringLiteral("LName"), QStringLiteral("Ahmadi"));
    QCOMPARE(all.recordCount(), allAfterRefresh);
    QCOMPARE(filtered.recordCount(), filteredAfterRefresh);
}

void DataSourceTest::emptySnapshotStaysEmpty() {
    DataSource answers(QStringLiteral("Answer"));
    DataSource writer(QStringLiteral("Answer"));
    writer.addNew();
    writer.setValue(QStringLiteral("Code"), QStringLiteral("c1"));
    QVERIFY(writer.save());
    QVERIFY(answers.noCurrentRow());
    QCOMPARE(answers.recordCount(), 0);
    answers.refresh();
    QVERIFY(!answers.noCurrentRow());
    QCOMPARE(answers.recordCount(), 1);
}

// A source's own new row and deletes count on top of a count not yet taken.
void DataSourceTest::ownChangesOnAnUntakenCount() {
    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    addExaminee(QStringLiteral("c4"), QString(), QString());
    QCOMPARE(examinees.recordCount(), 4); // the three of the open and its own new row
    examinees.setValue(QStringLiteral("Code"), QStringLiteral("c5"));
    QVERIFY(examinees.save());
    QCOMPARE(examinees.recordCount(), 4);

    DataSource deleting(QStringLiteral("IDE"));
    QVERIFY(deleting.deleteCurrent());
    addExaminee(QStringLiteral("c6"), QString(), QString());
    QCOMPARE(deleting.recordCount(), 4); // five at the open, one deleted
    deleting.refresh();
    QCOMPARE(deleting.recordCount(), 5);

    // Written while the count is still owed: counted once, whenever the count is taken.
    DataSource adding(QStringLiteral("IDE"));
    adding.addNew();
    adding.setValue(QStringLiteral("Code"), QStringLiteral("c7"));
    QVERIFY(adding.save());
    QCOMPARE(adding.recordCount(), 6);
    DataSource removing(QStringLiteral("IDE"));
    QVERIFY(removing.deleteCurrent());
    QCOMPARE(removing.recordCount(), 5);
}

// A rollback takes rows away and a closed file may be replaced: counts owed are taken first.
void DataSourceTest::countTakenBeforeRollbackAndClose() {
    {
        Transaction registration;
        addExaminee(QStringLiteral("r1"), QStringLiteral("Ahmadi"), QString());
        DataSource all(QStringLiteral("IDE"));
        DataSource filtered(QStringLiteral("IDE"));
        filtered.setFilter(QStringLiteral("LName"), QStringLiteral("Ahmadi"));
        registration.rollback();
        QCOMPARE(all.recordCount(), 4);
        QCOMPARE(filtered.recordCount(), 3);
        all.refresh();
        QCOMPARE(all.recordCount(), 3);
    }
    DataSource examinees(QStringLiteral("IDE"));
    QString error;
    QVERIFY2(openAnother(&error), qPrintable(error));
    QCOMPARE(examinees.recordCount(), 3); // of the file it was read from
    examinees.refresh();
    QCOMPARE(examinees.recordCount(), 0);
    QVERIFY(examinees.noCurrentRow());
}

// The look-up is kept compiled on the connection; another file opened in its place (a restore) is
// the one read by the next look-up.
void DataSourceTest::lookUpReadsTheFileOpenNow() {
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setFilter(QStringLiteral("code"), QStringLiteral("c2"));
    QCOMPARE(examinees.value(QStringLiteral("LName")), QStringLiteral("Karimi"));
    QString error;
    QVERIFY2(openAnother(&error), qPrintable(error));
    addExaminee(QStringLiteral("c2"), QStringLiteral("Rahimi"), QString());
    examinees.setFilter(QStringLiteral("code"), QStringLiteral("C2"));
    QCOMPARE(examinees.recordCount(), 1);
    QCOMPARE(examinees.value(QStringLiteral("LName")), QStringLiteral("Rahimi"));
}

// On the file the snapshot holds a lock that keeps writers out; on a server what another
// workstation writes meanwhile is not seen until it ends.
void DataSourceTest::readSnapshotHoldsTheFileWhileItLasts() {
    const bool onServer = StoreEngines::onServer();
    QSqlDatabase other = QSqlDatabase::cloneDatabase(Database::connection(), QStringLiteral("other process"));
    if (!onServer) {
        other.setDatabaseName(Database::filePath());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    }
    QVERIFY(other.open());
    const auto renameElsewhere = [&other](const QString &name) {
        return QSqlQuery(other).exec(
            QStringLiteral("UPDATE \"IDE\" SET \"LName\" = '%1' WHERE \"Code\" = 'c3'").arg(name));
    };
    {
        ReadSnapshot snapshot;
        DataSource first(QStringLiteral("IDE"));
        first.setFilter(QStringLiteral("code"), QStringLiteral("c1"));
        QCOMPARE(renameElsewhere(QStringLiteral("Rahimi")), onServer); // no write between the two reads
        DataSource second(QStringLiteral("IDE"));
        second.setFilter(QStringLiteral("code"), QStringLiteral("c3"));
        QCOMPARE(second.value(QStringLiteral("LName")), QStringLiteral("Ahmadi"));
        snapshot.end();
        QVERIFY(renameElsewhere(QStringLiteral("Rahimi"))); // and nothing held after it
        second.refresh();
        second.setFilter(QStringLiteral("code"), QStringLiteral("c3"));
        QCOMPARE(second.value(QStringLiteral("LName")), QStringLiteral("Rahimi"));
    }
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("other process"));

    // Inside a transaction it neither ends nor commits it.
    {
        Transaction registration;
        addExaminee(QStringLiteral("t1"), QStringLiteral("Ahmadi"), QString());
        {
            ReadSnapshot snapshot;
            DataSource examinees(QStringLiteral("IDE"));
            examinees.setFilter(QStringLiteral("code"), QStringLiteral("t1"));
            QCOMPARE(examinees.recordCount(), 1);
        }
        registration.rollback();
    }
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"LName\" FROM \"IDE\" WHERE \"Code\" IN ('t1', 'c3')")),
             QStringList{"Rahimi"});
}

void DataSourceTest::deleteStandsOnNeighbour() {
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setFilter(QStringLiteral("LName"), QStringLiteral("Ahmadi"));
    QVERIFY(examinees.deleteCurrent());
    QCOMPARE(examinees.recordCount(), 1);
    QCOMPARE(examinees.value(QStringLiteral("Code")), QStringLiteral("c3"));
    QVERIFY(examinees.deleteCurrent());
    QCOMPARE(examinees.recordCount(), 0);
    QVERIFY(examinees.noCurrentRow());
    QVERIFY(!examinees.deleteCurrent());
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"Code\" FROM \"IDE\"")), QStringList{"c2"});

    examinees.refresh();
    examinees.addNew();
    QVERIFY(examinees.deleteCurrent()); // a new row is only dropped
    QCOMPARE(examinees.recordCount(), 1);
    QCOMPARE(examinees.value(QStringLiteral("Code")), QStringLiteral("c2"));
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"IDE\"")), QStringList{"1"});
}

void DataSourceTest::saveFailures() {
    DataSource stale(QStringLiteral("IDE"));
    DataSource remover(QStringLiteral("IDE"));
    QVERIFY(remover.deleteCurrent());
    stale.setValue(QStringLiteral("FName"), QStringLiteral("lost"));
    QVERIFY(!stale.save());
    QVERIFY(!stale.lastError().isEmpty());

    DataSource answers(QStringLiteral("Answer"));
    QVERIFY(answers.noCurrentRow());
    QVERIFY(!answers.save());

    // The engine refuses the write: false and the engine's own description.
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setValue(QStringLiteral("FName"), QStringLiteral("x"));
    QSqlQuery refuse(Database::connection());
    if (StoreEngines::onServer()) {
        QVERIFY(refuse.exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                           "'BEGIN RAISE EXCEPTION ''writes refused''; END'")));
        QVERIFY(refuse.exec(QStringLiteral("CREATE TRIGGER no_writes BEFORE UPDATE ON \"IDE\" FOR EACH ROW "
                                           "EXECUTE FUNCTION refuse()")));
    } else {
        QVERIFY(refuse.exec(QStringLiteral("CREATE TRIGGER no_writes BEFORE UPDATE ON IDE BEGIN "
                                           "SELECT RAISE(ABORT, 'writes refused'); END")));
    }
    QVERIFY(!examinees.save());
    QVERIFY2(examinees.lastError().contains(QLatin1String("writes refused")), qPrintable(examinees.lastError()));
}

void DataSourceTest::unknownFieldMatchesNothing() {
#ifndef QT_NO_DEBUG
    QSKIP("an unknown field name stops a debug build on purpose");
#endif
    DataSource examinees(QStringLiteral("IDE"));
    QTest::ignoreMessage(QtCriticalMsg, "DataSource(IDE): the table has no field Cod");
    examinees.setFilter(QStringLiteral("Cod"), QStringLiteral("c1"));
    QCOMPARE(examinees.recordCount(), 0);
    QVERIFY(examinees.noCurrentRow());
}

void DataSourceTest::signals_() {
    DataSource examinees(QStringLiteral("IDE"));
    QSignalSpy rows(&examinees, &DataSource::currentRowChanged);
    QSignalSpy values(&examinees, &DataSource::valueChanged);
    examinees.setFilter(QStringLiteral("code"), QStringLiteral("c2"));
    examinees.refresh();
    examinees.addNew();
    examinees.deleteCurrent();
    QCOMPARE(rows.count(), 4);
    examinees.setValue(QStringLiteral("fname"), QStringLiteral("Ali"));
    examinees.setValue(QStringLiteral("FNAME"), QStringLiteral("Ali")); // no change, no signal
    QCOMPARE(values.count(), 1);
    QCOMPARE(values.at(0).at(0).toString(), QStringLiteral("FName"));
    QCOMPARE(values.at(0).at(1).toString(), QStringLiteral("Ali"));
    QCOMPARE(examinees.value(QStringLiteral("fName")), QStringLiteral("Ali"));
}

void DataSourceTest::fieldValuesUnderFilter() {
    DataSource examinees(QStringLiteral("IDE"));
    QCOMPARE(examinees.fieldValues(QStringLiteral("code")), QStringList({"c1", "c2", "c3"}));
    examinees.setFilter(QStringLiteral("Group"), QStringLiteral("B"));
    QCOMPARE(examinees.fieldValues(QStringLiteral("LNAME")), QStringList({"Karimi", "Ahmadi"}));
    examinees.refresh();
    QCOMPARE(examinees.fieldValues(QStringLiteral("LName"), true), QStringList({"Ahmadi", "Karimi"}));
}

// The grid reads the rows under the filter page by page, and again when the filter changes.
void DataSourceTest::gridReadsPagesUnderFilter() {
    {
        QSqlQuery query(Database::connection());
        QVERIFY(query.exec(QStringLiteral("BEGIN")));
        query.prepare(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"Group\") VALUES (?, ?)"));
        for (int i = 0; i < 1000; ++i) {
            query.addBindValue(QStringLiteral("g%1").arg(i));
            query.addBindValue(i % 2 ? QStringLiteral("B") : QStringLiteral("G"));
            QVERIFY(query.exec());
        }
        QVERIFY(query.exec(QStringLiteral("COMMIT")));
    }
    DataSource examinees(QStringLiteral("IDE"));
    DataSourceModel grid(&examinees, {QStringLiteral("code"), QStringLiteral("Group")}, {"Code", "Group"});
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(grid.rowCount(), 1003);
    QCOMPARE(grid.columnCount(), 2);
    QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Group"));
    QCOMPARE(grid.index(0, 0).data().toString(), QStringLiteral("c1"));
    QCOMPARE(grid.index(1002, 0).data().toString(), QStringLiteral("g999"));
    QCOMPARE(grid.index(300, 1).data().toString(), QStringLiteral("B")); // g297, on the second page

    QSignalSpy resets(&grid, &QAbstractItemModel::modelReset);
    examinees.setFilter(QStringLiteral("group"), QStringLiteral("B"));
    QCOMPARE(resets.count(), 1);
    QCOMPARE(grid.rowCount(), 502);
    QCOMPARE(grid.index(0, 0).data().toString(), QStringLiteral("c2"));
    QCOMPARE(grid.index(501, 0).data().toString(), QStringLiteral("g999"));
    examinees.setFilter(QStringLiteral("group"), QStringLiteral("Z"));
    QCOMPARE(grid.rowCount(), 0);
}

// A registration writes the examinee row and the answer row, or neither.
void DataSourceTest::transactionRollsBack() {
    DataSource examinees(QStringLiteral("IDE"));
    DataSource answers(QStringLiteral("Answer"));
    {
        Transaction registration;
        QVERIFY(registration.isActive());
        examinees.addNew();
        examinees.setValue(QStringLiteral("Code"), QStringLiteral("r1"));
        QVERIFY(examinees.save());
        answers.addNew();
        answers.setValue(QStringLiteral("Code"), QStringLiteral("r1"));
        QVERIFY(answers.save());
        QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"Answer\"")), QStringList{"1"});
    } // not committed
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"IDE\" WHERE \"Code\" = 'r1'")), QStringList{"0"});
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"Answer\"")), QStringList{"0"});
    {
        Transaction registration;
        examinees.addNew();
        examinees.setValue(QStringLiteral("Code"), QStringLiteral("r2"));
        answers.addNew();
        answers.setValue(QStringLiteral("Code"), QStringLiteral("r2"));
        QVERIFY(examinees.save() && answers.save());
        QVERIFY(registration.commit());
        QVERIFY(!registration.commit());
    }
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"IDE\" WHERE \"Code\" = 'r2'")), QStringList{"1"});
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"Code\" FROM \"Answer\"")), QStringList{"r2"});
    // No transaction is left open: a plain write is in the file at once.
    addExaminee(QStringLiteral("r3"), QString(), QString());
    QVERIFY(Database::connection().transaction());
    QVERIFY(Database::connection().rollback());
}

void DataSourceTest::innerTransactionRollsBackAlone() {
    Transaction outer;
    addExaminee(QStringLiteral("outer"), QString(), QString());
    {
        Transaction inner;
        QVERIFY(inner.isActive());
        addExaminee(QStringLiteral("inner"), QString(), QString());
    }
    QVERIFY(outer.commit());
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"Code\" FROM \"IDE\" WHERE \"Code\" IN ('outer', 'inner')")),
             QStringList{"outer"});
}

QTEST_MAIN(DataSourceTest)
#include "DataSourceTest.moc"
