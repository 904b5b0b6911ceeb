#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

QMessageBox *visibleMessageBox() {
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
        return box;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

void record(QMessageBox *box, SeenBox *seen) {
    seen->seen = true;
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->direction = box->layoutDirection();
}

// Polls for a message box until the bound; hands the first one seen to onBox, or closes whatever
// modal window is up when none came.
void watchForMessageBox(std::function<void(QMessageBox *)> onBox, int timeoutMs) {
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, onBox, deadline]() {
        if (QMessageBox *box = visibleMessageBox()) {
            poll->deleteLater();
            poll->stop();
            onBox(box);
        } else if (deadline->hasExpired()) {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
            poll->deleteLater();
            poll->stop();
        }
    });
    poll->start();
}

void answer(QMessageBox *box, QMessageBox::StandardButton button) {
    if (QAbstractButton *chosen = box->button(button))
        chosen->click();
    else
        box->reject();
}

} // namespace

void answerNextMessageBox(SeenBox *seen, QMessageBox::StandardButton button, int timeoutMs) {
    watchForMessageBox(
        [seen, button](QMessageBox *box) {
            record(box, seen);
            answer(box, button);
        },
        timeoutMs);
}

void answerMessageBoxes(QList<SeenBox> *seen, const QList<QMessageBox::StandardButton> &buttons, int timeoutMs) {
    if (buttons.isEmpty())
        return;
    watchForMessageBox(
        [seen, buttons, timeoutMs](QMessageBox *box) {
            SeenBox one;
            record(box, &one);
            seen->append(one);
            answer(box, buttons.first());
            // The answered box is hidden by now: the next one seen is the one that follows it.
            answerMessageBoxes(seen, buttons.mid(1), timeoutMs);
        },
        timeoutMs);
}

void answerNextInputBox(SeenBox *seen, const QString &text, bool accept, int timeoutMs) {
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, seen, text, accept, deadline]() {
        auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (box) {
            seen->seen = true;
            seen->title = box->windowTitle();
            seen->text = box->labelText();
            seen->direction = box->layoutDirection();
            box->setTextValue(text);
            if (accept)
                box->accept();
            else
                box->reject();
        } else if (!deadline->hasExpired()) {
            return;
        } else if (QWidget *modal = QApplication::activeModalWidget()) {
            modal->close();
        }
        poll->deleteLater();
        poll->stop();
    });
    poll->start();
}

void answerNextFileDialog(SeenFileDialog *seen, const QString &choice, int timeoutMs) {
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, seen, choice, deadline]() {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog && !deadline->hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (!dialog) {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        seen->seen = true;
        seen->folder = dialog->directory().absolutePath();
        seen->fileName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
        seen->filters = dialog->nameFilters();
        seen->saving = dialog->acceptMode() == QFileDialog::AcceptSave;
        if (choice.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(choice);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll->start();
}

QMessageBox *waitForMessageBox(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (QMessageBox *box = visibleMessageBox())
            return box;
        QTest::qWait(10);
    }
    return nullptr;
}

QWidget *visibleWindow(const QString &objectName) {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == objectName && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void actOnNextWindow(const QString &objectName, std::function<void(QWidget *)> act, int timeoutMs) {
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, objectName, act, deadline]() {
        if (QWidget *found = visibleWindow(objectName)) {
            poll->stop();
            poll->deleteLater();
            act(found);
        } else if (deadline->hasExpired()) {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
}
MessageBoxRecorder::MessageBoxRecorder() {
    QObject::connect(&m_poll, &QTimer::timeout, [this]() {
        if (QMessageBox *box = visibleMessageBox()) {
            SeenBox seen;
            record(box, &seen);
            m_boxes.append(seen);
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        }
    });
    m_poll.start(10);
}

QList<SeenBox> MessageBoxRecorder::boxes() const { return m_boxes; }

QString boxTextsShownBy(const std::function<void()> &action) {
    MessageBoxRecorder recorder;
    action();
    QStringList texts;
    for (const SeenBox &box : recorder.boxes())
        texts << box.text;
    return texts.join(QLatin1Char('\n'));
}
