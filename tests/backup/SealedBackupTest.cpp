#include "backup/SealedBackup.h"
#include "support/EventTurns.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using SealedBackup::Result;

namespace {
const QString passphrase = QStringLiteral("کليد دفتر ۱۴۰۳");

// Bytes that differ from chunk to chunk, so a chunk written twice or out of place shows.
QByteArray patterned(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / SealedBackup::chunkSize) % 251);
    return bytes;
}

QStringList filesIn(const QString &folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }
} // namespace

class SealedBackupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void opensWhatWasSealed_data();
    void opensWhatWasSealed();
    void refusesWhatItCannotOpenWhole_data();
    void refusesWhatItCannotOpenWhole();

private:
    QTemporaryDir m_dir;
    QByteArray m_plain;  // three chunks and a bit
    QByteArray m_sealed; // m_plain sealed under `passphrase`
};

void SealedBackupTest::initTestCase() {
    m_plain = patterned(SealedBackup::chunkSize * 3 + 1000);
    const QString plainPath = m_dir.filePath(QStringLiteral("plain"));
    const QString sealedPath = m_dir.filePath(QStringLiteral("sealed.mdbS"));
    QVERIFY(writeFile(plainPath, m_plain));
    const SealedBackup::Outcome sealed = SealedBackup::seal(plainPath, sealedPath, passphrase);
    QVERIFY2(sealed.result == Result::Done, qPrintable(sealed.message));
    m_sealed = readFile(sealedPath);
    QVERIFY(m_sealed.size() > m_plain.size());
}

void SealedBackupTest::opensWhatWasSealed_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("sealedWith");
    QTest::addColumn<QString>("openedWith");
    const qint64 chunk = SealedBackup::chunkSize;
    QTest::newRow("empty") << qint64(0) << passphrase << passphrase;
    QTest::newRow("one byte short of a chunk") << chunk - 1 << passphrase << passphrase;
    QTest::newRow("one chunk") << chunk << passphrase << passphrase;
    QTest::newRow("several chunks and a bit") << chunk * 5 + 17 << passphrase << passphrase;
    // The same passphrase typed on another keyboard: Farsi yeh and Arabic kaf, ASCII digits.
    QTest::newRow("other keyboard") << qint64(1000) << passphrase
                                    << QStringLiteral("\u0643\u0644\u06CC\u062F \u062F\u0641\u062A\u0631 1403");
}

void SealedBackupTest::opensWhatWasSealed() {
    QFETCH(qint64, size);
    QFETCH(QString, sealedWith);
    QFETCH(QString, openedWith);
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("DBKelto.mdb"));
    const QString sealed = dir.filePath(QStringLiteral("Back/copy.mdbS"));
    const QString opened = dir.filePath(QStringLiteral("opened"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Back")));
    const QByteArray bytes = patterned(size);
    QVERIFY(writeFile(plain, bytes));
    QVERIFY(writeFile(sealed, "an older backup, to be replaced"));

    SealedBackup::Outcome outcome;
    QVERIFY(turnsDuring([&]() { outcome = SealedBackup::seal(plain, sealed, sealedWith); }) > 0);
    QVERIFY2(outcome.result == Result::Done, qPrintable(outcome.message));
    QVERIFY(turnsDuring([&]() { outcome = SealedBackup::open(sealed, opened, openedWith); }) > 0);
    QVERIFY2(outcome.result == Result::Done, qPrintable(outcome.message));
    QVERIFY(outcome.message.isEmpty());
    QCOMPARE(readFile(opened), bytes);
    // No temporary file beside the sealed backup.
    QCOMPARE(filesIn(dir.filePath(QStringLiteral("Back"))), QStringList{QStringLiteral("copy.mdbS")});
}

void SealedBackupTest::refusesWhatItCannotOpenWhole_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<qint64>("at"); // the byte changed, or the length cut to; from the end when negative
    QTest::addColumn<Result>("result");
    const qint64 header = 156;
    QTest::newRow("wrong passphrase") << "passphrase" << qint64(0) << Result::WrongPassphrase;
    QTest::newRow("byte changed in the magic text") << "flip" << qint64(3) << Result::NotSealed;
    QTest::newRow("byte changed in the limits") << "flip" << qint64(30) << Result::Damaged;
    QTest::newRow("byte changed in the salt") << "flip" << qint64(60) << Result::Damaged;
    QTest::newRow("byte changed in the checksum") << "flip" << header - 1 << Result::Damaged;
    QTest::newRow("byte changed in the first chunk") << "flip" << header + 10 << Result::Damaged;
    QTest::newRow("byte changed in the middle") << "flip" << qint64(SealedBackup::chunkSize * 2) << Result::Damaged;
    QTest::newRow("byte changed in the last chunk") << "flip" << qint64(-1) << Result::Damaged;
    QTest::newRow("byte added at the end") << "append" << qint64(0) << Result::Damaged;
    QTest::newRow("newer format version") << "version" << qint64(0) << Result::NewerVersion;
    QTest::newRow("cut in the magic text") << "cut" << qint64(7) << Result::CutShort;
    QTest::newRow("cut in the header") << "cut" << header - 20 << Result::CutShort;
    QTest::newRow("cut after a whole chunk") << "cut" << header + SealedBackup::chunkSize + 17 << Result::CutShort;
    QTest::newRow("cut in the last chunk") << "cut" << qint64(-1) << Result::CutShort;
    QTest::newRow("plain backup renamed") << "plain" << qint64(0) << Result::NotSealed;
    QTest::newRow("empty file") << "cut" << qint64(0) << Result::NotSealed;
}

void SealedBackupTest::refusesWhatItCannotOpenWhole() {
    QFETCH(QString, change);
    QFETCH(qint64, at);
    QFETCH(Result, result);
    QTemporaryDir dir;
    const QString sealed = dir.filePath(QStringLiteral("copy.mdbS"));
    const QString opened = dir.filePath(QStringLiteral("DBKelto.mdb.opening"));
    QByteArray bytes = m_sealed;
    if (at < 0)
        at += bytes.size();
    if (change == QLatin1String("flip"))
        bytes[at] = char(bytes[at] ^ 0x20);
    else if (change == QLatin1String("append"))
        bytes.append('\0');
    else if (change == QLatin1String("version"))
        bytes[20] = char(2);
    else if (change == QLatin1String("cut"))
        bytes.truncate(at);
    else if (change == QLatin1String("plain"))
        bytes = m_plain;
    QVERIFY(writeFile(sealed, bytes));
    // A leftover of the same name from an earlier try goes too.
    QVERIFY(writeFile(opened, "left over"));

    const QString tried = change == QLatin1String("passphrase") ? QStringLiteral("کليد دفتر ۱۴۰۴") : passphrase;
    const SealedBackup::Outcome outcome = SealedBackup::open(sealed, opened, tried);
    QCOMPARE(outcome.result, result);
    QVERIFY2(outcome.message.startsWith(QDir::toNativeSeparators(sealed) + QStringLiteral(": ")),
             qPrintable(outcome.message));
    QVERIFY(outcome.message.size() > sealed.size() + 10);
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("copy.mdbS")});
    QCOMPARE(readFile(sealed), bytes);
}

QTEST_MAIN(SealedBackupTest)
#include "SealedBackupTest.moc"
