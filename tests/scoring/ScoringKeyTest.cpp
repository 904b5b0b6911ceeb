#include "scoring/ScoringKey.h"

#include <QTest>

namespace {
QStringList answersOf(const std::function<QString(int)> &answerOfItem) {
    QStringList answers;
    for (int item = 1; item <= 40; ++item)
        answers << answerOfItem(item);
    return answers;
}

QStringList numbers(std::initializer_list<int> values) {
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts;
}
} // namespace

class ScoringKeyTest : public QObject {
    Q_OBJECT

private slots:
    void scores_data();
    void scores();
    void missingItemsAreListed_data();
    void missingItemsAreListed();
    void keyReadByItem();
};

void ScoringKeyTest::scores_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("expected"); // box 0 to 22

    QTest::newRow("all 1") << answersOf([](int) { return QStringLiteral("1"); })
                           << numbers({2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 24, 2, 2, 2, 2, 8, 2, 2, 2, 2, 8});
    QTest::newRow("all 9") << answersOf([](int) { return QStringLiteral("9"); })
                           << numbers({18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 216, 18, 18, 18, 18, 72, 18,
                                       18, 18, 18, 72});
    QTest::newRow("(i mod 9) + 1") << answersOf([](int item) { return QString::number(item % 9 + 1); })
                                   << numbers({13, 10, 10, 8, 7, 6, 5, 15, 7, 7, 12, 10, 110, 11, 7, 15, 13, 46, 6, 10,
                                               11, 11, 38});
    // A blank answer counts as 0 (item 4 goes to rationalization, box 0; item 39 to box 18).
    QTest::newRow("blank answers") << answersOf([](int item) {
        return item == 4 ? QStringLiteral(" ") : item == 39 ? QStringLiteral("\t") : QStringLiteral("5");
    }) << numbers({5, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 115, 10, 10, 10, 10, 40, 5, 10, 10, 10, 35});
    // Values as a text's leading number gives them, written back in plain decimals: no exponent,
    // no trailing zeros.
    QStringList odd = answersOf([](int) { return QStringLiteral("1"); });
    odd[4 - 1] = QStringLiteral("1e20");
    odd[6 - 1] = QStringLiteral(" 2.5x");
    odd[8 - 1] = QStringLiteral("-3");
    odd[2 - 1] = QStringLiteral("abc");
    QStringList oddScores = numbers({0, 0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 1, 2, 2, 2, 0, 2, 2, 2, 2, 8});
    oddScores[0] = QStringLiteral("100000000000000000000");
    oddScores[1] = QStringLiteral("3.5");
    oddScores[2] = QStringLiteral("-2");
    oddScores[12] = QStringLiteral("100000000000000000000");
    oddScores[17] = QStringLiteral("7");
    QTest::newRow("values of texts") << odd << oddScores;
    // The fractions of an immature total add up from the last mechanism down.
    QStringList fractions = answersOf([](int) { return QStringLiteral("0"); });
    fractions[34 - 1] = QStringLiteral("0.1"); // box 11
    fractions[31 - 1] = QStringLiteral("0.2"); // box 10
    fractions[23 - 1] = QStringLiteral("0.3"); // box 9
    QStringList fractionScores = numbers({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    fractionScores[9] = QStringLiteral("0.3");
    fractionScores[10] = QStringLiteral("0.2");
    fractionScores[11] = QStringLiteral("0.1");
    fractionScores[12] = QStringLiteral("0.6000000000000001"); // (0.1 + 0.2) + 0.3, not 0.3 + 0.2 + 0.1
    QTest::newRow("order of a total") << fractions << fractionScores;
}

void ScoringKeyTest::scores() {
    QFETCH(QStringList, answers);
    QFETCH(QStringList, expected);
    QCOMPARE(scoreTexts(answers), expected);
}

void ScoringKeyTest::missingItemsAreListed_data() {
    QTest::addColumn<QList<int>>("empty");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QList<int>{} << QString();
    QTest::newRow("3 and 17") << QList<int>{3, 17} << QStringLiteral("3  17  ");
    QTest::newRow("40 alone") << QList<int>{40} << QStringLiteral("40  ");
    QTest::newRow("1 and 9 and 10") << QList<int>{1, 9, 10} << QStringLiteral("1  9  10  ");
}

void ScoringKeyTest::missingItemsAreListed() {
    QFETCH(QList<int>, empty);
    QFETCH(QString, expected);
    // Blanks are an answer: only an exactly empty text is missing.
    const QStringList answers =
        answersOf([&empty](int item) { return empty.contains(item) ? QString() : QStringLiteral(" "); });
    QCOMPARE(missingItems(answers), expected);
}

// The key read by item, as the sheet's key lists it: every item counts towards exactly one box.
void ScoringKeyTest::keyReadByItem() {
    const int boxOfItem[40] = {18, 13, 14, 0,  15, 1, 19, 2,  3,  4,  5,  6,  4,  7,  3,  0,  7,  2,  8,  5,
                               20, 8,  9,  20, 13, 15, 6, 19, 1,  16, 10, 21, 10, 11, 16, 9,  11, 14, 18, 21};
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
