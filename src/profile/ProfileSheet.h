#pragma once

#include "profile/ScoreProfile.h"

#include <QColor>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

class QPainter;

// One examinee on the profile: who they are, their profile, and the colour of their bars.
struct ProfileSeries {
    ScoreProfile::Examinee examinee;
    ScoreProfile::Profile profile;
    QColor colour;
};

// The profile as a page, the same on screen, in a PDF and in a picture: the examinees' details
// (one line each, with the colour of their bars, which makes the legend), then a horizontal bar
// chart laid out right to left, the mechanisms grouped under their styles, each style led by its
// own mean. The bars measure mean item ratings on the answer scale of 1 to 9, which runs from the
// labels leftwards; its midpoint is marked across the chart. Every series must be complete.
namespace ProfileSheet {
// The page's own units: it is drawn scaled into any rectangle, its proportions kept.
inline constexpr QSizeF pageSize{1000, 1250};

// The examinee's details as the page writes them: who (code, name, group, date), then the rest.
QStringList detailLines(const ScoreProfile::Examinee &examinee);
QColor seriesColour(int index);
void paint(QPainter &painter, const QRectF &target, const QList<ProfileSeries> &series);
} // namespace ProfileSheet
