#include "widgets/Notices.h"
#include "widgets/TimedMessageBox.h"
#include "widgets/WaitingMessageBox.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

const QString messageTitle = QStringLiteral("\u067e\u064a\u0627\u0645");

// What the test saw of a box while it was up.
struct BoxSeen {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::Information;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget *parent = nullptr;
    QMessageBox::StandardButton clicked = QMessageBox::NoButton;
};

// Watches for the next message box without touching it; records it and the button that closes it.
// The watch goes with the case's owner window.
void watchNextBox(QObject *caseOwner, BoxSeen *seen) {
    auto *poll = new QTimer(caseOwner);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, seen]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->seen = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->buttons = box->standardButtons();
        seen->icon = box->icon();
        seen->direction = box->layoutDirection();
        seen->modality = box->windowModality();
        seen->parent = box->parentWidget();
        QObject::connect(box, &QMessageBox::buttonClicked,
                         [seen, box](QAbstractButton *button) { seen->clicked = box->standardButton(button); });
        poll->stop();
        poll->deleteLater();
    });
    poll->start();
}

// Closes whatever box is still up after the bound, so that a failing case ends instead of hanging.
// The bound goes with the case that set it: it can never close a box of a later case.
class CloseAfter {
public:
    explicit CloseAfter(int ms) {
        m_bound.setSingleShot(true);
        QObject::connect(&m_bound, &QTimer::timeout, []() {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        m_bound.start(ms);
    }

private:
    QTimer m_bound;
};

bool anyMessageBoxLeft() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox *>(widget))
            return true;
    return false;
}

} // namespace

class MessageBoxesTest : public QObject {
    Q_OBJECT
private slots:
    void timedBoxClosesItselfAfterDelay_data();
    void timedBoxClosesItselfAfterDelay();
    void noticeShowsItsTextForItsDelay();
    void timedBoxClosedEarlyLeavesNoTimerBehind();
    void timedBoxSurvivesItsOwnerGoing();
    void waitingBoxReturnsUsersAnswer();
    void waitingBoxSurvivesItsOwnerGoing();
};

void MessageBoxesTest::timedBoxClosesItselfAfterDelay_data() {
    QTest::addColumn<bool>("withOwner");
    QTest::addColumn<int>("delay");
    QTest::newRow("owned, 1 s") << true << 1000;
    QTest::newRow("owned, short") << true << 200;
    QTest::newRow("no owner") << false << 200;
}

void MessageBoxesTest::timedBoxClosesItselfAfterDelay() {
    QFETCH(bool, withOwner);
    QFETCH(int, delay);
    QWidget owner;
    owner.show();
    QWidget *boxOwner = withOwner ? &owner : nullptr;
    const QString text = QStringLiteral("\u0634\u0631\u0648\u0639 <1>");

    BoxSeen seen;
    watchNextBox(&owner, &seen);
    const CloseAfter bound(delay + 10000);
    QElapsedTimer clock;
    clock.start();
    TimedMessageBox::show(boxOwner, text, delay);
    // The code after the call goes on once the box has closed.
    const qint64 shownFor = clock.elapsed();

    QVERIFY(seen.seen);
    QCOMPARE(TimedMessageBox::title(), messageTitle);
    QCOMPARE(seen.title, messageTitle);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.direction, Qt::RightToLeft);
    QCOMPARE(seen.parent, boxOwner);
    QCOMPARE(seen.modality, withOwner ? Qt::WindowModal : Qt::ApplicationModal);
    // Closed as if OK were pressed, not before its delay.
    QCOMPARE(seen.clicked, QMessageBox::Ok);
    QVERIFY2(shownFor >= delay, qPrintable(QString::number(shownFor)));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!anyMessageBoxLeft());
}

void MessageBoxesTest::noticeShowsItsTextForItsDelay() {
    QWidget owner;
    owner.show();
    BoxSeen seen;
    watchNextBox(&owner, &seen);
    const CloseAfter bound(15000);
    QElapsedTimer clock;
    clock.start();
    showNotice(&owner, Notices::printNeedsExaminee);
    const qint64 shownFor = clock.elapsed();

    QVERIFY(seen.seen);
    QCOMPARE(seen.title, messageTitle);
    QCOMPARE(seen.text, QString::fromUtf8(Notices::printNeedsExaminee.text));
    QVERIFY(seen.text.endsWith(QLatin1Char(' ')));
    QCOMPARE(seen.clicked, QMessageBox::Ok);
    QVERIFY2(shownFor >= 2000 && shownFor < 10000, qPrintable(QString::number(shownFor)));
}

void MessageBoxesTest::timedBoxClosedEarlyLeavesNoTimerBehind() {
    QWidget owner;
    owner.show();
    SeenBox first;
    answerNextMessageBox(&first, QMessageBox::Ok);
    TimedMessageBox::show(&owner, QStringLiteral("first"), 300);
    QVERIFY(first.seen);

    // A second box, from another call, is up when the first box's delay has long passed: it must
    // still be waiting then.
    bool secondStillUp = false;
    QTimer::singleShot(900, &owner, [&secondStillUp]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        secondStillUp = box && box->text() == QLatin1String("second");
        if (box)
            box->button(QMessageBox::Ok)->click();
    });
    const CloseAfter bound(20000);
    QElapsedTimer clock;
    clock.start();
    TimedMessageBox::show(&owner, QStringLiteral("second"), 15000);
    QVERIFY(secondStillUp);
    QVERIFY(clock.elapsed() < 15000);
    QVERIFY(!anyMessageBoxLeft());
}

void MessageBoxesTest::timedBoxSurvivesItsOwnerGoing() {
    QPointer<QWidget> owner = new QWidget;
    owner->show();
    QTimer::singleShot(100, owner.data(), [&owner]() { delete owner; });
    const CloseAfter bound(10000);
    TimedMessageBox::show(owner, QStringLiteral("x"), 3000);
    QVERIFY(owner.isNull());
    QVERIFY(!anyMessageBoxLeft());
}

void MessageBoxesTest::waitingBoxReturnsUsersAnswer() {
    QWidget owner;
    owner.show();
    SeenBox seen;
    answerNextMessageBox(&seen, QMessageBox::No);
    const auto answer =
        WaitingMessageBox::show(&owner, QStringLiteral("?"), QStringLiteral("Kelto"), QMessageBox::Question,
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    QCOMPARE(answer, QMessageBox::No);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("Kelto"));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.direction, Qt::RightToLeft);
    QVERIFY(!anyMessageBoxLeft());

    // It waits for the user: no timer closes it.
    bool stillUp = false;
    QTimer::singleShot(1500, &owner, [&stillUp]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        stillUp = box != nullptr;
        if (box)
            box->button(QMessageBox::Ok)->click();
    });
    const CloseAfter bound(10000);
    QCOMPARE(WaitingMessageBox::show(&owner, QStringLiteral("!"), QStringLiteral("Error"), QMessageBox::Warning),
             QMessageBox::Ok);
    QVERIFY(stillUp);
}

void MessageBoxesTest::waitingBoxSurvivesItsOwnerGoing() {
    QPointer<QWidget> owner = new QWidget;
    owner->show();
    QTimer::singleShot(100, owner.data(), [&owner]() { delete owner; });
    const CloseAfter bound(10000);
    QCOMPARE(WaitingMessageBox::show(owner, QStringLiteral("x"), QStringLiteral("Kelto")), QMessageBox::NoButton);
    QVERIFY(!anyMessageBoxLeft());
}

QTEST_MAIN(MessageBoxesTest)
#include "MessageBoxesTest.moc"
