// The examinee directory on a database of 100,000 examinees, against bare QSqlQuery reads in the
// same run, alternating which goes first. Whichever goes first reads the file's pages cold, so each
// side's times are kept apart by turn: the median going first and the median going second, their
// mean the side's figure. Prints these and their ratios:
//   opening the directory until its grid has painted the first screen, against a bare read of
//   the grid's four columns of every row (goal: at most 1);
//   a last name chosen until the grid holds the rows of its first screen, against the same
//   SELECT read bare (goal: at most 1.5).
// Usage: bench_directory <skins folder> [examinees] [rounds] [grab.png]

#include "BigDatabase.h"
#include "../Timing.h"
#include "DirectoryOpening.h"

#include "examinees/FrmCode.h"
#include "store/Database.h"
#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {
// One side's times, by whether it went first (cold) or second (warm) in its round.
struct Turns {
    QList<double> first, second;
    void add(bool wentFirst, double ms) { (wentFirst ? first : second) << ms; }
    double figure() const { return (median(first) + median(second)) / 2; }
    QString text() const {
        return QString::number(figure(), 'f', 2) + QStringLiteral(" (") + QString::number(median(first), 'f', 2) +
               QStringLiteral(" first, ") + QString::number(median(second), 'f', 2) + QStringLiteral(" second)");
    }
};

// The rows the grid's first screen shows, read from its model.
int readFirstScreen(QTableView *grid) {
    const int rows = std::min(grid->model()->rowCount(), grid->viewport()->height() / grid->rowHeight(0) + 1);
    int characters = 0;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            characters += grid->model()->index(row, column).data().toString().size();
    return characters;
}

double bareRead(const QString &where, const QString &value, int *rows) {
    QElapsedTimer clock;
    clock.start();
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT \"Code\", \"FName\", \"LName\", \"Group\" FROM \"IDE\"%1 ORDER BY rowid").arg(where));
    if (!value.isNull())
        query.addBindValue(value);
    query.exec();
    *rows = 0;
    while (query.next()) {
        for (int column = 0; column < 4; ++column)
            query.value(column).toString();
        ++*rows;
    }
    return clock.nsecsElapsed() / 1e6;
}

double chooseLastName(FrmCode *window, int entry) {
    auto *names = window->findChild<QComboBox *>(QStringLiteral("DataCombo1"));
    QElapsedTimer clock;
    clock.start();
    names->setCurrentIndex(entry);
    emit names->activated(entry);
    readFirstScreen(gridOf(window));
    return clock.nsecsElapsed() / 1e6;
}

void grab(FrmCode *window, const QString &path) {
    window->grab().save(path);
    auto *names = window->findChild<QComboBox *>(QStringLiteral("DataCombo1"));
    names->setCurrentIndex(3);
    emit names->activated(3);
    QCoreApplication::processEvents();
    QString chosen = path;
    window->grab().save(chosen.replace(QStringLiteral(".png"), QStringLiteral("-last-name.png")));
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
    const int rounds = args.size() > 3 ? args.at(3).toInt() : 21;
    const QString grabPath = args.size() > 4 ? QFileInfo(args.at(4)).absoluteFilePath() : QString();
    QTextStream out(stdout);

    QTemporaryDir folder;
    useAsProgramFolder(folder.path(), skins);
    QString error;
    if (!buildBigDatabase(Database::relativePath(), examinees, &error) ||
        !Database::open(Database::relativePath(), &error)) {
        out << "database: " << error << Qt::endl;
        return 1;
    }

    Turns opening, bareAll, filter, bareFilter;
    int allRows = 0, filterRows = 0;
    std::unique_ptr<FrmCode> window;
    for (int round = -2; round < rounds; ++round) { // two rounds to warm up
        const bool directoryFirst = round % 2 == 0;
        double openMs = 0, bareMs = 0;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == directoryFirst)
                openMs = openDirectory(&window);
            else
                bareMs = bareRead(QString(), QString(), &allRows);
        }
        // The last names in turn, each a look-up of its own.
        auto *names = window->findChild<QComboBox *>(QStringLiteral("DataCombo1"));
        const int entry = (std::max(round, 0) * 7) % names->count();
        const QString name = names->itemText(entry);
        double filterMs = 0, bareFilterMs = 0;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == directoryFirst)
                filterMs = chooseLastName(window.get(), entry);
            else
                bareFilterMs = bareRead(QStringLiteral(" WHERE \"LName\" = ? COLLATE NOCASE"), name, &filterRows);
        }
        if (round >= 0) {
            opening.add(directoryFirst, openMs);
            bareAll.add(!directoryFirst, bareMs);
            filter.add(directoryFirst, filterMs);
            bareFilter.add(!directoryFirst, bareFilterMs);
        }
        window.reset();
    }
    if (!grabPath.isEmpty()) {
        openDirectory(&window);
        grab(window.get(), grabPath);
        window.reset();
    }

    const double openRatio = opening.figure() / bareAll.figure();
    const double filterRatio = filter.figure() / bareFilter.figure();
    out << "Examinees: " << examinees << ", " << rounds
        << " rounds; milliseconds, the mean of the medians going first and going second\n\n";
    out << "| case | directory | bare QSqlQuery | ratio | goal |\n|---|---|---|---|---|\n";
    out << "| opening until the grid shows its first screen / the grid's four columns of all " << allRows << " rows | "
        << opening.text() << " | " << bareAll.text() << " | " << QString::number(openRatio, 'f', 2)
        << " | at most 1 |\n";
    out << "| a last name chosen until the grid holds its first screen / the same SELECT (" << filterRows << " rows) | "
        << filter.text() << " | " << bareFilter.text() << " | " << QString::number(filterRatio, 'f', 2)
        << " | at most 1.5 |\n";
    out << "\nGoals: " << (openRatio <= 1 && filterRatio <= 1.5 ? "met" : "NOT met") << Qt::endl;
    Database::close();
    return 0;
}
