// Renders a PDF in a fresh program and prints one line:
//   first_ms <ms> again_ms <ms> idle_rss_kib <k> peak_rss_kib <k>
// "report" renders the filled result report; "bare" a page with one line of Persian text, the
// least any PDF of ours costs. The first rendering pays for loading the fonts, as a user's first
// print does; "again" is the median of ten more. The peak is measured from the idle program on:
// the kernel's high-water mark is reset there.
#include "../ProcessMemory.h"
#include "scoring/DataRPrint.h"
#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

DataRPrint filledReport() {
    DataRPrint report;
    report.setCaption(QStringLiteral("Label9"), QStringLiteral("کلينيک روانشناسي آرامش"));
    report.setCaption(QStringLiteral("Label5"), QStringLiteral("مريم"));
    report.setCaption(QStringLiteral("Label10"), QStringLiteral("کريمي اصفهاني"));
    report.setCaption(QStringLiteral("Label12"), QStringLiteral("کارشناسي ارشد"));
    report.setCaption(QStringLiteral("Label13"), QStringLiteral("1403/02/15"));
    report.setCaption(QStringLiteral("Label14"), QStringLiteral("تهران خيابان ملاصدرا پلاک ۱۲"));
    const int scoreLabels[] = {29, 30, 31, 32, 33, 34, 35, 43, 44, 45, 46, 47,
                               48, 55, 56, 57, 58, 59, 66, 67, 68, 69, 70};
    for (int label : scoreLabels)
        report.setCaption(QStringLiteral("Label%1").arg(label), QString::number(label % 17 + 2));
    return report;
}

void barePage(const QString &path) {
    QPdfWriter writer(path);
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("B Nazanin"), 12));
    painter.drawText(QPointF(1200, 1200), QStringLiteral("گزارش نتيجه تست سبک هاي دفاعي Kelto"));
}

double millisecondsOf(const std::function<void()> &render) {
    QElapsedTimer clock;
    clock.start();
    render();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpPersianApplication(app);
    const bool bare = argc > 1 && qstrcmp(argv[1], "bare") == 0;
    const QString path = QDir::temp().filePath(QStringLiteral("kelto-report-bench-%1.pdf").arg(app.applicationPid()));
    const DataRPrint report = filledReport();
    const std::function<void()> render = [&] {
        if (bare)
            barePage(path);
        else
            report.exportPdf(path);
    };
    QApplication::processEvents();
    const long idle = ProcessMemory::statusKib("VmRSS:");
    ProcessMemory::resetPeak();

    const double first = millisecondsOf(render);
    QList<double> again;
    for (int i = 0; i < 10; ++i)
        again << millisecondsOf(render);
    std::sort(again.begin(), again.end());
    const long peak = ProcessMemory::statusKib("VmHWM:");
    QFile::remove(path);
    std::printf("first_ms %.1f again_ms %.1f idle_rss_kib %ld peak_rss_kib %ld\n", first, again[again.size() / 2], idle,
                peak);
    return 0;
}
