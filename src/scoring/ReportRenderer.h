#pragma once

class QPainter;
class QPagedPaintDevice;
struct ReportLayout;

// Paints a report layout on the pages of a printer or PDF writer: the sections one under the
// other below a top margin of one inch, the report centred across the sheet, the detail section
// once per row of data, a new page when the next section would not fit.
namespace ReportRenderer {
// A4 upright without the device's margins: the report keeps its own.
void setUpPage(QPagedPaintDevice &device);
void paint(QPainter &painter, QPagedPaintDevice &device, const ReportLayout &layout, int rows);
} // namespace ReportRenderer
