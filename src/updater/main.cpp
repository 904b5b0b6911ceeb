#include "updater/Progress.h"

#include "common/PersianFonts.h"
#include "widgets/KeyboardAccess.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The updater works in its own folder: the installer is saved and started there.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QApplication::setLayoutDirection(Qt::RightToLeft);
    // The same Persian and Latin families as Kelto's, not whatever the system's default font is.
    usePersianApplicationFont();
    KeyboardAccess::install(app);

    Progress window;
    window.show();
    return app.exec();
}
