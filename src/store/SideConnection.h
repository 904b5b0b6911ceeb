#pragma once

#include <QSqlDatabase>
#include <QString>

// A connection to an SQLite file beside the program's one connection, for one check, one creation
// or one copy, removed again at destruction.
class SideConnection {
public:
    enum class Access {
        ReadWrite,
        // A file that may not be ours, read as it lies: read only and "immutable", so no lock, no
        // journal and no write-ahead log is touched or made beside it.
        AsItLies,
    };
    explicit SideConnection(const QString &path, Access access = Access::ReadWrite);
    ~SideConnection();
    SideConnection(const SideConnection &) = delete;
    SideConnection &operator=(const SideConnection &) = delete;

    QSqlDatabase db() const;

private:
    QString m_name;
};
