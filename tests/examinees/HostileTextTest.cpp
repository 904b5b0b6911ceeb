#include "support/KeltoFiles.h"
#include "support/StoreEngines.h"
#include "support/TempProgramFolder.h"

#include "examinees/ExamineeDeletion.h"
#include "examinees/ExamineeRows.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QTest>

#include <memory>

// Text that looks like SQL, in every field of an examinee, through every way the windows store and
// find one (registration, a look-up in the directory, a change of the code, deletion), on both
// engines: it is stored and read back as the text it is, and no statement ever runs it.
class HostileTextTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data();
    void init();
    void cleanup();
    void storedAsText_data();
    void storedAsText();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    StoreEngines m_engines;
};

namespace {
// The examinee's fields, each holding the text and its own name, so that no two fields are equal.
QHash<QString, QString> examineeValues(const QString &text) {
    QHash<QString, QString> values;
    for (const QString &field : Schema::examineeFields())
        values.insert(field, text + QLatin1Char(' ') + field);
    return values;
}

QStringList keltoTablesThere() {
    return columnInFile(StoreEngines::onServer()
                            ? QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                             "current_schema() ORDER BY table_name")
                            : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                             "'sqlite%' ORDER BY name"));
}

void register_(const QHash<QString, QString> &values) {
    DataSource examinees(QStringLiteral("IDE")), answers(QStringLiteral("Answer"));
    examinees.addNew();
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        examinees.setValue(value.key(), value.value());
    QString error;
    QVERIFY2(ExamineeRows::registerExaminee(examinees, answers, &error), qPrintable(error));
}

// The examinee rows holding the value in the field, as the directory looks them up.
int holders(const QString &field, const QString &value) {
    DataSource examinees(QStringLiteral("IDE"));
    examinees.setFilter(field, value);
    return examinees.recordCount();
}
} // namespace

void HostileTextTest::initTestCase_data() { StoreEngines::addRows(); }

void HostileTextTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QString error;
    QVERIFY2(m_engines.open(*m_folder, &error), qPrintable(error));
    register_(examineeValues(QStringLiteral("bystander")));
}

void HostileTextTest::cleanup() { m_folder.reset(); }

void HostileTextTest::storedAsText_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << "O'Brien \"the\" `odd`";
    QTest::newRow("backslashes") << "C:\\x\\' \\\\ \\";
    QTest::newRow("a statement closed and another begun") << "'; DROP TABLE \"IDE\"; --";
    QTest::newRow("the same behind a backslash") << "\\'); DROP TABLE IDE; DELETE FROM Answer; --";
    QTest::newRow("a condition always true") << "x' OR '1'='1";
    QTest::newRow("a placeholder and a dollar quote") << "? $1 $$; DROP TABLE \"QUS\"; $$";
    QTest::newRow("Persian, a joiner and a quote")
        << QStringLiteral("\u0639\u0644\u06CC\u200C'\u06A9\u0631\u064A\u0645");
}

void HostileTextTest::storedAsText() {
    QFETCH(QString, text);
    const QHash<QString, QString> values = examineeValues(text);
    const QString code = values.value(Schema::code);
    register_(values);
    if (QTest::currentTestFailed())
        return;

    // Read back equal, found by each field the directory looks up by, and listed among the names.
    DataSource examinee(QStringLiteral("IDE")), answerRow(QStringLiteral("Answer"));
    examinee.setFilter(Schema::code, code);
    answerRow.setFilter(Schema::code, code);
    QCOMPARE(examinee.recordCount(), 1);
    QCOMPARE(answerRow.recordCount(), 1);
    for (const QString &field : Schema::examineeFields())
        QCOMPARE(examinee.value(field), values.value(field));
    for (const QString &field : {QString(Schema::lastName), QString(Schema::firstName), QString(Schema::group)})
        QCOMPARE(holders(field, values.value(field)), 1);
    QVERIFY(
        DataSource(QStringLiteral("IDE")).distinctValues(Schema::lastName).contains(values.value(Schema::lastName)));

    // The code changed to another such text: both rows carry it.
    const QString newCode = text + QStringLiteral("'2");
    examinee.setValue(Schema::code, newCode);
    DataSource examineeCheck(QStringLiteral("IDE")), answerCheck(QStringLiteral("Answer"));
    QString error;
    QCOMPARE(int(ExamineeRows::saveExaminee(examinee, answerRow, code, examineeCheck, answerCheck, &error)),
             int(ExamineeRows::DetailsSave::Saved));
    QCOMPARE(holders(Schema::code, code), 0);
    QCOMPARE(valueInFile(QStringLiteral("SELECT \"Code\" FROM \"Answer\" WHERE \"Code\" = ?"), newCode), newCode);

    // Deleted: its two rows go, the bystander's stay, and so does every table.
    examinee.setFilter(Schema::code, newCode);
    answerRow.setFilter(Schema::code, newCode);
    QVERIFY2(deleteExamineeRows(examinee, answerRow, &error), qPrintable(error));
    QCOMPARE(columnInFile(QStringLiteral("SELECT \"Code\" FROM \"IDE\" UNION ALL SELECT \"Code\" FROM \"Answer\"")),
             QStringList({"bystander Code", "bystander Code"}));
    QCOMPARE(keltoTablesThere(), QStringList({"Answer", "IDE", "QUS", "Theme"}));
    QCOMPARE(columnInFile(QStringLiteral("SELECT count(*) FROM \"QUS\"")), QStringList{"40"});
}

QTEST_MAIN(HostileTextTest)
#include "HostileTextTest.moc"
