#include "widgets/SkinObject.h"
#include "common/Twips.h"
#include "widgets/SkinLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Qt's complaints about style sheets and their pictures, gathered while a skin is in use.
QStringList styleWarnings;
QtMessageHandler previousHandler = nullptr;

void catchStyleWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (message.contains(QLatin1String("Could not parse")) ||
        message.contains(QLatin1String("Could not create pixmap")) ||
        message.contains(QLatin1String("stylesheet"), Qt::CaseInsensitive))
        styleWarnings << message;
    if (previousHandler)
        previousHandler(type, context, message);
}

// A window of our own class, as the program's windows are, with every kind of control the skins style.
class SampleWindow : public QWidget {
    Q_OBJECT
public:
    SampleWindow() {
        setFixedSize(twipsSize(10800, 7965));
        auto *panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Frame7"));
        panel->setGeometry(twipsRect(8280, 540, 2235, 6645));
        auto *button = new QPushButton(QStringLiteral("\u062e\u0631\u0648\u062c"), panel);
        button->setGeometry(twipsRect(240, 180, 1785, 555));
        auto *disabled = new QPushButton(QStringLiteral("\u062e\u0631\u0648\u062c"), panel);
        disabled->setGeometry(twipsRect(240, 780, 1785, 555));
        disabled->setEnabled(false);
        auto *label = new SkinLabel(this);
        label->setGeometry(twipsRect(300, 7200, 9975, 615));
        label->setCaption(QStringLiteral("\u062a\u0645 \u0634\u0645\u0627\u0631\u0647 8"));
        (new QLineEdit(QStringLiteral("8"), this))->setGeometry(twipsRect(300, 300, 2000, 400));
        auto *combo = new QComboBox(this);
        combo->addItems({QStringLiteral("1"), QStringLiteral("2")});
        combo->setGeometry(twipsRect(300, 800, 2000, 400));
        (new QCheckBox(QStringLiteral("\u062a\u0645"), this))->setGeometry(twipsRect(300, 1300, 2000, 400));
        (new QGroupBox(QStringLiteral("\u062a\u0645"), this))->setGeometry(twipsRect(2500, 300, 3000, 1400));
        auto *progress = new QProgressBar(this);
        progress->setValue(40);
        progress->setGeometry(twipsRect(300, 1900, 6000, 350));
        auto *table = new QTableView(this);
        auto *model = new QStandardItemModel(30, 3, table);
        table->setModel(model);
        table->setGeometry(twipsRect(300, 2400, 6000, 3000));
    }
};

QImage render(QWidget *window) {
    window->show();
    QCoreApplication::processEvents();
    return window->grab().toImage();
}

} // namespace

class SkinObjectTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void themeGivesWindowItsSkin_data();
    void themeGivesWindowItsSkin();
    void numberOutsideTableLeavesPlainLook_data();
    void numberOutsideTableLeavesPlainLook();
    void missingSkinFileLoadsNothing();
    void skinsAreElevenDistinctLooks();
    void boxOwnedBySkinnedWindowTakesSkin();
    void skinLabelShowsCaptionAsStored();

private:
    QString skinText(const QString &file) const;

    std::unique_ptr<QTemporaryDir> m_programFolder;
    QString m_startFolder;
};

void SkinObjectTest::initTestCase() {
    previousHandler = qInstallMessageHandler(catchStyleWarnings);
    m_startFolder = QDir::currentPath();
}

// Each case runs in a program folder of its own holding the eleven skin files.
void SkinObjectTest::init() {
    m_programFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_programFolder->isValid());
    for (const QString &file : themeSkinFiles())
        QVERIFY2(QFile::copy(QStringLiteral(KELTO_SOURCE_DIR "/skins/") + file, m_programFolder->filePath(file)),
                 qPrintable(file));
    QVERIFY(QDir::setCurrent(m_programFolder->path()));
    styleWarnings.clear();
}

void SkinObjectTest::cleanup() {
    QDir::setCurrent(m_startFolder);
    m_programFolder.reset();
}

QString SkinObjectTest::skinText(const QString &file) const {
    QFile skin(m_programFolder->filePath(file));
    if (!skin.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(skin.readAll());
}

void SkinObjectTest::themeGivesWindowItsSkin_data() {
    QTest::addColumn<QString>("themeText");
    QTest::addColumn<QString>("skinFile");
    for (int theme = 1; theme <= 11; ++theme)
        QTest::addRow("theme %d", theme) << QString::number(theme) << themeSkinFiles().at(theme - 1);
}

void SkinObjectTest::themeGivesWindowItsSkin() {
    QFETCH(QString, themeText);
    QFETCH(QString, skinFile);
    SampleWindow window;
    SkinObject skin;
    applyTheme(&skin, &window, themeText);

    QCOMPARE(skin.loadedFile(), skinFile);
    QVERIFY(!skinText(skinFile).isEmpty());
    QCOMPARE(window.styleSheet(), skinText(skinFile));
    QVERIFY(window.property(SkinObject::windowProperty()).toBool());
    // Drawing the window polishes every control against the sheet: a sheet Qt cannot read, or a
    // picture it names that does not exist, is reported here.
    render(&window);
    QVERIFY2(styleWarnings.isEmpty(), qPrintable(styleWarnings.join(QLatin1Char('\n'))));
}

void SkinObjectTest::numberOutsideTableLeavesPlainLook_data() {
    QTest::addColumn<QString>("themeText");
    QTest::newRow("empty") << "";
    QTest::newRow("0") << "0";
    QTest::newRow("12") << "12";
    QTest::newRow("2.5") << "2.5";
    QTest::newRow("-1") << "-1";
}

void SkinObjectTest::numberOutsideTableLeavesPlainLook() {
    QFETCH(QString, themeText);
    SampleWindow plain;
    const QImage plainLook = render(&plain);

    SampleWindow window;
    SkinObject skin;
    applyTheme(&skin, &window, themeText);
    QVERIFY(skin.loadedFile().isEmpty());
    QVERIFY(window.styleSheet().isEmpty());
    QVERIFY(!window.property(SkinObject::windowProperty()).toBool());
    QCOMPARE(render(&window), plainLook);
    QVERIFY(window.isVisible());
}

void SkinObjectTest::missingSkinFileLoadsNothing() {
    QVERIFY(QFile::remove(m_programFolder->filePath(QStringLiteral("Mac.skn"))));
    SkinObject skin;
    QVERIFY(skin.loadSkin(QStringLiteral("Paper.skn")));
    // A failed load leaves no skin, not the one loaded before.
    QVERIFY(!skin.loadSkin(QStringLiteral("Mac.skn")));
    QVERIFY(skin.loadedFile().isEmpty());
    QVERIFY(skin.styleSheet().isEmpty());

    // The window whose theme names the missing file still opens, in the plain look.
    SampleWindow window;
    applyTheme(&skin, &window, QStringLiteral("9"));
    QVERIFY(!window.styleSheet().isEmpty());
    applyTheme(&skin, &window, QStringLiteral("6"));
    QVERIFY(window.styleSheet().isEmpty());
    QVERIFY(!window.property(SkinObject::windowProperty()).toBool());
    render(&window);
    QVERIFY(window.isVisible());
}

void SkinObjectTest::skinsAreElevenDistinctLooks() {
    SampleWindow plain;
    QList<QImage> looks{render(&plain)};
    for (const QString &file : themeSkinFiles()) {
        SampleWindow window;
        SkinObject skin;
        QVERIFY(skin.loadSkin(file));
        skin.applySkin(&window);
        const QImage look = render(&window);
        for (int i = 0; i < looks.size(); ++i)
            QVERIFY2(look != looks.at(i), qPrintable(file + QStringLiteral(" looks like an earlier one")));
        looks << look;
    }
}

void SkinObjectTest::boxOwnedBySkinnedWindowTakesSkin() {
    auto boxLook = [](QWidget *owner) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("\u067e\u064a\u0627\u0645"),
                        QMessageBox::Ok, owner);
        box.show();
        QCoreApplication::processEvents();
        return box.grab().toImage();
    };
    SampleWindow plain;
    SampleWindow skinned;
    SkinObject skin;
    QVERIFY(skin.loadSkin(QStringLiteral("galaxy.skn")));
    skin.applySkin(&skinned);
    QVERIFY(boxLook(&plain) != boxLook(&skinned));
}

void SkinObjectTest::skinLabelShowsCaptionAsStored() {
    QWidget window;
    SkinLabel label(&window);
    const QString caption = QStringLiteral(" <b>\u0646\u0627\u0645</b> 2 ");
    label.setCaption(caption);
    QCOMPARE(label.caption(), caption);
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.layoutDirection(), Qt::RightToLeft);
    QVERIFY(label.wordWrap());

    label.moveTwips(1440, 720);
    QCOMPARE(label.pos(), QPoint(96, 48));
    window.show();
    label.setVisible(false);
    QVERIFY(!label.isVisible());
    label.setVisible(true);
    QVERIFY(label.isVisible());
}

QTEST_MAIN(SkinObjectTest)
#include "SkinObjectTest.moc"
