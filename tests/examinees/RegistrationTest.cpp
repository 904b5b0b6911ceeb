#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "app/Frm1.h"
#include "widgets/Navigation.h"
#include "widgets/Notices.h"
#include "widgets/PersianApplication.h"
#include "store/Database.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {
QString notice(const Notice &n) { return QString::fromUtf8(n.text); }

QString rowCounts() {
    return valueInFile(QStringLiteral("SELECT (SELECT COUNT(*) FROM IDE) || '+' || (SELECT COUNT(*) FROM Answer)"));
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
    void savedExamineeHasBothRows_data();
    void savedExamineeHasBothRows();
    void takenCodesAreRefused_data();
    void takenCodesAreRefused();
    void listPicksCarryIntoTheNextRegistration();
    void failedWriteStoresNeitherRow();
    void ageBoxTakesTwoDigits_data();
    void ageBoxTakesTwoDigits();

private:
    template <class T = QWidget> T *control(const char *name) {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    // Opens the panel and fills the first `count` fields in the order they are checked.
    void openAndFill(int count, const QString &code = QStringLiteral("K1"));
    // Presses save; the text of the box it showed, empty when none.
    QString save();

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

void RegistrationTest::openAndFill(int count, const QString &code) {
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QVERIFY(control("Frame10")->isVisible());
    const QString texts[] = {code, QStringLiteral("سارا"),  QStringLiteral("کريمي"), {}, QStringLiteral("34"), {},
                             {},   QStringLiteral("ليسانس")};
    for (int field = 0; field < count; ++field) {
        if (auto *list = control<QComboBox>(checkOrder[field]))
            list->setCurrentIndex(1);
        else
            control<QLineEdit>(checkOrder[field])->setText(texts[field]);
    }
}

QString RegistrationTest::save() {
    return boxTextsShownBy([this]() { QTest::mouseClick(control("Command8"), Qt::LeftButton); });
}

void RegistrationTest::checksInOrderWithTheirFocus_data() {
    QTest::addColumn<int>("filled");
    QTest::addColumn<QString>("message");
    const Notice notices[] = {Notices::codeMissing,  Notices::firstNameMissing, Notices::lastNameMissing,
                              Notices::sexMissing,   Notices::ageMissing,       Notices::maritalStatusMissing,
                              Notices::groupMissing, Notices::educationMissing};
    for (int filled = 0; filled < 8; ++filled)
        QTest::newRow(checkOrder[filled]) << filled << notice(notices[filled]);
}

void RegistrationTest::checksInOrderWithTheirFocus() {
    QFETCH(int, filled);
    QFETCH(QString, message);
    openAndFill(filled);
    QCOMPARE(save(), message);
    QCOMPARE(m_window->focusWidget(), control(checkOrder[filled]));
    QVERIFY(control("Frame10")->isVisible());
    QCOMPARE(rowCounts(), QStringLiteral("0+0"));
}

void RegistrationTest::savedExamineeHasBothRows_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text"); // first name and education
    QTest::newRow("spaces only") << "  "
                                 << "سارا";
    QTest::newRow("quotes") << "O'B\"1"
                            << "it's \"x\"";
    QTest::newRow("backslash and percent") << "a\\b%_"
                                           << "100% \\ done";
    QTest::newRow("long") << QString(10000, QLatin1Char('k')) << QString(10000, QChar(0x0645));
}

void RegistrationTest::savedExamineeHasBothRows() {
    QFETCH(QString, code);
    QFETCH(QString, text);
    openAndFill(8, code);
    QCOMPARE(m_window->focusWidget(), control("Text11"));
    const QString date = control<QLineEdit>("Text8")->text();
    QVERIFY2(QRegularExpression(QStringLiteral("^1[34]\\d\\d/\\d\\d/\\d\\d$")).match(date).hasMatch(),
             qPrintable(date));
    QVERIFY(!control<QLineEdit>("Text9")->text().isEmpty()); // the time, in the system's format
    control<QLineEdit>("Text6")->setText(text);
    control<QLineEdit>("Text7")->setText(text);
    QCOMPARE(save(), QString());
    QVERIFY(!control("Frame10")->isVisible());
    QCOMPARE(
        valueInFile(QStringLiteral("SELECT FName||'|'||LName||'|'||Jens||'|'||Sen||'|'||Taahol||'|'||\"Group\"||'|'||"
                                   "Tahsil||'|'||Date FROM IDE WHERE Code = ?"),
                    code),
        QStringList({text, QStringLiteral("کريمي"), QStringLiteral("زن"), QStringLiteral("34"), QStringLiteral("متأهل"),
                     QStringLiteral("B"), text, date})
            .join(QLatin1Char('|')));
    QString answers = QStringLiteral("''");
    for (int item = 1; item <= 40; ++item)
        answers += QStringLiteral("||COALESCE(\"%1\", '')").arg(item);
    QCOMPARE(valueInFile(QStringLiteral("SELECT %1 FROM Answer WHERE Code = ?").arg(answers), code), QString());
    QCOMPARE(rowCounts(), QStringLiteral("1+1"));
    // The same code again, in the next registration, is taken.
    openAndFill(8, code);
    QCOMPARE(save(), notice(Notices::codeInUse));
    QCOMPARE(rowCounts(), QStringLiteral("1+1"));
}

void RegistrationTest::takenCodesAreRefused_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
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
    for (const QString &statement : stored.split(QLatin1Char(';')))
        QVERIFY(QSqlQuery(Database::connection()).exec(statement));
    const QString before = rowCounts();
    openAndFill(8, typed);
    QCOMPARE(save(), notice(Notices::codeInUse));
    QCOMPARE(rowCounts(), before);
    // The panel keeps what was typed; a free code then saves.
    QCOMPARE(control<QLineEdit>("Text6")->text(), QStringLiteral("سارا"));
    typeText(control("Text11"), QStringLiteral("K2"));
    QCOMPARE(save(), QString());
    QVERIFY(!control("Frame10")->isVisible());
    QCOMPARE(valueInFile(QStringLiteral("SELECT COUNT(*) FROM IDE JOIN Answer USING (Code) WHERE Code = 'K2'")),
             QStringLiteral("1"));
}

void RegistrationTest::listPicksCarryIntoTheNextRegistration() {
    openAndFill(8);
    QCOMPARE(save(), QString());
    // Opened again, cancelled, opened again: the picks stay and are stored again, the boxes are blank.
    openAndFill(0);
    QTest::mouseClick(control("Command10"), Qt::LeftButton);
    openAndFill(0);
    QVERIFY(control<QLineEdit>("Text6")->text().isEmpty());
    for (const char *box : {"Text11", "Text6", "Text4", "Text5", "Text7"})
        typeText(control(box), QStringLiteral("2"));
    QCOMPARE(save(), QString());
    QCOMPARE(valueInFile(QStringLiteral("SELECT Jens||Taahol||\"Group\" FROM IDE WHERE Code='2'")),
             QStringLiteral("زنمتأهلB"));
}

void RegistrationTest::failedWriteStoresNeitherRow() {
    QSqlQuery(Database::connection())
        .exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON IDE BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    openAndFill(8);
    QVERIFY(save().contains(QStringLiteral("disk full")));
    QCOMPARE(rowCounts(), QStringLiteral("0+0"));
    QCOMPARE(control<QLineEdit>("Text4")->text(), QStringLiteral("کريمي"));
    // Once the fault is gone the same panel stores the examinee, once.
    QSqlQuery(Database::connection()).exec(QStringLiteral("DROP TRIGGER refuse"));
    QCOMPARE(save(), QString());
    QCOMPARE(rowCounts(), QStringLiteral("1+1"));
    QCOMPARE(valueInFile(QStringLiteral("SELECT Code||LName||Jens FROM IDE")), QStringLiteral("K1کريميزن"));
}

void RegistrationTest::ageBoxTakesTwoDigits_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("refused");
    QTest::newRow("ascii, no third digit") << "423"
                                           << "42" << false;
    QTest::newRow("persian") << "۴۲"
                             << "42" << false;
    QTest::newRow("arabic-indic") << "٠٧"
                                  << "07" << false;
    QTest::newRow("letter") << "a"
                            << "" << true;
    QTest::newRow("persian letter") << "س"
                                    << "" << true;
    QTest::newRow("space") << " "
                           << "" << true;
}

void RegistrationTest::ageBoxTakesTwoDigits() {
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(bool, refused);
    openAndFill(0);
    QCOMPARE(boxTextsShownBy([this, keys]() { typeText(control("Text5"), keys); }),
             refused ? notice(Notices::digitsOnly) : QString());
    QCOMPARE(control<QLineEdit>("Text5")->text(), shown);
}

QTEST_MAIN(RegistrationTest)
#include "RegistrationTest.moc"
