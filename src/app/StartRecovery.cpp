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

RecoveryChoice askHowToRecover(const QString &databasePath, const QString &reason) {
    const QString databaseFolder = QFileInfo(databasePath).absolutePath();
    const QString backupFolder = QDir::current().absoluteFilePath(QStringLiteral("Back"));
    const bool folderTakesWrites = Database::folderTakesWrites(databaseFolder);
    const BackupListing backups = folderTakesWrites ? listBackups(backupFolder) : BackupListing{};
    for (;;) {
        RecoveryBox box(reason, databaseFolder, folderTakesWrites, backupFolder, backups);
        box.exec();
        if (box.choice() != RecoveryBox::Choice::Restore || !box.chosenBackup().sealed)
            return {box.choice(), box.chosenBackup()};
        // A sealed backup's passphrase is asked before anything is moved; giving none goes back.
        const QString passphrase =
            InputBox::askPassphrase(nullptr, QStringLiteral("گذرواژه"), QStringLiteral("گذرواژه اين نسخه پشتيبان:"));
        if (!passphrase.isEmpty())
            return {box.choice(), box.chosenBackup(), passphrase};
    }
}

// The refused file is set aside only when what takes its place is ready: for a restore, once the
// backup's copy is whole beside it. A restore that fails (a full disk) so leaves it in its place,
// and the next start comes back to the recovery box.
bool carryOutRecovery(const QString &databasePath, const RecoveryChoice &chosen, QString *error) {
    QString aside;
    const auto moveAside = [&](QString *why, RefusedDatabase::Place place) {
        QString reason;
        if (RefusedDatabase::moveAside(databasePath, QDateTime::currentDateTime(), &aside, &reason, place))
            return true;
        *why = StoreMessages::cannotMoveAside(databasePath, reason);
        return false;
    };
    if (chosen.choice == RecoveryBox::Choice::Restore) {
        // The restore's own path: the backup checked again, copied beside the database, renamed.
        // The copy is renamed over the refused file, which keeps its place until then.
        const BeforeRename moveAsideFirst = [&](const QString &, QString *why) {
            return moveAside(why, RefusedDatabase::Place::KeptUntilReplaced);
        };
        const DatabaseCopies::Outcome restored =
            chosen.backup.sealed ? DatabaseCopies::restoreSealed(chosen.backup.path, chosen.passphrase, moveAsideFirst)
                                 : DatabaseCopies::restore(chosen.backup.path, moveAsideFirst);
        if (restored.result != DatabaseCopies::Result::Done) {
            *error = StoreMessages::cannotRestore(chosen.backup.path, restored.message);
            if (!aside.isEmpty()) // set aside, and then the copy could not take its name
                *error += QLatin1Char('\n') + StoreMessages::movedAside(aside);
            return false;
        }
    } else if (!moveAside(error, RefusedDatabase::Place::Moved)) {
        return false;
    }
    // Opening a missing file makes a new database, as on a first start.
    if (!Database::open(databasePath, error))
        return false;
    const QString movedNote = aside.isEmpty() ? QString() : StoreMessages::movedAside(aside) + QLatin1Char('\n');
    const QString done = chosen.choice == RecoveryBox::Choice::Restore ? StoreMessages::restoredFrom(chosen.backup.path)
                                                                       : StoreMessages::newDatabaseMade();
    WaitingMessageBox::show(nullptr, movedNote + done, appTitle(), QMessageBox::Information);
    return true;
}

bool recoverRefusedDatabase(const QString &databasePath, const QString &reason) {
    QString message = reason;
    for (;;) {
        RecoveryChoice chosen = askHowToRecover(databasePath, message);
        if (chosen.choice == RecoveryBox::Choice::Exit)
            return false;
        QString error;
        const bool recovered = carryOutRecovery(databasePath, chosen, &error);
        SealedBackup::forget(chosen.passphrase);
        if (recovered)
            return true;
        // The box comes back with what went wrong, the connection closed.
        Database::close();
        message = error;
    }
}
