#include "app/DamageRoad.h"

#include "app/StartRecovery.h"
#include "backup/CopyRoutine.h"
#include "backup/SealedBackup.h"
#include "common/AppVersion.h"
#include "store/Database.h"
#include "store/StoreMessages.h"
#include "store/WholeFileCheck.h"
#include "widgets/Navigation.h"
#include "widgets/WaitingMessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
// How long the road waits before it looks again whether a copy has ended.
constexpr int retryMs = 100;

// A read met the server's connection lost. The save that may have met it too (its window shows
// its own message, and the loss then counts as told) ran before the events came round to this.
void tellOfLostServer(const QString &message) {
    if (Database::tellOfLostConnection())
        WaitingMessageBox::show(QApplication::activeWindow(), message, appTitle(), QMessageBox::Warning);
}
} // namespace

DamageRoad::DamageRoad(QObject *parent) : QObject(parent), m_check(new WholeFileCheck(this)) {
    Database::setTroubleListener([this](Database::Trouble trouble, const QString &detail) {
        // Heard in the middle of a read: the road is taken from the event loop.
        if (trouble == Database::Trouble::Damage)
            QMetaObject::invokeMethod(this, &DamageRoad::damageFound, Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(
                this, [detail]() { tellOfLostServer(detail); }, Qt::QueuedConnection);
    });
    connect(m_check, &WholeFileCheck::finished, this, [this](bool damaged) {
        if (damaged)
            damageFound();
    });
}

DamageRoad::~DamageRoad() { Database::setTroubleListener({}); }

void DamageRoad::checkAfterFirstPaint(QWidget *mainWindow) {
    m_watchedWindow = mainWindow;
    mainWindow->installEventFilter(this);
}

bool DamageRoad::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_watchedWindow && event->type() == QEvent::Paint) {
        m_watchedWindow->removeEventFilter(this);
        // Queued: the check begins once the paint is done. A server has no file to check.
        if (!Database::filePath().isEmpty())
            QMetaObject::invokeMethod(
                this, [this]() { m_check->start(Database::filePath()); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void DamageRoad::damageFound() {
    if (m_onRoad || !Database::isOpen())
        return;
    // A copy gives events their turn between its pieces: it is never interrupted.
    if (isCopyRunning()) {
        QTimer::singleShot(retryMs, this, &DamageRoad::damageFound);
        return;
    }
    m_onRoad = true;
    m_check->stop();
    offerWayBack();
}

void DamageRoad::offerWayBack() {
    const QString path = Database::filePath();
    RecoveryChoice chosen = askHowToRecover(path, StoreMessages::damagedInside(path));
    if (chosen.choice == RecoveryBox::Choice::Exit) {
        Navigation::endProgram();
        return;
    }
    // Dialogs leave their own event loops as if cancelled; the other windows are put out of sight
    // once the fresh main window stands. They are not closed (closing the main window leads to
    // the exit dialog) nor deleted (a dialog made on the stack of one of them may not have
    // returned yet); their data sources find the new database.
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        else
            windows << window;
    }
    Database::close();
    QString error;
    const bool recovered = carryOutRecovery(path, chosen, &error);
    SealedBackup::forget(chosen.passphrase);
    if (!recovered && !recoverRefusedDatabase(path, error)) {
        Navigation::endProgram();
        return;
    }
    Navigation::showMainWindow();
    for (const QPointer<QWidget> &window : std::as_const(windows)) {
        if (window)
            window->hide();
    }
    m_onRoad = false;
}
