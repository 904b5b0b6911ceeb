// Every look names the families its text is drawn in: the Persian family and the Latin one beside
// it. A caption whose letters no named family has is drawn in whatever family Qt's own fallback
// search finds, which mixes designs in one label ("Kelto" in a serif font, "2.1" in the skin's).
#include "common/PersianFonts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QRegularExpression>
#include <QTextLayout>
#include <QtTest>

class SkinFontsTest : public QObject {
    Q_OBJECT

private slots:
    void everyGlyphFromANamedFamily_data();
    void everyGlyphFromANamedFamily();
};

namespace {

// The family lists of a style sheet, one per font-family declaration.
QList<QStringList> familyLists(const QString &styleSheet) {
    QList<QStringList> lists;
    static const QRegularExpression declaration(QStringLiteral("font-family\\s*:\\s*([^;}]+)"));
    for (const QRegularExpressionMatch &match : declaration.globalMatch(styleSheet)) {
        QStringList families;
        for (QString family : match.captured(1).split(QLatin1Char(','))) {
            family = family.trimmed();
            family.remove(QLatin1Char('"'));
            families << family;
        }
        lists << families;
    }
    return lists;
}

// The fonts Qt draws a caption in, with the given list.
QList<QRawFont> drawingFonts(const QStringList &families, bool bold, const QString &caption) {
    QFont font;
    font.setFamilies(families);
    font.setPointSize(10);
    font.setBold(bold);
    QTextLayout layout(caption, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QList<QRawFont> fonts;
    for (const QGlyphRun &run : layout.glyphRuns())
        fonts << run.rawFont();
    return fonts;
}

} // namespace

void SkinFontsTest::everyGlyphFromANamedFamily_data() {
    QTest::addColumn<QStringList>("families");
    QTest::newRow("program font") << persianTextFamilies();
    const QDir skins(QStringLiteral(KELTO_SOURCE_DIR "/skins"));
    const QStringList files = skins.entryList({QStringLiteral("*.skn")}, QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 11);
    for (const QString &file : files) {
        QFile skin(skins.filePath(file));
        QVERIFY(skin.open(QIODevice::ReadOnly));
        const QList<QStringList> lists = familyLists(QString::fromUtf8(skin.readAll()));
        QVERIFY2(!lists.isEmpty(), qPrintable(file));
        for (int i = 0; i < lists.size(); ++i)
            QTest::addRow("%s list %d", qPrintable(file), i + 1) << lists.at(i);
    }
}

void SkinFontsTest::everyGlyphFromANamedFamily() {
    QFETCH(QStringList, families);
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : families)
        QVERIFY2(installed.contains(family), qPrintable(family + QStringLiteral(" is not installed")));

    const QStringList latinCaptions{QStringLiteral("Kelto 2.1"), QStringLiteral("Help"),
                                    QStringLiteral("www.kelto.example")};
    const QStringList persianCaptions{QStringLiteral("ثبت نام آزمودني"), QStringLiteral("تعريف نام کلينيک 12")};
    const QChar keheh(0x06A9);
    for (const bool bold : {false, true}) {
        for (const QString &caption : latinCaptions + persianCaptions) {
            const QList<QRawFont> fonts = drawingFonts(families, bold, caption);
            QVERIFY(!fonts.isEmpty());
            for (const QRawFont &font : fonts) {
                QVERIFY2(families.contains(font.familyName()),
                         qPrintable(caption + QStringLiteral(" is drawn partly in ") + font.familyName()));
                // A Persian family's own Latin letters are drawn only when it draws the whole
                // caption (it comes first); behind another Persian family they would stand beside
                // that family's digits, two designs in one label.
                if (latinCaptions.contains(caption) && font.familyName() != families.first())
                    QVERIFY2(!font.supportsCharacter(keheh),
                             qPrintable(caption + QStringLiteral(" takes Latin letters from ") + font.familyName()));
            }
        }
    }
}

QTEST_MAIN(SkinFontsTest)
#include "SkinFontsTest.moc"
