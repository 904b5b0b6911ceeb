// Shows each window of Kelto and its updater in turn, the way a user reaches it, and saves a
// picture of each. Runs against a throw-away program folder filled with sample examinees, so the
// pictures show real rows and never touch a clinic's database.
#include "app/Frm1.h"
#include "app/RecoveryBox.h"
#include "backup/BackupList.h"
#include "backup/Frmbackup.h"
#include "backup/exitpro.h"
#include "calendar/PersianCalendar.h"
#include "examinees/FrmCode.h"
#include "info/About.h"
#include "info/Frm2.h"
#include "profile/ProfileWindow.h"
#include "scoring/FrmkLID.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/FieldValues.h"
#include "store/StoreMessages.h"
#include "testrun/FrmTest.h"
#include "update/FrmUpdate.h"
#include "updater/Progress.h"
#include "widgets/Navigation.h"
#include "widgets/PersianApplication.h"
#include "widgets/ThemeTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

namespace {

QString g_outputFolder;
QStringList g_saved;

void settle(int milliseconds = 400) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void save(QWidget *window, const QString &name) {
    window->raise();
    window->activateWindow();
    settle();
    const QString path = QDir(g_outputFolder).filePath(name + QStringLiteral(".png"));
    if (window->grab().save(path))
        g_saved << path;
    else
        QTextStream(stderr) << "could not save " << path << "\n";
}

void click(QWidget *window, const char *name) {
    if (auto *button = window->findChild<QAbstractButton *>(QLatin1String(name)))
        button->click();
    settle(200);
}

void type(QWidget *window, const char *name, const QString &text) {
    if (auto *box = window->findChild<QLineEdit *>(QLatin1String(name)))
        box->setText(text);
}

void pick(QWidget *window, const char *name, int index) {
    if (auto *list = window->findChild<QComboBox *>(QLatin1String(name))) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
}

// A window that leaves the program or brings the main window back when closed is put away without
// its closing steps: hidden, then deleted.
void putAway(QWidget *window) {
    window->hide();
    delete window;
}

void setTheme(int number) {
    QSqlQuery query(Database::connection());
    query.prepare(QStringLiteral("UPDATE Theme SET TH = ?, Name = ?, Adress = ?"));
    query.addBindValue(QString::number(number));
    query.addBindValue(QStringLiteral("کلينيک روان شناسي نمونه"));
    query.addBindValue(QStringLiteral("تهران، خيابان نمونه، پلاک ۱۲"));
    query.exec();
}

void addSampleExaminees() {
    const QStringList firstNames{QStringLiteral("مريم"), QStringLiteral("علي"), QStringLiteral("سارا"),
                                 QStringLiteral("رضا"), QStringLiteral("نگار")};
    const QStringList lastNames{QStringLiteral("احمدي"), QStringLiteral("محمدي"), QStringLiteral("کريمي"),
                                QStringLiteral("رضايي"), QStringLiteral("حسيني")};
    const QStringList educations{QStringLiteral("کارشناسي"), QStringLiteral("ديپلم"), QStringLiteral("کارشناسي ارشد")};
    DataSource examinees(QStringLiteral("IDE"));
    DataSource answers(QStringLiteral("Answer"));
    for (int i = 0; i < 25; ++i) {
        const QString code = QStringLiteral("K%1").arg(101 + i);
        examinees.addNew();
        examinees.setValue(QStringLiteral("Code"), code);
        examinees.setValue(QStringLiteral("FName"), firstNames.at(i % firstNames.size()));
        examinees.setValue(QStringLiteral("LName"), lastNames.at((i / 2) % lastNames.size()));
        examinees.setValue(QStringLiteral("Sen"), QString::number(22 + i));
        examinees.setValue(QStringLiteral("Jens"), FieldValues::sexes().at(i % 2 == 0 ? 1 : 0));
        examinees.setValue(QStringLiteral("Taahol"), FieldValues::maritalStatuses().at(i % 3 == 0 ? 0 : 1));
        examinees.setValue(QStringLiteral("Group"), FieldValues::groups().at(i % 3));
        examinees.setValue(QStringLiteral("Tahsil"), educations.at(i % educations.size()));
        const QDateTime registered = QDateTime::currentDateTime().addDays(-40 + i).addSecs(-600 * i);
        examinees.setValue(QStringLiteral("Date"), PersianDateText(registered, 0));
        examinees.setValue(QStringLiteral("Time"), registered.time().toString(QStringLiteral("HH:mm:ss")));
        examinees.save();
        answers.addNew();
        answers.setValue(QStringLiteral("Code"), code);
        for (int item = 1; item <= 40; ++item)
            answers.setValue(QString::number(item), QString::number((item * (i + 3)) % 9 + 1));
        answers.save();
    }
}

// One picture of the main window in a theme (a fresh window, as after a theme change).
void mainWindowShot(int theme) {
    setTheme(theme);
    std::unique_ptr<QWidget> window(Navigation::showMainWindow());
    save(window.get(), QStringLiteral("main-window-theme-%1").arg(theme, 2, 10, QLatin1Char('0')));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->hide();
}

void shotsOfTheMainWindow() {
    for (int theme : {1, 3, 8})
        mainWindowShot(theme);
    setTheme(1);
}

void shotsOfTheUpdate() {
    FrmUpdate update;
    update.show();
    save(&update, QStringLiteral("update-window"));
    Progress updater;
    updater.show();
    save(&updater, QStringLiteral("updater"));
}

// The directory with every examinee, then narrowed by a last name chosen from its list.
void shotsOfTheDirectory() {
    FrmCode directory;
    directory.show();
    save(&directory, QStringLiteral("examinee-directory"));
    auto *lastNames = directory.findChild<QComboBox *>(QStringLiteral("DataCombo1"));
    lastNames->setCurrentIndex(1);
    emit lastNames->activated(1);
    save(&directory, QStringLiteral("examinee-directory-last-name"));
}

// The registration panel as a user fills it in, before saving.
void shotOfTheRegistration() {
    std::unique_ptr<QWidget> window(Navigation::showMainWindow());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    click(window.get(), "Command1");
    type(window.get(), "Text11", QStringLiteral("K200"));
    type(window.get(), "Text6", QStringLiteral("نسرين"));
    type(window.get(), "Text4", QStringLiteral("صادقي"));
    type(window.get(), "Text5", QStringLiteral("34"));
    pick(window.get(), "Combo1", 1);
    pick(window.get(), "Combo2", 1);
    pick(window.get(), "Combo3", 1);
    type(window.get(), "Text7", QStringLiteral("کارشناسي"));
    save(window.get(), QStringLiteral("registration"));
    window->hide();
}

// The settings panel with the database panel beside it, as its button opens it.
void shotOfTheDatabasePanel() {
    std::unique_ptr<QWidget> window(Navigation::showMainWindow());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    click(window.get(), "Command9");
    click(window.get(), "CmdDatabase");
    save(window.get(), QStringLiteral("database-panel"));
    window->hide();
}

// The test window as the code is given: its start screen, then an item on the way through.
void shotsOfTheTestRun() {
    auto *test = new FrmTest;
    test->rereadSources();
    test->selectExaminee(QStringLiteral("K103"));
    test->show();
    save(test, QStringLiteral("test-window-start"));
    click(test, "Command1");
    for (int item = 1; item < 7; ++item)
        click(test, "CmdNext");
    save(test, QStringLiteral("test-window-item"));
    putAway(test);
}

// The result sheet with an examinee selected, and the report preview its print button opens.
void shotsOfTheResultSheet() {
    auto *sheet = new FrmkLID;
    sheet->show();
    sheet->select(QStringLiteral("K103"));
    save(sheet, QStringLiteral("result-sheet"));
    click(sheet, "Command6");
    QPrintPreviewDialog *preview = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *shown = qobject_cast<QPrintPreviewDialog *>(window); shown && shown->isVisible())
            preview = shown;
    }
    if (preview) {
        preview->resize(900, 1000);
        // The page's width fills the window, so the report's Persian text can be read in the picture.
        if (auto *page = preview->findChild<QPrintPreviewWidget *>())
            page->fitToWidth();
        save(preview, QStringLiteral("report-preview"));
        putAway(preview);
    }
    putAway(sheet);
}

// Leaving: the exit dialog, then the backup window it hands over to.
void shotsOfLeaving() {
    exitpro *exit = exitpro::showDialog();
    save(exit, QStringLiteral("exit-dialog"));
    putAway(exit);
    auto *backup = new Frmbackup;
    backup->show();
    save(backup, QStringLiteral("backup-window"));
    putAway(backup);
}

void shotsOfTheInformation() {
    auto *pages = new Frm2;
    pages->show();
    save(pages, QStringLiteral("pages-1"));
    click(pages, "Command2");
    click(pages, "Command2");
    save(pages, QStringLiteral("pages-3"));
    putAway(pages);
    auto *about = new About;
    about->show();
    settle(1500); // the line assembles itself and the credits roll a little
    save(about, QStringLiteral("about-box"));
    putAway(about);
}

// The box at start when the database was refused, offering the backups in the backup folder.
void shotOfTheRecoveryBox() {
    const QDir folder = QDir::current();
    folder.mkpath(QStringLiteral("Back"));
    const QString database = folder.absoluteFilePath(Database::relativePath());
    const QDateTime now = QDateTime::currentDateTime();
    const QStringList names{QStringLiteral("backup-monday.mdbB"), QStringLiteral("backup-before-update.mdbB"),
                            QStringLiteral("backup-last-month.mdbB")};
    for (int i = 0; i < names.size(); ++i) {
        const QString copy = folder.absoluteFilePath(QStringLiteral("Back/") + names.at(i));
        QFile::copy(database, copy);
        QFile file(copy);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(now.addDays(-(i * 9 + 2)).addSecs(-3600 * i), QFileDevice::FileModificationTime);
    }
    const QString backupFolder = folder.absoluteFilePath(QStringLiteral("Back"));
    RecoveryBox box(StoreMessages::damaged(database), QFileInfo(database).absolutePath(), true, backupFolder,
                    listBackups(backupFolder));
    box.show();
    save(&box, QStringLiteral("recovery-box"));
}

// The profile of an examinee opened from the directory's grid, alone and beside a second examinee.
void shotsOfTheProfile() {
    FrmCode directory;
    directory.show();
    directory.openProfile(0);
    settle(200);
    auto *profile = directory.findChild<ProfileWindow *>();
    if (!profile)
        return;
    save(profile, QStringLiteral("profile"));
    profile->compareWith(QStringLiteral("K102"));
    save(profile, QStringLiteral("profile-compared"));
    const QString pdf = QDir(g_outputFolder).filePath(QStringLiteral("profile-compared.pdf"));
    if (profile->savePdf(pdf))
        g_saved << pdf;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    g_outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(g_outputFolder);
    QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("Kelto-XXXXXX")));
    const QDir skins(QStringLiteral(KELTO_SOURCE_DIR "/skins"));
    for (const QString &name : themeSkinFiles())
        QFile::copy(skins.filePath(name), QDir(folder.path()).filePath(name));
    QDir::setCurrent(folder.path());
    setUpPersianApplication(app);
    app.setQuitOnLastWindowClosed(false);
    QString error;
    if (!Database::open(Database::relativePath(), &error)) {
        QTextStream(stderr) << error << "\n";
        return 1;
    }
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
    addSampleExaminees();

    shotsOfTheMainWindow();
    shotOfTheRegistration();
    shotOfTheDatabasePanel();
    shotsOfTheTestRun();
    shotsOfTheResultSheet();
    shotsOfTheDirectory();
    shotsOfTheProfile();
    shotsOfLeaving();
    shotsOfTheUpdate();
    shotsOfTheInformation();
    shotOfTheRecoveryBox();

    for (const QString &path : g_saved)
        QTextStream(stdout) << path << "\n";
    Database::close();
    return 0;
}
