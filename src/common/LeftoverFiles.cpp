#include "common/LeftoverFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace LeftoverFiles {
QString temporaryTemplate(const QString &target, const QString &kind) {
    return target + QLatin1Char('.') + kind + QStringLiteral("-XXXXXX");
}

void removeOld(const QString &folder, const QString &kind) {
    const QRegularExpression leftover(QStringLiteral("^.+\\.%1-[A-Za-z0-9_-]{6}$").arg(QRegularExpression::escape(kind)));
    const QDateTime anHourAgo = QDateTime::currentDateTime().addSecs(-3600);
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.") + kind + QStringLiteral("-??????")}, QDir::Files);
    for (const QFileInfo &file : files) {
        if (leftover.match(file.fileName()).hasMatch() && file.lastModified() < anHourAgo)
            QFile::remove(file.absoluteFilePath());
    }
}
} // namespace LeftoverFiles
