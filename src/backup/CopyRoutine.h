#pragma once

#include <QString>

// The size of one piece of a copy.
constexpr qint64 copyChunkSize = 4048;

// Copies a file byte for byte in pieces of copyChunkSize bytes, letting the user-interface thread
// process its pending events between pieces (before the first, then every few milliseconds), so
// that windows keep redrawing and timers keep firing during a long copy. Shows no message.
//
// A destination that exists is replaced only once the copy is whole: the bytes go to a temporary
// file beside it, which is renamed over it at the end, so a failed copy leaves it exactly as it
// was (and an older, longer file never keeps bytes past the new length). A new destination that
// cannot be finished is removed again. On failure, *error names the file and gives the system's
// own description of what went wrong.
//
// One copy at a time: a call made while another copy runs (from an event processed between its
// pieces) copies nothing and fails.
bool copyChunked(const QString &source, const QString &destination, QString *error = nullptr);

// Whether a copy is running now.
bool isCopyRunning();
