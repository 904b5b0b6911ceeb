#include "widgets/PictureButton.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

namespace {

// Each picture names the button it belongs to, so assistive tools can be shown that button.
const char *const buttonProperty = "pictureButton";

// A picture as assistive tools see it: a button that can be pressed.
class PictureAccessible : public QAccessibleWidget {
public:
    PictureAccessible(QWidget *picture, PictureButton *button)
        : QAccessibleWidget(picture, QAccessible::Button), m_button(button) {}

    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << pressAction(); }

    void doAction(const QString &action) override {
        if (action == pressAction() && m_button)
            m_button->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QPointer<PictureButton> m_button;
};

QAccessibleInterface *pictureAccessible(const QString &, QObject *object) {
    auto *picture = qobject_cast<QLabel *>(object);
    if (!picture)
        return nullptr;
    auto *button = qobject_cast<PictureButton *>(picture->property(buttonProperty).value<QObject *>());
    return button ? new PictureAccessible(picture, button) : nullptr;
}

} // namespace

PictureButton::PictureButton(QWidget *window, const QRect &geometry, const char *plainName, const QPixmap &plain,
                             const char *highlightedName, const QPixmap &highlighted, const QString &caption)
    : QObject(window) {
    static const bool accessibleInstalled = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(accessibleInstalled)
    // Made one after the other, the two pictures stand side by side in the window's tab order.
    m_plain = makePicture(window, geometry, plainName, plain, caption);
    m_highlighted = makePicture(window, geometry, highlightedName, highlighted, caption);
    showPlain();
}

QLabel *PictureButton::makePicture(QWidget *window, const QRect &geometry, const char *name, const QPixmap &picture,
                                   const QString &caption) {
    auto *label = new QLabel(window);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setPixmap(picture);
    label->setCursor(Qt::PointingHandCursor);
    // Tab only: a click on a picture leaves the focus where it was, as it always did.
    label->setFocusPolicy(Qt::TabFocus);
    // Named for its button before anything asks how assistive tools see it.
    label->setProperty(buttonProperty, QVariant::fromValue<QObject *>(this));
    label->setAccessibleName(caption);
    // Both pictures see every mouse move over them, so a move over either never reaches the window.
    label->setMouseTracking(true);
    label->installEventFilter(this);
    return label;
}

// The window's focus, not the application's: a window in the background keeps its button's cue.
bool PictureButton::hasFocus() const {
    const QWidget *focus = m_plain->window()->focusWidget();
    return focus == m_plain || focus == m_highlighted;
}

void PictureButton::showPlain() {
    m_pressed = false;
    if (hasFocus())
        return;
    m_highlighted->hide();
    m_plain->show();
}

void PictureButton::showHighlighted() {
    m_highlighted->show();
    // The focus moves along before the plain picture hides, or hiding would pass it on to the next control.
    if (m_plain->window()->focusWidget() == m_plain)
        m_highlighted->setFocus(Qt::OtherFocusReason);
    m_plain->hide();
}

void PictureButton::click() { emit clicked(); }

bool PictureButton::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_plain && watched != m_highlighted)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        showHighlighted();
        return false;
    case QEvent::FocusOut:
        if (!hasFocus())
            showPlain();
        return false;
    case QEvent::KeyPress:
        return keyEvent(event);
    default:
        return mouseEvent(watched, event);
    }
}

bool PictureButton::keyEvent(QEvent *event) {
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter =
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !(key->modifiers() & ~Qt::KeypadModifier);
    const bool space = key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier;
    if (!enter && !space)
        return false;
    if (!key->isAutoRepeat())
        click();
    return true;
}

bool PictureButton::mouseEvent(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
                       type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
    if (watched == m_plain) {
        if (type == QEvent::MouseMove)
            showHighlighted();
        return mouse;
    }
    if (!mouse)
        return false;
    const auto *mouseEvent = static_cast<QMouseEvent *>(event);
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        m_pressed = mouseEvent->button() == Qt::LeftButton;
    } else if (type == QEvent::MouseButtonRelease) {
        const bool released = m_pressed && mouseEvent->button() == Qt::LeftButton &&
                              m_highlighted->rect().contains(mouseEvent->position().toPoint());
        m_pressed = false;
        if (released)
            click();
    }
    return true;
}
