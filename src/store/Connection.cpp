#include "store/Connection.h"

#include <QFileInfo>

namespace {
// SQLite's primary result codes for a damaged file and for a file that is not a database at all.
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

// Whether the listener has heard of damage since the database was last opened.
bool damageReported = false;

Database::DamageListener &damageListener() {
    static Database::DamageListener listener;
    return listener;
}
} // namespace

namespace Database {
QString connectionName() { return QString::fromLatin1(QSqlDatabase::defaultConnection); }

QSqlDatabase connection() { return QSqlDatabase::database(connectionName(), false); }

bool isOpen() { return connection().isOpen(); }

QString filePath() {
    const QSqlDatabase db = connection();
    return db.isValid() && db.driverName() == QLatin1String("QSQLITE") ? QFileInfo(db.databaseName()).absoluteFilePath()
                                                                       : QString();
}

bool isDamage(int sqliteCode) {
    const int primary = sqliteCode & 0xff;
    return primary == SqliteCorrupt || primary == SqliteNotADatabase;
}

void reportDamage(const QString &detail) {
    qWarning("Database: damage met: %s", qPrintable(detail));
    if (damageReported)
        return;
    damageReported = true;
    if (damageListener())
        damageListener()(detail);
}

void setDamageListener(DamageListener listener) { damageListener() = std::move(listener); }

void forgetReportedDamage() { damageReported = false; }
} // namespace Database
