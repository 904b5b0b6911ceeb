#include "app/SitePicture.h"

#include <QFontInfo>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

SitePicture::SitePicture(const QString &address, QWidget *parent) : QWidget(parent), m_address(address) {
    setCursor(Qt::PointingHandCursor);
}

QString SitePicture::address() const { return m_address; }

void SitePicture::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = frame.height() / 3;

    QLinearGradient face(frame.topLeft(), frame.bottomLeft());
    face.setColorAt(0, QColor(0x3b, 0x8f, 0xd8));
    face.setColorAt(0.5, QColor(0x1d, 0x5f, 0xa8));
    face.setColorAt(1, QColor(0x12, 0x3f, 0x77));
    painter.setPen(QPen(QColor(0x0b, 0x2a, 0x52), 1.5));
    painter.setBrush(face);
    painter.drawRoundedRect(frame, radius, radius);

    const qreal globeSize = frame.height() - 10;
    const QRectF globe(frame.left() + 8, frame.top() + 5, globeSize, globeSize);
    paintGlobe(painter, globe);

    // The address is Latin text: it reads left to right even in a right-to-left window. It takes
    // the window's families, whose Latin family suits the skin, in bold at the window's size (the
    // font of the window's bold captions, already loaded for them) enlarged by the painter: a
    // font at a size of its own would cost start-up another font load.
    QFont font = this->font();
    font.setBold(true);
    painter.setFont(font);
    const qreal wantedPixels = qMax(10, int(frame.height() * 0.45));
    const qreal scale = wantedPixels / QFontInfo(font).pixelSize();
    const QRectF textBox = frame.adjusted(globe.width() + 16, 0, -12, 0);
    painter.scale(scale, scale);
    const QRectF scaledBox(textBox.topLeft() / scale, textBox.size() / scale);
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawText(scaledBox.translated(1.5 / scale, 1.5 / scale), Qt::AlignCenter | Qt::AlignAbsolute, m_address);
    painter.setPen(Qt::white);
    painter.drawText(scaledBox, Qt::AlignCenter | Qt::AlignAbsolute, m_address);
}

void SitePicture::paintGlobe(QPainter &painter, const QRectF &box) const {
    QRadialGradient sea(box.center() - QPointF(box.width() / 5, box.height() / 5), box.width() * 0.7);
    sea.setColorAt(0, QColor(0xb8, 0xe6, 0xff));
    sea.setColorAt(1, QColor(0x2a, 0x8c, 0x5a));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(sea);
    painter.drawEllipse(box);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(box.adjusted(box.width() * 0.28, 0, -box.width() * 0.28, 0));
    painter.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
    painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    const qreal band = box.height() * 0.27;
    painter.drawLine(QPointF(box.left() + box.width() * 0.1, box.center().y() - band),
                     QPointF(box.right() - box.width() * 0.1, box.center().y() - band));
    painter.drawLine(QPointF(box.left() + box.width() * 0.1, box.center().y() + band),
                     QPointF(box.right() - box.width() * 0.1, box.center().y() + band));
}

void SitePicture::mousePressEvent(QMouseEvent *event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void SitePicture::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}
