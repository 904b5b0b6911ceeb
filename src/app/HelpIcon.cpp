#include "app/HelpIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace {
// Drawn on a 64 x 64 grid, scaled to the pixmap.
QPixmap draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    QRadialGradient face(QPointF(25.6, 20.5), 44.8);
    face.setColorAt(0, QColor(0x8f, 0xd0, 0xff));
    face.setColorAt(0.55, QColor(0x2f, 0x8e, 0xe0));
    face.setColorAt(1, QColor(0x13, 0x5a, 0x9e));
    painter.setPen(QPen(QColor(0x0d, 0x3f, 0x70), 2));
    painter.setBrush(face);
    painter.drawEllipse(QPointF(32, 32), 29, 29);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 70));
    painter.drawEllipse(QPointF(28, 17), 15, 8);

    // The question mark: an arc ending in a short stem, and its dot.
    QPainterPath mark;
    mark.moveTo(22.5, 24.5);
    mark.arcTo(QRectF(22.5, 15.0, 19.0, 19.0), 180, -240);
    mark.cubicTo(33.6, 34.3, 32, 36.2, 32, 39.5);
    mark.lineTo(32, 41.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(mark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(32, 50), 3.8, 3.8);
    return pixmap;
}
} // namespace

QIcon HelpIcon::make() {
    QIcon icon;
    for (int size : {32, 64})
        icon.addPixmap(draw(size));
    return icon;
}
