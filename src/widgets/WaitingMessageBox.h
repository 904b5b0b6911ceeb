#pragma once

#include <QMessageBox>
#include <QString>

// The ordinary message box that waits for the user (questions, error reports, notices): right to
// left, with the caller's title (usually appTitle()), icon and buttons. Returns the button the
// user chose; closing the box with Escape or its close button gives the escape button's answer.
namespace WaitingMessageBox {
QMessageBox::StandardButton show(QWidget *owner, const QString &text, const QString &title,
                                 QMessageBox::Icon icon = QMessageBox::NoIcon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
} // namespace WaitingMessageBox
