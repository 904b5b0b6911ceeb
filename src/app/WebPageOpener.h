#pragma once

#include <QUrl>

#include <functional>

// Opens a web address with the system's default action (the default browser). The action can be
// replaced, so that a test sees the addresses instead of a browser starting.
namespace WebPageOpener {
using Action = std::function<bool(const QUrl &)>;
bool open(const QUrl &address);
// Installs another action and returns the one it replaces; an empty action restores the default.
Action replaceAction(Action action);
} // namespace WebPageOpener
