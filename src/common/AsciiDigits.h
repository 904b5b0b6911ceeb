#pragma once

#include <QString>

// A Persian keyboard types Persian digits (U+06F0 to U+06F9) and sometimes Arabic-Indic ones
// (U+0660 to U+0669); they are the digits they are. Gives the text with both written as ASCII
// digits, everything else as it stands, so that a number typed either way reads the same.
QString withAsciiDigits(const QString &text);
