#pragma once

#include <QString>

class QWidget;

// Types text into a control as a user would, one key per character, Persian included
// (QTest::keyClicks cannot type Persian).
void typeText(QWidget *control, const QString &text);
