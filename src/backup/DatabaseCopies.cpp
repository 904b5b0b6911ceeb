#include "backup/DatabaseCopies.h"

#include "backup/SealedBackup.h"
#include "common/EventTurns.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dialect.h"
#include "store/KeptStatement.h"
#include "store/ReadSnapshot.h"
#include "store/Schema.h"
#include "store/ServerCopy.h"
#include "store/StoreMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {
using DatabaseCopies::Outcome;
using DatabaseCopies::Result;

QString writePendingMessage() { return QStringLiteral("ذخيره اطلاعات در پنجره ديگري هنوز تمام نشده است."); }

// The database file as the program names it, opened or not; on a server, the file it would be.
QString databaseFile() {
    const QString open = Database::filePath();
    return open.isEmpty() ? QFileInfo(Database::relativePath()).absoluteFilePath() : open;
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

// What the server said, naming it.
QString serverFailure(const QString &reason) {
    return StoreMessages::isolatedPath(Database::serverInUse().serverName()) + QStringLiteral(": ") + reason;
}

// The temporary plain file of a sealed backup, made empty and readable by its owner only before
// anything is written into it; removed at destruction.
class PlainCopy {
public:
    PlainCopy() : m_path(DatabaseCopies::openedCopyPath()) {}
    ~PlainCopy() {
        // Freeing the blocks of a large file takes a while too.
        whileEventsTurn([this]() { return QFile::remove(m_path); });
    }
    PlainCopy(const PlainCopy &) = delete;
    PlainCopy &operator=(const PlainCopy &) = delete;

    bool make(QString *error) {
        QFile file(m_path);
        // On a server the program folder may have no database folder yet.
        if (!QDir().mkpath(QFileInfo(m_path).absolutePath()) ||
            !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
            *error = QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + file.errorString();
            return false;
        }
        return true;
    }
    QString path() const { return m_path; }

private:
    QString m_path;
};

// A backup of the register on the server: plain under the destination's name, or sealed through a
// plain copy beside the database's place.
Outcome backUpServer(const QString &destination, const QString *passphrase) {
    // A write under way on this connection would be read half done.
    if (!KeptStatement::outsideTransactions())
        return {Result::WritePending, writePendingMessage()};
    ReadSnapshot snapshot;
    QString error;
    if (!passphrase) {
        const auto write = [](QFileDevice &copy, QString *error) {
            if (ServerCopy::writeToFile(copy.fileName(), error))
                return true;
            *error = serverFailure(*error);
            return false;
        };
        if (!writeUnderTemporaryName(destination, write, &error))
            return {Result::CopyFailed, error};
        return {};
    }
    PlainCopy plain;
    if (!plain.make(&error))
        return {Result::CopyFailed, error};
    if (!ServerCopy::writeToFile(plain.path(), &error))
        return {Result::CopyFailed, serverFailure(error)};
    snapshot.end(); // every row is read
    const SealedBackup::Outcome sealed = SealedBackup::seal(plain.path(), destination, *passphrase);
    if (sealed.result != SealedBackup::Result::Done)
        return {Result::CopyFailed, sealed.message};
    return {};
}

// Opens a sealed backup into openedCopyPath(), restores from there, and removes it again whatever
// came of it; what is said of the opened copy is said of the backup the user chose.
Outcome throughOpenedCopy(const QString &source, const QString &passphrase,
                          const std::function<Outcome(const QString &opened)> &restoreFrom) {
    const QString opened = DatabaseCopies::openedCopyPath();
    QDir().mkpath(QFileInfo(opened).absolutePath()); // on a server there may be no database folder yet
    const SealedBackup::Outcome open = SealedBackup::open(source, opened, passphrase);
    if (open.result == SealedBackup::Result::FileError)
        return {Result::CopyFailed, open.message};
    if (open.result != SealedBackup::Result::Done)
        return {Result::SealedRefused, open.message};
    Outcome outcome = restoreFrom(opened);
    // Freeing the blocks of a large file takes a while too.
    whileEventsTurn([&opened]() { return QFile::remove(opened); });
    outcome.message.replace(QDir::toNativeSeparators(opened), QDir::toNativeSeparators(source));
    return outcome;
}

// Checks the plain backup, asks, and replaces the server's rows with its own.
Outcome replaceOnServer(const QString &source, const DatabaseCopies::ConfirmReplacing &confirm,
                        const DatabaseCopies::BeforeCommit &beforeCommit) {
    QString why;
    if (!whileEventsTurn([&source, &why]() { return Database::isKeltoDatabaseFile(source, &why); }))
        return {Result::NotKeltoDatabase, why};
    if (!KeptStatement::outsideTransactions())
        return {Result::WritePending, writePendingMessage()};
    const EngineSettings::Choice server = Database::serverInUse();
    if (!confirm(server.database, server.host, DataSource(Schema::examineeTable).recordCount()))
        return {Result::Declined, {}};
    switch (ServerCopy::replaceFromFile(source, beforeCommit, &why)) {
    case ServerCopy::Replaced::Done:
        return {};
    case ServerCopy::Replaced::CodesClash:
        return {Result::CodesClash, why};
    case ServerCopy::Replaced::Failed:
        break;
    }
    return {Result::CopyFailed, serverFailure(why)};
}
} // namespace

namespace DatabaseCopies {

Outcome backUp(const QString &destination) {
    if (Dialect::onServer())
        return backUpServer(destination, nullptr);
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
    if (Dialect::onServer())
        return backUpServer(destination, &passphrase);
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
    // The opened copy lies beside the database already: once checked, it is renamed into place.
    return throughOpenedCopy(source, passphrase, [&beforeReplacing](const QString &opened) {
        return replaceDatabase(opened, [&](const QString &target, QString *error) {
            return moveIntoPlace(opened, target, error, beforeReplacing);
        });
    });
}

Outcome restoreOnServer(const QString &source, const QString &passphrase, const ConfirmReplacing &confirm,
                        const BeforeCommit &beforeCommit) {
    const auto replace = [&](const QString &plain) { return replaceOnServer(plain, confirm, beforeCommit); };
    return SealedBackup::isSealedName(source) ? throughOpenedCopy(source, passphrase, replace) : replace(source);
}

QString openedCopyPath() { return databaseFile() + QStringLiteral(".opened"); }

void removeLeftoverOpenedCopy() { QFile::remove(openedCopyPath()); }

} // namespace DatabaseCopies
