#include "app/DesktopCalculator.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {
// The calculators looked for, in order of preference.
QStringList candidates() {
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
} // namespace

bool DesktopCalculator::start() {
    for (const QString &name : candidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return QProcess::startDetached(path, {});
    }
    return false;
}
