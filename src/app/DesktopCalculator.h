#pragma once

// The system's calculator: "calc.exe" on Windows; elsewhere the first desktop calculator found on
// the PATH.
namespace DesktopCalculator {
// Starts the calculator without waiting for it. False when the system has none or it cannot start.
bool start();
} // namespace DesktopCalculator
