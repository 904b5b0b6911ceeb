#pragma once

#include <QString>

class DataSource;

// The two rows of one examinee, the examinee row in IDE and the answer row in Answer, joined by
// the examinee code. Writes that touch both go through one transaction: both rows or neither.
namespace ExamineeRows {
// The registration time: the time of day in the system's regional long time format, without the
// time zone some regions add to it.
QString timeOfDayText();

// Whether a stored examinee row or answer row holds the code, as look-ups compare codes (the case
// of Latin letters aside). Codes are stored and looked up with ASCII digits: the code is taken as
// typed, its Persian or Arabic-Indic digits being the digits they are ("۱۲" is the code "12"). An answer row without
// its examinee row counts: a second answer row with that code would be mistaken for it. Both sources are filtered on
// the code, and re-read when it is in use (a filter that matched nothing costs nothing to keep). `ownCode` names the
// examinee that is changing its own code: its own two rows do not count.
bool codeInUse(DataSource &examinees, DataSource &answers, const QString &code, const QString &ownCode = {});

// Stores the examinee source's new row and a new answer row with the same code and forty empty
// answers (through the answer source). On failure nothing is stored, the examinee source stands
// again on an unsaved new row holding the values it had, and error tells why. codeTaken, when
// given, says whether the code was registered by another workstation since codeInUse looked.
bool registerExaminee(DataSource &examinees, DataSource &answers, QString *error, bool *codeTaken = nullptr);

// What became of a change of the examinee's details.
enum class DetailsSave { Saved, CodeMissing, CodeInUse, Failed };

// Stores the changes of the examinee's row and carries a changed code to the examinee's answer row,
// both current rows of their sources, in one transaction (an examinee whose answer row is gone has
// its own row stored alone). storedCode is the code the examinee's rows hold in the file. An empty
// code is refused, and so is a changed code that another examinee holds, as codeInUse finds it
// through examineeCheck and answerCheck; nothing is stored then. On failure nothing is stored; both
// sources stand again on the examinee's stored rows, the examinee row showing the changes once more
// (with the server's connection lost they cannot be read again: they stay as edited, their changes
// unsaved, for the same save to be tried again); error tells why.
DetailsSave saveExaminee(DataSource &examinee, DataSource &answerRow, const QString &storedCode,
                         DataSource &examineeCheck, DataSource &answerCheck, QString *error);
} // namespace ExamineeRows
