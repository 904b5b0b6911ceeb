#pragma once

#include <QString>
#include <QStringList>
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
// A sealed backup (encrypted under a passphrase) has a suffix and a type of its own in the save
// dialog; the open dialog offers both kinds under the one description.
inline QString sealedSuffix() { return QStringLiteral("mdbS"); }
inline QString sealedDialogFilter() { return QStringLiteral("Sealed Database Backup (*.mdbS)"); }
inline QStringList restorePatterns() { return {QStringLiteral("*.mdbB"), QStringLiteral("*.mdbS")}; }
inline QString restoreDialogFilter() {
    const QString filter = typeFilter();
    return filter.left(filter.indexOf(QLatin1Char('|'))) + QLatin1Char('(') + restorePatterns().join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

// The path with the suffix of its kind: a backup's suffix ("mdbB" or "mdbS", any case) is replaced,
// any other name gets it added.
inline QString withSuffix(const QString &path, bool sealed) {
    const QString wanted = QLatin1Char('.') + (sealed ? sealedSuffix() : suffix());
    for (const QString &pattern : restorePatterns()) {
        if (path.endsWith(pattern.mid(1), Qt::CaseInsensitive))
            return path.chopped(pattern.size() - 1) + wanted;
    }
    return path + wanted;
}

// The time on the clock label: hours without a leading zero on a 24-hour clock, ".", minutes
// ("9.05", "14.30"); always in ASCII digits.
inline QString clockText(const QTime &time) { return time.toString(QStringLiteral("h.mm")); }

// The name the save dialog proposes: built from the date label's copy and the clock label.
inline QString proposed(const QString &dateText, const QString &clockText, bool sealed = false) {
    return QStringLiteral("در تاريخ") + dateText + QStringLiteral(" ساعت)") + clockText + QStringLiteral(")") +
           QLatin1Char('.') + (sealed ? sealedSuffix() : suffix());
}
} // namespace BackupFileName
