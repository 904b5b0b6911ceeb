#include "profile/ScoreProfile.h"

#include "common/TextValue.h"
#include "scoring/ScoringKey.h"
#include "store/DataSource.h"
#include "store/Schema.h"

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
    DataSource answerRow(Schema::answerTable);
    answerRow.setFilter(Schema::code, code);
    if (answerRow.noCurrentRow())
        return examinee;
    examinee.found = true;
    examinee.code = answerRow.value(Schema::code);
    for (int item = 1; item <= ScoringKey::itemCount; ++item)
        examinee.answers << answerRow.value(QString::number(item));
    DataSource record(Schema::examineeTable);
    record.setFilter(Schema::code, code);
    examinee.firstName = record.value(Schema::firstName);
    examinee.lastName = record.value(Schema::lastName);
    examinee.sex = record.value(Schema::sex);
    examinee.age = record.value(Schema::age);
    examinee.maritalStatus = record.value(Schema::maritalStatus);
    examinee.education = record.value(Schema::education);
    examinee.group = record.value(Schema::group);
    examinee.date = record.value(Schema::date);
    return examinee;
}
