#pragma once

#include "update/VersionCheck.h"

#include <QDialog>
#include <functional>

class DataSource;
class QLineEdit;
class QPushButton;
class SkinLabel;
class SkinObject;

// The update check window, opened modal over the main window: asks the update server for the
// newest release and, when it is newer than this one, hands over to the updater and ends the
// program; otherwise tells the user and stays open.
class FrmUpdate : public QDialog {
    Q_OBJECT
public:
    explicit FrmUpdate(QWidget *parent = nullptr);

    // Where the version file comes from and how long its fetch may take.
    VersionCheck &versionCheck();
    // The folder the updater is started from; the program's own folder unless set.
    void setProgramFolder(const QString &folder);
    // The program's ending after the updater has started; ProgramHandOver::endProgram unless set.
    void setEndProgram(std::function<void()> endProgram);

    // The check of the button "بررسي آپديت جديد".
    void checkForUpdate();

private:
    void buildControls();
    void applyStoredTheme();
    void enterChecking();
    void leaveChecking();
    void handOverToUpdater();

    QPushButton *Command1;
    QPushButton *Command2;
    SkinLabel *Label1;
    SkinLabel *SkinLabel1;
    QLineEdit *Text2;
    DataSource *Adodc1;
    SkinObject *Skin1;

    VersionCheck m_versionCheck;
    QString m_programFolder;
    std::function<void()> m_endProgram;
};
