#pragma once

#include <QString>

#include <functional>

class QFileDevice;

// The size of one piece of a copy.
constexpr qint64 copyChunkSize = 4048;

// What is done with a whole copy, under its temporary name, before it takes the destination's
// name: a check of it, or making room for it. False, with *error set, abandons the copy.
using BeforeRename = std::function<bool(const QString &wholeCopy, QString *error)>;

// Copies a file byte for byte in pieces of copyChunkSize bytes, letting the user-interface thread
// process its pending events between pieces (before the first, then every few milliseconds), so
// that windows keep redrawing and timers keep firing during a long copy. Shows no message.
//
// The bytes go to a temporary file beside the destination, readable by its owner only (as the
// database itself), which takes the destination's name (replacing a file of that name) only once
// it is whole, on the disk, and has passed beforeRename. So a copy that fails, or is cut off by
// the end of the process, never stands under the destination's name, and a file it was to
// replace stays exactly as it was. Temporary copies that earlier processes left in the
// destination's folder are removed once they are an hour old. On failure, *error names the file
// and says what went wrong: the system's own description, or that the disk is full.
//
// One copy at a time: a call made while another copy runs (from an event processed between its
// pieces) copies nothing and fails.
bool copyChunked(const QString &source, const QString &destination, QString *error = nullptr,
                 const BeforeRename &beforeRename = {});

// What writes a copy whole into the temporary file beside the destination (open, empty, readable by
// its owner only): through the device, or through its name (fileName()). False, with *error set,
// abandons the copy.
using WriteCopy = std::function<bool(QFileDevice &copy, QString *error)>;

// The same road for a copy written by other means than from a file (a backup of a register kept on
// a server): the temporary file beside the destination, written by write, put on the disk, passed
// through beforeRename, and only then given the destination's name. Leftovers and the rule of one
// copy at a time as above.
bool writeUnderTemporaryName(const QString &destination, const WriteCopy &write, QString *error = nullptr,
                             const BeforeRename &beforeRename = {});

// Puts a whole file that lies beside the destination (on the same disk) in its place without
// copying it: it is synced to the disk, passed to beforeRename, and renamed over the destination.
// On failure *error says why, and the destination is as it was.
bool moveIntoPlace(const QString &wholeFile, const QString &destination, QString *error = nullptr,
                   const BeforeRename &beforeRename = {});

// Whether a copy is running now.
bool isCopyRunning();
