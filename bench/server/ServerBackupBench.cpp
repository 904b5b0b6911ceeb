// A backup of a register on a PostgreSQL server to a .mdbB file against pg_dump -Fc of the same
// database, in the same run: rounds alternate the two, medians are compared. The register is
// brought to the server by Kelto's own restore from a file of 100,000 examinees (its time is shown
// too, without a goal), and the longest wait an event had during the backup is reported.
#include "../Timing.h"
#include "BigDatabase.h"
#include "support/PostgresServer.h"

#include "backup/DatabaseCopies.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
bool pgDump(const PostgresServer &server, const QString &database, const QString &file) {
    QProcess dump;
    dump.start(QStringLiteral("/usr/lib/postgresql/15/bin/pg_dump"),
               {QStringLiteral("-h"), server.socketFolder(), QStringLiteral("-p"), QString::number(server.port()),
                QStringLiteral("-U"), server.user(), QStringLiteral("-Fc"), QStringLiteral("-f"), file, database});
    return dump.waitForFinished(-1) && dump.exitStatus() == QProcess::NormalExit && dump.exitCode() == 0;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int examinees = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    const int rounds = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 3;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const QString file = folder.filePath(QStringLiteral("register.mdbB"));
    QString error;
    PostgresServer server;
    const EngineSettings::Choice choice = server.choiceFor(QStringLiteral("clinic"));
    if (!buildBigDatabase(file, examinees, &error) || !server.start(&error) ||
        !server.createDatabase(choice.database, &error) || !Database::openServer(choice, &error)) {
        std::fprintf(stderr, "could not make the register: %s\n", qPrintable(error));
        return 1;
    }
    const auto yes = [](const QString &, const QString &, qint64) { return true; };
    const TimedRun restore =
        timedWithGaps([&]() { return DatabaseCopies::restoreOnServer(file, {}, yes).result == DatabaseCopies::Result::Done; });
    server.runSql(choice.database, QStringLiteral("VACUUM ANALYZE"));
    QList<double> dumpTimes, backupTimes, gaps;
    qint64 dumpSize = 0, backupSize = 0;
    for (int round = 0; round < rounds && restore.done; ++round) {
        const QString dumped = folder.filePath(QStringLiteral("dump.pgc"));
        const QString backup = folder.filePath(QStringLiteral("backup.mdbB"));
        const TimedRun dump = timedWithGaps([&]() { return pgDump(server, choice.database, dumped); });
        const TimedRun kelto =
            timedWithGaps([&]() { return DatabaseCopies::backUp(backup).result == DatabaseCopies::Result::Done; });
        if (!dump.done || !kelto.done) {
            std::fprintf(stderr, "%s failed\n", dump.done ? "backup" : "pg_dump");
            return 1;
        }
        dumpTimes << dump.ms;
        backupTimes << kelto.ms;
        gaps << kelto.longestGapMs;
        dumpSize = QFileInfo(dumped).size();
        backupSize = QFileInfo(backup).size();
        QFile::remove(dumped);
        QFile::remove(backup);
    }
    if (!restore.done) {
        std::fprintf(stderr, "restore onto the server failed\n");
        return 1;
    }
    const double ratio = median(backupTimes) / median(dumpTimes);
    std::printf("examinees: %d; %d rounds, medians\n\n", examinees, rounds);
    std::printf("| measure                                        |      value | goal     |\n");
    std::printf("|------------------------------------------------|------------|----------|\n");
    std::printf("| pg_dump -Fc, ms                                | %10.1f | baseline |\n", median(dumpTimes));
    std::printf("| backup to .mdbB, ms                            | %10.1f |          |\n", median(backupTimes));
    std::printf("| time ratio to pg_dump                          | %10.2f | <= 2     |\n", ratio);
    std::printf("| longest gap between events, ms                 | %10.2f |          |\n", median(gaps));
    std::printf("| pg_dump's file, MB                             | %10.1f |          |\n", dumpSize / 1e6);
    std::printf("| .mdbB file, MB                                 | %10.1f |          |\n", backupSize / 1e6);
    std::printf("| restore of the file onto the server (once), ms | %10.1f |          |\n\n", restore.ms);
    std::printf("all rounds, ms:");
    for (int round = 0; round < dumpTimes.size(); ++round)
        std::printf(" pg_dump %.1f, backup %.1f;", dumpTimes.at(round), backupTimes.at(round));
    std::printf("\n");
    Database::close();
    std::printf("goal %s\n", ratio <= 2 ? "met" : "NOT met");
    return ratio <= 2 ? 0 : 2;
}
