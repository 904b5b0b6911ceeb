// Selecting and scoring one examinee in the result sheet (the work after the code is typed: the
// answer row's look-up, the completeness check, the examinee's look-up, the 23 scores, the record
// and the scores put into their boxes; not their drawing) against a bare QSqlQuery that reads the
// answer row by code, on a database of 100,000 examinees, in the same run. For the breakdown, the
// two look-ups the selection makes are also timed alone, through data sources as the window makes
// them. Runs a few rounds and prints the table of the round whose ratio is the median, and every
// round's ratio (goal: the selection at most 1.5 times the bare SELECT at the median of the rounds).
// Usage: bench_scoring [examinees] [repetitions] [rounds]   (defaults 100000, 2000 and 5)

#include "BigDatabase.h"

#include "scoring/FrmkLID.h"
#include "widgets/PersianApplication.h"
#include "store/DataSource.h"
#include "store/Database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {
double median(std::vector<qint64> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2] / 1000.0; // microseconds
}

// What a caller without the window writes to read one examinee's answers: the answer row by code,
// compared as the program compares codes (through the index made for that).
int bareAnswerRow(const QString &code) {
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM \"Answer\" WHERE \"Code\" = ? COLLATE NOCASE"));
    query.addBindValue(code);
    query.exec();
    int sum = 0;
    if (query.next()) {
        const int fields = query.record().count();
        for (int field = 0; field < fields; ++field)
            sum += query.value(field).toString().size();
    }
    return sum;
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpPersianApplication(app);
    const QStringList args = app.arguments();
    const int examinees = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int repetitions = args.size() > 2 ? args.at(2).toInt() : 2000;
    const int rounds = args.size() > 3 ? std::max(1, args.at(3).toInt()) : 5;
    QTextStream out(stdout);

    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    QString error;
    if (!buildBigDatabase(Database::relativePath(), examinees, &error) ||
        !Database::open(Database::relativePath(), &error)) {
        out << error << Qt::endl;
        return 1;
    }
    auto *window = FrmkLID::showNew();
    QCoreApplication::processEvents();
    auto *selected = window->findChild<QLineEdit *>(QStringLiteral("Text5"));
    auto *immatureTotal = window->findChild<QLineEdit *>(QStringLiteral("Text3_12"));

    DataSource answerRows(QStringLiteral("Answer"));
    DataSource examineeRows(QStringLiteral("IDE"));
    struct Step {
        const char *name;
        std::function<void(const QString &)> run;
        std::vector<qint64> samples;
    };
    Step steps[] = {
        {"bare SELECT of the answer row (baseline)", bareAnswerRow, {}},
        {"select and score one examinee (result sheet)", [window](const QString &code) { window->select(code); }, {}},
        {"of which: the answer row's look-up (data source)",
         [&](const QString &code) { answerRows.setFilter(QStringLiteral("code"), code); },
         {}},
        {"of which: the examinee's look-up (data source)",
         [&](const QString &code) { examineeRows.setFilter(QStringLiteral("code"), code); },
         {}},
    };
    QRandomGenerator random(7);
    QElapsedTimer timer;
    // One round: the steps' medians over its selections (the first tenth warms up).
    const auto runRound = [&]() -> bool {
        for (Step &step : steps)
            step.samples.clear();
        for (int i = -repetitions / 10; i < repetitions; ++i) {
            const QString code = bigDatabaseCode(random.bounded(examinees));
            // Each step in turn goes first, so that none profits from another's cache.
            for (int turn = 0; turn < 4; ++turn) {
                Step &step = steps[(turn + i + repetitions) % 4];
                timer.start();
                step.run(code);
                const qint64 elapsed = timer.nsecsElapsed();
                if (i >= 0)
                    step.samples.push_back(elapsed);
            }
            // The window paints between two selections, as it does between a user's clicks; every
            // step then starts from the caches a user's selection meets.
            QCoreApplication::processEvents();
            if (selected->text() != code || immatureTotal->text().isEmpty()) {
                out << "the examinee " << code << " was not scored" << Qt::endl;
                return false;
            }
        }
        return true;
    };
    struct Round {
        double ratio;
        QString table;
    };
    std::vector<Round> results;
    for (int round = 0; round < rounds; ++round) {
        if (!runRound())
            return 1;
        const double baseline = median(steps[0].samples);
        QString table;
        for (const Step &step : steps)
            table += QStringLiteral("| %1 | %2 | %3 |\n")
                         .arg(QString::fromUtf8(step.name), QString::number(median(step.samples), 'f', 1),
                              QString::number(median(step.samples) / baseline, 'f', 2));
        results.push_back({median(steps[1].samples) / baseline, table});
    }
    std::vector<Round> byRatio = results;
    std::sort(byRatio.begin(), byRatio.end(), [](const Round &a, const Round &b) { return a.ratio < b.ratio; });
    const Round &middle = byRatio[byRatio.size() / 2];
    out << "Examinees: " << examinees << ", " << rounds << " rounds of " << repetitions
        << " selections of a random examinee; the round of the median ratio:\n\n";
    out << "| measure | us, median | ratio to the bare SELECT |\n";
    out << "|---|---|---|\n" << middle.table;
    out << "\nThe selection's ratio by round:";
    for (const Round &round : results)
        out << " " << QString::number(round.ratio, 'f', 2);
    out << "\n\nGoal (selection at most 1.5 times the bare SELECT, at the median of the rounds): "
        << (middle.ratio <= 1.5 ? "met" : "NOT met") << Qt::endl;
    window->close();
    Database::close();
    return 0;
}
