#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/ProgramEnd.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "app/Frm1.h"
#include "app/Frmskin.h"
#include "backup/Frmbackup.h"
#include "backup/exitpro.h"
#include "examinees/FrmCode.h"
#include "info/About.h"
#include "info/Frm2.h"
#include "scoring/FrmkLID.h"
#include "store/Database.h"
#include "testrun/FrmTest.h"
#include "testrun/TestRun.h"
#include "update/FrmUpdate.h"
#include "widgets/Navigation.h"
#include "widgets/PersianApplication.h"
#include "widgets/SkinObject.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSqlQuery>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>

using WindowMaker = std::function<QWidget *()>;
Q_DECLARE_METATYPE(WindowMaker)

namespace {
// The control with the keyboard's focus in the window that has it, or in the modal box on top (a
// modal box need not be the active window on the offscreen platform).
QWidget *focused() {
    QWidget *window = QApplication::activeModalWidget();
    return window ? window->focusWidget() : QApplication::focusWidget();
}
QString focusName() { return focused() ? focused()->objectName() : QString(); }
// A window shown a moment ago may not hold the focus yet on a busy machine: wait for it.
void press(Qt::Key key) {
    QTRY_VERIFY(focused());
    QTest::keyClick(focused(), key);
}

// A window just shown takes the focus when it is activated, which a busy machine may do later.
void waitForFocusIn(QWidget *window) { QTRY_VERIFY_WITH_TIMEOUT(focused() && focused()->window() == window, 60000); }

void pressButton(QWidget *window, const char *name) {
    auto *button = window->findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY(button);
    button->click();
}

// A picture drawn as a button: assistive tools see it as a button.
bool isPictureButton(QWidget *widget) {
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return qobject_cast<QLabel *>(widget) && face && face->role() == QAccessible::Button;
}

// A picture button is reached when the focus came to either of its pictures, which lie at one place.
bool wasReached(const QSet<QWidget *> &reached, QWidget *control) {
    for (QWidget *widget : reached)
        if (widget == control || (isPictureButton(control) && widget->geometry() == control->geometry()))
            return true;
    return false;
}

// What a user operates: buttons, links, boxes, lists and grids, not the parts a list or grid is made of.
bool isControl(QWidget *widget) {
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    if (isPictureButton(widget) || (face && face->role() == QAccessible::Link))
        return true;
    for (QWidget *up = widget->parentWidget(); up && !up->isWindow(); up = up->parentWidget())
        if (qobject_cast<QComboBox *>(up) || qobject_cast<QAbstractItemView *>(up))
            return false;
    // Read-only text that takes no focus is a display, not a box.
    if (widget->focusPolicy() == Qt::NoFocus) {
        auto *line = qobject_cast<QLineEdit *>(widget);
        auto *text = qobject_cast<QTextEdit *>(widget);
        if ((line && line->isReadOnly()) || (text && text->isReadOnly()))
            return false;
    }
    return qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
           qobject_cast<QComboBox *>(widget) || qobject_cast<QTextEdit *>(widget) ||
           (qobject_cast<QAbstractItemView *>(widget) && !qobject_cast<QHeaderView *>(widget));
}

QString accessibleName(QWidget *widget) {
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QString stored(const QString &table, const QString &field) {
    return valueInFile(QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(field, table));
}
} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyControlIsReachedAndNamed_data();
    void everyControlIsReachedAndNamed();
    void registrationAndTestRunByKeys();
    void exitDialogByKeys_data();
    void exitDialogByKeys();
    void themeConfirmedByKeys();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void KeyboardTest::initTestCase() {
    setUpPersianApplication(*qApp);
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
}

void KeyboardTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("INSERT INTO IDE (Code, FName, LName, \"Group\") VALUES ('K1', 'سارا', 'رضايي', "
                                      "'A')")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO Answer (Code) VALUES ('K1')")));
}

void KeyboardTest::cleanup() {
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        windows << window;
    for (const QPointer<QWidget> &window : windows)
        delete window;
    m_folder.reset();
}

void KeyboardTest::everyControlIsReachedAndNamed_data() {
    QTest::addColumn<WindowMaker>("make");
    auto mainWindowWith = [](QList<const char *> buttons) {
        return WindowMaker([buttons]() -> QWidget * {
            auto *window = new Frm1;
            window->show();
            for (const char *button : buttons)
                pressButton(window, button);
            return window;
        });
    };
    QTest::newRow("main window") << mainWindowWith({});
    QTest::newRow("registration panel") << mainWindowWith({"Command1"});
    QTest::newRow("theme panel") << mainWindowWith({"Command9", "Command68"});
    QTest::newRow("clinic panel") << mainWindowWith({"Command9", "Command67"});
    QTest::newRow("test window, answering") << WindowMaker([]() -> QWidget * {
        auto *window = new FrmTest;
        window->rereadSources();
        window->selectExaminee(QStringLiteral("K1"));
        window->show();
        pressButton(window, "Command1");
        return window;
    });
    QTest::newRow("examinee directory") << WindowMaker([]() -> QWidget * { return new FrmCode; });
    QTest::newRow("scoring window") << WindowMaker([]() -> QWidget * { return new FrmkLID; });
    QTest::newRow("exit dialog") << WindowMaker([]() -> QWidget * { return exitpro::showDialog(); });
    QTest::newRow("theme-change window") << WindowMaker([]() -> QWidget * { return new Frmskin; });
    QTest::newRow("backup window") << WindowMaker([]() -> QWidget * { return new Frmbackup; });
    QTest::newRow("about box") << WindowMaker([]() -> QWidget * { return new About; });
    QTest::newRow("pages window") << WindowMaker([]() -> QWidget * { return new Frm2; });
    QTest::newRow("update window") << WindowMaker([]() -> QWidget * { return new FrmUpdate; });
}

void KeyboardTest::everyControlIsReachedAndNamed() {
    QFETCH(WindowMaker, make);
    QPointer<QWidget> window = make();
    QVERIFY(window);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QList<QWidget *> controls;
    for (QWidget *widget : window->findChildren<QWidget *>())
        if (widget->isVisible() && widget->isEnabled() && isControl(widget))
            controls << widget;
    QVERIFY(!controls.isEmpty());

    if (!focused())
        press(Qt::Key_Tab);
    QSet<QWidget *> reached;
    for (int step = 0; step < 3 * controls.size() && focused(); ++step) {
        reached << focused();
        press(Qt::Key_Tab);
    }
    for (QWidget *control : controls) {
        QVERIFY2(wasReached(reached, control), qPrintable(control->objectName() + " is not reached by Tab"));
        QVERIFY2(!accessibleName(control).isEmpty(), qPrintable(control->objectName() + " has no name"));
    }
}

// An examinee registered and the test answered with the keyboard alone: Tab, Enter, Space, the
// digit keys and typed text.
void KeyboardTest::registrationAndTestRunByKeys() {
    auto *main = new Frm1;
    main->show();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QCOMPARE(focusName(), QStringLiteral("Command1"));
    press(Qt::Key_Return);

    // The registration panel, right to left and row by row; what each stop is given.
    const QString fields[][2] = {
        {"Text11", "م7"}, {"Text6", "علي"},   {"Text4", "کريمي"}, {"Text5", "41"},    {"Combo1", "down"}, {"Text8", ""},
        {"Text9", ""},    {"Combo2", "down"}, {"Combo3", "down"}, {"Text7", "ديپلم"}, {"Command8", ""},
    };
    for (const auto &[name, input] : fields) {
        QCOMPARE(focusName(), name);
        if (input == QLatin1String("down"))
            press(Qt::Key_Down);
        else
            typeText(focused(), input);
        if (name != QLatin1String("Command8"))
            press(Qt::Key_Tab);
    }
    press(Qt::Key_Space);
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("SELECT FName, LName, Sen, Taahol, Jens, \"Group\", Tahsil FROM IDE WHERE "
                                      "Code = 'م7'")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString() + query.value(1).toString() + query.value(2).toString(),
             QStringLiteral("عليکريمي41"));
    QVERIFY(!query.value(3).toString().isEmpty() && !query.value(4).toString().isEmpty());
    QCOMPARE(query.value(5).toString(), QStringLiteral("A"));

    for (int step = 0; step < 30 && focusName() != QLatin1String("Command2"); ++step)
        press(Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("Command2"));

    actOnNextWindow(QStringLiteral("InputBox"), [](QWidget *box) {
        waitForFocusIn(box);
        typeText(focused(), QStringLiteral("م7"));
        press(Qt::Key_Enter);
    });
    QStringList stops; // where the focus stood at each step of the test run
    actOnNextWindow(QStringLiteral("FrmTest"), [&stops](QWidget *test) -> bool {
        waitForFocusIn(test);
        stops << focusName();
        press(Qt::Key_Return); // "شروع"
        stops << focusName();
        for (int detail = 0; detail < 10; ++detail)
            press(Qt::Key_Tab);
        for (int item = 1; item <= 40 && test->isVisible(); ++item) {
            stops << focusName();
            press(Qt::Key(Qt::Key_1 + (item - 1) % 9));
            press(Qt::Key_Tab);
            if (item < 40) {
                stops << focusName();
                press(Qt::Key_Return); // "بعدي"
            }
        }
        for (int step = 0; step < 3; ++step)
            press(Qt::Key_Tab);
        stops << focusName();
        press(Qt::Key_Return); // "ذخيره و خروج"
        if (test->isVisible())
            test->close();
        return true;
    });
    press(Qt::Key_Return);

    QStringList expected{QStringLiteral("Command1"), QStringLiteral("Text1")};
    for (int item = 1; item <= 40; ++item) {
        expected << QStringLiteral("Text12");
        if (item < 40)
            expected << QStringLiteral("CmdNext");
    }
    expected << QStringLiteral("Command5");
    QCOMPARE(stops, expected);
    QVERIFY(query.exec(QStringLiteral("SELECT * FROM Answer WHERE Code = 'م7'")));
    QVERIFY(query.next());
    for (int item = 1; item <= 40; ++item)
        QCOMPARE(query.value(QString::number(item)).toString(), QString::number((item - 1) % 9 + 1));
}

// The exit dialog left or cancelled from its pictures by keys; key 0 is an assistive tool's press.
void KeyboardTest::exitDialogByKeys_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ends");
    QTest::newRow("confirm by Return") << 1 << int(Qt::Key_Return) << true;
    QTest::newRow("confirm by an assistive tool") << 1 << 0 << true;
    QTest::newRow("cancel by Space") << 2 << int(Qt::Key_Space) << false;
    QTest::newRow("Escape on the confirm picture") << 1 << int(Qt::Key_Escape) << false;
}

void KeyboardTest::exitDialogByKeys() {
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(bool, ends);
    QWidget *dialog = exitpro::showDialog();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QTRY_COMPARE(focusName(), QStringLiteral("Check1"));
    for (int tab = 0; tab < tabs; ++tab)
        press(Qt::Key_Tab);
    for (const QPoint at : {QPoint(4, 4), QPoint(8, 8)})
        QTest::mouseMove(dialog, at);
    // The focus stands on the highlighted picture, k2 or C2, shown in place of the plain one even
    // when the pointer crosses the background.
    QCOMPARE(focusName(), QLatin1String(tabs == 1 ? "k2" : "C2"));
    QVERIFY(focused()->isVisible());
    const bool ended = endsProgram([key]() {
        if (key)
            QTest::keyClick(focused(), Qt::Key(key));
        else
            QAccessible::queryAccessibleInterface(focused())->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
    });
    QCOMPARE(ended, ends);
    QCOMPARE(visibleWindow(QStringLiteral("Frm1")) != nullptr, !ends);
}

// The theme-change window opens plain; Tab and Return on its confirm picture bring the main window
// back in the chosen look.
void KeyboardTest::themeConfirmedByKeys() {
    auto *main = new Frm1;
    main->show();
    for (const char *button : {"Command9", "Command68", "Command47"})
        pressButton(main, button);
    QWidget *change = visibleWindow(QStringLiteral("Frmskin"));
    QVERIFY(QTest::qWaitForWindowActive(change));
    QVERIFY(change->findChild<QLabel *>(QStringLiteral("k1"))->isVisible());
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("k2"));
    press(Qt::Key_Return);
    QTRY_VERIFY(visibleWindow(QStringLiteral("Frm1")));
    QCOMPARE(visibleWindow(QStringLiteral("Frm1"))->findChild<SkinObject *>()->loadedFile(),
             QStringLiteral("metallic.skn"));
}

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
