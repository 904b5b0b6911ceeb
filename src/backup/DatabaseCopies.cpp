#include "backup/DatabaseCopies.h"

#include "common/EventTurns.h"
#include "backup/SealedBackup.h"
#include "store/Database.h"
#include "store/StoreMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {
QString writePendingMessage() { return QStringLiteral("ذخيره اطلاعات در پنجره ديگري هنوز تمام نشده است."); }

// The database file as the program names it, opened or not.
QString databaseFile() {
    return Database::isOpen() ? Database::filePath() : QFileInfo(Database::relativePath()).absoluteFilePath();
}

// A read transaction on the program's connection: BEGIN fails inside a transaction that is still
// open (a write under way), and the first read takes the shared lock that keeps every writer out
// until the end. Without an open connection there is nobody to write.
class ReadLock {
public:
    ReadLock() {
        if (!Database::isOpen())
            return;
        QSqlQuery query(Database::connection());
        m_held = query.exec(QStringLiteral("BEGIN"));
        m_refused = !m_held || !query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    }
    ~ReadLock() {
        if (m_held)
            QSqlQuery(Database::connection()).exec(QStringLiteral("ROLLBACK"));
    }
    ReadLock(const ReadLock &) = delete;
    ReadLock &operator=(const ReadLock &) = delete;

    bool refused() const { return m_refused; }

private:
    bool m_held = false;
    bool m_refused = false;
};
// A backup of a database damaged inside would pass the damage on.
QString damagedDatabaseMessage(const QString &database) {
    return StoreMessages::damagedInside(database) + QLatin1Char('\n') + StoreMessages::restoreFromAWholeBackup();
}
} // namespace

namespace DatabaseCopies {

Outcome backUp(const QString &destination) {
    const ReadLock lock;
    if (lock.refused())
        return {Result::WritePending, writePendingMessage()};
    const QString database = databaseFile();
    // The copy is the file byte for byte: a file proven whole since it was opened needs no check.
    const auto checkCopy = [&database](const QString &copy, QString *why) {
        if (Database::provenWhole() || Database::pagesAreWhole(copy))
            return true;
        *why = damagedDatabaseMessage(database);
        return false;
    };
    QString error;
    if (!copyChunked(database, destination, &error, checkCopy))
        return {Result::CopyFailed, error};
    return {};
}

namespace {
// Replaces the database with what putInPlace puts at its path, once source is found a whole Kelto
// database. The program's connection is closed meanwhile, and opened again if nothing was put.
Outcome replaceDatabase(const QString &source, const std::function<bool(const QString &, QString *)> &putInPlace) {
    QString why;
    // A check of every page: a second or more for a large database, the events running meanwhile.
    if (!whileEventsTurn([&source, &why]() { return Database::isKeltoDatabaseFile(source, &why); }))
        return {Result::NotKeltoDatabase, why};
    const QString target = databaseFile();
    {
        const ReadLock lock;
        if (lock.refused())
            return {Result::WritePending, writePendingMessage()};
    }
    const bool wasOpen = Database::isOpen();
    Database::close();
    QString error;
    if (!putInPlace(target, &error)) {
        if (wasOpen)
            Database::open(target, nullptr);
        return {Result::CopyFailed, error};
    }
    return {};
}
} // namespace

Outcome restore(const QString &source, const BeforeRename &beforeReplacing) {
    return replaceDatabase(source, [&](const QString &target, QString *error) {
        return copyChunked(source, target, error, beforeReplacing);
    });
}

Outcome backUpSealed(const QString &destination, const QString &passphrase) {
    const ReadLock lock;
    if (lock.refused())
        return {Result::WritePending, writePendingMessage()};
    // The sealed bytes are those checked: no writer comes in while the lock is held. A file proven
    // whole since it was opened needs no second check, as for a plain backup.
    const QString database = databaseFile();
    if (!Database::provenWhole() && !Database::pagesAreWhole(database))
        return {Result::CopyFailed, damagedDatabaseMessage(database)};
    const SealedBackup::Outcome sealed = SealedBackup::seal(database, destination, passphrase);
    if (sealed.result != SealedBackup::Result::Done)
        return {Result::CopyFailed, sealed.message};
    return {};
}

Outcome restoreSealed(const QString &source, const QString &passphrase, const BeforeRename &beforeReplacing) {
    const QString opened = openedCopyPath();
    const SealedBackup::Outcome open = SealedBackup::open(source, opened, passphrase);
    if (open.result == SealedBackup::Result::FileError)
        return {Result::CopyFailed, open.message};
    if (open.result != SealedBackup::Result::Done)
        return {Result::SealedRefused, open.message};
    // The opened copy lies beside the database already: once checked, it is renamed into place.
    Outcome outcome = replaceDatabase(opened, [&](const QString &target, QString *error) {
        return moveIntoPlace(opened, target, error, beforeReplacing);
    });
    // Freeing the blocks of a large file takes a while too.
    whileEventsTurn([&opened]() { return QFile::remove(opened); });
    // What is said of the opened copy is said of the backup the user chose.
    outcome.message.replace(QDir::toNativeSeparators(opened), QDir::toNativeSeparators(source));
    return outcome;
}

QString openedCopyPath() { return databaseFile() + QStringLiteral(".opened"); }

void removeLeftoverOpenedCopy() { QFile::remove(openedCopyPath()); }

} // namespace DatabaseCopies
