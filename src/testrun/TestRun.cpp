#include "testrun/TestRun.h"

#include "widgets/InputBox.h"
#include "widgets/Notices.h"
#include "testrun/FrmTest.h"

#include <QPointer>

namespace {
QPointer<FrmTest> &loadedWindow() {
    static QPointer<FrmTest> window;
    return window;
}
} // namespace

namespace TestRun {
FrmTest *window() { return loadedWindow(); }

void open(QWidget *mainWindow) {
    QPointer<FrmTest> &window = loadedWindow();
    if (!window)
        window = new FrmTest;
    window->rereadSources();

    const QString code = InputBox::ask(mainWindow, QStringLiteral("Enter Code "), QStringLiteral(" Plese Insert Code "));
    if (code.isEmpty()) {
        showNotice(mainWindow, Notices::examineeCodeMissing);
        return;
    }
    if (!window->selectExaminee(code)) {
        showNotice(mainWindow, Notices::examineeNotFound);
        return;
    }
    window->exec();

    // Closed, by "ذخيره و خروج" or the close box: loaded anew for the next run, and kept hidden.
    delete window;
    window = new FrmTest;
    window->prepareForNextRun();
}
} // namespace TestRun
