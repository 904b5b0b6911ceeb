// Downloads one URL into one file with FileDownloader, headless, and prints one line:
//   seconds <s> bytes <n> idle_rss_kib <k> peak_rss_kib <k> result <0|1>
// The peak is measured from the idle point on: the kernel's high-water mark is reset there.
#include "updater/FileDownloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

long statusKib(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: updater_bench_download <url> <destination>\n");
        return 2;
    }
    FileDownloader downloader;
    QApplication::processEvents();
    const long idle = statusKib("VmRSS:");
    resetPeak();

    QElapsedTimer clock;
    clock.start();
    const bool result = downloader.DownloadFile(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    const double seconds = clock.nsecsElapsed() / 1e9;
    const long peak = statusKib("VmHWM:");
    std::printf("seconds %.3f bytes %lld idle_rss_kib %ld peak_rss_kib %ld result %d\n", seconds,
                static_cast<long long>(QFileInfo(QString::fromLocal8Bit(argv[2])).size()), idle, peak, result ? 1 : 0);
    return result ? 0 : 1;
}
