#include "common/TextValue.h"

#include <QLocale>

namespace {

bool isSkipped(QChar ch) { return ch == QLatin1Char(' ') || ch == QLatin1Char('\t') || ch == QLatin1Char('\n'); }

bool isDigit(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); }

// Keeps the characters that form the leading number: an optional sign, digits, one point,
// then an optional exponent that has at least one digit.
QString leadingNumber(const QString &text) {
    QString number;
    bool sawDigit = false;
    bool sawPoint = false;
    int i = 0;
    auto next = [&]() {
        while (i < text.size() && isSkipped(text.at(i)))
            ++i;
        return i < text.size() ? text.at(i) : QChar();
    };
    QChar ch = next();
    if (ch == QLatin1Char('+') || ch == QLatin1Char('-')) {
        number += ch;
        ++i;
    }
    for (ch = next(); !ch.isNull(); ch = next()) {
        if (isDigit(ch)) {
            sawDigit = true;
        } else if (ch == QLatin1Char('.') && !sawPoint) {
            sawPoint = true;
        } else {
            break;
        }
        number += ch;
        ++i;
    }
    if (!sawDigit)
        return {};
    if (ch == QLatin1Char('e') || ch == QLatin1Char('E')) {
        const int mark = i;
        QString exponent = QStringLiteral("e");
        ++i;
        ch = next();
        if (ch == QLatin1Char('+') || ch == QLatin1Char('-')) {
            exponent += ch;
            ++i;
        }
        bool exponentDigits = false;
        for (ch = next(); isDigit(ch); ch = next()) {
            exponent += ch;
            exponentDigits = true;
            ++i;
        }
        if (exponentDigits)
            number += exponent;
        else
            i = mark;
    }
    return number;
}

// A text of decimal digits alone (every stored answer is one): its value read directly, exactly
// as the general reading below would give it (up to 15 digits every step is a whole double).
bool readPlainDigits(const QString &text, double *value) {
    if (text.isEmpty() || text.size() > 15)
        return false;
    double number = 0;
    for (QChar ch : text) {
        if (!isDigit(ch))
            return false;
        number = number * 10 + (ch.unicode() - u'0');
    }
    *value = number;
    return true;
}

} // namespace

double textValue(const QString &text) {
    if (double plain; readPlainDigits(text, &plain))
        return plain;
    const QString number = leadingNumber(text);
    if (number.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    return ok ? value : 0.0;
}
