// Runs both probes many times as real processes, alternating, and prints the medians of the time
// from starting the process until its window has painted, and of the peak memory.
#include "BigDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {
struct Sample {
    double milliseconds = 0;
    long peakKiB = 0;
};

bool runOnce(const QString &program, const QStringList &arguments, Sample *sample) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    QByteArray said;
    while (!said.contains('\n') && process.waitForReadyRead(60000))
        said += process.readAllStandardOutput();
    sample->milliseconds = clock.nsecsElapsed() / 1e6;
    process.waitForFinished(60000);
    const QList<QByteArray> words = said.trimmed().split(' ');
    if (words.size() != 2 || words[0] != "shown")
        return false;
    sample->peakKiB = words[1].toLong();
    return true;
}

template <class T> T median(QList<T> values) {
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The program folder: the skin files beside the probe and a database of the given size.
bool prepareFolder(const QString &folder, const QString &skinSource, int examinees) {
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    for (const QString &skin : QDir(skinSource).entryList({QStringLiteral("*.skn")}, QDir::Files))
        QFile::copy(QDir(skinSource).filePath(skin), dir.filePath(skin));
    if (dir.exists(QStringLiteral("DBKelto/DBKelto.mdb")))
        return true;
    QString error;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    QElapsedTimer clock;
    clock.start();
    const bool built = buildBigDatabase(QStringLiteral("DBKelto/DBKelto.mdb"), examinees, &error);
    QDir::setCurrent(previous);
    if (!built)
        std::fprintf(stderr, "database not built: %s\n", qPrintable(error));
    else
        std::printf("Database with %d examinees made in %.1f s.\n", examinees, clock.elapsed() / 1000.0);
    return built;
}
} // namespace

struct Series {
    QString name;
    QString program;
    QStringList arguments;
    QList<double> times;
    QList<long> peaks;
};

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 5) {
        std::fprintf(stderr, "usage: startup_bench KELTO_PROBE MINIMAL_PROBE WORK_FOLDER SKIN_FOLDER [RUNS] "
                             "[EXAMINEES]\n");
        return 2;
    }
    const QString work = QDir(arguments[3]).absolutePath();
    const int runs = arguments.value(5, QStringLiteral("30")).toInt();
    const int examinees = arguments.value(6, QStringLiteral("100000")).toInt();
    // Kelto on the big database, and on a new one, which shows what the size of the file costs.
    const QString bigFolder = work + QStringLiteral("/big/Kelto");
    const QString newFolder = work + QStringLiteral("/new/Kelto");
    if (!prepareFolder(bigFolder, arguments[4], examinees) || !prepareFolder(newFolder, arguments[4], 0))
        return 1;

    QList<Series> series{
        {QStringLiteral("minimal Qt widgets window"), arguments[2], {}, {}, {}},
        {QStringLiteral("Kelto, %1 examinees").arg(examinees), arguments[1], {bigFolder}, {}, {}},
        {QStringLiteral("Kelto, new database"), arguments[1], {newFolder}, {}, {}},
    };
    Sample sample;
    // One unmeasured run of each, so that all start from a warm file cache.
    for (const Series &one : series) {
        if (!runOnce(one.program, one.arguments, &sample)) {
            std::fprintf(stderr, "%s did not show its window\n", qPrintable(one.name));
            return 1;
        }
    }
    // Taking turns, so that a busy moment of the machine falls on all alike.
    for (int run = 0; run < runs; ++run) {
        for (Series &one : series) {
            if (!runOnce(one.program, one.arguments, &sample))
                return 1;
            one.times << sample.milliseconds;
            one.peaks << sample.peakKiB;
        }
    }

    const double baseTime = median(series[0].times);
    const long basePeak = median(series[0].peaks);
    std::printf("\n%d runs each, taking turns; medians\n\n", runs);
    std::printf("| program | start to window shown (ms) | ratio | peak memory VmHWM (KiB) | over minimal (MiB) |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const Series &one : series) {
        const double time = median(one.times);
        const long peak = median(one.peaks);
        std::printf("| %s | %.1f | %.2f | %ld | %+.1f |\n", qPrintable(one.name), time, time / baseTime, peak,
                    (peak - basePeak) / 1024.0);
    }
    const double ratio = median(series[1].times) / baseTime;
    const double extraMiB = (median(series[1].peaks) - basePeak) / 1024.0;
    std::printf("\nGoals for Kelto on %d examinees: time at most 1.5 x the minimal window: %s (%.2f x); "
                "at most 30 MiB more peak memory: %s (%+.1f MiB)\n",
                examinees, ratio <= 1.5 ? "met" : "NOT met", ratio, extraMiB <= 30 ? "met" : "NOT met", extraMiB);
    return 0;
}
