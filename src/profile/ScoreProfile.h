#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An examinee's scores as a profile: each mechanism as the mean rating of its two items and each
// style as the mean rating of all its items, so that every bar shares the answer scale of 1 to 9
// with the others whatever the number of items behind it. The numbers come from the scoring key's
// own sums (scoreTexts); nothing is scored a second way.
namespace ScoreProfile {
inline constexpr double scaleLow = 1;
inline constexpr double scaleHigh = 9;
inline constexpr double scaleMidpoint = 5;

struct Bar {
    int box;       // the score box of the result sheet
    QString label; // its caption on the result sheet
    QString score; // the raw sum, as the result sheet shows it
    double mean;   // on the answer scale
};

struct Style {
    QString caption;
    int totalBox;
    QString total; // the raw style score
    int itemCount = 0;
    double mean = 0;
    QList<Bar> mechanisms;
};

struct Profile {
    // The refusal's list ("3  17  "): empty when all 40 items are answered. Without answers to
    // every item there is no profile and styles stays empty.
    QString missing;
    QList<Style> styles;

    bool isComplete() const { return missing.isEmpty(); }
};

// The profile of the 40 answer texts in item order.
Profile fromAnswers(const QStringList &answers);

// One examinee looked up by code as the scoring window looks them up: the answer row decides
// whether the examinee is there (a code without one has nothing to show); the record may be empty.
struct Examinee {
    bool found = false;
    QString code; // as stored
    QString firstName, lastName, sex, age, maritalStatus, education, group, date;
    QStringList answers;
};
Examinee read(const QString &code);
} // namespace ScoreProfile
