#pragma once

#include <QString>

// A Persian keyboard types Persian digits (U+06F0 to U+06F9) and sometimes Arabic-Indic ones
// (U+0660 to U+0669). They are the digits they look like: boxes that take digits keep them as
// ASCII digits, the way codes and numbers are stored and looked up. Everything else is kept.
inline QString asciiDigits(QString text) {
    for (QChar &ch : text) {
        const char16_t unit = ch.unicode();
        if (unit >= 0x06F0 && unit <= 0x06F9)
            ch = QChar(u'0' + (unit - 0x06F0));
        else if (unit >= 0x0660 && unit <= 0x0669)
            ch = QChar(u'0' + (unit - 0x0660));
    }
    return text;
}
