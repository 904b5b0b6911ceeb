#include "updater/Progress.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The updater works in its own folder: the installer is saved and started there.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QApplication::setLayoutDirection(Qt::RightToLeft);

    Progress window;
    window.show();
    return app.exec();
}
