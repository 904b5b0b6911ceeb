#pragma once

#include <QLockFile>
#include <QString>

// Lets one instance of Kelto run per program folder and user. The lock is a lock file in the
// temporary folder, keyed by the program's folder and the user; a lock left behind by an
// instance that died (a crash, a kill) is taken over, so a crash never locks the user out.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString &programDir);

    enum class Result {
        Acquired,
        HeldByAnother, // another living instance runs from this folder
        Unavailable,   // no lock can be made here (the temporary folder refuses it)
    };
    Result acquire();
    void release();

    QString lockFilePath() const;
    static QString lockFilePathFor(const QString &programDir);

private:
    QString m_path;
    QLockFile m_lock;
};
