#include "updater/Progress.h"
#include "common/Hosts.h"
#include "common/Twips.h"
#include "support/LoopbackHttpServer.h"
#include "updater/FileDownloader.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString kInstallerPath = QStringLiteral("/Soft/Kelto/setup-Kelto.exe");

// Every message box that comes up while it lives: what it said, answered with OK.
class BoxRecorder {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    BoxRecorder() {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this]() {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || box == m_last)
                return;
            m_last = box;
            boxes.append({box->windowTitle(), box->text(), box->icon()});
            box->button(QMessageBox::Ok)->click();
        });
        m_poll.start();
    }

    QList<Box> boxes;

private:
    QTimer m_poll;
    QPointer<QMessageBox> m_last;
};

// Runs the action once the condition holds, checked as the window's events run: a step taken at a
// point of the download rather than after a time that a busy machine may not keep.
void actWhen(QObject *owner, std::function<bool()> condition, std::function<void()> action) {
    auto *poll = new QTimer(owner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, condition, action]() {
        if (!condition())
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool runSignTool(const QStringList &arguments) {
    QProcess tool;
    tool.start(QStringLiteral(KELTO_SIGN_TOOL), arguments);
    return tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

} // namespace

class ProgressTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_keys;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<LoopbackHttpServer> m_server;
    std::unique_ptr<Progress> m_window;
    bool m_ended = false;
    QByteArray m_installer;
    QByteArray m_signature;

    QString marker() const { return m_folder->filePath(QStringLiteral("installer-ran")); }
    QString saved() const { return m_folder->filePath(QStringLiteral("setup-Kelto.exe")); }
    template <typename T> T *control(const char *name) const { return m_window->findChild<T *>(name); }
    QPushButton *cmdUpdate() const { return control<QPushButton>("cmdUpdate"); }
    QProgressBar *progressBar() const { return control<QProgressBar>("ProgressBar"); }

    // Signs `content` with the key pair in `keyName` (made on first use) by the release tool.
    QByteArray sign(const QByteArray &content, const QString &keyName) {
        const QString secret = m_keys.filePath(keyName + ".key");
        if (!QFile::exists(secret) && !runSignTool({"keygen", secret, m_keys.filePath(keyName + ".pub")}))
            return {};
        const QString file = m_keys.filePath(QStringLiteral("to-sign"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        out.write(content);
        out.close();
        return runSignTool({"sign", secret, file}) ? contentOf(file + ".sig") : QByteArray();
    }

    void serve(const HttpResponse &installer, const std::optional<QByteArray> &signature) {
        m_server->setResponse(kInstallerPath, installer);
        if (signature)
            m_server->setResponse(kInstallerPath + ".sig", HttpResponse::withBody(*signature));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_keys.isValid());
        // The installer is a tiny script that leaves a marker beside itself when it runs.
        m_installer = "#!/bin/sh\necho started > installer-ran\n";
        m_signature = sign(m_installer, QStringLiteral("test"));
        QCOMPARE(m_signature.size(), 64);
    }

    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_server = std::make_unique<LoopbackHttpServer>();
        QVERIFY(m_server->isListening());
        m_ended = false;
        m_window = std::make_unique<Progress>();
        m_window->setProgramFolder(m_folder->path());
        m_window->setReleaseKey(contentOf(m_keys.filePath(QStringLiteral("test.pub"))));
        m_window->setProgramEnd([this]() { m_ended = true; });
        control<QLineEdit>("Text")->setText(m_server->url(kInstallerPath));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_window.reset();
        m_server.reset();
        m_folder.reset();
    }

    void opensReady() {
        Progress fresh;
        QCOMPARE(fresh.objectName(), QStringLiteral("Progress"));
        QCOMPARE(fresh.windowTitle(), QStringLiteral("Downloading File ... "));
        QCOMPARE(fresh.pos(), twipsPoint(2475, 1620));
        QCOMPARE(fresh.size(), twipsSize(8400, 3075));
        QCOMPARE(fresh.findChild<QPushButton *>("cmdUpdate")->text(), QStringLiteral("دانلود"));
        QCOMPARE(fresh.findChild<QPushButton *>("Command1")->text(), QStringLiteral("خروج"));
        QCOMPARE(fresh.findChild<QLabel *>("Label3")->text(), QStringLiteral("Kelto"));
        QStringList contacts;
        for (QLabel *label : fresh.findChildren<QLabel *>("Label2"))
            contacts << label->text();
        QCOMPARE(contacts, (QStringList{Hosts::contactEmail(), Hosts::contactWeb()}));
        QCOMPARE(fresh.findChild<QLabel *>("Label1")->text(), QStringLiteral("Address File :"));
        QCOMPARE(fresh.findChild<QLineEdit *>("Text")->text(), Hosts::installer());
        fresh.show();
        QVERIFY(!fresh.findChild<QLabel *>("Label1")->isVisible());
        QVERIFY(!fresh.findChild<QLineEdit *>("Text")->isVisible());
        auto *bar = fresh.findChild<QProgressBar *>("ProgressBar");
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 0);
        auto *timer = fresh.findChild<QTimer *>("Timer1");
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(timer->isActive());
        QCOMPARE(fresh.findChild<FileDownloader *>("FileDownloader")->size(), twipsSize(1020, 945));
    }

    void completedDownloadIsVerifiedStartedAndEnds() {
        serve(HttpResponse::withBody(m_installer), m_signature);
        BoxRecorder recorder;
        cmdUpdate()->click();

        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QStringLiteral("Success"));
        QCOMPARE(recorder.boxes[0].text, QStringLiteral("دانلود فايل با موفقيت به پايان رسيد "));
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Information);
        QVERIFY(m_ended);
        QCOMPARE(cmdUpdate()->text(), QStringLiteral("دانلود"));
        QCOMPARE(progressBar()->value(), 0);
        QCOMPARE(contentOf(saved()), m_installer);
        QVERIFY(!QFile::exists(saved() + ".sig"));
        // The installer really ran, in the updater's folder.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker()), 10000);
        QCOMPARE(m_server->requests().size(), 2);
        QCOMPARE(m_server->requests()[1].path, (kInstallerPath + ".sig").toLatin1());
    }

    // An installer without the vendor's signature is never started and never left behind.
    void unverifiedInstallerIsRefused_data() {
        QTest::addColumn<QByteArray>("served");
        QTest::addColumn<QString>("signer"); // empty: no signature on the server; "cut": a damaged one

        QTest::newRow("signature missing") << m_installer << "";
        QTest::newRow("installer altered") << QByteArray(m_installer + "echo altered > altered-ran\n") << "test";
        QTest::newRow("signed with another key") << m_installer << "stranger";
        QTest::newRow("signature cut short") << m_installer << "cut";
    }

    void unverifiedInstallerIsRefused() {
        QFETCH(QByteArray, served);
        QFETCH(QString, signer);
        std::optional<QByteArray> signature;
        if (signer == QLatin1String("cut")) {
            signature = m_signature.left(40);
        } else if (!signer.isEmpty()) {
            signature = sign(m_installer, signer);
            QCOMPARE(signature->size(), 64);
        }
        serve(HttpResponse::withBody(served), signature);
        BoxRecorder recorder;
        cmdUpdate()->click();

        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(recorder.boxes[0].text.contains("signature"), qPrintable(recorder.boxes[0].text));
        QVERIFY(!m_ended);
        QVERIFY(!QFile::exists(saved()));
        QVERIFY(!QFile::exists(saved() + ".sig"));
        QCOMPARE(cmdUpdate()->text(), QStringLiteral("دانلود"));
        QCOMPARE(progressBar()->value(), 0);
        QTest::qWait(300);
        QVERIFY(!QFile::exists(marker()));
    }

    void cancelReturnsToReady() {
        HttpResponse slow;
        slow.pieces = QList<QByteArray>(10, QByteArray(100, 'x'));
        slow.pauseMs = 500;
        serve(slow, m_signature);
        BoxRecorder recorder;
        QString captionWhileRunning;
        int valueWhileRunning = -1;
        actWhen(m_window.get(), [this]() { return progressBar()->value() > 0; }, [&]() {
            captionWhileRunning = cmdUpdate()->text();
            valueWhileRunning = progressBar()->value();
            cmdUpdate()->click();
            // Back to ready at once, before the download has even ended.
            QCOMPARE(cmdUpdate()->text(), QStringLiteral("دانلود"));
            QCOMPARE(progressBar()->value(), 0);
        });
        cmdUpdate()->click();

        QCOMPARE(captionWhileRunning, QStringLiteral("انصراف"));
        QVERIFY(valueWhileRunning > 0 && valueWhileRunning < 100);
        QCOMPARE(cmdUpdate()->text(), QStringLiteral("دانلود"));
        QCOMPARE(progressBar()->value(), 0);
        QVERIFY(!QFile::exists(saved()));
        QVERIFY(!m_ended);
        // The percentage label follows on its timer.
        QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>("Label4")->text(), QStringLiteral("0"), 30000);
        QVERIFY(recorder.boxes.isEmpty());
    }

    void percentageLabelFollowsTheBar() {
        HttpResponse slow;
        slow.pieces = QList<QByteArray>(12, QByteArray(100, 'x'));
        slow.pauseMs = 500;
        serve(slow, std::nullopt);
        BoxRecorder recorder;
        QString labelMidway;
        actWhen(m_window.get(), [this]() { return control<QLabel>("Label4")->text().toInt() > 0; }, [&]() {
            labelMidway = control<QLabel>("Label4")->text();
            cmdUpdate()->click();
        });
        cmdUpdate()->click();
        QVERIFY2(labelMidway.toInt() > 0 && labelMidway.toInt() < 100, qPrintable(labelMidway));
    }

    void serverErrorShowsOneBoxAndLeavesReady() {
        BoxRecorder recorder;
        cmdUpdate()->click(); // nothing is served: 404

        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(recorder.boxes[0].text, "The file, \"" + m_server->url(kInstallerPath) + "\" was not found!");
        QCOMPARE(cmdUpdate()->text(), QStringLiteral("دانلود"));
        QCOMPARE(progressBar()->value(), 0);
        QVERIFY(!m_ended);

        // The user may try again, and this time it works.
        serve(HttpResponse::withBody(m_installer), m_signature);
        cmdUpdate()->click();
        QCOMPARE(recorder.boxes.size(), 2);
        QCOMPARE(recorder.boxes[1].title, QStringLiteral("Success"));
        QVERIFY(m_ended);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker()), 10000);
    }

    void exitButtonEndsAtOnceEvenWhileDownloading() {
        HttpResponse slow;
        // Twenty seconds of download: the exit comes as the bar first moves, far from its end.
        slow.pieces = QList<QByteArray>(20, QByteArray(100, 'x'));
        slow.pauseMs = 1000;
        serve(slow, m_signature);
        BoxRecorder recorder;
        actWhen(m_window.get(), [this]() { return progressBar()->value() > 0; },
                [this]() { control<QPushButton>("Command1")->click(); });
        QElapsedTimer clock;
        clock.start();
        cmdUpdate()->click();
        QVERIFY(m_ended);
        QVERIFY2(clock.elapsed() < 15000, "the download went on after the exit button");
        QVERIFY(recorder.boxes.isEmpty());
        QVERIFY(!QFile::exists(marker()));
    }
};

QTEST_MAIN(ProgressTest)
#include "ProgressTest.moc"
