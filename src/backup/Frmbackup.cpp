#include "backup/Frmbackup.h"

#include "backup/BackupFileName.h"
#include "backup/CopyRoutine.h"
#include "backup/SealedBackup.h"
#include "calendar/PersianCalendar.h"
#include "common/AppVersion.h"
#include "common/Twips.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreMessages.h"
#include "widgets/FieldBinding.h"
#include "widgets/InputBox.h"
#include "widgets/Navigation.h"
#include "widgets/SkinObject.h"
#include "widgets/WaitingMessageBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
QString errorTitle() { return QStringLiteral("خطا"); }
QString backupFailed() { return QStringLiteral("عدم موفقيت در تهيه نسخه پشتيبان"); }
QString restoreFailed() { return QStringLiteral("عدم موفقيت در بازيابي اطلاعات "); }
QString passphraseTitle() { return QStringLiteral("گذرواژه"); }
} // namespace

Frmbackup::Frmbackup(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Frmbackup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Back up ...  Reastor"));
    setFixedSize(twipsSize(6600, 3300));
    move(twipsPoint(2340, 765));

    m_skin = new SkinObject(this);
    Adodc1 = new DataSource(Schema::settingsTable, this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    createControls();
    FieldBinding::bind(m_theme, Adodc1, Schema::theme);
    applyTheme(m_skin, this, m_theme->text());

    showClock();
    Label1->setText(PersianDateText(QDateTime::currentDateTime(), 4));
    Label3->setText(Label1->text());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Frmbackup::showClock);
    Timer1->start();
}

Frmbackup *Frmbackup::showNew() {
    auto *window = new Frmbackup;
    window->show();
    return window;
}

void Frmbackup::createControls() {
    m_theme = new QLineEdit(this);
    m_theme->setObjectName(QStringLiteral("themeNumber"));
    m_theme->hide();

    Label1 = addLabel("Label1", 3600, 240, 2760, Qt::AlignRight);
    Label2 = addLabel("Label2", 240, 240, 1500, Qt::AlignLeft);
    Label3 = addLabel("Label3", 1800, 240, 1740, Qt::AlignCenter);
    Label3->hide();

    Text1 = addPathBox("Text1", 960);
    Text2 = addPathBox("Text2", 1680);
    b1 = addButton("b1", QStringLiteral("---"), 1500, 960, 480, 405);
    b2 = addButton("b2", QStringLiteral("---"), 1500, 1680, 480, 405);
    VisualButtonEx2 = addButton("VisualButtonEx2", QStringLiteral("BACKUP"), 240, 960, 1200, 405);
    VisualButtonEx3 = addButton("VisualButtonEx3", QStringLiteral("REASTOR"), 240, 1680, 1200, 405);
    Command1 = addButton("Command1", QStringLiteral("خروج"), 2700, 2520, 1200, 465);
    SealedCheck = new QCheckBox(QStringLiteral("رمزگذاري با گذرواژه"), this);
    SealedCheck->setObjectName(QStringLiteral("SealedCheck"));
    SealedCheck->setGeometry(twipsRect(2040, 2100, 4320, 330));
    // A sealed backup's path ends in its own suffix; unticked, a sealed suffix goes back to the plain one.
    connect(SealedCheck, &QCheckBox::toggled, this, [this](bool sealed) {
        if (sealed ? !Text1->text().isEmpty() : SealedBackup::isSealedName(Text1->text()))
            Text1->setText(BackupFileName::withSuffix(Text1->text(), sealed));
    });

    connect(b1, &QPushButton::clicked, this, &Frmbackup::chooseBackupFile);
    connect(b2, &QPushButton::clicked, this, &Frmbackup::chooseRestoreFile);
    connect(VisualButtonEx2, &QPushButton::clicked, this, &Frmbackup::backUp);
    connect(VisualButtonEx3, &QPushButton::clicked, this, &Frmbackup::restore);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    // A path box has no label: it is known by the action of its row.
    Text1->setAccessibleName(VisualButtonEx2->text());
    Text2->setAccessibleName(VisualButtonEx3->text());
}

QPushButton *Frmbackup::addButton(const char *name, const QString &caption, int left, int top, int width, int height) {
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twipsRect(left, top, width, height));
    return button;
}

QLineEdit *Frmbackup::addPathBox(const char *name, int top) {
    auto *box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(twipsRect(2040, top, 4320, 405));
    // A path reads left to right inside the right-to-left window.
    box->setLayoutDirection(Qt::LeftToRight);
    return box;
}

QLabel *Frmbackup::addLabel(const char *name, int left, int top, int width, Qt::Alignment alignment) {
    auto *label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(twipsRect(left, top, width, 420));
    label->setAlignment(alignment | Qt::AlignVCenter);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

void Frmbackup::showClock() { Label2->setText(BackupFileName::clockText(QTime::currentTime())); }

QString Frmbackup::backupFolder() {
    QDir().mkpath(BackupFileName::folder());
    return QFileInfo(BackupFileName::folder()).absoluteFilePath();
}

QString Frmbackup::askForFile(bool saving, const QString &proposedName) {
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The replacement question comes when the backup is made.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const bool sealed = saving && SealedCheck->isChecked();
    dialog.setNameFilter(!saving  ? BackupFileName::restoreDialogFilter()
                         : sealed ? BackupFileName::sealedDialogFilter()
                                  : BackupFileName::dialogFilter());
    dialog.setDefaultSuffix(sealed ? BackupFileName::sealedSuffix() : BackupFileName::suffix());
    dialog.setDirectory(backupFolder());
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void Frmbackup::chooseBackupFile() {
    const QString chosen =
        askForFile(true, BackupFileName::proposed(Label3->text(), Label2->text(), SealedCheck->isChecked()));
    if (!chosen.isEmpty())
        Text1->setText(chosen);
}

void Frmbackup::chooseRestoreFile() {
    const QString chosen = askForFile(false, QString());
    if (!chosen.isEmpty())
        Text2->setText(chosen);
}

void Frmbackup::backUp() {
    if (m_copying)
        return;
    const bool sealed = SealedCheck->isChecked();
    if (sealed && !Text1->text().isEmpty())
        Text1->setText(BackupFileName::withSuffix(Text1->text(), true));
    const QString destination = Text1->text();
    if (destination.isEmpty()) {
        WaitingMessageBox::show(this, QStringLiteral("لطفا مسير تهيه نسخه پشتيبان را وارد کنيد"), errorTitle(),
                                QMessageBox::Warning);
        return;
    }
    if (QFileInfo::exists(destination) &&
        WaitingMessageBox::show(
            this, QStringLiteral("فايل پشتيباني با اين نام قبلا ايجاد شده آيا ميخواهيد اين فايل را جايگزين کنيد؟"),
            appTitle(), QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        WaitingMessageBox::show(this, backupFailed(), appTitle(), QMessageBox::Information);
        return;
    }
    QString passphrase = sealed ? askNewPassphrase() : QString();
    if (sealed && passphrase.isEmpty())
        return;
    const bool made = runCopy(
        [&]() {
            return sealed ? DatabaseCopies::backUpSealed(destination, passphrase) : DatabaseCopies::backUp(destination);
        },
        false);
    SealedBackup::forget(passphrase);
    if (!made)
        return;
    WaitingMessageBox::show(this, QStringLiteral("نسخه پشتيبان تهيه گرديد"), appTitle());
    Navigation::endProgram();
}

void Frmbackup::restore() {
    if (m_copying)
        return;
    const QString source = Text2->text();
    if (source.isEmpty()) {
        WaitingMessageBox::show(this, QStringLiteral("لطفا مسير فايل مربوطه را وارد کنيد"), errorTitle(),
                                QMessageBox::Warning);
        return;
    }
    // On a server the question names the server, once the backup is found sound.
    const bool onServer = Database::serverInUse().onServer;
    if (!onServer && !confirmed(QStringLiteral("آيا ميخواهيد اطلاعات را بازيابي کنيد؟"))) {
        WaitingMessageBox::show(this, restoreFailed(), appTitle());
        return;
    }
    const bool sealed = SealedBackup::isSealedName(source);
    QString passphrase;
    if (sealed) {
        passphrase = InputBox::askPassphrase(this, passphraseTitle(), QStringLiteral("گذرواژه اين نسخه پشتيبان:"));
        if (passphrase.isEmpty()) {
            WaitingMessageBox::show(this, restoreFailed(), appTitle());
            return;
        }
    }
    const auto confirmReplacing = [this](const QString &database, const QString &host, qint64 examinees) {
        return confirmed(StoreMessages::replaceOnServer(database, host, examinees));
    };
    const bool restored = runCopy(
        [&]() {
            if (onServer)
                return DatabaseCopies::restoreOnServer(source, passphrase, confirmReplacing);
            return sealed ? DatabaseCopies::restoreSealed(source, passphrase) : DatabaseCopies::restore(source);
        },
        true);
    SealedBackup::forget(passphrase);
    if (!restored)
        return;
    WaitingMessageBox::show(this, QStringLiteral("بازيابي اطلاعات انجام شد"), appTitle());
    Navigation::endProgram();
}

bool Frmbackup::confirmed(const QString &question) {
    return WaitingMessageBox::show(this, question, appTitle(), QMessageBox::NoIcon,
                                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString Frmbackup::askNewPassphrase() {
    QString first = InputBox::askPassphrase(this, passphraseTitle(), QStringLiteral("گذرواژه (دست کم ده حرف):"));
    if (first.isEmpty()) {
        WaitingMessageBox::show(this, backupFailed(), appTitle(), QMessageBox::Information);
        return {};
    }
    if (first.size() < SealedBackup::minimumPassphraseLength) {
        SealedBackup::forget(first);
        WaitingMessageBox::show(this, QStringLiteral("گذرواژه بايد دست کم ده حرف باشد."), errorTitle(),
                                QMessageBox::Warning);
        return {};
    }
    QString second = InputBox::askPassphrase(this, passphraseTitle(), QStringLiteral("گذرواژه را دوباره وارد کنيد:"));
    const bool alike = first == second;
    const bool givenUp = second.isEmpty();
    SealedBackup::forget(second);
    if (!alike) {
        SealedBackup::forget(first);
        if (givenUp) {
            WaitingMessageBox::show(this, backupFailed(), appTitle(), QMessageBox::Information);
            return {};
        }
        WaitingMessageBox::show(this, QStringLiteral("دو گذرواژه يکسان نيستند."), errorTitle(), QMessageBox::Warning);
        return {};
    }
    return first;
}

bool Frmbackup::runCopy(const std::function<DatabaseCopies::Outcome()> &copy, bool restoring) {
    m_copying = true;
    const QList<QWidget *> controls{b1, b2, VisualButtonEx2, VisualButtonEx3, Command1, Text1, Text2, SealedCheck};
    for (QWidget *control : controls)
        control->setEnabled(false);
    const DatabaseCopies::Outcome outcome = copy();
    for (QWidget *control : controls)
        control->setEnabled(true);
    m_copying = false;
    if (outcome.result == DatabaseCopies::Result::Done)
        return true;
    reportFailure(outcome, restoring);
    return false;
}

void Frmbackup::reportFailure(const DatabaseCopies::Outcome &outcome, bool restoring) {
    using DatabaseCopies::Result;
    switch (outcome.result) {
    case Result::CopyFailed:
        WaitingMessageBox::show(this,
                                (restoring ? QStringLiteral("عدم موفقيت در بازيابي اطلاعات ")
                                           : QStringLiteral("اشکال در ايجاد نسخه پشتيباني")) +
                                    QLatin1Char('\n') + outcome.message,
                                appTitle(), QMessageBox::Critical);
        break;
    case Result::NotKeltoDatabase:
    case Result::SealedRefused:
    case Result::CodesClash:
        WaitingMessageBox::show(this,
                                outcome.message + QLatin1Char('\n') +
                                    QStringLiteral("بازيابي انجام نشد و اطلاعات برنامه دست نخورده ماند."),
                                errorTitle(), QMessageBox::Warning);
        break;
    case Result::WritePending:
        if (restoring)
            WaitingMessageBox::show(
                this, outcome.message + QStringLiteral("تمامي فرم ها را ببندبد به جز فرم اصلي و اين پنجره"),
                errorTitle(), QMessageBox::Warning);
        else
            WaitingMessageBox::show(this, outcome.message, QStringLiteral("Error"));
        break;
    case Result::Declined:
        WaitingMessageBox::show(this, restoreFailed(), appTitle());
        break;
    case Result::Done:
        break;
    }
}

// Every way out ends the program; not while a copy runs, which is never left half done.
void Frmbackup::closeEvent(QCloseEvent *event) {
    if (m_copying) {
        event->ignore();
        return;
    }
    event->accept();
    Navigation::endProgram();
}
