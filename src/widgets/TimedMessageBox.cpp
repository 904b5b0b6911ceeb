#include "widgets/TimedMessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

QString TimedMessageBox::title() { return QStringLiteral("پيام"); }

void TimedMessageBox::show(QWidget *owner, const QString &text, int delayMs) {
    // On the heap and watched: should the owner go while the box waits, it takes the box along.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, owner);
    box->setLayoutDirection(Qt::RightToLeft);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);

    // The timer belongs to this very box: it can only ever close this box, and it goes with it
    // when the user closes the box first.
    auto *timer = new QTimer(box);
    timer->setSingleShot(true);
    // Never before its delay (a coarse timer may fire a little early).
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, box, [box]() {
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
    });
    timer->start(delayMs);

    box->exec();
    delete box;
}
