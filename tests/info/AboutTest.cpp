#include "info/About.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {
// The box's timers stopped, so that only the test's calls move it.
void stopTimers(About &box) {
    for (QTimer *timer : box.findChildren<QTimer *>())
        timer->stop();
}

QLabel *label(About &box, int number) { return box.findChild<QLabel *>(QStringLiteral("Label%1").arg(number)); }
} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void creditsRollInSlotOrder();
    void firstLabelColourRepeatsEveryEightChanges();
    void revealLineEndsWithTheWordsApart();
};

// After slots 0 to 3 shown at opening, the labels that roll in at the bottom show slots 4, 5, 6, two
// blank places, and slot 0 again, each below all the others.
void AboutTest::creditsRollInSlotOrder() {
    About box;
    stopTimers(box);
    const QStringList texts = Credits::slotTexts();
    QCOMPARE(texts.at(0), QStringLiteral("نام نرم افزار:"));

    QStringList rolledIn;
    for (int tick = 0; tick < 5000 && rolledIn.size() < 10; ++tick) {
        QList<int> before;
        for (int number = 1; number <= 4; ++number)
            before.append(label(box, number)->y());
        box.scrollCredits();
        for (int number = 1; number <= 4; ++number) {
            QLabel *moved = label(box, number);
            if (moved->y() > before.at(number - 1)) {
                rolledIn.append(moved->text());
                for (int other = 1; other <= 4; ++other)
                    QVERIFY(other == number || label(box, other)->y() < moved->y());
            } else {
                QCOMPARE(moved->y(), before.at(number - 1) - 1);
            }
        }
    }
    const QStringList expected = {texts.at(4), texts.at(5), texts.at(6), QString(),   QString(),
                                  texts.at(0), texts.at(1), texts.at(2), texts.at(3), texts.at(4)};
    QCOMPARE(rolledIn, expected);
}

void AboutTest::firstLabelColourRepeatsEveryEightChanges() {
    About box;
    stopTimers(box);
    const QList<QColor> cycle = {{0, 0, 0},       {0, 128, 0}, {128, 0, 0}, {128, 128, 0},
                                 {128, 128, 128}, {0, 255, 0}, {255, 0, 0}, {255, 255, 0}};
    for (int change = 0; change < 2 * cycle.size(); ++change) {
        box.changeColours();
        label(box, 1)->ensurePolished();
        QCOMPARE(label(box, 1)->palette().color(QPalette::WindowText), cycle.at(change % cycle.size()));
    }
}

// The filler spaces go first, from the left; then the dots become spaces; then the line stays.
void AboutTest::revealLineEndsWithTheWordsApart() {
    About box;
    auto *line = box.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *timer = box.findChild<QTimer *>(QStringLiteral("Timer3"));
    const QString start = line->text();
    QVERIFY(start.contains(QLatin1String("   ")));
    QVERIFY(start.contains(QLatin1Char('.')));
    QVERIFY(timer->isActive());

    box.revealNext();
    QString expected = start;
    QCOMPARE(line->text(), expected.remove(start.indexOf(QLatin1Char(' ')), 1));
    for (int tick = 0; tick < 1000 && timer->isActive(); ++tick)
        box.revealNext();
    QVERIFY(!timer->isActive());
    QString words = start;
    words.remove(QLatin1Char(' ')).replace(QLatin1Char('.'), QLatin1Char(' '));
    QCOMPARE(line->text(), words);
    QVERIFY(!line->text().contains(QLatin1Char('.')));
    box.revealNext();
    QCOMPARE(line->text(), words);
}

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
