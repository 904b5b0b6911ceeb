#include "widgets/InputBox.h"

#include <QInputDialog>
#include <QPointer>

QString InputBox::ask(QWidget *owner, const QString &title, const QString &prompt, const QString &defaultText) {
    // On the heap and watched: should the owner go while the box waits, it takes the box along.
    QPointer<QInputDialog> box = new QInputDialog(owner);
    box->setObjectName(QStringLiteral("InputBox"));
    box->setLayoutDirection(Qt::RightToLeft);
    box->setWindowTitle(title);
    box->setLabelText(prompt);
    box->setTextValue(defaultText);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    const bool accepted = box->exec() == QDialog::Accepted;
    if (!box)
        return {};
    const QString text = accepted ? box->textValue() : QString();
    delete box;
    return text;
}
