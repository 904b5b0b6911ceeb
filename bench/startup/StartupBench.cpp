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
        std::printf("Database of %d examinees built in %.1f s.\n\n", examinees, clock.elapsed() / 1000.0);
    return built;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 5) {
        std::fprintf(stderr, "usage: startup_bench KELTO_PROBE MINIMAL_PROBE PROGRAM_FOLDER SKIN_FOLDER [RUNS] "
                             "[EXAMINEES]\n");
        return 2;
    }
    const QString keltoProbe = arguments[1];
    const QString minimalProbe = arguments[2];
    const QString folder = QDir(arguments[3]).absolutePath();
    const int runs = arguments.value(5, QStringLiteral("30")).toInt();
    const int examinees = arguments.value(6, QStringLiteral("100000")).toInt();
    if (!prepareFolder(folder, arguments[4], examinees))
        return 1;

    QList<double> keltoTimes, minimalTimes;
    QList<long> keltoPeaks, minimalPeaks;
    Sample sample;
    // One unmeasured run of each, so that both start from a warm file cache.
    if (!runOnce(keltoProbe, {folder}, &sample) || !runOnce(minimalProbe, {}, &sample)) {
        std::fprintf(stderr, "a probe did not show its window\n");
        return 1;
    }
    for (int run = 0; run < runs; ++run) {
        // Alternating, so that a busy moment of the machine falls on both alike.
        if (!runOnce(keltoProbe, {folder}, &sample))
            return 1;
        keltoTimes << sample.milliseconds;
        keltoPeaks << sample.peakKiB;
        if (!runOnce(minimalProbe, {}, &sample))
            return 1;
        minimalTimes << sample.milliseconds;
        minimalPeaks << sample.peakKiB;
    }

    const double keltoTime = median(keltoTimes), minimalTime = median(minimalTimes);
    const long keltoPeak = median(keltoPeaks), minimalPeak = median(minimalPeaks);
    const double ratio = keltoTime / minimalTime;
    const double extraMiB = (keltoPeak - minimalPeak) / 1024.0;
    std::printf("%d runs each, alternating; medians\n\n", runs);
    std::printf("| program | start to window shown (ms) | peak memory VmHWM (KiB) |\n");
    std::printf("|---|---|---|\n");
    std::printf("| minimal Qt widgets window | %.1f | %ld |\n", minimalTime, minimalPeak);
    std::printf("| Kelto (%d examinees) | %.1f | %ld |\n", examinees, keltoTime, keltoPeak);
    std::printf("| Kelto / minimal | %.2f x | +%.1f MiB |\n\n", ratio, extraMiB);
    const bool timeMet = ratio <= 1.5, memoryMet = extraMiB <= 30;
    std::printf("Goals: time at most 1.5 x the minimal window: %s; at most 30 MiB more peak memory: %s\n",
                timeMet ? "met" : "NOT met", memoryMet ? "met" : "NOT met");
    return 0;
}
