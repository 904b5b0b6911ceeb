#include "backup/BackupList.h"

#include "backup/BackupFileName.h"
#include "backup/SealedBackup.h"
#include "calendar/PersianCalendar.h"
#include "store/Database.h"
#include "store/StoreMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

BackupListing listBackups(const QString &folder) {
    BackupListing listing;
    const QFileInfoList files = QDir(folder).entryInfoList(BackupFileName::restorePatterns(), QDir::Files);
    for (const QFileInfo &file : files) {
        const QString path = file.absoluteFilePath();
        const bool sealed = SealedBackup::isSealedName(path);
        if (sealed ? SealedBackup::inspect(path).result == SealedBackup::Result::Done
                   : Database::isKeltoDatabaseFile(path, nullptr))
            listing.usable.append({path, file.lastModified(), file.size(), sealed});
        else
            ++listing.leftOut;
    }
    std::stable_sort(listing.usable.begin(), listing.usable.end(),
                     [](const BackupFile &a, const BackupFile &b) { return a.madeAt > b.madeAt; });
    return listing;
}

BackupListModel::BackupListModel(const QList<BackupFile> &backups, QObject *parent)
    : QAbstractTableModel(parent), m_backups(backups) {}

int BackupListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_backups.size(); }

int BackupListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant BackupListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_backups.size())
        return {};
    const BackupFile &backup = m_backups.at(index.row());
    if (role == Qt::ToolTipRole)
        return QDir::toNativeSeparators(backup.path);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case DateColumn:
        return PersianDateText(backup.madeAt, 4);
    case TimeColumn:
        return backup.madeAt.toString(QStringLiteral("HH:mm"));
    case SizeColumn:
        // Latin digits and unit, kept together left to right inside the right-to-left row.
        return QChar(0x2066) + QLocale::c().formattedDataSize(backup.size, 1, QLocale::DataSizeTraditionalFormat) +
               QChar(0x2069);
    case NameColumn:
        return QFileInfo(backup.path).fileName();
    default:
        return {};
    }
}

QVariant BackupListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case DateColumn:
        return StoreMessages::backupDateColumn();
    case TimeColumn:
        return StoreMessages::backupTimeColumn();
    case SizeColumn:
        return StoreMessages::backupSizeColumn();
    case NameColumn:
        return StoreMessages::backupNameColumn();
    default:
        return {};
    }
}
