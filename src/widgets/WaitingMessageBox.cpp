#include "widgets/WaitingMessageBox.h"

#include <QPointer>

QMessageBox::StandardButton WaitingMessageBox::show(QWidget *owner, const QString &text, const QString &title,
                                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton) {
    // On the heap and watched: should the owner go while the box waits, it takes the box along.
    QPointer<QMessageBox> box = new QMessageBox(icon, title, text, buttons, owner);
    box->setLayoutDirection(Qt::RightToLeft);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    if (defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(defaultButton);
    box->exec();
    if (!box)
        return QMessageBox::NoButton;
    const auto answer = box->standardButton(box->clickedButton());
    delete box;
    return answer;
}
