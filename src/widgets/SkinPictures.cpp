#include "widgets/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>

namespace {

constexpr qreal pixelRatio = 2.0;

QPixmap blankPicture(const QSize &size) {
    QPixmap picture(size * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    return picture;
}

QFont pictureFont(const QStringList &families, int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A palette with colour dabs, the sign of the theme change.
void drawPalette(QPainter &painter, const QRectF &box) {
    QPainterPath board;
    board.addEllipse(box);
    QPainterPath thumbHole;
    thumbHole.addEllipse(QRectF(box.left() + box.width() * 0.55, box.top() + box.height() * 0.55, box.width() * 0.22,
                                box.height() * 0.22));
    painter.setPen(QPen(QColor(90, 60, 30), 1.2));
    painter.setBrush(QColor(236, 205, 150));
    painter.drawPath(board.subtracted(thumbHole));
    const QColor dabs[] = {QColor(220, 50, 50), QColor(250, 190, 30), QColor(40, 160, 80), QColor(40, 110, 220),
                           QColor(150, 60, 200)};
    const QPointF centres[] = {{0.30, 0.30}, {0.52, 0.20}, {0.74, 0.32}, {0.24, 0.56}, {0.40, 0.76}};
    painter.setPen(Qt::NoPen);
    const qreal dab = box.width() * 0.15;
    for (int i = 0; i < 5; ++i) {
        painter.setBrush(dabs[i]);
        painter.drawEllipse(
            QPointF(box.left() + box.width() * centres[i].x(), box.top() + box.height() * centres[i].y()), dab, dab);
    }
}

void drawTick(QPainter &painter, const QRectF &box, const QColor &colour, qreal width) {
    QPainterPath tick;
    tick.moveTo(box.left(), box.top() + box.height() * 0.55);
    tick.lineTo(box.left() + box.width() * 0.38, box.bottom());
    tick.lineTo(box.right(), box.top());
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
}

void drawRightToLeftText(QPainter &painter, const QRectF &box, const QString &text, int flags) {
    painter.save();
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.drawText(box, flags, text);
    painter.restore();
}

// A red disc with a white bar: no entry.
void drawNoEntry(QPainter &painter, const QRectF &box, bool highlighted) {
    painter.setPen(highlighted ? QPen(Qt::white, box.height() * 0.08) : Qt::NoPen);
    painter.setBrush(QColor(210, 30, 30));
    painter.drawEllipse(box);
    const qreal barHeight = box.height() * 0.2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(
        QRectF(box.left() + box.width() * 0.2, box.center().y() - barHeight / 2, box.width() * 0.6, barHeight));
}

// The fill of a highlighted button, top to bottom; a plain button is pale grey-blue.
struct ButtonLook {
    QColor highlightedTop;
    QColor highlightedBottom;
};

// A rounded button with a sign at its left and a word beside it.
QPixmap buttonPicture(const QSize &size, bool highlighted, const ButtonLook &look, const QString &word,
                      const std::function<void(QPainter &, const QRectF &)> &drawSign) {
    QPixmap picture = blankPicture(size);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QRectF button = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = button.height() * 0.3;

    QLinearGradient fill(button.topLeft(), button.bottomLeft());
    if (highlighted) {
        fill.setColorAt(0, look.highlightedTop);
        fill.setColorAt(1, look.highlightedBottom);
    } else {
        fill.setColorAt(0, QColor(250, 250, 252));
        fill.setColorAt(1, QColor(205, 214, 228));
    }
    painter.setPen(QPen(highlighted ? QColor(255, 250, 200) : QColor(70, 90, 130), highlighted ? 2.0 : 1.2));
    painter.setBrush(fill);
    painter.drawRoundedRect(button, radius, radius);

    const qreal signSize = button.height() * 0.42;
    const QRectF signBox(button.left() + button.width() * 0.14, button.center().y() - signSize / 2, signSize, signSize);
    drawSign(painter, signBox);

    painter.setPen(highlighted ? QColor(Qt::white) : QColor(30, 50, 100));
    painter.setFont(
        pictureFont({QStringLiteral("Nazli"), QStringLiteral("B Nazanin"), QStringLiteral("Noto Naskh Arabic")},
                    qRound(button.height() * 0.48), true));
    const QRectF words(signBox.right() + button.width() * 0.04, button.top(),
                       button.right() - signBox.right() - button.width() * 0.12, button.height());
    drawRightToLeftText(painter, words, word, Qt::AlignCenter);
    return picture;
}

} // namespace

QString SkinPictures::headingText() { return QStringLiteral("تغيير تم برنامه"); }

QString SkinPictures::doneText() { return QStringLiteral("تغييرات با موفقيت انجام شد"); }

QString SkinPictures::confirmText() { return QStringLiteral("تاييد"); }

QString SkinPictures::cancelText() { return QStringLiteral("انصراف"); }

QPixmap SkinPictures::themeChangeFace(const QSize &size) {
    QPixmap picture = blankPicture(size);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QRectF face(QPointF(0, 0), QSizeF(size));
    const qreal w = face.width();
    const qreal h = face.height();

    QLinearGradient sky(face.topLeft(), face.bottomLeft());
    sky.setColorAt(0, QColor(32, 56, 120));
    sky.setColorAt(1, QColor(24, 120, 140));
    painter.fillRect(face, sky);

    // A soft light behind the heading.
    QRadialGradient glow(QPointF(w * 0.5, h * 0.05), w * 0.6);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(face, glow);

    const qreal paletteSize = h * 0.2;
    drawPalette(painter, QRectF(w - paletteSize - h * 0.05, h * 0.05, paletteSize, paletteSize * 0.85));

    painter.setPen(QColor(255, 244, 200));
    painter.setFont(pictureFont({QStringLiteral("Titr"), QStringLiteral("B Titr"), QStringLiteral("Noto Naskh Arabic")},
                                qRound(h * 0.1), true));
    drawRightToLeftText(painter, QRectF(0, h * 0.04, w, h * 0.24), headingText(), Qt::AlignCenter);

    painter.setPen(QPen(QColor(255, 255, 255, 120), 1));
    painter.drawLine(QPointF(w * 0.12, h * 0.31), QPointF(w * 0.88, h * 0.31));

    painter.setPen(Qt::white);
    painter.setFont(
        pictureFont({QStringLiteral("Nazli"), QStringLiteral("B Nazanin"), QStringLiteral("Noto Naskh Arabic")},
                    qRound(h * 0.085), true));
    drawRightToLeftText(painter, QRectF(w * 0.05, h * 0.36, w * 0.9, h * 0.24), doneText(),
                        Qt::AlignCenter | Qt::TextWordWrap);
    return picture;
}

QPixmap SkinPictures::confirmPicture(const QSize &size, bool highlighted) {
    const ButtonLook look{QColor(120, 220, 110), QColor(30, 140, 50)};
    return buttonPicture(size, highlighted, look, confirmText(), [highlighted](QPainter &painter, const QRectF &box) {
        drawTick(painter, box, highlighted ? QColor(Qt::white) : QColor(30, 140, 50), box.height() * 0.26);
    });
}

QPixmap SkinPictures::cancelPicture(const QSize &size, bool highlighted) {
    const ButtonLook look{QColor(240, 120, 110), QColor(175, 30, 30)};
    return buttonPicture(size, highlighted, look, cancelText(), [highlighted](QPainter &painter, const QRectF &box) {
        drawNoEntry(painter, box, highlighted);
    });
}
