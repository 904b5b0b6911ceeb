#include "scoring/ReportSheet.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The sheet is designed on a 450 by 627 grid and stretched over the area it fills.
constexpr double designWidth = 450;
constexpr double designHeight = 627;

void paintPattern(QPainter &painter) {
    painter.fillRect(QRectF(0, 0, designWidth, designHeight), QColor(0xfb, 0xf8, 0xf0));
    QPen lattice(QColor(0xee, 0xe4, 0xcf), 0.6);
    painter.setPen(lattice);
    const double step = 18;
    for (double x = -designHeight; x < designWidth; x += step) {
        painter.drawLine(QPointF(x, 0), QPointF(x + designHeight, designHeight));
        painter.drawLine(QPointF(x + designHeight, 0), QPointF(x, designHeight));
    }
}

// The border's inner edge runs down the left side, widening as it goes, turns in a broad curve
// at the corner and thins out along the bottom.
QPainterPath borderShape(double inset) {
    QPainterPath path(QPointF(0, 0));
    path.lineTo(8 + inset, 0);
    path.cubicTo(QPointF(12 + inset, 220), QPointF(16 + inset, 430), QPointF(30 + inset, 540 - inset));
    path.cubicTo(QPointF(44 + inset, 600 - inset), QPointF(110, 612 - inset), QPointF(230, 619 - inset));
    path.lineTo(designWidth, 623 - inset);
    path.lineTo(designWidth, designHeight);
    path.lineTo(0, designHeight);
    path.closeSubpath();
    return path;
}

} // namespace

void paintReportSheet(QPainter &painter, const QRectF &area) {
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(area.width() / designWidth, area.height() / designHeight);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(QRectF(0, 0, designWidth, designHeight));
    paintPattern(painter);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc9, 0xa5, 0x5c)); // a gold rim along the inner edge
    painter.drawPath(borderShape(1.5));
    painter.setBrush(QColor(0x7a, 0x12, 0x1e));
    painter.drawPath(borderShape(0));
    painter.restore();
}
