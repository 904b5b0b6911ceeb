#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

class ClinicPanel;
class DatabasePanel;
class DataSource;
class QAbstractButton;
class QFrame;
class QIcon;
class QLineEdit;
class QPushButton;
class QToolButton;
class RegistrationPanel;
class SitePicture;
class SkinLabel;
class SkinObject;
class SettingsPanel;
class ThemePanel;

// The main window: the bar of navigation buttons, the help button, the site picture, the clinic's
// name, the title and version, the hint line, and the panels that open inside it (registration,
// settings, theme, clinic, database). Every other window of the program is reached from here.
class Frm1 : public QWidget {
    Q_OBJECT
public:
    explicit Frm1(QWidget *parent = nullptr);

    // Run by most buttons before they act: hides the theme, registration, settings, clinic and
    // database panels, then re-reads the examinee data source when it holds a row, which drops an
    // examinee row that was added but not saved.
    void closePanels();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    // The navigation buttons, top to bottom.
    void openRegistrationPanel();
    void runTest();
    void openScoring();
    void showExamineeCodes();
    void startCalculator();
    void openSettingsPanel();
    void openPsychometricPages();
    void openAboutBox();
    void openUpdateCheck();
    void leaveProgram();

    void openHelpPage();
    void openSitePages();

    void openThemePanel();
    void openClinicPanel();
    void openDatabasePanel();

private:
    void createDataSources();
    void bindClinicFields();
    void createControls(const QIcon &helpIcon);
    void createButtonBar();
    void showPanel(QFrame *panel);
    QLineEdit *addHiddenBox(const char *name);
    QFrame *addPanel(const char *name, int left, int top, int width, int height);

    // The leave mode, kept in the hidden box Text3: 2 when unloading this window leaves the
    // program, 1 when it makes way for another window (a theme change, the scoring window) and
    // goes without the exit dialog.
    void setLeaveMode(int mode);
    void chooseTheme(int themeNumber);
    // Shows what went wrong when the settings row could not be stored; false then.
    bool saveSettings();
    // Unloading with leave mode 2 hands over to the exit dialog.
    void leaveToExitDialog();
    void showHint(const QString &text);
    void clearHint();

    SkinObject *m_skin = nullptr;
    QHash<QAbstractButton *, QString> m_hints;

    // Data sources: the settings row, the examinees, the answer rows, and the answer rows and
    // examinees for the duplicate-code check of a registration.
    DataSource *Adodc1 = nullptr;
    DataSource *Adodc2 = nullptr;
    DataSource *Adodc3 = nullptr;
    DataSource *Adodc4 = nullptr;
    DataSource *Adodc5 = nullptr;

    QLineEdit *Text1 = nullptr; // theme number (TH), hidden
    QLineEdit *Text3 = nullptr; // leave mode, hidden
    QToolButton *CmdHelp = nullptr;
    SkinLabel *SkinLabel9 = nullptr; // title and version
    SkinLabel *SkinLabel1 = nullptr; // clinic name
    SitePicture *Picture1 = nullptr;
    SkinLabel *SkinLabel2 = nullptr; // hint line

    QFrame *Frame7 = nullptr; // button bar
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command51 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Cmdupdate = nullptr;
    QPushButton *Command6 = nullptr;

    // The panels, each made when it first opens, so the first paint does not wait for controls it
    // does not show.
    QFrame *Frame8 = nullptr; // settings panel
    SettingsPanel *m_settings = nullptr;
    QFrame *Frame6 = nullptr; // theme panel
    ThemePanel *m_themes = nullptr;
    QFrame *Frame9 = nullptr; // clinic panel
    ClinicPanel *m_clinic = nullptr;
    QFrame *FrameDatabase = nullptr; // database panel
    DatabasePanel *m_database = nullptr;
    QFrame *Frame10 = nullptr; // registration panel
    RegistrationPanel *m_registration = nullptr;
};
