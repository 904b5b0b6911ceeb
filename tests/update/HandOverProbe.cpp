// A small Kelto stand-in for the hand-over test: an owner window whose closing steps announce
// themselves, a stored settings change, and the update window checking at once against the version
// file named on the command line. The hand-over must end this process before anything is announced.
#include "store/DataSource.h"
#include "store/Database.h"
#include "update/FrmUpdate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

class OwnerWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent *event) override {
        std::puts("closing steps ran");
        QWidget::closeEvent(event);
    }
};

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { std::puts("quit steps ran"); });
    QString error;
    if (!Database::open(Database::relativePath(), &error))
        return 2;
    DataSource settings(QStringLiteral("Theme"));
    settings.setValue(QStringLiteral("TH"), QStringLiteral("5"));
    if (!settings.save())
        return 2;

    OwnerWindow owner;
    owner.show();
    FrmUpdate window(&owner);
    window.versionCheck().setVersionFile(QUrl(QString::fromLocal8Bit(argv[1])));
    window.setProgramFolder(QDir::currentPath());
    QTimer::singleShot(0, &window, [&window] { window.findChild<QPushButton *>(QStringLiteral("Command1"))->click(); });
    window.exec();
    std::puts("returned from the update window");
    return 3;
}
