#pragma once

#include <QString>

// The value of a text: its leading decimal number. Blanks, tabs and line feeds are skipped
// wherever they stand, a carriage return (or any other character that cannot continue the
// number) ends it, the point is the decimal separator whatever the locale, and a text
// without a leading number is worth 0.
double textValue(const QString &text);
