#pragma once

#include "backup/CopyRoutine.h"

#include <QString>

#include <functional>

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
    // The backup cannot be restored onto a server (two of its codes are one code there); the
    // server's rows were not touched.
    CodesClash,
    // The user did not want the register on the server replaced; nothing was done.
    Declined,
};

struct Outcome {
    Result result = Result::Done;
    // What went wrong, in a sentence for the user (for CopyFailed: the system's description).
    QString message;
};

// On a server, a backup is the same file as a backup of the file, with every row read from the
// server in one repeatable-read transaction, written under a temporary name beside the destination
// and renamed once whole; a write under way on the program's connection gives WritePending. A
// sealed one is sealed from a plain file written to openedCopyPath() and removed again.
//
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

// Asked before a restore replaces the register on a server, with the server's database and host and
// the number of examinees it holds; true to go on.
using ConfirmReplacing = std::function<bool(const QString &database, const QString &host, qint64 examinees)>;
// What runs on a server once every row of a restore is written, before the transaction is
// committed; false (with error) abandons it.
using BeforeCommit = std::function<bool(QString *error)>;

// Restores a backup onto the register on the server. The file is checked as restore() checks it
// (a sealed one, named so, opened first under the passphrase, as restoreSealed() does); then
// confirm is asked, and every row of the four tables is replaced by the backup's in one
// transaction (ServerCopy::replaceFromFile): a restore that fails halfway changes nothing.
Outcome restoreOnServer(const QString &source, const QString &passphrase, const ConfirmReplacing &confirm,
                        const BeforeCommit &beforeCommit = {});

// The temporary file a sealed backup is opened into, beside the database; on a server also the
// plain file a sealed backup is made from. Never beside the backup: it holds the rows in the clear.
QString openedCopyPath();
// Removes an opened copy that a killed program left behind; called at start, before the database
// is opened (one program at a time runs on a program folder).
void removeLeftoverOpenedCopy();

} // namespace DatabaseCopies
