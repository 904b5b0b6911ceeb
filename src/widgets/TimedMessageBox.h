#pragma once

#include <QString>

class QWidget;

// The notice every window uses for short messages and input errors: a box titled "پيام" with
// OK only and no icon, right to left, modal to its owner, that closes itself after the call
// site's delay as if OK were pressed. Returns when the box is closed, by the user or the timer.
namespace TimedMessageBox {
QString title();
void show(QWidget *owner, const QString &text, int delayMs);
} // namespace TimedMessageBox
