#include "app/KeltoStart.h"

#include "app/DamageRoad.h"
#include "app/Frm1.h"
#include "app/ServerAtStart.h"
#include "app/StartRecovery.h"
#include "backup/DatabaseCopies.h"
#include "common/AppVersion.h"
#include "examinees/StoredCodeDigits.h"
#include "store/Database.h"
#include "widgets/Navigation.h"
#include "widgets/PersianApplication.h"
#include "widgets/WaitingMessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QStringList>
#include <QThread>

KeltoStart::KeltoStart(const QString &programDir) : m_programDir(programDir), m_guard(programDir) {}

KeltoStart::~KeltoStart() {
    if (m_fontDatabaseFiller)
        m_fontDatabaseFiller->wait();
}

KeltoStart::Outcome KeltoStart::run(QApplication &app) {
    // Relative and absolute paths then name the same files: the database, the skins, Back/.
    QDir::setCurrent(m_programDir);
    setUpPersianApplication(app);
    // Reading every installed font (through fontconfig) is the largest single cost of the first
    // window. The font database is filled on a second thread while this one checks the instance
    // guard and opens the database; the first text laid out waits for it.
    m_fontDatabaseFiller.reset(QThread::create([] { QFontDatabase::families(); }));
    m_fontDatabaseFiller->start();
    app.setQuitOnLastWindowClosed(true);

    // A temporary folder that takes no lock file must not keep the user from the program.
    if (m_guard.acquire() == SingleInstanceGuard::Result::HeldByAnother) {
        showAlreadyRunning();
        return Outcome::AlreadyRunning;
    }
    // Only now that no other instance runs on this folder: a sealed backup it was opening is gone.
    DatabaseCopies::removeLeftoverOpenedCopy();
    // Kelto.ini chooses the engine; a malformed one is refused, never read as the default.
    QString error;
    EngineSettings::Choice engine;
    if (!EngineSettings::read(EngineSettings::filePath(), &engine, &error)) {
        WaitingMessageBox::show(nullptr, error, appTitle(), QMessageBox::Critical);
        return Outcome::DatabaseRefused;
    }
    if (engine.onServer ? !openServerAtStart(engine)
                        : !Database::open(Database::relativePath(), &error) &&
                              !recoverRefusedDatabase(Database::relativePath(), error))
        return Outcome::DatabaseRefused;
    foldStoredCodeDigits();
    m_damageRoad = std::make_unique<DamageRoad>();
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
    m_mainWindow = Navigation::showMainWindow();
    m_damageRoad->checkAfterFirstPaint(m_mainWindow);
    return Outcome::MainWindowShown;
}

void KeltoStart::foldStoredCodeDigits() {
    QStringList clashes;
    QString error;
    if (!StoredCodeDigits::foldStoredCodes(&clashes, &error))
        qWarning("codes typed with Persian digits were left as they are: %s", qPrintable(error));
    for (const QString &code : clashes)
        qWarning("the code %s is left as typed: its digits written as ASCII are another examinee's", qPrintable(code));
}

int KeltoStart::exitCode(Outcome outcome) { return outcome == Outcome::DatabaseRefused ? 1 : 0; }

QWidget *KeltoStart::mainWindow() const { return m_mainWindow; }

void KeltoStart::showAlreadyRunning() {
    WaitingMessageBox::show(nullptr, QStringLiteral("برنامه در حال اجراست"), QStringLiteral("Warnnig"),
                            QMessageBox::Information);
}
