#include "common/PersianOrder.h"

#include <QTest>

class PersianOrderTest : public QObject {
    Q_OBJECT
private slots:
    void sorts_data();
    void sorts();
};

// Each row: the texts in the order expected, given to the sort reversed.
void PersianOrderTest::sorts_data() {
    QTest::addColumn<QStringList>("ordered");
    QTest::newRow("alef with madda, then alef and its hamza forms by the letter after")
        << QStringList{"\u0622\u062E\u0631", "\u0627\u0628", "\u0623\u062D", "\u0625\u062F"};
    QTest::newRow("hamza on waw and yeh with their carriers") << QStringList{
        "\u0645\u0648\u0628\u062F", "\u0645\u0624\u062A\u0645\u0646", "\u0647", "\u0626\u0627", "\u064A\u0628"};
    QTest::newRow("teh marbuta and heh with hamza as heh")
        << QStringList{"\u0647\u0627", "\u0629\u0628", "\u06C0\u062A"};
    QTest::newRow("zero-width non-joiner and vowel marks passed over")
        << QStringList{"\u0645\u064F\u062D\u0645\u062F\u200C\u0631\u0636\u0627", "\u0645\u062D\u0645\u062F\u0632",
                       "\u0645\u062D\u0645\u0640\u062F\u0633"};
    QTest::newRow("Latin in any case, digits and spaces before Persian")
        << QStringList{"1", "a b", "ab", "Ac", "aD", "\u0627"};
    QTest::newRow("texts equal in the order keep their code point order")
        << QStringList{"ALI", "Ali", "\u0643", "\u06A9"};
}

void PersianOrderTest::sorts() {
    QFETCH(QStringList, ordered);
    QStringList texts(ordered.crbegin(), ordered.crend());
    PersianOrder::sort(texts);
    QCOMPARE(texts, ordered);
}

QTEST_MAIN(PersianOrderTest)
#include "PersianOrderTest.moc"
