#include "profile/ExamineeExport.h"
#include "profile/ScoreProfile.h"
#include "scoring/ScoringKey.h"
#include "store/Database.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

namespace {
QStringList answersOf(int (*rating)(int item)) {
    QStringList answers;
    for (int item = 1; item <= 40; ++item)
        answers << QString::number(rating(item));
    return answers;
}

// RFC 4180 read back as a spreadsheet would: quoted fields may hold commas, doubled quotes and
// line breaks; every record ends with CRLF.
QList<QStringList> parseCsv(const QString &text, bool *wellFormed) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    *wellFormed = true;
    const auto next = [&text](int i) { return i + 1 < text.size() ? text.at(i + 1) : QChar(); };
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (quoted) {
            if (ch == u'"' && next(i) == u'"')
                field += text.at(++i);
            else if (ch == u'"')
                quoted = false;
            else
                field += ch;
        } else if (ch == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (ch == u',') {
            record << std::exchange(field, {});
        } else if (ch == u'\r' && next(i) == u'\n') {
            record << std::exchange(field, {});
            records << std::exchange(record, {});
            ++i;
        } else {
            *wellFormed &= ch != u'"' && ch != u'\r' && ch != u'\n';
            field += ch;
        }
    }
    *wellFormed &= !quoted && field.isEmpty() && record.isEmpty();
    return records;
}

void addExaminee(const QStringList &record, const QStringList &answers) {
    QSqlQuery query(Database::connection());
    query.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, LName, Jens, Sen, Taahol, Tahsil, \"Group\", \"Date\", "
                                 "\"Time\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QString &value : record)
        query.addBindValue(value);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    if (answers.isEmpty())
        return;
    QStringList marks(41, QStringLiteral("?"));
    QStringList names{QStringLiteral("Code")};
    for (int item = 1; item <= 40; ++item)
        names << Database::quoted(QString::number(item));
    query.prepare(QStringLiteral("INSERT INTO Answer (%1) VALUES (%2)").arg(names.join(u','), marks.join(u',')));
    query.addBindValue(record.first());
    for (const QString &answer : answers)
        query.addBindValue(answer);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
}
} // namespace

class ProfileExportTest : public QObject {
    Q_OBJECT
private slots:
    void chartValues_data();
    void chartValues();
    void formulasAreWrittenAsText_data();
    void formulasAreWrittenAsText();
    void exportReadsBack_data();
    void exportReadsBack();
    void exportLeavesNothingBehind_data();
    void exportLeavesNothingBehind();

private:
    TempProgramFolder m_folder;
    QString m_folderError;
    bool m_opened = m_folder.openDatabase(&m_folderError);
};

void ProfileExportTest::chartValues_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QList<double>>("mechanismMeans"); // in score-box order
    QTest::addColumn<QList<double>>("styleMeans");

    QTest::newRow("item i rated i mod 9 + 1")
        << answersOf([](int item) { return item % 9 + 1; }) << QString()
        << QList<double>{6.5, 5, 5, 4, 3.5, 3, 2.5, 7.5, 3.5, 3.5, 6, 5, 5.5, 3.5, 7.5, 6.5, 3, 5, 5.5, 5.5}
        << QList<double>{110.0 / 24, 46.0 / 8, 38.0 / 8};
    QTest::newRow("all 9: the top of the scale, every style alike")
        << answersOf([](int) { return 9; }) << QString() << QList<double>(20, 9) << QList<double>{9, 9, 9};
    QStringList gaps = answersOf([](int) { return 5; });
    gaps[2].clear();
    gaps[16].clear();
    QTest::newRow("items 3 and 17 unanswered: no chart")
        << gaps << QStringLiteral("3  17  ") << QList<double>() << QList<double>();
}

void ProfileExportTest::chartValues() {
    QFETCH(QStringList, answers);
    QFETCH(QString, missing);
    QFETCH(QList<double>, mechanismMeans);
    QFETCH(QList<double>, styleMeans);
    const ScoreProfile::Profile profile = ScoreProfile::fromAnswers(answers);
    QCOMPARE(profile.missing, missing);
    QList<double> mechanisms, styles;
    QList<int> items;
    for (const ScoreProfile::Style &style : profile.styles) {
        styles << style.mean;
        items << style.itemCount;
        for (const ScoreProfile::Bar &bar : style.mechanisms)
            mechanisms << bar.mean;
    }
    QCOMPARE(mechanisms, mechanismMeans);
    QCOMPARE(styles, styleMeans);
    if (!styles.isEmpty())
        QCOMPARE(items, (QList<int>{24, 8, 8}));
}

void ProfileExportTest::formulasAreWrittenAsText_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("=") << "=1+1" << QByteArray("'=1+1");
    QTest::newRow("= quoted") << "=HYPERLINK(\"x\",\"y\")" << QByteArray("\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\"");
    QTest::newRow("+") << "+98 912" << QByteArray("'+98 912");
    QTest::newRow("-") << "-cmd" << QByteArray("'-cmd");
    QTest::newRow("@") << "@SUM(A1)" << QByteArray("'@SUM(A1)");
    QTest::newRow("Persian after =") << "=علي" << QByteArray("'=") + QStringLiteral("علي").toUtf8();
    QTest::newRow("negative number") << "-3" << QByteArray("-3");
    QTest::newRow("signed decimal") << "+1.5" << QByteArray("+1.5");
    QTest::newRow("code of digits") << "0912" << QByteArray("0912");
    QTest::newRow("= inside") << "a=b" << QByteArray("a=b");
}

void ProfileExportTest::formulasAreWrittenAsText() {
    QFETCH(QString, field);
    QFETCH(QByteArray, written);
    QCOMPARE(ExamineeExport::csvRecord({QStringLiteral("P1"), field}), "P1," + written + "\r\n");
}

void ProfileExportTest::exportReadsBack_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("every examinee") << QString() << QString() << QStringList{"P1", "p2", "P3", "P4"};
    QTest::newRow("the grid narrowed to a group") << "Group"
                                                  << "b" << QStringList{"p2", "P3"};
    QTest::newRow("a group nobody is in") << "Group"
                                          << "G" << QStringList{};
}

void ProfileExportTest::exportReadsBack() {
    QVERIFY2(m_opened, qPrintable(m_folderError));
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QStringList, codes);
    const QStringList complete = answersOf([](int item) { return item % 9 + 1; });
    QStringList gaps = complete;
    gaps[39].clear();
    const QList<QPair<QStringList, QStringList>> rows{
        {{"P1", "مريم", "احمدي, \"نيک\"\r\nزاده", "زن", "31", "متأهل", "ارشد", "A", "1402/01/05", "10:15"}, complete},
        // The answer row's code differs in case only: it is still the examinee's.
        {{"p2", "Ali", "Karimi", "مرد", "40", "مجرد", "ديپلم", "B", "1402/02/01", "9:00"}, gaps},
        {{"P3", "Sara", "Nouri", "زن", "28", "مجرد", "", "B", "1402/03/01", "8:00"}, {}},
        {{"P4", "", "", "", "", "", "", "", "", ""}, complete},
    };
    QSqlQuery(Database::connection()).exec(QStringLiteral("DELETE FROM IDE"));
    QSqlQuery(Database::connection()).exec(QStringLiteral("DELETE FROM Answer"));
    for (const auto &[record, answers] : rows)
        addExaminee(record, answers);
    QSqlQuery(Database::connection()).exec(QStringLiteral("UPDATE Answer SET Code = 'P2' WHERE Code = 'p2'"));

    DataSource grid(QStringLiteral("IDE"));
    if (!field.isEmpty())
        grid.setFilter(field, value);
    const QString path = m_folder.filePath(QStringLiteral("out.csv"));
    QString error;
    QCOMPARE(ExamineeExport::write(path, grid.filter(), {}, &error), ExamineeExport::Outcome::Written);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    bool wellFormed = false;
    const QList<QStringList> records = parseCsv(QString::fromUtf8(bytes.mid(3)), &wellFormed);
    QVERIFY(wellFormed);
    QCOMPARE(records.size(), codes.size() + 1);
    QCOMPARE(records.first().size(), 73);
    QCOMPARE(records.first().mid(8, 3), (QStringList{"date", "time", "item_01"}));
    QCOMPARE(records.first().mid(61, 3), (QStringList{"isolation", "immature_total", "suppression"}));
    for (int i = 0; i < codes.size(); ++i) {
        const auto &[record, answers] =
            *std::find_if(rows.begin(), rows.end(), [&](const auto &row) { return row.first.first() == codes.at(i); });
        const QStringList scores = missingItems(answers).isEmpty() ? scoreTexts(answers) : QStringList(23);
        QCOMPARE(records.at(i + 1), record + (answers.isEmpty() ? QStringList(40) : answers) + scores);
    }
}

void ProfileExportTest::exportLeavesNothingBehind_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("outcome");
    QTest::newRow("cancelled at the first report") << "kept.csv" << int(ExamineeExport::Outcome::Cancelled);
    QTest::newRow("a folder that does not exist") << "no/such/folder/x.csv" << int(ExamineeExport::Outcome::Failed);
    QTest::newRow("the destination is a folder") << "DBKelto" << int(ExamineeExport::Outcome::Failed);
}

void ProfileExportTest::exportLeavesNothingBehind() {
    QVERIFY2(m_opened, qPrintable(m_folderError));
    QFETCH(QString, path);
    QFETCH(int, outcome);
    for (int i = 0; i < 3 * ExamineeExport::progressStep; ++i)
        addExaminee({QStringLiteral("N%1").arg(i), "", "", "", "", "", "", "A", "", ""}, {});
    const QString target = m_folder.filePath(path);
    QFile earlier(target);
    if (!QFileInfo(target).isDir() && earlier.open(QIODevice::WriteOnly))
        earlier.write("earlier");
    earlier.close();
    const QStringList before = QDir(m_folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);

    int reports = 0;
    QString error;
    const auto result = ExamineeExport::write(
        target, {}, [&reports](qint64) { return ++reports < 1; }, &error);
    QCOMPARE(int(result), outcome);
    QCOMPARE(error.isEmpty(), result == ExamineeExport::Outcome::Cancelled);
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), before);
    if (QFileInfo(target).isFile()) {
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
    }
}

QTEST_GUILESS_MAIN(ProfileExportTest)
#include "ProfileExportTest.moc"
