#include "examinees/ExamineeDetailsForm.h"

#include "common/Twips.h"
#include "store/FieldValues.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/Notices.h"
#include "widgets/SkinLabel.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
constexpr int boxHeight = 435;
constexpr int listHeight = 405;

const char *const captions[ExamineeFields::count] = {
    " :کد",         " :نام",           " :نام خانوادگي", " :جنس",  " :سن",
    " :وضعيت تاهل", " :ميزان تحصيلات", " :تاريخ",        " :ساعت", " :گروه",
};

// In twips, on the frame.
struct Place {
    int left;
    int top;
    int width;
};
struct BoxAndLabel {
    Place box;
    Place label;
};

// By field. Each label stands to the right of its box, as wide as the room up to the next control.
constexpr BoxAndLabel resultSheetPlaces[ExamineeFields::count] = {
    {{8040, 180, 675}, {8700, 180, 735}},   {{5880, 180, 1515}, {7380, 180, 660}},
    {{3000, 180, 1635}, {4620, 240, 1260}}, {{1440, 180, 990}, {2400, 240, 600}},
    {{180, 180, 675}, {840, 240, 600}},     {{7290, 855, 915}, {8160, 900, 1275}},
    {{4260, 840, 1455}, {5700, 900, 1590}}, {{2220, 840, 1455}, {3660, 900, 600}},
    {{120, 840, 1455}, {1560, 900, 660}},   {{6885, 1350, 1395}, {8235, 1395, 1200}},
};
constexpr BoxAndLabel testWindowPlaces[ExamineeFields::count] = {
    {{8040, 180, 675}, {8700, 180, 765}},   {{5880, 180, 1515}, {7380, 180, 630}},
    {{3000, 180, 1635}, {4620, 240, 1230}}, {{1440, 180, 990}, {2400, 240, 570}},
    {{180, 180, 675}, {840, 240, 570}},     {{7290, 855, 915}, {8160, 900, 1305}},
    {{4260, 840, 1455}, {5700, 900, 1560}}, {{2220, 840, 1455}, {3660, 900, 570}},
    {{120, 840, 1455}, {1560, 900, 630}},   {{6930, 1305, 1395}, {8325, 1305, 1140}},
};
// The result sheet names its labels.
const char *const resultSheetLabelNames[ExamineeFields::count] = {
    "CodeLabel",          "FirstNameLabel", "FamilyNameLabel", "SexLabel",  "AgeLabel",
    "MaritalStatusLabel", "EducationLabel", "DateLabel",       "TimeLabel", "GroupLabel",
};

QStringList listEntries(ExamineeFields::Field field) {
    switch (field) {
    case ExamineeFields::Sex:
        return FieldValues::sexes();
    case ExamineeFields::MaritalStatus:
        return FieldValues::maritalStatuses();
    case ExamineeFields::Group:
        return FieldValues::groups();
    default:
        return {};
    }
}
} // namespace

ExamineeDetailsForm::ExamineeDetailsForm(QWidget *frame, ExamineeBoxes::Form form) : QWidget(frame), m_form(form) {
    setGeometry(frame->rect());
    const BoxAndLabel *places = form == ExamineeBoxes::ResultSheet ? resultSheetPlaces : testWindowPlaces;
    for (int index = 0; index < ExamineeFields::count; ++index) {
        const auto field = ExamineeFields::Field(index);
        const Place &place = places[index].box;
        const QStringList entries = listEntries(field);
        QWidget *box = nullptr;
        if (entries.isEmpty()) {
            box = new QLineEdit(this);
            box->setGeometry(twipsRect(place.left, place.top, place.width, boxHeight));
        } else {
            auto *list = new QComboBox(this);
            list->setGeometry(twipsRect(place.left, place.top, place.width, listHeight));
            list->addItems(entries);
            box = list;
        }
        box->setObjectName(ExamineeBoxes::name(field, form));
        m_boxes[index] = box;
        addLabel(box, QString::fromUtf8(captions[index]), index);
    }
    keepAsciiDigits(codeBox());
    auto *age = static_cast<QLineEdit *>(m_boxes[ExamineeFields::Age]);
    age->setMaxLength(3);
    // The test window's age box takes digits alone; the result sheet's takes any text.
    if (form == ExamineeBoxes::TestWindow)
        DigitKeyFilter::install(age, '0', Notices::digitsOnly);
    else
        keepAsciiDigits(age);
}

// The result sheet's captions are written colon first, after a blank: they read correctly in a
// left-to-right line, which puts the colon next to the field on their left.
void ExamineeDetailsForm::addLabel(QWidget *box, const QString &caption, int field) {
    auto *label = new SkinLabel(this);
    label->setBuddy(box);
    if (m_form == ExamineeBoxes::ResultSheet) {
        const Place &place = resultSheetPlaces[field].label;
        label->setObjectName(QString::fromLatin1(resultSheetLabelNames[field]));
        label->setLayoutDirection(Qt::LeftToRight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setGeometry(twipsRect(place.left, place.top, place.width, 285));
    } else {
        const Place &place = testWindowPlaces[field].label;
        label->setWordWrap(false);
        label->setGeometry(twipsRect(place.left, place.top, place.width, boxHeight));
    }
    label->setCaption(caption);
}

void ExamineeDetailsForm::bind(DataSource *examinee) { ExamineeBoxes::bind(this, m_form, examinee); }

QLineEdit *ExamineeDetailsForm::codeBox() const { return static_cast<QLineEdit *>(m_boxes[ExamineeFields::Code]); }

QString ExamineeDetailsForm::text(ExamineeFields::Field field) const {
    if (auto *list = qobject_cast<QComboBox *>(m_boxes[field]))
        return list->currentText();
    return static_cast<QLineEdit *>(m_boxes[field])->text();
}
