#include "app/Frm1.h"

#include "app/ClinicPanel.h"
#include "app/DatabasePanel.h"
#include "app/DesktopCalculator.h"
#include "app/Frmskin.h"
#include "app/HelpIcon.h"
#include "app/PanelControls.h"
#include "app/SettingsPanel.h"
#include "app/SitePicture.h"
#include "app/ThemePanel.h"
#include "app/WebPageOpener.h"
#include "backup/exitpro.h"
#include "common/AppVersion.h"
#include "common/Hosts.h"
#include "common/TextValue.h"
#include "common/Twips.h"
#include "examinees/FrmCode.h"
#include "examinees/RegistrationPanel.h"
#include "info/About.h"
#include "info/Frm2.h"
#include "scoring/FrmkLID.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "testrun/TestRun.h"
#include "update/FrmUpdate.h"
#include "widgets/FieldBinding.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"
#include "widgets/WaitingMessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

namespace {
// Every navigation button is 1785 x 555 twips at left 240 of the button bar.
constexpr int navigationLeft = 240;
constexpr int navigationWidth = 1785;
constexpr int navigationHeight = 555;

const QString leaveForAnotherWindow = QStringLiteral("1");
const QString leaveTheProgram = QStringLiteral("2");
} // namespace

Frm1::Frm1(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Frm1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kelto-40"));
    setFixedSize(twipsSize(10800, 7965));
    // Moving over the window's background clears the hint line.
    setMouseTracking(true);
    m_skin = new SkinObject(this);

    // What needs no fonts comes first, while the font database is still being filled on another
    // thread (see KeltoStart): the data sources, the stored theme's skin (the field the theme box
    // shows once bound; the controls are then made under the skin rather than each being told of
    // the new style afterwards) and the help icon. The first text laid out waits for the fonts.
    createDataSources();
    applyTheme(m_skin, this, Adodc1->value(Schema::theme));
    createControls(HelpIcon::make());
    bindClinicFields();

    // Start-up: the title and version, the place on the screen, leave mode 2.
    SkinLabel9->setCaption(appTitleAndVersion());
    move(twipsPoint(2340, 765));
    setLeaveMode(2);
    // The keyboard starts on the first step of an examinee's road, not on the help button.
    Command1->setFocus();
}

void Frm1::createDataSources() {
    Adodc1 = new DataSource(Schema::settingsTable, this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Adodc2 = new DataSource(Schema::examineeTable, this);
    Adodc2->setObjectName(QStringLiteral("Adodc2"));
    Adodc3 = new DataSource(Schema::answerTable, this);
    Adodc3->setObjectName(QStringLiteral("Adodc3"));
    Adodc4 = new DataSource(Schema::answerTable, this);
    Adodc4->setObjectName(QStringLiteral("Adodc4"));
    Adodc5 = new DataSource(Schema::examineeTable, this);
    Adodc5->setObjectName(QStringLiteral("Adodc5"));
}

void Frm1::bindClinicFields() {
    FieldBinding::bind(Text1, Adodc1, Schema::theme);
    // The clinic-name label follows the name box (on the clinic panel) at every change, the fill
    // at load included. Until the panel is first opened the box is not made; the label then shows
    // the name field itself, at the same moments the box would be filled from it.
    FieldBinding::bind(SkinLabel1, Adodc1, Schema::clinicName);
}

void Frm1::createControls(const QIcon &helpIcon) {
    CmdHelp = new QToolButton(this);
    CmdHelp->setObjectName(QStringLiteral("CmdHelp"));
    CmdHelp->setGeometry(twipsRect(45, 45, 855, 855));
    CmdHelp->setText(QStringLiteral("Help"));
    CmdHelp->setToolTip(QStringLiteral("براي مشاهده اين قسمت بايد به اينترنت کانکت شويد"));
    CmdHelp->setIcon(helpIcon);
    CmdHelp->setIconSize(twipsSize(480, 480));
    CmdHelp->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    CmdHelp->setAutoRaise(true);
    connect(CmdHelp, &QToolButton::clicked, this, &Frm1::openHelpPage);

    SkinLabel9 = addLabel(this, "SkinLabel9", 45, 945, 1965, 285);
    QFont titleFont = SkinLabel9->font();
    titleFont.setBold(true);
    SkinLabel9->setFont(titleFont);

    SkinLabel1 = addLabel(this, "SkinLabel1", 1740, 120, 5955, 495);
    QFont clinicFont = SkinLabel1->font();
    clinicFont.setBold(true);
    clinicFont.setPointSizeF(clinicFont.pointSizeF() * 1.6);
    SkinLabel1->setFont(clinicFont);
    SkinLabel1->setAlignment(Qt::AlignCenter);

    Picture1 = new SitePicture(Hosts::contactWeb(), this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(840, 6420, 6270, 690));
    Picture1->setToolTip(QStringLiteral("جهت ورود به سايت کليک کنيد"));
    connect(Picture1, &SitePicture::clicked, this, &Frm1::openSitePages);

    SkinLabel2 = addLabel(this, "SkinLabel2", 300, 7200, 9975, 615);
    SkinLabel2->setAlignment(Qt::AlignCenter);

    createButtonBar();
    // The panels start hidden; the controls on them are made when a panel is first opened, so the
    // first paint does not wait for controls it does not show.
    Frame10 = addPanel("Frame10", 1500, 780, 6675, 2895); // registration
    Frame8 = addPanel("Frame8", 6060, 3780, 2175, 2640);  // settings, a row taller for the database button
    Frame6 = addPanel("Frame6", 3420, 480, 2595, 7440);   // theme
    Frame9 = addPanel("Frame9", 1620, 840, 6075, 2295);   // clinic
    FrameDatabase = addPanel("FrameDatabase", 1620, 840, 6075, 2895);
    // The hidden boxes last: a box lays out its text when made, the first text of the window, which
    // waits for the font database; the controls above need no fonts until they are shown.
    Text1 = addHiddenBox("Text1");
    Text3 = addHiddenBox("Text3");
}

void Frm1::createButtonBar() {
    Frame7 = new QFrame(this);
    Frame7->setObjectName(QStringLiteral("Frame7"));
    Frame7->setFrameShape(QFrame::StyledPanel);
    Frame7->setGeometry(twipsRect(8280, 540, 2235, 6645));
    // Moving over the bar's empty parts clears the hint line, like the window's background.
    Frame7->setMouseTracking(true);
    Frame7->setAttribute(Qt::WA_NoMousePropagation);
    Frame7->installEventFilter(this);

    auto navigation = [this](const char *name, const QString &caption, int top, void (Frm1::*action)()) {
        QPushButton *button = addButton(Frame7, name, caption, navigationLeft, top, navigationWidth, navigationHeight);
        // Each button reports moves over it itself; they never reach the bar behind it.
        button->setMouseTracking(true);
        button->setAttribute(Qt::WA_NoMousePropagation);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, action);
        return button;
    };
    Command1 = navigation("Command1", QStringLiteral("ثبت نام آزمودني"), 180, &Frm1::openRegistrationPanel);
    Command2 = navigation("Command2", QStringLiteral("اجراي تست"), 780, &Frm1::runTest);
    Command3 = navigation("Command3", QStringLiteral("کليد گذاري"), 1350, &Frm1::openScoring);
    Command4 = navigation("Command4", QStringLiteral("نمايش کد آزمودني"), 1980, &Frm1::showExamineeCodes);
    Command5 = navigation("Command5", QStringLiteral("ماشين حساب"), 2580, &Frm1::startCalculator);
    Command9 = navigation("Command9", QStringLiteral("تنظيمات"), 3180, &Frm1::openSettingsPanel);
    Command51 = navigation("Command51", QStringLiteral("ويژگي روانسنجي"), 3780, &Frm1::openPsychometricPages);
    Command11 = navigation("Command11", QStringLiteral("درباره ما"), 4400, &Frm1::openAboutBox);
    Cmdupdate = navigation("Cmdupdate", QStringLiteral("بروز رساني"), 4995, &Frm1::openUpdateCheck);
    Command6 = navigation("Command6", QStringLiteral("خروج"), 5940, &Frm1::leaveProgram);

    // The hints keep their spaces, the double space of the fourth one included.
    m_hints.insert(
        Command1,
        QStringLiteral(
            " شما بايد هر آزمودني را ابتدا ثبت نام کرده و سپس روي دکمه اجراي تست کليک کرده و کد آزمودني را وارد کنيد"));
    m_hints.insert(
        Command2,
        QStringLiteral(" جهت جواب دادن به سؤالها روي اين دکمه کليک کنيد و کد آزمودني مورد نظر را وارد کنيد "));
    m_hints.insert(Command3, QStringLiteral(" جهت کليد گذاري روي اين دکمه کليک مي کنيد"));
    m_hints.insert(
        Command4,
        QStringLiteral(
            " درصورتيکه کد آزمودني را فراموش کرده ايد با کليک بر روي  اين قسمت مي توانيد آن را بدست بياوريد"));
    m_hints.insert(
        Command9,
        QStringLiteral(
            "با کليک بر روي اين دکمه شمامي توانيد:1- تم برنامه را عوض کنيد 2- نام و آدرس کلينيک را وارد کنيد"));
}

QLineEdit *Frm1::addHiddenBox(const char *name) {
    auto *box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->hide();
    return box;
}

QFrame *Frm1::addPanel(const char *name, int left, int top, int width, int height) {
    auto *panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(twipsRect(left, top, width, height));
    panel->hide();
    return panel;
}

void Frm1::setLeaveMode(int mode) { Text3->setText(mode == 1 ? leaveForAnotherWindow : leaveTheProgram); }

void Frm1::closePanels() {
    Frame6->hide();
    Frame10->hide();
    Frame8->hide();
    Frame9->hide();
    FrameDatabase->hide();
    // A current row means at least one row, without counting the examinees.
    if (!Adodc2->noCurrentRow())
        Adodc2->refresh();
}

// Unloading: by the exit button, the close box, a theme change or the scoring button. It is never
// cancelled.
void Frm1::closeEvent(QCloseEvent *event) {
    Adodc2->refresh();
    if (textValue(Text3->text()) != 1) {
        closePanels();
        Adodc2->refresh();
        leaveToExitDialog();
    }
    event->accept();
}

void Frm1::leaveToExitDialog() { exitpro::showDialog()->move(twipsPoint(5000, 1500)); }

void Frm1::mouseMoveEvent(QMouseEvent *event) {
    clearHint();
    QWidget::mouseMoveEvent(event);
}

bool Frm1::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Frame7) {
            clearHint();
        } else if (auto *button = qobject_cast<QAbstractButton *>(watched)) {
            const auto hint = m_hints.constFind(button);
            if (hint != m_hints.constEnd())
                showHint(*hint);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Frm1::showHint(const QString &text) {
    SkinLabel2->setCaption(text);
    SkinLabel2->show();
}

void Frm1::clearHint() {
    SkinLabel2->setCaption(QString());
    SkinLabel2->hide();
}

void Frm1::openRegistrationPanel() {
    closePanels();
    if (!m_registration)
        m_registration = new RegistrationPanel(Frame10, {Adodc2, Adodc3, Adodc5, Adodc4}, [this]() { closePanels(); });
    showPanel(Frame10);
    m_registration->begin();
}

void Frm1::runTest() {
    // No answer row at all: no examinee is registered yet (a current row is known without counting).
    if (Adodc3->noCurrentRow())
        return;
    closePanels();
    TestRun::open(this);
}

// The scoring window takes this window's place: this one closes without the exit dialog.
void Frm1::openScoring() {
    if (Adodc3->recordCount() < 1)
        return;
    closePanels();
    setLeaveMode(1);
    FrmkLID::showNew();
    close();
}

void Frm1::showExamineeCodes() {
    if (Adodc3->recordCount() < 1)
        return;
    closePanels();
    FrmCode(this).exec();
}

void Frm1::startCalculator() {
    closePanels();
    if (!DesktopCalculator::start())
        WaitingMessageBox::show(this, QStringLiteral("ماشين حساب روي اين سيستم پيدا نشد"), appTitle(),
                                QMessageBox::Information);
}

void Frm1::openSettingsPanel() {
    closePanels();
    if (!m_settings) {
        m_settings = new SettingsPanel(Frame8);
        connect(m_settings, &SettingsPanel::themeRequested, this, &Frm1::openThemePanel);
        connect(m_settings, &SettingsPanel::clinicRequested, this, &Frm1::openClinicPanel);
        connect(m_settings, &SettingsPanel::databaseRequested, this, &Frm1::openDatabasePanel);
        connect(m_settings, &SettingsPanel::closeRequested, this, &Frm1::closePanels);
    }
    showPanel(Frame8);
}

void Frm1::showPanel(QFrame *panel) {
    panel->show();
    panel->raise();
}

// The pages window is wired here, modal; open panels stay as they are.
// Modal; open panels stay as they are.
void Frm1::openPsychometricPages() { Frm2(this).exec(); }

void Frm1::openAboutBox() {
    closePanels();
    About(this).exec();
}

// Modal; open panels stay as they are.
void Frm1::openUpdateCheck() { FrmUpdate(this).exec(); }

void Frm1::leaveProgram() {
    closePanels();
    exitpro::showDialog()->move(twipsPoint(9000, 7500));
    close();
}

void Frm1::openHelpPage() { WebPageOpener::open(QUrl(Hosts::helpPage())); }

void Frm1::openSitePages() {
    WebPageOpener::open(QUrl(Hosts::vendorSite() + QStringLiteral("/")));
    WebPageOpener::open(QUrl(Hosts::shopSite() + QStringLiteral("/")));
}

// The theme, clinic and database panels open beside the settings panel, which opens first as if its own
// button had been pressed.
void Frm1::openThemePanel() {
    openSettingsPanel();
    if (!m_themes) {
        m_themes = new ThemePanel(Frame6);
        connect(m_themes, &ThemePanel::themeChosen, this, &Frm1::chooseTheme);
    }
    showPanel(Frame6);
}

void Frm1::openClinicPanel() {
    openSettingsPanel();
    if (!m_clinic)
        m_clinic = new ClinicPanel(Frame9, Adodc1, SkinLabel1, [this]() { return saveSettings(); });
    showPanel(Frame9);
}

void Frm1::openDatabasePanel() {
    openSettingsPanel();
    if (!m_database)
        m_database = new DatabasePanel(FrameDatabase);
    showPanel(FrameDatabase);
    m_database->begin();
}

void Frm1::chooseTheme(int themeNumber) {
    setLeaveMode(1);
    Adodc1->refresh();
    Text1->setText(QString::number(themeNumber));
    if (!saveSettings()) {
        // The window stays: leaving it must still leave the program.
        setLeaveMode(2);
        return;
    }
    Adodc1->refresh();
    Frmskin::showNew();
    close();
}

bool Frm1::saveSettings() {
    if (Adodc1->save())
        return true;
    WaitingMessageBox::show(this, Adodc1->lastError(), QStringLiteral("Error"), QMessageBox::Warning);
    return false;
}
