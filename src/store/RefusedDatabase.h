#pragma once

#include <QDateTime>
#include <QString>

// A database file the program refused to open is set aside, never deleted or overwritten, before
// a backup or a new database takes its place: the clinician or a technician may still get
// examinees out of it.
namespace RefusedDatabase {
// The name it takes in its own folder: "DBKelto-damaged-20240501-093005.mdb" for DBKelto.mdb.
QString asideFileName(const QString &databasePath, const QDateTime &when);

// Where the refused file is while what replaces it is made ready.
enum class Place {
    // Gone from the database's path: a new database is made there next.
    Moved,
    // Also left at the database's path (a second name, not a copy) for a whole copy to be renamed
    // over it, so that a process killed in between leaves the refused file where the next start
    // finds it again. Where the file system has no second names, it is moved.
    KeptUntilReplaced,
};

// Renames the file, with the journal files that belong to it, to its aside name (a number is
// added should that name be taken). Either all of them move or none does; movedTo then holds
// the file's new path, error the system's reason otherwise. A missing file is no failure: there
// is nothing to move and movedTo stays empty.
bool moveAside(const QString &databasePath, const QDateTime &when, QString *movedTo, QString *error,
               Place place = Place::Moved);
} // namespace RefusedDatabase
