// The whole update road against a release made by tools/release/make-release.sh and served by
// python3's own HTTP server on 127.0.0.1: the update window finds the newer release, the updater
// downloads it, checks its signature and starts it; a tampered installer is never started.
#include "common/AppVersion.h"
#include "common/Hosts.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "update/FrmUpdate.h"
#include "updater/Progress.h"

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kVersionPath = QStringLiteral("/Soft/Kelto/LastVersion.txt");
const QString kInstallerPath = QStringLiteral("/Soft/Kelto/setup-Kelto.exe");

// A stand-in installer: it leaves a marker in the folder it lies in when it runs. Whatever a test
// adds to it must stay as harmless: should the updater ever start an altered file, it runs.
const QByteArray kInstaller = "#!/bin/sh\ncd \"$(dirname \"$0\")\" && echo installed > installer-ran\n";

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content, bool executable = false) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return false;
    file.close();
    return !executable || file.setPermissions(file.permissions() | QFile::ExeOwner);
}

// Runs one of the project's scripts; its output goes to the test's log when it fails.
bool runScript(const QString &relativePath, const QStringList &arguments) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("bash"), QStringList{QStringLiteral(KELTO_SOURCE_DIR "/") + relativePath} + arguments);
    const bool ok = script.waitForFinished(120000) && script.exitStatus() == QProcess::NormalExit &&
                    script.exitCode() == 0;
    if (!ok)
        qWarning().noquote() << relativePath << "failed:" << script.readAll();
    return ok;
}

} // namespace

class UpdateRoadTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    QProcess m_server;
    QString m_serverAddress;
    QByteArray m_serverLog;
    QByteArray m_publishedInstaller;

    QString published(const QString &path) const { return m_work.filePath(QStringLiteral("release") + path); }
    // What python's server has logged since the start: one line per request.
    QByteArray serverLog() {
        m_serverLog += m_server.readAllStandardError();
        return m_serverLog;
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
            QSKIP("python3 is not installed");
        QVERIFY(m_work.isValid());
        const QString secretKey = m_work.filePath(QStringLiteral("release.key"));
        const QString publicKey = m_work.filePath(QStringLiteral("release.pub"));
        QVERIFY(runScript(QStringLiteral("tools/release-signing/kelto-sign.sh"), {"keygen", secretKey, publicKey}));
        const QString installer = m_work.filePath(QStringLiteral("test-installer.sh"));
        QVERIFY(writeFile(installer, kInstaller));
        const QString newer = QString::number(appVersionMajor() + 1) + QStringLiteral(".0");
        QVERIFY(runScript(QStringLiteral("tools/release/make-release.sh"),
                          {"--key", secretKey, "--public-key", publicKey, "--installer", installer, "--version", newer,
                           "--out", m_work.filePath(QStringLiteral("release"))}));
        m_publishedInstaller = contentOf(published(kInstallerPath));
        QCOMPARE(m_publishedInstaller, kInstaller);

        // Port 0: the server takes a free port and says which on its first line.
        m_server.start(QStringLiteral("python3"), {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory",
                                                   m_work.filePath(QStringLiteral("release"))});
        QVERIFY(m_server.waitForStarted());
        const QRegularExpression port(QStringLiteral("port (\\d+)"));
        QByteArray greeting;
        QTRY_VERIFY_WITH_TIMEOUT((greeting += m_server.readAllStandardOutput(), port.match(greeting).hasMatch()),
                                 15000);
        m_serverAddress = QStringLiteral("http://127.0.0.1:") + port.match(greeting).captured(1);
        qputenv("KELTO_TEST_UPDATE_SERVER", m_serverAddress.toUtf8());
        qputenv("KELTO_TEST_RELEASE_KEY", publicKey.toUtf8());
    }

    void cleanupTestCase() {
        qunsetenv("KELTO_TEST_UPDATE_SERVER");
        qunsetenv("KELTO_TEST_RELEASE_KEY");
        if (m_server.state() != QProcess::NotRunning) {
            m_server.kill();
            m_server.waitForFinished();
        }
    }

    void checkFindsTheNewerReleaseAndStartsTheUpdater() {
        TempProgramFolder folder;
        QVERIFY(folder.openDatabase());
        // The updater's stand-in notes which update server it was given.
        QVERIFY(writeFile(folder.filePath(QStringLiteral("Keltoupdate")),
                          "#!/bin/sh\ncd \"$(dirname \"$0\")\" && echo \"$KELTO_TEST_UPDATE_SERVER\" > started\n", true));
        FrmUpdate window;
        QCOMPARE(window.versionCheck().versionFile().toString(), m_serverAddress + kVersionPath);
        window.setProgramFolder(folder.path());
        bool ended = false;
        window.setEndProgram([&ended] { ended = true; });
        window.show();
        // No box is expected here ("up to date" would be one); a watcher armed for it would outlive
        // this case, so the boxes are noted only while the click runs.
        const QString boxes = boxTextsShownBy([&window] {
            window.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        });

        QVERIFY2(boxes.isEmpty(), qPrintable(boxes));
        QVERIFY(ended);
        QTRY_COMPARE_WITH_TIMEOUT(contentOf(folder.filePath(QStringLiteral("started"))).trimmed(),
                                  m_serverAddress.toUtf8(), 10000);
        QTRY_VERIFY(serverLog().contains(("\"GET " + kVersionPath + " HTTP/1.1\" 200").toUtf8()));
    }

    void updaterDownloadsVerifiesAndStartsTheInstaller() {
        QTemporaryDir updaterFolder;
        Progress window;
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Text"))->text(), m_serverAddress + kInstallerPath);
        window.setProgramFolder(updaterFolder.path());
        bool ended = false;
        window.setProgramEnd([&ended] { ended = true; });
        window.show();
        SeenBox success;
        answerNextMessageBox(&success);
        window.findChild<QPushButton *>(QStringLiteral("cmdUpdate"))->click();

        QCOMPARE(success.title, QStringLiteral("Success"));
        QVERIFY(ended);
        QCOMPARE(contentOf(updaterFolder.filePath(QStringLiteral("setup-Kelto.exe"))), m_publishedInstaller);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(updaterFolder.filePath(QStringLiteral("installer-ran"))), 10000);
        QTRY_VERIFY(serverLog().contains(("\"GET " + kInstallerPath + ".sig HTTP/1.1\" 200").toUtf8()));
    }

    void tamperedOrUntrustedInstallerIsNeverStarted_data() {
        QTest::addColumn<QByteArray>("appended");
        QTest::addColumn<bool>("testKeyNamed");
        QTest::newRow("installer altered on the server") << QByteArray("echo altered > altered-ran\n") << true;
        // Without the test key the release key built into the updater is the one in force.
        QTest::newRow("signed only by the test key") << QByteArray() << false;
    }

    void tamperedOrUntrustedInstallerIsNeverStarted() {
        QFETCH(QByteArray, appended);
        QFETCH(bool, testKeyNamed);
        const QByteArray testKey = qgetenv("KELTO_TEST_RELEASE_KEY");
        const auto restore = qScopeGuard([this, testKey] {
            qputenv("KELTO_TEST_RELEASE_KEY", testKey);
            writeFile(published(kInstallerPath), m_publishedInstaller);
        });
        if (!testKeyNamed)
            qunsetenv("KELTO_TEST_RELEASE_KEY");
        QVERIFY(writeFile(published(kInstallerPath), m_publishedInstaller + appended));
        QTemporaryDir updaterFolder;
        bool ended = false;
        {
            Progress window;
            window.setProgramFolder(updaterFolder.path());
            window.setProgramEnd([&ended] { ended = true; });
            window.show();
            SeenBox error;
            answerNextMessageBox(&error);
            window.findChild<QPushButton *>(QStringLiteral("cmdUpdate"))->click();
            QCOMPARE(error.title, QStringLiteral("Error"));
            QVERIFY2(error.text.contains(QStringLiteral("signature")), qPrintable(error.text));
        }
        QVERIFY(!ended);
        QVERIFY(!QFile::exists(updaterFolder.filePath(QStringLiteral("setup-Kelto.exe"))));
        QTest::qWait(500);
        QVERIFY(!QFile::exists(updaterFolder.filePath(QStringLiteral("installer-ran"))));
        QVERIFY(!QFile::exists(updaterFolder.filePath(QStringLiteral("altered-ran"))));
    }
};

QTEST_MAIN(UpdateRoadTest)
#include "UpdateRoadTest.moc"
