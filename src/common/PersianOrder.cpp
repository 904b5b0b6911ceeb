#include "common/PersianOrder.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace {
// Each letter's place, from 1, by its code less U+0600 (all of them lie in the Arabic block); 0
// for characters that are no letter of the alphabet. Letters that share a place sort as one letter.
const std::array<char16_t, 256> &places() {
    static const std::array<char16_t, 256> table = []() {
        // One group per place, in the alphabet's order, the letter of the alphabet first; a space
        // ends a group.
        const std::u16string_view alphabet =
            u"\u0622 \u0627\u0623\u0625\u0671 \u0628 \u067E \u062A \u062B \u062C \u0686 \u062D \u062E \u062F "
            u"\u0630 \u0631 \u0632 \u0698 \u0633 \u0634 \u0635 \u0636 \u0637 \u0638 \u0639 \u063A \u0641 \u0642 "
            u"\u06A9\u0643 \u06AF \u0644 \u0645 \u0646 \u0648\u0624 \u0647\u0629\u06C0 \u064A\u06CC\u0649\u0626";
        std::array<char16_t, 256> built{};
        char16_t place = 1;
        for (const char16_t letter : alphabet) {
            if (letter == u' ')
                ++place;
            else
                built[letter - 0x0600] = place;
        }
        return built;
    }();
    return table;
}

// Marks that the order passes over: the vowel marks, the tatweel and the zero-width non-joiner.
bool passedOver(char16_t code) {
    return (code >= 0x064B && code <= 0x065F) || code == 0x0670 || code == 0x0640 || code == 0x200C;
}

// Above every other character of the basic plane but the private and compatibility ranges.
constexpr char16_t firstLetterCode = 0xE000;
} // namespace

namespace PersianOrder {
QString sortKey(const QString &text) {
    QString key;
    key.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (passedOver(code))
            continue;
        const char16_t place = code >= 0x0600 && code <= 0x06FF ? places()[code - 0x0600] : 0;
        if (place)
            key += QChar(char16_t(firstLetterCode + place));
        else
            key += code < 128 ? ch.toLower() : ch;
    }
    return key;
}

void sort(QStringList &texts) {
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(texts.size());
    for (QString &text : texts)
        keyed.emplace_back(sortKey(text), std::move(text));
    std::sort(keyed.begin(), keyed.end());
    for (qsizetype i = 0; i < texts.size(); ++i)
        texts[i] = std::move(keyed[i].second);
}
} // namespace PersianOrder
