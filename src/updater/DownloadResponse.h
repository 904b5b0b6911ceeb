#pragma once

#include <QString>
#include <QtGlobal>

// How the downloader reads a response: its status, its announced length and the percentage
// shown after every chunk. No network here, so each rule can be checked on its own.

// What to do with a response. `proceed` means go on to read the body; otherwise `message` is
// the text to report to the host.
struct StatusVerdict {
    bool proceed = false;
    QString message;
};

// The header text is the whole response head as one text: status line first ("HTTP/1.1 200 OK"),
// lines ended by CR LF. A request that got no response at all has an empty head (or a bare
// CR LF). `address` is the transfer's current address, named in the "not found" message.
StatusVerdict judgeStatus(const QString &headerText, const QString &address);

// The "Content-Length" value as the downloader counts it: its leading decimal number, rounded
// to a signed 32-bit integer (halves to even); a text without a number is 0. False when the
// value does not fit in 32 bits.
bool announcedLength(const QString &contentLength, qint32 *length);

// bytes received / announced length × 100, rounded to a whole number with halves going to the
// even neighbour, written in decimal ("33", "12", "38").
QString progressPercent(qint32 received, qint32 announced);
