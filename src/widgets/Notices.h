#pragma once

#include "widgets/TimedMessageBox.h"

#include <QString>

// The short notices of the program, each with the delay after which its timed box closes itself.
// One table for every window, so a text or a delay is changed in one place.
struct Notice {
    const char *text; // UTF-8
    int delayMs;
};

namespace Notices {
// Registration save: the first empty field, in the order the fields are checked.
inline constexpr Notice codeMissing{"کد آزمودني را وارد کنيد", 1000};
inline constexpr Notice firstNameMissing{"نام آزمودني را وارد کنيد", 1000};
inline constexpr Notice lastNameMissing{"نام خانوادگي آزمودني را وارد کنيد", 1000};
inline constexpr Notice sexMissing{"جنسيت آزمودني را مشخص کنيد", 1000};
inline constexpr Notice ageMissing{"سن آزمودني را وارد کنيد", 1000};
inline constexpr Notice maritalStatusMissing{"وضعيت تاهل آزمودني را مشخص کنيد", 1000};
inline constexpr Notice groupMissing{"گروه را مشخص کنيد", 1000};
inline constexpr Notice educationMissing{"ميزان تحصيلات آزمودني را وارد کنيد", 1000};
// Registration save: another examinee already holds the code.
inline constexpr Notice codeInUse{"فردديگري با اين کد ثبت شده", 1000};
// Age and item-number boxes: a key other than a digit.
inline constexpr Notice digitsOnly{"شما بايد عدد وارد كنيد", 1000};
// Run test, select examinee, delete: no code entered.
inline constexpr Notice examineeCodeMissing{"شما بايد شماره آزمودني مورد نظر را وارد كنيد", 1000};
// Run test, select examinee: no examinee holds the code.
inline constexpr Notice examineeNotFound{"فردي با اين مشخصات وجود ندارد", 1000};
// Answer box: a key other than 1 to 9.
inline constexpr Notice answerOutOfScale{"شما بايد از اعداد بين 1 تا 9 جهت پاسخگويي استفاده نماييد", 3000};
// Test window: item number before the first item; past the last item (pages window: past the last page).
inline constexpr Notice itemBeforeFirst{"شروع", 1000};
inline constexpr Notice endReached{"پايان", 1000};
// Result sheet: the examinee record saved.
inline constexpr Notice changesSaved{"تغييرات ذخيره شد", 1000};
// Print without a selected examinee.
inline constexpr Notice printNeedsExaminee{"ابتدا روي انتخاب آزمودني کليک کرده سپس کد آزمودني را وارد کنيد بعد روي پرينت کليک کنيد ", 2000};
// Examinee directory: no examinee holds the code to delete; deletion done.
inline constexpr Notice deleteCodeNotFound{"فردي با اين کد وجود ندارد", 1000};
inline constexpr Notice deleteDone{"حذف با موفقيت انجام گرفت", 1000};
// Profile and export: the file chosen has been written whole.
inline constexpr Notice fileSaved{"فايل ذخيره شد", 1000};
} // namespace Notices

// Shows the notice in a timed box owned by the given window; returns when the box has closed.
inline void showNotice(QWidget *owner, const Notice &notice) {
    TimedMessageBox::show(owner, QString::fromUtf8(notice.text), notice.delayMs);
}
