#include "update/VersionCheck.h"

#include "support/LoopbackHttpServer.h"

#include <QTest>

class VersionCheckTest : public QObject {
    Q_OBJECT
private slots:
    void comparesAsDecimalFractions_data();
    void comparesAsDecimalFractions();
    void fetchGivesTheBodyAsText_data();
    void fetchGivesTheBodyAsText();
};

void VersionCheckTest::comparesAsDecimalFractions_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("running");
    QTest::addColumn<bool>("newer");
    // Both sides are read the same way, as decimal fractions.
    QTest::newRow("greater minor") << QStringLiteral("2.2") << QStringLiteral("2.1") << true;
    QTest::newRow("server minor 10 reads as 1") << QStringLiteral("2.10") << QStringLiteral("2.1") << false;
    QTest::newRow("running minor 10 is below 2.2") << QStringLiteral("2.2") << QStringLiteral("2.10") << true;
    QTest::newRow("running minor 10 equals 2.1") << QStringLiteral("2.1") << QStringLiteral("2.10") << false;
}

void VersionCheckTest::comparesAsDecimalFractions() {
    QFETCH(QString, server);
    QFETCH(QString, running);
    QFETCH(bool, newer);
    QCOMPARE(isNewerVersion(server, running), newer);
}

void VersionCheckTest::fetchGivesTheBodyAsText_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("blank and line end kept") << QByteArray(" 2.2\r\n") << " 2.2\r\n";
    QTest::newRow("further lines kept") << QByteArray("2.3\r\nnotes\r\n") << "2.3\r\nnotes\r\n";
    QTest::newRow("byte-order mark dropped") << QByteArray("\xEF\xBB\xBF"
                                                           "2.2")
                                             << "2.2";
}

void VersionCheckTest::fetchGivesTheBodyAsText() {
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    LoopbackHttpServer server;
    server.setResponse(QStringLiteral("/Soft/Kelto/LastVersion.txt"), HttpResponse::withBody(body));
    VersionCheck check(QUrl(server.url(QStringLiteral("/Soft/Kelto/LastVersion.txt"))));
    QCOMPARE(check.fetchVersionText(), text);
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests().first().method, QByteArray("GET"));
}

QTEST_MAIN(VersionCheckTest)
#include "VersionCheckTest.moc"
