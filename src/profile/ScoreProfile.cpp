#include "profile/ScoreProfile.h"

#include "common/TextValue.h"
#include "scoring/ScoringKey.h"
#include "store/DataSource.h"

ScoreProfile::Profile ScoreProfile::fromAnswers(const QStringList &answers) {
    Profile profile;
    profile.missing = missingItems(answers);
    if (!profile.isComplete())
        return profile;
    const QStringList scores = scoreTexts(answers);
    for (const ScoringKey::Style &keyStyle : ScoringKey::styles) {
        Style style;
        style.caption = QString::fromUtf8(keyStyle.caption);
        style.totalBox = keyStyle.totalBox;
        style.total = scores.at(keyStyle.totalBox);
        for (int box = keyStyle.firstBox; box < keyStyle.totalBox; ++box) {
            const ScoringKey::Mechanism *mechanism = ScoringKey::mechanismOfBox(box);
            const int items = int(std::size(mechanism->items));
            style.mechanisms << Bar{box, ScoringKey::boxLabel(box), scores.at(box), textValue(scores.at(box)) / items};
            style.itemCount += items;
        }
        style.mean = textValue(style.total) / style.itemCount;
        profile.styles << style;
    }
    return profile;
}

ScoreProfile::Examinee ScoreProfile::read(const QString &code) {
    Examinee examinee;
    DataSource answerRow(QStringLiteral("Answer"));
    answerRow.setFilter(QStringLiteral("Code"), code);
    if (answerRow.noCurrentRow())
        return examinee;
    examinee.found = true;
    examinee.code = answerRow.value(QStringLiteral("Code"));
    for (int item = 1; item <= ScoringKey::itemCount; ++item)
        examinee.answers << answerRow.value(QString::number(item));
    DataSource record(QStringLiteral("IDE"));
    record.setFilter(QStringLiteral("Code"), code);
    const auto field = [&record](const char *name) { return record.value(QLatin1String(name)); };
    examinee.firstName = field("FName");
    examinee.lastName = field("LName");
    examinee.sex = field("Jens");
    examinee.age = field("Sen");
    examinee.maritalStatus = field("Taahol");
    examinee.education = field("Tahsil");
    examinee.group = field("Group");
    examinee.date = field("Date");
    return examinee;
}
