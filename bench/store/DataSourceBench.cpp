// Data source filter and count against the same SELECTs through a bare QSqlQuery, on a database
// of 100,000 examinees. Prints a table of median times and their ratio (goal: at most 1.5).
// Usage: bench_store [examinees] [repetitions]   (defaults 100000 and 2000)

#include "BigDatabase.h"

#include "store/DataSource.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
struct Case {
    const char *name;
    QString table;
    QString field;
    std::function<QString(int)> value; // the filter value for repetition i
};

double median(std::vector<qint64> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2] / 1000.0; // microseconds
}

// What a caller without a data source writes for the same look-up: count the matches and, if
// there are any, read the first matching row (rowid and the table's columnCount fields).
int bareLookup(const QString &table, const QString &field, const QString &value, const QString &columns,
               int columnCount) {
    QSqlQuery count(Database::connection());
    count.setForwardOnly(true);
    count.prepare(
        QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(Database::quoted(table), Database::quoted(field)));
    count.addBindValue(value);
    count.exec();
    count.next();
    const int rows = count.value(0).toInt();
    if (rows == 0)
        return rows;
    QSqlQuery first(Database::connection());
    first.setForwardOnly(true);
    first.prepare(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3 = ? ORDER BY rowid LIMIT 1")
                      .arg(columns, Database::quoted(table), Database::quoted(field)));
    first.addBindValue(value);
    first.exec();
    if (first.next())
        for (int i = 0; i <= columnCount; ++i)
            first.value(i).toString();
    return rows;
}

QString allColumns(const QString &table) {
    const QSqlRecord record = Database::connection().record(table);
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << Database::quoted(record.fieldName(i));
    return columns.join(QStringLiteral(", "));
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int examinees = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int repetitions = args.size() > 2 ? args.at(2).toInt() : 2000;
    QTextStream out(stdout);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("DBKelto/DBKelto.mdb"));
    QElapsedTimer build;
    build.start();
    QString error;
    if (!buildBigDatabase(path, examinees, &error)) {
        out << "building the database failed: " << error << Qt::endl;
        return 1;
    }
    const double buildSeconds = build.elapsed() / 1000.0;
    QElapsedTimer opening;
    opening.start();
    if (!Database::open(path, &error)) {
        out << error << Qt::endl;
        return 1;
    }
    const qint64 openingMs = opening.elapsed();

    QRandomGenerator random(7);
    std::vector<int> picks(repetitions);
    for (int &pick : picks)
        pick = random.bounded(examinees);
    const QList<Case> cases{
        {"IDE by code (one row)", QStringLiteral("IDE"), QStringLiteral("code"),
         [&](int i) { return bigDatabaseCode(picks[i]); }},
        {"IDE by code (no row)", QStringLiteral("IDE"), QStringLiteral("code"),
         [&](int i) { return QStringLiteral("missing-%1").arg(i); }},
        {"Answer by code (one row)", QStringLiteral("Answer"), QStringLiteral("code"),
         [&](int i) { return bigDatabaseCode(picks[i]); }},
        {"IDE by group (1/7 of rows)", QStringLiteral("IDE"), QStringLiteral("Group"),
         [&](int i) { return QString(QLatin1Char(char('A' + i % 7))); }},
    };

    out << "Examinees: " << examinees << ", database built in " << QString::number(buildSeconds, 'f', 1) << " s, file "
        << QFile(path).size() / (1024 * 1024) << " MiB, opened (with its checks) in " << openingMs << " ms, "
        << repetitions << " repetitions per case\n\n";
    out << "| look-up + count | data source (us, median) | bare QSqlQuery (us, median) | ratio |\n";
    out << "|---|---|---|---|\n";
    bool withinGoal = true;
    for (const Case &c : cases) {
        DataSource source(c.table);
        const QString columns = allColumns(c.table);
        const int columnCount = Database::connection().record(c.table).count();
        const QString realField = source.fieldName(c.field);
        std::vector<qint64> viaSource, viaQuery;
        QElapsedTimer timer;
        int checksum = 0;
        for (int i = -repetitions / 10; i < repetitions; ++i) { // the first tenth warms up
            const QString value = c.value(std::max(i, 0));
            // Alternate which one goes first so that neither profits from the other's cache.
            for (int turn = 0; turn < 2; ++turn) {
                const bool sourceTurn = (turn == 0) == (i % 2 == 0);
                timer.start();
                if (sourceTurn) {
                    source.setFilter(c.field, value);
                    checksum += source.recordCount();
                } else {
                    checksum -= bareLookup(c.table, realField, value, columns, columnCount);
                }
                const qint64 elapsed = timer.nsecsElapsed();
                if (i >= 0)
                    (sourceTurn ? viaSource : viaQuery).push_back(elapsed);
            }
        }
        if (checksum != 0) {
            out << "the data source and the bare query disagree on " << c.name << Qt::endl;
            return 1;
        }
        const double ratio = median(viaSource) / median(viaQuery);
        withinGoal = withinGoal && ratio <= 1.5;
        out << "| " << c.name << " | " << QString::number(median(viaSource), 'f', 1) << " | "
            << QString::number(median(viaQuery), 'f', 1) << " | " << QString::number(ratio, 'f', 2) << " |\n";
    }
    out << "\nGoal (ratio at most 1.5): " << (withinGoal ? "met" : "NOT met") << Qt::endl;
    Database::close();
    return 0;
}
