#pragma once

class QPainter;
class QRectF;

// The report's background: a light patterned sheet with a curved dark-red border along its left
// and bottom edges, drawn as shapes so that it stays sharp at any printer's resolution.
void paintReportSheet(QPainter &painter, const QRectF &area);
