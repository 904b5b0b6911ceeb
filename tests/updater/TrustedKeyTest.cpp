#include "updater/InstallerSignature.h"
#include "updater/ReleaseKey.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Installers are checked against the release key, unless a test runs its own update server on
// this computer and names a key of its own.
class TrustedKeyTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        qunsetenv("KELTO_TEST_UPDATE_SERVER");
        qunsetenv("KELTO_TEST_RELEASE_KEY");
    }

    void testKeyOnlyWithTestServer_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("keyFile"); // "test": a 32-byte key file; "missing": a path with no file
        QTest::addColumn<QString>("trusted"); // "release", "test" or "none"
        QTest::newRow("nothing set") << "" << "" << "release";
        QTest::newRow("key without a server") << "" << "test" << "release";
        QTest::newRow("key with a remote server") << "http://203.0.113.7" << "test" << "release";
        QTest::newRow("server without a key") << "http://127.0.0.1:9000" << "" << "release";
        QTest::newRow("key with a local server") << "http://127.0.0.1:9000" << "test" << "test";
        QTest::newRow("missing key file") << "http://127.0.0.1:9000" << "missing" << "none";
    }

    void testKeyOnlyWithTestServer() {
        QFETCH(QString, server);
        QFETCH(QString, keyFile);
        QFETCH(QString, trusted);
        QTemporaryDir folder;
        const QByteArray testKey(32, '\x5a');
        QFile file(folder.filePath(QStringLiteral("test.pub")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(testKey);
        file.close();
        if (!server.isEmpty())
            qputenv("KELTO_TEST_UPDATE_SERVER", server.toUtf8());
        if (!keyFile.isEmpty())
            qputenv("KELTO_TEST_RELEASE_KEY", folder.filePath(keyFile + ".pub").toUtf8());

        const QByteArray expected = trusted == "release" ? releasePublicKey() : trusted == "test" ? testKey : QByteArray();
        QCOMPARE(InstallerSignature::trustedKey(), expected);
    }
};

QTEST_MAIN(TrustedKeyTest)
#include "TrustedKeyTest.moc"
