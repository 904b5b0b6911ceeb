#pragma once

#include <QString>

// The program's title and release, taken from the build (project version in CMake).
inline QString appTitle() { return QStringLiteral("Kelto"); }
constexpr int appVersionMajor() { return KELTO_VERSION_MAJOR; }
constexpr int appVersionMinor() { return KELTO_VERSION_MINOR; }

// major "." minor, each without leading zeros: "2.1".
inline QString runningVersionText() {
    return QString::number(appVersionMajor()) + QLatin1Char('.') + QString::number(appVersionMinor());
}

// The title, one blank and the running version: "Kelto 2.1".
inline QString appTitleAndVersion() { return appTitle() + QLatin1Char(' ') + runningVersionText(); }
