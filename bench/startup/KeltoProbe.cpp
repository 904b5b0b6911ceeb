// Kelto's own start, from the first line of main until the main window has painted itself.
#include "ShownProbe.h"

#include "app/KeltoStart.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    KeltoStart start(QString::fromLocal8Bit(argv[1]));
    if (start.run(app) != KeltoStart::Outcome::MainWindowShown)
        return 1;
    new ShownProbe(start.mainWindow());
    return app.exec();
}
