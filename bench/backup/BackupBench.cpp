// A backup of a 200 MB database against cp of the same file, in the same run: the backup's time
// and the longest wait an event had during it (a zero-interval timer, fired at every turn the
// copy gives the event loop). Rounds alternate the two; medians are compared. The same for a
// sealed backup and a restore from it, and the key derivation on its own (sealing an empty file).
#include "../Timing.h"

#include "backup/DatabaseCopies.h"
#include "backup/SealedBackup.h"
#include "store/Database.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
// Examinee rows with long texts until the file holds about `megabytes` MB.
bool fillDatabase(int megabytes) {
    Transaction fill;
    QSqlQuery query(Database::connection());
    query.prepare(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\") VALUES (?, ?)"));
    const QString text(100 * 1000, QLatin1Char('x'));
    for (int row = 0; row < megabytes * 5; ++row) {
        query.addBindValue(QString::number(row));
        query.addBindValue(text + QString::number(row));
        if (!query.exec())
            return false;
    }
    return fill.commit();
}

double copyWithCp(const QString &source, const QString &destination) {
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("cp"), {source, destination});
    return clock.nsecsElapsed() / 1e6;
}

// cp, and then the copy synced to the disk (coreutils' sync of one file), as a backup is before it
// takes its name: the same work but for the check and the sealing.
double copyWithCpAndSync(const QString &source, const QString &destination) {
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("cp"), {source, destination});
    QProcess::execute(QStringLiteral("sync"), {destination});
    return clock.nsecsElapsed() / 1e6;
}

TimedRun timed(const std::function<DatabaseCopies::Outcome()> &copy) {
    return timedWithGaps([&copy]() { return copy().result == DatabaseCopies::Result::Done; });
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 5;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    QString error;
    if (!Database::open(Database::relativePath(), &error) || !fillDatabase(200)) {
        std::fprintf(stderr, "could not make the database: %s\n", qPrintable(error));
        return 1;
    }
    const QString database = QFileInfo(Database::relativePath()).absoluteFilePath();
    const double megabytes = QFileInfo(database).size() / 1e6;
    const QString passphrase = QStringLiteral("a passphrase of the clinic");
    const QString empty = folder.filePath(QStringLiteral("empty"));
    QFile(empty).open(QIODevice::WriteOnly);
    QList<double> cpTimes, backupTimes, gaps, sealTimes, sealGaps, openTimes, openGaps, keyTimes, openingTimes,
        openingGaps, restoreTimes, provenSealTimes, cpSyncTimes;
    for (int round = 0; round < rounds; ++round) {
        const QString cpCopy = folder.filePath(QStringLiteral("cp.mdbB"));
        const QString backupCopy = folder.filePath(QStringLiteral("backup.mdbB"));
        const QString sealedCopy = folder.filePath(QStringLiteral("sealed.mdbS"));
        cpTimes << copyWithCp(database, cpCopy);
        QFile::remove(cpCopy);
        cpSyncTimes << copyWithCpAndSync(database, cpCopy);
        const TimedRun run = timed([&]() { return DatabaseCopies::backUp(backupCopy); });
        if (!run.done || QFileInfo(backupCopy).size() != QFileInfo(database).size()) {
            std::fprintf(stderr, "backup failed\n");
            return 1;
        }
        backupTimes << run.ms;
        gaps << run.longestGapMs;
        // The plain restore, for the share of the restore that does not depend on sealing.
        const TimedRun restore = timed([&]() { return DatabaseCopies::restore(backupCopy); });
        if (!restore.done || !Database::open(Database::relativePath(), &error)) {
            std::fprintf(stderr, "restore failed: %s\n", qPrintable(error));
            return 1;
        }
        restoreTimes << restore.ms;
        const TimedRun seal = timed([&]() { return DatabaseCopies::backUpSealed(sealedCopy, passphrase); });
        // As when the check after start has proven the opened file whole: the usual case.
        Database::noteProvenWhole(Database::opening());
        const TimedRun provenSeal = timed([&]() { return DatabaseCopies::backUpSealed(sealedCopy, passphrase); });
        provenSealTimes << provenSeal.ms;
        const TimedRun key = timed([&]() {
            const bool sealed =
                SealedBackup::seal(empty, folder.filePath(QStringLiteral("empty.mdbS")), passphrase).result ==
                SealedBackup::Result::Done;
            return DatabaseCopies::Outcome{sealed ? DatabaseCopies::Result::Done : DatabaseCopies::Result::CopyFailed};
        });
        const TimedRun opening = timed([&]() {
            const bool opened =
                SealedBackup::open(sealedCopy, folder.filePath(QStringLiteral("opened")), passphrase).result ==
                SealedBackup::Result::Done;
            return DatabaseCopies::Outcome{opened ? DatabaseCopies::Result::Done : DatabaseCopies::Result::CopyFailed};
        });
        const TimedRun open = timed([&]() { return DatabaseCopies::restoreSealed(sealedCopy, passphrase); });
        if (!seal.done || !provenSeal.done || !key.done || !opening.done || !open.done ||
            !Database::open(Database::relativePath(), &error) || QFile(database).size() != QFile(backupCopy).size()) {
            std::fprintf(stderr, "sealed backup or restore failed: %s\n", qPrintable(error));
            return 1;
        }
        sealTimes << seal.ms;
        sealGaps << seal.longestGapMs;
        openTimes << open.ms;
        openGaps << open.longestGapMs;
        keyTimes << key.ms;
        openingTimes << opening.ms;
        openingGaps << opening.longestGapMs;
        QFile::remove(folder.filePath(QStringLiteral("opened")));
        QFile::remove(cpCopy);
        QFile::remove(backupCopy);
        QFile::remove(sealedCopy);
    }
    const double cp = median(cpTimes);
    const double ratio = median(backupTimes) / cp;
    const double sealRatio = median(sealTimes) / cp;
    const double openRatio = median(openTimes) / cp;
    const double key = median(keyTimes);
    std::printf("database file: %.1f MB; %d rounds, medians\n\n", megabytes, rounds);
    std::printf("| measure                                   |      value | goal     |\n");
    std::printf("|-------------------------------------------|------------|----------|\n");
    std::printf("| cp, ms                                    | %10.1f | baseline |\n", cp);
    std::printf("| cp and sync of the copy, ms               | %10.1f |          |\n", median(cpSyncTimes));
    std::printf("| backup, ms                                | %10.1f |          |\n", median(backupTimes));
    std::printf("| time ratio to cp                          | %10.2f | <= 2     |\n", ratio);
    std::printf("| longest gap between events, ms            | %10.2f | <= 50    |\n", median(gaps));
    std::printf("| key derivation alone (Argon2id), ms       | %10.1f |          |\n", key);
    std::printf("| sealed backup, ms                         | %10.1f |          |\n", median(sealTimes));
    std::printf("| sealed backup, ratio to cp                | %10.2f | <= 3     |\n", sealRatio);
    std::printf("| sealed backup without the key, ratio      | %10.2f |          |\n", (median(sealTimes) - key) / cp);
    std::printf("| sealed backup, longest gap, ms            | %10.2f | <= 50    |\n", median(sealGaps));
    std::printf("| sealed backup, proven file, ratio to cp   | %10.2f |          |\n", median(provenSealTimes) / cp);
    std::printf("| the same, ratio to cp and sync            | %10.2f |          |\n",
                median(provenSealTimes) / median(cpSyncTimes));
    std::printf("| opening alone (decrypting), ms            | %10.1f |          |\n", median(openingTimes));
    std::printf("| opening alone, ratio to cp                | %10.2f | <= 3     |\n", median(openingTimes) / cp);
    std::printf("| opening alone, longest gap, ms            | %10.2f | <= 50    |\n", median(openingGaps));
    std::printf("| sealed restore (opening, check, copy), ms | %10.1f |          |\n", median(openTimes));
    std::printf("| sealed restore, ratio to cp               | %10.2f | <= 3     |\n", openRatio);
    std::printf("| sealed restore without the key, ratio     | %10.2f |          |\n", (median(openTimes) - key) / cp);
    std::printf("| sealed restore, longest gap, ms           | %10.2f | <= 50    |\n", median(openGaps));
    std::printf("| plain restore (check, copy), ratio to cp  | %10.2f |          |\n", median(restoreTimes) / cp);
    std::printf("| sealed restore beyond a plain one, ratio  | %10.2f |          |\n\n",
                (median(openTimes) - median(restoreTimes)) / cp);
    const auto list = [](const char *name, const QList<double> &values) {
        std::printf("%s", name);
        for (double v : values)
            std::printf(" %.1f", v);
    };
    std::printf("all rounds, ms:");
    list(" cp", cpTimes);
    list("; cp and sync", cpSyncTimes);
    list("; backup", backupTimes);
    list("; longest gap", gaps);
    list("; key", keyTimes);
    list("; sealed backup", sealTimes);
    list("; its longest gap", sealGaps);
    list("; opening", openingTimes);
    list("; its longest gap", openingGaps);
    list("; sealed restore", openTimes);
    list("; its longest gap", openGaps);
    list("; plain restore", restoreTimes);
    list("; sealed backup of a proven file", provenSealTimes);
    std::printf("\n");
    Database::close();
    const bool plainMet = ratio <= 2 && median(gaps) <= 50;
    const bool sealedMet = sealRatio <= 3 && openRatio <= 3 && median(sealGaps) <= 50 && median(openGaps) <= 50 &&
                           median(openingTimes) / cp <= 3 && median(openingGaps) <= 50;
    std::printf("plain goals %s; sealed goals %s\n", plainMet ? "met" : "NOT met", sealedMet ? "met" : "NOT met");
    return plainMet && sealedMet ? 0 : 2;
}
