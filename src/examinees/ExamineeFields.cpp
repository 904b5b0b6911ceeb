#include "examinees/ExamineeFields.h"

namespace ExamineeFields {
QString name(Field field) {
    static const char *const names[count] = {"Code",   "FName",  "LName", "Jens", "Sen",
                                             "Taahol", "Tahsil", "Date",  "Time", "Group"};
    return QString::fromLatin1(names[field]);
}
} // namespace ExamineeFields
