#include "store/Connection.h"

#include <QFileInfo>

namespace Database {
QString connectionName() { return QString::fromLatin1(QSqlDatabase::defaultConnection); }

QSqlDatabase connection() { return QSqlDatabase::database(connectionName(), false); }

bool isOpen() { return connection().isOpen(); }

QString filePath() {
    const QSqlDatabase db = connection();
    return db.isValid() && db.driverName() == QLatin1String("QSQLITE") ? QFileInfo(db.databaseName()).absoluteFilePath()
                                                                       : QString();
}
} // namespace Database
