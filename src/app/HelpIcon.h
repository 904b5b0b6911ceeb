#pragma once

#include <QIcon>

// The help button's icon: a blue ball with a white question mark, drawn here (no picture file, so
// nothing extra is loaded while the main window starts).
namespace HelpIcon {
QIcon make();
} // namespace HelpIcon
