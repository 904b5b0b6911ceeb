#include "Typing.h"

#include <QTest>

void typeText(QWidget *control, const QString &text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}
