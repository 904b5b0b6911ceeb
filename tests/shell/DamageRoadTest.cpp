#include "support/FileBytes.h"
#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"

#include "shell/DamageRoad.h"
#include "shell/Frm1.h"
#include "shell/KeltoStart.h"
#include "shell/Navigation.h"
#include "shell/PersianApplication.h"
#include "store/Database.h"
#include "store/StoreMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTest>

namespace {
// A database of many examinees (and one answer row, so that the directory opens) with pages in
// its middle overwritten (of one index only, when named): it opens, and the reads that go through
// those pages meet the damage.
QByteArray makeDamagedDatabase(const QString &path, const QString &index = {}) {
    makeKeltoDatabase(path, 5000);
    if (!Database::open(path, nullptr))
        return {};
    columnInFile(QStringLiteral("INSERT INTO \"Answer\" (\"Code\") VALUES ('1')"));
    Database::close();
    const bool damaged = index.isEmpty() ? damageMiddlePages(path, 20) : damagePagesOf(path, index, 2);
    return damaged ? readFile(path) : QByteArray();
}

struct SeenDamage {
    bool seen = false;
    QString reason;
};

// Reads the recovery box's reason and clicks the named button.
void answerRecoveryBox(SeenDamage *seen, const QString &button) {
    actOnNextWindow(
        QStringLiteral("RecoveryBox"),
        [seen, button](QWidget *box) {
            seen->seen = true;
            seen->reason = box->findChild<QLabel *>(QStringLiteral("reasonLabel"))->text();
            box->findChild<QAbstractButton *>(button)->click();
        },
        30000);
}
} // namespace

class DamageRoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpPersianApplication(*qApp); }
    void cleanup();
    void directoryMeetingDamageOffersTheWayBack();
    void checkAfterStartFindsDamage();
};

void DamageRoadTest::cleanup() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete widget;
    Database::close();
}

// The directory reads the examinees through the damaged pages: instead of an empty grid, the
// recovery box names the damage; a new database then takes the file's place under a fresh main
// window, the damaged file set aside as it was.
void DamageRoadTest::directoryMeetingDamageOffersTheWayBack() {
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    const QByteArray damaged = makeDamagedDatabase(path);
    QVERIFY(!damaged.isEmpty());
    QVERIFY(folder.openDatabase());
    DamageRoad road;
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
    const QPointer<QWidget> first = Navigation::showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(first));

    SeenDamage box;
    answerRecoveryBox(&box, QStringLiteral("newDatabaseButton"));
    SeenBox done;
    answerNextMessageBox(&done, QMessageBox::Ok, 30000);
    first->findChild<QAbstractButton *>(QStringLiteral("Command4"))->click();

    QVERIFY2(box.seen, "no recovery box came");
    QCOMPARE(box.reason, StoreMessages::damagedInside(QFileInfo(path).absoluteFilePath()));
    QVERIFY(done.seen);
    QVERIFY(Database::isOpen());
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM IDE")), QStringList{"0"});
    QVERIFY(first && !first->isVisible());
    QWidget *fresh = visibleWindow(QStringLiteral("Frm1"));
    QVERIFY(fresh && fresh != first);
    const QStringList aside =
        QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("DBKelto-damaged-*.mdb")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QCOMPARE(readFile(QFileInfo(path).absolutePath() + QLatin1Char('/') + aside.first()), damaged);
}

// Pages of the first-name index, which nothing reads at start: the check of the whole file, begun
// once the main window is on screen, finds them and offers the way back; leaving keeps the file.
void DamageRoadTest::checkAfterStartFindsDamage() {
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    const QByteArray damaged = makeDamagedDatabase(path, QStringLiteral("IDE_FName"));
    QVERIFY(!damaged.isEmpty());

    SeenDamage box;
    answerRecoveryBox(&box, QStringLiteral("exitButton"));
    KeltoStart start(folder.path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QTRY_VERIFY2_WITH_TIMEOUT(box.seen, "no recovery box came after the main window showed", 30000);
    QCOMPARE(box.reason, StoreMessages::damagedInside(QFileInfo(path).absoluteFilePath()));
    Database::close();
    QCOMPARE(readFile(path), damaged);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"DBKelto.mdb"});
}

QTEST_MAIN(DamageRoadTest)
#include "DamageRoadTest.moc"
