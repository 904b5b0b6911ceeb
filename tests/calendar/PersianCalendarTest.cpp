#include "calendar/PersianCalendar.h"

#include <QTest>

#include <limits>

namespace {

const QDate firstDay(1953, 3, 21);

QDateTime atMidday(const QDate &date) { return QDateTime(date, QTime(12, 0)); }

int monthLength(int year, int month) {
    if (month <= 6)
        return 31;
    if (month <= 11)
        return 30;
    return IsPersianLeapYear(year - 1332) ? 30 : 29;
}

QString triple(int year, int month, int day) { return QStringLiteral("%1/%2/%3").arg(year).arg(month).arg(day); }

// The weekday name is everything before the last space of layout 2 ("<weekday> Y/M/D").
QString weekdayOf(const QString &layoutTwo) { return layoutTwo.left(layoutTwo.lastIndexOf(QLatin1Char(' '))); }

} // namespace

class PersianCalendarTest : public QObject {
    Q_OBJECT
private slots:
    void convertsKnownDates_data();
    void convertsKnownDates();
    void laysOutEveryFormat_data();
    void laysOutEveryFormat();
    void namesEveryMonth_data();
    void namesEveryMonth();
    void namesEveryWeekday_data();
    void namesEveryWeekday();
    void timeOfDayPlaysNoPart_data();
    void timeOfDayPlaysNoPart();
    void unknownFormatGivesEmptyText_data();
    void unknownFormatGivesEmptyText();
    void formatZeroIsTheDefault();
    void dateOutsideTheCalendarGivesEmptyText_data();
    void dateOutsideTheCalendarGivesEmptyText();
    void leapYearsFrom1332To1440();
    void negativeDayCountLeavesOutputsAlone_data();
    void negativeDayCountLeavesOutputsAlone();
    void formatZeroIsTenCharactersUpToYear9999();
    void everyDayFollowsTheDayBefore();
};

void PersianCalendarTest::convertsKnownDates_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("first day") << QDate(1953, 3, 21) << "1332/01/01";
    QTest::newRow("last day of month 6") << QDate(1953, 9, 22) << "1332/06/31";
    QTest::newRow("first day of month 7") << QDate(1953, 9, 23) << "1332/07/01";
    QTest::newRow("end of common year 1332") << QDate(1954, 3, 20) << "1332/12/29";
    QTest::newRow("start of 1333") << QDate(1954, 3, 21) << "1333/01/01";
    QTest::newRow("end of leap year 1333") << QDate(1955, 3, 21) << "1333/12/30";
    QTest::newRow("end of 1402") << QDate(2024, 3, 19) << "1402/12/29";
    QTest::newRow("start of 1403") << QDate(2024, 3, 20) << "1403/01/01";
    QTest::newRow("end of leap year 1403") << QDate(2025, 3, 20) << "1403/12/30";
    QTest::newRow("start of 1404") << QDate(2025, 3, 21) << "1404/01/01";
    QTest::newRow("mid-winter 1357") << QDate(1979, 2, 11) << "1357/11/22";
    QTest::newRow("end of leap year 1436") << QDate(2058, 3, 20) << "1436/12/30";
    QTest::newRow("end of leap year 1437") << QDate(2059, 3, 21) << "1437/12/30";
    QTest::newRow("start of 1438") << QDate(2059, 3, 22) << "1438/01/01";
}

void PersianCalendarTest::convertsKnownDates() {
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(PersianDateText(atMidday(date), 0), text);
}

void PersianCalendarTest::laysOutEveryFormat_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    const QString wednesday = QStringLiteral("چهارشنبه");
    const QString mehr = QStringLiteral("مهر");
    QTest::newRow("0 padded") << 0 << "1385/07/05";
    QTest::newRow("1 day month-name year") << 1 << QStringLiteral("5 ") + mehr + QStringLiteral(" 1385");
    QTest::newRow("2 weekday Y/M/D") << 2 << wednesday + QStringLiteral(" 1385/7/5");
    QTest::newRow("3 weekday day month-name year")
        << 3 << wednesday + QStringLiteral(" 5 ") + mehr + QStringLiteral(" 1385");
    QTest::newRow("4 dotted") << 4 << "1385.7.5";
}

void PersianCalendarTest::laysOutEveryFormat() {
    QFETCH(int, format);
    QFETCH(QString, text);
    QCOMPARE(PersianDateText(atMidday(QDate(2006, 9, 27)), format), text);
}

void PersianCalendarTest::namesEveryMonth_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << QDate(2006, 3, 21) << QStringLiteral("1 فروردين 1385");
    QTest::newRow("2") << QDate(2006, 4, 21) << QStringLiteral("1 ارديبهشت 1385");
    QTest::newRow("3") << QDate(2006, 5, 22) << QStringLiteral("1 خرداد 1385");
    QTest::newRow("4") << QDate(2006, 6, 22) << QStringLiteral("1 تير 1385");
    QTest::newRow("5") << QDate(2006, 7, 23) << QStringLiteral("1 مرداد 1385");
    QTest::newRow("6") << QDate(2006, 8, 23) << QStringLiteral("1 شهريور 1385");
    QTest::newRow("7") << QDate(2006, 9, 23) << QStringLiteral("1 مهر 1385");
    QTest::newRow("8") << QDate(2006, 10, 23) << QStringLiteral("1 آبان 1385");
    QTest::newRow("9") << QDate(2006, 11, 22) << QStringLiteral("1 آذر 1385");
    QTest::newRow("10") << QDate(2006, 12, 22) << QStringLiteral("1 دي 1385");
    QTest::newRow("11") << QDate(2007, 1, 21) << QStringLiteral("1 بهمن 1385");
    QTest::newRow("12 first day") << QDate(2007, 2, 20) << QStringLiteral("1 اسفند 1385");
    QTest::newRow("12 last day") << QDate(2007, 3, 20) << QStringLiteral("29 اسفند 1385");
}

void PersianCalendarTest::namesEveryMonth() {
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(PersianDateText(atMidday(date), 1), text);
}

void PersianCalendarTest::namesEveryWeekday_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("Sunday") << QDate(2006, 9, 24) << QStringLiteral("يکشنبه 2 مهر 1385");
    QTest::newRow("Monday") << QDate(2006, 9, 25) << QStringLiteral("دوشنبه 3 مهر 1385");
    QTest::newRow("Tuesday") << QDate(2006, 9, 26) << QStringLiteral("سه شنبه 4 مهر 1385");
    QTest::newRow("Wednesday") << QDate(2006, 9, 27) << QStringLiteral("چهارشنبه 5 مهر 1385");
    QTest::newRow("Thursday") << QDate(2006, 9, 28) << QStringLiteral("پنجشنبه 6 مهر 1385");
    QTest::newRow("Friday") << QDate(2006, 9, 29) << QStringLiteral("جمعه 7 مهر 1385");
    QTest::newRow("Saturday") << QDate(2006, 9, 30) << QStringLiteral("شنبه 8 مهر 1385");
}

void PersianCalendarTest::namesEveryWeekday() {
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(PersianDateText(atMidday(date), 3), text);
}

void PersianCalendarTest::timeOfDayPlaysNoPart_data() {
    QTest::addColumn<int>("format");
    for (int format = 0; format <= 4; ++format)
        QTest::addRow("format %d", format) << format;
}

void PersianCalendarTest::timeOfDayPlaysNoPart() {
    QFETCH(int, format);
    const QDate day(2024, 3, 19); // the last day of 1402: the next day starts a new year
    const QString lastMinute = PersianDateText(QDateTime(day, QTime(23, 59, 59, 999)), format);
    QCOMPARE(PersianDateText(QDateTime(day, QTime(0, 0)), format), lastMinute);
    QVERIFY(!lastMinute.isEmpty());
    QVERIFY(PersianDateText(QDateTime(day.addDays(1), QTime(0, 0)), format) != lastMinute);
}

void PersianCalendarTest::unknownFormatGivesEmptyText_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("5") << 5;
    QTest::newRow("-1") << -1;
    QTest::newRow("10") << 10;
    QTest::newRow("largest") << std::numeric_limits<int>::max();
    QTest::newRow("smallest") << std::numeric_limits<int>::min();
}

void PersianCalendarTest::unknownFormatGivesEmptyText() {
    QFETCH(int, format);
    const QString text = PersianDateText(atMidday(QDate(2006, 9, 27)), format);
    QVERIFY2(text.isEmpty(), qPrintable(text));
}

void PersianCalendarTest::formatZeroIsTheDefault() {
    const QDateTime date = atMidday(QDate(1979, 2, 11));
    QCOMPARE(PersianDateText(date), QStringLiteral("1357/11/22"));
}

void PersianCalendarTest::dateOutsideTheCalendarGivesEmptyText_data() {
    QTest::addColumn<QDateTime>("date");
    QTest::newRow("day before the first day") << QDateTime(QDate(1953, 3, 20), QTime(23, 59));
    QTest::newRow("long before") << atMidday(QDate(1900, 1, 1));
    QTest::newRow("invalid date") << QDateTime();
}

void PersianCalendarTest::dateOutsideTheCalendarGivesEmptyText() {
    QFETCH(QDateTime, date);
    for (int format = 0; format <= 4; ++format) {
        const QString text = PersianDateText(date, format);
        QVERIFY2(text.isEmpty(), qPrintable(QStringLiteral("format %1: %2").arg(format).arg(text)));
    }
}

void PersianCalendarTest::leapYearsFrom1332To1440() {
    const QList<int> leapYears = {1333, 1337, 1342, 1346, 1350, 1354, 1358, 1362, 1366, 1370, 1375, 1379, 1383, 1387,
                                  1391, 1395, 1399, 1403, 1408, 1412, 1416, 1420, 1424, 1428, 1432, 1436, 1437};
    for (int year = 1332; year <= 1440; ++year) {
        QVERIFY2(IsPersianLeapYear(year - 1332) == leapYears.contains(year),
                 qPrintable(QStringLiteral("year %1").arg(year)));
    }
}

void PersianCalendarTest::negativeDayCountLeavesOutputsAlone_data() {
    QTest::addColumn<qint64>("dayCount");
    QTest::newRow("-1") << qint64(-1);
    QTest::newRow("one year back") << qint64(-365);
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min();
}

void PersianCalendarTest::negativeDayCountLeavesOutputsAlone() {
    QFETCH(qint64, dayCount);
    int year = -7;
    int month = 99;
    int day = 1234;
    PersianFromDayCount(dayCount, year, month, day);
    QCOMPARE(year, -7);
    QCOMPARE(month, 99);
    QCOMPARE(day, 1234);
}

void PersianCalendarTest::formatZeroIsTenCharactersUpToYear9999() {
    for (int gregorianYear = 1953; gregorianYear <= 10620; ++gregorianYear) {
        for (const QDate &date : {QDate(gregorianYear, 3, 21), QDate(gregorianYear, 12, 31)}) {
            const QString text = PersianDateText(atMidday(date), 0);
            if (text.size() != 10)
                QFAIL(qPrintable(date.toString(Qt::ISODate) + QStringLiteral(" gives ") + text));
        }
    }
    QCOMPARE(PersianDateText(atMidday(QDate(10621, 5, 23)), 0), QStringLiteral("9999/12/29"));
}

// Walks day by day from the first day to the end of 2100: each day must be the day after the
// one before it, with months and years rolling over at their lengths.
void PersianCalendarTest::everyDayFollowsTheDayBefore() {
    const QDate lastDay(2100, 12, 31);
    int year = 0;
    int month = 0;
    int day = 0;
    PersianFromDayCount(0, year, month, day);
    QCOMPARE(triple(year, month, day), QStringLiteral("1332/1/1"));
    QString previousWeekday = weekdayOf(PersianDateText(atMidday(firstDay), 2));
    QStringList weekdaysSeen{previousWeekday};
    int expectedYear = year;
    int expectedMonth = month;
    int expectedDay = day;
    for (qint64 dayCount = 1; dayCount <= firstDay.daysTo(lastDay); ++dayCount) {
        if (expectedDay < monthLength(expectedYear, expectedMonth)) {
            ++expectedDay;
        } else {
            expectedDay = 1;
            if (expectedMonth < 12) {
                ++expectedMonth;
            } else {
                expectedMonth = 1;
                ++expectedYear;
            }
        }
        PersianFromDayCount(dayCount, year, month, day);
        const QDate date = firstDay.addDays(dayCount);
        const QString where = date.toString(Qt::ISODate) + QStringLiteral(" gives ");
        if (year != expectedYear || month != expectedMonth || day != expectedDay)
            QFAIL(qPrintable(where + triple(year, month, day) + QStringLiteral(", expected ") +
                             triple(expectedYear, expectedMonth, expectedDay)));

        const QString padded =
            QStringLiteral("%1/%2/%3").arg(year).arg(month, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'));
        const QString text = PersianDateText(QDateTime(date, QTime(0, 0)), 0);
        if (text != padded)
            QFAIL(qPrintable(where + text + QStringLiteral(", expected ") + padded));

        // Weekday names follow one another in a cycle of seven.
        const QString weekday = weekdayOf(PersianDateText(QDateTime(date, QTime(0, 0)), 2));
        if (weekdaysSeen.size() < 7) {
            if (weekdaysSeen.contains(weekday))
                QFAIL(qPrintable(where + weekday + QStringLiteral(" again within one week")));
            weekdaysSeen.append(weekday);
        } else if (weekday != weekdaysSeen.at(int(dayCount % 7))) {
            QFAIL(qPrintable(where + weekday + QStringLiteral(" out of turn")));
        }
    }
    QCOMPARE(triple(year, month, day), QStringLiteral("1479/10/9"));
}

QTEST_GUILESS_MAIN(PersianCalendarTest)
#include "PersianCalendarTest.moc"
