#pragma once

#include <QString>

class QComboBox;
class QWidget;

// Types text into a control as a user would, one key per character, Persian included
// (QTest::keyClicks cannot type Persian).
void typeText(QWidget *control, const QString &text);

// Opens the list and clicks the entry, as a user picks one.
void chooseFromList(QComboBox *list, const QString &entry);
