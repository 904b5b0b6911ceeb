#pragma once

#include "app/SingleInstanceGuard.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class DamageRoad;
class QApplication;
class QThread;

// What Kelto does from its first line until the main window is on screen. The guard lives as long
// as this object, so it is kept until the program ends.
class KeltoStart {
public:
    enum class Outcome { MainWindowShown, AlreadyRunning, DatabaseRefused };

    explicit KeltoStart(const QString &programDir);
    ~KeltoStart();

    // Makes the program's folder the working folder and sets up the Persian application; refuses a
    // second instance with the single-instance notice before anything touches the database; opens
    // the database (a refused file is named in a box that offers a way back: a backup or a new
    // database in its place); then shows a fresh main window, after whose first paint the whole
    // file is checked on a thread of its own. Damage found then, or by any read, brings the
    // recovery box back.
    Outcome run(QApplication &app);
    // The code the process ends with when the start did not show the main window.
    static int exitCode(Outcome outcome);
    QWidget *mainWindow() const;

private:
    void showAlreadyRunning();
    // Codes stored with Persian digits before every box turned them into ASCII ones.
    void foldStoredCodeDigits();

    QString m_programDir;
    SingleInstanceGuard m_guard;
    QPointer<QWidget> m_mainWindow;
    std::unique_ptr<QThread> m_fontDatabaseFiller;
    std::unique_ptr<DamageRoad> m_damageRoad;
};
