#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>

// A backup file in the backup folder, as the list of backups shows it.
struct BackupFile {
    QString path;
    QDateTime madeAt; // the file's last change: when the backup was written
    qint64 size = 0;
    bool sealed = false; // a sealed backup ("*.mdbS"): a passphrase opens it
};

struct BackupListing {
    QList<BackupFile> usable; // newest first
    int leftOut = 0;          // backup files that failed the check of a Kelto database
};

// The backups in the folder that a restore would take, newest first: plain ones ("*.mdbB") that
// pass the restore's check of a Kelto database, and sealed ones ("*.mdbS") whose header is whole
// and whose length is right (the rest is checked once the passphrase opens them). A missing
// folder holds none.
BackupListing listBackups(const QString &folder);

// The usable backups as rows: Persian date (1403.5.12), time, size and file name.
class BackupListModel : public QAbstractTableModel {
public:
    enum Column { DateColumn, TimeColumn, SizeColumn, NameColumn, ColumnCount };

    explicit BackupListModel(const QList<BackupFile> &backups, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    BackupFile backupAt(int row) const { return m_backups.value(row); }

private:
    QList<BackupFile> m_backups;
};
