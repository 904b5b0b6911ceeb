#include "store/RefusedDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {
// The files SQLite keeps beside a database under its name; a journal rolled back into another
// file would damage that file, so each goes where its database goes.
const QStringList &companionSuffixes() {
    static const QStringList suffixes{QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};
    return suffixes;
}

// The aside name, or that name with "-2", "-3"… when it (or one of its companions) is taken.
QString freeAsidePath(const QString &databasePath, const QDateTime &when) {
    const QFileInfo info(databasePath);
    const QString name = RefusedDatabase::asideFileName(databasePath, when);
    const QString stem = QFileInfo(name).completeBaseName();
    const QString suffix = name.mid(stem.size());
    for (int attempt = 1;; ++attempt) {
        const QString candidate = info.dir().absoluteFilePath(
            attempt == 1 ? name : stem + QLatin1Char('-') + QString::number(attempt) + suffix);
        bool taken = QFileInfo::exists(candidate);
        for (const QString &companion : companionSuffixes())
            taken = taken || QFileInfo::exists(candidate + companion);
        if (!taken)
            return candidate;
    }
}

// A second name for the file in the same folder; false where the file system has no hard links.
bool linked(const QString &from, const QString &to) {
    std::error_code error;
    std::filesystem::create_hard_link(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(),
                                      error);
    return !error;
}
} // namespace

namespace RefusedDatabase {
QString asideFileName(const QString &databasePath, const QDateTime &when) {
    const QFileInfo info(databasePath);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.completeBaseName() + QStringLiteral("-damaged-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
           suffix;
}

bool moveAside(const QString &databasePath, const QDateTime &when, QString *movedTo, QString *error, Place place) {
    const QString from = QFileInfo(databasePath).absoluteFilePath();
    movedTo->clear();
    if (!QFileInfo::exists(from))
        return true;
    const QString to = freeAsidePath(from, when);
    // Kept in place, the file is known under both names now. Its journals go all the same, so that
    // none is rolled into the file that takes the database's name.
    const bool keptInPlace = place == Place::KeptUntilReplaced && linked(from, to);
    QList<QPair<QString, QString>> moves;
    if (!keptInPlace)
        moves.append({from, to});
    for (const QString &companion : companionSuffixes()) {
        if (QFileInfo::exists(from + companion))
            moves.append({from + companion, to + companion});
    }
    for (int done = 0; done < moves.size(); ++done) {
        QFile file(moves.at(done).first);
        if (!file.rename(moves.at(done).second)) {
            *error = file.errorString();
            // Back as they were: a database without its journal, or the reverse, is worse than both.
            for (int undo = done - 1; undo >= 0; --undo)
                QFile::rename(moves.at(undo).second, moves.at(undo).first);
            if (keptInPlace)
                QFile::remove(to); // the second name of the file still in its place
            return false;
        }
    }
    *movedTo = to;
    return true;
}
} // namespace RefusedDatabase
