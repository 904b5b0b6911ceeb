#pragma once

#include <QString>

// What the text of the pages window's page-number box asks for. The box may hold anything the
// user types; its value is its leading number (Persian and Arabic-Indic digits read as the digits
// they are, no number at all reads as 0).
namespace PageRule {

constexpr int lastPage = 5;

enum class Step {
    PastLastPage, // above the last page: the end is announced and the box goes back to the last page
    FirstPage,    // 0: the box is set to the first page
    ShowPage,     // 1 to 5: that page, halves rounded to the even page
    KeepPage,     // below 1 but not 0 (negative, or a fraction): the page shown stays
};

double value(const QString &text);
Step step(double value);
// The page shown for a value of 1 to 5: the nearest whole page, halves to the even one.
int page(double value);
// The box's text after "بعد" (+1) or "قبل" (-1): its value moved by one page.
QString moved(const QString &text, int pages);

} // namespace PageRule
