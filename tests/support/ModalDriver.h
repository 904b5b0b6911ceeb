#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

// Drives modal boxes the way a user would: a watcher armed before the call that opens the box
// waits for it, reads it and answers it; whatever is still up after the bound is closed so that
// a test fails instead of hanging. A watcher lives only as long as the case that armed it.

// How long a watcher waits for its box: long enough for a machine that is busy with other work.
constexpr int modalDeadlineMs = 60000;

struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::LayoutDirection direction = Qt::LeftToRight;
};

// Arms a watcher that answers the next message box with the given button. Call it before the
// action that opens the box; the result is filled in once the box has been seen.
void answerNextMessageBox(SeenBox *seen, QMessageBox::StandardButton button = QMessageBox::Ok,
                          int timeoutMs = modalDeadlineMs);

// Arms a watcher that answers the next message boxes in turn, one button each (a question, then
// the notice that follows it); what each box showed is appended to seen as it is answered.
void answerMessageBoxes(QList<SeenBox> *seen, const QList<QMessageBox::StandardButton> &buttons,
                        int timeoutMs = modalDeadlineMs);

// Arms a watcher that answers the next input box: types the text and presses OK, or presses
// Cancel. The box's title and prompt are recorded in seen.
void answerNextInputBox(SeenBox *seen, const QString &text, bool accept = true, int timeoutMs = modalDeadlineMs);

// Arms a watcher that answers the next input boxes in turn, typing one text each and pressing OK;
// what each box showed is appended to seen as it is answered.
void answerInputBoxes(QList<SeenBox> *seen, const QStringList &texts, int timeoutMs = modalDeadlineMs);

// What a file dialog (Qt's own) offered when it came up.
struct SeenFileDialog {
    bool seen = false;
    QString folder;
    QString fileName;
    QStringList filters;
    bool saving = false;
};

// Arms a watcher that answers the next file dialog: notes what it offers, then chooses the file,
// or cancels when choice is empty.
void answerNextFileDialog(SeenFileDialog *seen, const QString &choice, int timeoutMs = modalDeadlineMs);

// Waits (processing events) until a message box is on screen; null after the bound.
QMessageBox *waitForMessageBox(int timeoutMs = modalDeadlineMs);

// The visible top-level window with the given objectName; null when none is up.
QWidget *visibleWindow(const QString &objectName);

// Arms a watcher that hands the next visible window with the given objectName (a box of the
// program's own) to act, which reads it and answers it. Call it before the action that opens it.
void actOnNextWindow(const QString &objectName, std::function<void(QWidget *)> act, int timeoutMs = modalDeadlineMs);
// Answers every message box that comes up while it lives with OK, noting each one: for actions
// that may show a box several times, or none.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    QList<SeenBox> boxes() const;

private:
    QTimer m_poll;
    QList<SeenBox> m_boxes;
};

// Runs a user action, answering every message box it shows with OK; the boxes' texts, one per
// line, empty when none came.
QString boxTextsShownBy(const std::function<void()> &action);
