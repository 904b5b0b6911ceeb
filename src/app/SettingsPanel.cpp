#include "app/SettingsPanel.h"

#include "app/PanelControls.h"

#include <QFrame>

SettingsPanel::SettingsPanel(QFrame *frame) : QObject(frame) {
    Command68 = addButton(frame, "Command68", QStringLiteral("تغيير تم برنامه"), 120, 240, 1935, 495);
    Command67 = addButton(frame, "Command67", QStringLiteral(" تعريف نام کلينيک"), 120, 840, 1935, 495);
    CmdDatabase = addButton(frame, "CmdDatabase", QStringLiteral("پايگاه داده"), 120, 1440, 1935, 495);
    // One row down, below the database button.
    Command69 = addButton(frame, "Command69", QStringLiteral("خروج"), 120, 2040, 1935, 495);
    connect(Command68, &QPushButton::clicked, this, &SettingsPanel::themeRequested);
    connect(Command67, &QPushButton::clicked, this, &SettingsPanel::clinicRequested);
    connect(CmdDatabase, &QPushButton::clicked, this, &SettingsPanel::databaseRequested);
    connect(Command69, &QPushButton::clicked, this, &SettingsPanel::closeRequested);
}
