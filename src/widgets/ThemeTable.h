#pragma once

#include <QString>
#include <QStringList>

// The eleven looks of the program, by the theme number stored in TH of the settings row.

// The skin files in theme order: theme N uses element N - 1. Bare names in the program's folder.
QStringList themeSkinFiles();

// The skin file for a theme number ("metallic.skn" for 8); empty unless the number is exactly
// one of the whole numbers 1 to 11.
QString skinFileForTheme(double themeNumber);

// The skin file named by the text of a box bound to TH: its value (leading number, blanks
// skipped, 0 when none) looked up as above.
QString skinFileForThemeText(const QString &themeText);
