#include "store/DataSource.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QProcess>
#include <QTest>

// The real hand-over, in a process of its own: the updater is started from the program's folder and
// the program ends at once, without any window's closing steps and without losing stored data.
class HandOverTest : public QObject {
    Q_OBJECT
private slots:
    void newerVersionEndsTheProgramAfterStartingTheUpdater();
};

void HandOverTest::newerVersionEndsTheProgramAfterStartingTheUpdater() {
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    QFile script(folder.filePath(QStringLiteral("Keltoupdate")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\ncd \"$(dirname \"$0\")\" && echo $# > started.part && mv started.part started\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
    LoopbackHttpServer server;
    server.setResponse(QStringLiteral("/Soft/Kelto/LastVersion.txt"), HttpResponse::withBody("2.2\r\n"));

    QProcess kelto;
    kelto.setWorkingDirectory(folder.path());
    kelto.start(QStringLiteral(HAND_OVER_PROBE), {server.url(QStringLiteral("/Soft/Kelto/LastVersion.txt"))});
    // The server lives in this process: keep its events running while the probe waits for it.
    QTRY_VERIFY_WITH_TIMEOUT(kelto.state() == QProcess::NotRunning, 20000);

    QCOMPARE(kelto.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kelto.exitCode(), 0);
    QCOMPARE(kelto.readAllStandardOutput(), QByteArray());
    QCOMPARE(server.requests().size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("started"))), 5000);

    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("DBKelto/DBKelto.mdb-journal"))));
    QVERIFY(folder.openDatabase());
    QCOMPARE(DataSource(QStringLiteral("Theme")).value(QStringLiteral("TH")), QStringLiteral("5"));
}

QTEST_MAIN(HandOverTest)
#include "HandOverTest.moc"
