#include "update/FrmUpdate.h"

#include "common/AppVersion.h"
#include "common/Twips.h"
#include "app/Frm1.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"
#include "store/DataSource.h"
#include "support/LoopbackHttpServer.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString versionPath = QStringLiteral("/Soft/Kelto/LastVersion.txt");

QString upToDateMessage() {
    return QString::fromUtf8("شما آخرين ورژن نرم افزار را داريد و يا اينکه ارتباط شما با اينترنت برقرار نمي باشد ");
}

// A port on 127.0.0.1 with nothing listening: the connection is refused.
QUrl refusedUrl() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(versionPath));
}

HttpResponse silentServer() {
    HttpResponse response;
    response.neverAnswer = true;
    return response;
}

// Closes a message box that should not have come up, so that the test fails instead of hanging; it
// lives only as long as the case that arms it.
class UnexpectedBoxGuard {
public:
    UnexpectedBoxGuard() {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_seen = true;
                box->close();
            }
        });
        m_timer.start(3000);
    }
    bool seen() const { return m_seen; }

private:
    QTimer m_timer;
    bool m_seen = false;
};

} // namespace

class FrmUpdateTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensPlacedWithTitleAndSkin();
    void showsItIsCheckingWhileItFetches_data();
    void showsItIsCheckingWhileItFetches();
    void newerVersionHandsOverToTheUpdater_data();
    void newerVersionHandsOverToTheUpdater();
    void otherwiseTellsTheUserAndStaysOpen_data();
    void otherwiseTellsTheUserAndStaysOpen();
    void missingUpdaterKeepsTheProgramRunning();
    void exitButtonClosesTheWindow();
    void mainWindowOpensItModal();

private:
    FrmUpdate *openWindow(const QUrl &versionFile);
    QPushButton *checkButton() const;
    void verifyUpdaterStarted();
    void verifyIdleAfterMessage();

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<FrmUpdate> m_window;
    int m_endings = 0;
    // A member, not a local: a watcher left over from a failed case must not write into a gone frame.
    SeenBox m_box;
};

void FrmUpdateTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QString error;
    QVERIFY2(m_folder->openDatabase(&error), qPrintable(error));
    DataSource theme(QStringLiteral("Theme"));
    theme.setValue(QStringLiteral("TH"), QStringLiteral("8"));
    QVERIFY(theme.save());

    // A stand-in updater that notes how many arguments it was started with.
    QFile script(m_folder->filePath(QStringLiteral("Keltoupdate")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\ncd \"$(dirname \"$0\")\" && echo $# > started.part && mv started.part started\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
    m_endings = 0;
    m_box = {};
}

void FrmUpdateTest::cleanup() {
    m_window.reset();
    m_folder.reset();
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

QPushButton *FrmUpdateTest::checkButton() const {
    return m_window->findChild<QPushButton *>(QStringLiteral("Command1"));
}

void FrmUpdateTest::verifyUpdaterStarted() {
    const QString started = m_folder->filePath(QStringLiteral("started"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 5000);
    QFile note(started);
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll().trimmed(), QByteArray("0"));
}

void FrmUpdateTest::verifyIdleAfterMessage() {
    QVERIFY(m_box.seen);
    QCOMPARE(m_box.title, appTitle());
    QCOMPARE(m_box.text, upToDateMessage());
    QCOMPARE(m_box.icon, QMessageBox::Information);
    QCOMPARE(m_box.direction, Qt::RightToLeft);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kelto 2.1"));
    QVERIFY(checkButton()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(m_endings, 0);
}

void FrmUpdateTest::opensPlacedWithTitleAndSkin() {
    FrmUpdate *window = openWindow(refusedUrl());
    QCOMPARE(window->pos(), twipsPoint(4085, 2745));
    QVERIFY(window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Kelto 2.1"));
    QCOMPARE(window->findChild<SkinLabel *>(QStringLiteral("Label1"))->caption(), QStringLiteral("Kelto 2.1"));
    QCOMPARE(window->findChild<SkinLabel *>(QStringLiteral("SkinLabel1"))->caption(),
             QString::fromUtf8("جهت به روز رساني نرم افزار ابتدا اتصال به اينترنت را چک کنيد سپس روي دکمه "
                               "آپديت کليک کنيد"));
    QCOMPARE(checkButton()->text(), QString::fromUtf8("بررسي آپديت جديد"));
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("Command2"))->text(), QString::fromUtf8("خروج"));
    auto *themeBox = window->findChild<QLineEdit *>(QStringLiteral("Text2"));
    QVERIFY(themeBox && !themeBox->isVisible());
    QCOMPARE(themeBox->text(), QStringLiteral("8"));
    QCOMPARE(window->findChild<SkinObject *>(QStringLiteral("Skin1"))->loadedFile(), QStringLiteral("metallic.skn"));
}

void FrmUpdateTest::showsItIsCheckingWhileItFetches_data() {
    QTest::addColumn<HttpResponse>("response");
    QTest::addColumn<bool>("newer");
    HttpResponse slow = HttpResponse::withBody("2");
    slow.pieces.append(".2");
    slow.pauseMs = 400;
    QTest::newRow("slow answer, newer") << slow << true;
    QTest::newRow("no answer") << silentServer() << false;
}

// Watched from a timer, which runs while the window waits for the server.
void FrmUpdateTest::showsItIsCheckingWhileItFetches() {
    QFETCH(HttpResponse, response);
    QFETCH(bool, newer);
    LoopbackHttpServer server;
    server.setResponse(versionPath, response);
    openWindow(QUrl(server.url(versionPath)));
    m_window->versionCheck().setTimeoutMs(1000);

    bool seen = false;
    QString caption;
    bool checkEnabled = true;
    const QCursor *cursor = nullptr;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (seen || server.requests().isEmpty())
            return;
        seen = true;
        caption = m_window->windowTitle();
        checkEnabled = checkButton()->isEnabled();
        cursor = QApplication::overrideCursor();
    });
    watch.start(5);
    UnexpectedBoxGuard guard;
    if (!newer)
        answerNextMessageBox(&m_box);
    checkButton()->click();

    QVERIFY(seen);
    QCOMPARE(caption, QStringLiteral("Please wait..."));
    QVERIFY(!checkEnabled);
    QVERIFY(cursor && cursor->shape() == Qt::WaitCursor);
    QCOMPARE(m_endings, newer ? 1 : 0);
    QCOMPARE(m_box.seen, !newer);
    QVERIFY(!guard.seen());
    if (newer)
        verifyUpdaterStarted();
}

void FrmUpdateTest::newerVersionHandsOverToTheUpdater_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("2.2") << QByteArray("2.2");
    QTest::newRow("leading blank, CR LF") << QByteArray(" 2.2\r\n");
    QTest::newRow("further lines") << QByteArray("2.2\r\n2.1\r\n");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "2.2");
    QTest::newRow("major 3") << QByteArray("3.0");
}

void FrmUpdateTest::newerVersionHandsOverToTheUpdater() {
    QFETCH(QByteArray, body);
    LoopbackHttpServer server;
    server.setResponse(versionPath, HttpResponse::withBody(body));
    FrmUpdate *window = openWindow(QUrl(server.url(versionPath)));
    UnexpectedBoxGuard guard;
    checkButton()->click();

    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(m_endings, 1);
    QVERIFY(!window->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    verifyUpdaterStarted();
    QVERIFY2(!guard.seen(), "no message box on a hand-over");
}

void FrmUpdateTest::otherwiseTellsTheUserAndStaysOpen_data() {
    QTest::addColumn<QUrl>("versionFile");
    QTest::addColumn<HttpResponse>("response");
    QTest::newRow("same version") << QUrl() << HttpResponse::withBody("2.1");
    QTest::newRow("minor 10 equals minor 1") << QUrl() << HttpResponse::withBody("2.10");
    QTest::newRow("two-digit minor is older") << QUrl() << HttpResponse::withBody("2.01");
    QTest::newRow("older, CR LF") << QUrl() << HttpResponse::withBody("1.9\r\n");
    QTest::newRow("empty body") << QUrl() << HttpResponse::withBody({});
    QTest::newRow("html page") << QUrl()
                               << HttpResponse::withBody(
                                      "<html><head><title>Moved</title></head><body>2.5</body></html>");
    QTest::newRow("not found") << QUrl() << HttpResponse::withBody("2.2", 404, "Not Found");
    QTest::newRow("server error") << QUrl() << HttpResponse::withBody("9.9", 500, "Internal Server Error");
    QTest::newRow("never answers") << QUrl() << silentServer();
    QTest::newRow("nothing listening") << refusedUrl() << HttpResponse();
}

void FrmUpdateTest::otherwiseTellsTheUserAndStaysOpen() {
    QFETCH(QUrl, versionFile);
    QFETCH(HttpResponse, response);
    LoopbackHttpServer server;
    server.setResponse(versionPath, response);
    openWindow(versionFile.isEmpty() ? QUrl(server.url(versionPath)) : versionFile);
    m_window->versionCheck().setTimeoutMs(500);
    answerNextMessageBox(&m_box);
    checkButton()->click();
    verifyIdleAfterMessage();
}

void FrmUpdateTest::missingUpdaterKeepsTheProgramRunning() {
    QVERIFY(QFile::remove(m_folder->filePath(QStringLiteral("Keltoupdate"))));
    LoopbackHttpServer server;
    server.setResponse(versionPath, HttpResponse::withBody("2.2"));
    FrmUpdate *window = openWindow(QUrl(server.url(versionPath)));
    answerNextMessageBox(&m_box);
    checkButton()->click();
    QVERIFY(m_box.seen);
    QCOMPARE(m_box.title, appTitle());
    QCOMPARE(m_box.icon, QMessageBox::Warning);
    QVERIFY(m_box.text.contains(QStringLiteral("Keltoupdate")));
    QCOMPARE(m_endings, 0);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Kelto 2.1"));
    QVERIFY(checkButton()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
}

void FrmUpdateTest::exitButtonClosesTheWindow() {
    LoopbackHttpServer server;
    FrmUpdate *window = openWindow(QUrl(server.url(versionPath)));
    window->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    QVERIFY(!window->isVisible());
    QVERIFY(server.requests().isEmpty());
    QCOMPARE(m_endings, 0);
}

void FrmUpdateTest::mainWindowOpensItModal() {
    Frm1 main;
    main.show();
    QPointer<FrmUpdate> opened;
    QWidget *owner = nullptr;
    QTimer leave;
    connect(&leave, &QTimer::timeout, [&] {
        opened = qobject_cast<FrmUpdate *>(QApplication::activeModalWidget());
        if (!opened)
            return;
        leave.stop();
        owner = opened->parentWidget();
        opened->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    });
    leave.start(20);
    UnexpectedBoxGuard guard;
    main.findChild<QPushButton *>(QStringLiteral("Cmdupdate"))->click();
    QCOMPARE(owner, &main);
    // Closed with its exit button, the window is gone and the main window stays.
    QVERIFY(!opened);
    QVERIFY(main.isVisible());
    QVERIFY(!guard.seen());
}

QTEST_MAIN(FrmUpdateTest)
#include "FrmUpdateTest.moc"
