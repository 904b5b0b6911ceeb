#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The scoring key of the questionnaire: each of the 20 mechanism scores is the sum of the values of
// two answers (every item counts once), and each of the three style scores is the sum of its
// mechanism scores. Scores are raw sums: nothing reversed, averaged or cut off. The 23 score boxes
// are numbered as the result sheet shows them: the immature mechanisms 0 to 11 and their total 12,
// the mature 13 to 16 and total 17, the neurotic 18 to 21 and total 22.
namespace ScoringKey {
inline constexpr int itemCount = 40;
inline constexpr int boxCount = 23;

struct Mechanism {
    int box;
    int items[2];            // 1 to 40
    const char *label;       // UTF-8: the caption above the box on the result sheet
    const char *reportLabel; // UTF-8: the caption in the printed report where it differs, else null
};

struct Style {
    const char *caption; // UTF-8: the caption of the style's frame
    int firstBox;        // its mechanisms are the boxes firstBox to totalBox - 1
    int totalBox;
    // The order in which the total adds its mechanisms up (it only matters for answers that are
    // not whole numbers): the immature total from its last mechanism down, the others upwards.
    bool addsDownwards;
};

inline constexpr std::array<Mechanism, 20> mechanisms{{
    {0, {4, 16}, "دليل تراشي", nullptr},
    {1, {6, 29}, "فرافکني", nullptr},
    {2, {8, 18}, "انکار", nullptr},
    {3, {9, 15}, "همه کار تواني", nullptr},
    {4, {10, 13}, "نا ارزنده سازي", "ناارزنده سازي"},
    {5, {11, 20}, "گذار به عمل", "گذر به عمل"},
    {6, {12, 27}, "بدني سازي", nullptr},
    {7, {14, 17}, "خيال پردازي اوتستيک", "خيالپردازي اوتيستيک"},
    {8, {19, 22}, "لايه سازي", nullptr},
    {9, {23, 36}, "پرخاشگري منفعلانه", nullptr},
    {10, {31, 33}, "جابجايي", nullptr},
    {11, {34, 37}, "مجزا سازي", nullptr},
    {13, {2, 25}, "فرونشاني", nullptr},
    {14, {3, 38}, "والايش", nullptr},
    {15, {5, 26}, "شوخ طبعي", nullptr},
    {16, {30, 35}, "پيشاپيش نگري", nullptr},
    {18, {1, 39}, "ديگردوستي کاذب", nullptr},
    {19, {7, 28}, "تشکل واکنشي", nullptr},
    {20, {21, 24}, "عقلاني سازي", nullptr},
    {21, {32, 40}, "ابطال", nullptr},
}};

inline constexpr std::array<Style, 3> styles{{
    {"رشد نايافته", 0, 12, true},
    {"رشد يافته", 13, 17, false},
    {"روان آزرده", 18, 22, false},
}};

// The caption of the style totals, on the sheet and in the report.
inline constexpr const char *totalLabel = "نمره کل";

// The mechanism of a score box; null for the three totals and for numbers outside 0 to 22.
const Mechanism *mechanismOfBox(int box);
// The score box an item counts towards (item 1 to 40); -1 for any other number.
int boxOfItem(int item);
// The caption of a score box on the result sheet and in the printed report.
QString boxLabel(int box);
QString reportLabel(int box);
} // namespace ScoringKey

// The 40 answer texts in item order (a missing text counts as empty) -> the 23 score-box texts in
// box order, each the plain decimal form of its sum of text values (common/TextValue.h). The
// style totals add up the values of the mechanism texts as written.
QStringList scoreTexts(const QStringList &answers);
// What the user is told when answers are missing, before the list of missingItems.
inline constexpr const char *refusalText =
    "شما به سوالات زير پاسخ نداده ايد و تا به تمام سوالات پاسخ ندهيد نمي توانيد نمره گذاري را انجام دهيد";

// The items whose answer text is exactly empty, each number followed by two spaces ("3  17  "),
// in item order; empty when all 40 are answered. An answer of blanks counts as answered.
QString missingItems(const QStringList &answers);
