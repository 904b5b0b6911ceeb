#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

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

} // namespace

void answerNextMessageBox(SeenBox *seen, QMessageBox::StandardButton button, int timeoutMs) {
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, seen, button, deadline]() {
        if (QMessageBox *box = visibleMessageBox()) {
            record(box, seen);
            if (QAbstractButton *answer = box->button(button))
                answer->click();
            else
                box->reject();
            poll->deleteLater();
            poll->stop();
        } else if (deadline->hasExpired()) {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
            poll->deleteLater();
            poll->stop();
        }
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
