#include "backup/CopyRoutine.h"

#include "backup/EventTurns.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
bool copyRunning = false;

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

// The pieces, from the start; the last one is the remainder, never an empty piece. Each piece
// is read on its own and put at its place in the destination; the written pieces go to the file
// 64 at a time, as one write: one write for every piece took several times as long as cp.
bool copyPieces(QFile &source, QFileDevice &destination, QString *error) {
    constexpr qint64 piecesPerWrite = 64;
    const qint64 length = source.size();
    QByteArray written(copyChunkSize * piecesPerWrite, Qt::Uninitialized);
    qint64 waiting = 0; // bytes of `written` not yet in the file
    const auto writeWaiting = [&]() {
        if (destination.write(written.constData(), waiting) != waiting) {
            *error = describe(destination);
            return false;
        }
        waiting = 0;
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

bool replaceFile(QFile &source, const QString &destination, QString *error) {
    QSaveFile replacement(destination);
    if (!replacement.open(QIODevice::WriteOnly)) {
        *error = describe(destination, replacement.errorString());
        return false;
    }
    if (!copyPieces(source, replacement, error)) {
        replacement.cancelWriting();
        return false;
    }
    if (!replacement.commit()) {
        *error = describe(destination, replacement.errorString());
        return false;
    }
    return true;
}

bool writeNewFile(QFile &source, const QString &destination, QString *error) {
    QFile copy(destination);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *error = describe(copy);
        return false;
    }
    if (copyPieces(source, copy, error) && copy.flush()) {
        copy.close();
        if (copy.error() == QFileDevice::NoError)
            return true;
    }
    if (error->isEmpty())
        *error = describe(copy);
    // Half a backup must not pass for one.
    copy.close();
    copy.remove();
    return false;
}
} // namespace

bool copyChunked(const QString &source, const QString &destination, QString *error) {
    QString ignored;
    if (!error)
        error = &ignored;
    error->clear();
    if (copyRunning) {
        *error = describe(destination, QStringLiteral("کپي ديگري در حال انجام است."));
        return false;
    }
    const RunningCopy running;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        *error = describe(input);
        return false;
    }
    return QFileInfo::exists(destination) ? replaceFile(input, destination, error)
                                          : writeNewFile(input, destination, error);
}

bool isCopyRunning() { return copyRunning; }
