#pragma once

#include <QString>
#include <QTime>

// The names the backup window works with.
namespace BackupFileName {
// Backups are kept here, below the program's folder; both file dialogs open in it.
inline QString folder() { return QStringLiteral("Back"); }
// Both file dialogs offer this type: its description (with its trailing blank), "|", its pattern.
inline QString typeFilter() { return QStringLiteral("Database Backup |*.mdbB"); }
// The same as a Qt file dialog writes it: "Database Backup (*.mdbB)".
inline QString dialogFilter() {
    const QString filter = typeFilter();
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    return filter.left(bar) + QLatin1Char('(') + filter.mid(bar + 1) + QLatin1Char(')');
}
inline QString suffix() { return QStringLiteral("mdbB"); }

// The time on the clock label: hours without a leading zero on a 24-hour clock, ".", minutes
// ("9.05", "14.30"); always in ASCII digits.
inline QString clockText(const QTime &time) { return time.toString(QStringLiteral("h.mm")); }

// The name the save dialog proposes: built from the date label's copy and the clock label.
inline QString proposed(const QString &dateText, const QString &clockText) {
    return QStringLiteral("در تاريخ") + dateText + QStringLiteral(" ساعت)") + clockText + QStringLiteral(")") +
           QStringLiteral(".mdbB");
}
} // namespace BackupFileName
