#pragma once

#include <QString>
#include <QWidget>

#include <functional>

// The steps a user takes through the program's windows, shared by the tests that walk a whole
// road: find a control, click it, type over a box, register an examinee, run the test for a code.
struct Examinee {
    QString code, firstName, lastName, sex, age, maritalStatus, group, education;
};

// The control of the window by its name; a warning names one that is not there.
QWidget *findControl(QWidget *window, const char *name);
template <class T = QWidget> T *child(QWidget *window, const char *name) {
    return qobject_cast<T *>(findControl(window, name));
}

// A control that is not there fails the case, as a button the user cannot find would.
void click(QWidget *window, const char *name);
// Replaces what a box holds, as a user selects it all and types over it.
void retype(QWidget *box, const QString &text);
// The main window when it is up, after the windows closed before it are gone.
QWidget *mainWindow();
// From the main window's registration button to the saved examinee; no box may come up.
void registerExaminee(const Examinee &examinee);
// "اجراي تست" for the code; the steps run on the test window once it is up. The texts of the
// boxes that came up on the way, or a text saying the test window was never reached.
QString runTest(const QString &code, const std::function<void(QWidget *)> &steps);
// The texts of the result sheet's 23 score boxes.
QStringList shownScores(QWidget *sheet);
// The codes the directory's grid shows, top to bottom.
QStringList gridCodes(QWidget *directory);
// Every window gone and the database closed, as when the process ends.
void endProcess();
