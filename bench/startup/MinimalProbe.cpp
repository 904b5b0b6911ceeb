// The baseline: the smallest Qt widgets program with one window of the main window's size.
#include "ShownProbe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kelto-40"));
    window.resize(720, 531);
    QLabel label(QStringLiteral("Kelto 2.1"), &window);
    label.move(3, 63);
    new ShownProbe(&window);
    window.show();
    return app.exec();
}
