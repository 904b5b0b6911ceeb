#pragma once

#include <QString>

class QWidget;

// The box that asks for one line of text (an examinee code): the caller's title and prompt, OK and
// Cancel, right to left, modal to its owner. Returns the text as typed, its digits as ASCII digits
// (a Persian keyboard types Persian ones); empty when cancelled.
namespace InputBox {
QString ask(QWidget *owner, const QString &title, const QString &prompt, const QString &defaultText = {});
// The same box for a passphrase: what is typed shows as dots and is returned as typed (digits
// too); the box's own copy is cleared before the box goes.
QString askPassphrase(QWidget *owner, const QString &title, const QString &prompt);
} // namespace InputBox
