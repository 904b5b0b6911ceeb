#include "widgets/KeyboardAccess.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// The name this helper last gave a control: such a name follows its caption each time the control
// shows again, while a name the window set itself (another one) is left alone.
const char *const givenName = "keyboardAccessName";

QString cleaned(QString caption) {
    caption.remove(QLatin1Char('&'));
    const QString edge = QStringLiteral(" :\t\n");
    while (!caption.isEmpty() && edge.contains(caption.front()))
        caption.remove(0, 1);
    while (!caption.isEmpty() && edge.contains(caption.back()))
        caption.chop(1);
    return caption;
}

QString buddyCaption(const QWidget *control) {
    const QList<QLabel *> labels = control->window()->findChildren<QLabel *>();
    for (const QLabel *label : labels)
        if (label->buddy() == control)
            return label->text();
    return {};
}

bool isPushButton(const QObject *object) {
    return qobject_cast<const QPushButton *>(object) || qobject_cast<const QToolButton *>(object);
}

class KeyboardFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress && isPushButton(watched))
            return pressWithEnter(static_cast<QAbstractButton *>(watched), static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::Show && watched->isWidgetType())
            nameControl(static_cast<QWidget *>(watched));
        return false;
    }

private:
    static bool pressWithEnter(QAbstractButton *button, const QKeyEvent *key) {
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) || !button->isEnabled())
            return false;
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }

    static void nameControl(QWidget *widget) {
        if (widget->isWindow() || !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
            return;
        if (widget->accessibleName() != widget->property(givenName).toString())
            return;
        const QString name = KeyboardAccess::controlName(widget);
        widget->setAccessibleName(name);
        widget->setProperty(givenName, name);
    }
};

} // namespace

namespace KeyboardAccess {

void install(QApplication &app) { app.installEventFilter(new KeyboardFilter(&app)); }

QString controlName(const QWidget *control) {
    if (const auto *button = qobject_cast<const QAbstractButton *>(control);
        button && !cleaned(button->text()).isEmpty())
        return cleaned(button->text());
    QString name = cleaned(buddyCaption(control));
    if (name.isEmpty())
        if (const auto *box = qobject_cast<const QLineEdit *>(control))
            name = cleaned(box->placeholderText());
    if (name.isEmpty())
        name = cleaned(control->toolTip());
    if (name.isEmpty())
        if (const auto *frame = qobject_cast<const QGroupBox *>(control->parentWidget()))
            name = cleaned(frame->title());
    return name;
}

} // namespace KeyboardAccess
