// A backup of a 200 MB database against cp of the same file, in the same run: the backup's time
// and the longest wait an event had during it (a zero-interval timer, fired at every turn the
// copy gives the event loop). Rounds alternate the two; medians are compared.
#include "backup/DatabaseCopies.h"
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

namespace {
double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

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

struct BackupRun {
    double ms = 0;
    double longestGapMs = 0;
    bool done = false;
};

BackupRun backUp(const QString &destination) {
    BackupRun run;
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestGap = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&]() {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTurn);
        lastTurn = now;
    });
    turn.start();
    clock.start();
    run.done = DatabaseCopies::backUp(destination).result == DatabaseCopies::Result::Done;
    const qint64 total = clock.nsecsElapsed();
    run.ms = total / 1e6;
    run.longestGapMs = std::max(longestGap, total - lastTurn) / 1e6;
    return run;
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
    QList<double> cpTimes, backupTimes, gaps;
    for (int round = 0; round < rounds; ++round) {
        const QString cpCopy = folder.filePath(QStringLiteral("cp.mdbB"));
        const QString backupCopy = folder.filePath(QStringLiteral("backup.mdbB"));
        cpTimes << copyWithCp(database, cpCopy);
        const BackupRun run = backUp(backupCopy);
        if (!run.done || QFileInfo(backupCopy).size() != QFileInfo(database).size()) {
            std::fprintf(stderr, "backup failed\n");
            return 1;
        }
        backupTimes << run.ms;
        gaps << run.longestGapMs;
        QFile::remove(cpCopy);
        QFile::remove(backupCopy);
    }
    const double ratio = median(backupTimes) / median(cpTimes);
    std::printf("database file: %.1f MB; %d rounds, medians\n\n", megabytes, rounds);
    std::printf("| measure                          |      value | goal     |\n");
    std::printf("|----------------------------------|------------|----------|\n");
    std::printf("| cp, ms                           | %10.1f | baseline |\n", median(cpTimes));
    std::printf("| backup, ms                       | %10.1f |          |\n", median(backupTimes));
    std::printf("| time ratio to cp                 | %10.2f | <= 2     |\n", ratio);
    std::printf("| longest gap between events, ms   | %10.2f | <= 50    |\n\n", median(gaps));
    std::printf("all rounds: cp");
    for (double t : cpTimes)
        std::printf(" %.1f", t);
    std::printf(" ms; backup");
    for (double t : backupTimes)
        std::printf(" %.1f", t);
    std::printf(" ms; longest gap");
    for (double g : gaps)
        std::printf(" %.2f", g);
    std::printf(" ms\n");
    Database::close();
    const bool met = ratio <= 2 && median(gaps) <= 50;
    std::printf("goals %s\n", met ? "met" : "NOT met");
    return met ? 0 : 2;
}
