#include "scoring/ScoringKey.h"

#include "common/TextValue.h"

#include <QLocale>

#include <cmath>

namespace {
// A number as the score boxes show it: plain decimals, no exponent, no group separators, no
// trailing zeros, and never "-0".
QString plainDecimal(double value) {
    // Sums of answers are whole numbers: written as integers, without the general conversion.
    if (std::abs(value) < 1e15 && value == std::trunc(value))
        return QString::number(qint64(value));
    return QString::number(value + 0.0, 'f', QLocale::FloatingPointShortest);
}

QString answerAt(const QStringList &answers, int item) { return answers.value(item - 1); }
} // namespace

const ScoringKey::Mechanism *ScoringKey::mechanismOfBox(int box) {
    for (const Mechanism &mechanism : mechanisms) {
        if (mechanism.box == box)
            return &mechanism;
    }
    return nullptr;
}

int ScoringKey::boxOfItem(int item) {
    for (const Mechanism &mechanism : mechanisms) {
        if (mechanism.items[0] == item || mechanism.items[1] == item)
            return mechanism.box;
    }
    return -1;
}

QString ScoringKey::boxLabel(int box) {
    if (const Mechanism *mechanism = mechanismOfBox(box))
        return QString::fromUtf8(mechanism->label);
    return box >= 0 && box < boxCount ? QString::fromUtf8(totalLabel) : QString();
}

QString ScoringKey::reportLabel(int box) {
    const Mechanism *mechanism = mechanismOfBox(box);
    if (mechanism && mechanism->reportLabel)
        return QString::fromUtf8(mechanism->reportLabel);
    return boxLabel(box);
}

QStringList scoreTexts(const QStringList &answers) {
    QStringList texts(ScoringKey::boxCount);
    for (const ScoringKey::Style &style : ScoringKey::styles) {
        for (int box = style.firstBox; box < style.totalBox; ++box) {
            const ScoringKey::Mechanism *mechanism = ScoringKey::mechanismOfBox(box);
            texts[box] = plainDecimal(textValue(answerAt(answers, mechanism->items[0])) +
                                      textValue(answerAt(answers, mechanism->items[1])));
        }
        // The total is read back from the texts just written, as the user sees them.
        double total = 0;
        for (int i = 0; i < style.totalBox - style.firstBox; ++i)
            total += textValue(texts.at(style.addsDownwards ? style.totalBox - 1 - i : style.firstBox + i));
        texts[style.totalBox] = plainDecimal(total);
    }
    return texts;
}

QString missingItems(const QStringList &answers) {
    QString missing;
    for (int item = 1; item <= ScoringKey::itemCount; ++item) {
        if (answerAt(answers, item).isEmpty())
            missing += QString::number(item) + QStringLiteral("  ");
    }
    return missing;
}
