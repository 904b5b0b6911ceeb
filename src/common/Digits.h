#pragma once

#include <QChar>
#include <QString>

// A Persian keyboard types Persian digits (U+06F0 to U+06F9), sometimes Arabic-Indic ones (U+0660
// to U+0669). Boxes that take digits take these as the digits they are and store ASCII digits.

// The ASCII digit for an ASCII, Persian or Arabic-Indic digit; a null QChar for anything else.
QChar asciiDigit(QChar ch);

// The text with every Persian and Arabic-Indic digit replaced by its ASCII digit.
QString foldDigits(const QString &text);
