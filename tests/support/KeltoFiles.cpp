#include "KeltoFiles.h"

#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

QStringList columnInFile(const QString &sql) {
    QStringList values;
    QSqlQuery query(Database::connection());
    if (!query.exec(sql))
        qWarning() << query.lastError().text();
    while (query.next())
        values << query.value(0).toString();
    return values;
}

QString valueInFile(const QString &sql, const QString &value) {
    QSqlQuery query(Database::connection());
    query.prepare(sql);
    if (!value.isNull())
        query.addBindValue(value);
    query.exec();
    return query.next() ? query.value(0).toString() : QStringLiteral("<none>");
}

void makeKeltoDatabase(const QString &path, int examinees) {
    QVERIFY(Database::open(path, nullptr));
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("BEGIN")));
    query.prepare(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\", \"LName\") VALUES (?, ?, ?)"));
    for (int i = 0; i < examinees; ++i) {
        query.addBindValue(QString::number(i));
        query.addBindValue(QStringLiteral("first name %1").arg(i));
        query.addBindValue(QStringLiteral("last name %1").arg(i));
        QVERIFY(query.exec());
    }
    QVERIFY(query.exec(QStringLiteral("COMMIT")));
    query.finish();
    Database::close();
}

Immutable::Immutable(const QString &path) : m_path(path) {
    m_done = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
}

Immutable::~Immutable() {
    if (m_done)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
}

namespace {
constexpr qint64 pageSize = 4096;

bool overwritePage(QFile &file, qint64 pageNumber, int pages = 1) {
    return file.seek((pageNumber - 1) * pageSize) &&
           file.write(QByteArray(pages * pageSize, '\xA5')) == pages * pageSize;
}
} // namespace

bool damageMiddlePages(const QString &path, int pages) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 4 * pages * pageSize)
        return false;
    return overwritePage(file, file.size() / 2 / pageSize + 1, pages);
}

bool damagePagesOf(const QString &path, const QString &btree, int pages) {
    QList<qint64> numbers;
    const QString name = QStringLiteral("kelto-test-pages");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        const bool opened = db.open();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT pageno FROM dbstat WHERE name = ? AND pagetype = 'leaf' ORDER BY pageno"));
        query.addBindValue(btree);
        if (opened && query.exec()) {
            while (query.next())
                numbers << query.value(0).toLongLong();
        }
        query = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile file(path);
    if (numbers.size() < 3 * pages || !file.open(QIODevice::ReadWrite))
        return false;
    for (int i = 0; i < pages; ++i) {
        if (!overwritePage(file, numbers.at(numbers.size() / 2 + i)))
            return false;
    }
    return true;
}

namespace {
bool writeProcFile(const char *path, const QByteArray &text) {
    const int fd = ::open(path, O_WRONLY);
    const bool done = fd >= 0 && ::write(fd, text.constData(), size_t(text.size())) == text.size();
    if (fd >= 0)
        ::close(fd);
    return done;
}

// Enters a mount namespace of this process's own, once; as another user than root, inside a user
// namespace of its own too (possible only while the process has one thread). Empty when done.
QString enterPrivateMounts() {
    static const QString error = []() -> QString {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (unshare(CLONE_NEWNS) != 0) {
            if (uid == 0 || unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                return QStringLiteral("no mount namespace of its own: %1").arg(QString::fromLocal8Bit(strerror(errno)));
            writeProcFile("/proc/self/setgroups", "deny");
            writeProcFile("/proc/self/uid_map", QByteArray("0 ") + QByteArray::number(uid) + " 1");
            writeProcFile("/proc/self/gid_map", QByteArray("0 ") + QByteArray::number(gid) + " 1");
        }
        // Mounts made from now on stay in this namespace.
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("mounts cannot be made private: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return {};
    }();
    return error;
}
} // namespace

SmallDisk::SmallDisk(const QString &folder, qint64 bytes) : m_folder(QDir(folder).absolutePath()) {
    m_error = enterPrivateMounts();
    if (!m_error.isEmpty())
        return;
    QDir().mkpath(m_folder);
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (mount("kelto-small-disk", QFile::encodeName(m_folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
              options.constData()) != 0)
        m_error = QStringLiteral("no tmpfs mounted: %1").arg(QString::fromLocal8Bit(strerror(errno)));
}

SmallDisk::~SmallDisk() {
    if (m_error.isEmpty())
        umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}
