#pragma once

#include <QList>
#include <QString>
#include <Qt>

// A printed report held as data: sections one under the other, each with its labels and
// pictures at fixed places. Lengths are twips, as the layout tables give them; the renderer
// converts them when it paints.

struct ReportFont {
    QString family;
    double pointSize = 8.25;
    bool bold = false;
    bool italic = false;
};

struct ReportLabel {
    // Who gives a label its text: the layout itself, the clinic's settings (kept on a page
    // without a row of data), or the row being printed (left blank when there is none).
    enum class Filling { Fixed, Clinic, Row };

    QString name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    // Auto takes the direction of the caption's first strong letter.
    Qt::LayoutDirection direction = Qt::LayoutDirectionAuto;
    ReportFont font;
    QString caption;
    Filling filling = Filling::Fixed;
};

struct ReportPicture {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ReportSection {
    QString name;
    int height = 0;
    QList<ReportPicture> pictures;
    QList<ReportLabel> labels;

    ReportLabel *label(const QString &labelName);
    const ReportLabel *label(const QString &labelName) const;
};

struct ReportLayout {
    int width = 0;
    ReportFont font;
    QList<ReportSection> sections;

    ReportSection *section(const QString &sectionName);
    const ReportSection *section(const QString &sectionName) const;
};

// The name of the one section that holds the report's contents.
inline QString detailSectionName() { return QStringLiteral("Section1"); }

// The examinee's result report: report header, page header, the detail "Section1" with the
// background sheet and 71 labels, page footer, report footer.
ReportLayout resultReportLayout();
