// The register on a PostgreSQL server started as the tests start one (tests/support/PostgresServer),
// through Kelto's store against bare QSqlQuery statements on the same server in the same run:
//   a look-up by code (a data source filtered on the code, its row read) against one prepared
//   SELECT of the row along the same index (goal: at most 1.5);
//   a filter's count (a group) against a prepared SELECT COUNT(*) (goal: at most 1.5);
//   a registration save (ExamineeRows) against two prepared INSERTs in one transaction (goal: at
//   most 1.5);
//   opening the examinee directory until its grid has painted its first screen, against a bare
//   read of the grid's four columns of every row (goal: at most 1).
// Then the same database grown with generate_series to the larger size: the look-up and the
// directory again; the look-up should stay flat (goal: at most 1.5 times its time at the smaller
// size). Each figure is the median of the rounds; in each round the two sides take turns going first.
// Usage: bench_server_store <skins folder> [examinees] [grown to] [rounds]

#include "../Timing.h"
#include "DirectoryOpening.h"
#include "support/PostgresServer.h"

#include "examinees/ExamineeRows.h"
#include "examinees/FrmCode.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {
constexpr int LookUps = 400;
constexpr int Counts = 40;
constexpr int Registrations = 200;

// Milliseconds taken by the work.
double timed(const std::function<void()> &work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

bool run(const QString &sql, QString *error) {
    QSqlQuery query(Database::connection());
    if (query.exec(sql))
        return true;
    *error = query.lastError().text() + QStringLiteral(" in ") + sql.left(120);
    return false;
}

QString codeOf(int number) { return QStringLiteral("K%1").arg(number, 7, 10, QLatin1Char('0')); }

// Examinees first..last (1-based), each with a full answer row, written by the server itself.
bool fill(int first, int last, QString *error) {
    QStringList answerFields{QStringLiteral("\"Code\"")}, answers{QStringLiteral("'K' || lpad(g::text, 7, '0')")};
    for (int item = 1; item <= Schema::answerCount; ++item) {
        answerFields << Database::quoted(Schema::answerField(item));
        answers << QStringLiteral("((g + %1) % 9 + 1)::text").arg(item);
    }
    const QString range = QStringLiteral(" FROM generate_series(%1, %2) g").arg(first).arg(last);
    return run(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\", \"LName\", \"Jens\", \"Sen\", \"Taahol\", "
                              "\"Tahsil\", \"Group\", \"Date\", \"Time\") SELECT 'K' || lpad(g::text, 7, '0'), "
                              "'first ' || g % 12, 'last ' || g % 444, CASE g % 2 WHEN 0 THEN 'm' ELSE 'f' END, "
                              "(18 + g % 60)::text, 'single', 'BA', chr(65 + g % 7), '1385/07/01', '10:00:00'") +
                   range,
               error) &&
           run(QStringLiteral("INSERT INTO \"Answer\" (%1) SELECT %2")
                       .arg(answerFields.join(QStringLiteral(", ")), answers.join(QStringLiteral(", "))) +
                   range,
               error) &&
           run(QStringLiteral("VACUUM ANALYZE \"IDE\""), error) &&
           run(QStringLiteral("VACUUM ANALYZE \"Answer\""), error);
}

// The code index's own expression, as a program of its own would write the look-up.
const QString bareCodeKey = QStringLiteral(
    "lower(translate(%1, '\u06F0\u06F1\u06F2\u06F3\u06F4\u06F5\u06F6\u06F7\u06F8\u06F9\u0660\u0661\u0662\u0663"
    "\u0664\u0665\u0666\u0667\u0668\u0669', '01234567890123456789'))");

struct Pair {
    QList<double> kelto, bare;
    void add(double k, double b) {
        kelto << k;
        bare << b;
    }
    double ratio() const { return median(kelto) / median(bare); }
};

// Runs the two sides of one round, the one going first taking turns from round to round. Round -1
// warms the server's caches up and is not kept.
void round(int number, Pair *pair, const std::function<double()> &kelto, const std::function<double()> &bare) {
    double k, b;
    if (number % 2) {
        b = bare();
        k = kelto();
    } else {
        k = kelto();
        b = bare();
    }
    if (number >= 0)
        pair->add(k, b);
}

struct Figures {
    int examinees = 0;
    Pair lookUp, count, registration, directory;
};

// Examinee numbers spread over the table, the same for both sides.
int spread(int i, int examinees) { return int((qint64(i) * 7919 + 13) % examinees) + 1; }

Pair measureLookUp(int rounds, int examinees) {
    Pair pair;
    const QStringList fields = Schema::examineeFields();
    QSqlQuery bare(Database::connection());
    bare.setForwardOnly(true);
    bare.prepare(QStringLiteral("SELECT \"ID\", \"%1\" FROM \"IDE\" WHERE %2 = %3")
                     .arg(fields.join(QStringLiteral("\", \"")), bareCodeKey.arg(QStringLiteral("\"Code\"")),
                          bareCodeKey.arg(QStringLiteral("?"))));
    for (int r = -1; r < rounds; ++r) {
        round(
            r, &pair,
            [&] {
                DataSource examinee(QStringLiteral("IDE"));
                return timed([&] {
                    for (int i = 0; i < LookUps; ++i) {
                        examinee.setFilter(Schema::code, codeOf(spread(i + r + 1, examinees)).toLower());
                        for (const QString &field : fields)
                            examinee.value(field);
                    }
                });
            },
            [&] {
                return timed([&] {
                    for (int i = 0; i < LookUps; ++i) {
                        bare.addBindValue(codeOf(spread(i + r + 1, examinees)).toLower());
                        bare.exec();
                        bare.next();
                        for (int field = 0; field <= fields.size(); ++field)
                            bare.value(field).toString();
                    }
                });
            });
    }
    return pair;
}

Pair measureCount(int rounds) {
    Pair pair;
    QSqlQuery bare(Database::connection());
    bare.setForwardOnly(true);
    bare.prepare(QStringLiteral("SELECT COUNT(*) FROM \"IDE\" WHERE lower(\"Group\") = lower(?)"));
    const auto group = [](int i) { return QString(QLatin1Char(char('A' + i % 7))); };
    for (int r = -1; r < rounds; ++r) {
        round(
            r, &pair,
            [&] {
                DataSource examinees(QStringLiteral("IDE"));
                return timed([&] {
                    for (int i = 0; i < Counts; ++i) {
                        examinees.setFilter(Schema::group, group(i));
                        examinees.recordCount();
                    }
                });
            },
            [&] {
                return timed([&] {
                    for (int i = 0; i < Counts; ++i) {
                        bare.addBindValue(group(i));
                        bare.exec();
                        bare.next();
                        bare.value(0).toInt();
                    }
                });
            });
    }
    return pair;
}

Pair measureRegistration(int rounds, QString *error) {
    Pair pair;
    const QStringList fields = Schema::examineeFields();
    QStringList marks(fields.size(), QStringLiteral("?"));
    for (int r = -1; r < rounds && error->isEmpty(); ++r) {
        round(
            r, &pair,
            [&] {
                DataSource examinees(QStringLiteral("IDE")), answers(QStringLiteral("Answer"));
                return timed([&] {
                    for (int i = 0; i < Registrations; ++i) {
                        examinees.addNew();
                        for (const QString &field : fields)
                            examinees.setValue(field, QStringLiteral("k%1-%2 ").arg(r).arg(i) + field);
                        if (!ExamineeRows::registerExaminee(examinees, answers, error))
                            return;
                    }
                });
            },
            [&] {
                QSqlQuery transaction(Database::connection()), examinee(Database::connection()),
                    answer(Database::connection());
                examinee.prepare(QStringLiteral("INSERT INTO \"IDE\" (\"%1\") VALUES (%2)")
                                     .arg(fields.join(QStringLiteral("\", \"")), marks.join(QStringLiteral(", "))));
                answer.prepare(QStringLiteral("INSERT INTO \"Answer\" (\"Code\") VALUES (?)"));
                return timed([&] {
                    for (int i = 0; i < Registrations; ++i) {
                        transaction.exec(QStringLiteral("BEGIN"));
                        for (const QString &field : fields)
                            examinee.addBindValue(QStringLiteral("b%1-%2 ").arg(r).arg(i) + field);
                        answer.addBindValue(QStringLiteral("b%1-%2 Code").arg(r).arg(i));
                        if (!examinee.exec() || !answer.exec() || !transaction.exec(QStringLiteral("COMMIT"))) {
                            *error = examinee.lastError().text() + answer.lastError().text();
                            return;
                        }
                    }
                });
            });
        // The registrations of the round go again, so that every round meets the same table.
        for (const QString &table : {QStringLiteral("IDE"), QStringLiteral("Answer")})
            run(QStringLiteral("DELETE FROM \"%1\" WHERE \"Code\" NOT LIKE 'K%'").arg(table), error);
    }
    return pair;
}

Pair measureDirectory(int rounds, int *bareRows) {
    Pair pair;
    for (int r = -1; r < rounds; ++r) {
        std::unique_ptr<FrmCode> window;
        round(
            r, &pair, [&] { return openDirectory(&window); },
            [&] {
                return timed([&] {
                    QSqlQuery query(Database::connection());
                    query.setForwardOnly(true);
                    query.exec(QStringLiteral("SELECT \"Code\", \"FName\", \"LName\", \"Group\" FROM \"IDE\" "
                                              "ORDER BY \"ID\""));
                    *bareRows = 0;
                    while (query.next()) {
                        for (int column = 0; column < 4; ++column)
                            query.value(column).toString();
                        ++*bareRows;
                    }
                });
            });
    }
    return pair;
}

QString ms(double value) { return QString::number(value, 'f', value < 10 ? 3 : 1); }

void row(QTextStream &out, const QString &what, const Pair &pair, double per, const QString &goal) {
    out << "| " << what << " | " << ms(median(pair.kelto) / per) << " | " << ms(median(pair.bare) / per) << " | "
        << QString::number(pair.ratio(), 'f', 2) << " | " << goal << " |\n";
}

QString samples(const QList<double> &values, double per) {
    QStringList texts;
    for (const double value : values)
        texts << ms(value / per);
    return texts.join(QLatin1Char(' '));
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    setUpPersianApplication(app);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    const QString skins = args.at(1);
    const int examinees = args.size() > 2 ? args.at(2).toInt() : 100000;
    const int grown = args.size() > 3 ? args.at(3).toInt() : 1000000;
    const int rounds = args.size() > 4 ? args.at(4).toInt() : 3;
    QTextStream out(stdout);

    QTemporaryDir folder;
    useAsProgramFolder(folder.path(), skins);
    PostgresServer server;
    const EngineSettings::Choice choice = server.choiceFor(QStringLiteral("kelto_bench"));
    QString error;
    if (!server.start(&error) || !server.createDatabase(choice.database, &error) ||
        !Database::openServer(choice, &error) || !fill(1, examinees, &error)) {
        out << "server: " << error << Qt::endl;
        return 1;
    }

    Figures small, large;
    int bareRows = 0;
    small.examinees = examinees;
    small.lookUp = measureLookUp(rounds, examinees);
    small.count = measureCount(rounds);
    small.registration = measureRegistration(rounds, &error);
    small.directory = measureDirectory(rounds, &bareRows);
    if (error.isEmpty() && fill(examinees + 1, grown, &error)) {
        large.examinees = grown;
        large.lookUp = measureLookUp(rounds, grown);
        large.directory = measureDirectory(rounds, &bareRows);
    }
    if (!error.isEmpty()) {
        out << "failed: " << error << Qt::endl;
        return 1;
    }
    Database::close();

    const double growth = median(large.lookUp.kelto) / median(small.lookUp.kelto);
    out << "PostgreSQL 15 on a Unix socket; " << rounds << " rounds, medians; " << LookUps << " look-ups, " << Counts
        << " counts, " << Registrations << " registrations a round\n\n";
    out << "| case | Kelto, ms | bare QSqlQuery, ms | ratio | goal |\n|---|---|---|---|---|\n";
    const QString at = QStringLiteral(" (%1 examinees)");
    row(out, QStringLiteral("a look-up by code") + at.arg(examinees), small.lookUp, LookUps,
        QStringLiteral("at most 1.5"));
    row(out, QStringLiteral("a group's count") + at.arg(examinees), small.count, Counts, QStringLiteral("at most 1.5"));
    row(out, QStringLiteral("a registration save / two INSERTs in one transaction") + at.arg(examinees),
        small.registration, Registrations, QStringLiteral("at most 1.5"));
    row(out, QStringLiteral("opening the directory / its four columns of every row") + at.arg(examinees),
        small.directory, 1, QStringLiteral("at most 1"));
    row(out, QStringLiteral("a look-up by code") + at.arg(grown), large.lookUp, LookUps, QStringLiteral("at most 1.5"));
    row(out, QStringLiteral("opening the directory / its four columns of every row") + at.arg(grown), large.directory,
        1, QStringLiteral("at most 1"));
    out << "\nlook-up at " << grown << " against " << examinees << ": " << QString::number(growth, 'f', 2)
        << " (goal: at most 1.5, flat)\n";
    out << "directory opening at " << grown << " against " << examinees << ": "
        << QString::number(median(large.directory.kelto) / median(small.directory.kelto), 'f', 2) << "\n";
    out << "all rounds (Kelto; bare): look-up " << samples(small.lookUp.kelto, LookUps) << "; "
        << samples(small.lookUp.bare, LookUps) << "; count " << samples(small.count.kelto, Counts) << "; "
        << samples(small.count.bare, Counts) << "; registration " << samples(small.registration.kelto, Registrations)
        << "; " << samples(small.registration.bare, Registrations) << "; directory "
        << samples(small.directory.kelto, 1) << "; " << samples(small.directory.bare, 1) << "; grown look-up "
        << samples(large.lookUp.kelto, LookUps) << "; " << samples(large.lookUp.bare, LookUps) << "; grown directory "
        << samples(large.directory.kelto, 1) << "; " << samples(large.directory.bare, 1) << "\n";
    const bool met = small.lookUp.ratio() <= 1.5 && small.count.ratio() <= 1.5 && small.registration.ratio() <= 1.5 &&
                     small.directory.ratio() <= 1 && large.lookUp.ratio() <= 1.5 && large.directory.ratio() <= 1 &&
                     growth <= 1.5;
    out << "\nGoals: " << (met ? "met" : "NOT met") << Qt::endl;
    return 0;
}
