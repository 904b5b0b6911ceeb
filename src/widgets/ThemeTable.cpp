#include "widgets/ThemeTable.h"

#include "common/TextValue.h"

#include <cmath>

QStringList themeSkinFiles() {
    return {QStringLiteral("chizh.skn"),     QStringLiteral("Green.skn"),     QStringLiteral("galaxy.skn"),
            QStringLiteral("_temp.skn"),     QStringLiteral("B-Studio.skn"),  QStringLiteral("Mac.skn"),
            QStringLiteral("TopSecret.skn"), QStringLiteral("metallic.skn"),  QStringLiteral("Paper.skn"),
            QStringLiteral("winaqua.skn"),   QStringLiteral("office2007.skn")};
}

QString skinFileForTheme(double themeNumber) {
    const QStringList files = themeSkinFiles();
    // Only the whole numbers of the table name a skin; 2.5, 0, 12 or a negative number name none.
    if (!std::isfinite(themeNumber) || themeNumber != std::floor(themeNumber) || themeNumber < 1 ||
        themeNumber > files.size())
        return {};
    return files.at(static_cast<int>(themeNumber) - 1);
}

QString skinFileForThemeText(const QString &themeText) { return skinFileForTheme(textValue(themeText)); }
