#include "profile/ProfileSheet.h"

#include "common/PersianFonts.h"

#include <QFont>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace {
using ScoreProfile::scaleHigh;
using ScoreProfile::scaleLow;
using ScoreProfile::scaleMidpoint;

constexpr double margin = 30;
constexpr double detailsTop = 100;
constexpr double detailsLineHeight = 32;
constexpr double detailsBlockHeight = 2 * detailsLineHeight + 14;
// The chart begins below the last examinee's details, its captions above its first row.
constexpr double chartGap = 70;
constexpr double chartBottom = 1135;
constexpr double styleGap = 14;
// Columns, from the right: the labels, the raw scores, then the bars down to the left margin.
constexpr double labelRight = 968;
constexpr double labelLeft = 735;
constexpr double scoreLeft = 660;
constexpr double plotRight = 640;
constexpr double plotLeft = 75;

const QColor inkColour(0x20, 0x20, 0x20);
const QColor gridColour(0xd8, 0xd8, 0xd8);
const QColor styleBandColour(0xee, 0xee, 0xee);

QFont sheetFont(double pixelSize, bool bold = false) {
    QFont font;
    font.setFamilies(persianTextFamilies());
    font.setPixelSize(int(pixelSize));
    font.setBold(bold);
    return font;
}

// Texts laid out right to left whatever the alignment; right alignment is meant on the page,
// not mirrored.
void drawText(QPainter &painter, const QRectF &box, Qt::Alignment alignment, const QString &text) {
    painter.drawText(box, int(alignment | Qt::AlignAbsolute | Qt::AlignVCenter), text);
}

// Where a mean rating stands: the scale's low end at the right of the plot, its high end at the left.
// Answers off the scale (a stored blank counts as 0) keep the bar inside the plot; its number
// still tells the mean.
double xOf(double mean) {
    const double onScale = std::clamp(mean, scaleLow, scaleHigh);
    return plotRight - (onScale - scaleLow) / (scaleHigh - scaleLow) * (plotRight - plotLeft);
}

QString meanText(double mean) { return QString::number(mean, 'f', mean == int(mean) ? 0 : 1); }

QString pair(const char *caption, const QString &value) {
    return QString::fromUtf8(caption) + QStringLiteral(": ") + value;
}

void paintDetails(QPainter &painter, const ProfileSeries &series, double top) {
    const QRectF swatch(labelRight - 18, top + 8, 18, 18);
    painter.fillRect(swatch, series.colour);
    const QStringList lines = ProfileSheet::detailLines(series.examinee);
    painter.setPen(inkColour);
    painter.setFont(sheetFont(19, true));
    drawText(painter, QRectF(margin, top, swatch.left() - 12 - margin, detailsLineHeight), Qt::AlignRight,
             lines.at(0));
    painter.setFont(sheetFont(18));
    drawText(painter, QRectF(margin, top + detailsLineHeight, swatch.left() - 12 - margin, detailsLineHeight),
             Qt::AlignRight, lines.at(1));
}

void paintGrid(QPainter &painter, double chartTop) {
    for (int value = int(scaleLow); value <= int(scaleHigh); ++value) {
        const double x = xOf(value);
        painter.setPen(QPen(gridColour, 1));
        painter.drawLine(QPointF(x, chartTop), QPointF(x, chartBottom));
        painter.setPen(inkColour);
        painter.setFont(sheetFont(18, value == int(scaleMidpoint)));
        drawText(painter, QRectF(x - 20, chartBottom + 6, 40, 26), Qt::AlignHCenter, QString::number(value));
    }
    painter.setPen(QPen(inkColour, 1.5));
    painter.drawLine(QPointF(plotLeft, chartBottom), QPointF(plotRight, chartBottom));
}

// Drawn over the bars, so that a bar reaching past the midpoint still shows where it lies.
void paintMidpoint(QPainter &painter, double chartTop) {
    const double x = xOf(scaleMidpoint);
    painter.setPen(QPen(inkColour, 2, Qt::DashLine));
    painter.drawLine(QPointF(x, chartTop - 8), QPointF(x, chartBottom));
}

void paintAxisCaptions(QPainter &painter, double chartTop) {
    painter.setPen(inkColour);
    painter.setFont(sheetFont(17));
    drawText(painter, QRectF(plotLeft, chartBottom + 36, plotRight - plotLeft, 28), Qt::AlignHCenter,
             QStringLiteral("ميانگين پاسخ به هر سوال (1 تا 9، ميانه 5)"));
    painter.setFont(sheetFont(17, true));
    drawText(painter, QRectF(scoreLeft - 10, chartTop - 34, labelLeft - scoreLeft + 20, 26), Qt::AlignHCenter,
             QStringLiteral("نمره"));
    drawText(painter, QRectF(plotLeft, chartTop - 34, plotRight - plotLeft, 26), Qt::AlignRight,
             QStringLiteral("ميانگين"));
}

// One row of the chart: the caption, then for each series its raw score and its bar, the series
// stacked in the row's height in legend order.
void paintRow(QPainter &painter, double top, double height, const QString &caption, bool isStyle,
              const QList<ProfileSeries> &series, const QList<QPair<QString, double>> &values) {
    if (isStyle)
        painter.fillRect(QRectF(margin, top, labelRight - margin + 2, height), styleBandColour);
    painter.setPen(inkColour);
    painter.setFont(sheetFont(isStyle ? 20 : 19, isStyle));
    drawText(painter, QRectF(labelLeft, top, labelRight - labelLeft, height), Qt::AlignRight, caption);

    const double band = height * 0.76;
    const double barHeight = band / series.size();
    double barTop = top + (height - band) / 2;
    for (int i = 0; i < series.size(); ++i, barTop += barHeight) {
        const auto &[score, mean] = values.at(i);
        const QColor colour = isStyle ? series.at(i).colour.darker(135) : series.at(i).colour;
        const QRectF bar(QPointF(xOf(mean), barTop + 1), QPointF(xOf(scaleLow), barTop + barHeight - 1));
        painter.fillRect(bar, colour);
        painter.setPen(series.size() > 1 ? colour.darker(120) : inkColour);
        painter.setFont(sheetFont(std::min(18.0, barHeight + 2), isStyle));
        drawText(painter, QRectF(scoreLeft, barTop, labelLeft - scoreLeft - 8, barHeight), Qt::AlignHCenter, score);
        painter.setFont(sheetFont(std::min(16.0, barHeight), isStyle));
        drawText(painter, QRectF(bar.left() - 52, barTop, 46, barHeight), Qt::AlignRight, meanText(mean));
    }
}

void paintChart(QPainter &painter, const QList<ProfileSeries> &series) {
    const double chartTop = detailsTop + series.size() * detailsBlockHeight + chartGap;
    const QList<ScoreProfile::Style> &layout = series.first().profile.styles;
    int rows = 0;
    for (const ScoreProfile::Style &style : layout)
        rows += 1 + int(style.mechanisms.size());
    const double rowHeight = (chartBottom - chartTop - styleGap * (layout.size() - 1)) / rows;

    paintGrid(painter, chartTop);
    double top = chartTop;
    for (int s = 0; s < layout.size(); ++s) {
        QList<QPair<QString, double>> values;
        for (const ProfileSeries &one : series)
            values.append({one.profile.styles.at(s).total, one.profile.styles.at(s).mean});
        paintRow(painter, top, rowHeight, layout.at(s).caption, true, series, values);
        top += rowHeight;
        for (int m = 0; m < layout.at(s).mechanisms.size(); ++m) {
            values.clear();
            for (const ProfileSeries &one : series) {
                const ScoreProfile::Bar &bar = one.profile.styles.at(s).mechanisms.at(m);
                values.append({bar.score, bar.mean});
            }
            paintRow(painter, top, rowHeight, layout.at(s).mechanisms.at(m).label, false, series, values);
            top += rowHeight;
        }
        top += styleGap;
    }
    paintMidpoint(painter, chartTop);
    paintAxisCaptions(painter, chartTop);
}
} // namespace

QStringList ProfileSheet::detailLines(const ScoreProfile::Examinee &e) {
    const QString gap = QStringLiteral("     ");
    return {QStringList{pair("کد", e.code), pair("نام", e.firstName + QLatin1Char(' ') + e.lastName),
                        pair("گروه", e.group), pair("تاريخ", e.date)}
                .join(gap),
            QStringList{pair("جنس", e.sex), pair("سن", e.age), pair("وضعيت تاهل", e.maritalStatus),
                        pair("ميزان تحصيلات", e.education)}
                .join(gap)};
}

QColor ProfileSheet::seriesColour(int index) {
    static const QColor colours[] = {QColor(0x3b, 0x6e, 0xa8), QColor(0xe0, 0x83, 0x1a)};
    return colours[index % 2];
}

void ProfileSheet::paint(QPainter &painter, const QRectF &target, const QList<ProfileSeries> &series) {
    if (series.isEmpty())
        return;
    painter.save();
    const double scale = std::min(target.width() / pageSize.width(), target.height() / pageSize.height());
    // Centred across, at the top: on a taller page (A4) the space is left below.
    painter.translate(target.left() + (target.width() - pageSize.width() * scale) / 2, target.top());
    painter.scale(scale, scale);
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), pageSize), Qt::white);

    painter.setPen(inkColour);
    painter.setFont(sheetFont(32, true));
    drawText(painter, QRectF(margin, 30, pageSize.width() - 2 * margin, 50), Qt::AlignHCenter,
             QStringLiteral("نيمرخ نمرات"));
    for (int i = 0; i < series.size(); ++i)
        paintDetails(painter, series.at(i), detailsTop + i * detailsBlockHeight);
    paintChart(painter, series);
    painter.restore();
}
