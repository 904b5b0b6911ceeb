#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "shell/Frm1.h"
#include "shell/Navigation.h"
#include "shell/Notices.h"
#include "shell/PersianApplication.h"
#include "shell/SkinLabel.h"
#include "store/Database.h"
#include "store/ItemTexts.h"
#include "testrun/FrmTest.h"
#include "testrun/TestRun.h"

#include <QApplication>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QElapsedTimer>

#include <functional>
#include <memory>

namespace {
QString notice(const Notice &n) { return QString::fromUtf8(n.text); }

QString inFile(const QString &sql) {
    QSqlQuery query(Database::connection());
    query.exec(sql);
    return query.next() ? query.value(0).toString() : QStringLiteral("<none>");
}

void exec(const QString &sql) {
    QSqlQuery query(Database::connection());
    QVERIFY2(query.exec(sql), qPrintable(sql));
}

template <class T = QWidget> T *child(QWidget *window, const char *name) {
    return window->findChild<T *>(QString::fromLatin1(name));
}

void click(QWidget *window, const char *name) { QTest::mouseClick(child(window, name), Qt::LeftButton); }

// Replaces the item number as a user does: select it all, then type.
void typeItemNumber(QWidget *window, const QString &digits) {
    auto *box = child<QLineEdit>(window, "Text6");
    box->setFocus();
    box->selectAll();
    if (digits.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        typeText(box, digits);
}

// Runs one user action and gives the text of the notice it showed, empty when none.
QString noticeOf(const std::function<void()> &action) {
    SeenBox seen;
    answerNextMessageBox(&seen, QMessageBox::Ok, 3000);
    action();
    stopMessageBoxWatchers();
    return seen.seen ? seen.text : QString();
}

// Answers the next code box with the code (a null code cancels it); seen tells whether one came.
// The watcher gives up after a second; the caller stops it once the action has returned.
QPointer<QTimer> answerCodeBox(const QString &code, bool *seen) {
    auto *poll = new QTimer;
    poll->setInterval(10);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, code, seen, started]() {
        auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (box && box->windowTitle() == QStringLiteral("Enter Code ") &&
            box->labelText() == QStringLiteral(" Plese Insert Code ")) {
            *seen = true;
            box->setTextValue(code);
            code.isNull() ? box->reject() : box->accept();
        } else if (started->elapsed() < 1000) {
            return;
        }
        poll->stop();
        poll->deleteLater();
    });
    poll->start();
    return poll;
}

// Once the test window is up as the modal window, runs the steps on it and closes it by its close
// box; gives up (closing whatever is modal) after five seconds so that a test fails, not hangs.
void duringRun(const std::function<void(FrmTest *)> &steps) {
    auto *poll = new QTimer;
    poll->setInterval(10);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, steps, started]() {
        auto *window = qobject_cast<FrmTest *>(QApplication::activeModalWidget());
        if (window) {
            poll->stop();
            steps(window);
            window->close();
        } else if (started->elapsed() > 5000) {
            poll->stop();
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        } else {
            return;
        }
        poll->deleteLater();
    });
    poll->start();
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
    void runThroughTheMainWindow();
    void itemNumberRule_data();
    void itemNumberRule();
    void answerBoxTakesOneToNine_data();
    void answerBoxTakesOneToNine();
    void answersFollowTheirItems();
    void codeChangeInTheDetails_data();
    void codeChangeInTheDetails();
    void examineeWithoutDetailsRow();

private:
    FrmTest *openWindow(const QString &code);

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
    exec(QStringLiteral("INSERT INTO IDE (Code, FName, LName, Sen) VALUES ('K1', 'سارا', 'کريمي', '34'), "
                        "('K2', 'علي', 'احمدي', '40'), ('I1', 'بي', 'پاسخ', '20')"));
    exec(QStringLiteral("INSERT INTO Answer (Code) VALUES ('K1'), ('K2'), ('A1')"));
}

void TestRunTest::cleanup() {
    stopMessageBoxWatchers();
    delete m_test;
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    delete TestRun::window();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_folder.reset();
}

FrmTest *TestRunTest::openWindow(const QString &code) {
    m_test = new FrmTest;
    m_test->rereadSources();
    if (!m_test->selectExaminee(code))
        return nullptr;
    m_test->show();
    return QTest::qWaitForWindowExposed(m_test) ? m_test.data() : nullptr;
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
        exec(QStringLiteral("DELETE FROM Answer"));
    QPointer<QWidget> main = Navigation::showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    bool asked = false;
    QPointer<QTimer> codeBox = answerCodeBox(code, &asked);
    const QString shown = noticeOf([&]() { click(main, "Command2"); });
    delete codeBox;
    QCOMPARE(shown, message);
    QCOMPARE(asked, !noAnswerRows);
    QVERIFY(!TestRun::window() || !TestRun::window()->isVisible());
    QTest::qWait(50);
    delete main;
}

// The whole road: the code box, the first run's start screen, an answer, the close box; then the
// next run's start screen.
void TestRunTest::runThroughTheMainWindow() {
    QPointer<QWidget> main = Navigation::showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QStringList shown;
    auto startScreen = [&shown](FrmTest *window) {
        for (const char *name : {"SkinLabel3", "SkinLabel4", "Frame1", "SkinLbl5", "Command1", "CmdBack"})
            shown << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(child(window, name)->isVisible());
    };
    bool asked = false;
    answerCodeBox(QStringLiteral("k1"), &asked);
    duringRun([&](FrmTest *window) {
        startScreen(window);
        click(window, "Command1");
        typeText(child(window, "Text12"), QStringLiteral("6"));
    });
    click(main, "Command2");
    QVERIFY(asked);
    QCOMPARE(shown.join(QLatin1Char(' ')),
             QStringLiteral("SkinLabel3=1 SkinLabel4=1 Frame1=0 SkinLbl5=0 Command1=1 CmdBack=0"));
    // The close box ran no save step: the answer was stored when typed.
    QCOMPARE(inFile(QStringLiteral("SELECT \"1\" FROM Answer WHERE Code='K1'")), QStringLiteral("6"));

    shown.clear();
    answerCodeBox(QStringLiteral("K2"), &asked);
    QString details;
    duringRun([&](FrmTest *window) {
        startScreen(window);
        details = child<QLineEdit>(window, "Text3")->text() + child<SkinLabel>(window, "SkinLbl5")->caption();
    });
    click(main, "Command2");
    QCOMPARE(details, QStringLiteral("علي"));
    QCOMPARE(shown.join(QLatin1Char(' ')),
             QStringLiteral("SkinLabel3=0 SkinLabel4=1 Frame1=1 SkinLbl5=1 Command1=1 CmdBack=0"));
    delete main;
}

void TestRunTest::itemNumberRule_data() {
    QTest::addColumn<QStringList>("actions"); // after "شروع": next, back, or a typed item number
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("item"); // the item whose text, caption and answer field show
    QTest::addColumn<QString>("notices");
    const QString start = notice(Notices::itemBeforeFirst);
    const QString end = notice(Notices::endReached);
    QTest::newRow("start") << QStringList() << "1" << 1 << "";
    QTest::newRow("next") << QStringList{"next", "next"} << "3" << 3 << "";
    QTest::newRow("back at 1 parks") << QStringList{"back"} << "0" << 1 << "";
    QTest::newRow("back twice") << QStringList{"back", "back"} << "1" << 1 << start;
    QTest::newRow("next from parked") << QStringList{"type:7", "back", "type:0", "next"} << "1" << 1 << "";
    QTest::newRow("parked keeps item") << QStringList{"type:7", "type:0"} << "0" << 7 << "";
    QTest::newRow("next at 40") << QStringList{"type:40", "next"} << "40" << 40 << end;
    QTest::newRow("typed 99") << QStringList{"type:99"} << "40" << 40 << end;
    QTest::newRow("typed 12") << QStringList{"type:12"} << "12" << 12 << "";
    QTest::newRow("leading zero") << QStringList{"type:05"} << "05" << 5 << "";
    QTest::newRow("persian digits") << QStringList{"type:۳۲"} << "32" << 32 << "";
    QTest::newRow("emptied") << QStringList{"type:12", "type:"} << "1" << 1 << "";
    QTest::newRow("back from 12") << QStringList{"type:12", "back"} << "11" << 11 << "";
}

void TestRunTest::itemNumberRule() {
    QFETCH(QStringList, actions);
    QFETCH(QString, box);
    QFETCH(int, item);
    QFETCH(QString, notices);
    FrmTest *window = openWindow(QStringLiteral("K1"));
    QVERIFY(window);
    click(window, "Command1");
    QCOMPARE(window->focusWidget(), child(window, "Text1"));
    QStringList seen;
    for (const QString &action : std::as_const(actions)) {
        const QString text = noticeOf([&]() {
            if (action == QLatin1String("next"))
                click(window, "CmdNext");
            else if (action == QLatin1String("back"))
                click(window, "CmdBack");
            else
                typeItemNumber(window, action.mid(5));
        });
        if (!text.isEmpty())
            seen << text;
    }
    QCOMPARE(seen.join(QLatin1Char(' ')), notices);
    QCOMPARE(child<QLineEdit>(window, "Text6")->text(), box);
    QCOMPARE(child<QGroupBox>(window, "Frame2")->title(), QString::number(item));
    QCOMPARE(child<SkinLabel>(window, "SkinLbl5")->caption(), itemTexts().at(item - 1));
    // The answer box writes into that item's field.
    typeText(child(window, "Text12"), QStringLiteral("4"));
    QCOMPARE(inFile(QStringLiteral("SELECT \"%1\" FROM Answer WHERE Code='K1'").arg(item)), QStringLiteral("4"));
}

void TestRunTest::answerBoxTakesOneToNine_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("refused");
    QTest::newRow("9") << "9" << "9" << false;
    QTest::newRow("second digit") << "58" << "5" << false;
    QTest::newRow("persian 7") << "۷" << "7" << false;
    QTest::newRow("arabic-indic 3") << "٣" << "3" << false;
    QTest::newRow("0") << "0" << "" << true;
    QTest::newRow("persian 0") << "۰" << "" << true;
    QTest::newRow("letter") << "x" << "" << true;
}

void TestRunTest::answerBoxTakesOneToNine() {
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    QFETCH(bool, refused);
    FrmTest *window = openWindow(QStringLiteral("K1"));
    QVERIFY(window);
    click(window, "Command1");
    const QString text = noticeOf([&]() { typeText(child(window, "Text12"), keys); });
    QCOMPARE(text, refused ? notice(Notices::answerOutOfScale) : QString());
    QCOMPARE(child<QLineEdit>(window, "Text12")->text(), stored);
    QCOMPARE(inFile(QStringLiteral("SELECT COALESCE(\"1\", '') FROM Answer WHERE Code='K1'")), stored);
}

void TestRunTest::answersFollowTheirItems() {
    FrmTest *window = openWindow(QStringLiteral("K1"));
    QVERIFY(window);
    click(window, "Command1");
    auto *answer = child<QLineEdit>(window, "Text12");
    typeText(answer, QStringLiteral("3"));
    click(window, "CmdNext");
    QVERIFY(answer->text().isEmpty());
    typeText(answer, QStringLiteral("8"));
    click(window, "CmdBack");
    QCOMPARE(answer->text(), QStringLiteral("3"));
    // Back on an answered item, a digit typed replaces the answer.
    typeText(answer, QStringLiteral("2"));
    QCOMPARE(inFile(QStringLiteral("SELECT \"1\"||\"2\" FROM Answer WHERE Code='K1'")), QStringLiteral("28"));
    click(window, "Command5");
    QVERIFY(!window->isVisible());
    QCOMPARE(inFile(QStringLiteral("SELECT \"1\"||\"2\" FROM Answer WHERE Code='K1'")), QStringLiteral("28"));
}

void TestRunTest::codeChangeInTheDetails_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("storedCode"); // the code both rows of the examinee hold afterwards
    QTest::addColumn<QString>("fault");      // SQL that makes storing the examinee row fail
    QTest::newRow("free code") << "K9" << QString() << "K9" << QString();
    QTest::newRow("own code in other case") << "k1" << QString() << "k1" << QString();
    QTest::newRow("another examinee's") << "k2" << notice(Notices::codeInUse) << "K1" << QString();
    QTest::newRow("an answer row's") << "A1" << notice(Notices::codeInUse) << "K1" << QString();
    QTest::newRow("an examinee row's") << "I1" << notice(Notices::codeInUse) << "K1" << QString();
    QTest::newRow("empty") << "" << notice(Notices::codeMissing) << "K1" << QString();
    QTest::newRow("write fails") << "K9" << "disk full" << "K1"
                                 << "CREATE TRIGGER refuse BEFORE UPDATE ON IDE BEGIN SELECT RAISE(ABORT, 'disk full'); END";
}

void TestRunTest::codeChangeInTheDetails() {
    QFETCH(QString, code);
    QFETCH(QString, message);
    QFETCH(QString, storedCode);
    QFETCH(QString, fault);
    if (!fault.isEmpty())
        exec(fault);
    FrmTest *window = openWindow(QStringLiteral("K1"));
    QVERIFY(window);
    click(window, "Command1");
    typeText(child(window, "Text12"), QStringLiteral("5"));
    auto *codeBox = child<QLineEdit>(window, "Text1");
    codeBox->setText(code);
    typeText(child(window, "Text3"), QStringLiteral("ه"));
    const QString shown = noticeOf([&]() { click(window, "Command5"); });
    QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.contains(message), qPrintable(shown));
    QCOMPARE(window->isVisible(), !message.isEmpty());
    QCOMPARE(inFile(QStringLiteral("SELECT Code||FName FROM IDE WHERE Sen='34'")),
             storedCode + (message.isEmpty() ? QStringLiteral("ساراه") : QStringLiteral("سارا")));
    QCOMPARE(inFile(QStringLiteral("SELECT Code FROM Answer WHERE \"1\"='5'")), storedCode);
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM Answer")), QStringLiteral("3"));
    if (!message.isEmpty() && fault.isEmpty())
        QCOMPARE(window->focusWidget(), codeBox);
    // What was typed stays on screen to be stored again.
    if (!fault.isEmpty())
        QCOMPARE(child<QLineEdit>(window, "Text3")->text() + codeBox->text(), QStringLiteral("ساراهK9"));
}

void TestRunTest::examineeWithoutDetailsRow() {
    FrmTest *window = openWindow(QStringLiteral("A1"));
    QVERIFY(window);
    click(window, "Command1");
    QVERIFY(!child(window, "Frame1")->isEnabled());
    QVERIFY(child<QLineEdit>(window, "Text1")->text().isEmpty());
    typeText(child(window, "Text12"), QStringLiteral("9"));
    click(window, "Command5");
    QVERIFY(!window->isVisible());
    QCOMPARE(inFile(QStringLiteral("SELECT \"1\" FROM Answer WHERE Code='A1'")), QStringLiteral("9"));
    QCOMPARE(inFile(QStringLiteral("SELECT COUNT(*) FROM IDE")), QStringLiteral("3"));
}

QTEST_MAIN(TestRunTest)
#include "TestRunTest.moc"
