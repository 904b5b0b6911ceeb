#include "updater/DownloadResponse.h"

#include "common/TextValue.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

// Rounds to the nearest whole number, halves to the even neighbour, whatever rounding mode
// someone else left behind.
double roundHalfEven(double value) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return rounded;
}

} // namespace

StatusVerdict judgeStatus(const QString &headerText, const QString &address) {
    const QString status = headerText.mid(9, 3);
    if (status == QLatin1String("200") || status == QLatin1String("206"))
        return {true, {}};
    if (status == QLatin1String("204"))
        return {false, QStringLiteral("Nothing to download!")};
    if (status == QLatin1String("401"))
        return {false, QStringLiteral("Authorization failed!")};
    if (status == QLatin1String("404"))
        return {false, QStringLiteral("The file, ") + QLatin1Char('"') + address + QLatin1Char('"') +
                           QStringLiteral(" was not found!")};
    if (headerText.isEmpty() || headerText == QLatin1String("\r\n"))
        return {false, QStringLiteral("Cannot establish connection.")};

    const int firstCr = headerText.indexOf(QLatin1Char('\r'));
    QString statusLine = firstCr < 0 ? QString() : headerText.left(firstCr + 1);
    if (statusLine.isEmpty())
        statusLine = QStringLiteral("<nothing>");
    return {false, QStringLiteral("The server returned the following response:") + QStringLiteral("\r\r") + statusLine};
}

bool announcedLength(const QString &contentLength, qint32 *length) {
    const double rounded = roundHalfEven(textValue(contentLength));
    if (rounded > std::numeric_limits<qint32>::max() || rounded < std::numeric_limits<qint32>::min())
        return false;
    *length = static_cast<qint32>(rounded);
    return true;
}

QString progressPercent(qint32 received, qint32 announced) {
    const double percent = static_cast<double>(received) / static_cast<double>(announced) * 100.0;
    if (!std::isfinite(percent) || std::fabs(percent) > 1e15)
        return QStringLiteral("0");
    return QString::number(static_cast<qint64>(roundHalfEven(percent)));
}
