#include "update/ProgramHandOver.h"

#include "store/Database.h"

#include <QDir>
#include <QProcess>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace ProgramHandOver {

QString updaterPath(const QString &programFolder) {
#ifdef Q_OS_WIN
    const QString fileName = QStringLiteral("Keltoupdate.exe");
#else
    const QString fileName = QStringLiteral("Keltoupdate");
#endif
    return QDir(programFolder).filePath(fileName);
}

bool startUpdater(const QString &programFolder) {
    QProcess updater;
    updater.setProgram(updaterPath(programFolder));
#ifdef Q_OS_WIN
    // The updater's window comes up minimized and takes the input focus.
    updater.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *arguments) {
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    return updater.startDetached();
}

void endProgram() {
    Database::close();
    std::fflush(nullptr);
    // _Exit skips every destructor and exit handler, so no window gets to run its closing steps.
    std::_Exit(0);
}

} // namespace ProgramHandOver
