#include "KeltoFiles.h"

#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

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

bool overwritePages(const QString &path, const QList<qint64> &numbers) {
    QFile file(path);
    bool done = file.open(QIODevice::ReadWrite) && !numbers.isEmpty();
    for (qint64 number : numbers)
        done = done && file.seek((number - 1) * pageSize) && file.write(QByteArray(pageSize, '\xA5')) == pageSize;
    return done;
}
} // namespace

bool damageMiddlePages(const QString &path, int pages) {
    const qint64 middle = QFileInfo(path).size() / pageSize / 2;
    QList<qint64> numbers;
    for (int i = 0; i < pages && middle > 2 * pages; ++i)
        numbers << middle + i;
    return overwritePages(path, numbers);
}

bool damagePagesOf(const QString &path, const QString &btree, int pages) {
    QList<qint64> leaves;
    if (!Database::open(path, nullptr))
        return false;
    for (const QString &page : columnInFile(QStringLiteral("SELECT pageno FROM dbstat WHERE name = '%1' AND pagetype = "
                                                           "'leaf' ORDER BY pageno")
                                                .arg(btree)))
        leaves << page.toLongLong();
    Database::close();
    return leaves.size() > 2 * pages && overwritePages(path, leaves.mid(leaves.size() / 2, pages));
}

SmallDisk::SmallDisk(const QString &folder, qint64 bytes) : m_folder(QDir(folder).absolutePath()) {
    // A mount namespace of the process's own, entered once: the mounts made in it stay there.
    static const bool privateMounts =
        unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (!privateMounts || !QDir().mkpath(m_folder) ||
        mount("kelto-small-disk", QFile::encodeName(m_folder).constData(), "tmpfs", 0, options.constData()) != 0)
        m_error = QStringLiteral("no small tmpfs of this process's own (%1): run as root, or under unshare -rm")
                      .arg(QString::fromLocal8Bit(strerror(errno)));
}

SmallDisk::~SmallDisk() {
    if (m_error.isEmpty())
        umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}
