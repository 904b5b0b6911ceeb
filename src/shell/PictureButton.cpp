#include "shell/PictureButton.h"

#include <QLabel>
#include <QMouseEvent>

PictureButton::PictureButton(QWidget *window, const QRect &geometry, const char *plainName, const QPixmap &plain,
                             const char *highlightedName, const QPixmap &highlighted)
    : QObject(window), m_plain(makePicture(window, geometry, plainName, plain)),
      m_highlighted(makePicture(window, geometry, highlightedName, highlighted)) {
    showPlain();
}

QLabel *PictureButton::makePicture(QWidget *window, const QRect &geometry, const char *name, const QPixmap &picture) {
    auto *label = new QLabel(window);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setPixmap(picture);
    label->setCursor(Qt::PointingHandCursor);
    // Both pictures see every mouse move over them, so a move over either never reaches the window.
    label->setMouseTracking(true);
    label->installEventFilter(this);
    return label;
}

void PictureButton::showPlain() {
    m_highlighted->hide();
    m_plain->show();
    m_pressed = false;
}

void PictureButton::showHighlighted() {
    m_plain->hide();
    m_highlighted->show();
}

bool PictureButton::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
                       type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
    if (watched == m_plain) {
        if (type == QEvent::MouseMove)
            showHighlighted();
        return mouse;
    }
    if (watched != m_highlighted || !mouse)
        return QObject::eventFilter(watched, event);
    const auto *mouseEvent = static_cast<QMouseEvent *>(event);
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        m_pressed = mouseEvent->button() == Qt::LeftButton;
    } else if (type == QEvent::MouseButtonRelease) {
        const bool click = m_pressed && mouseEvent->button() == Qt::LeftButton &&
                           m_highlighted->rect().contains(mouseEvent->position().toPoint());
        m_pressed = false;
        if (click)
            emit clicked();
    }
    return true;
}
