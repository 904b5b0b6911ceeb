#pragma once

#include <QString>
#include <QStringList>

// Persian alphabetical order for lists of names: آ ا ب پ ت ث ج چ ح خ د ذ ر ز ژ س ش ص ض ط ظ ع غ ف ق
// ک گ ل م ن و ه ي. The Arabic kaf and yehs stand in the places of their Persian twins, a letter
// carrying a hamza in the place of its carrier; vowel marks, the tatweel and the zero-width
// non-joiner are passed over. Latin letters compare without regard to case, and other characters
// (digits, Latin, spaces) come before the Persian letters. Texts that the order holds equal keep
// the order of their code points, so a list always comes out the same.
namespace PersianOrder {
// A text that sorts, compared code unit by code unit, as the given one does in this order.
QString sortKey(const QString &text);
// Sorts the texts into this order.
void sort(QStringList &texts);
} // namespace PersianOrder
