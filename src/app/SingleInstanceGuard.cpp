#include "app/SingleInstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
// The temporary folder is shared by all users on Unix, so the user is part of the name there;
// on Windows the temporary folder already belongs to one user.
QString userPart() {
#ifdef Q_OS_UNIX
    return QStringLiteral("-u%1").arg(::getuid());
#else
    return {};
#endif
}

QString folderKey(const QString &programDir) {
    const QFileInfo info(programDir);
    const QString folder = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    return QString::fromLatin1(QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}
} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &programDir)
    : m_path(lockFilePathFor(programDir)), m_lock(m_path) {
    // Never judge a lock by its age: a first instance that has been running for hours must still
    // refuse a second one. A lock whose process is gone is stale whatever its age.
    m_lock.setStaleLockTime(0);
}

SingleInstanceGuard::Result SingleInstanceGuard::acquire() {
    if (m_lock.isLocked() || m_lock.tryLock(0))
        return Result::Acquired;
    return m_lock.error() == QLockFile::LockFailedError ? Result::HeldByAnother : Result::Unavailable;
}

void SingleInstanceGuard::release() { m_lock.unlock(); }

QString SingleInstanceGuard::lockFilePath() const { return m_path; }

QString SingleInstanceGuard::lockFilePathFor(const QString &programDir) {
    return QDir::temp().filePath(QStringLiteral("kelto%1-%2.lock").arg(userPart(), folderKey(programDir)));
}
