// Shows each window of Kelto and its updater in turn, the way a user reaches it, and saves a
// picture of each. Runs against a throw-away program folder filled with sample examinees, so the
// pictures show real rows and never touch a clinic's database.
#include "examinees/FrmCode.h"
#include "profile/ProfileWindow.h"
#include "shell/Frm1.h"
#include "shell/Navigation.h"
#include "shell/PersianApplication.h"
#include "shell/ThemeTable.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "update/FrmUpdate.h"
#include "updater/Progress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
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
    DataSource examinees(QStringLiteral("IDE"));
    DataSource answers(QStringLiteral("Answer"));
    for (int i = 0; i < 25; ++i) {
        const QString code = QStringLiteral("K%1").arg(101 + i);
        examinees.addNew();
        examinees.setValue(QStringLiteral("Code"), code);
        examinees.setValue(QStringLiteral("FName"), firstNames.at(i % firstNames.size()));
        examinees.setValue(QStringLiteral("LName"), lastNames.at((i / 2) % lastNames.size()));
        examinees.setValue(QStringLiteral("Sen"), QString::number(22 + i));
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
    QTemporaryDir folder;
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
    shotsOfTheDirectory();
    shotsOfTheProfile();
    shotsOfTheUpdate();

    for (const QString &path : g_saved)
        QTextStream(stdout) << path << "\n";
    Database::close();
    return 0;
}
