#pragma once

class QApplication;
class QWidget;
class QString;

// What makes every window of a program usable without the mouse, for the whole program at once:
// Enter presses the focused button as Space does (Enter in a box keeps its own meaning), and every
// control, as it shows, is named for assistive tools by its caption or by the caption of the label
// that names it (the label's buddy). Installed once, before the first window.
namespace KeyboardAccess {
void install(QApplication &app);
// The name a control is known by: its caption, else its label's, else its prompt or tip; without
// the colon and spaces a label's caption is written with.
QString controlName(const QWidget *control);
} // namespace KeyboardAccess
