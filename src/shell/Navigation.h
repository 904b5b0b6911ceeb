#pragma once

#include <functional>

class QWidget;

// The one point through which lower windows bring the main window back (loaded anew), so that
// none of them depends on the main window's class.
namespace Navigation {
using MainWindowFactory = std::function<QWidget *()>;
void setMainWindowFactory(MainWindowFactory factory);
// Loads a fresh main window, shows it (not modal) and returns it; null when no factory is set.
QWidget *showMainWindow();
} // namespace Navigation
