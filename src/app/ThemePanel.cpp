#include "app/ThemePanel.h"

#include "app/PanelControls.h"

#include <QFrame>

namespace {
struct ThemeButton {
    const char *name;
    const char *caption;
    int top;
    int themeNumber;
};

// The theme panel's column: each button 2145 x 555 twips at left 240, from top 240 in steps of 600.
// The captions keep their spaces: theme 1 and 5 lead with one, theme 10 ends with one.
const ThemeButton themeButtons[] = {
    {"Command45", " تم شماره 1", 240, 1},   {"Command44", "تم شماره 2", 840, 2},
    {"Command43", "تم شماره 3", 1440, 3},   {"Command42", "تم شماره 4", 2040, 4},
    {"Command50", " تم شماره 5", 2640, 5},  {"Command49", "تم شماره 6", 3240, 6},
    {"Command48", "تم شماره 7", 3840, 7},   {"Command47", "تم شماره 8", 4440, 8},
    {"Command41", "تم شماره 9", 5040, 9},   {"Command52", "تم شماره 10 ", 5640, 10},
    {"Command53", "تم شماره 11", 6240, 11},
};
} // namespace

ThemePanel::ThemePanel(QFrame *frame) : QObject(frame) {
    for (const ThemeButton &theme : themeButtons) {
        QPushButton *button = addButton(frame, theme.name, QString::fromUtf8(theme.caption), 240, theme.top, 2145, 555);
        const int number = theme.themeNumber;
        connect(button, &QPushButton::clicked, this, [this, number]() { emit themeChosen(number); });
    }
    Command46 = addButton(frame, "Command46", QStringLiteral("خروج"), 720, 6900, 1185, 435);
    connect(Command46, &QPushButton::clicked, frame, &QWidget::hide);
}
