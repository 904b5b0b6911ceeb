#include "examinees/ExamineeFields.h"

#include "store/Schema.h"

namespace ExamineeFields {
QString name(Field field) {
    static const QLatin1String names[count] = {Schema::code, Schema::firstName,     Schema::lastName,  Schema::sex,
                                               Schema::age,  Schema::maritalStatus, Schema::education, Schema::date,
                                               Schema::time, Schema::group};
    return names[field];
}
} // namespace ExamineeFields
