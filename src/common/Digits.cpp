#include "common/Digits.h"

QChar asciiDigit(QChar ch) {
    const char16_t code = ch.unicode();
    if (code >= u'0' && code <= u'9')
        return ch;
    if (code >= 0x06F0 && code <= 0x06F9)
        return QChar(u'0' + (code - 0x06F0));
    if (code >= 0x0660 && code <= 0x0669)
        return QChar(u'0' + (code - 0x0660));
    return {};
}

QString foldDigits(const QString &text) {
    QString folded = text;
    for (QChar &ch : folded) {
        if (const QChar digit = asciiDigit(ch); !digit.isNull())
            ch = digit;
    }
    return folded;
}
