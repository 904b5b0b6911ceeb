#include "common/TextValue.h"

#include <QLocale>
#include <QTest>

class TextValueTest : public QObject {
    Q_OBJECT
private slots:
    void readsLeadingNumber_data();
    void readsLeadingNumber();
    void pointIsTheSeparatorWhateverTheLocale();
};

void TextValueTest::readsLeadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "8" << 8.0;
    QTest::newRow("nine digits") << "999999999" << 999999999.0;
    QTest::newRow("ten digits") << "9876543210" << 9876543210.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("decimal") << "2.1" << 2.1;
    QTest::newRow("minor ten reads as one") << "2.10" << 2.1;
    QTest::newRow("two-digit minor") << "2.01" << 2.01;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("not a number") << "<html><body>404</body></html>" << 0.0;
    QTest::newRow("leading blank, CR LF after") << " 2.2\r\n" << 2.2;
    QTest::newRow("blanks inside the number") << "1 2.\t5" << 12.5;
    QTest::newRow("line feed inside the number") << "2\n.2" << 2.2;
    QTest::newRow("carriage return ends the number") << "2\r.2" << 2.0;
    QTest::newRow("further lines ignored") << "2.2\r\nnotes" << 2.2;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("fraction without whole part") << ".5" << 0.5;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("e without digits is not an exponent") << "2e" << 2.0;
    QTest::newRow("persian letters") << "\u0647\u0634\u062a" << 0.0;
}

void TextValueTest::readsLeadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(textValue(text), value);
}

void TextValueTest::pointIsTheSeparatorWhateverTheLocale() {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const double value = textValue(QStringLiteral("2.5"));
    const double comma = textValue(QStringLiteral("2,5"));
    QLocale::setDefault(previous);
    QCOMPARE(value, 2.5);
    QCOMPARE(comma, 2.0);
}

QTEST_GUILESS_MAIN(TextValueTest)
#include "TextValueTest.moc"
