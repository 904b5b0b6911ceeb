#include "updater/DownloadResponse.h"

#include <QTest>

class DownloadResponseTest : public QObject {
    Q_OBJECT

private slots:
    void status_data() {
        QTest::addColumn<QString>("headerText");
        QTest::addColumn<bool>("proceed");
        QTest::addColumn<QString>("message");

        // Statuses that lead on to the body are checked against a real server elsewhere.
        const QString tail = QStringLiteral("\r\nContent-Length: 5\r\n\r\n");
        QTest::newRow("404") << "HTTP/1.1 404 Not Found" + tail << false
                             << "The file, \"http://h.example/a.exe\" was not found!";
        QTest::newRow("no response") << "" << false << "Cannot establish connection.";
        QTest::newRow("bare line end") << "\r\n" << false << "Cannot establish connection.";
        QTest::newRow("a head without CR")
            << "HTTP/1.1 302 Found" << false << "The server returned the following response:\r\r<nothing>";
    }

    void status() {
        QFETCH(QString, headerText);
        QFETCH(bool, proceed);
        QFETCH(QString, message);
        const StatusVerdict verdict = judgeStatus(headerText, QStringLiteral("http://h.example/a.exe"));
        QCOMPARE(verdict.proceed, proceed);
        QCOMPARE(verdict.message, message);
    }

    void length_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("length");

        QTest::newRow("plain") << "1234" << true << 1234;
        QTest::newRow("missing") << "" << true << 0;
        QTest::newRow("not a number") << "abc" << true << 0;
        QTest::newRow("blanks skipped") << " 1 2" << true << 12;
        QTest::newRow("half rounds to even, down") << "2.5" << true << 2;
        QTest::newRow("half rounds to even, up") << "3.5" << true << 4;
        QTest::newRow("largest 32-bit") << "2147483647" << true << 2147483647;
        QTest::newRow("one more overflows") << "2147483648" << false << 0;
        QTest::newRow("far beyond") << "5000000000" << false << 0;
    }

    void length() {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QFETCH(int, length);
        qint32 value = -1;
        QCOMPARE(announcedLength(text, &value), fits);
        if (fits)
            QCOMPARE(value, length);
    }

    void percent_data() {
        QTest::addColumn<int>("received");
        QTest::addColumn<int>("announced");
        QTest::addColumn<QString>("percent");

        QTest::newRow("1 of 3") << 1 << 3 << "33";
        QTest::newRow("2 of 3") << 2 << 3 << "67";
        QTest::newRow("1 of 8, a half, to even below") << 1 << 8 << "12";
        QTest::newRow("3 of 8, a half, to even above") << 3 << 8 << "38";
        QTest::newRow("5 of 8") << 5 << 8 << "62";
        QTest::newRow("all") << 8 << 8 << "100";
        QTest::newRow("nothing yet") << 0 << 8 << "0";
        QTest::newRow("more than announced") << 12 << 8 << "150";
        QTest::newRow("large counts stay exact") << 2147483647 << 2147483647 << "100";
    }

    void percent() {
        QFETCH(int, received);
        QFETCH(int, announced);
        QFETCH(QString, percent);
        QCOMPARE(progressPercent(received, announced), percent);
    }
};

QTEST_GUILESS_MAIN(DownloadResponseTest)
#include "DownloadResponseTest.moc"
