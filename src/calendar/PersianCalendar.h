#pragma once

#include <QDateTime>
#include <QString>

// The Persian solar calendar as Kelto counts it: day 0 is 21 March 1953, which is 1 Farvardin 1332,
// and no earlier day exists for it. Conversion goes one way only, from a Gregorian date to text.

// The Persian date of the calendar day of `date` (its time of day plays no part), as text in
// one of five layouts:
//   0  1385/07/05                      (month and day padded to two digits)
//   1  5 <month name> 1385
//   2  <weekday name> 1385/7/5
//   3  <weekday name> 5 <month name> 1385
//   4  1385.7.5
// All digits are ASCII. Any other format code, an invalid date and a date before 21 March 1953
// give an empty text.
QString PersianDateText(const QDateTime &date, int format = 0);

// Year, month and day of the day `dayCount` days after 1 Farvardin 1332. A negative count lies
// outside the calendar: the three outputs are then left as they are.
void PersianFromDayCount(qint64 dayCount, int &year, int &month, int &day);

// Whether the Persian year 1332 + `yearsAfterEpoch` has 366 days.
bool IsPersianLeapYear(int yearsAfterEpoch);
