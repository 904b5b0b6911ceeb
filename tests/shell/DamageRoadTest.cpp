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

#include <memory>

class DamageRoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpPersianApplication(*qApp); }
    void cleanup();
    void damageBringsTheRecoveryBox_data();
    void damageBringsTheRecoveryBox();
};

void DamageRoadTest::cleanup() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete widget;
    Database::close();
}

void DamageRoadTest::damageBringsTheRecoveryBox_data() {
    QTest::addColumn<QString>("index"); // whose pages are damaged; empty: pages in the middle of the file
    QTest::addColumn<QString>("button");
    QTest::newRow("the directory reads damaged pages; a new database") << QString() << "newDatabaseButton";
    QTest::newRow("the check after start finds a damaged index; leave") << "IDE_FName"
                                                                        << "exitButton";
}

// A database of many examinees with damaged pages opens. The directory's reads meet them (instead
// of showing an empty grid), or, where nothing reads them at start (an index of first names), the
// check of the whole file begun once the main window is on screen: the recovery box says so.
void DamageRoadTest::damageBringsTheRecoveryBox() {
    QFETCH(QString, index);
    QFETCH(QString, button);
    TempProgramFolder folder;
    const QString path = folder.filePath(Database::relativePath());
    makeKeltoDatabase(path, 5000);
    QVERIFY(Database::open(path, nullptr));
    columnInFile(QStringLiteral("INSERT INTO \"Answer\" (\"Code\") VALUES ('1')")); // the directory needs answers
    Database::close();
    QVERIFY(index.isEmpty() ? damageMiddlePages(path, 20) : damagePagesOf(path, index, 2));
    const QByteArray damaged = readFile(path);
    QString reason;
    actOnNextWindow(
        QStringLiteral("RecoveryBox"),
        [&reason, button](QWidget *box) {
            reason = box->findChild<QLabel *>(QStringLiteral("reasonLabel"))->text();
            box->findChild<QAbstractButton *>(button)->click();
        },
        30000);
    SeenBox done;
    if (button == QLatin1String("newDatabaseButton"))
        answerNextMessageBox(&done, QMessageBox::Ok, 30000);
    std::unique_ptr<KeltoStart> start;
    std::unique_ptr<DamageRoad> road;
    QPointer<QWidget> first;
    if (index.isEmpty()) { // no check of the whole file here: only a read can find the damage
        QVERIFY(folder.openDatabase());
        road = std::make_unique<DamageRoad>();
        Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
        first = Navigation::showMainWindow();
        first->findChild<QAbstractButton *>(QStringLiteral("Command4"))->click();
    } else {
        start = std::make_unique<KeltoStart>(folder.path());
        QCOMPARE(start->run(*qApp), KeltoStart::Outcome::MainWindowShown);
    }
    QTRY_VERIFY2_WITH_TIMEOUT(!reason.isEmpty(), "no recovery box came", 30000);
    QCOMPARE(reason, StoreMessages::damagedInside(path));
    const QDir databaseFolder(QFileInfo(path).absolutePath());
    const QStringList aside = databaseFolder.entryList({QStringLiteral("DBKelto-damaged-*.mdb")}, QDir::Files);
    if (button == QLatin1String("exitButton")) {
        Database::close();
        QCOMPARE(readFile(path), damaged);
        QCOMPARE(aside.size(), 0);
        return;
    }
    QVERIFY(done.seen);
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM IDE")), QStringList{"0"});
    QVERIFY(first && !first->isVisible() && visibleWindow(QStringLiteral("Frm1")));
    QCOMPARE(aside.size(), 1);
    QCOMPARE(readFile(databaseFolder.filePath(aside.first())), damaged);
}

QTEST_MAIN(DamageRoadTest)
#include "DamageRoadTest.moc"
