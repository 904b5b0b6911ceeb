#include "app/StartRecovery.h"

#include "app/RecoveryBox.h"
#include "backup/DatabaseCopies.h"
#include "backup/SealedBackup.h"
#include "common/AppVersion.h"
#include "store/Database.h"
#include "store/RefusedDatabase.h"
#include "store/StoreMessages.h"
#include "widgets/InputBox.h"
#include "widgets/WaitingMessageBox.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {
// Puts the chosen backup, or a new database, where the refused file was, and opens it.
bool replaceDatabase(const QString &databasePath, RecoveryBox::Choice choice, const BackupFile &backup,
                     QString &passphrase, QString *error) {
    if (choice == RecoveryBox::Choice::Restore) {
        // The restore's own path: the backup checked again, copied beside the database, renamed.
        const DatabaseCopies::Outcome restored = backup.sealed ? DatabaseCopies::restoreSealed(backup.path, passphrase)
                                                               : DatabaseCopies::restore(backup.path);
        SealedBackup::forget(passphrase);
        if (restored.result != DatabaseCopies::Result::Done) {
            *error = StoreMessages::cannotRestore(backup.path, restored.message);
            return false;
        }
    }
    // Opening a missing file makes a new database, as on a first start.
    return Database::open(databasePath, error);
}
} // namespace

bool recoverRefusedDatabase(const QString &databasePath, const QString &reason) {
    const QString databaseFolder = QFileInfo(databasePath).absolutePath();
    const QString backupFolder = QDir::current().absoluteFilePath(QStringLiteral("Back"));
    const bool folderTakesWrites = Database::folderTakesWrites(databaseFolder);
    QString message = reason;
    for (;;) {
        const BackupListing backups = folderTakesWrites ? listBackups(backupFolder) : BackupListing{};
        RecoveryBox box(message, databaseFolder, folderTakesWrites, backupFolder, backups);
        box.exec();
        if (box.choice() == RecoveryBox::Choice::Exit)
            return false;
        // A sealed backup's passphrase is asked before anything is moved; giving none goes back.
        const bool sealed = box.choice() == RecoveryBox::Choice::Restore && box.chosenBackup().sealed;
        QString passphrase = sealed ? InputBox::askPassphrase(nullptr, QStringLiteral("گذرواژه"),
                                                              QStringLiteral("گذرواژه اين نسخه پشتيبان:"))
                                    : QString();
        if (sealed && passphrase.isEmpty())
            continue;
        QString aside;
        QString error;
        if (!RefusedDatabase::moveAside(databasePath, QDateTime::currentDateTime(), &aside, &error)) {
            WaitingMessageBox::show(nullptr, StoreMessages::cannotMoveAside(databasePath, error), appTitle(),
                                    QMessageBox::Critical);
            return false;
        }
        const QString movedNote = aside.isEmpty() ? QString() : StoreMessages::movedAside(aside) + QLatin1Char('\n');
        if (replaceDatabase(databasePath, box.choice(), box.chosenBackup(), passphrase, &error)) {
            const QString done = box.choice() == RecoveryBox::Choice::Restore
                                     ? StoreMessages::restoredFrom(box.chosenBackup().path)
                                     : StoreMessages::newDatabaseMade();
            WaitingMessageBox::show(nullptr, movedNote + done, appTitle(), QMessageBox::Information);
            return true;
        }
        // The refused file is aside by now; the box comes back with what went wrong. (A failed
        // copy may have left the restore's connection open on a new file: the box starts closed.)
        Database::close();
        message = error + QLatin1Char('\n') + movedNote;
    }
}
