#pragma once

#include <QString>
#include <QStringList>

// The about box's credits: the list of eleven text slots, of which the first nine roll through
// the box's four labels in a loop (slots 7 and 8 are empty and give two blank places).
namespace Credits {
QStringList slotTexts();
// The product name, the team and how to reach them, as the reveal line assembles it: each
// word's letters padded apart by runs of spaces, the words separated by dots.
QString revealLine();
} // namespace Credits

// Which slot the next label that rolls in at the bottom shows. After opening, the four labels
// show slots 0 to 3, so the loop goes on with slot 4.
class CreditLoop {
public:
    explicit CreditLoop(QStringList slotTexts);
    QString slotText(int slot) const;
    int position() const;
    // The text of the slot at the position; the position moves on and wraps after slot 8.
    QString next();

private:
    QStringList m_slots;
    int m_position = 4;
};

// The reveal line: its filler spaces go one per step from the left; once none is left its dots
// turn into spaces one per step, so the words stand apart. Then it stays as it is.
class RevealLine {
public:
    explicit RevealLine(QString line);
    QString text() const;
    // One step; false when the line did not change and never will again.
    bool step();

private:
    QString m_line;
    QString m_search = QStringLiteral(" ");
    QString m_replacement;
};
