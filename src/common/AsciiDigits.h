#pragma once

#include <QString>

// A Persian keyboard types Persian digits (U+06F0 to U+06F9) and sometimes Arabic-Indic ones
// (U+0660 to U+0669). They are the digits they look like, and are kept and looked up as ASCII
// digits, so "۱۲" finds the examinee "12".
inline QString withAsciiDigits(QString text) {
    for (QChar &ch : text) {
        const char16_t code = ch.unicode();
        if (code >= 0x06F0 && code <= 0x06F9)
            ch = QChar(u'0' + (code - 0x06F0));
        else if (code >= 0x0660 && code <= 0x0669)
            ch = QChar(u'0' + (code - 0x0660));
    }
    return text;
}
