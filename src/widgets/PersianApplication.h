#pragma once

class QApplication;

// The look every window of the program shares: right to left, a Persian font, the report's font
// names mapped to free Persian fonts, Qt's own buttons and dialogs in Persian, and no shortcut
// underline (it breaks the joining of Persian letters), and the keyboard's
// way through every window. Called once, before the first window.
void setUpPersianApplication(QApplication &app);
