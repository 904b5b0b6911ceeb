#pragma once

#include <QObject>

class QFrame;
class QPushButton;

// The main window's theme panel: a column of eleven theme buttons and its exit, which hides the
// panel alone.
class ThemePanel : public QObject {
    Q_OBJECT
public:
    // Makes the buttons on the panel's frame.
    explicit ThemePanel(QFrame *frame);

signals:
    // A theme button was pressed: its theme's number, 1 to 11.
    void themeChosen(int themeNumber);

private:
    QPushButton *Command46 = nullptr; // exit
};
