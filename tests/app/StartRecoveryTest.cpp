#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"

#include "app/DamageRoad.h"
#include "app/Frm1.h"
#include "app/KeltoStart.h"
#include "backup/SealedBackup.h"
#include "calendar/PersianCalendar.h"
#include "store/Database.h"
#include "store/RefusedDatabase.h"
#include "store/StoreMessages.h"
#include "widgets/Navigation.h"
#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>
#include <QTreeView>
#include <unistd.h>

namespace {
QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes, const QDateTime &modified = {}) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    if (modified.isValid())
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

// The bytes of a Kelto database with the given number of examinees.
QByteArray keltoDatabaseBytes(int examinees) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("made.mdb"));
    makeKeltoDatabase(path, examinees);
    return fileBytes(path);
}

int examineeCount() {
    QSqlQuery query(Database::connection());
    return query.exec(QStringLiteral("SELECT count(*) FROM IDE")) && query.next() ? query.value(0).toInt() : -1;
}

// What the recovery box showed before it was answered.
void closeWindows() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct SeenRecoveryBox {
    bool seen = false;
    QString title;
    QString reason;
    QString choices;
    QStringList buttons; // object names of the buttons offered
    bool restoreEnabled = false;
    QString restoreToolTip;
    QStringList listed; // file name column, top to bottom
    QStringList dates;
    QString leftOut;
};

// Reads the recovery box, picks the given row of the backup list and clicks the named button.
void answerRecoveryBox(SeenRecoveryBox *seen, const QString &button, int row = 0) {
    actOnNextWindow(
        QStringLiteral("RecoveryBox"),
        [seen, button, row](QWidget *box) {
            seen->seen = true;
            seen->title = box->windowTitle();
            seen->reason = box->findChild<QLabel *>(QStringLiteral("reasonLabel"))->text();
            seen->choices = box->findChild<QLabel *>(QStringLiteral("choicesLabel"))->text();
            for (QPushButton *offered : box->findChildren<QPushButton *>())
                seen->buttons << offered->objectName();
            if (auto *restore = box->findChild<QPushButton *>(QStringLiteral("restoreButton"))) {
                seen->restoreEnabled = restore->isEnabled();
                seen->restoreToolTip = restore->toolTip();
            }
            if (auto *list = box->findChild<QTreeView *>(QStringLiteral("backupList"))) {
                for (int r = 0; r < list->model()->rowCount(); ++r) {
                    seen->dates << list->model()->index(r, 0).data().toString();
                    seen->listed
                        << list->model()->index(r, 3).data().toString().remove(QChar(0x2066)).remove(QChar(0x2069));
                }
                list->setCurrentIndex(list->model()->index(row, 0));
            }
            if (auto *leftOut = box->findChild<QLabel *>(QStringLiteral("leftOutLabel")))
                seen->leftOut = leftOut->text();
            box->findChild<QPushButton *>(button)->click();
        },
        30000);
}
} // namespace

class StartRecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void wayBack_data();
    void wayBack();
    void noUsableBackupDisablesRestore_data();
    void noUsableBackupDisablesRestore();
    void unwritableFolderOffersOnlyExit();
    void takenAsideNameIsNotOverwritten();
    void sealedBackupOpensWithItsPassphrase();
    void failedRestoreLeavesTheRefusedFile();
    void damageFoundWhileRunning_data();
    void damageFoundWhileRunning();
};

void StartRecoveryTest::cleanup() {
    closeWindows();
    Database::close();
}

void StartRecoveryTest::wayBack_data() {
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("examinees");
    // Three backups: the newest cut short, then one of 7 examinees, then an older one of 3. The
    // older whole one is chosen, so the chosen row (not merely the first) must be restored.
    QTest::newRow("damaged, restore the older whole backup") << "damaged"
                                                             << "restoreButton" << 3;
    QTest::newRow("foreign file with a journal, new database") << "foreign"
                                                               << "newDatabaseButton" << 0;
}

void StartRecoveryTest::wayBack() {
    QFETCH(QString, refused);
    QFETCH(QString, button);
    QFETCH(int, examinees);
    TempProgramFolder folder;
    // The main window is closed while the database it reads is still there.
    const auto closeWindowsFirst = qScopeGuard(closeWindows);
    const QString path = folder.filePath(Database::relativePath());
    QByteArray refusedBytes;
    if (refused == QLatin1String("damaged")) {
        refusedBytes = keltoDatabaseBytes(2000);
        refusedBytes.truncate(refusedBytes.size() / 2);
    } else {
        refusedBytes = QByteArray("Standard Jet DB, or so it claims\n").repeated(100);
        writeFile(path + QStringLiteral("-journal"), "a journal that belongs to it");
    }
    writeFile(path, refusedBytes);
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray whole7 = keltoDatabaseBytes(7);
    writeFile(folder.filePath(QStringLiteral("Back/cut.mdbB")), whole7.left(whole7.size() / 2), now);
    writeFile(folder.filePath(QStringLiteral("Back/seven.mdbB")), whole7, now.addDays(-1));
    writeFile(folder.filePath(QStringLiteral("Back/three.mdbB")), keltoDatabaseBytes(3), now.addDays(-40));

    SeenRecoveryBox box;
    answerRecoveryBox(&box, button, 1);
    SeenBox done;
    answerNextMessageBox(&done, QMessageBox::Ok, 20000);
    KeltoStart start(folder.path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);

    QVERIFY(box.seen);
    QVERIFY2(box.reason.contains(QLatin1String("DBKelto.mdb")), qPrintable(box.reason));
    QCOMPARE(box.listed, (QStringList{"seven.mdbB", "three.mdbB"}));
    QCOMPARE(box.dates.value(1), PersianDateText(now.addDays(-40), 4));
    QCOMPARE(box.leftOut, StoreMessages::backupsLeftOut(1));
    QVERIFY(box.restoreEnabled);
    QCOMPARE(examineeCount(), examinees);

    // The refused file lies beside the new one, byte for byte, its journal with it.
    const QStringList aside =
        QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("DBKelto-damaged-*.mdb")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    const QString asidePath = QFileInfo(path).absolutePath() + QLatin1Char('/') + aside.first();
    QCOMPARE(fileBytes(asidePath), refusedBytes);
    QCOMPARE(QFileInfo::exists(asidePath + QStringLiteral("-journal")), refused == QLatin1String("foreign"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
    QCOMPARE(done.icon, QMessageBox::Information);
    QVERIFY2(done.text.contains(aside.first()), qPrintable(done.text));
    // As private as a database the program makes, restored or new.
    QCOMPARE(QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
             QFile::ReadOwner | QFile::WriteOwner);
}

void StartRecoveryTest::noUsableBackupDisablesRestore_data() {
    QTest::addColumn<QStringList>("backups"); // "cut" or "foreign", one file each
    QTest::newRow("no backup folder") << QStringList{};
    QTest::newRow("only a backup cut short") << QStringList{"cut"};
    QTest::newRow("another program's file named as a backup") << QStringList{"foreign"};
}

void StartRecoveryTest::noUsableBackupDisablesRestore() {
    QFETCH(QStringList, backups);
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    const QByteArray refusedBytes("not a database\n");
    writeFile(path, refusedBytes);
    for (const QString &kind : backups) {
        const QByteArray bytes = kind == QLatin1String("cut") ? keltoDatabaseBytes(5).left(3000)
                                                              : QByteArray("SQLite format 3").repeated(300);
        writeFile(folder.filePath(QStringLiteral("Back/") + kind + QStringLiteral(".mdbB")), bytes);
    }

    SeenRecoveryBox box;
    answerRecoveryBox(&box, QStringLiteral("exitButton"));
    KeltoStart start(folder.path());
    const KeltoStart::Outcome outcome = start.run(*qApp);
    QCOMPARE(outcome, KeltoStart::Outcome::DatabaseRefused);
    QVERIFY(KeltoStart::exitCode(outcome) != 0);
    QCOMPARE(start.mainWindow(), nullptr);

    QCOMPARE(box.title, QStringLiteral("Kelto"));
    QCOMPARE(box.buttons.size(), 3);
    QVERIFY(!box.restoreEnabled);
    QCOMPARE(box.restoreToolTip, StoreMessages::noUsableBackup(folder.filePath(QStringLiteral("Back"))));
    QCOMPARE(box.leftOut, backups.isEmpty() ? QString() : StoreMessages::backupsLeftOut(1));
    QCOMPARE(fileBytes(path), refusedBytes);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"DBKelto.mdb"});
}

// Root writes through permission bits, so the folder is made immutable instead (chattr); as
// another user, taking the write permission away is enough.
void StartRecoveryTest::unwritableFolderOffersOnlyExit() {
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    const QString databaseFolder = QFileInfo(path).absolutePath();
    const QByteArray refusedBytes("not a database\n");
    writeFile(path, refusedBytes);
    writeFile(folder.filePath(QStringLiteral("Back/whole.mdbB")), keltoDatabaseBytes(2));
    const QFileDevice::Permissions permissions = QFile::permissions(databaseFolder);
    std::unique_ptr<Immutable> immutable;
    if (geteuid() == 0) {
        immutable = std::make_unique<Immutable>(databaseFolder);
        if (!immutable->done())
            QSKIP("running as root and the immutable attribute is not available here (chattr)");
    } else {
        QVERIFY(QFile::setPermissions(databaseFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    SeenRecoveryBox box;
    answerRecoveryBox(&box, QStringLiteral("exitButton"));
    KeltoStart start(folder.path());
    const KeltoStart::Outcome outcome = start.run(*qApp);
    immutable.reset();
    QFile::setPermissions(databaseFolder, permissions);

    QCOMPARE(outcome, KeltoStart::Outcome::DatabaseRefused);
    QCOMPARE(box.buttons, QStringList{"exitButton"});
    QCOMPARE(box.choices, StoreMessages::folderNotWritable(databaseFolder));
    QCOMPARE(fileBytes(path), refusedBytes);
    QCOMPARE(QDir(databaseFolder).entryList(QDir::Files | QDir::Hidden), QStringList{"DBKelto.mdb"});
}

// Two refusals within one second: the second file goes aside under another name.
void StartRecoveryTest::takenAsideNameIsNotOverwritten() {
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    const QDateTime when(QDate(2024, 5, 1), QTime(9, 30, 5));
    const QString taken = folder.filePath(QStringLiteral("DBKelto/DBKelto-damaged-20240501-093005.mdb"));
    writeFile(taken, "first");
    writeFile(path, "second");
    QString movedTo;
    QString error;
    QVERIFY2(RefusedDatabase::moveAside(path, when, &movedTo, &error), qPrintable(error));
    QCOMPARE(QFileInfo(movedTo).fileName(), QStringLiteral("DBKelto-damaged-20240501-093005-2.mdb"));
    QCOMPARE(fileBytes(taken), QByteArray("first"));
    QCOMPARE(fileBytes(movedTo), QByteArray("second"));
    QVERIFY(!QFileInfo::exists(path));

    // Set aside for a restore, the file keeps its place too until the restored copy is renamed over
    // it: a process killed in between leaves it where the next start finds it.
    writeFile(path, "third");
    writeFile(path + QStringLiteral("-journal"), "its journal");
    QVERIFY2(RefusedDatabase::moveAside(path, when, &movedTo, &error, RefusedDatabase::Place::KeptUntilReplaced),
             qPrintable(error));
    QCOMPARE(QFileInfo(movedTo).fileName(), QStringLiteral("DBKelto-damaged-20240501-093005-3.mdb"));
    QCOMPARE(fileBytes(path), QByteArray("third"));
    QCOMPARE(fileBytes(movedTo), QByteArray("third"));
    QCOMPARE(fileBytes(movedTo + QStringLiteral("-journal")), QByteArray("its journal"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
}

// The database's folder on a disk too small for the backup: the restore fails and says the disk is
// full, the box comes back, and after leaving the refused file is still the one in its place (no
// new empty database), so that the next start offers the same backups again.
void StartRecoveryTest::failedRestoreLeavesTheRefusedFile() {
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    const QString databaseFolder = QFileInfo(path).absolutePath();
    writeFile(folder.filePath(QStringLiteral("Back/large.mdbB")), keltoDatabaseBytes(3000));
    SmallDisk disk(databaseFolder, 64 * 1024);
    if (!disk.error().isEmpty())
        QSKIP(qPrintable(disk.error()));
    const QByteArray refusedBytes("not a database\n");
    writeFile(path, refusedBytes);

    SeenRecoveryBox first;
    SeenRecoveryBox second;
    actOnNextWindow(
        QStringLiteral("RecoveryBox"),
        [&](QWidget *box) {
            answerRecoveryBox(&second, QStringLiteral("exitButton")); // armed for the box that comes back
            first.seen = true;
            box->findChild<QPushButton *>(QStringLiteral("restoreButton"))->click();
        },
        30000);
    {
        KeltoStart start(folder.path());
        QCOMPARE(start.run(*qApp), KeltoStart::Outcome::DatabaseRefused);
    }
    QVERIFY(first.seen);
    QVERIFY(second.seen);
    QCOMPARE(QDir(databaseFolder).entryList(QDir::Files | QDir::Hidden), QStringList{"DBKelto.mdb"});
    QCOMPARE(fileBytes(path), refusedBytes);
    QVERIFY2(second.reason.contains(StoreMessages::diskFull()), qPrintable(second.reason));
    QCOMPARE(second.listed, QStringList{"large.mdbB"});

    SeenRecoveryBox next;
    answerRecoveryBox(&next, QStringLiteral("exitButton"));
    KeltoStart nextStart(folder.path());
    QCOMPARE(nextStart.run(*qApp), KeltoStart::Outcome::DatabaseRefused);
    QVERIFY(next.seen);
    QCOMPARE(next.listed, QStringList{"large.mdbB"});
}

void StartRecoveryTest::damageFoundWhileRunning_data() {
    QTest::addColumn<QString>("index"); // whose pages are damaged; empty: pages in the middle of the file
    QTest::addColumn<QString>("button");
    QTest::newRow("the directory reads damaged pages; a new database") << QString() << "newDatabaseButton";
    QTest::newRow("the check after start finds a damaged index; leave") << "IDE_FName"
                                                                        << "exitButton";
}

// A database of many examinees with damaged pages opens. The directory's reads meet them (instead
// of showing an empty grid), or, where nothing reads them at start (an index of first names), the
// check of the whole file begun once the main window is on screen: the recovery box says so.
void StartRecoveryTest::damageFoundWhileRunning() {
    QFETCH(QString, index);
    QFETCH(QString, button);
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    makeKeltoDatabase(path, 5000);
    QVERIFY(Database::open(path, nullptr));
    columnInFile(QStringLiteral("INSERT INTO \"Answer\" (\"Code\") VALUES ('1')")); // the directory needs answers
    Database::close();
    QVERIFY(index.isEmpty() ? damageMiddlePages(path, 20) : damagePagesOf(path, index, 2));
    const QByteArray damaged = fileBytes(path);
    SeenRecoveryBox box;
    answerRecoveryBox(&box, button);
    SeenBox done;
    if (button == QLatin1String("newDatabaseButton"))
        answerNextMessageBox(&done, QMessageBox::Ok, 30000);
    std::unique_ptr<KeltoStart> start;
    std::unique_ptr<DamageRoad> road;
    QPointer<QWidget> first;
    if (index.isEmpty()) { // no check of the whole file here: only a read can find the damage
        setUpPersianApplication(*qApp);
        QVERIFY(folder.openDatabase());
        road = std::make_unique<DamageRoad>();
        Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
        first = Navigation::showMainWindow();
        first->findChild<QPushButton *>(QStringLiteral("Command4"))->click();
    } else {
        start = std::make_unique<KeltoStart>(folder.path());
        QCOMPARE(start->run(*qApp), KeltoStart::Outcome::MainWindowShown);
    }
    QTRY_VERIFY2_WITH_TIMEOUT(box.seen, "no recovery box came", 30000);
    QCOMPARE(box.reason, StoreMessages::damagedInside(path));
    const QDir databaseFolder(QFileInfo(path).absolutePath());
    const QStringList aside = databaseFolder.entryList({QStringLiteral("DBKelto-damaged-*.mdb")}, QDir::Files);
    if (button == QLatin1String("exitButton")) {
        Database::close();
        QCOMPARE(fileBytes(path), damaged);
        QCOMPARE(aside.size(), 0);
        return;
    }
    QVERIFY(done.seen);
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM IDE")), QStringList{"0"});
    QVERIFY(first && !first->isVisible() && visibleWindow(QStringLiteral("Frm1")));
    QCOMPARE(aside.size(), 1);
    QCOMPARE(fileBytes(databaseFolder.filePath(aside.first())), damaged);
}

void StartRecoveryTest::sealedBackupOpensWithItsPassphrase() {
    TempProgramFolder folder;
    const auto closeWindowsFirst = qScopeGuard(closeWindows);
    const QString path = folder.filePath(Database::relativePath());
    writeFile(path, keltoDatabaseBytes(20).left(3000));
    // Left by a program killed while it opened a sealed backup: gone at the next start.
    const QString opened = path + QStringLiteral(".opened");
    writeFile(opened, "half of a database");
    const QString plain = folder.filePath(QStringLiteral("Back/seven.mdb"));
    writeFile(plain, keltoDatabaseBytes(7));
    const QString passphrase = QStringLiteral("گذرواژه دفتر ما");
    QCOMPARE(SealedBackup::seal(plain, folder.filePath(QStringLiteral("Back/seven.mdbS")), passphrase).result,
             SealedBackup::Result::Done);
    writeFile(folder.filePath(QStringLiteral("Back/cut.mdbS")),
              fileBytes(folder.filePath(QStringLiteral("Back/seven.mdbS"))).chopped(1));

    SeenRecoveryBox box;
    answerRecoveryBox(&box, QStringLiteral("restoreButton"));
    QList<SeenBox> asked;
    answerInputBoxes(&asked, {passphrase});
    SeenBox done;
    answerNextMessageBox(&done, QMessageBox::Ok);
    KeltoStart start(folder.path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QCOMPARE(box.listed, QStringList{QStringLiteral("seven.mdbS")});
    QCOMPARE(box.leftOut, StoreMessages::backupsLeftOut(1));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(examineeCount(), 7);
    QVERIFY(!QFile::exists(opened));
}

QTEST_MAIN(StartRecoveryTest)
#include "StartRecoveryTest.moc"
