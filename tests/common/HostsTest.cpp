#include "common/Hosts.h"

#include <QTest>

// The update server may be replaced for tests by a server on this computer, and by nothing else.
class HostsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { qunsetenv("KELTO_TEST_UPDATE_SERVER"); }

    void testServerOnlyOnThisComputer_data() {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("server");
        const QString vendor = QStringLiteral("http://update.kelto.example");
        QTest::newRow("not set") << QString() << vendor;
        QTest::newRow("loopback address") << "http://127.0.0.1:8123" << "http://127.0.0.1:8123";
        QTest::newRow("localhost") << "http://localhost:8123" << "http://localhost:8123";
        QTest::newRow("IPv6 loopback") << "http://[::1]:8123" << "http://[::1]:8123";
        QTest::newRow("another computer") << "http://192.168.1.5:8000" << vendor;
        QTest::newRow("loopback look-alike") << "http://127.0.0.1.example.org" << vendor;
        QTest::newRow("secure scheme") << "https://127.0.0.1:8000" << vendor;
        QTest::newRow("with a path") << "http://127.0.0.1:8000/elsewhere" << vendor;
        QTest::newRow("with credentials") << "http://user@127.0.0.1:8000" << vendor;
    }

    void testServerOnlyOnThisComputer() {
        QFETCH(QString, variable);
        QFETCH(QString, server);
        if (!variable.isNull())
            qputenv("KELTO_TEST_UPDATE_SERVER", variable.toUtf8());
        QCOMPARE(Hosts::updateServer(), server);
        QCOMPARE(Hosts::installer(), server + "/Soft/Kelto/setup-Kelto.exe");
    }
};

QTEST_MAIN(HostsTest)
#include "HostsTest.moc"
