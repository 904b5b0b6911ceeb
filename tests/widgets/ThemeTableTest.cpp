#include "widgets/ThemeTable.h"

#include <QTest>

#include <limits>

class ThemeTableTest : public QObject {
    Q_OBJECT
private slots:
    void themeTextNamesSkin_data();
    void themeTextNamesSkin();
    void onlyWholeNumbersOfTheTable_data();
    void onlyWholeNumbersOfTheTable();
};

void ThemeTableTest::themeTextNamesSkin_data() {
    QTest::addColumn<QString>("themeText");
    QTest::addColumn<QString>("skinFile");
    const QStringList files{"chizh.skn",     "Green.skn",    "galaxy.skn", "_temp.skn",   "B-Studio.skn",  "Mac.skn",
                            "TopSecret.skn", "metallic.skn", "Paper.skn",  "winaqua.skn", "office2007.skn"};
    for (int theme = 1; theme <= 11; ++theme)
        QTest::addRow("theme %d", theme) << QString::number(theme) << files.at(theme - 1);
    QTest::newRow("blanks around") << "  8 "
                                   << "metallic.skn";
    QTest::newRow("blank inside the number") << " 1 0"
                                             << "winaqua.skn";
    QTest::newRow("written with a point") << "3.0"
                                          << "galaxy.skn";
    QTest::newRow("text after the number") << "11abc"
                                           << "office2007.skn";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blanks only") << "   "
                                 << "";
    QTest::newRow("zero") << "0"
                          << "";
    QTest::newRow("past the table") << "12"
                                    << "";
    QTest::newRow("not whole") << "2.5"
                               << "";
    QTest::newRow("negative") << "-1"
                              << "";
    QTest::newRow("not a number") << "metallic"
                                  << "";
}

void ThemeTableTest::themeTextNamesSkin() {
    QFETCH(QString, themeText);
    QFETCH(QString, skinFile);
    QCOMPARE(skinFileForThemeText(themeText), skinFile);
}

void ThemeTableTest::onlyWholeNumbersOfTheTable_data() {
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("skinFile");
    QTest::newRow("1") << 1.0 << "chizh.skn";
    QTest::newRow("11") << 11.0 << "office2007.skn";
    QTest::newRow("just below 1") << 0.999999 << "";
    QTest::newRow("just above 11") << 11.000001 << "";
    QTest::newRow("2.5") << 2.5 << "";
    QTest::newRow("-8") << -8.0 << "";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "";
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "";
}

void ThemeTableTest::onlyWholeNumbersOfTheTable() {
    QFETCH(double, number);
    QFETCH(QString, skinFile);
    QCOMPARE(skinFileForTheme(number), skinFile);
}

QTEST_GUILESS_MAIN(ThemeTableTest)
#include "ThemeTableTest.moc"
