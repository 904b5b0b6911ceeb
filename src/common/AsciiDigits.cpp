#include "common/AsciiDigits.h"

QString withAsciiDigits(const QString &text) {
    QString folded = text;
    for (QChar &ch : folded) {
        const char16_t code = ch.unicode();
        if (code >= 0x06F0 && code <= 0x06F9)
            ch = QChar(u'0' + (code - 0x06F0));
        else if (code >= 0x0660 && code <= 0x0669)
            ch = QChar(u'0' + (code - 0x0660));
    }
    return folded;
}
