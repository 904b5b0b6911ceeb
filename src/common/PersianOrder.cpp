#include "common/PersianOrder.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

namespace {
// Each letter's place, from 1; letters that share a place sort as one letter.
const QHash<char16_t, char16_t> &places() {
    static const QHash<char16_t, char16_t> table = []() {
        // One group per place, the letter of the alphabet first.
        const std::u16string_view alphabet[] = {u"\u0622",
                                                u"\u0627\u0623\u0625\u0671",
                                                u"\u0628",
                                                u"\u067E",
                                                u"\u062A",
                                                u"\u062B",
                                                u"\u062C",
                                                u"\u0686",
                                                u"\u062D",
                                                u"\u062E",
                                                u"\u062F",
                                                u"\u0630",
                                                u"\u0631",
                                                u"\u0632",
                                                u"\u0698",
                                                u"\u0633",
                                                u"\u0634",
                                                u"\u0635",
                                                u"\u0636",
                                                u"\u0637",
                                                u"\u0638",
                                                u"\u0639",
                                                u"\u063A",
                                                u"\u0641",
                                                u"\u0642",
                                                u"\u06A9\u0643",
                                                u"\u06AF",
                                                u"\u0644",
                                                u"\u0645",
                                                u"\u0646",
                                                u"\u0648\u0624",
                                                u"\u0647\u0629\u06C0",
                                                u"\u064A\u06CC\u0649\u0626"};
        QHash<char16_t, char16_t> built;
        char16_t place = 0;
        for (const std::u16string_view group : alphabet) {
            ++place;
            for (const char16_t letter : group)
                built.insert(letter, place);
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
        if (const auto place = places().constFind(code); place != places().cend())
            key += QChar(char16_t(firstLetterCode + *place));
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
