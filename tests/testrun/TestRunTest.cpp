#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "app/Frm1.h"
#include "store/Database.h"
#include "store/ItemTexts.h"
#include "testrun/FrmTest.h"
#include "testrun/TestRun.h"
#include "widgets/Navigation.h"
#include "widgets/Notices.h"
#include "widgets/PersianApplication.h"
#include "widgets/SkinLabel.h"

#include <QDeadlineTimer>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
QString notice(const Notice &n) { return QString::fromUtf8(n.text); }

template <class T = QWidget> T *child(QWidget *window, const char *name) {
    return window->findChild<T *>(QString::fromLatin1(name));
}

void click(QWidget *window, const char *name) { QTest::mouseClick(child(window, name), Qt::LeftButton); }

// "اجراي تست" as a user presses it: the code box answered with the code (a null code cancels it),
// then, should the test window come up, the steps run on it and it is closed by its close box.
// Gives the text of the box shown and whether the code was asked for.
QString runTest(
    QWidget *main, const QString &code, bool *asked, const std::function<void(FrmTest *)> &steps = [](FrmTest *) {}) {
    QTimer poll;
    QDeadlineTimer deadline(5000);
    QObject::connect(&poll, &QTimer::timeout, [&]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QInputDialog *>(modal)) {
            *asked = box->windowTitle() == QStringLiteral("Enter Code ") &&
                     box->labelText() == QStringLiteral(" Plese Insert Code ");
            box->setTextValue(code);
            code.isNull() ? box->reject() : box->accept();
        } else if (auto *window = qobject_cast<FrmTest *>(modal)) {
            poll.stop();
            steps(window);
            window->close();
        } else if (deadline.hasExpired() && modal && !qobject_cast<QMessageBox *>(modal)) {
            modal->close();
        }
    });
    poll.start(10);
    *asked = false;
    return boxTextsShownBy([&]() { click(main, "Command2"); });
}
} // namespace

class TestRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openingRefusals_data();
    void openingRefusals();
    void startScreensAndTheCloseBox();
    void itemNumberRule_data();
    void itemNumberRule();
    void answerBoxTakesOneToNine_data();
    void answerBoxTakesOneToNine();
    void codeChangeInTheDetails();

private:
    FrmTest *startTest(const QString &code);

    std::unique_ptr<TempProgramFolder> m_folder;
    QPointer<FrmTest> m_test;
};

void TestRunTest::initTestCase() {
    setUpPersianApplication(*qApp);
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
}

void TestRunTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("INSERT INTO IDE (Code, FName, Sen) VALUES ('K1', 'سارا', '34'), "
                                      "('K2', 'علي', '40'), ('I1', 'بي', '20')")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO Answer (Code) VALUES ('K1'), ('K2'), ('A1')")));
}

void TestRunTest::cleanup() {
    delete m_test;
    delete TestRun::window();
    m_folder.reset();
}

// The test window on the examinee, past "شروع".
FrmTest *TestRunTest::startTest(const QString &code) {
    m_test = new FrmTest;
    m_test->rereadSources();
    if (!m_test->selectExaminee(code))
        return nullptr;
    m_test->show();
    click(m_test, "Command1");
    return m_test;
}

void TestRunTest::openingRefusals_data() {
    QTest::addColumn<QString>("code"); // null: the code box is cancelled
    QTest::addColumn<bool>("noAnswerRows");
    QTest::addColumn<QString>("message");
    QTest::newRow("no examinee registered") << "K1" << true << QString();
    QTest::newRow("empty code") << "" << false << notice(Notices::examineeCodeMissing);
    QTest::newRow("cancelled") << QString() << false << notice(Notices::examineeCodeMissing);
    QTest::newRow("unknown code") << "K7" << false << notice(Notices::examineeNotFound);
    QTest::newRow("examinee row without answer row") << "I1" << false << notice(Notices::examineeNotFound);
    QTest::newRow("quote") << "K1' OR '1'='1" << false << notice(Notices::examineeNotFound);
}

void TestRunTest::openingRefusals() {
    QFETCH(QString, code);
    QFETCH(bool, noAnswerRows);
    QFETCH(QString, message);
    if (noAnswerRows)
        QVERIFY(QSqlQuery(Database::connection()).exec(QStringLiteral("DELETE FROM Answer")));
    std::unique_ptr<QWidget> main(Navigation::showMainWindow());
    bool asked = false;
    bool opened = false;
    QCOMPARE(runTest(main.get(), code, &asked, [&](FrmTest *) { opened = true; }), message);
    QCOMPARE(asked, !noAnswerRows);
    QVERIFY(!opened);
}

// The first run's start screen, an answer, the close box (no save step); then the next run's start
// screen, on another examinee.
void TestRunTest::startScreensAndTheCloseBox() {
    std::unique_ptr<QWidget> main(Navigation::showMainWindow());
    QStringList shown;
    auto startScreen = [&shown](FrmTest *window) {
        for (const char *name : {"SkinLabel3", "SkinLabel4", "Frame1", "SkinLbl5", "Command1", "CmdBack", "Text6"})
            shown << QString::number(child(window, name)->isVisible());
        shown << child<QLineEdit>(window, "Text3")->text() + child<SkinLabel>(window, "SkinLbl5")->caption();
    };
    bool asked = false;
    QCOMPARE(runTest(main.get(), QStringLiteral("k1"), &asked,
                     [&](FrmTest *window) {
                         startScreen(window);
                         click(window, "Command1");
                         typeText(child(window, "Text12"), QStringLiteral("6"));
                     }),
             QString());
    QCOMPARE(shown.join(QLatin1Char(' ')), QStringLiteral("1 1 0 0 1 0 0 سارا"));
    QCOMPARE(valueInFile(QStringLiteral("SELECT \"1\" FROM Answer WHERE Code='K1'")), QStringLiteral("6"));
    shown.clear();
    QCOMPARE(runTest(main.get(), QStringLiteral("K2"), &asked, startScreen), QString());
    QCOMPARE(shown.join(QLatin1Char(' ')), QStringLiteral("0 1 1 1 1 0 0 علي"));
    // An answer row without its examinee row: the details are empty and locked, the answers stored.
    QCOMPARE(runTest(main.get(), QStringLiteral("A1"), &asked,
                     [](FrmTest *window) {
                         QVERIFY(!child(window, "Frame1")->isEnabled());
                         click(window, "Command1");
                         typeText(child(window, "Text12"), QStringLiteral("9"));
                         click(window, "Command5");
                     }),
             QString());
    QCOMPARE(valueInFile(QStringLiteral("SELECT \"1\" FROM Answer WHERE Code='A1'")), QStringLiteral("9"));
    QCOMPARE(valueInFile(QStringLiteral("SELECT COUNT(*) FROM IDE")), QStringLiteral("3"));
}

void TestRunTest::itemNumberRule_data() {
    QTest::addColumn<QStringList>("actions"); // after "شروع": next, back, or a typed item number
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("item"); // the item whose text, caption and answer field show
    QTest::addColumn<QString>("boxes");
    const QString start = notice(Notices::itemBeforeFirst);
    const QString end = notice(Notices::endReached);
    QTest::newRow("start") << QStringList() << "1" << 1 << "";
    QTest::newRow("back at 1 parks") << QStringList{"back"} << "0" << 1 << "";
    QTest::newRow("back twice") << QStringList{"back", "back"} << "1" << 1 << start;
    QTest::newRow("next from parked") << QStringList{"type:7", "type:0", "next"} << "1" << 1 << "";
    QTest::newRow("parked keeps item") << QStringList{"type:7", "type:0"} << "0" << 7 << "";
    QTest::newRow("next at 40") << QStringList{"type:40", "next"} << "40" << 40 << end;
    QTest::newRow("typed 99") << QStringList{"type:99"} << "40" << 40 << end;
    QTest::newRow("typed 12, next") << QStringList{"type:12", "next"} << "13" << 13 << "";
    QTest::newRow("leading zero") << QStringList{"type:05"} << "05" << 5 << "";
    QTest::newRow("persian digits") << QStringList{"type:۳۲"} << "32" << 32 << "";
    QTest::newRow("emptied") << QStringList{"type:12", "type:"} << "1" << 1 << "";
}

void TestRunTest::itemNumberRule() {
    QFETCH(QStringList, actions);
    QFETCH(QString, box);
    QFETCH(int, item);
    QFETCH(QString, boxes);
    FrmTest *window = startTest(QStringLiteral("K1"));
    QVERIFY(window);
    QCOMPARE(window->focusWidget(), child(window, "Text1"));
    auto *number = child<QLineEdit>(window, "Text6");
    QStringList seen;
    for (const QString &action : std::as_const(actions)) {
        seen << boxTextsShownBy([&]() {
            if (action == QLatin1String("next") || action == QLatin1String("back")) {
                click(window, action == QLatin1String("next") ? "CmdNext" : "CmdBack");
                return;
            }
            number->selectAll(); // typed over the number shown, as a user does
            if (action == QLatin1String("type:"))
                QTest::keyClick(number, Qt::Key_Backspace);
            typeText(number, action.mid(5));
        });
    }
    QCOMPARE(seen.join(QString()), boxes);
    QCOMPARE(number->text(), box);
    QCOMPARE(child<QGroupBox>(window, "Frame2")->title(), QString::number(item));
    QCOMPARE(child<SkinLabel>(window, "SkinLbl5")->caption(), itemTexts().at(item - 1));
    typeText(child(window, "Text12"), QStringLiteral("4"));
    QCOMPARE(valueInFile(QStringLiteral("SELECT \"%1\" FROM Answer WHERE Code='K1'").arg(item)), QStringLiteral("4"));
}

void TestRunTest::answerBoxTakesOneToNine_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("refused");
    QTest::newRow("no second digit") << "58"
                                     << "5" << false;
    QTest::newRow("persian 7") << "۷"
                               << "7" << false;
    QTest::newRow("arabic-indic 3") << "٣"
                                    << "3" << false;
    QTest::newRow("0") << "0"
                       << "" << true;
    QTest::newRow("persian 0") << "۰"
                               << "" << true;
    QTest::newRow("letter") << "x"
                            << "" << true;
}

void TestRunTest::answerBoxTakesOneToNine() {
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    QFETCH(bool, refused);
    FrmTest *window = startTest(QStringLiteral("K1"));
    QVERIFY(window);
    auto *answer = child<QLineEdit>(window, "Text12");
    QCOMPARE(boxTextsShownBy([&]() { typeText(answer, keys); }),
             refused ? notice(Notices::answerOutOfScale) : QString());
    QCOMPARE(valueInFile(QStringLiteral("SELECT COALESCE(\"1\", '') FROM Answer WHERE Code='K1'")), stored);
    // Back on the item later, the stored answer shows, and a digit typed replaces it.
    click(window, "CmdNext");
    click(window, "CmdBack");
    QCOMPARE(answer->text(), stored);
    typeText(answer, QStringLiteral("2"));
    QCOMPARE(valueInFile(QStringLiteral("SELECT \"1\" FROM Answer WHERE Code='K1'")), QStringLiteral("2"));
}

// The details are stored through the examinee's rows (whose cases are tested with them): a code
// another examinee holds is refused, the window stays with what was typed, nothing is stored.
void TestRunTest::codeChangeInTheDetails() {
    FrmTest *window = startTest(QStringLiteral("K1"));
    QVERIFY(window);
    typeText(child(window, "Text12"), QStringLiteral("5"));
    auto *codeBox = child<QLineEdit>(window, "Text1");
    codeBox->setText(QStringLiteral("k2"));
    typeText(child(window, "Text3"), QStringLiteral("ه"));
    QCOMPARE(boxTextsShownBy([&]() { click(window, "Command5"); }), notice(Notices::codeInUse));
    QVERIFY(window->isVisible());
    QCOMPARE(valueInFile(QStringLiteral("SELECT Code||FName FROM IDE WHERE Sen='34'")), QStringLiteral("K1سارا"));
    QCOMPARE(valueInFile(QStringLiteral("SELECT Code FROM Answer WHERE \"1\"='5'")), QStringLiteral("K1"));
    QCOMPARE(codeBox->text() + child<QLineEdit>(window, "Text3")->text(), QStringLiteral("k2ساراه"));
    QCOMPARE(window->focusWidget(), codeBox);
}

QTEST_MAIN(TestRunTest)
#include "TestRunTest.moc"
