#include "backup/SealedBackup.h"

#include "backup/BackupFileName.h"
#include "common/EventTurns.h"
#include "common/AsciiDigits.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <sodium.h>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace SealedBackup {
namespace {

const QByteArray magic("Kelto sealed backup\n");
constexpr qsizetype versionBytes = 4;
constexpr qsizetype saltBytes = crypto_pwhash_SALTBYTES;
constexpr qsizetype streamHeaderBytes = crypto_secretstream_xchacha20poly1305_HEADERBYTES;
constexpr qsizetype hashBytes = 32;
constexpr qsizetype keyBytes = crypto_secretstream_xchacha20poly1305_KEYBYTES;
constexpr qint64 sealBytes = crypto_secretstream_xchacha20poly1305_ABYTES;
// Offsets in the header of version 1.
constexpr qsizetype opsAt = 20 + versionBytes;
constexpr qsizetype memAt = opsAt + 8;
constexpr qsizetype chunkAt = memAt + 8;
constexpr qsizetype lengthAt = chunkAt + 4;
constexpr qsizetype saltAt = lengthAt + 8;
constexpr qsizetype streamHeaderAt = saltAt + saltBytes;
constexpr qsizetype keyCheckAt = streamHeaderAt + streamHeaderBytes;
constexpr qsizetype checksumAt = keyCheckAt + hashBytes;
constexpr qsizetype headerBytes = checksumAt + hashBytes;
// What a file may ask of the reader before it is taken as damaged: a crafted header must not make
// the program allocate gigabytes or work for hours.
constexpr quint64 largestOpsLimit = 16;
constexpr quint64 largestMemLimit = quint64(1) << 30;
constexpr quint32 largestChunk = 16 * 1024 * 1024;

// Bytes that are wiped when they go.
template <qsizetype N> struct Secret {
    unsigned char bytes[N];
    Secret() = default;
    Secret(const Secret &) = delete;
    Secret &operator=(const Secret &) = delete;
    ~Secret() { sodium_memzero(bytes, N); }
};

// The stream's key and the key of the key check, derived together.
struct Keys {
    Secret<keyBytes + hashBytes> derived;
    const unsigned char *stream() const { return derived.bytes; }
    const unsigned char *check() const { return derived.bytes + keyBytes; }
};

const unsigned char *bytes(const QByteArray &array) {
    return reinterpret_cast<const unsigned char *>(array.constData());
}
unsigned char *bytes(QByteArray &array) { return reinterpret_cast<unsigned char *>(array.data()); }

void wipe(QByteArray &array) {
    if (!array.isEmpty())
        sodium_memzero(array.data(), size_t(array.size()));
}

void wipe(QString &text) {
    if (!text.isEmpty())
        sodium_memzero(text.data(), size_t(text.size()) * sizeof(QChar));
}

QString fileName(const QString &path) { return QDir::toNativeSeparators(path); }

Outcome refused(Result result, const QString &path) {
    QString text;
    switch (result) {
    case Result::WrongPassphrase:
        text = QStringLiteral("گذرواژه درست نيست.");
        break;
    case Result::Damaged:
        text = QStringLiteral("فايل پشتيبان آسيب ديده است.");
        break;
    case Result::CutShort:
        text = QStringLiteral("فايل پشتيبان ناقص است.");
        break;
    case Result::NewerVersion:
        text = QStringLiteral("اين فايل با نسخه جديدتري از برنامه ساخته شده است.");
        break;
    case Result::NotSealed:
        text = QStringLiteral("اين فايل نسخه پشتيبان رمزگذاري شده نيست.");
        break;
    case Result::FileError:
    case Result::Done:
        break;
    }
    return {result, fileName(path) + QStringLiteral(": ") + text};
}

Outcome fileError(const QString &path, const QString &description) {
    return {Result::FileError, fileName(path) + QStringLiteral(": ") + description};
}

Outcome fileError(const QFileDevice &file) { return fileError(file.fileName(), file.errorString()); }

// Argon2id (it takes a few hundred milliseconds) with the events running. False when the memory it
// needs cannot be had.
bool deriveKeys(const QString &passphrase, const unsigned char *salt, quint64 ops, quint64 mem, Keys &keys) {
    QByteArray secret = passphraseBytes(passphrase);
    const bool done = whileEventsTurn([&]() {
        return crypto_pwhash(keys.derived.bytes, sizeof keys.derived.bytes, secret.constData(), quint64(secret.size()),
                             salt, ops, size_t(mem), crypto_pwhash_ALG_ARGON2ID13) == 0;
    });
    wipe(secret);
    return done;
}

QString noMemory() { return QStringLiteral("حافظه کافي براي ساختن کليد نيست."); }

QByteArray keyCheck(const QByteArray &header, const Keys &keys) {
    QByteArray check(hashBytes, Qt::Uninitialized);
    crypto_generichash(bytes(check), hashBytes, bytes(header), keyCheckAt, keys.check(), hashBytes);
    return check;
}

QByteArray checksum(const QByteArray &header) {
    QByteArray sum(hashBytes, Qt::Uninitialized);
    crypto_generichash(bytes(sum), hashBytes, bytes(header), checksumAt, nullptr, 0);
    return sum;
}

template <typename T> void put(QByteArray &header, qsizetype at, T value) {
    qToLittleEndian(value, header.data() + at);
}

template <typename T> T take(const QByteArray &header, qsizetype at) {
    return qFromLittleEndian<T>(header.constData() + at);
}

// The number of chunks a plain length is written in: the last one may be short, and an empty file
// is one empty chunk.
qint64 chunkCount(qint64 length, qint64 chunk) { return length == 0 ? 1 : (length + chunk - 1) / chunk; }

bool sodiumReady() { return sodium_init() >= 0; }

// The header of a file opened for reading, checked as far as it can be without the passphrase.
Outcome readHeader(QFile &file, QByteArray &header) {
    header = file.read(headerBytes);
    if (header.isEmpty() || !magic.startsWith(header.left(magic.size())))
        return refused(Result::NotSealed, file.fileName());
    if (header.size() < opsAt)
        return refused(Result::CutShort, file.fileName());
    const quint32 version = take<quint32>(header, magic.size());
    if (version > formatVersion)
        return refused(Result::NewerVersion, file.fileName());
    if (header.size() < headerBytes)
        return refused(Result::CutShort, file.fileName());
    if (version == 0 || sodium_memcmp(checksum(header).constData(), header.constData() + checksumAt, hashBytes) != 0)
        return refused(Result::Damaged, file.fileName());
    const quint64 ops = take<quint64>(header, opsAt);
    const quint64 mem = take<quint64>(header, memAt);
    const quint32 chunk = take<quint32>(header, chunkAt);
    const qint64 length = take<qint64>(header, lengthAt);
    if (ops < crypto_pwhash_OPSLIMIT_MIN || ops > largestOpsLimit || mem < crypto_pwhash_MEMLIMIT_MIN ||
        mem > largestMemLimit || chunk == 0 || chunk > largestChunk || length < 0)
        return refused(Result::Damaged, file.fileName());
    const qint64 expected = headerBytes + length + chunkCount(length, chunk) * sealBytes;
    if (file.size() < expected)
        return refused(Result::CutShort, file.fileName());
    if (file.size() > expected)
        return refused(Result::Damaged, file.fileName());
    return {};
}

Outcome sealInto(QFile &input, QSaveFile &output, const QString &passphrase) {
    const qint64 length = input.size();
    QByteArray header(headerBytes, '\0');
    header.replace(0, magic.size(), magic);
    put<quint32>(header, magic.size(), formatVersion);
    put<quint64>(header, opsAt, opsLimit);
    put<quint64>(header, memAt, memLimit);
    put<quint32>(header, chunkAt, quint32(chunkSize));
    put<qint64>(header, lengthAt, length);
    randombytes_buf(header.data() + saltAt, saltBytes);
    Keys keys;
    if (!deriveKeys(passphrase, bytes(header) + saltAt, opsLimit, memLimit, keys))
        return fileError(output.fileName(), noMemory());
    crypto_secretstream_xchacha20poly1305_state state;
    crypto_secretstream_xchacha20poly1305_init_push(&state, bytes(header) + streamHeaderAt, keys.stream());
    header.replace(keyCheckAt, hashBytes, keyCheck(header, keys));
    header.replace(checksumAt, hashBytes, checksum(header));
    if (output.write(header) != header.size())
        return fileError(output);

    QByteArray plain(chunkSize, Qt::Uninitialized);
    QByteArray sealedChunk(chunkSize + sealBytes, Qt::Uninitialized);
    EventTurns turns;
    qint64 done = 0;
    for (bool first = true; first || done < length; first = false) {
        turns.turn();
        const qint64 wanted = qMin(chunkSize, length - done);
        const qint64 read = input.read(plain.data(), wanted);
        if (read < 0)
            return fileError(input);
        if (read < wanted)
            return fileError(input.fileName(), QStringLiteral("فايل در حين کپي کوتاه شد."));
        done += read;
        const unsigned char tag = done == length ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : 0;
        unsigned long long sealedLength = 0;
        crypto_secretstream_xchacha20poly1305_push(&state, bytes(sealedChunk), &sealedLength, bytes(plain),
                                                   quint64(read), first ? bytes(header) : nullptr,
                                                   first ? quint64(header.size()) : 0, tag);
        if (output.write(sealedChunk.constData(), qint64(sealedLength)) != qint64(sealedLength))
            return fileError(output);
    }
    sodium_memzero(&state, sizeof state);
    wipe(plain);
    return {};
}

Outcome openInto(QFile &input, QFile &output, const QString &passphrase) {
    QByteArray header;
    if (const Outcome checked = readHeader(input, header); checked.result != Result::Done)
        return checked;
    Keys keys;
    if (!deriveKeys(passphrase, bytes(header) + saltAt, take<quint64>(header, opsAt), take<quint64>(header, memAt),
                    keys))
        return fileError(output.fileName(), noMemory());
    if (sodium_memcmp(keyCheck(header, keys).constData(), header.constData() + keyCheckAt, hashBytes) != 0)
        return refused(Result::WrongPassphrase, input.fileName());
    crypto_secretstream_xchacha20poly1305_state state;
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state, bytes(header) + streamHeaderAt, keys.stream()) != 0)
        return refused(Result::Damaged, input.fileName());

    const qint64 chunk = take<quint32>(header, chunkAt);
    const qint64 length = take<qint64>(header, lengthAt);
    QByteArray sealedChunk(chunk + sealBytes, Qt::Uninitialized);
    QByteArray plain(chunk, Qt::Uninitialized);
    EventTurns turns;
    qint64 done = 0;
    Outcome outcome;
    for (bool first = true; first || done < length; first = false) {
        turns.turn();
        const qint64 wanted = qMin(chunk, length - done) + sealBytes;
        const qint64 read = input.read(sealedChunk.data(), wanted);
        if (read < 0) {
            outcome = fileError(input);
            break;
        }
        if (read < wanted) {
            // Cut while it was being read: the size was right when the header was checked.
            outcome = refused(Result::CutShort, input.fileName());
            break;
        }
        unsigned long long plainLength = 0;
        unsigned char tag = 0;
        const bool opened = crypto_secretstream_xchacha20poly1305_pull(
                                &state, bytes(plain), &plainLength, &tag, bytes(sealedChunk), quint64(read),
                                first ? bytes(header) : nullptr, first ? quint64(header.size()) : 0) == 0;
        done += qint64(plainLength);
        // The last chunk, and only the last, is marked so: a file cannot end early unseen.
        if (!opened || (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) != (done == length)) {
            outcome = refused(Result::Damaged, input.fileName());
            break;
        }
        if (output.write(plain.constData(), qint64(plainLength)) != qint64(plainLength)) {
            outcome = fileError(output);
            break;
        }
    }
    sodium_memzero(&state, sizeof state);
    wipe(plain);
    if (outcome.result == Result::Done && !output.flush())
        outcome = fileError(output);
    return outcome;
}

} // namespace

QByteArray passphraseBytes(const QString &passphrase) {
    QString folded = withAsciiDigits(passphrase.normalized(QString::NormalizationForm_C));
    for (QChar &c : folded) {
        if (c == QChar(0x06CC))
            c = QChar(0x064A);
        else if (c == QChar(0x0643))
            c = QChar(0x06A9);
    }
    QByteArray utf8 = folded.toUtf8();
    wipe(folded);
    return utf8;
}

void forget(QString &passphrase) {
    wipe(passphrase);
    passphrase.clear();
}

bool isSealedName(const QString &path) {
    return path.endsWith(QLatin1Char('.') + BackupFileName::sealedSuffix(), Qt::CaseInsensitive);
}

Outcome inspect(const QString &sealed) {
    QFile input(sealed);
    if (!input.open(QIODevice::ReadOnly))
        return fileError(input);
    QByteArray header;
    return readHeader(input, header);
}

Outcome seal(const QString &plain, const QString &sealed, const QString &passphrase) {
    if (!sodiumReady())
        return fileError(sealed, QStringLiteral("libsodium"));
    QFile input(plain);
    if (!input.open(QIODevice::ReadOnly))
        return fileError(input);
    QSaveFile output(sealed);
    if (!output.open(QIODevice::WriteOnly))
        return fileError(sealed, output.errorString());
    const Outcome outcome = sealInto(input, output, passphrase);
    if (outcome.result != Result::Done) {
        output.cancelWriting();
        return outcome;
    }
    // The commit puts the bytes on the disk before the rename; most of them get there first, with
    // the events running, so that the commit itself is short.
    if (output.flush()) {
        const int handle = output.handle();
#ifdef Q_OS_WIN
        whileEventsTurn([handle]() { return _commit(handle); });
#else
        whileEventsTurn([handle]() { return ::fsync(handle); });
#endif
    }
    if (!output.commit())
        return fileError(sealed, output.errorString());
    return {};
}

Outcome open(const QString &sealed, const QString &plain, const QString &passphrase) {
    if (!sodiumReady())
        return fileError(sealed, QStringLiteral("libsodium"));
    QFile input(sealed);
    if (!input.open(QIODevice::ReadOnly))
        return fileError(input);
    // Made anew, readable by its owner only: it holds the plain database.
    QFile::remove(plain);
    QFile output(plain);
    if (!output.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return fileError(output);
    const Outcome outcome = openInto(input, output, passphrase);
    output.close();
    if (outcome.result != Result::Done)
        output.remove();
    return outcome;
}

} // namespace SealedBackup
