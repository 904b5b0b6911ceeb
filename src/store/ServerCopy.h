#pragma once

#include <QString>

#include <functional>

// The register on a server and a Kelto database file, row for row: every row of the four tables
// written into a new file (a backup), or the rows of a file put in place of the server's (a
// restore). IDs are kept both ways, so a backup moves freely between the file and a server. Rows
// go a batch at a time (a cursor's fetches from the server, COPY to it), never the whole register
// in memory, and pending events run every few milliseconds meanwhile, as during a copy of the file.
namespace ServerCopy {

// Makes the empty SQLite file at path a Kelto database holding every row of the register on the
// open server, with the tables a new database file has. Called inside a ReadSnapshot, so that every
// row is read in one repeatable-read transaction; false, with error set, when a read or a write
// failed (the file then holds no table).
bool writeToFile(const QString &path, QString *error);

enum class Replaced {
    Done,
    // Two codes of the file are one code to the server (they differ only in the case of Latin
    // letters, or in how their digits are written); error names it. Nothing was changed.
    CodesClash,
    // A read or a write failed (the connection lost, say): nothing was changed; error says why.
    Failed,
};

// Puts every row of the Kelto database file at path (checked beforehand) in place of the rows of
// the register on the open server, in one transaction, and moves the tables' automatic numbers past
// the highest ID, so that later registrations do not clash with the rows restored. Codes of a file
// of an older format are stored with ASCII digits, as the file's own opening would store them.
// Other workstations wait for the end to write. beforeCommit runs once every row is written, just
// before the transaction is committed; false (with error) abandons it.
Replaced replaceFromFile(const QString &path, const std::function<bool(QString *error)> &beforeCommit, QString *error);

} // namespace ServerCopy
