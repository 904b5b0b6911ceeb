#pragma once

#include "backup/BackupList.h"

#include <QDialog>

class QPushButton;
class QTreeView;

// The box shown at start when the database was refused. It keeps the message that says why and
// offers a way back: restore one of the listed backups, start with a new database, or leave.
// When the database's folder takes no writes, leaving is all it offers.
class RecoveryBox : public QDialog {
public:
    enum class Choice { Restore, NewDatabase, Exit };

    // reason: why the database was refused. databaseFolder is named when it takes no writes;
    // the backups are listed otherwise.
    RecoveryBox(const QString &reason, const QString &databaseFolder, bool folderTakesWrites,
                const QString &backupFolder, const BackupListing &backups, QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }
    // The backup chosen for the restore.
    BackupFile chosenBackup() const;

private:
    void addBackupList(const BackupListing &backups);
    void choose(Choice choice);

    Choice m_choice = Choice::Exit;
    BackupListModel *m_backups = nullptr;
    QTreeView *m_list = nullptr;
    QPushButton *m_restore = nullptr;
};
