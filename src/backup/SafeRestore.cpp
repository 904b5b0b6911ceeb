#include "backup/SafeRestore.h"

#include "store/Database.h"

#include <QFile>
#include <QSaveFile>

bool restoreDatabaseFile(const QString &backupPath, const QString &databasePath, QString *error) {
    if (!Database::isKeltoDatabaseFile(backupPath, error))
        return false;
    QFile source(backupPath);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = source.errorString();
        return false;
    }
    QSaveFile destination(databasePath);
    if (!destination.open(QIODevice::WriteOnly)) {
        *error = destination.errorString();
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() || destination.write(chunk) != chunk.size()) {
            *error = chunk.isEmpty() ? source.errorString() : destination.errorString();
            destination.cancelWriting();
            return false;
        }
    }
    if (!destination.commit()) {
        *error = destination.errorString();
        return false;
    }
    return true;
}
