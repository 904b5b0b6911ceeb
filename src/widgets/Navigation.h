#pragma once

#include <functional>

class QWidget;

// The one point through which lower windows bring the main window back (loaded anew), so that
// none of them depends on the main window's class, and through which the program ends.
namespace Navigation {
using MainWindowFactory = std::function<QWidget *()>;
void setMainWindowFactory(MainWindowFactory factory);
// Loads a fresh main window, shows it (not modal) and returns it; null when no factory is set.
QWidget *showMainWindow();
// Ends the program at once: the main event loop returns and no window's closing steps run.
void endProgram();
} // namespace Navigation
