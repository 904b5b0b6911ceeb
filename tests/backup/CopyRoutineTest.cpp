#include "backup/CopyRoutine.h"
#include "support/EventTurns.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {
// Bytes that differ from piece to piece, so a piece written twice or out of place shows.
QByteArray patterned(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / copyChunkSize) % 251);
    return bytes;
}

} // namespace

class CopyRoutineTest : public QObject {
    Q_OBJECT
private slots:
    void copiesEveryByte_data();
    void copiesEveryByte();
    void failureLeavesDestinationAsItWas_data();
    void failureLeavesDestinationAsItWas();
    void refusesSecondCopyWhileOneRuns();
};

void CopyRoutineTest::copiesEveryByte_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("oldSize"); // -1: no destination yet
    QTest::newRow("empty") << qint64(0) << qint64(-1);
    QTest::newRow("one byte short of a piece") << qint64(4047) << qint64(-1);
    QTest::newRow("one piece") << qint64(4048) << qint64(-1);
    QTest::newRow("one byte over a piece") << qint64(4049) << qint64(-1);
    QTest::newRow("several pieces") << qint64(4048 * 25 + 1000) << qint64(-1);
    QTest::newRow("over a longer old backup") << qint64(4049) << qint64(4048 * 6);
    QTest::newRow("over a shorter old backup") << qint64(4048 * 3) << qint64(10);
    QTest::newRow("empty over an old backup") << qint64(0) << qint64(5000);
}

void CopyRoutineTest::copiesEveryByte() {
    QFETCH(qint64, size);
    QFETCH(qint64, oldSize);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("DBKelto.mdb"));
    const QString destination = dir.filePath(QStringLiteral("copy.mdbB"));
    const QByteArray bytes = patterned(size);
    QVERIFY(writeFile(source, bytes));
    if (oldSize >= 0)
        QVERIFY(writeFile(destination, QByteArray(oldSize, '\xEE')));

    QString error;
    bool copied = false;
    const int turnsDuringCopy = turnsDuring([&]() { copied = copyChunked(source, destination, &error); });
    QVERIFY2(copied, qPrintable(error));

    QCOMPARE(readFile(destination), bytes);
    QVERIFY(error.isEmpty());
    // Waiting events get their turn while there is anything to copy (and, however little there
    // is, whenever the sync or the rename keeps the disk busy).
    if (size > 0)
        QVERIFY(turnsDuringCopy > 0);
    // Nothing is left beside it (no temporary file).
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void CopyRoutineTest::failureLeavesDestinationAsItWas_data() {
    QTest::addColumn<QString>("source");      // "missing", "whole", "cut short"
    QTest::addColumn<QString>("destination"); // "new", "existing", "unwritable folder", "missing folder"
    QTest::addColumn<bool>("sourceNamed");    // the message names the source, else the destination
    QTest::newRow("missing source, new copy") << "missing"
                                              << "new" << true;
    QTest::newRow("missing source, old copy") << "missing"
                                              << "existing" << true;
    QTest::newRow("unwritable folder") << "whole"
                                       << "unwritable folder" << false;
    QTest::newRow("missing folder") << "whole"
                                    << "missing folder" << false;
    QTest::newRow("source cut short, new copy") << "cut short"
                                                << "new" << true;
    QTest::newRow("source cut short, old copy") << "cut short"
                                                << "existing" << true;
}

void CopyRoutineTest::failureLeavesDestinationAsItWas() {
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(bool, sourceNamed);
    QTemporaryDir dir;
    const QString sourcePath = dir.filePath(QStringLiteral("DBKelto.mdb"));
    QString destinationPath = dir.filePath(QStringLiteral("copy.mdbB"));
    const QByteArray old("an older backup, to be kept as it is");
    if (source != QLatin1String("missing"))
        QVERIFY(writeFile(sourcePath, patterned(4048 * 40)));
    if (destination == QLatin1String("existing"))
        QVERIFY(writeFile(destinationPath, old));
    if (destination == QLatin1String("missing folder"))
        destinationPath = dir.filePath(QStringLiteral("gone/copy.mdbB"));
    if (destination == QLatin1String("unwritable folder")) {
        if (geteuid() == 0) {
            destinationPath = QStringLiteral("/proc/kelto-copy.mdbB"); // refused even to root
        } else {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
            QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));
            destinationPath = dir.filePath(QStringLiteral("locked/copy.mdbB"));
        }
    }
    if (source == QLatin1String("cut short")) {
        // Someone cuts the file while the copy gives events their turn after the first piece.
        QTimer::singleShot(0, [sourcePath]() { QVERIFY(QFile::resize(sourcePath, 4048 * 3)); });
    }

    QString error;
    QVERIFY(!copyChunked(sourcePath, destinationPath, &error));
    QVERIFY2(error.startsWith(QDir::toNativeSeparators(sourceNamed ? sourcePath : destinationPath)), qPrintable(error));
    QVERIFY(error.size() > destinationPath.size() + 2); // the system's description follows
    if (destination == QLatin1String("existing"))
        QCOMPARE(readFile(destinationPath), old);
    else
        QVERIFY(!QFile::exists(destinationPath));
    // No temporary file is left behind either.
    const int expectedFiles = int(source != QLatin1String("missing")) + int(destination == QLatin1String("existing"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), expectedFiles);
}

void CopyRoutineTest::refusesSecondCopyWhileOneRuns() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("DBKelto.mdb"));
    const QByteArray bytes = patterned(4048 * 10);
    QVERIFY(writeFile(source, bytes));
    bool secondCopied = true;
    QString secondError;
    QTimer::singleShot(0, [&]() {
        QVERIFY(isCopyRunning());
        secondCopied = copyChunked(source, dir.filePath(QStringLiteral("second.mdbB")), &secondError);
    });
    QVERIFY(copyChunked(source, dir.filePath(QStringLiteral("first.mdbB"))));
    QVERIFY(!secondCopied);
    QVERIFY(!secondError.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("second.mdbB"))));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("first.mdbB"))), bytes);
    QVERIFY(!isCopyRunning());
}

QTEST_MAIN(CopyRoutineTest)
#include "CopyRoutineTest.moc"
