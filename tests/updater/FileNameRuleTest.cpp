#include "updater/FileNameRule.h"

#include <QTest>

class FileNameRuleTest : public QObject {
    Q_OBJECT

private slots:
    void localName_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("name");

        const QString host = QStringLiteral("http://update.kelto.example");
        QTest::newRow("the installer") << host + "/Soft/Kelto/setup-Kelto.exe"
                                       << "setup-Kelto.exe";
        QTest::newRow("host only, with a dot") << host << "update.kelto.example";
        QTest::newRow("a port and a deep path") << "http://127.0.0.1:8080/a/b/c/file.bin"
                                                << "file.bin";
        QTest::newRow("dot at the first place") << host + "/.profile"
                                                << ".profile";
        QTest::newRow("query stays in the name") << host + "/setup.exe?x=1"
                                                 << "setup.exe?x=1";
        QTest::newRow("scheme alone") << "http://"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("one character") << "h"
                                       << "";
        QTest::newRow("no dot in the last segment") << host + "/Soft/Kelto/setup"
                                                    << "";
        QTest::newRow("dot only in an earlier segment") << host + "/Soft.d/Kelto"
                                                        << "";
        QTest::newRow("trailing slash") << host + "/Soft/Kelto/"
                                        << "";
        QTest::newRow("dot as the last character") << host + "/Soft/setup."
                                                   << "";
        QTest::newRow("secure http") << "https://update.kelto.example/Soft/Kelto/setup-Kelto.exe"
                                     << "";
        QTest::newRow("scheme in capitals") << "HTTP://update.kelto.example/Soft/Kelto/setup-Kelto.exe"
                                            << "";
        QTest::newRow("scheme partly in capitals") << "Http://update.kelto.example/setup-Kelto.exe"
                                                   << "";
        QTest::newRow("no scheme") << "update.kelto.example/Soft/Kelto/setup-Kelto.exe"
                                   << "";

        // Positions are 16-bit: 32768 characters still work, one more gives nothing.
        const QString tail = QStringLiteral("/setup.exe");
        const QString longest = host + QString(32768 - host.size() - tail.size(), QLatin1Char('a')) + tail;
        QTest::newRow("32768 characters") << longest << "setup.exe";
        QTest::newRow("32769 characters") << QString(longest).insert(host.size(), QLatin1Char('a')) << "";
    }

    void localName() {
        QFETCH(QString, address);
        QFETCH(QString, name);
        QCOMPARE(localFileName(address), name);
    }
};

QTEST_GUILESS_MAIN(FileNameRuleTest)
#include "FileNameRuleTest.moc"
