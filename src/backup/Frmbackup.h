#pragma once

#include "backup/DatabaseCopies.h"

#include <QWidget>

#include <functional>

class DataSource;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class SkinObject;

// The backup and restore window, the last step of leaving the program: copies the database to a
// backup file the user chooses, or a chosen backup file back over the database. Every way out of
// it ends the program: a finished backup, a finished restore, its exit button and its close box.
// While a copy runs the window keeps redrawing and its clock ticks, but nothing else can start and
// it cannot be closed.
class Frmbackup : public QWidget {
    Q_OBJECT
public:
    explicit Frmbackup(QWidget *parent = nullptr);
    // Creates the window and shows it, not modal; it deletes itself when closed.
    static Frmbackup *showNew();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    QPushButton *addButton(const char *name, const QString &caption, int left, int top, int width, int height);
    QLineEdit *addPathBox(const char *name, int top);
    QLabel *addLabel(const char *name, int left, int top, int width, Qt::Alignment alignment);

    void showClock();
    void chooseBackupFile();
    void chooseRestoreFile();
    void backUp();
    void restore();
    // A question answered Yes or No.
    bool confirmed(const QString &question);
    // Runs the copy with the window's controls disabled; false when it failed (and was reported).
    bool runCopy(const std::function<DatabaseCopies::Outcome()> &copy, bool restoring);
    void reportFailure(const DatabaseCopies::Outcome &outcome, bool restoring);
    // Where the file dialogs open: the backup folder, made when missing.
    QString backupFolder();
    // A dialog of Qt's own, so that it looks the same everywhere and can be driven.
    QString askForFile(bool saving, const QString &proposedName);
    // The passphrase of a new sealed backup: asked twice, at least ten characters, the two alike;
    // empty when the user gave up (and was told why).
    QString askNewPassphrase();

    SkinObject *m_skin = nullptr;
    DataSource *Adodc1 = nullptr; // the settings row, for the theme
    QLineEdit *m_theme = nullptr; // hidden, bound to TH
    QLabel *Label1 = nullptr;     // today's date
    QLabel *Label2 = nullptr;     // the clock
    QLabel *Label3 = nullptr;     // copy of the date, hidden: the proposed file name is built from it
    QLineEdit *Text1 = nullptr;   // backup file to write
    QLineEdit *Text2 = nullptr;   // backup file to restore from
    QPushButton *b1 = nullptr;
    QPushButton *b2 = nullptr;
    QPushButton *VisualButtonEx2 = nullptr; // BACKUP
    QPushButton *VisualButtonEx3 = nullptr; // REASTOR
    QPushButton *Command1 = nullptr;        // exit
    QCheckBox *SealedCheck = nullptr;       // the backup is sealed under a passphrase
    QTimer *Timer1 = nullptr;
    bool m_copying = false;
};
