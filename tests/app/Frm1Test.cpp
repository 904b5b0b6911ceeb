#include "support/ModalDriver.h"
#include "support/ProgramEnd.h"
#include "support/TempProgramFolder.h"

#include "app/Frm1.h"
#include "app/WebPageOpener.h"
#include "common/Hosts.h"
#include "common/Twips.h"
#include "store/DataSource.h"
#include "widgets/Navigation.h"
#include "widgets/PersianApplication.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
QString stored(const QString &table, const QString &field) { return DataSource(table).value(field); }

void store(const QString &field, const QString &value) {
    DataSource settings(QStringLiteral("Theme"));
    settings.setValue(field, value);
    QVERIFY(settings.save());
}

void typeInto(QLineEdit *box, const QString &text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Moves the mouse over a point of a control the way the window system reports it, so the window
// itself decides which widget is under the mouse.
void moveOver(QWidget *target, QPoint local = QPoint(-1, -1)) {
    if (local == QPoint(-1, -1))
        local = target->rect().center();
    QWidget *window = target->window();
    // A move to where the mouse already is reports nothing, so come from a pixel beside it.
    QTest::mouseMove(window->windowHandle(), target->mapTo(window, local + QPoint(1, 0)));
    QTest::mouseMove(window->windowHandle(), target->mapTo(window, local));
}

QWidget *topLevel(const char *name) {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return widget;
    return nullptr;
}

const QString clinicName = QStringLiteral("کلينيک مهر");
} // namespace

class Frm1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpShowsTitleNameAndHiddenPanels();
    void startUpAppliesTheStoredTheme_data();
    void startUpAppliesTheStoredTheme();
    void geometryFollowsTheLayout_data();
    void geometryFollowsTheLayout();
    void captionsAreTheProgramsOwn_data();
    void captionsAreTheProgramsOwn();
    void hintsFollowTheMouse_data();
    void hintsFollowTheMouse();
    void otherButtonsLeaveTheHint();
    void panelClosingStep_data();
    void panelClosingStep();
    void settingsAndThemePanels();
    void choosingAThemeStoresItAndComesBackInTheNewLook_data();
    void choosingAThemeStoresItAndComesBackInTheNewLook();
    void clinicNameFollowsTypingAndSaveStoresIt();
    void clinicNameFollowsTheNameField_data();
    void clinicNameFollowsTheNameField();
    void cancelledNameIsDroppedByAThemeChange();
    void emptyClinicSaveStoresEmptyTexts();
    void settingsThatCannotBeStoredAreReported();
    void leavingHandsOverToTheExitDialog_data();
    void leavingHandsOverToTheExitDialog();
    void webPagesOpenAtTheVendorsAddresses();
    void calculatorStartsOrIsReportedMissing();

private:
    Frm1 *loadMainWindow();
    template <class T = QWidget> T *control(const char *name) {
        T *found = m_window ? m_window->findChild<T *>(QString::fromLatin1(name)) : nullptr;
        if (!found)
            qWarning("no control %s", name);
        return found;
    }
    void click(const char *name);
    // Opens a panel the way the user does: "settings", "theme" or "clinic"; nothing when empty.
    void openPanel(const QString &panel);
    bool confirmThemeChange();

    std::unique_ptr<TempProgramFolder> m_folder;
    QPointer<Frm1> m_window;
    QList<QUrl> m_opened;
};

void Frm1Test::initTestCase() {
    setUpPersianApplication(*qApp);
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
    WebPageOpener::replaceAction([this](const QUrl &address) {
        m_opened.append(address);
        return true;
    });
}

void Frm1Test::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    store(QStringLiteral("Name"), clinicName);
    m_opened.clear();
}

void Frm1Test::cleanup() {
    // Deleted, not closed: a closed exit dialog would bring the main window back.
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete widget;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_folder.reset();
}

Frm1 *Frm1Test::loadMainWindow() {
    m_window = qobject_cast<Frm1 *>(Navigation::showMainWindow());
    return m_window && QTest::qWaitForWindowExposed(m_window) ? m_window.data() : nullptr;
}

void Frm1Test::click(const char *name) {
    QWidget *target = control(name);
    QVERIFY2(target, name);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

void Frm1Test::openPanel(const QString &panel) {
    if (panel.isEmpty())
        return;
    click("Command9");
    if (panel == QLatin1String("theme"))
        click("Command68");
    else if (panel == QLatin1String("clinic"))
        click("Command67");
    else
        QCOMPARE(panel, QStringLiteral("settings"));
}

// Frmskin's confirm picture: the mouse over the normal image brings the highlighted one, whose
// click loads the main window anew.
bool Frm1Test::confirmThemeChange() {
    QWidget *themeChange = topLevel("Frmskin");
    if (!themeChange || !QTest::qWaitForWindowExposed(themeChange))
        return false;
    auto *k1 = themeChange->findChild<QWidget *>(QStringLiteral("k1"));
    auto *k2 = themeChange->findChild<QWidget *>(QStringLiteral("k2"));
    if (!k1 || !k2)
        return false;
    moveOver(k1);
    if (!QTest::qWaitFor([k2]() { return k2->isVisible(); }))
        return false;
    QTest::mouseClick(k2, Qt::LeftButton, Qt::NoModifier, k2->rect().center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_window = qobject_cast<Frm1 *>(topLevel("Frm1"));
    return m_window;
}

void Frm1Test::startUpShowsTitleNameAndHiddenPanels() {
    QVERIFY(loadMainWindow());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kelto-40"));
    QCOMPARE(control<SkinLabel>("SkinLabel9")->caption(), QStringLiteral("Kelto 2.1"));
    QCOMPARE(control<QLineEdit>("Text3")->text(), QStringLiteral("2"));
    QCOMPARE(control<SkinLabel>("SkinLabel1")->caption(), clinicName);
    for (const char *panel : {"Frame6", "Frame8", "Frame9", "Frame10", "FrameDatabase"})
        QVERIFY2(!control(panel)->isVisible(), panel);
    QVERIFY(!control("Text1")->isVisible());
    QVERIFY(!control("Text3")->isVisible());
    QVERIFY(control<SkinLabel>("SkinLabel2")->caption().isEmpty());
    for (const char *source : {"Adodc1", "Adodc2", "Adodc3", "Adodc4", "Adodc5"})
        QVERIFY2(m_window->findChild<DataSource *>(QString::fromLatin1(source)), source);
}

void Frm1Test::startUpAppliesTheStoredTheme_data() {
    QTest::addColumn<QString>("th");
    QTest::addColumn<QString>("skinFile");
    QTest::newRow("8") << "8"
                       << "metallic.skn";
    QTest::newRow("1") << "1"
                       << "chizh.skn";
    QTest::newRow("11") << "11"
                        << "office2007.skn";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("12") << "12"
                        << "";
    QTest::newRow("2.5") << "2.5"
                         << "";
}

void Frm1Test::startUpAppliesTheStoredTheme() {
    QFETCH(QString, th);
    QFETCH(QString, skinFile);
    store(QStringLiteral("TH"), th);
    QVERIFY(loadMainWindow());
    QCOMPARE(control<QLineEdit>("Text1")->text(), th);
    auto *skin = m_window->findChild<SkinObject *>();
    QVERIFY(skin);
    QCOMPARE(skin->loadedFile(), skinFile);
    QCOMPARE(m_window->styleSheet().isEmpty(), skinFile.isEmpty());
}

void Frm1Test::geometryFollowsTheLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twipsInWindow"); // left, top, width, height; width 0: not fixed
    QTest::addColumn<QString>("panel");       // the panel the control sits on, opened first
    auto row = [](const char *name, int left, int top, int width, int height, const char *panel = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(left, top, width, height)
                            << QString::fromLatin1(panel);
    };
    row("CmdHelp", 45, 45, 855, 855);
    row("SkinLabel9", 45, 945, 1965, 0);
    row("SkinLabel1", 1740, 120, 5955, 0);
    row("Picture1", 840, 6420, 6270, 690);
    row("Frame7", 8280, 540, 2235, 6645);
    row("SkinLabel2", 300, 7200, 9975, 615);
    row("Command1", 8280 + 240, 540 + 180, 1785, 555);
    row("Command3", 8280 + 240, 540 + 1350, 1785, 555);
    row("Command6", 8280 + 240, 540 + 5940, 1785, 555);
    row("Frame8", 6060, 3780, 2175, 2640); // a row taller: the database button above the exit
    row("Command68", 6060 + 120, 3780 + 240, 1935, 495, "settings");
    row("CmdDatabase", 6060 + 120, 3780 + 1440, 1935, 495, "settings");
    row("Command69", 6060 + 120, 3780 + 2040, 1935, 495, "settings");
    row("Frame6", 3420, 480, 2595, 7440);
    row("Command45", 3420 + 240, 480 + 240, 2145, 555, "theme");
    row("Command53", 3420 + 240, 480 + 6240, 2145, 555, "theme");
    row("Command46", 3420 + 720, 480 + 6900, 1185, 435, "theme");
    row("Frame9", 1620, 840, 6075, 2295);
    row("Text2", 1620 + 120, 840 + 300, 5355, 615, "clinic");
    row("Text14", 1620 + 120, 840 + 1020, 5355, 615, "clinic");
    row("Command64", 1620 + 3180, 840 + 1680, 855, 495, "clinic");
    row("Command7", 1620 + 2100, 840 + 1680, 855, 495, "clinic");
    row("SkinLabel4", 1620 + 5580, 840 + 420, 0, 0, "clinic");
    row("Frame10", 1500, 780, 6675, 2895);
}

// Positions are where the layout puts them in the window, left and top measured from the window's
// left edge even though the window reads right to left.
void Frm1Test::geometryFollowsTheLayout() {
    QFETCH(QString, name);
    QFETCH(QRect, twipsInWindow);
    QFETCH(QString, panel);
    QVERIFY(loadMainWindow());
    QCOMPARE(m_window->size(), twipsSize(10800, 7965));
    QCOMPARE(m_window->pos(), twipsPoint(2340, 765));
    openPanel(panel);
    QWidget *target = control(name.toLatin1().constData());
    QVERIFY(target);
    // A control on an opened panel shows with it.
    if (!panel.isEmpty())
        QVERIFY(target->isVisible());
    QCOMPARE(target->mapTo(m_window, QPoint(0, 0)), twipsPoint(twipsInWindow.left(), twipsInWindow.top()));
    if (twipsInWindow.width() > 0)
        QCOMPARE(target->width(), twips(twipsInWindow.width()));
    if (twipsInWindow.height() > 0)
        QCOMPARE(target->height(), twips(twipsInWindow.height()));
}

void Frm1Test::captionsAreTheProgramsOwn_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("panel"); // the panel the control sits on, opened first
    auto row = [](const char *name, const QString &caption, const char *panel = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << QString::fromLatin1(panel);
    };
    row("Command1", QStringLiteral("ثبت نام آزمودني"));
    row("Command2", QStringLiteral("اجراي تست"));
    row("Command3", QStringLiteral("کليد گذاري"));
    row("Command4", QStringLiteral("نمايش کد آزمودني"));
    row("Command5", QStringLiteral("ماشين حساب"));
    row("Command9", QStringLiteral("تنظيمات"));
    row("Command51", QStringLiteral("ويژگي روانسنجي"));
    row("Command11", QStringLiteral("درباره ما"));
    row("Cmdupdate", QStringLiteral("بروز رساني"));
    row("Command6", QStringLiteral("خروج"));
    row("CmdHelp", QStringLiteral("Help"));
    row("Command68", QStringLiteral("تغيير تم برنامه"), "settings");
    row("Command67", QStringLiteral(" تعريف نام کلينيک"), "settings");
    row("Command69", QStringLiteral("خروج"), "settings");
    row("Command45", QStringLiteral(" تم شماره 1"), "theme");
    row("Command44", QStringLiteral("تم شماره 2"), "theme");
    row("Command43", QStringLiteral("تم شماره 3"), "theme");
    row("Command42", QStringLiteral("تم شماره 4"), "theme");
    row("Command50", QStringLiteral(" تم شماره 5"), "theme");
    row("Command49", QStringLiteral("تم شماره 6"), "theme");
    row("Command48", QStringLiteral("تم شماره 7"), "theme");
    row("Command47", QStringLiteral("تم شماره 8"), "theme");
    row("Command41", QStringLiteral("تم شماره 9"), "theme");
    row("Command52", QStringLiteral("تم شماره 10 "), "theme");
    row("Command53", QStringLiteral("تم شماره 11"), "theme");
    row("Command46", QStringLiteral("خروج"), "theme");
    row("Command64", QStringLiteral("ذخيره "), "clinic");
    row("Command7", QStringLiteral("انصراف"), "clinic");
    row("SkinLabel4", QStringLiteral(" :نام"), "clinic");
    row("SkinLabel5", QStringLiteral(" :آدرس"), "clinic");
    row("CmdHelp.toolTip", QStringLiteral("براي مشاهده اين قسمت بايد به اينترنت کانکت شويد"));
    row("Picture1.toolTip", QStringLiteral("جهت ورود به سايت کليک کنيد"));
}

void Frm1Test::captionsAreTheProgramsOwn() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, panel);
    QVERIFY(loadMainWindow());
    openPanel(panel);
    const QStringList parts = name.split(QLatin1Char('.'));
    QWidget *target = control(parts.first().toLatin1().constData());
    QVERIFY(target);
    if (parts.size() > 1)
        QCOMPARE(target->toolTip(), caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(target))
        QCOMPARE(button->text(), caption);
    else
        QCOMPARE(qobject_cast<SkinLabel *>(target)->caption(), caption);
}

void Frm1Test::hintsFollowTheMouse_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    QTest::newRow("Command1") << "Command1"
                              << QStringLiteral(" شما بايد هر آزمودني را ابتدا ثبت نام کرده و سپس روي دکمه اجراي تست "
                                                "کليک کرده و کد آزمودني را وارد کنيد");
    QTest::newRow("Command2")
        << "Command2"
        << QStringLiteral(" جهت جواب دادن به سؤالها روي اين دکمه کليک کنيد و کد آزمودني مورد نظر را وارد کنيد ");
    QTest::newRow("Command3") << "Command3" << QStringLiteral(" جهت کليد گذاري روي اين دکمه کليک مي کنيد");
    QTest::newRow("Command4")
        << "Command4"
        << QStringLiteral(
               " درصورتيکه کد آزمودني را فراموش کرده ايد با کليک بر روي  اين قسمت مي توانيد آن را بدست بياوريد");
    QTest::newRow("Command9")
        << "Command9"
        << QStringLiteral(
               "با کليک بر روي اين دکمه شمامي توانيد:1- تم برنامه را عوض کنيد 2- نام و آدرس کلينيک را وارد کنيد");
}

void Frm1Test::hintsFollowTheMouse() {
    QFETCH(QString, button);
    QFETCH(QString, hint);
    QVERIFY(loadMainWindow());
    auto *hintLine = control<SkinLabel>("SkinLabel2");
    moveOver(control(button.toLatin1().constData()));
    QCOMPARE(hintLine->caption(), hint);
    QVERIFY(hintLine->isVisible());

    // The window's background clears and hides it.
    const QPoint background = twipsPoint(4000, 4500);
    QCOMPARE(m_window->childAt(background), nullptr);
    moveOver(m_window, background);
    QVERIFY(hintLine->caption().isEmpty());
    QVERIFY(!hintLine->isVisible());

    // So do the empty parts of the button bar.
    moveOver(control(button.toLatin1().constData()));
    QVERIFY(hintLine->isVisible());
    QWidget *bar = control("Frame7");
    QCOMPARE(bar->childAt(twipsPoint(100, 100)), nullptr);
    moveOver(bar, twipsPoint(100, 100));
    QVERIFY(hintLine->caption().isEmpty());
    QVERIFY(!hintLine->isVisible());
}

void Frm1Test::otherButtonsLeaveTheHint() {
    QVERIFY(loadMainWindow());
    auto *hintLine = control<SkinLabel>("SkinLabel2");
    moveOver(control("Command4"));
    for (const char *other : {"Command5", "Command51", "Command11", "Cmdupdate", "Command6"}) {
        moveOver(control(other));
        QVERIFY2(hintLine->isVisible(), other);
        QCOMPARE(hintLine->caption(),
                 QStringLiteral(
                     " درصورتيکه کد آزمودني را فراموش کرده ايد با کليک بر روي  اين قسمت مي توانيد آن را بدست بياوريد"));
    }
}

void Frm1Test::panelClosingStep_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<bool>("answerRow");
    QTest::addColumn<bool>("dropsNewRow");
    QTest::addColumn<bool>("settingsPanelAfter");
    QTest::newRow("settings") << "Command9" << false << true << true;
    QTest::newRow("settings panel exit") << "Command69" << false << true << false;
    QTest::newRow("change theme") << "Command68" << false << true << true;
    QTest::newRow("clinic name") << "Command67" << false << true << true;
    QTest::newRow("database") << "CmdDatabase" << false << true << true;
    QTest::newRow("about us") << "Command11" << false << true << false;
    QTest::newRow("examinee codes") << "Command4" << true << true << false;
    QTest::newRow("examinee codes, none registered") << "Command4" << false << false << true;
    QTest::newRow("psychometric properties") << "Command51" << false << false << true;
    QTest::newRow("update") << "Cmdupdate" << false << false << true;
    QTest::newRow("help") << "CmdHelp" << false << false << true;
    QTest::newRow("site picture") << "Picture1" << false << false << true;
}

// An examinee row added on the registration panel and not saved is dropped by the panel-closing
// step; the buttons that do not run it leave both the panels and the row alone.
void Frm1Test::panelClosingStep() {
    QFETCH(QString, element);
    QFETCH(bool, answerRow);
    QFETCH(bool, dropsNewRow);
    QFETCH(bool, settingsPanelAfter);
    if (answerRow) {
        DataSource answers(QStringLiteral("Answer"));
        answers.addNew();
        answers.setValue(QStringLiteral("Code"), QStringLiteral("A1"));
        QVERIFY(answers.save());
    }
    QVERIFY(loadMainWindow());
    click("Command9");
    QVERIFY(control("Frame8")->isVisible());

    auto *examinees = m_window->findChild<DataSource *>(QStringLiteral("Adodc2"));
    examinees->addNew();
    examinees->setValue(QStringLiteral("Code"), QStringLiteral("K'1"));
    QCOMPARE(examinees->recordCount(), 1);

    // A window the element opens modal (the update window) is closed again as soon as it is up.
    QTimer closeModal;
    connect(&closeModal, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    closeModal.start(20);
    click(element.toLatin1().constData());
    closeModal.stop();
    QCOMPARE(control("Frame8")->isVisible(), settingsPanelAfter);
    QCOMPARE(examinees->recordCount(), dropsNewRow ? 0 : 1);
    QCOMPARE(examinees->isNewRow(), !dropsNewRow);
    // A save now stores the row only where it was kept.
    examinees->save();
    QCOMPARE(DataSource(QStringLiteral("IDE")).recordCount(), dropsNewRow ? 0 : 1);
}

void Frm1Test::settingsAndThemePanels() {
    QVERIFY(loadMainWindow());
    QWidget *settings = control("Frame8");
    QWidget *themes = control("Frame6");
    QWidget *clinic = control("Frame9");
    click("Command9");
    QVERIFY(settings->isVisible() && !themes->isVisible() && !clinic->isVisible());
    click("Command68");
    QVERIFY(settings->isVisible() && themes->isVisible());
    click("Command46"); // hides the theme panel alone
    QVERIFY(settings->isVisible() && !themes->isVisible());
    click("Command68");
    click("Command67"); // the clinic panel takes the theme panel's place
    QVERIFY(settings->isVisible() && !themes->isVisible() && clinic->isVisible());
    click("Command69");
    QVERIFY(!settings->isVisible() && !themes->isVisible() && !clinic->isVisible());
}

void Frm1Test::choosingAThemeStoresItAndComesBackInTheNewLook_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("th");
    QTest::addColumn<QString>("skinFile");
    QTest::newRow("theme 1") << "Command45"
                             << "1"
                             << "chizh.skn";
    QTest::newRow("theme 8") << "Command47"
                             << "8"
                             << "metallic.skn";
    QTest::newRow("theme 10") << "Command52"
                              << "10"
                              << "winaqua.skn";
    QTest::newRow("theme 11") << "Command53"
                              << "11"
                              << "office2007.skn";
}

void Frm1Test::choosingAThemeStoresItAndComesBackInTheNewLook() {
    QFETCH(QString, button);
    QFETCH(QString, th);
    QFETCH(QString, skinFile);
    QVERIFY(loadMainWindow());
    const QPointer<Frm1> first = m_window;
    click("Command9");
    click("Command68");
    click(button.toLatin1().constData());
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("TH")), th);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QVERIFY(topLevel("Frmskin"));
    QCOMPARE(topLevel("Frm1"), nullptr);

    QVERIFY(confirmThemeChange());
    QVERIFY(m_window != first);
    QCOMPARE(m_window->findChild<SkinObject *>()->loadedFile(), skinFile);
    QCOMPARE(control<QLineEdit>("Text3")->text(), QStringLiteral("2"));
    QCOMPARE(topLevel("Frmskin"), nullptr);
}

void Frm1Test::clinicNameFollowsTypingAndSaveStoresIt() {
    QVERIFY(loadMainWindow());
    click("Command9");
    click("Command67");
    auto *nameBox = control<QLineEdit>("Text2");
    auto *label = control<SkinLabel>("SkinLabel1");
    QCOMPARE(nameBox->text(), clinicName);
    const QString typed = QStringLiteral("درمانگاه آرامش");
    nameBox->setFocus();
    nameBox->selectAll();
    QTest::keyClick(nameBox, Qt::Key_Backspace);
    QCOMPARE(label->caption(), QString());
    QString soFar;
    for (const QChar ch : typed) {
        QTest::sendKeyEvent(QTest::Click, nameBox, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        soFar += ch;
        QCOMPARE(label->caption(), soFar);
    }
    typeInto(control<QLineEdit>("Text14"), QStringLiteral("تهران، خيابان 'بهار'"));
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("Name")), clinicName); // nothing stored yet

    click("Command64");
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("Name")), typed);
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("Adress")), QStringLiteral("تهران، خيابان 'بهار'"));
    QVERIFY(!control("Frame9")->isVisible());
    QVERIFY(control("Frame8")->isVisible());
    QCOMPARE(label->caption(), typed);
}

void Frm1Test::clinicNameFollowsTheNameField_data() {
    QTest::addColumn<bool>("panelOpenedFirst");
    QTest::newRow("clinic panel not opened yet") << false;
    QTest::newRow("clinic panel opened and closed") << true;
}

// The clinic-name label shows the name field of the settings row whenever the name box would be
// filled from it (a re-read, a change of the field), whether or not the clinic panel has been
// opened; opened afterwards, the panel's box shows the same name and the label follows typing.
void Frm1Test::clinicNameFollowsTheNameField() {
    QFETCH(bool, panelOpenedFirst);
    QVERIFY(loadMainWindow());
    auto *label = control<SkinLabel>("SkinLabel1");
    auto *settings = m_window->findChild<DataSource *>(QStringLiteral("Adodc1"));
    QVERIFY(settings);
    if (panelOpenedFirst) {
        openPanel(QStringLiteral("clinic"));
        click("Command69");
    }
    QCOMPARE(label->caption(), clinicName);

    // Stored through another data source: seen here only after a re-read.
    store(QStringLiteral("Name"), QStringLiteral("درمانگاه نور"));
    QCOMPARE(label->caption(), clinicName);
    settings->refresh();
    QCOMPARE(label->caption(), QStringLiteral("درمانگاه نور"));
    settings->setValue(QStringLiteral("Name"), QStringLiteral("مرکز مشاوره"));
    QCOMPARE(label->caption(), QStringLiteral("مرکز مشاوره"));

    openPanel(QStringLiteral("clinic"));
    auto *nameBox = control<QLineEdit>("Text2");
    QCOMPARE(nameBox->text(), QStringLiteral("مرکز مشاوره"));
    QCOMPARE(label->caption(), QStringLiteral("مرکز مشاوره"));
    typeInto(nameBox, QStringLiteral("مهر"));
    QCOMPARE(label->caption(), QStringLiteral("مهر"));
    QCOMPARE(settings->value(QStringLiteral("Name")), QStringLiteral("مهر"));
    // A re-read drops what was typed, in the box and in the label alike.
    settings->refresh();
    QCOMPARE(nameBox->text(), QStringLiteral("درمانگاه نور"));
    QCOMPARE(label->caption(), QStringLiteral("درمانگاه نور"));
}

void Frm1Test::cancelledNameIsDroppedByAThemeChange() {
    QVERIFY(loadMainWindow());
    click("Command9");
    click("Command67");
    typeInto(control<QLineEdit>("Text2"), QStringLiteral("نام تازه"));
    click("Command7");
    QVERIFY(!control("Frame9")->isVisible());
    QVERIFY(control("Frame8")->isVisible());
    QCOMPARE(control<SkinLabel>("SkinLabel1")->caption(), QStringLiteral("نام تازه"));
    // Reopened, the panel still shows what was typed.
    click("Command67");
    QCOMPARE(control<QLineEdit>("Text2")->text(), QStringLiteral("نام تازه"));

    click("Command68");
    click("Command47");
    QVERIFY(confirmThemeChange());
    QCOMPARE(control<SkinLabel>("SkinLabel1")->caption(), clinicName);
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("Name")), clinicName);
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("TH")), QStringLiteral("8"));
}

void Frm1Test::emptyClinicSaveStoresEmptyTexts() {
    store(QStringLiteral("Adress"), QStringLiteral("نشاني"));
    QVERIFY(loadMainWindow());
    click("Command9");
    click("Command67");
    typeInto(control<QLineEdit>("Text2"), QString());
    typeInto(control<QLineEdit>("Text14"), QString());
    click("Command64");
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("Name")), QString());
    QCOMPARE(stored(QStringLiteral("Theme"), QStringLiteral("Adress")), QString());
    QCOMPARE(control<SkinLabel>("SkinLabel1")->caption(), QString());
}

// Without its settings row nothing can be stored: the user is told, and the main window stays,
// still leaving the program when it is closed.
void Frm1Test::settingsThatCannotBeStoredAreReported() {
    DataSource settings(QStringLiteral("Theme"));
    QVERIFY(settings.deleteCurrent());
    QVERIFY(loadMainWindow());
    click("Command9");
    click("Command68");
    SeenBox seen;
    answerNextMessageBox(&seen);
    click("Command47");
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("Error"));
    QVERIFY(!seen.text.isEmpty());
    QCOMPARE(topLevel("Frmskin"), nullptr);
    QVERIFY(m_window && m_window->isVisible());
    QCOMPARE(control<QLineEdit>("Text3")->text(), QStringLiteral("2"));

    click("Command67");
    seen = SeenBox();
    answerNextMessageBox(&seen);
    click("Command64");
    QVERIFY(seen.seen);
    QVERIFY(control("Frame9")->isVisible());
}

void Frm1Test::leavingHandsOverToTheExitDialog_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("leaveMode");
    QTest::addColumn<bool>("asks");
    QTest::newRow("close box, leave mode 2") << "close"
                                             << "2" << true;
    QTest::newRow("exit button") << "Command6"
                                 << "2" << true;
    QTest::newRow("close box, leave mode 1") << "close"
                                             << "1" << false;
}

// Leaving in leave mode 2 never ends the program by itself: the exit dialog takes the window's
// place, and cancelling it brings a freshly loaded main window back.
void Frm1Test::leavingHandsOverToTheExitDialog() {
    QFETCH(QString, how);
    QFETCH(QString, leaveMode);
    QFETCH(bool, asks);
    QVERIFY(loadMainWindow());
    control<QLineEdit>("Text3")->setText(leaveMode);
    const bool ended = endsProgram([this, how]() {
        if (how == QLatin1String("close"))
            m_window->close();
        else
            click(how.toLatin1().constData());
    });
    QVERIFY(!ended);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_window.isNull());
    QWidget *dialog = topLevel("exitpro");
    QCOMPARE(dialog != nullptr, asks);
    if (!asks)
        return;
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->pos(), twipsPoint(5000, 1500));
    int onScreen = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        onScreen += widget->isVisible() ? 1 : 0;
    QCOMPARE(onScreen, 1);

    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(topLevel("exitpro"), nullptr);
    m_window = qobject_cast<Frm1 *>(topLevel("Frm1"));
    QVERIFY(m_window && m_window->isVisible());
    QCOMPARE(control<QLineEdit>("Text3")->text(), QStringLiteral("2"));
}

void Frm1Test::webPagesOpenAtTheVendorsAddresses() {
    QVERIFY(loadMainWindow());
    click("CmdHelp");
    QCOMPARE(m_opened, QList<QUrl>{QUrl(Hosts::vendorSite() + "/software/software-settings.html")});
    m_opened.clear();
    const QList<QUrl> sitePages{QUrl(Hosts::vendorSite() + "/"), QUrl(Hosts::shopSite() + "/")};
    click("Picture1");
    QCOMPARE(m_opened, sitePages);
    // The banner is a link for screen readers too, named by its address, and opens by their press
    // and by the keyboard.
    QWidget *banner = control("Picture1");
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(banner);
    QVERIFY(link && link->actionInterface());
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), Hosts::contactWeb());
    m_opened.clear();
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_opened, sitePages);
    m_opened.clear();
    banner->setFocus(Qt::TabFocusReason);
    QVERIFY(banner->hasFocus());
    QTest::keyClick(banner, Qt::Key_Return);
    QCOMPARE(m_opened, sitePages);
}

// The calculator is found on the PATH and started without waiting; a system without one says so.
void Frm1Test::calculatorStartsOrIsReportedMissing() {
#ifdef Q_OS_WIN
    QSKIP("Windows starts calc.exe");
#endif
    QTemporaryDir bin;
    const QString marker = bin.filePath(QStringLiteral("started"));
    QFile calculator(bin.filePath(QStringLiteral("galculator")));
    QVERIFY(calculator.open(QIODevice::WriteOnly));
    calculator.write(QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(marker).toUtf8());
    calculator.close();
    calculator.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    const auto restorePath = qScopeGuard([path]() { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(bin.path()));

    QVERIFY(loadMainWindow());
    click("Command9");
    click("Command5");
    QVERIFY(!control("Frame8")->isVisible());
    QTRY_VERIFY(QFile::exists(marker));

    QVERIFY(calculator.remove());
    SeenBox seen;
    answerNextMessageBox(&seen);
    click("Command5");
    QTRY_VERIFY(seen.seen);
    QCOMPARE(seen.text, QStringLiteral("ماشين حساب روي اين سيستم پيدا نشد"));
    QCOMPARE(seen.title, QStringLiteral("Kelto"));
}

QTEST_MAIN(Frm1Test)
#include "Frm1Test.moc"
