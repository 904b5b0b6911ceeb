#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>

class PersianApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void rightToLeftWithPersianFont();
    void reportFontsFindFreePersianFonts_data();
    void reportFontsFindFreePersianFonts();
    void noShortcutUnderlineEvenUnderSkin();
    void standardButtonsSpeakPersian();
};

void PersianApplicationTest::initTestCase() { setUpPersianApplication(*qApp); }

void PersianApplicationTest::rightToLeftWithPersianFont() {
    QCOMPARE(QApplication::layoutDirection(), Qt::RightToLeft);
    QWidget window;
    QCOMPARE(window.layoutDirection(), Qt::RightToLeft);
    const QString family = QFontInfo(QApplication::font()).family();
    QVERIFY2(QStringList({"Noto Sans Arabic", "Nazli", "Noto Naskh Arabic"}).contains(family), qPrintable(family));
}

void PersianApplicationTest::reportFontsFindFreePersianFonts_data() {
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("drawnWith");
    QTest::newRow("B Nazanin") << "B Nazanin"
                               << "Nazli";
    QTest::newRow("B Titr") << "B Titr"
                            << "Titr";
    QTest::newRow("B Mitra") << "B Mitra"
                             << "Nazli";
}

void PersianApplicationTest::reportFontsFindFreePersianFonts() {
    QFETCH(QString, named);
    QFETCH(QString, drawnWith);
    QCOMPARE(QFontInfo(QFont(named, 12)).family(), drawnWith);
}

void PersianApplicationTest::noShortcutUnderlineEvenUnderSkin() {
    QPushButton plain(QStringLiteral("&\u062e\u0631\u0648\u062c"));
    QCOMPARE(plain.style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, &plain), 0);
    QWidget skinned;
    skinned.setStyleSheet(QStringLiteral("QPushButton { color: red; }"));
    QPushButton button(QStringLiteral("&\u062e\u0631\u0648\u062c"), &skinned);
    button.ensurePolished();
    QCOMPARE(button.style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, &button), 0);
}

void PersianApplicationTest::standardButtonsSpeakPersian() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("x"), QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text();
    QVERIFY2(yes != QLatin1String("&Yes") && yes != QLatin1String("Yes"), qPrintable(yes));
}

QTEST_MAIN(PersianApplicationTest)
#include "PersianApplicationTest.moc"
