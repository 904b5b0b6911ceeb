#pragma once

#include <QLatin1String>
#include <QStringList>

// The names of Kelto's tables and fields, as every database file and every statement spells them.
namespace Schema {
// The examinees, one row per registration.
inline constexpr QLatin1String examineeTable("IDE");
// The 40 answers of each examinee, one row per registration.
inline constexpr QLatin1String answerTable("Answer");
// The 40 item texts, row ID = item number.
inline constexpr QLatin1String itemTable("QUS");
// The one settings row: theme and clinic.
inline constexpr QLatin1String settingsTable("Theme");

// The automatic row number of the examinee, answer and item tables.
inline constexpr QLatin1String id("ID");
// In the examinee and the answer tables.
inline constexpr QLatin1String code("Code");

// The examinee's fields.
inline constexpr QLatin1String firstName("FName");
inline constexpr QLatin1String lastName("LName");
inline constexpr QLatin1String sex("Jens");
inline constexpr QLatin1String age("Sen");
inline constexpr QLatin1String maritalStatus("Taahol");
inline constexpr QLatin1String education("Tahsil");
inline constexpr QLatin1String group("Group");
inline constexpr QLatin1String date("Date");
inline constexpr QLatin1String time("Time");

// The item table's text.
inline constexpr QLatin1String itemText("QU");

// The settings row's fields.
inline constexpr QLatin1String theme("TH");
inline constexpr QLatin1String clinicName("Name");
inline constexpr QLatin1String clinicAddress("Adress");

// Every field of the examinee row but its ID, in the table's order.
inline QStringList examineeFields() {
    return {code, firstName, lastName, sex, age, maritalStatus, education, group, date, time};
}

// An answer's field: its item number, 1 to 40.
inline QString answerField(int item) { return QString::number(item); }
inline constexpr int answerCount = 40;

// Every field of the answer row but its ID: the code, then the 40 answers.
inline QStringList answerFields() {
    QStringList fields{code};
    for (int item = 1; item <= answerCount; ++item)
        fields << answerField(item);
    return fields;
}

// One of the four tables: every field but the automatic ID, all of them text; and whether it has
// that ID in a file (the settings row has none there; on a server every table has it).
struct Table {
    QLatin1String name;
    QStringList textFields;
    bool hasId;
};

inline QList<Table> tables() {
    return {
        {examineeTable, examineeFields(), true},
        {answerTable, answerFields(), true},
        {itemTable, {itemText}, true},
        {settingsTable, {theme, clinicName, clinicAddress}, false},
    };
}
} // namespace Schema
