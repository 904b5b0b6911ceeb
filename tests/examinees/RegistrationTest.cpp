#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "shell/Frm1.h"
#include "shell/Navigation.h"
#include "shell/Notices.h"
#include "shell/PersianApplication.h"
#include "store/Database.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {
QString notice(const Notice &n) { return QString::fromUtf8(n.text); }

// The first value the file gives for a query; "<none>" when there is no row.
QString inFile(const QString &sql, const QVariantList &values = {}) {
    QSqlQuery query(Database::connection());
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    query.exec();
    return query.next() ? query.value(0).toString() : QStringLiteral("<none>");
}

int rows(const QString &table, const QString &code) {
    return inFile(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE Code = ?").arg(table), {code}).toInt();
}

void exec(const QString &sql) {
    QSqlQuery query(Database::connection());
    QVERIFY2(query.exec(sql), qPrintable(sql));
}

// The fields in the order a save checks them.
const char *const checkOrder[] = {"Text11", "Text6", "Text4", "Combo2", "Text5", "Combo1", "Combo3", "Text7"};
} // namespace

class RegistrationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checksInOrderWithTheirFocus_data();
    void checksInOrderWithTheirFocus();
    void savedExamineeHasBothRows();
    void takenCodesAreRefused_data();
    void takenCodesAreRefused();
    void listPicksCarryIntoTheNextRegistration();
    void failedWriteStoresNeitherRow();
    void ageBoxTakesTwoDigits_data();
    void ageBoxTakesTwoDigits();
    void awkwardTextsAreStoredAsTyped_data();
    void awkwardTextsAreStoredAsTyped();

private:
    template <class T = QWidget> T *control(const char *name) {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    void openPanel();
    // Fills the first `count` fields in the order they are checked; the code is `code`.
    void fill(int count, const QString &code = QStringLiteral("K1"));
    // Presses save; the text of the notice it showed, empty when none.
    QString save(QMessageBox::StandardButton answer = QMessageBox::Ok);

    std::unique_ptr<TempProgramFolder> m_folder;
    QPointer<Frm1> m_window;
};

void RegistrationTest::initTestCase() {
    setUpPersianApplication(*qApp);
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
}

void RegistrationTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    m_window = qobject_cast<Frm1 *>(Navigation::showMainWindow());
    QVERIFY(m_window && QTest::qWaitForWindowExposed(m_window));
}

void RegistrationTest::cleanup() {
    delete m_window;
    m_folder.reset();
}

void RegistrationTest::openPanel() {
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QVERIFY(control("Frame10")->isVisible());
}

void RegistrationTest::fill(int count, const QString &code) {
    const QString texts[] = {code, QStringLiteral("سارا"), QStringLiteral("کريمي"), QString(), QStringLiteral("34"),
                             QString(), QString(), QStringLiteral("ليسانس")};
    for (int field = 0; field < count; ++field) {
        if (auto *list = control<QComboBox>(checkOrder[field]))
            list->setCurrentIndex(1);
        else
            typeText(control(checkOrder[field]), texts[field]);
    }
}

QString RegistrationTest::save(QMessageBox::StandardButton answer) {
    SeenBox seen;
    answerNextMessageBox(&seen, answer, 3000);
    QTest::mouseClick(control("Command8"), Qt::LeftButton);
    // A notice is shown and answered before the click returns.
    stopMessageBoxWatchers();
    return seen.seen ? seen.text : QString();
}

void RegistrationTest::checksInOrderWithTheirFocus_data() {
    QTest::addColumn<int>("filled");
    QTest::addColumn<QString>("message");
    const Notice notices[] = {Notices::codeMissing,    Notices::firstNameMissing,     Notices::lastNameMissing,
                              Notices::sexMissing,     Notices::ageMissing,           Notices::maritalStatusMissing,
                              Notices::groupMissing,   Notices::educationMissing};
    for (int filled = 0; filled < 8; ++filled)
        QTest::newRow(checkOrder[filled]) << filled << notice(notices[filled]);
}

void RegistrationTest::checksInOrderWithTheirFocus() {
    QFETCH(int, filled);
    QFETCH(QString, message);
    openPanel();
    fill(filled);
    QCOMPARE(save(), message);
    QCOMPARE(m_window->focusWidget(), control(checkOrder[filled]));
    QVERIFY(control("Frame10")->isVisible());
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM IDE")), QStringLiteral("0"));
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM Answer")), QStringLiteral("0"));
}

void RegistrationTest::savedExamineeHasBothRows() {
    openPanel();
    QCOMPARE(m_window->focusWidget(), control("Text11"));
    const QString date = control<QLineEdit>("Text8")->text();
    QVERIFY2(QRegularExpression(QStringLiteral("^1[34]\\d\\d/\\d\\d/\\d\\d$")).match(date).hasMatch(), qPrintable(date));
    QVERIFY(!control<QLineEdit>("Text9")->text().isEmpty());
    fill(8, QStringLiteral("  "));
    QCOMPARE(save(), QString());
    QVERIFY(!control("Frame10")->isVisible());
    const QString row = inFile(QStringLiteral("SELECT Code||'|'||FName||'|'||LName||'|'||Jens||'|'||Sen||'|'||Taahol||'|'||"
                                              "\"Group\"||'|'||Tahsil||'|'||Date FROM IDE"));
    QCOMPARE(row, QStringLiteral("  |سارا|کريمي|زن|34|متأهل|B|ليسانس|") + date);
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM IDE")), QStringLiteral("1"));
    QStringList answers;
    for (int item = 1; item <= 40; ++item)
        answers << QStringLiteral("COALESCE(\"%1\", '')").arg(item);
    QCOMPARE(inFile(QStringLiteral("SELECT Code||'|'||%1 FROM Answer").arg(answers.join(QStringLiteral("||")))),
             QStringLiteral("  |"));
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM Answer")), QStringLiteral("1"));
}

void RegistrationTest::takenCodesAreRefused_data() {
    QTest::addColumn<QString>("stored"); // SQL run first; empty: the code registered through the panel
    QTest::addColumn<QString>("typed");
    QTest::newRow("second registration in a row") << QString() << "K1";
    QTest::newRow("other case") << "INSERT INTO IDE (Code) VALUES ('Ab7'); INSERT INTO Answer (Code) VALUES ('Ab7')"
                                << "aB7";
    QTest::newRow("examinee row only") << "INSERT INTO IDE (Code) VALUES ('K1')"
                                       << "K1";
    QTest::newRow("answer row only") << "INSERT INTO Answer (Code) VALUES ('K1')"
                                     << "K1";
}

void RegistrationTest::takenCodesAreRefused() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    if (stored.isEmpty()) {
        openPanel();
        fill(8, typed);
        QCOMPARE(save(), QString());
    } else {
        for (const QString &statement : stored.split(QLatin1Char(';')))
            exec(statement);
    }
    const QString before = inFile(QStringLiteral("SELECT COUNT(*) FROM IDE")) +
                           inFile(QStringLiteral("SELECT COUNT(*) FROM Answer"));
    openPanel();
    fill(8, typed);
    QCOMPARE(save(), notice(Notices::codeInUse));
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM IDE")) + inFile(QStringLiteral("SELECT COUNT(*) FROM Answer")),
             before);
    // The panel keeps what was typed; a free code then saves.
    QVERIFY(control("Frame10")->isVisible());
    QCOMPARE(control<QLineEdit>("Text6")->text(), QStringLiteral("سارا"));
    typeText(control("Text11"), QStringLiteral("K2"));
    QCOMPARE(save(), QString());
    QVERIFY(!control("Frame10")->isVisible());
    QCOMPARE(rows(QStringLiteral("IDE"), QStringLiteral("K2")), 1);
    QCOMPARE(rows(QStringLiteral("Answer"), QStringLiteral("K2")), 1);
}

void RegistrationTest::listPicksCarryIntoTheNextRegistration() {
    openPanel();
    fill(8, QStringLiteral("K1"));
    control<QComboBox>("Combo3")->setCurrentIndex(4);
    QCOMPARE(save(), QString());
    // Cancel keeps the picks as well.
    openPanel();
    QTest::mouseClick(control("Command10"), Qt::LeftButton);
    QVERIFY(!control("Frame10")->isVisible());
    openPanel();
    QCOMPARE(control<QComboBox>("Combo3")->currentText(), QStringLiteral("E"));
    QVERIFY(control<QLineEdit>("Text6")->text().isEmpty());
    typeText(control("Text11"), QStringLiteral("K2"));
    typeText(control("Text6"), QStringLiteral("a"));
    typeText(control("Text4"), QStringLiteral("b"));
    typeText(control("Text5"), QStringLiteral("9"));
    typeText(control("Text7"), QStringLiteral("c"));
    QCOMPARE(save(), QString());
    QCOMPARE(inFile(QStringLiteral("SELECT Jens||Taahol||\"Group\" FROM IDE WHERE Code='K2'")),
             QStringLiteral("زنمتأهلE"));
}

void RegistrationTest::failedWriteStoresNeitherRow() {
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON IDE BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    openPanel();
    fill(8, QStringLiteral("K1"));
    SeenBox seen;
    answerNextMessageBox(&seen);
    QTest::mouseClick(control("Command8"), Qt::LeftButton);
    QVERIFY(seen.seen);
    QVERIFY2(seen.text.contains(QStringLiteral("disk full")), qPrintable(seen.text));
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM Answer")), QStringLiteral("0"));
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM IDE")), QStringLiteral("0"));
    QVERIFY(control("Frame10")->isVisible());
    QCOMPARE(control<QLineEdit>("Text4")->text(), QStringLiteral("کريمي"));
    // Once the fault is gone the same panel stores the examinee, once.
    exec(QStringLiteral("DROP TRIGGER refuse"));
    QCOMPARE(save(), QString());
    QCOMPARE(rows(QStringLiteral("IDE"), QStringLiteral("K1")), 1);
    QCOMPARE(rows(QStringLiteral("Answer"), QStringLiteral("K1")), 1);
    QCOMPARE(inFile(QStringLiteral("SELECT LName||Jens FROM IDE")), QStringLiteral("کريميزن"));
}

void RegistrationTest::ageBoxTakesTwoDigits_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("refused");
    QTest::newRow("ascii") << "42" << "42" << false;
    QTest::newRow("persian") << "۴۲" << "42" << false;
    QTest::newRow("arabic-indic") << "٠٧" << "07" << false;
    QTest::newRow("third digit") << "123" << "12" << false;
    QTest::newRow("letter") << "a" << "" << true;
    QTest::newRow("persian letter") << "س" << "" << true;
    QTest::newRow("space") << " " << "" << true;
    QTest::newRow("minus") << "-" << "" << true;
}

void RegistrationTest::ageBoxTakesTwoDigits() {
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(bool, refused);
    openPanel();
    SeenBox seen;
    answerNextMessageBox(&seen, QMessageBox::Ok, 1500);
    typeText(control("Text5"), keys);
    stopMessageBoxWatchers();
    QCOMPARE(control<QLineEdit>("Text5")->text(), shown);
    QCOMPARE(seen.seen, refused);
    if (refused)
        QCOMPARE(seen.text, notice(Notices::digitsOnly));
}

void RegistrationTest::awkwardTextsAreStoredAsTyped_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text"); // first name and education
    QTest::newRow("quotes") << "O'B\"1" << "it's \"x\"";
    QTest::newRow("backslash and percent") << "a\\b%_" << "100% \\ done";
    QTest::newRow("long") << QString(10000, QLatin1Char('k')) << QString(10000, QChar(0x0645));
}

void RegistrationTest::awkwardTextsAreStoredAsTyped() {
    QFETCH(QString, code);
    QFETCH(QString, text);
    openPanel();
    fill(8, QString());
    control<QLineEdit>("Text11")->setText(code);
    control<QLineEdit>("Text6")->setText(text);
    control<QLineEdit>("Text7")->setText(text);
    QCOMPARE(save(), QString());
    QCOMPARE(inFile(QStringLiteral("SELECT FName FROM IDE WHERE Code = ?"), {code}), text);
    QCOMPARE(inFile(QStringLiteral("SELECT Tahsil FROM IDE WHERE Code = ?"), {code}), text);
    QCOMPARE(rows(QStringLiteral("Answer"), code), 1);
    // The same code again is still seen as taken; a wildcard does not match other codes.
    openPanel();
    fill(8, QString());
    control<QLineEdit>("Text11")->setText(code);
    QCOMPARE(save(), notice(Notices::codeInUse));
    control<QLineEdit>("Text11")->setText(QStringLiteral("a\\bx%_"));
    QCOMPARE(save(), QString());
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM IDE")), QStringLiteral("2"));
}

QTEST_MAIN(RegistrationTest)
#include "RegistrationTest.moc"
