#pragma once

#include <QString>

// A sealed backup ("*.mdbS"): the plain backup encrypted under a passphrase, so that a copy that
// leaves the clinic (a USB stick, a mail) tells nothing to whoever finds it.
//
// The file: a header, then the plain bytes in chunks through libsodium's secret stream
// (XChaCha20-Poly1305), each chunk authenticated, the last one marked as the last. The header,
// little-endian: the magic text "Kelto sealed backup\n", the format version (u32), Argon2id's
// operations and memory limits (u64 each), the chunk size (u32), the plain length (u64), the
// salt (16 bytes), the stream's header (24 bytes), a key check (32 bytes: BLAKE2b keyed with the
// second half of the derived 64 bytes over everything before it) and a checksum of everything
// before it (32 bytes: BLAKE2b). The first chunk carries the whole header as additional data, so
// no byte of it can be changed unseen. The key check tells a wrong passphrase from damage; the
// checksum tells damage to the header from a wrong passphrase.
//
// Both directions work in chunks (never the whole database in memory) on the user-interface
// thread, letting pending events run every few milliseconds; the key is derived on a thread of
// its own while the events keep running. Neither shows a message.
namespace SealedBackup {

// Argon2id's limits for new files: libsodium's "interactive" ones (2 passes over 64 MiB). Each guess
// at a passphrase then costs an attacker 64 MiB and a tenth of a second of a core or more, on top
// of a passphrase of at least ten characters. "Moderate" (3 passes over 256 MiB) took five times as
// long here: more than a whole plain copy of a large database, and 256 MiB can be more than an old
// clinic PC has to spare when the backup is made on leaving. Files carry their own limits, so a
// later version can raise these and still open the files of this one.
constexpr quint64 opsLimit = 2;
constexpr quint64 memLimit = quint64(64) * 1024 * 1024;
// The format version written; files of a higher one are refused.
constexpr quint32 formatVersion = 1;
// Plain bytes in one chunk.
constexpr qint64 chunkSize = 64 * 1024;
// The shortest passphrase taken for a new sealed backup, in characters.
constexpr int minimumPassphraseLength = 10;

enum class Result {
    Done,
    // The passphrase does not open this file.
    WrongPassphrase,
    // A byte of the file was changed (or bytes were added after its end).
    Damaged,
    // The file ends before its last chunk.
    CutShort,
    // Written by a later version of the program, in a format this one does not know.
    NewerVersion,
    // Not a sealed backup at all (a plain backup renamed, say).
    NotSealed,
    // A file could not be read or written; the message gives the system's description.
    FileError,
};

struct Outcome {
    Result result = Result::Done;
    // What went wrong, in a sentence for the user that begins with the file's name; empty when done.
    QString message;
};

// The passphrase as it is turned into the key: composed (NFC), Persian and Arabic-Indic digits as
// ASCII digits, Farsi yeh and Arabic kaf as the yeh and keheh this program writes, so that the
// same passphrase typed on another keyboard opens the file.
QByteArray passphraseBytes(const QString &passphrase);

// Overwrites the passphrase's characters where they lie and empties it: for the caller's copy,
// once the seal or open it was asked for is done.
void forget(QString &passphrase);

// Whether the file's name ends as a sealed backup's does ("mdbS").
bool isSealedName(const QString &path);

// What can be checked of a sealed file without its passphrase: that it is one, of a known format
// version, with its header whole and its length right. Done, or the refusal open() would give.
Outcome inspect(const QString &sealed);

// Seals the plain file into `sealed`, through a temporary file beside it that takes its name
// (replacing a file of that name) only once it is whole. On failure nothing new is left behind and
// a file of that name stays as it was.
Outcome seal(const QString &plain, const QString &sealed, const QString &passphrase);

// Opens the sealed file into `plain` (a temporary name of the caller's, replaced when it exists),
// readable by its owner only. On any refusal or failure `plain` is removed again.
Outcome open(const QString &sealed, const QString &plain, const QString &passphrase);

} // namespace SealedBackup
