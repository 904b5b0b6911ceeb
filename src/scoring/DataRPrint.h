#pragma once

#include "scoring/ReportLayout.h"

#include <QString>

class QPainter;
class QPagedPaintDevice;
class QWidget;

// The examinee's one-page result report: its layout with the fixed captions, the captions the
// scoring window sets before printing, and the number of rows of the data source it prints.
class DataRPrint {
public:
    DataRPrint();                                                   // the layout with its fixed captions
    void setCaption(const QString &labelName, const QString &text); // a label of section "Section1"
    QString caption(const QString &labelName) const;
    void setRowCount(int rows); // rows of the data source: the detail prints once per row
    int rowCount() const;
    const ReportLayout &layout() const;

    bool exportPdf(const QString &path, QString *error = nullptr) const; // the one page as a PDF
    // Shows the preview, not modal and without an owner; it deletes itself when closed.
    QWidget *showPreview() const;
    // Paints every page on a printer or PDF writer whose painter has begun.
    void print(QPainter &painter, QPagedPaintDevice &device) const;

private:
    ReportLayout printedLayout() const;

    ReportLayout m_layout;
    int m_rows = 1;
};
