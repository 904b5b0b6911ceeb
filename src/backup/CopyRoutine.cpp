#include "backup/CopyRoutine.h"

#include "common/EventTurns.h"
#include "common/LeftoverFiles.h"
#include "store/StoreMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
bool copyRunning = false;

// The written pieces go to the file this many at a time, as one write.
constexpr qint64 piecesPerWrite = 64;
// The copy is put on the disk every so many bytes.
constexpr qint64 syncEvery = 8 * 1024 * 1024;

class RunningCopy {
public:
    RunningCopy() { copyRunning = true; }
    ~RunningCopy() { copyRunning = false; }
    RunningCopy(const RunningCopy &) = delete;
    RunningCopy &operator=(const RunningCopy &) = delete;
};

QString describe(const QString &path, const QString &description) {
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + description;
}

QString describe(const QFileDevice &file) { return describe(file.fileName(), file.errorString()); }

// The mark of a copy's temporary name, "<destination>.copy-XXXXXX".
const QString copyKind = QStringLiteral("copy");

// The temporary copy: the destination's name, a mark and six characters.
// Whether the disk of the folder has less room than the copy still needs.
bool diskTooFull(const QString &folder, qint64 needed) {
    const QStorageInfo disk(folder);
    return disk.isValid() && disk.isReady() && disk.bytesAvailable() < needed;
}

bool syncToDisk(QFileDevice &file) {
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// The pieces, from the start; the last one is the remainder, never an empty piece. Each piece
// is read on its own and put at its place in the destination; the written pieces go to the file
// piecesPerWrite at a time, as one write: one write for every piece took several times as long
// as cp. *copied counts the bytes that reached the file; errors name the file as destinationName.
bool copyPieces(QFile &source, QFileDevice &destination, const QString &destinationName, qint64 *copied,
                QString *error) {
    const qint64 length = source.size();
    QByteArray written(copyChunkSize * piecesPerWrite, Qt::Uninitialized);
    qint64 waiting = 0; // bytes of `written` not yet in the file
    qint64 synced = 0;  // bytes known to be on the disk
    const auto writeWaiting = [&]() {
        if (destination.write(written.constData(), waiting) != waiting) {
            *error = describe(destinationName, destination.errorString());
            return false;
        }
        *copied += waiting;
        waiting = 0;
        // On the disk as it goes, so that the sync at the end is short: one sync of a large file
        // held up the window for a fifth of a second.
        if (*copied - synced >= syncEvery) {
            if (!destination.flush() || !syncToDisk(destination)) {
                *error = describe(destinationName, destination.errorString());
                return false;
            }
            synced = *copied;
        }
        return true;
    };
    EventTurns turns;
    for (qint64 done = 0; done < length;) {
        turns.turn();
        const qint64 wanted = qMin(copyChunkSize, length - done);
        const qint64 read = source.read(written.data() + waiting, wanted);
        if (read < 0) {
            *error = describe(source);
            return false;
        }
        if (read < wanted) {
            // Cut short by someone else while it was being copied: the copy would not be whole.
            *error = describe(source.fileName(), QStringLiteral("فايل در حين کپي کوتاه شد."));
            return false;
        }
        waiting += read;
        done += read;
        if (waiting == written.size() && !writeWaiting())
            return false;
    }
    return writeWaiting();
}

// Writes the whole file into the copy; false with *error set otherwise.
bool writeWholeCopy(QFile &source, QFileDevice &copy, const QString &destination, QString *error) {
    const QString folder = QFileInfo(destination).absolutePath();
    if (diskTooFull(folder, source.size())) {
        *error = describe(destination, StoreMessages::diskFull());
        return false;
    }
    qint64 copied = 0;
    if (copyPieces(source, copy, destination, &copied, error) && copy.flush())
        return true;
    if (error->isEmpty())
        *error = describe(destination, copy.errorString());
    // Asked while the part already written still takes its room.
    if (diskTooFull(folder, qMax(source.size() - copied, copyChunkSize * piecesPerWrite)))
        *error = describe(destination, StoreMessages::diskFull());
    return false;
}

// The whole file takes the destination's name once beforeRename has passed it.
bool renameOver(const QString &wholeFile, const QString &destination, QString *error,
                const BeforeRename &beforeRename) {
    if (beforeRename && !beforeRename(wholeFile, error))
        return false;
    // Renamed over a large file, the system frees that file's blocks before it returns: a while,
    // during which the events keep turning.
    std::error_code renameError;
    const std::string from = QFile::encodeName(wholeFile).toStdString();
    const std::string to = QFile::encodeName(QFileInfo(destination).absoluteFilePath()).toStdString();
    whileEventsTurn([&]() {
        std::filesystem::rename(from, to, renameError);
        return true;
    });
    if (renameError) {
        *error = describe(destination, QString::fromLocal8Bit(renameError.message()));
        return false;
    }
    return true;
}
} // namespace

bool copyChunked(const QString &source, const QString &destination, QString *error, const BeforeRename &beforeRename) {
    QString ignored;
    if (!error)
        error = &ignored;
    QFile input(source);
    if (!copyRunning && !input.open(QIODevice::ReadOnly)) {
        *error = describe(input);
        return false;
    }
    return writeUnderTemporaryName(
        destination, [&](QFileDevice &copy, QString *error) { return writeWholeCopy(input, copy, destination, error); },
        error, beforeRename);
}

bool writeUnderTemporaryName(const QString &destination, const WriteCopy &write, QString *error,
                             const BeforeRename &beforeRename) {
    QString ignored;
    if (!error)
        error = &ignored;
    error->clear();
    if (copyRunning) {
        *error = describe(destination, QStringLiteral("کپي ديگري در حال انجام است."));
        return false;
    }
    const RunningCopy running;
    LeftoverFiles::removeOld(QFileInfo(destination).absolutePath(), copyKind);
    QTemporaryFile copy(LeftoverFiles::temporaryTemplate(QFileInfo(destination).absoluteFilePath(), copyKind));
    if (!copy.open()) {
        *error = describe(destination, copy.errorString());
        return false;
    }
    if (!write(copy, error)) {
        // Asked while the part already written still takes its room; the temporary file is
        // removed with the object.
        if (diskTooFull(QFileInfo(destination).absolutePath(), copyChunkSize * piecesPerWrite))
            *error = describe(destination, StoreMessages::diskFull());
        return false;
    }
    // A copy written by other means than the pieces above may have all its bytes still to sync.
    int syncError = 0;
    if (!copy.flush() ||
        !whileEventsTurn([&copy, &syncError]() { return syncToDisk(copy) || (syncError = errno, false); })) {
        *error = describe(destination, syncError ? qt_error_string(syncError) : copy.errorString());
        return false;
    }
    copy.close();
    if (!renameOver(copy.fileName(), destination, error, beforeRename))
        return false;
    copy.setAutoRemove(false); // it is the destination now
    return true;
}

bool moveIntoPlace(const QString &wholeFile, const QString &destination, QString *error,
                   const BeforeRename &beforeRename) {
    QString ignored;
    if (!error)
        error = &ignored;
    error->clear();
    QFile file(wholeFile);
    // On the disk before it takes the name, the events turning while the disk catches up.
    if (!file.open(QIODevice::ReadOnly)) {
        *error = describe(file);
        return false;
    }
    int syncError = 0;
    if (!whileEventsTurn([&file, &syncError]() { return syncToDisk(file) || (syncError = errno, false); })) {
        *error = describe(destination, qt_error_string(syncError));
        return false;
    }
    file.close();
    return renameOver(wholeFile, destination, error, beforeRename);
}

bool isCopyRunning() { return copyRunning; }
