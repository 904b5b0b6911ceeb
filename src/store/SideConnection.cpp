#include "store/SideConnection.h"

#include <QFileInfo>
#include <QUrl>
#include <QUuid>

SideConnection::SideConnection(const QString &path, Access access)
    : m_name(QStringLiteral("kelto-side-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (access == Access::AsItLies) {
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?immutable=1"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    } else {
        db.setDatabaseName(path);
    }
}

SideConnection::~SideConnection() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SideConnection::db() const { return QSqlDatabase::database(m_name, false); }
