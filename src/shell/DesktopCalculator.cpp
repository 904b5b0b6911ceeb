#include "shell/DesktopCalculator.h"

#include <QProcess>
#include <QStandardPaths>

QStringList DesktopCalculator::candidates() {
#ifdef Q_OS_WIN
    return {QStringLiteral("calc.exe")};
#else
    return {QStringLiteral("gnome-calculator"),
            QStringLiteral("kcalc"),
            QStringLiteral("galculator"),
            QStringLiteral("mate-calc"),
            QStringLiteral("qalculate-gtk"),
            QStringLiteral("qalculate-qt"),
            QStringLiteral("xcalc")};
#endif
}

QString DesktopCalculator::program() {
    for (const QString &name : candidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool DesktopCalculator::start() {
    const QString path = program();
    return !path.isEmpty() && QProcess::startDetached(path, {});
}
