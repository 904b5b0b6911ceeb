#include "update/FrmUpdate.h"

#include "common/AppVersion.h"
#include "common/Twips.h"
#include "shell/SkinLabel.h"
#include "shell/SkinObject.h"
#include "support/LoopbackHttpServer.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString versionPath = QStringLiteral("/Soft/Kelto/LastVersion.txt");

QString upToDateMessage() {
    return QString::fromUtf8("شما آخرين ورژن نرم افزار را داريد و يا اينکه ارتباط شما با اينترنت برقرار نمي باشد ");
}

// What the window looked like while the server was being asked.
struct DuringFetch {
    bool seen = false;
    QString caption;
    bool checkEnabled = true;
    Qt::CursorShape cursor = Qt::ArrowCursor;
};

// A port on 127.0.0.1 with nothing listening: the connection is refused.
QUrl refusedUrl() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(versionPath));
}

} // namespace

class FrmUpdateTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensPlacedWithTitleAndSkin();
    void newerVersionHandsOverToTheUpdater_data();
    void newerVersionHandsOverToTheUpdater();
    void otherwiseTellsTheUserAndStaysOpen_data();
    void otherwiseTellsTheUserAndStaysOpen();
    void failedFetchTellsTheUserAndStaysOpen_data();
    void failedFetchTellsTheUserAndStaysOpen();
    void checkCanBeRepeated();
    void missingUpdaterKeepsTheProgramRunning();
    void exitButtonClosesTheWindow();

private:
    FrmUpdate *openWindow(const QUrl &versionFile);
    void watch(LoopbackHttpServer &server);
    void clickCheck();
    void verifyIdleAfterMessage(const SeenBox &box);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<FrmUpdate> m_window;
    int m_endings = 0;
    DuringFetch m_during;
};

void FrmUpdateTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    // A stand-in updater that notes how many arguments it was started with.
    const QString updater = m_folder->filePath(QStringLiteral("Keltoupdate"));
    QFile script(updater);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\ncd \"$(dirname \"$0\")\" && echo $# > started.part && mv started.part started\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
    m_endings = 0;
    m_during = {};
}

void FrmUpdateTest::cleanup() {
    m_window.reset();
    // A check that went wrong must not leave the wait cursor to the next case.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

FrmUpdate *FrmUpdateTest::openWindow(const QUrl &versionFile) {
    m_window = std::make_unique<FrmUpdate>();
    m_window->versionCheck().setVersionFile(versionFile);
    m_window->setProgramFolder(m_folder->path());
    m_window->setEndProgram([this] { ++m_endings; });
    m_window->show();
    return m_window.get();
}

void FrmUpdateTest::watch(LoopbackHttpServer &server) {
    server.onRequest = [this] {
        m_during.seen = true;
        m_during.caption = m_window->windowTitle();
        m_during.checkEnabled = m_window->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled();
        if (const QCursor *cursor = QApplication::overrideCursor())
            m_during.cursor = cursor->shape();
    };
}

void FrmUpdateTest::clickCheck() {
    auto *check = m_window->findChild<QPushButton *>(QStringLiteral("Command1"));
    QVERIFY(check);
    check->click();
}

void FrmUpdateTest::verifyIdleAfterMessage(const SeenBox &box) {
    QVERIFY(box.seen);
    QCOMPARE(box.title, appTitle());
    QCOMPARE(box.text, upToDateMessage());
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.direction, Qt::RightToLeft);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kelto 2.1"));
    QVERIFY(m_window->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(m_endings, 0);
}

void FrmUpdateTest::opensPlacedWithTitleAndSkin() {
    FrmUpdate *window = openWindow(refusedUrl());
    QCOMPARE(window->pos(), twipsPoint(4085, 2745));
    QVERIFY(window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Kelto 2.1"));
    QCOMPARE(window->findChild<SkinLabel *>(QStringLiteral("Label1"))->caption(), QStringLiteral("Kelto 2.1"));
    QCOMPARE(
        window->findChild<SkinLabel *>(QStringLiteral("SkinLabel1"))->caption(),
        QString::fromUtf8("جهت به روز رساني نرم افزار ابتدا اتصال به اينترنت را چک کنيد سپس روي دکمه آپديت کليک کنيد"));
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("Command1"))->text(),
             QString::fromUtf8("بررسي آپديت جديد"));
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("Command2"))->text(), QString::fromUtf8("خروج"));
    auto *themeBox = window->findChild<QLineEdit *>(QStringLiteral("Text2"));
    QVERIFY(themeBox && !themeBox->isVisible());
    QCOMPARE(themeBox->text(), QStringLiteral("8"));
    QCOMPARE(window->findChild<SkinObject *>(QStringLiteral("Skin1"))->loadedFile(), QStringLiteral("metallic.skn"));
}

void FrmUpdateTest::newerVersionHandsOverToTheUpdater_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("2.2") << QByteArray("2.2");
    QTest::newRow("leading blank, CR LF") << QByteArray(" 2.2\r\n");
    QTest::newRow("further lines") << QByteArray("2.2\r\n2.1\r\n");
    QTest::newRow("major 3") << QByteArray("3.0");
}

void FrmUpdateTest::newerVersionHandsOverToTheUpdater() {
    QFETCH(QByteArray, body);
    LoopbackHttpServer server;
    server.body = body;
    watch(server);
    FrmUpdate *window = openWindow(server.url(versionPath));
    SeenBox box;
    answerNextMessageBox(&box, QMessageBox::Ok, 2000);
    clickCheck();

    QVERIFY(m_during.seen);
    QCOMPARE(m_during.caption, QStringLiteral("Please wait..."));
    QVERIFY(!m_during.checkEnabled);
    QCOMPARE(m_during.cursor, Qt::WaitCursor);

    QCOMPARE(m_endings, 1);
    QVERIFY(!window->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    // The updater was started without arguments.
    const QString started = m_folder->filePath(QStringLiteral("started"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 5000);
    QFile note(started);
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll().trimmed(), QByteArray("0"));
    QTest::qWait(100);
    QVERIFY2(!box.seen, "no message box on a hand-over");
}

void FrmUpdateTest::otherwiseTellsTheUserAndStaysOpen_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("same version") << 200 << QByteArray("2.1");
    QTest::newRow("minor 10 equals minor 1") << 200 << QByteArray("2.10");
    QTest::newRow("two-digit minor is older") << 200 << QByteArray("2.01");
    QTest::newRow("older") << 200 << QByteArray("1.9\r\n");
    QTest::newRow("empty body") << 200 << QByteArray();
    QTest::newRow("html page") << 200 << QByteArray("<html><head><title>Moved</title></head><body>2.5</body></html>");
    QTest::newRow("not found") << 404 << QByteArray("2.2");
    QTest::newRow("server error") << 500 << QByteArray("9.9");
}

void FrmUpdateTest::otherwiseTellsTheUserAndStaysOpen() {
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    LoopbackHttpServer server;
    server.status = status;
    server.body = body;
    watch(server);
    openWindow(server.url(versionPath));
    SeenBox box;
    answerNextMessageBox(&box);
    clickCheck();

    QVERIFY(m_during.seen);
    QCOMPARE(m_during.caption, QStringLiteral("Please wait..."));
    QVERIFY(!m_during.checkEnabled);
    QCOMPARE(m_during.cursor, Qt::WaitCursor);
    verifyIdleAfterMessage(box);
}

void FrmUpdateTest::failedFetchTellsTheUserAndStaysOpen_data() {
    QTest::addColumn<bool>("serverUp");
    QTest::newRow("nothing listening") << false;
    QTest::newRow("server never answers") << true;
}

void FrmUpdateTest::failedFetchTellsTheUserAndStaysOpen() {
    QFETCH(bool, serverUp);
    LoopbackHttpServer server;
    server.silent = true;
    watch(server);
    openWindow(serverUp ? server.url(versionPath) : refusedUrl());
    m_window->versionCheck().setTimeoutMs(500);
    SeenBox box;
    answerNextMessageBox(&box);
    clickCheck();
    QCOMPARE(server.requests, serverUp ? 1 : 0);
    verifyIdleAfterMessage(box);
}

void FrmUpdateTest::checkCanBeRepeated() {
    LoopbackHttpServer server;
    server.body = "2.1";
    openWindow(server.url(versionPath));
    SeenBox first;
    answerNextMessageBox(&first);
    clickCheck();
    verifyIdleAfterMessage(first);

    server.body = "2.2";
    clickCheck();
    QCOMPARE(server.requests, 2);
    QCOMPARE(m_endings, 1);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_folder->filePath(QStringLiteral("started"))), 5000);
}

void FrmUpdateTest::missingUpdaterKeepsTheProgramRunning() {
    QVERIFY(QFile::remove(m_folder->filePath(QStringLiteral("Keltoupdate"))));
    LoopbackHttpServer server;
    server.body = "2.2";
    FrmUpdate *window = openWindow(server.url(versionPath));
    SeenBox box;
    answerNextMessageBox(&box);
    clickCheck();
    QVERIFY(box.seen);
    QCOMPARE(box.title, appTitle());
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY(box.text.contains(QStringLiteral("Keltoupdate")));
    QCOMPARE(m_endings, 0);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Kelto 2.1"));
    QVERIFY(window->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
}

void FrmUpdateTest::exitButtonClosesTheWindow() {
    LoopbackHttpServer server;
    FrmUpdate *window = openWindow(server.url(versionPath));
    window->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    QVERIFY(!window->isVisible());
    QCOMPARE(server.requests, 0);
    QCOMPARE(m_endings, 0);
}

QTEST_MAIN(FrmUpdateTest)
#include "FrmUpdateTest.moc"
