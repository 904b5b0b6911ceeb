#include "DirectoryOpening.h"

#include "examinees/FrmCode.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QEvent>
#include <QTableView>

namespace {
// Notes the first paint of a widget.
class PaintSeen : public QObject {
public:
    explicit PaintSeen(QWidget *widget) { widget->installEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        seen = seen || event->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

QTableView *gridOf(FrmCode *window) { return window->findChild<QTableView *>(QStringLiteral("DataGrid1")); }

double openDirectory(std::unique_ptr<FrmCode> *window) {
    QElapsedTimer clock;
    clock.start();
    *window = std::make_unique<FrmCode>();
    PaintSeen painted(gridOf(window->get())->viewport());
    (*window)->show();
    while (!painted.seen)
        QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e6;
}

void useAsProgramFolder(const QString &folder, const QString &skins) {
    const QDir from(skins);
    for (const QString &skin : from.entryList({QStringLiteral("*.skn")}, QDir::Files))
        QFile::copy(from.filePath(skin), QDir(folder).filePath(skin));
    QDir::setCurrent(folder);
}
