#include "app/Frmskin.h"

#include "common/AppVersion.h"
#include "common/Twips.h"
#include "widgets/Navigation.h"
#include "widgets/PictureButton.h"
#include "widgets/SkinPictures.h"

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

    const QRect place = twipsRect(1725, 2100, 1260, 555);
    m_confirm = new PictureButton(this, place, "k1", SkinPictures::confirmPicture(place.size(), false), "k2",
                                  SkinPictures::confirmPicture(place.size(), true), SkinPictures::confirmText());
    connect(m_confirm, &PictureButton::clicked, this, &Frmskin::confirm);
    // The window itself holds the focus as it opens, so the plain picture shows until Tab moves the
    // focus onto it.
    setFocus();
}

Frmskin *Frmskin::showNew() {
    auto *window = new Frmskin;
    window->show();
    return window;
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

void Frmskin::mouseMoveEvent(QMouseEvent *) { m_confirm->showPlain(); }
