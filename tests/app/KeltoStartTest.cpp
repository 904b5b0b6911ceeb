#include "support/ModalDriver.h"

#include "app/KeltoStart.h"
#include "app/SingleInstanceGuard.h"
#include "store/Database.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <cstring>

namespace {
// Run as "KeltoStartTest --hold-lock <folder>", this program takes the single-instance lock of that
// program folder, says "locked" and waits to be killed.
int holdLock(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    SingleInstanceGuard guard(QString::fromLocal8Bit(argv[2]));
    if (guard.acquire() != SingleInstanceGuard::Result::Acquired)
        return 2;
    std::puts("locked");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

constexpr auto acquired = SingleInstanceGuard::Result::Acquired;
constexpr auto held = SingleInstanceGuard::Result::HeldByAnother;

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Starts a process and waits until it has said its first line.
bool startAndWaitForLine(QProcess &process, const QString &program, const QStringList &arguments,
                         const QByteArray &line) {
    process.start(program, arguments);
    if (!process.waitForStarted())
        return false;
    while (process.waitForReadyRead(10000)) {
        if (process.readAll().contains(line))
            return true;
    }
    return false;
}
} // namespace

class KeltoStartTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondGuardIsRefusedWhileTheFirstHolds();
    void lockOfAKilledInstanceIsTakenOver();
    void oldLockOfALivingInstanceStillRefuses();
    void startShowsTheMainWindow();
    void lockThatCannotBeMadeDoesNotKeepTheUserOut();
    void secondStartIsRefusedBeforeTheDatabase();
    void runningKeltoRefusesAnotherStartUntilItDies();

private:
    void holdLockInChild(QProcess &child, const QString &folder);
    QString databasePath() const { return m_folder->filePath(QStringLiteral("DBKelto/DBKelto.mdb")); }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_previousFolder;
};

void KeltoStartTest::init() {
    m_previousFolder = QDir::currentPath();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void KeltoStartTest::cleanup() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Database::close();
    QDir::setCurrent(m_previousFolder);
    m_folder.reset();
}

void KeltoStartTest::holdLockInChild(QProcess &child, const QString &folder) {
    QVERIFY(startAndWaitForLine(child, QCoreApplication::applicationFilePath(), {"--hold-lock", folder}, "locked"));
}

void KeltoStartTest::secondGuardIsRefusedWhileTheFirstHolds() {
    SingleInstanceGuard first(m_folder->path());
    SingleInstanceGuard second(m_folder->path());
    QTemporaryDir otherFolder;
    SingleInstanceGuard elsewhere(otherFolder.path());
    QCOMPARE(first.acquire(), acquired);
    QCOMPARE(second.acquire(), held);
    QCOMPARE(elsewhere.acquire(), acquired); // another program folder is another program
    first.release();
    QCOMPARE(second.acquire(), acquired);
}

void KeltoStartTest::lockOfAKilledInstanceIsTakenOver() {
#ifndef Q_OS_UNIX
    QSKIP("kills a child with SIGKILL");
#endif
    QProcess child;
    holdLockInChild(child, m_folder->path());
    SingleInstanceGuard guard(m_folder->path());
    QCOMPARE(guard.acquire(), held);
    child.kill(); // SIGKILL: the child leaves its lock file behind
    QVERIFY(child.waitForFinished());
    QVERIFY(QFile::exists(guard.lockFilePath()));
    QCOMPARE(guard.acquire(), acquired);
}

void KeltoStartTest::oldLockOfALivingInstanceStillRefuses() {
    QProcess child;
    holdLockInChild(child, m_folder->path());
    SingleInstanceGuard guard(m_folder->path());
    QFile lock(guard.lockFilePath());
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    lock.close();
    QCOMPARE(guard.acquire(), held);
    child.kill();
    child.waitForFinished();
}

void KeltoStartTest::startShowsTheMainWindow() {
    KeltoStart start(m_folder->path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QVERIFY(start.mainWindow());
    QCOMPARE(start.mainWindow()->objectName(), QStringLiteral("Frm1"));
    QVERIFY(start.mainWindow()->isVisible());
    QCOMPARE(QDir::current().canonicalPath(), QDir(m_folder->path()).canonicalPath());
    QVERIFY(QFile::exists(databasePath()));
    QCOMPARE(QApplication::layoutDirection(), Qt::RightToLeft);
    QCOMPARE(SingleInstanceGuard(m_folder->path()).acquire(), held);
}

void KeltoStartTest::lockThatCannotBeMadeDoesNotKeepTheUserOut() {
    // A "temporary folder" that is a file takes no lock file.
    const QString notAFolder = m_folder->filePath(QStringLiteral("not-a-folder"));
    QFile file(notAFolder);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray temporary = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([wasSet, temporary]() {
        if (wasSet)
            qputenv("TMPDIR", temporary);
        else
            qunsetenv("TMPDIR");
    });
    qputenv("TMPDIR", QFile::encodeName(notAFolder));
    QCOMPARE(SingleInstanceGuard(m_folder->path()).acquire(), SingleInstanceGuard::Result::Unavailable);
    KeltoStart start(m_folder->path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
}

void KeltoStartTest::secondStartIsRefusedBeforeTheDatabase() {
    QProcess child;
    holdLockInChild(child, m_folder->path());
    SeenBox seen;
    answerNextMessageBox(&seen);
    KeltoStart start(m_folder->path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::AlreadyRunning);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("Warnnig"));
    QCOMPARE(seen.text, QStringLiteral("برنامه در حال اجراست"));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.direction, Qt::RightToLeft);
    QCOMPARE(start.mainWindow(), nullptr);
    QVERIFY(!QFile::exists(databasePath()));
    QCOMPARE(child.state(), QProcess::Running); // the first instance goes on
    child.kill();
    child.waitForFinished();
}

// The program itself, copied into a program folder of its own, holds the folder against an
// in-process start; once it is killed, the start goes through.
void KeltoStartTest::runningKeltoRefusesAnotherStartUntilItDies() {
#ifndef Q_OS_UNIX
    QSKIP("kills the program with SIGKILL");
#endif
    const QString program = m_folder->filePath(QStringLiteral("Kelto"));
    QVERIFY(QFile::copy(QStringLiteral(KELTO_PROGRAM_DIR "/Kelto"), program));
    QProcess kelto;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    kelto.setProcessEnvironment(environment);
    kelto.start(program, {});
    QVERIFY(kelto.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(databasePath()), 20000);
    // The file as the first instance has settled it: the same bytes on two looks in a row.
    QByteArray databaseBefore;
    const auto settled = [&]() {
        const QByteArray now = fileBytes(databasePath());
        const bool same = now == databaseBefore;
        databaseBefore = now;
        return same;
    };
    QTRY_VERIFY_WITH_TIMEOUT(settled(), 20000);

    SeenBox seen;
    answerNextMessageBox(&seen);
    KeltoStart second(m_folder->path());
    QCOMPARE(second.run(*qApp), KeltoStart::Outcome::AlreadyRunning);
    QCOMPARE(seen.title, QStringLiteral("Warnnig"));
    QCOMPARE(fileBytes(databasePath()), databaseBefore);
    QCOMPARE(kelto.state(), QProcess::Running);

    kelto.kill();
    QVERIFY(kelto.waitForFinished());
    KeltoStart third(m_folder->path());
    QCOMPARE(third.run(*qApp), KeltoStart::Outcome::MainWindowShown);
}

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0)
        return holdLock(argc, argv);
    QApplication app(argc, argv);
    KeltoStartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "KeltoStartTest.moc"
