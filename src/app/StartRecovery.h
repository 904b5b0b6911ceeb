#pragma once

#include "app/RecoveryBox.h"

#include <QString>

// The way back when the database was refused at start (damaged, foreign or unwritable) or found
// damaged while the program ran: the recovery box, then a backup or a new database in its place
// and the refused file set aside.

// What the user chose in the recovery box, and the backup chosen with it.
struct RecoveryChoice {
    RecoveryBox::Choice choice = RecoveryBox::Choice::Exit;
    BackupFile backup;
    QString passphrase; // of a sealed backup: the caller forgets it once done (SealedBackup::forget)
};

// Shows the recovery box for the database at databasePath, refused for the reason given.
RecoveryChoice askHowToRecover(const QString &databasePath, const QString &reason);

// Carries out a choice other than leaving, with no connection open on the database: true once a
// database is open, after a notice of what was done. Otherwise *error says what went wrong.
bool carryOutRecovery(const QString &databasePath, const RecoveryChoice &chosen, QString *error);

// The recovery box, then its choice carried out; after a failure the box comes back with what went
// wrong. Returns true once a database is open; false when the user leaves (or nothing could be
// done), with the file still where it was.
bool recoverRefusedDatabase(const QString &databasePath, const QString &reason);
