#pragma once

#include <QString>

// The fields of the examinee row (IDE) that the program writes, in the order the details forms
// show them.
namespace ExamineeFields {
enum Field { Code, FirstName, LastName, Sex, Age, MaritalStatus, Education, Date, Time, Group };
constexpr int count = Group + 1;

// The field's name in the examinee table.
QString name(Field field);
} // namespace ExamineeFields
