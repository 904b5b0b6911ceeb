#pragma once

#include <QApplication>
#include <QFont>
#include <QStringList>

// The families of the programs' text, best first: free Persian fonts that shape and join well,
// with the Latin family drawn beside them named right after the first. The Persian fonts have
// digits but no Latin letters; without a Latin family in the list Qt picks one itself (a serif one
// beside a sans Persian font: "Kelto" and "2.1" in two designs).
inline QStringList persianTextFamilies() {
    return {QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Sans"), QStringLiteral("Nazli"),
            QStringLiteral("Noto Naskh Arabic")};
}

// Both programs' text font: the families above at 10 points. (Included by the windows' code only;
// the programs' core has no fonts.)
inline void usePersianApplicationFont() {
    QFont font = QApplication::font();
    font.setFamilies(persianTextFamilies());
    font.setPointSize(10);
    QApplication::setFont(font);
}

// The report's font names, mapped to the free Persian fonts that stand in for them. The report's
// text fonts come first from farsiweb: their joined letters (lam-alef too) map back to the letters
// they show, so a PDF of the report can be searched. Adding a mapping a second time changes
// nothing, so whoever paints the report may call this again.
inline void mapReportFontNames() {
    const QString nazli = QStringLiteral("Nazli");
    const QString naskh = QStringLiteral("Noto Naskh Arabic");
    QFont::insertSubstitutions(QStringLiteral("B Nazanin"), {nazli, naskh});
    QFont::insertSubstitutions(QStringLiteral("B Titr"), {QStringLiteral("Titr"), naskh});
    QFont::insertSubstitutions(QStringLiteral("B Mitra"), {nazli, naskh});
}
