#pragma once

#include "store/EngineSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real PostgreSQL 15 server (Debian's postgresql-15) for the tests that store on a server, every
// file of its own in a temporary folder: the cluster made by initdb, its log, and the Unix socket
// it listens on (no TCP port). It runs as the unprivileged postgres user when the test runs as root,
// and is stopped by pg_ctl at destruction, so also when a test fails.
class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // Makes the cluster (once) and starts it, waiting (up to two minutes on a busy machine) until it
    // takes connections; error says why not.
    bool start(QString *error);
    void stop();
    bool isRunning() const { return m_running; }
    // Makes an empty database owned by user().
    bool createDatabase(const QString &name, QString *error);
    // Makes a role that logs in with a password checked by scram-sha-256 (a line for it at the top
    // of the cluster's pg_hba.conf), and a database it owns; the server is started again to read
    // the line.
    bool addPasswordRole(const QString &role, const QString &password, const QString &database, QString *error);
    // Runs one SQL text through psql on the database; its output (tuples only, unaligned) in output.
    bool runSql(const QString &database, const QString &sql, QString *output = nullptr, QString *error = nullptr);

    // Where the socket lies (libpq's "host" for a Unix socket), its port, and the superuser.
    QString socketFolder() const;
    int port() const { return 5432; }
    QString user() const { return QStringLiteral("postgres"); }
    // How Kelto reaches a database of this server as its superuser, over the socket (no TLS), and
    // the same as the [Database] section of a Kelto.ini.
    EngineSettings::Choice choiceFor(const QString &database) const;
    QByteArray keltoIniFor(const QString &database) const;

private:
    // Runs a program of the server's, as its user; false (and error) when it fails or takes more
    // than the deadline.
    bool runTool(const QString &tool, const QStringList &arguments, QString *output, QString *error,
                 int deadlineMs = 120000) const;

    QTemporaryDir m_dir;
    bool m_running = false;
};
