#include "KeltoFiles.h"

#include "store/Database.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

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
