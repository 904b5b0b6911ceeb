#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// The case running now: a watcher answers only within the case that armed it.
QByteArray currentCase() {
    QByteArray name = QTest::currentTestFunction() ? QTest::currentTestFunction() : "";
    if (QTest::currentDataTag())
        name += QByteArray(":") + QTest::currentDataTag();
    return name;
}

// Polls for a window of the program's until it is up, then hands it over once. It gives up with a
// warning naming what did not come when the deadline passes (closing whatever modal window is up,
// so that the case fails instead of hanging), and when the case that armed it has ended, so that
// it never answers a box of a later case.
class Watcher : public QTimer {
public:
    Watcher(QString awaited, std::function<QWidget *()> find, std::function<void(QWidget *)> act, int timeoutMs)
        : m_awaited(std::move(awaited)), m_find(std::move(find)), m_act(std::move(act)), m_deadline(timeoutMs),
          m_case(currentCase()) {
        setInterval(10);
        connect(this, &QTimer::timeout, this, &Watcher::poll);
        start();
    }

private:
    void poll() {
        if (currentCase() != m_case) {
            qWarning("%s, awaited in %s, never came before the case ended", qPrintable(m_awaited), m_case.constData());
            finish();
        } else if (QWidget *found = m_find()) {
            // Stopped before it acts, and acting on a copy: the action may run an event loop of
            // its own, in which this watcher is deleted.
            const std::function<void(QWidget *)> act = m_act;
            finish();
            act(found);
        } else if (m_deadline.hasExpired()) {
            qWarning("%s did not come within the deadline", qPrintable(m_awaited));
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
            finish();
        }
    }

    void finish() {
        stop();
        deleteLater();
    }

    QString m_awaited;
    std::function<QWidget *()> m_find;
    std::function<void(QWidget *)> m_act;
    QDeadlineTimer m_deadline;
    QByteArray m_case;
};

void watch(const QString &awaited, std::function<QWidget *()> find, std::function<void(QWidget *)> act, int timeoutMs) {
    new Watcher(awaited, std::move(find), std::move(act), timeoutMs);
}

QMessageBox *visibleMessageBox() {
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
        return box;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

template <class Dialog> QWidget *activeModal() { return qobject_cast<Dialog *>(QApplication::activeModalWidget()); }

void record(QMessageBox *box, SeenBox *seen) {
    seen->seen = true;
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->direction = box->layoutDirection();
}

void watchForMessageBox(std::function<void(QMessageBox *)> onBox, int timeoutMs) {
    watch(
        QStringLiteral("a message box"), []() { return visibleMessageBox(); },
        [onBox](QWidget *box) { onBox(static_cast<QMessageBox *>(box)); }, timeoutMs);
}

void answer(QMessageBox *box, QMessageBox::StandardButton button) {
    if (QAbstractButton *chosen = box->button(button))
        chosen->click();
    else
        box->reject();
}

// Chooses the file as a user types its path into the name box. (QFileDialog::selectFile leaves
// the box alone once it holds the focus, which depends on how soon the window was activated.)
void choose(QFileDialog *dialog, const QString &choice) {
    auto *nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    nameBox->setText(QDir::toNativeSeparators(QFileInfo(choice).absoluteFilePath()));
    QMetaObject::invokeMethod(dialog, "accept");
    // A dialog that refuses the choice (a file that does not exist, say) would wait for ever.
    if (dialog->isVisible()) {
        qWarning("the file dialog refused %s", qPrintable(choice));
        dialog->reject();
    }
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
    watch(
        QStringLiteral("an input box"), activeModal<QInputDialog>,
        [seen, text, accept](QWidget *found) {
            auto *box = static_cast<QInputDialog *>(found);
            seen->seen = true;
            seen->title = box->windowTitle();
            seen->text = box->labelText();
            seen->direction = box->layoutDirection();
            box->setTextValue(text);
            if (accept)
                box->accept();
            else
                box->reject();
        },
        timeoutMs);
}

void answerInputBoxes(QList<SeenBox> *seen, const QStringList &texts, int timeoutMs) {
    if (texts.isEmpty())
        return;
    watch(
        QStringLiteral("an input box"), activeModal<QInputDialog>,
        [seen, texts, timeoutMs](QWidget *found) {
            auto *box = static_cast<QInputDialog *>(found);
            seen->append({true, box->windowTitle(), box->labelText(), QMessageBox::NoIcon, box->layoutDirection()});
            box->setTextValue(texts.first());
            box->accept();
            // The answered box is hidden by now: the next one seen is the one that follows it.
            answerInputBoxes(seen, texts.mid(1), timeoutMs);
        },
        timeoutMs);
}

void answerNextFileDialog(SeenFileDialog *seen, const QString &choice, int timeoutMs) {
    watch(
        QStringLiteral("a file dialog"), activeModal<QFileDialog>,
        [seen, choice](QWidget *found) {
            auto *dialog = static_cast<QFileDialog *>(found);
            seen->seen = true;
            seen->folder = dialog->directory().absolutePath();
            seen->fileName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            seen->filters = dialog->nameFilters();
            seen->saving = dialog->acceptMode() == QFileDialog::AcceptSave;
            if (choice.isEmpty())
                dialog->reject();
            else
                choose(dialog, choice);
        },
        timeoutMs);
}

QMessageBox *waitForMessageBox(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (QMessageBox *box = visibleMessageBox())
            return box;
        QTest::qWait(10);
    }
    qWarning("no message box came within %d ms", timeoutMs);
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
    watch(
        QStringLiteral("the window %1").arg(objectName), [objectName]() { return visibleWindow(objectName); },
        std::move(act), timeoutMs);
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
