#pragma once

#include <QObject>

#include <functional>

class DataSource;
class QFrame;
class QLineEdit;
class QPushButton;
class SkinLabel;

// The main window's clinic panel: the clinic's name and address, bound to the settings row, with
// save and cancel. From the moment it is made, the main window's clinic-name label follows the
// name box.
class ClinicPanel : public QObject {
    Q_OBJECT
public:
    // Makes the controls on the panel's frame. saveSettings stores the settings row, showing what
    // went wrong when it could not (false then).
    ClinicPanel(QFrame *frame, DataSource *settings, SkinLabel *clinicName, std::function<bool()> saveSettings);

private slots:
    void save();
    void cancel();

private:
    QFrame *m_frame;
    DataSource *m_settings;
    std::function<bool()> m_saveSettings;

    SkinLabel *SkinLabel4 = nullptr;
    QLineEdit *Text2 = nullptr; // clinic name (Name)
    SkinLabel *SkinLabel5 = nullptr;
    QLineEdit *Text14 = nullptr; // clinic address (Adress)
    QPushButton *Command64 = nullptr;
    QPushButton *Command7 = nullptr;
};
