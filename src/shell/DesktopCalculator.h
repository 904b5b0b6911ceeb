#pragma once

#include <QString>
#include <QStringList>

// The system's calculator: "calc.exe" on Windows; elsewhere the first desktop calculator found on
// the PATH.
namespace DesktopCalculator {
// The calculators looked for on the PATH, in order of preference.
QStringList candidates();
// The program to start; empty when the system has none.
QString program();
// Starts the calculator without waiting for it. False when there is none or it cannot start.
bool start();
} // namespace DesktopCalculator
