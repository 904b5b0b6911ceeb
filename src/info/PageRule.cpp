#include "info/PageRule.h"

#include "common/AsciiDigits.h"
#include "common/TextValue.h"

#include <cmath>

namespace PageRule {

double value(const QString &text) { return textValue(withAsciiDigits(text)); }

Step step(double value) {
    if (value > lastPage)
        return Step::PastLastPage;
    if (value == 0)
        return Step::FirstPage;
    if (value >= 1)
        return Step::ShowPage;
    return Step::KeepPage;
}

// std::nearbyint rounds in the default mode, to the nearest with halves to even (2.5 is page 2).
int page(double value) { return static_cast<int>(std::nearbyint(value)); }

QString moved(const QString &text, int pages) { return QString::number(value(text) + pages, 'g', 15); }

} // namespace PageRule
