#pragma once

#include <QString>

class DataSource;

// Deletes an examinee: the examinee row the first source stands on and the answer row the second
// stands on, in one transaction, so both go or, should either delete fail, neither. An examinee
// row without an answer row (a file written by an older program) is deleted alone; no examinee
// row means nothing is deleted. False with the failure's own description in error; the two
// sources are then re-read, as the rows they stood on are back.
bool deleteExamineeRows(DataSource &examinee, DataSource &answer, QString *error);
