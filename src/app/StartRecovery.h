#pragma once

#include <QString>

// The way back when the database was refused at start (damaged, foreign or unwritable): the
// recovery box, then the refused file set aside and a backup or a new database in its place.
// Returns true once a database is open; false when the user leaves (or nothing could be done),
// with the file still where it was.
bool recoverRefusedDatabase(const QString &databasePath, const QString &reason);
