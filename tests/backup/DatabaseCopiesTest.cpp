#include "backup/DatabaseCopies.h"
#include "backup/SealedBackup.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Transaction.h"
#include "support/FileBytes.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using DatabaseCopies::Result;

namespace {
bool addExaminee(const QString &code) {
    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), code);
    examinees.setValue(QStringLiteral("FName"), QStringLiteral("نام ") + code);
    return examinees.save();
}

QStringList examineeCodes() {
    DataSource examinees(QStringLiteral("IDE"));
    return examinees.fieldValues(QStringLiteral("Code"));
}

// An SQLite file with a table of its own and none of ours.
void makeForeignDatabase(const QString &path) {
    const QString name = QStringLiteral("foreign");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE notes (text TEXT)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO notes VALUES ('x')")));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
} // namespace

class DatabaseCopiesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void backupThenRestoreGivesBackTheRowsSaved();
    void restoreRefusesWhatIsNotAWholeDatabase_data();
    void restoreRefusesWhatIsNotAWholeDatabase();
    void nothingIsCopiedWhileAWriteIsUnderWay();
    void sealedBackupRestoresTheRowsSaved();
    void sealedFileOfAnotherProgramLeavesTheDatabase();

private:
    QString database() const { return m_folder->filePath(Database::relativePath()); }
    QString backup() const { return m_folder->filePath(QStringLiteral("Back/saved.mdbB")); }

    std::unique_ptr<TempProgramFolder> m_folder;
};

void DatabaseCopiesTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("Back")));
    QVERIFY(addExaminee(QStringLiteral("A1")));
    QVERIFY(addExaminee(QStringLiteral("B2")));
}

void DatabaseCopiesTest::cleanup() { m_folder.reset(); }

void DatabaseCopiesTest::backupThenRestoreGivesBackTheRowsSaved() {
    QCOMPARE(DatabaseCopies::backUp(backup()).result, Result::Done);
    QCOMPARE(readFile(backup()), readFile(database()));

    QVERIFY(addExaminee(QStringLiteral("C3")));
    DataSource first(QStringLiteral("IDE"));
    QVERIFY(first.deleteCurrent());
    QCOMPARE(examineeCodes(), (QStringList{QStringLiteral("B2"), QStringLiteral("C3")}));

    const DatabaseCopies::Outcome restored = DatabaseCopies::restore(backup());
    QVERIFY2(restored.result == Result::Done, qPrintable(restored.message));
    QCOMPARE(readFile(database()), readFile(backup()));
    QVERIFY(m_folder->openDatabase());
    QCOMPARE(examineeCodes(), (QStringList{QStringLiteral("A1"), QStringLiteral("B2")}));
    // Nothing of the copy is left beside the database.
    QCOMPARE(QDir(m_folder->filePath(QStringLiteral("DBKelto"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("DBKelto.mdb")});
}

void DatabaseCopiesTest::restoreRefusesWhatIsNotAWholeDatabase_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("backup cut short") << "truncated";
    QTest::newRow("backup with a damaged page") << "damaged page";
    QTest::newRow("database of another program") << "foreign";
    QTest::newRow("text file") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("missing file") << "missing";
}

void DatabaseCopiesTest::restoreRefusesWhatIsNotAWholeDatabase() {
    QFETCH(QString, kind);
    // Enough rows for several pages, so that one in the middle can be damaged.
    Transaction rows;
    for (int i = 0; i < 300; ++i)
        QVERIFY(addExaminee(QStringLiteral("X%1").arg(i)));
    QVERIFY(rows.commit());
    QCOMPARE(DatabaseCopies::backUp(backup()).result, Result::Done);
    QByteArray bytes = readFile(backup());
    QVERIFY(bytes.size() > 8 * 4096);
    if (kind == QLatin1String("truncated")) {
        QVERIFY(QFile::resize(backup(), bytes.size() / 2));
    } else if (kind == QLatin1String("damaged page")) {
        const qsizetype middle = bytes.size() / 2;
        for (qsizetype i = middle; i < middle + 2000; ++i)
            bytes[i] = char(~bytes[i]);
        QVERIFY(writeFile(backup(), bytes));
    } else if (kind == QLatin1String("foreign")) {
        QVERIFY(QFile::remove(backup()));
        makeForeignDatabase(backup());
    } else if (kind == QLatin1String("text")) {
        QVERIFY(writeFile(backup(), "not a database at all\n"));
    } else if (kind == QLatin1String("empty")) {
        QVERIFY(writeFile(backup(), QByteArray()));
    } else {
        QVERIFY(QFile::remove(backup()));
    }
    QVERIFY(addExaminee(QStringLiteral("after the backup")));
    const QByteArray before = readFile(database());

    const DatabaseCopies::Outcome outcome = DatabaseCopies::restore(backup());
    QCOMPARE(outcome.result, Result::NotKeltoDatabase);
    QVERIFY(outcome.message.contains(QDir::toNativeSeparators(backup())));
    QCOMPARE(readFile(database()), before);
    QVERIFY(Database::isOpen());
    QVERIFY(examineeCodes().contains(QStringLiteral("after the backup")));
}

void DatabaseCopiesTest::nothingIsCopiedWhileAWriteIsUnderWay() {
    QVERIFY(DatabaseCopies::backUp(backup()).result == Result::Done);
    const QByteArray saved = readFile(backup());
    const QString fresh = m_folder->filePath(QStringLiteral("Back/fresh.mdbB"));
    {
        Transaction write;
        QVERIFY(write.isActive());
        QVERIFY(addExaminee(QStringLiteral("half written")));
        QCOMPARE(DatabaseCopies::backUp(fresh).result, Result::WritePending);
        QVERIFY(!QFile::exists(fresh));
        QCOMPARE(DatabaseCopies::restore(backup()).result, Result::WritePending);
        QVERIFY(Database::isOpen());
        QVERIFY(write.commit());
    }
    QCOMPARE(readFile(backup()), saved);
    QVERIFY(examineeCodes().contains(QStringLiteral("half written")));
    QCOMPARE(DatabaseCopies::backUp(fresh).result, Result::Done);
    QCOMPARE(readFile(fresh), readFile(database()));
}

void DatabaseCopiesTest::sealedBackupRestoresTheRowsSaved() {
    const QString sealed = m_folder->filePath(QStringLiteral("Back/saved.mdbS"));
    const QString passphrase = QStringLiteral("گذرواژه دفتر");
    QCOMPARE(DatabaseCopies::backUpSealed(sealed, passphrase).result, Result::Done);
    // None of the examinees' texts is in the clear.
    const QByteArray name = QStringLiteral("نام A1").toUtf8();
    QVERIFY(readFile(database()).contains(name));
    QVERIFY(!readFile(sealed).contains(name));
    QVERIFY(addExaminee(QStringLiteral("C3")));

    const DatabaseCopies::Outcome restored = DatabaseCopies::restoreSealed(sealed, passphrase);
    QVERIFY2(restored.result == Result::Done, qPrintable(restored.message));
    QVERIFY(m_folder->openDatabase());
    QCOMPARE(examineeCodes(), (QStringList{QStringLiteral("A1"), QStringLiteral("B2")}));
    QCOMPARE(QDir(m_folder->filePath(QStringLiteral("DBKelto"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("DBKelto.mdb")});
}

// A sealed backup is checked, once opened, as a plain one is.
void DatabaseCopiesTest::sealedFileOfAnotherProgramLeavesTheDatabase() {
    const QString sealed = m_folder->filePath(QStringLiteral("Back/saved.mdbS"));
    makeForeignDatabase(backup());
    QCOMPARE(SealedBackup::seal(backup(), sealed, QStringLiteral("گذرواژه دفتر")).result, SealedBackup::Result::Done);
    const QByteArray before = readFile(database());

    const DatabaseCopies::Outcome outcome = DatabaseCopies::restoreSealed(sealed, QStringLiteral("گذرواژه دفتر"));
    QCOMPARE(outcome.result, Result::NotKeltoDatabase);
    QVERIFY2(outcome.message.contains(QDir::toNativeSeparators(sealed)), qPrintable(outcome.message));
    QCOMPARE(readFile(database()), before);
    QVERIFY(Database::isOpen());
    QVERIFY(!QFile::exists(DatabaseCopies::openedCopyPath()));
}

QTEST_MAIN(DatabaseCopiesTest)
#include "DatabaseCopiesTest.moc"
