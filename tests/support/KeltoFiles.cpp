#include "KeltoFiles.h"

#include "store/Database.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTest>

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
