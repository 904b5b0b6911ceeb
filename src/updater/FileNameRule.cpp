#include "updater/FileNameRule.h"

namespace {

constexpr int kLongestAddress = 32768;

// Backwards search for `ch` from the second-last character down to the first; -1 if absent.
// The last character is never looked at, so a trailing "/" or "." does not count.
int searchBeforeLast(const QString &text, QChar ch) {
    for (int i = text.size() - 2; i >= 0; --i) {
        if (text.at(i) == ch)
            return i;
    }
    return -1;
}

} // namespace

QString localFileName(const QString &address) {
    if (address.size() < 2 || address.size() > kLongestAddress)
        return {};
    const QString scheme = QStringLiteral("http://");
    if (!address.startsWith(scheme, Qt::CaseSensitive) || address == scheme)
        return {};
    const int slash = searchBeforeLast(address, QLatin1Char('/'));
    if (slash < 0)
        return {};
    const QString candidate = address.mid(slash + 1);
    return searchBeforeLast(candidate, QLatin1Char('.')) >= 0 ? candidate : QString();
}
