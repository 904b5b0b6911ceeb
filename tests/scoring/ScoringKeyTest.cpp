#include "scoring/ScoringKey.h"

#include <QHash>
#include <QTest>

namespace {
// The 40 answers: each item's text is the fill, except the items given.
QStringList answers(const QString &fill, const QHash<int, QString> &items = {}) {
    QStringList texts;
    for (int item = 1; item <= 40; ++item)
        texts << items.value(item, fill);
    return texts;
}
} // namespace

class ScoringKeyTest : public QObject {
    Q_OBJECT

private slots:
    void scores_data();
    void scores();
    void keyReadByItem();
};

void ScoringKeyTest::scores_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expected"); // boxes 0 to 22
    QTest::newRow("all 1") << answers("1") << "2 2 2 2 2 2 2 2 2 2 2 2 24 2 2 2 2 8 2 2 2 2 8";
    QTest::newRow("all 9") << answers("9") << "18 18 18 18 18 18 18 18 18 18 18 18 216 18 18 18 18 72 18 18 18 18 72";
    QHash<int, QString> modulo;
    for (int item = 1; item <= 40; ++item)
        modulo.insert(item, QString::number(item % 9 + 1));
    QTest::newRow("(i mod 9) + 1") << answers({}, modulo)
                                   << "13 10 10 8 7 6 5 15 7 7 12 10 110 11 7 15 13 46 6 10 11 11 38";
    // Blanks are worth 0: item 4 counts towards box 0, item 39 towards box 18.
    QTest::newRow("blank answers") << answers("5", {{4, " "}, {39, "\t"}})
                                   << "5 10 10 10 10 10 10 10 10 10 10 10 115 10 10 10 10 40 5 10 10 10 35";
    // The value of a text, written back in plain decimals: no exponent, no trailing zeros.
    QTest::newRow("values of texts") << answers("1", {{4, "1e20"}, {6, " 2.5x"}, {8, "-3"}, {2, "abc"}})
                                     << "100000000000000000000 3.5 -2 2 2 2 2 2 2 2 2 2 100000000000000000000 "
                                        "1 2 2 2 7 2 2 2 2 8";
}

void ScoringKeyTest::scores() {
    QFETCH(QStringList, answers);
    QFETCH(QString, expected);
    QCOMPARE(scoreTexts(answers).join(QLatin1Char(' ')), expected);
}

// The key read by item, as the sheet's key lists it: every item counts towards exactly one box.
void ScoringKeyTest::keyReadByItem() {
    const int boxOfItem[40] = {18, 13, 14, 0,  15, 1,  19, 2,  3, 4,  5,  6,  4,  7,  3,  0, 7,  2,  8,  5,
                               20, 8,  9,  20, 13, 15, 6,  19, 1, 16, 10, 21, 10, 11, 16, 9, 11, 14, 18, 21};
    for (int item = 1; item <= 40; ++item)
        QCOMPARE(ScoringKey::boxOfItem(item), boxOfItem[item - 1]);
    QCOMPARE(ScoringKey::boxOfItem(0), -1);
    QCOMPARE(ScoringKey::boxOfItem(41), -1);
    QCOMPARE(ScoringKey::reportLabel(7), QStringLiteral("خيالپردازي اوتيستيک"));
    QCOMPARE(ScoringKey::boxLabel(7), QStringLiteral("خيال پردازي اوتستيک"));
    QCOMPARE(ScoringKey::reportLabel(22), ScoringKey::boxLabel(12));
}

QTEST_GUILESS_MAIN(ScoringKeyTest)
#include "ScoringKeyTest.moc"
