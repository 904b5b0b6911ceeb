// A registration's save against the bare SQL that stores the same two rows, on a database of
// 100,000 examinees. The save is what the registration panel does once the fields are filled: the
// typed values on a new examinee row, the duplicate check of the code over examinee and answer
// rows, both rows stored in one transaction, both sources re-read. The baseline is two prepared
// INSERTs in one transaction. Turns alternate; prints the medians and their ratio (goal: at most
// 1.5). Usage: bench_registration [examinees] [rounds]   (defaults 100000 and 200)

#include "BigDatabase.h"

#include "examinees/ExamineeRows.h"
#include "store/DataSource.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {
const QStringList examineeFields{QStringLiteral("Code"),   QStringLiteral("FName"), QStringLiteral("LName"),
                                 QStringLiteral("Jens"),   QStringLiteral("Sen"),   QStringLiteral("Taahol"),
                                 QStringLiteral("Tahsil"), QStringLiteral("Group"), QStringLiteral("Date"),
                                 QStringLiteral("Time")};

QStringList examineeValues(const QString &code) {
    return {code,
            QStringLiteral("سارا"),
            QStringLiteral("کريمي"),
            QStringLiteral("زن"),
            QStringLiteral("34"),
            QStringLiteral("مجرد"),
            QStringLiteral("ليسانس"),
            QStringLiteral("B"),
            QStringLiteral("1405/09/18"),
            QStringLiteral("15:30:00")};
}

double medianMs(std::vector<qint64> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2] / 1e6;
}

struct Sources {
    DataSource examinees{QStringLiteral("IDE")};
    DataSource answers{QStringLiteral("Answer")};
    DataSource examineeCheck{QStringLiteral("IDE")};
    DataSource answerCheck{QStringLiteral("Answer")};
};

bool registerThroughSources(Sources &sources, const QString &code) {
    sources.examinees.addNew();
    const QStringList values = examineeValues(code);
    for (int i = 0; i < examineeFields.size(); ++i)
        sources.examinees.setValue(examineeFields.at(i), values.at(i));
    if (ExamineeRows::codeInUse(sources.examineeCheck, sources.answerCheck, code))
        return false;
    if (!ExamineeRows::registerExaminee(sources.examinees, sources.answers, nullptr))
        return false;
    sources.examinees.refresh();
    sources.answers.refresh();
    return true;
}

class BareInserts {
public:
    BareInserts() : m_examinee(Database::connection()), m_answer(Database::connection()) {
        QStringList quoted, marks;
        for (const QString &field : examineeFields) {
            quoted << Database::quoted(field);
            marks << QStringLiteral("?");
        }
        m_examinee.prepare(QStringLiteral("INSERT INTO \"IDE\" (%1) VALUES (%2)")
                               .arg(quoted.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        m_answer.prepare(QStringLiteral("INSERT INTO \"Answer\" (\"Code\") VALUES (?)"));
    }

    bool insert(const QString &code) {
        QSqlQuery transaction(Database::connection());
        if (!transaction.exec(QStringLiteral("BEGIN")))
            return false;
        const QStringList values = examineeValues(code);
        for (int i = 0; i < values.size(); ++i)
            m_examinee.bindValue(i, values.at(i));
        m_answer.bindValue(0, code);
        return m_examinee.exec() && m_answer.exec() && transaction.exec(QStringLiteral("COMMIT"));
    }

private:
    QSqlQuery m_examinee;
    QSqlQuery m_answer;
};
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int examinees = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 200;
    QTextStream out(stdout);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("DBKelto/DBKelto.mdb"));
    QString error;
    if (!buildBigDatabase(path, examinees, &error) || !Database::open(path, &error)) {
        out << "the database could not be made: " << error << Qt::endl;
        return 1;
    }
    std::vector<qint64> viaPanel, viaBare;
    {
        Sources sources;
        BareInserts bare;
        QElapsedTimer timer;
        for (int round = -rounds / 10; round < rounds; ++round) { // the first tenth warms up
            const int number = round + rounds / 10;
            // Alternate which one goes first so that neither profits from the other's cache.
            for (int turn = 0; turn < 2; ++turn) {
                const bool panelTurn = (turn == 0) == (round % 2 == 0);
                const QString code = QStringLiteral("%1-%2").arg(panelTurn ? u'R' : u'S').arg(number);
                timer.start();
                const bool stored = panelTurn ? registerThroughSources(sources, code) : bare.insert(code);
                const qint64 elapsed = timer.nsecsElapsed();
                if (!stored) {
                    out << "storing " << code << " failed" << Qt::endl;
                    return 1;
                }
                if (round >= 0)
                    (panelTurn ? viaPanel : viaBare).push_back(elapsed);
            }
        }
    }
    const double ratio = medianMs(viaPanel) / medianMs(viaBare);
    out << "Examinees: " << examinees << ", " << rounds << " rounds, each registering one examinee both ways\n\n";
    out << "| save | registration (ms, median) | two bare INSERTs in one transaction (ms, median) | ratio |\n";
    out << "|---|---|---|---|\n";
    out << "| examinee row and answer row | " << QString::number(medianMs(viaPanel), 'f', 2) << " | "
        << QString::number(medianMs(viaBare), 'f', 2) << " | " << QString::number(ratio, 'f', 2) << " |\n";
    out << "\nGoal (ratio at most 1.5): " << (ratio <= 1.5 ? "met" : "NOT met") << Qt::endl;
    Database::close();
    return 0;
}
