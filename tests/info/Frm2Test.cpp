#include "info/Frm2.h"

#include "app/Frm1.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

#include <memory>

class Frm2Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pageNumberDecidesThePage_data();
    void pageNumberDecidesThePage();
    void pagesHoldTheirText();
    void mainWindowOpensThemModal_data();
    void mainWindowOpensThemModal();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void Frm2Test::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QString error;
    QVERIFY2(m_folder->openDatabase(&error), qPrintable(error));
}

void Frm2Test::cleanup() { m_folder.reset(); }

// Steps are "next", "previous", or "type:" and the text the user puts over the box's whole text
// in one edit (nothing after the colon clears the box).
void Frm2Test::pageNumberDecidesThePage_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("endNotices");
    const QString next = QStringLiteral("next");
    const QString previous = QStringLiteral("previous");
    QTest::newRow("opening") << QStringList{} << 1 << "1" << 0;
    QTest::newRow("next four times") << QStringList{next, next, next, next} << 5 << "5" << 0;
    QTest::newRow("next on the last page") << QStringList{next, next, next, next, next} << 5 << "5" << 1;
    QTest::newRow("previous on the first page") << QStringList{previous} << 1 << "1" << 0;
    QTest::newRow("typed 9") << QStringList{"type:9"} << 5 << "5" << 1;
    QTest::newRow("just above the last page") << QStringList{"type:5.4"} << 5 << "5" << 1;
    QTest::newRow("letters") << QStringList{"type:3", "type:abc"} << 1 << "1" << 0;
    QTest::newRow("cleared") << QStringList{"type:3", "type:"} << 1 << "1" << 0;
    QTest::newRow("zero") << QStringList{"type:4", "type:0"} << 1 << "1" << 0;
    QTest::newRow("negative keeps the page") << QStringList{"type:3", "type:-2"} << 3 << "-2" << 0;
    QTest::newRow("next counts up from a negative") << QStringList{"type:3", "type:-2", next} << 3 << "-1" << 0;
    QTest::newRow("next passes 0 to page 1") << QStringList{"type:3", "type:-2", next, next} << 1 << "1" << 0;
    QTest::newRow("fraction below 1 keeps the page") << QStringList{"type:4", "type:0.5"} << 4 << "0.5" << 0;
    QTest::newRow("half rounds down to even") << QStringList{"type:2.5"} << 2 << "2.5" << 0;
    QTest::newRow("half rounds up to even") << QStringList{"type:3.5"} << 4 << "3.5" << 0;
    QTest::newRow("persian digit") << QStringList{"type:\u06F4"} << 4 << "\u06F4" << 0;
    QTest::newRow("arabic-indic digit") << QStringList{"type:\u0663"} << 3 << "\u0663" << 0;
    QTest::newRow("next from a persian digit") << QStringList{"type:\u06F2", next} << 3 << "3" << 0;
}

void Frm2Test::pageNumberDecidesThePage() {
    QFETCH(QStringList, steps);
    QFETCH(int, page);
    QFETCH(QString, box);
    QFETCH(int, endNotices);
    Frm2 window;
    window.show();
    auto *number = window.findChild<QLineEdit *>(QStringLiteral("Text2"));
    MessageBoxRecorder recorder;
    for (const QString &step : steps) {
        if (step == QLatin1String("next")) {
            window.findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        } else if (step == QLatin1String("previous")) {
            window.findChild<QPushButton *>(QStringLiteral("Command3"))->click();
        } else {
            const QString text = step.mid(5);
            number->selectAll();
            if (text.isEmpty())
                QTest::keyClick(number, Qt::Key_Delete);
            else
                QTest::sendKeyEvent(QTest::Click, number, Qt::Key_unknown, text, Qt::NoModifier);
        }
    }
    QCOMPARE(number->text(), box);
    for (int shown = 1; shown <= 5; ++shown)
        QCOMPARE(window.findChild<QTextBrowser *>(QStringLiteral("Pic1_%1").arg(shown))->isVisible(), shown == page);
    const QList<SeenBox> boxes = recorder.boxes();
    QCOMPARE(boxes.size(), endNotices);
    for (const SeenBox &seen : boxes) {
        QCOMPARE(seen.title, QStringLiteral("پيام"));
        QCOMPARE(seen.text, QStringLiteral("پايان"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
    }
}

// Each page is its own text and fits its box without scrolling.
void Frm2Test::pagesHoldTheirText() {
    Frm2 window;
    window.show();
    QSet<QString> texts;
    for (int number = 1; number <= 5; ++number) {
        window.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QString::number(number));
        texts.insert(window.page(number)->toPlainText().left(300));
        QVERIFY2(!window.page(number)->verticalScrollBar()->isVisible(), qPrintable(QString::number(number)));
    }
    QCOMPARE(texts.size(), 5);
}

void Frm2Test::mainWindowOpensThemModal_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("exit");
    QTest::newRow("pages") << "Command51"
                           << "Frm2"
                           << "Text2"
                           << "1"
                           << "Command6";
    QTest::newRow("about box") << "Command11"
                               << "About"
                               << "Label1"
                               << "نام نرم افزار:"
                               << "Command1";
}

// Each opens over the main window and shows its first state; its exit button closes it.
void Frm2Test::mainWindowOpensThemModal() {
    QFETCH(QString, button);
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, exit);
    Frm1 main;
    main.show();
    QPointer<QWidget> opened;
    QWidget *owner = nullptr;
    QString shown;
    QTimer leave;
    connect(&leave, &QTimer::timeout, [&] {
        opened = QApplication::activeModalWidget();
        if (!opened || opened->objectName() != window)
            return;
        leave.stop();
        owner = opened->parentWidget();
        shown = opened->findChild<QWidget *>(control)->property("text").toString();
        opened->findChild<QPushButton *>(exit)->click();
    });
    leave.start(20);
    main.findChild<QPushButton *>(button)->click();
    QCOMPARE(shown, text);
    QCOMPARE(owner, &main);
    QVERIFY(!opened);
}

QTEST_MAIN(Frm2Test)
#include "Frm2Test.moc"
