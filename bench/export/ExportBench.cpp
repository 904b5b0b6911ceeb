// bench_export build <database> [examinees]: makes the benchmark's database once.
// bench_export export <database> <csv>: opens it as the program does, then writes every examinee
// as CSV through ExamineeExport::write and prints
//   ms <ms> rows <n> idle_rss_kib <k> peak_rss_kib <k>
// The peak is the resident high-water mark from the idle program (database open) on.
#include "../ProcessMemory.h"
#include "BigDatabase.h"
#include "profile/ExamineeExport.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString error;
    if (args.value(1) == QLatin1String("build")) {
        if (QFile::exists(args.value(2)))
            return 0;
        if (buildBigDatabase(args.value(2), args.value(3, QStringLiteral("100000")).toInt(), &error))
            return 0;
    } else if (args.value(1) == QLatin1String("export") && Database::open(args.value(2), &error)) {
        const long idle = ProcessMemory::statusKib("VmRSS:");
        ProcessMemory::resetPeak();
        qint64 rows = 0;
        QElapsedTimer timer;
        timer.start();
        const auto outcome = ExamineeExport::write(
            args.value(3), {},
            [&rows](qint64 written) {
                rows = written;
                return true;
            },
            &error);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (outcome == ExamineeExport::Outcome::Written) {
            std::printf("ms %.1f rows %lld idle_rss_kib %ld peak_rss_kib %ld\n", ms, rows, idle,
                        ProcessMemory::statusKib("VmHWM:"));
            return 0;
        }
    }
    std::fprintf(stderr, "%s\n", qPrintable(error.isEmpty() ? QStringLiteral("usage: bench_export build|export ...")
                                                            : error));
    return 1;
}
