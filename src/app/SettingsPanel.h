#pragma once

#include <QObject>

class QFrame;
class QPushButton;

// The main window's settings panel: the buttons that open the theme panel, the clinic panel and the
// database panel, and its exit, which closes the main window's panels.
class SettingsPanel : public QObject {
    Q_OBJECT
public:
    // Makes the buttons on the panel's frame.
    explicit SettingsPanel(QFrame *frame);

signals:
    void themeRequested();
    void clinicRequested();
    void databaseRequested();
    void closeRequested();

private:
    QPushButton *Command68 = nullptr;   // change the theme
    QPushButton *Command67 = nullptr;   // the clinic's name
    QPushButton *CmdDatabase = nullptr; // the engine and server
    QPushButton *Command69 = nullptr;   // exit
};
