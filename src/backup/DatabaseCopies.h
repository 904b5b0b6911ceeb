#pragma once

#include "backup/CopyRoutine.h"

#include <QString>

// Backing up the program's database to a file and restoring it from one, without a window: the
// backup window says what came of it.
namespace DatabaseCopies {

enum class Result {
    Done,
    // A write to the database has begun and is not finished: nothing was copied.
    WritePending,
    // The file to restore from is not a whole Kelto database: the database was not touched.
    NotKeltoDatabase,
    // The copy routine failed; whatever the copy was to replace is as it was.
    CopyFailed,
    // A sealed backup was refused (wrong passphrase, damaged, cut short, of a newer format, not
    // sealed at all): the database was not touched.
    SealedRefused,
};

struct Outcome {
    Result result = Result::Done;
    // What went wrong, in a sentence for the user (for CopyFailed: the system's description).
    QString message;
};

// Copies the database file to the destination. While the bytes are copied the program's
// connection holds a read transaction, so no write can begin and the copy is a whole database.
// The copy is checked (SQLite's quick check) before it takes the destination's name: a database
// damaged inside gives no backup (CopyFailed, with a message that says so and how to restore).
Outcome backUp(const QString &destination);

// Copies the backup over the database file, once it has been found to be a whole Kelto database;
// the restored file is readable by its owner only, as a database the program makes.
// beforeReplacing runs once the copy is whole beside the database, before it takes its name.
// The program's connection is closed first; after a failed copy it is opened again if it was open
// (a database the restore was to replace stays exactly as it was; none is made where none was).
// Data sources then find no rows until re-read.
Outcome restore(const QString &source, const BeforeRename &beforeReplacing = {});

// A backup sealed under the passphrase (see SealedBackup), made under the same read transaction as
// a plain one, once the database's pages are found whole (as a plain backup's copy is). The
// passphrase is not kept.
Outcome backUpSealed(const QString &destination, const QString &passphrase);

// Restores from a sealed backup: opened under the passphrase into a temporary file beside the
// database (openedCopyPath()), checked exactly as a plain backup is, and then renamed into the
// database's place (it is not copied a second time); removed again when it was not.
Outcome restoreSealed(const QString &source, const QString &passphrase, const BeforeRename &beforeReplacing = {});

// The temporary file a sealed backup is opened into, beside the database.
QString openedCopyPath();
// Removes an opened copy that a killed program left behind; called at start, before the database
// is opened (one program at a time runs on a program folder).
void removeLeftoverOpenedCopy();

} // namespace DatabaseCopies
