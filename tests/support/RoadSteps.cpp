#include "support/RoadSteps.h"

#include "support/ModalDriver.h"
#include "support/Typing.h"

#include "store/Database.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>

QWidget *findControl(QWidget *window, const char *name) {
    QWidget *found = window ? window->findChild<QWidget *>(QString::fromLatin1(name)) : nullptr;
    if (!found)
        qWarning("no control %s", name);
    return found;
}

void click(QWidget *window, const char *name) {
    if (QWidget *control = findControl(window, name))
        QTest::mouseClick(control, Qt::LeftButton);
    else
        QTest::qFail(qPrintable(QStringLiteral("no control %1 to click").arg(QLatin1String(name))), __FILE__, __LINE__);
}

void retype(QWidget *box, const QString &text) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    typeText(box, text);
}

QWidget *mainWindow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return visibleWindow(QStringLiteral("Frm1"));
}

void registerExaminee(const Examinee &e) {
    QWidget *main = mainWindow();
    click(main, "Command1");
    QVERIFY(child(main, "Frame10")->isVisible());
    typeText(child(main, "Text11"), e.code);
    typeText(child(main, "Text6"), e.firstName);
    typeText(child(main, "Text4"), e.lastName);
    chooseFromList(child<QComboBox>(main, "Combo2"), e.sex);
    typeText(child(main, "Text5"), e.age);
    chooseFromList(child<QComboBox>(main, "Combo1"), e.maritalStatus);
    chooseFromList(child<QComboBox>(main, "Combo3"), e.group);
    typeText(child(main, "Text7"), e.education);
    QCOMPARE(boxTextsShownBy([&]() { click(main, "Command8"); }), QString());
    QVERIFY(!child(main, "Frame10")->isVisible());
}

QString runTest(const QString &code, const std::function<void(QWidget *)> &steps) {
    SeenBox asked;
    answerNextInputBox(&asked, code);
    bool opened = false;
    actOnNextWindow(QStringLiteral("FrmTest"), [&](QWidget *window) {
        opened = true;
        steps(window);
    });
    QWidget *main = mainWindow();
    const QString boxes = boxTextsShownBy([&]() { click(main, "Command2"); });
    return asked.seen && opened ? boxes : QStringLiteral("<test window not reached>");
}

QStringList shownScores(QWidget *sheet) {
    QStringList shown;
    for (int box = 0; box < 23; ++box)
        if (auto *score = child<QLineEdit>(sheet, qPrintable(QStringLiteral("Text3_%1").arg(box))))
            shown << score->text();
    return shown;
}

QStringList gridCodes(QWidget *directory) {
    QStringList codes;
    auto *grid = child<QTableView>(directory, "DataGrid1");
    for (int row = 0; grid && row < grid->model()->rowCount(); ++row)
        codes << grid->model()->index(row, 0).data().toString();
    return codes;
}

void endProcess() {
    for (int round = 0; round < 3; ++round) {
        // A window takes its own dialogs along: each is deleted only while it is still there.
        QList<QPointer<QWidget>> windows;
        for (QWidget *widget : QApplication::topLevelWidgets())
            windows << widget;
        for (const QPointer<QWidget> &window : windows)
            delete window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Database::close();
}
