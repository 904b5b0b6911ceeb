// Selecting and scoring one examinee in the result sheet (the work after the code is typed: the
// answer row's look-up, the completeness check, the examinee's look-up, the 23 scores, the record
// and the scores put into their boxes; not their drawing) against a bare QSqlQuery that reads the
// answer row by code, on a database of 100,000 examinees, in the same run. For the breakdown, the
// two look-ups the selection makes are also timed alone, through data sources as the window makes
// them. Prints a table of median times and their ratios (goal: the selection at most 1.5 times the
// bare SELECT). Usage: bench_scoring [examinees] [repetitions]   (defaults 100000 and 2000)

#include "BigDatabase.h"

#include "scoring/FrmkLID.h"
#include "shell/PersianApplication.h"
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
    for (int i = -repetitions / 10; i < repetitions; ++i) { // the first tenth warms up
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
            return 1;
        }
    }
    const double baseline = median(steps[0].samples);
    const double ratio = median(steps[1].samples) / baseline;
    out << "Examinees: " << examinees << ", " << repetitions << " selections of a random examinee\n\n";
    out << "| measure | us, median | ratio to the bare SELECT |\n";
    out << "|---|---|---|\n";
    for (const Step &step : steps)
        out << "| " << step.name << " | " << QString::number(median(step.samples), 'f', 1) << " | "
            << QString::number(median(step.samples) / baseline, 'f', 2) << " |\n";
    out << "\nGoal (selection at most 1.5 times the bare SELECT): " << (ratio <= 1.5 ? "met" : "NOT met") << Qt::endl;
    window->close();
    Database::close();
    return 0;
}
