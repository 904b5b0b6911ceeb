#include "shell/Frmskin.h"

#include "common/AppVersion.h"
#include "common/Twips.h"
#include "shell/Navigation.h"
#include "shell/SkinPictures.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

Frmskin::Frmskin(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Frmskin"));
    setAttribute(Qt::WA_DeleteOnClose);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(appTitle());
    setFixedSize(twipsSize(4710, 3000));
    move(twipsPoint(5000, 3500));
    setMouseTracking(true);
    m_face = SkinPictures::themeChangeFace(size());

    k1 = makeConfirmImage("k1", false);
    k2 = makeConfirmImage("k2", true);
    showNormalImage();
}

Frmskin *Frmskin::showNew() {
    auto *window = new Frmskin;
    window->show();
    return window;
}

QLabel *Frmskin::makeConfirmImage(const char *name, bool highlighted) {
    auto *image = new QLabel(this);
    image->setObjectName(QString::fromLatin1(name));
    image->setGeometry(twipsRect(1725, 2100, 1260, 555));
    image->setPixmap(SkinPictures::confirmPicture(image->size(), highlighted));
    image->setCursor(Qt::PointingHandCursor);
    // Both images see every mouse move over them, so a move over either never reaches the face.
    image->setMouseTracking(true);
    image->installEventFilter(this);
    return image;
}

void Frmskin::showNormalImage() {
    k2->hide();
    k1->show();
    m_pressedOnK2 = false;
}

void Frmskin::showHighlightedImage() {
    k1->hide();
    k2->show();
}

void Frmskin::confirm() {
    // The main window comes up before this one goes, so the program is never without a window.
    Navigation::showMainWindow();
    close();
}

void Frmskin::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.drawPixmap(rect(), m_face);
}

void Frmskin::mouseMoveEvent(QMouseEvent *) {
    if (!k1->isVisible())
        showNormalImage();
}

bool Frmskin::eventFilter(QObject *watched, QEvent *event) {
    if (watched == k1) {
        if (event->type() == QEvent::MouseMove)
            showHighlightedImage();
        // k1 does nothing on a click; none of its mouse events reaches the face.
        return event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress ||
               event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick;
    }
    if (watched == k2) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        switch (event->type()) {
        case QEvent::MouseMove:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_pressedOnK2 = mouse->button() == Qt::LeftButton;
            return true;
        case QEvent::MouseButtonRelease:
            // A click: pressed and released on the image with the left button.
            if (m_pressedOnK2 && mouse->button() == Qt::LeftButton && k2->rect().contains(mouse->position().toPoint()))
                confirm();
            m_pressedOnK2 = false;
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
