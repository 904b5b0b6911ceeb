#include "widgets/Navigation.h"

#include <QCoreApplication>
#include <QWidget>

namespace {
Navigation::MainWindowFactory &factory() {
    static Navigation::MainWindowFactory instance;
    return instance;
}
} // namespace

void Navigation::setMainWindowFactory(MainWindowFactory newFactory) { factory() = std::move(newFactory); }

QWidget *Navigation::showMainWindow() {
    if (!factory())
        return nullptr;
    QWidget *window = factory()();
    if (window)
        window->show();
    return window;
}

void Navigation::endProgram() { QCoreApplication::exit(0); }
