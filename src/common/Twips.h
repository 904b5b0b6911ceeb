#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Positions and sizes are kept in twips, 1/1440 inch, so every number in the code can be read
// against the layout tables; this is the one conversion to pixels (96 per inch at 100 %).
constexpr int twips(int value) { return value >= 0 ? (value + 7) / 15 : -((-value + 7) / 15); }

inline QPoint twipsPoint(int left, int top) { return {twips(left), twips(top)}; }
inline QSize twipsSize(int width, int height) { return {twips(width), twips(height)}; }
inline QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}
