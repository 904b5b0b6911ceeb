#pragma once

#include <QString>
#include <QStringList>

// The questionnaire's own texts, written into a new database (QUS) and shown by the test window.

// The title of the questionnaire, shown above the items.
QString questionnaireTitle();

// The 40 item texts in item order (index 0 is item 1). Each is a first-person statement rated from
// 1 (completely disagree) to 9 (completely agree) and expresses the defence mechanism that the
// scoring key assigns to its item.
QStringList itemTexts();
