#pragma once

#include <QString>

class QWidget;

// The box that asks for one line of text (an examinee code): the caller's title and prompt, OK and
// Cancel, right to left, modal to its owner. Returns the text as typed; empty when cancelled.
namespace InputBox {
QString ask(QWidget *owner, const QString &title, const QString &prompt, const QString &defaultText = {});
}
