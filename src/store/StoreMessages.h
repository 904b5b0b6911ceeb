#pragma once

#include <QDir>
#include <QString>

// The messages of the data store, in one place. Each names the database file; the path is
// wrapped in left-to-right isolates so that it reads correctly inside the right-to-left text.
namespace StoreMessages {
inline QString isolatedPath(const QString &path) {
    return QChar(0x2066) + QDir::toNativeSeparators(path) + QChar(0x2069);
}

inline QString notKeltoDatabase(const QString &path) {
    return QStringLiteral("فايل %1 بانک اطلاعاتي اين برنامه نيست. برنامه با آن کار نمي کند و فايل دست نخورده ماند.")
        .arg(isolatedPath(path));
}

inline QString damaged(const QString &path) {
    return QStringLiteral("فايل %1 آسيب ديده است و باز نمي شود. فايل دست نخورده ماند.").arg(isolatedPath(path));
}

inline QString notWritable(const QString &path) {
    return QStringLiteral("در فايل %1 يا پوشه آن نمي توان نوشت. اجازه نوشتن را بررسي کنيد. فايل دست نخورده ماند.")
        .arg(isolatedPath(path));
}

inline QString cannotCreate(const QString &path, const QString &reason) {
    return QStringLiteral("فايل %1 ساخته نشد: %2").arg(isolatedPath(path), reason);
}

inline QString cannotOpen(const QString &path, const QString &reason) {
    return QStringLiteral("فايل %1 باز نشد: %2").arg(isolatedPath(path), reason);
}
inline QString noCurrentRow(const QString &table) {
    return QStringLiteral("در جدول %1 رديفي انتخاب نشده است.").arg(isolatedPath(table));
}

inline QString rowGone(const QString &table) {
    return QStringLiteral("اين رديف جدول %1 ديگر در بانک اطلاعاتي نيست و تغييرات آن ذخيره نشد.")
        .arg(isolatedPath(table));
}
} // namespace StoreMessages
