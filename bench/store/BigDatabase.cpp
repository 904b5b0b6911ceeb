#include "BigDatabase.h"

#include "store/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {
const QStringList firstNames{QStringLiteral("علي"),  QStringLiteral("سارا"),  QStringLiteral("رضا"),
                             QStringLiteral("مريم"), QStringLiteral("حسين"),  QStringLiteral("زهرا"),
                             QStringLiteral("مهدي"), QStringLiteral("فاطمه"), QStringLiteral("امير"),
                             QStringLiteral("نرگس"), QStringLiteral("کاوه"),  QStringLiteral("ليلا")};
const QStringList lastNames{QStringLiteral("احمدي"), QStringLiteral("کريمي"), QStringLiteral("رحيمي"),
                            QStringLiteral("حسيني"), QStringLiteral("محمدي"), QStringLiteral("رضايي"),
                            QStringLiteral("جعفري"), QStringLiteral("موسوي"), QStringLiteral("صادقي"),
                            QStringLiteral("نوري"),  QStringLiteral("کاظمي"), QStringLiteral("باقري")};

bool fail(QString *error, const QSqlQuery &query) {
    if (error)
        *error = query.lastError().text();
    return false;
}

bool fill(int examinees, QString *error) {
    QSqlQuery query(Database::connection());
    if (!query.exec(QStringLiteral("BEGIN")))
        return fail(error, query);
    QSqlQuery examinee(Database::connection());
    examinee.prepare(
        QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\", \"LName\", \"Jens\", \"Sen\", \"Taahol\", "
                       "\"Tahsil\", \"Group\", \"Date\", \"Time\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QStringList marks;
    QStringList fields{QStringLiteral("\"Code\"")};
    for (int item = 1; item <= 40; ++item) {
        fields << Database::quoted(QString::number(item));
        marks << QStringLiteral("?");
    }
    QSqlQuery answers(Database::connection());
    answers.prepare(QStringLiteral("INSERT INTO \"Answer\" (%1) VALUES (?, %2)")
                        .arg(fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (int number = 0; number < examinees; ++number) {
        const QString code = bigDatabaseCode(number);
        examinee.bindValue(0, code);
        examinee.bindValue(1, firstNames.at(number % firstNames.size()));
        examinee.bindValue(2, lastNames.at((number / firstNames.size()) % lastNames.size()) +
                                  QString::number(number % 37));
        examinee.bindValue(3, number % 2 ? QStringLiteral("زن") : QStringLiteral("مرد"));
        examinee.bindValue(4, QString::number(18 + number % 60));
        examinee.bindValue(5, QStringLiteral("مجرد"));
        examinee.bindValue(6, QStringLiteral("ليسانس"));
        examinee.bindValue(7, QString(QLatin1Char(char('A' + number % 7))));
        examinee.bindValue(8, QStringLiteral("1385/07/%1").arg(1 + number % 30, 2, 10, QLatin1Char('0')));
        examinee.bindValue(9, QStringLiteral("10:%1:00").arg(number % 60, 2, 10, QLatin1Char('0')));
        if (!examinee.exec())
            return fail(error, examinee);
        answers.bindValue(0, code);
        for (int item = 1; item <= 40; ++item)
            answers.bindValue(item, QString::number(1 + (number + item) % 9));
        if (!answers.exec())
            return fail(error, answers);
    }
    examinee.finish();
    answers.finish();
    return query.exec(QStringLiteral("COMMIT")) || fail(error, query);
}
} // namespace

QString bigDatabaseCode(int number) { return QStringLiteral("K%1").arg(number + 1, 7, 10, QLatin1Char('0')); }

bool buildBigDatabase(const QString &path, int examinees, QString *error) {
    if (!Database::open(path, error))
        return false;
    const bool ok = fill(examinees, error);
    Database::close();
    return ok;
}
