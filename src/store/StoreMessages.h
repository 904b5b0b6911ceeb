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

// Damage found inside a database that opened (a read met it, or the check of the whole file).
inline QString damagedInside(const QString &path) {
    return QStringLiteral("فايل %1 آسيب ديده است و بخشي از اطلاعات آن خوانده نمي شود.").arg(isolatedPath(path));
}

inline QString restoreFromAWholeBackup() {
    return QStringLiteral("مي توانيد اطلاعات را از يکي از نسخه هاي پشتيبان سالم بازيابي کنيد.");
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
// The server, named user@host:port/database, and libpq's words for what went wrong.
inline QString serverUnreachable(const QString &server, const QString &reason) {
    return QStringLiteral("اتصال به سرور %1 برقرار نشد: %2").arg(isolatedPath(server), reason);
}

inline QString serverLost(const QString &server, const QString &reason) {
    return QStringLiteral("ارتباط با سرور %1 قطع شد: %2").arg(isolatedPath(server), reason);
}

// A save that met the connection lost: nothing is stored, the window keeps what was typed.
inline QString serverLostInSave(const QString &server, const QString &reason) {
    return QStringLiteral(
               "ارتباط با سرور %1 قطع شد و اطلاعات ذخيره نشد. آنچه نوشته ايد در پنجره مانده است؛ وقتي سرور در "
               "دسترس بود دوباره ذخيره کنيد.\n%2")
        .arg(isolatedPath(server), reason);
}

inline QString serverReached(const QString &server) {
    return QStringLiteral("اتصال به سرور %1 برقرار شد.").arg(isolatedPath(server));
}

// The server typed into the settings window, refused before Kelto.ini is written.
inline QString hostMissing() { return QStringLiteral("نام يا نشاني سرور (Host) را بنويسيد."); }
inline QString portNotANumber() { return QStringLiteral("درگاه (Port) بايد عددي از 1 تا 65535 باشد."); }
inline QString cannotWriteServer(const QString &path) {
    return QStringLiteral("اين مقادير را نمي توان در فايل %1 نوشت. فايل دست نخورده ماند.").arg(isolatedPath(path));
}
inline QString serverWritten(const QString &path) {
    return QStringLiteral("فايل %1 نوشته شد. تغييرات از اجراي بعدي برنامه به کار مي رود.").arg(isolatedPath(path));
}

// The database panel of the main window.
inline QString fileInUse(const QString &path) {
    return QStringLiteral("اطلاعات اکنون در فايل %1 است.").arg(isolatedPath(path));
}
inline QString serverInUse(const QString &server, const QString &sslMode) {
    return QStringLiteral("اطلاعات اکنون روي سرور %1 است (SslMode=%2).").arg(isolatedPath(server), sslMode);
}
inline QString hostLabel() { return QStringLiteral(" :سرور"); }
inline QString portLabel() { return QStringLiteral(" :درگاه"); }
inline QString databaseLabel() { return QStringLiteral(" :پايگاه داده"); }
inline QString userLabel() { return QStringLiteral(" :کاربر"); }
inline QString testConnection() { return QStringLiteral("آزمايش اتصال"); }
inline QString takesEffectAtNextStart() { return QStringLiteral("تغييرات از اجراي بعدي برنامه به کار مي رود."); }

// A copy (a backup or a restore) that the disk has no room for.
inline QString diskFull() { return QStringLiteral("فضاي خالي ديسک کافي نيست"); }

// A backup whose rows a server cannot take: two of its codes are one code there.
inline QString codesClash(const QString &code) {
    return QStringLiteral("کد %1 در اين نسخه پشتيبان بيش از يک بار آمده است (با حروف بزرگ و کوچک لاتين يا ارقام "
                          "متفاوت)، ولي سرور هر کد را تنها يک بار مي پذيرد.")
        .arg(isolatedPath(code));
}

// The question before a backup replaces the register on a server.
inline QString replaceOnServer(const QString &database, const QString &host, qint64 examinees) {
    return QStringLiteral("اطلاعات %1 آزمودني در پايگاه داده %2 روي سرور %3 با اطلاعات اين نسخه پشتيبان جايگزين "
                          "مي شود. آيا ميخواهيد اطلاعات را بازيابي کنيد؟")
        .arg(examinees)
        .arg(isolatedPath(database), isolatedPath(host));
}

inline QString noCurrentRow(const QString &table) {
    return QStringLiteral("در جدول %1 رديفي انتخاب نشده است.").arg(isolatedPath(table));
}

inline QString rowGone(const QString &table) {
    return QStringLiteral("اين رديف جدول %1 ديگر در بانک اطلاعاتي نيست و تغييرات آن ذخيره نشد.")
        .arg(isolatedPath(table));
}

// Recovery at start, when the database was refused: the box's three choices and what it says.
inline QString restoreFromBackup() { return QStringLiteral("بازيابي از نسخه پشتيبان"); }
inline QString startWithNewDatabase() { return QStringLiteral("شروع با پايگاه داده جديد"); }
inline QString exitProgram() { return QStringLiteral("خروج"); }

// Start on a server that cannot be reached: the way out besides exitProgram().
inline QString tryAgain() { return QStringLiteral("تلاش دوباره"); }

inline QString recoveryChoices(const QString &backupFolder) {
    return QStringLiteral("مي توانيد اطلاعات را از يکي از نسخه هاي پشتيبان پوشه %1 بازيابي کنيد يا با پايگاه داده جديد "
                          "شروع کنيد. در هر دو حالت فايل فعلي پاک نمي شود و با نام ديگري در همان پوشه مي ماند.")
        .arg(isolatedPath(backupFolder));
}

inline QString folderNotWritable(const QString &folder) {
    return QStringLiteral("در پوشه %1 نمي توان نوشت، پس فايل را نه مي توان کنار گذاشت و نه جايگزين کرد. اجازه نوشتن "
                          "در اين پوشه را بررسي کنيد و برنامه را دوباره باز کنيد.")
        .arg(isolatedPath(folder));
}

inline QString backupListHeading() { return QStringLiteral("نسخه هاي پشتيبان، جديدترين در بالا:"); }
inline QString backupDateColumn() { return QStringLiteral("تاريخ"); }
inline QString backupTimeColumn() { return QStringLiteral("ساعت"); }
inline QString backupSizeColumn() { return QStringLiteral("حجم"); }
inline QString backupNameColumn() { return QStringLiteral("نام فايل"); }

inline QString backupsLeftOut(int count) {
    return QStringLiteral("%1 فايل پشتيبان ديگر سالم نيست يا بانک اطلاعاتي اين برنامه نيست و در فهرست نيامده است.")
        .arg(count);
}

inline QString noUsableBackup(const QString &backupFolder) {
    return QStringLiteral("در پوشه %1 نسخه پشتيبان سالمي پيدا نشد.").arg(isolatedPath(backupFolder));
}

inline QString cannotMoveAside(const QString &path, const QString &reason) {
    return QStringLiteral("فايل %1 کنار گذاشته نشد و دست نخورده ماند: %2").arg(isolatedPath(path), reason);
}

inline QString cannotRestore(const QString &backup, const QString &reason) {
    return QStringLiteral("بازيابي از %1 انجام نشد: %2").arg(isolatedPath(backup), reason);
}

inline QString movedAside(const QString &asidePath) {
    return QStringLiteral("فايل قبلي به %1 منتقل شد و دست نخورده ماند.").arg(isolatedPath(asidePath));
}

inline QString restoredFrom(const QString &backup) {
    return QStringLiteral("اطلاعات از نسخه پشتيبان %1 بازيابي شد.").arg(isolatedPath(backup));
}

inline QString newDatabaseMade() { return QStringLiteral("پايگاه داده جديد ساخته شد."); }
} // namespace StoreMessages
