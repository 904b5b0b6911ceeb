#include "scoring/ReportRenderer.h"

#include "common/PersianFonts.h"
#include "common/Twips.h"
#include "scoring/ReportLayout.h"
#include "scoring/ReportSheet.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextOption>

namespace {

constexpr int topMargin = 1440;

// Device pixels per pixel of twips(): the layout converts to 96 per inch.
double scaleOf(const QPagedPaintDevice &device) { return device.logicalDpiX() / 96.0; }

QFont fontOf(const ReportFont &font, const QPaintDevice &device) {
    QFont made(font.family);
    made.setPointSizeF(font.pointSize);
    made.setBold(font.bold);
    made.setItalic(font.italic);
    return QFont(made, &device);
}

// A value longer than its label is drawn smaller rather than cut or run into its neighbour.
QFont fittedFont(QFont font, const QString &text, double width, const QPaintDevice &device) {
    const double advance = QFontMetricsF(font, &device).horizontalAdvance(text);
    if (advance > width)
        font.setPointSizeF(font.pointSizeF() * width / advance);
    return font;
}

Qt::LayoutDirection directionOf(const ReportLabel &label) {
    if (label.direction != Qt::LayoutDirectionAuto)
        return label.direction;
    return label.caption.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

// Captions start at the top of their label, as the layout places them; nothing is clipped to the
// label's height, since the Persian fonts stand taller than some labels.
void paintLabel(QPainter &painter, const QPaintDevice &device, const ReportLabel &label, const QPointF &origin,
                double scale) {
    if (label.caption.isEmpty())
        return;
    const QRectF box(origin + QPointF(twips(label.left), twips(label.top)) * scale,
                     QSizeF(twips(label.width), twips(label.height)) * scale);
    painter.setFont(fittedFont(fontOf(label.font, device), label.caption, box.width(), device));
    // Right means the right edge, whichever way the caption and the painter run.
    QTextOption option(label.alignment | Qt::AlignAbsolute | Qt::AlignTop);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(directionOf(label));
    painter.drawText(box, label.caption, option);
}

void paintSection(QPainter &painter, const QPaintDevice &device, const ReportSection &section, const QPointF &origin,
                  double scale) {
    for (const ReportPicture &picture : section.pictures)
        paintReportSheet(painter, QRectF(origin + QPointF(twips(picture.left), twips(picture.top)) * scale,
                                         QSizeF(twips(picture.width), twips(picture.height)) * scale));
    painter.setPen(Qt::black);
    for (const ReportLabel &label : section.labels)
        paintLabel(painter, device, label, origin, scale);
}

} // namespace

void ReportRenderer::setUpPage(QPagedPaintDevice &device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
}

void ReportRenderer::paint(QPainter &painter, QPagedPaintDevice &device, const ReportLayout &layout, int rows) {
    mapReportFontNames();
    const double scale = scaleOf(device);
    const QRectF page = device.pageLayout().fullRectPixels(device.logicalDpiX());
    const double left = (page.width() - twips(layout.width) * scale) / 2;
    const double top = twips(topMargin) * scale;
    double y = top;
    for (const ReportSection &section : layout.sections) {
        const int times = section.name == detailSectionName() ? rows : 1;
        const double height = twips(section.height) * scale;
        for (int i = 0; i < times; ++i) {
            if (y > top && y + height > page.height() - top) {
                device.newPage();
                y = top;
            }
            paintSection(painter, device, section, QPointF(left, y), scale);
            y += height;
        }
    }
}
