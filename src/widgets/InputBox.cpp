#include "widgets/InputBox.h"

#include "common/AsciiDigits.h"

#include <QInputDialog>
#include <QPointer>

namespace {
QString askFor(QWidget *owner, const QString &title, const QString &prompt, const QString &defaultText,
               QLineEdit::EchoMode echo) {
    // On the heap and watched: should the owner go while the box waits, it takes the box along.
    QPointer<QInputDialog> box = new QInputDialog(owner);
    box->setObjectName(QStringLiteral("InputBox"));
    box->setLayoutDirection(Qt::RightToLeft);
    box->setWindowTitle(title);
    box->setLabelText(prompt);
    box->setTextEchoMode(echo);
    box->setTextValue(defaultText);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    const bool accepted = box->exec() == QDialog::Accepted;
    if (!box)
        return {};
    const QString text = accepted ? box->textValue() : QString();
    box->setTextValue(QString());
    delete box;
    return text;
}
} // namespace

QString InputBox::ask(QWidget *owner, const QString &title, const QString &prompt, const QString &defaultText) {
    return withAsciiDigits(askFor(owner, title, prompt, defaultText, QLineEdit::Normal));
}

QString InputBox::askPassphrase(QWidget *owner, const QString &title, const QString &prompt) {
    return askFor(owner, title, prompt, QString(), QLineEdit::Password);
}
