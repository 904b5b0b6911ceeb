// Downloads one URL into one file with FileDownloader, headless, and prints one line:
//   seconds <s> bytes <n> idle_rss_kib <k> peak_rss_kib <k> result <0|1>
// The peak is measured from the idle point on: the kernel's high-water mark is reset there.
#include "../ProcessMemory.h"
#include "updater/FileDownloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: updater_bench_download <url> <destination>\n");
        return 2;
    }
    FileDownloader downloader;
    QApplication::processEvents();
    const long idle = ProcessMemory::statusKib("VmRSS:");
    ProcessMemory::resetPeak();

    QElapsedTimer clock;
    clock.start();
    const bool result = downloader.DownloadFile(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    const double seconds = clock.nsecsElapsed() / 1e9;
    const long peak = ProcessMemory::statusKib("VmHWM:");
    std::printf("seconds %.3f bytes %lld idle_rss_kib %ld peak_rss_kib %ld result %d\n", seconds,
                static_cast<long long>(QFileInfo(QString::fromLocal8Bit(argv[2])).size()), idle, peak, result ? 1 : 0);
    return result ? 0 : 1;
}
