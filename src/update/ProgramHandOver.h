#pragma once

#include <QString>

// The hand-over to the updater when the server offers a newer release: the updater program is
// started from the program's folder and this program ends at once.
namespace ProgramHandOver {
// The updater's program file in the given folder: "Keltoupdate" ("Keltoupdate.exe" on Windows).
QString updaterPath(const QString &programFolder);

// Starts the updater without arguments and without waiting for it; it inherits the working folder.
// False when it could not be started (missing or not executable).
bool startUpdater(const QString &programFolder);

// Ends the program at once: no window's closing steps run, so the exit dialog with its backup offer
// does not appear. The database connection is closed first; every change is already stored then
// (each write is its own committed transaction), so nothing is lost.
[[noreturn]] void endProgram();
} // namespace ProgramHandOver
