#include "support/KeltoFiles.h"
#include "support/TempProgramFolder.h"

#include "store/DataSource.h"
#include "store/Database.h"
#include "store/ItemTexts.h"
#include "store/StoreMessages.h"
#include "store/WholeFileCheck.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>
#include <unistd.h>

namespace {
QByteArray fileHash(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Runs statements on a file through a connection of its own (to make foreign or old files).
bool runOnFile(const QString &path, const QStringList &statements) {
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
} // namespace

class DatabaseTest : public QObject {
    Q_OBJECT
private slots:
    void programFolderIsWorkingFolder();
    void createsMissingDatabase();
    void keepsExistingDatabase();
    void opensInFolderWithOddName();
    void refusesFile_data();
    void refusesFile();
    void refusesUnwritable_data();
    void refusesUnwritable();
    void recoversCutOffWrite();
    void damagedPageIsReportedByItsRead();
    void closeReleasesFile();
    void wholeFileCheckProvesOnlyItsOpening();
};

// The test helper every window test stands on: its own working folder with the skin files.
void DatabaseTest::programFolderIsWorkingFolder() {
    const QString before = QDir::currentPath();
    {
        TempProgramFolder folder;
        QVERIFY(folder.isValid());
        QCOMPARE(QDir::currentPath(), QDir(folder.path()).canonicalPath());
        QCOMPARE(QDir().entryList({QStringLiteral("*.skn")}).size(),
                 QDir(QStringLiteral(KELTO_SOURCE_DIR "/skins")).entryList({QStringLiteral("*.skn")}).size());
    }
    QCOMPARE(QDir::currentPath(), before);
}

void DatabaseTest::createsMissingDatabase() {
    TempProgramFolder folder;
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("DBKelto"))));
    QString error;
    QVERIFY2(folder.openDatabase(&error), qPrintable(error));
    QVERIFY(QFileInfo(folder.filePath(Database::relativePath())).isFile());
    QCOMPARE(Database::filePath(), QFileInfo(folder.filePath(Database::relativePath())).absoluteFilePath());

    QCOMPARE(
        columnInFile(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' "
                                    "ORDER BY name")),
        QStringList({"Answer", "IDE", "QUS", "Theme"}));
    QCOMPARE(
        columnInFile(QStringLiteral("SELECT tbl_name || '.' || name FROM sqlite_master WHERE type = 'index' AND sql "
                                    "IS NOT NULL ORDER BY 1")),
        QStringList({"Answer.Answer_Code", "IDE.IDE_Code", "IDE.IDE_FName", "IDE.IDE_Group", "IDE.IDE_LName"}));
    QStringList answerFields{"ID", "Code"};
    for (int item = 1; item <= 40; ++item)
        answerFields << QString::number(item);
    QCOMPARE(columnInFile(QStringLiteral("SELECT name FROM pragma_table_info('Answer')")), answerFields);
    QCOMPARE(columnInFile(QStringLiteral("SELECT name FROM pragma_table_info('IDE')")),
             QStringList({"ID", "Code", "FName", "LName", "Jens", "Sen", "Taahol", "Tahsil", "Group", "Date", "Time"}));
    QCOMPARE(columnInFile(QStringLiteral("SELECT DISTINCT type FROM pragma_table_info('IDE') WHERE name <> 'ID'")),
             QStringList{"TEXT"});

    QCOMPARE(columnInFile(QStringLiteral("SELECT QU FROM QUS ORDER BY ID")), itemTexts());
    QCOMPARE(columnInFile(QStringLiteral("SELECT min(ID) || '-' || max(ID) || '-' || count(*) FROM QUS")),
             QStringList{"1-40-40"});
    QCOMPARE(columnInFile(QStringLiteral("SELECT TH || '|' || Name || '|' || Adress FROM Theme")), QStringList{"1||"});
    QCOMPARE(columnInFile(QStringLiteral("PRAGMA journal_mode")), QStringList{"delete"});
    QCOMPARE(columnInFile(QStringLiteral("PRAGMA synchronous")), QStringList{"2"});
    // The database was built aside and renamed into place: nothing else is left in the folder.
    QCOMPARE(QDir(folder.filePath(QStringLiteral("DBKelto"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{"DBKelto.mdb"});
}

void DatabaseTest::keepsExistingDatabase() {
    TempProgramFolder folder;
    QVERIFY(folder.openDatabase());
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("INSERT INTO IDE (Code) VALUES ('k1')")));
    QVERIFY(query.exec(QStringLiteral("UPDATE Theme SET TH = '7'")));
    query.finish();
    Database::close();
    QVERIFY(!Database::isOpen());

    // What a start killed while it made the database left beside it goes once it is an hour old.
    const QString database = folder.filePath(Database::relativePath());
    writeFile(database + QStringLiteral(".new-Ab12Cd"), "half made");
    writeFile(database + QStringLiteral(".new-Ef34Gh"), "being made");
    QFile stale(database + QStringLiteral(".new-Ab12Cd"));
    QVERIFY(stale.open(QIODevice::ReadWrite) &&
            stale.setFileTime(QDateTime::currentDateTime().addSecs(-7200), QFileDevice::FileModificationTime));
    stale.close();

    QVERIFY(folder.openDatabase());
    QCOMPARE(columnInFile(QStringLiteral("SELECT Code FROM IDE")), QStringList{"k1"});
    QCOMPARE(columnInFile(QStringLiteral("SELECT TH FROM Theme")), QStringList{"7"});
    QCOMPARE(QDir(folder.filePath(QStringLiteral("DBKelto"))).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"DBKelto.mdb", "DBKelto.mdb.new-Ef34Gh"}));
}

// The file is looked at through a file address first: characters that mean something in an
// address must not make a good database look foreign.
void DatabaseTest::opensInFolderWithOddName() {
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("پوشه #1 ?a=%20&b/DBKelto/DBKelto.mdb"));
    QString error;
    QVERIFY2(Database::open(path, &error), qPrintable(error));
    Database::close();
    QVERIFY2(Database::open(path, &error), qPrintable(error));
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM QUS")), QStringList{"40"});
}

// Each case leaves a file at the database's place that the program must refuse untouched.
void DatabaseTest::refusesFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("damaged");
    QTest::newRow("another program's SQLite file") << "foreign" << false;
    QTest::newRow("another program's SQLite file, write-ahead log") << "foreign wal" << false;
    QTest::newRow("Kelto tables lacking a field") << "missing field" << false;
    QTest::newRow("empty file") << "empty" << false;
    QTest::newRow("text file") << "text" << false;
    QTest::newRow("header garbled") << "garbled header" << true;
    QTest::newRow("schema page garbled") << "garbled schema" << true;
    QTest::newRow("cut short") << "truncated" << true;
    QTest::newRow("cut short inside a page") << "truncated mid-page" << true;
}

void DatabaseTest::refusesFile() {
    QFETCH(QString, kind);
    QFETCH(bool, damaged);
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    if (kind == QLatin1String("foreign")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(
            runOnFile(path, {"CREATE TABLE patients (id INTEGER, name TEXT)", "INSERT INTO patients VALUES (1, 'a')"}));
    } else if (kind == QLatin1String("foreign wal")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(runOnFile(path, {"PRAGMA journal_mode=WAL", "CREATE TABLE patients (id INTEGER)"}));
    } else if (kind == QLatin1String("missing field")) {
        makeKeltoDatabase(path, 1);
        QVERIFY(runOnFile(path, {"ALTER TABLE IDE DROP COLUMN \"Time\""}));
    } else if (kind == QLatin1String("empty")) {
        writeFile(path, QByteArray());
    } else if (kind == QLatin1String("text")) {
        writeFile(path, QByteArray("Standard Jet DB\nnot really a database at all\n").repeated(200));
    } else {
        makeKeltoDatabase(path, 3000);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        QVERIFY(size > 20 * 4096);
        if (kind == QLatin1String("garbled header")) {
            file.seek(16); // page size, versions, reserved bytes, payload fractions
            file.write(QByteArray(8, '\xA5'));
        } else if (kind == QLatin1String("garbled schema")) {
            file.seek(100); // the rest of the first page: the table of tables
            file.write(QByteArray(4096 - 100, '\xA5'));
        } else if (kind == QLatin1String("truncated")) {
            file.resize(size / 2);
        } else {
            file.resize(size / 2 + 100);
        }
    }
    const QByteArray before = fileHash(path);
    QVERIFY(!before.isEmpty() || kind == QLatin1String("empty"));
    const qint64 sizeBefore = QFileInfo(path).size();

    QString error;
    QVERIFY(!Database::open(Database::relativePath(), &error));
    QVERIFY(!Database::isOpen());
    QCOMPARE(error, damaged ? StoreMessages::damaged(Database::relativePath())
                            : StoreMessages::notKeltoDatabase(Database::relativePath()));
    QVERIFY(error.contains(QLatin1String("DBKelto.mdb")));
    QCOMPARE(QFileInfo(path).size(), sizeBefore);
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"DBKelto.mdb"});
}

void DatabaseTest::refusesUnwritable_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("lockFolder");
    QTest::newRow("database file") << true << false;
    QTest::newRow("database folder") << true << true;
    QTest::newRow("folder of a missing database") << false << true;
}

// Root writes through permission bits, so the file or folder is made immutable instead (chattr);
// as another user, taking the write permission away is enough.
void DatabaseTest::refusesUnwritable() {
    QFETCH(bool, fileExists);
    QFETCH(bool, lockFolder);
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    const QString dir = QFileInfo(path).absolutePath();
    if (fileExists)
        makeKeltoDatabase(path, 10);
    else
        QVERIFY(QDir().mkpath(dir));
    const QByteArray before = fileHash(path);
    const QString locked = lockFolder ? dir : path;
    const QFileDevice::Permissions permissions = QFile::permissions(locked);
    std::unique_ptr<Immutable> immutable;
    if (geteuid() == 0) {
        immutable = std::make_unique<Immutable>(locked);
        if (!immutable->done())
            QSKIP("running as root and the immutable attribute is not available here (chattr)");
    } else {
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    QString error;
    const bool opened = Database::open(Database::relativePath(), &error);
    immutable.reset();
    QFile::setPermissions(locked, permissions);
    QVERIFY(!opened);
    QCOMPARE(error, StoreMessages::notWritable(Database::relativePath()));
    QCOMPARE(QFileInfo::exists(path), fileExists);
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), fileExists ? 1 : 0);
}

// A write cut off by a crash leaves the database with its journal; the next start rolls the
// write back instead of calling the file damaged.
void DatabaseTest::recoversCutOffWrite() {
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    makeKeltoDatabase(path, 200);
    const QString crashed = folder.filePath(QStringLiteral("crashed"));
    QVERIFY(QDir().mkpath(crashed));
    QVERIFY(Database::open(path, nullptr));
    {
        QSqlQuery query(Database::connection());
        QVERIFY(query.exec(QStringLiteral("PRAGMA cache_size = 1"))); // spill changed pages into the file
        QVERIFY(query.exec(QStringLiteral("BEGIN")));
        QVERIFY(query.exec(QStringLiteral("UPDATE IDE SET FName = hex(randomblob(300))")));
        QVERIFY(QFileInfo::exists(path + QStringLiteral("-journal")));
        // The picture a crash leaves: the file half written, its journal beside it.
        QVERIFY(QFile::copy(path, crashed + QStringLiteral("/DBKelto.mdb")));
        QVERIFY(QFile::copy(path + QStringLiteral("-journal"), crashed + QStringLiteral("/DBKelto.mdb-journal")));
        QVERIFY(query.exec(QStringLiteral("ROLLBACK")));
    }
    Database::close();
    QVERIFY(fileHash(crashed + QStringLiteral("/DBKelto.mdb")) != fileHash(path));

    QString error;
    QVERIFY2(Database::open(crashed + QStringLiteral("/DBKelto.mdb"), &error), qPrintable(error));
    QCOMPARE(columnInFile(QStringLiteral("SELECT FName FROM IDE WHERE Code = '199'")), QStringList{"first name 199"});
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM IDE WHERE FName LIKE 'first name %'")),
             QStringList{"200"});
    QVERIFY(!QFileInfo::exists(crashed + QStringLiteral("/DBKelto.mdb-journal")));
}

// Opening checks the header, the size and the tables, not every page (that would read the whole
// file on every start). Pages damaged deep inside the file are met by the reads that touch them:
// such a read reports the error and never passes for a complete or empty table, and the file is
// not changed by opening and reading it.
void DatabaseTest::damagedPageIsReportedByItsRead() {
    constexpr int examinees = 3000;
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    makeKeltoDatabase(path, examinees);
    QVERIFY(damageMiddlePages(path));
    const QByteArray before = fileHash(path);

    QString error;
    QVERIFY2(Database::open(Database::relativePath(), &error), qPrintable(error));
    // Every way the windows read the examinees: the table in row order and the indexed fields.
    const QStringList fields{"Code", "FName", "LName", "Group"};
    int failedReads = 0;
    for (int read = 0; read <= fields.size(); ++read) {
        DataSource examinee(QStringLiteral("IDE"));
        const int rows = read == 0 ? int(examinee.rows(fields, 0, examinees + 1).size())
                                   : int(examinee.fieldValues(fields.at(read - 1), true).size());
        const int expected = read == fields.size() ? 1 : examinees; // every Group is empty
        if (examinee.lastError().isEmpty()) {
            QCOMPARE(rows, expected);
        } else {
            QVERIFY2(examinee.lastError().contains(QLatin1String("malformed")), qPrintable(examinee.lastError()));
            ++failedReads;
        }
    }
    QVERIFY(failedReads > 0);
    // Look-ups by code, read straight through SQLite: the examinee asked for, or the error.
    DataSource byCode(QStringLiteral("IDE"));
    int failedLookUps = 0;
    for (int code = 0; code < examinees; ++code) {
        byCode.setFilter(QStringLiteral("Code"), QString::number(code));
        if (!byCode.lastError().isEmpty() && byCode.noCurrentRow()) {
            QVERIFY2(byCode.lastError().contains(QLatin1String("malformed")), qPrintable(byCode.lastError()));
            ++failedLookUps;
            continue;
        }
        QCOMPARE(byCode.recordCount(), 1);
        QCOMPARE(byCode.value(QStringLiteral("Code")), QString::number(code));
    }
    QVERIFY(failedLookUps > 0);
    Database::close();
    QCOMPARE(fileHash(path), before);
}

// Restore replaces the file: after close() no handle of the program may hold it.
void DatabaseTest::closeReleasesFile() {
    TempProgramFolder folder;
    QVERIFY(folder.openDatabase());
    QVERIFY(Database::isOpen());
    Database::close();
    QVERIFY(!Database::isOpen());
    QVERIFY(!QSqlDatabase::contains(QString::fromLatin1(QSqlDatabase::defaultConnection)));
    QVERIFY(Database::filePath().isEmpty());
    const QString path = QFileInfo(folder.filePath(Database::relativePath())).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    if (!descriptors.exists())
        QSKIP("no /proc/self/fd to look at the open files");
    for (const QFileInfo &descriptor : descriptors.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        QVERIFY2(descriptor.symLinkTarget() != path, qPrintable(descriptor.fileName()));
    QVERIFY(QFile::remove(path));
    QVERIFY(folder.openDatabase()); // made anew
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM QUS")), QStringList{"40"});
}

// A backup skips its own check only while the file that passed the check of every page is open:
// a check that ends after the file was opened again (a restore) proves nothing of the new one.
void DatabaseTest::wholeFileCheckProvesOnlyItsOpening() {
    TempProgramFolder folder;
    QVERIFY(folder.openDatabase());
    QVERIFY(!Database::provenWhole());
    WholeFileCheck check;
    bool finished = false;
    connect(&check, &WholeFileCheck::finished, this, [&finished](bool damaged) { finished = !damaged; });
    check.start(Database::filePath());
    QTRY_VERIFY_WITH_TIMEOUT(finished, 60000);
    QVERIFY(Database::provenWhole());

    const QString path = Database::filePath();
    finished = false;
    check.start(path);
    QVERIFY(Database::open(path, nullptr));
    QVERIFY(!Database::provenWhole());
    QTRY_VERIFY_WITH_TIMEOUT(finished, 60000);
    QVERIFY(!Database::provenWhole());
    Database::close();
    QVERIFY(!Database::provenWhole());
}

QTEST_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
