#include "update/FrmUpdate.h"

#include "common/AppVersion.h"
#include "common/Twips.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "update/ProgramHandOver.h"
#include "widgets/FieldBinding.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"
#include "widgets/WaitingMessageBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char *const checkCaption = "بررسي آپديت جديد";
const char *const exitCaption = "خروج";
const char *const instruction =
    "جهت به روز رساني نرم افزار ابتدا اتصال به اينترنت را چک کنيد سپس روي دکمه آپديت کليک کنيد";
const char *const upToDateMessage =
    "شما آخرين ورژن نرم افزار را داريد و يا اينکه ارتباط شما با اينترنت برقرار نمي باشد ";
// Shown when a newer release exists but the updater is missing from the program's folder or will
// not start: the program then stays open instead of ending with nothing to carry on the update.
const char *const updaterMissingMessage = "برنامه بروز رساني (Keltoupdate) در پوشه نرم افزار پيدا نشد و يا اجرا نشد";

QString checkingCaption() { return QStringLiteral("Please wait..."); }

} // namespace

FrmUpdate::FrmUpdate(QWidget *parent)
    : QDialog(parent), m_programFolder(QCoreApplication::applicationDirPath()),
      m_endProgram(&ProgramHandOver::endProgram) {
    setObjectName(QStringLiteral("FrmUpdate"));
    setModal(true);
    setLayoutDirection(Qt::RightToLeft);
    buildControls();

    setWindowTitle(appTitleAndVersion());
    Label1->setCaption(appTitleAndVersion());
    move(twipsPoint(4085, 2745));
    applyStoredTheme();
}

VersionCheck &FrmUpdate::versionCheck() { return m_versionCheck; }

void FrmUpdate::setProgramFolder(const QString &folder) { m_programFolder = folder; }

void FrmUpdate::setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

void FrmUpdate::buildControls() {
    setFixedSize(twipsSize(6135, 2880));

    Label1 = new SkinLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(240, 240, 5655, 495));
    Label1->setAlignment(Qt::AlignCenter);
    QFont titleFont = Label1->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    Label1->setFont(titleFont);

    SkinLabel1 = new SkinLabel(this);
    SkinLabel1->setObjectName(QStringLiteral("SkinLabel1"));
    SkinLabel1->setGeometry(twipsRect(240, 840, 5655, 975));
    SkinLabel1->setAlignment(Qt::AlignCenter);
    SkinLabel1->setWordWrap(true);
    SkinLabel1->setCaption(QString::fromUtf8(instruction));

    // Right to left: the check button stands on the right, the exit button on the left.
    Command1 = new QPushButton(QString::fromUtf8(checkCaption), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(3120, 2040, 2775, 555));
    connect(Command1, &QPushButton::clicked, this, &FrmUpdate::checkForUpdate);

    Command2 = new QPushButton(QString::fromUtf8(exitCaption), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(240, 2040, 1575, 555));
    connect(Command2, &QPushButton::clicked, this, &FrmUpdate::close);

    Adodc1 = new DataSource(Schema::settingsTable, this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->hide();
    FieldBinding::bind(Text2, Adodc1, Schema::theme);

    Skin1 = new SkinObject(this);
    Skin1->setObjectName(QStringLiteral("Skin1"));
}

void FrmUpdate::applyStoredTheme() { applyTheme(Skin1, this, Text2->text()); }

void FrmUpdate::checkForUpdate() {
    enterChecking();
    const QString serverText = m_versionCheck.fetchVersionText();
    if (isNewerVersion(serverText)) {
        handOverToUpdater();
        return;
    }
    WaitingMessageBox::show(this, QString::fromUtf8(upToDateMessage), appTitle(), QMessageBox::Information);
    leaveChecking();
}

void FrmUpdate::enterChecking() {
    Command1->setEnabled(false);
    setWindowTitle(checkingCaption());
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void FrmUpdate::leaveChecking() {
    setWindowTitle(appTitleAndVersion());
    QApplication::restoreOverrideCursor();
    Command1->setEnabled(true);
}

void FrmUpdate::handOverToUpdater() {
    if (!ProgramHandOver::startUpdater(m_programFolder)) {
        WaitingMessageBox::show(this, QString::fromUtf8(updaterMissingMessage), appTitle(), QMessageBox::Warning);
        leaveChecking();
        return;
    }
    close();
    QApplication::restoreOverrideCursor();
    m_endProgram();
}
