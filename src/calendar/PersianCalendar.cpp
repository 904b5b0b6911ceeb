#include "calendar/PersianCalendar.h"

#include <QDate>

namespace {

const QDate firstDayOfCalendar(1953, 3, 21);
constexpr int firstPersianYear = 1332;

// The first six months have 31 days, the next five 30, the last 29 or (leap year) 30.
constexpr int longMonthLength = 31;
constexpr int longMonths = 6;
constexpr int shortMonthLength = 30;
constexpr int daysInLongMonths = longMonths * longMonthLength;

const char *const monthNames[12] = {
    "فروردين", "ارديبهشت", "خرداد", "تير", "مرداد", "شهريور", "مهر", "آبان", "آذر", "دي", "بهمن", "اسفند",
};

// Sunday first, Saturday last.
const char *const weekdayNames[7] = {
    "يکشنبه", "دوشنبه", "سه شنبه", "چهارشنبه", "پنجشنبه", "جمعه", "شنبه",
};

int persianYearLength(int yearsAfterEpoch) { return IsPersianLeapYear(yearsAfterEpoch) ? 366 : 365; }

QString monthName(int month) { return QString::fromUtf8(monthNames[month - 1]); }

// QDate counts Monday as 1 and Sunday as 7; the table starts with Sunday.
QString weekdayName(const QDate &date) { return QString::fromUtf8(weekdayNames[date.dayOfWeek() % 7]); }

QString twoDigits(int number) { return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')); }

QString layOut(int format, int year, int month, int day, const QDate &date) {
    const QString space = QStringLiteral(" ");
    const QString y = QString::number(year);
    const QString m = QString::number(month);
    const QString d = QString::number(day);
    switch (format) {
    case 0:
        return y + QLatin1Char('/') + twoDigits(month) + QLatin1Char('/') + twoDigits(day);
    case 1:
        return d + space + monthName(month) + space + y;
    case 2:
        return weekdayName(date) + space + y + QLatin1Char('/') + m + QLatin1Char('/') + d;
    case 3:
        return weekdayName(date) + space + d + space + monthName(month) + space + y;
    case 4:
        return y + QLatin1Char('.') + m + QLatin1Char('.') + d;
    default:
        return {};
    }
}

} // namespace

bool IsPersianLeapYear(int yearsAfterEpoch) {
    const int x = firstPersianYear + yearsAfterEpoch - 1309;
    return ((x % 32) - (x / 32)) % 4 == 0;
}

void PersianFromDayCount(qint64 dayCount, int &year, int &month, int &day) {
    if (dayCount < 0)
        return;
    // Peel off whole years; what is left is the day within the year, counted from 0.
    int yearsAfterEpoch = 0;
    qint64 dayOfYear = dayCount;
    while (dayOfYear >= persianYearLength(yearsAfterEpoch)) {
        dayOfYear -= persianYearLength(yearsAfterEpoch);
        ++yearsAfterEpoch;
    }
    year = firstPersianYear + yearsAfterEpoch;
    if (dayOfYear < daysInLongMonths) {
        month = int(dayOfYear / longMonthLength) + 1;
        day = int(dayOfYear % longMonthLength) + 1;
    } else {
        dayOfYear -= daysInLongMonths;
        month = int(dayOfYear / shortMonthLength) + longMonths + 1;
        day = int(dayOfYear % shortMonthLength) + 1;
    }
}

QString PersianDateText(const QDateTime &date, int format) {
    const QDate calendarDay = date.date();
    // An invalid date would otherwise count as the calendar's first day; days before
    // 21 March 1953 lie outside the calendar and have no year, month or day to show.
    if (!calendarDay.isValid() || calendarDay < firstDayOfCalendar)
        return {};
    int year = 0;
    int month = 0;
    int day = 0;
    PersianFromDayCount(firstDayOfCalendar.daysTo(calendarDay), year, month, day);
    return layOut(format, year, month, day, calendarDay);
}
