#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {
// Debian keeps the server's programs out of PATH, by version.
QString serverProgram(const QString &tool) { return QStringLiteral("/usr/lib/postgresql/15/bin/") + tool; }

// The server refuses to run as root: as root, its programs run as the postgres user.
struct ServerUser {
    bool switchUser = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

ServerUser serverUser() {
    ServerUser user;
    if (geteuid() != 0)
        return user;
    if (const passwd *entry = getpwnam("postgres")) {
        user.switchUser = true;
        user.uid = entry->pw_uid;
        user.gid = entry->pw_gid;
    }
    return user;
}
} // namespace

PostgresServer::PostgresServer() {
    // The postgres user must pass through the folder to its own part of it (the cluster and the
    // socket); nothing else of the folder is opened to it.
    QFile::setPermissions(m_dir.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

PostgresServer::~PostgresServer() { stop(); }

QString PostgresServer::socketFolder() const { return m_dir.filePath(QStringLiteral("server")); }

EngineSettings::Choice PostgresServer::choiceFor(const QString &database) const {
    EngineSettings::Choice choice;
    choice.onServer = true;
    choice.host = socketFolder();
    choice.port = port();
    choice.database = database;
    choice.user = user();
    choice.sslMode = QStringLiteral("disable");
    return choice;
}

QByteArray PostgresServer::keltoIniFor(const QString &database) const {
    return QStringLiteral("[Database]\nDriver=PSQL\nHost=%1\nPort=%2\nDatabase=%3\nUser=%4\n")
        .arg(socketFolder())
        .arg(port())
        .arg(database, user())
        .toUtf8();
}

bool PostgresServer::start(QString *error) {
    if (m_running)
        return true;
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder: ") + m_dir.errorString();
        return false;
    }
    const QString folder = socketFolder();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make ") + folder;
        return false;
    }
    const ServerUser account = serverUser();
    if (account.switchUser && chown(QFile::encodeName(folder).constData(), account.uid, account.gid) != 0) {
        *error = QStringLiteral("cannot hand ") + folder + QStringLiteral(" to the postgres user");
        return false;
    }
    const QString data = folder + QStringLiteral("/data");
    // Started again after a stop: the cluster is there already.
    if (!QFile::exists(data + QStringLiteral("/PG_VERSION")) &&
        !runTool(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), data, QStringLiteral("-U"), user(), QStringLiteral("-A"),
                  QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                  QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
                 nullptr, error))
        return false;
    const QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c fsync=off").arg(folder).arg(port());
    if (!runTool(QStringLiteral("pg_ctl"),
                 {QStringLiteral("-D"), data, QStringLiteral("-l"), folder + QStringLiteral("/log"),
                  QStringLiteral("-o"), options, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("120"),
                  QStringLiteral("start")},
                 nullptr, error))
        return false;
    m_running = true;
    return true;
}

void PostgresServer::stop() {
    if (!m_running)
        return;
    QString ignored;
    runTool(QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), socketFolder() + QStringLiteral("/data"), QStringLiteral("-m"),
             QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("120"),
             QStringLiteral("stop")},
            nullptr, &ignored);
    m_running = false;
}

bool PostgresServer::createDatabase(const QString &name, QString *error) {
    return runTool(QStringLiteral("createdb"),
                   {QStringLiteral("-h"), socketFolder(), QStringLiteral("-p"), QString::number(port()),
                    QStringLiteral("-U"), user(), name},
                   nullptr, error);
}

bool PostgresServer::addPasswordRole(const QString &role, const QString &password, const QString &database,
                                     QString *error) {
    const QString sql = QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role, password);
    if (!runSql(QStringLiteral("postgres"), sql, nullptr, error) ||
        !runSql(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(database, role), nullptr,
                error))
        return false;
    // The first line that matches a connection decides: the role's line goes before initdb's trust.
    QFile rules(socketFolder() + QStringLiteral("/data/pg_hba.conf"));
    if (!rules.open(QIODevice::ReadWrite)) {
        *error = rules.fileName() + QStringLiteral(": ") + rules.errorString();
        return false;
    }
    const QByteArray trust = rules.readAll();
    rules.seek(0);
    rules.write(QStringLiteral("local all %1 scram-sha-256\n").arg(role).toUtf8() + trust);
    rules.close();
    stop();
    return start(error);
}

bool PostgresServer::runSql(const QString &database, const QString &sql, QString *output, QString *error) {
    QString ignored;
    return runTool(QStringLiteral("psql"),
                   {QStringLiteral("-h"), socketFolder(), QStringLiteral("-p"), QString::number(port()),
                    QStringLiteral("-U"), user(), QStringLiteral("-d"), database, QStringLiteral("-v"),
                    QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-t"),
                    QStringLiteral("-A"), QStringLiteral("-c"), sql},
                   output, error ? error : &ignored);
}

bool PostgresServer::runTool(const QString &tool, const QStringList &arguments, QString *output, QString *error,
                             int deadlineMs) const {
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    const ServerUser account = serverUser();
    if (account.switchUser) {
        process.setChildProcessModifier([account] {
            // Only the server's own programs are run here; a failed switch must not run them as root.
            if (setgroups(0, nullptr) != 0 || setgid(account.gid) != 0 || setuid(account.uid) != 0)
                _exit(126);
        });
    }
    process.start(serverProgram(tool), arguments);
    if (!process.waitForFinished(deadlineMs)) {
        process.kill();
        process.waitForFinished(-1);
        *error = tool + QStringLiteral(" (Debian package postgresql-15) did not finish: ") + process.errorString();
        return false;
    }
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    return true;
}
