#include "examinees/ExamineeBoxes.h"

#include "widgets/FieldBinding.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
// By field, the box in the registration panel (the lists' picks go into hidden boxes), in the
// result sheet and in the test window.
const char *const boxNames[ExamineeFields::count][3] = {
    {"Text11", "Text15", "Text1"},  // Code
    {"Text6", "Text23_3", "Text3"}, // FName (Text23_3: the one box of its control array, index 3)
    {"Text4", "Text12", "Text4"},   // LName
    {"Text16", "Combo2", "Combo2"}, // Jens
    {"Text5", "Text6", "Text5"},    // Sen
    {"Text15", "Combo1", "Combo1"}, // Taahol
    {"Text7", "Text7", "Text7"},    // Tahsil
    {"Text8", "Text8", "Text8"},    // Date
    {"Text9", "Text9", "Text9"},    // Time
    {"Text17", "Combo3", "Combo3"}, // Group
};
} // namespace

namespace ExamineeBoxes {
QString name(ExamineeFields::Field field, Form form) { return QString::fromLatin1(boxNames[field][form]); }

void bind(const QWidget *container, Form form, DataSource *examinee) {
    for (int index = 0; index < ExamineeFields::count; ++index) {
        const auto field = ExamineeFields::Field(index);
        QWidget *box = container->findChild<QWidget *>(name(field, form));
        Q_ASSERT(box);
        if (auto *list = qobject_cast<QComboBox *>(box))
            FieldBinding::bind(list, examinee, ExamineeFields::name(field));
        else
            FieldBinding::bind(qobject_cast<QLineEdit *>(box), examinee, ExamineeFields::name(field));
    }
}
} // namespace ExamineeBoxes
