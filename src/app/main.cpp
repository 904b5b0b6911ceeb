#include "app/KeltoStart.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    KeltoStart start(QCoreApplication::applicationDirPath());
    const KeltoStart::Outcome outcome = start.run(app);
    if (outcome != KeltoStart::Outcome::MainWindowShown)
        return KeltoStart::exitCode(outcome);
    return app.exec();
}
