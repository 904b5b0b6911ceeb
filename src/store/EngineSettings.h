#pragma once

#include <QString>

// Which engine holds the register, as Kelto.ini in the program's folder chooses it (QSettings,
// INI format):
//     [Database]
//     Driver=SQLITE            the file DBKelto/DBKelto.mdb; also without the file
//     Driver=PSQL              a PostgreSQL server, with
//     Host=db.clinic.lan       a name, an address or a Unix socket's folder (required)
//     Port=5432                (default 5432)
//     Database=kelto           (default: libpq's, the user's name)
//     User=room2               (default: libpq's, the login name)
//     SslMode=verify-full      libpq's names; default prefer on a Unix socket or loopback,
//                              verify-full for any other host
// The password is never kept here: libpq takes it from ~/.pgpass or PGPASSWORD.
namespace EngineSettings {
struct Choice {
    bool onServer = false;
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString sslMode;
    // How messages name the server: user@host:port/database.
    QString serverName() const;
};

inline QString fileName() { return QStringLiteral("Kelto.ini"); }
// The program folder's Kelto.ini, which the start reads (the program's folder is the working one).
QString filePath();

// A server as the settings window takes it, port as typed (empty: 5432).
struct Typed {
    QString host;
    QString port;
    QString database;
    QString user;
};
// The server the typed values name, as read() would take it from the file writeServer() makes of
// them (SslMode as the file at path names it, or libpq's default for the host); false, with a
// Persian message, for values writeServer() refuses. Nothing is written at path.
bool typedServer(const QString &path, const Typed &typed, Choice *choice, QString *errorMessage);
// Writes the file at path choosing the typed server (Driver=PSQL), keeping the file's other
// settings. Values that read() would refuse or read otherwise (no host, a port that is not a
// number, a line break) are refused before anything is written: false, with a Persian message.
bool writeServer(const QString &path, const Typed &typed, QString *errorMessage);

// Reads the file at path; a missing file chooses the SQLite file. A file that cannot be read or
// is malformed (an unknown driver or SSL mode, no host, a port that is not a number, a line that
// is not INI) is refused: false, with a Persian message naming the file and the line.
bool read(const QString &path, Choice *choice, QString *errorMessage);
} // namespace EngineSettings
