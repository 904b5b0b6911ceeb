#include "examinees/RegistrationPanel.h"

#include "calendar/PersianCalendar.h"
#include "common/Twips.h"
#include "examinees/ExamineeBoxes.h"
#include "examinees/ExamineeRows.h"
#include "store/DataSource.h"
#include "store/FieldValues.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/Notices.h"
#include "widgets/SkinLabel.h"
#include "widgets/WaitingMessageBox.h"

#include <QComboBox>
#include <QDateTime>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int boxHeight = 435;
constexpr int listHeight = 405;
constexpr int labelGap = 30; // between a box and its label, on the box's right
} // namespace

RegistrationPanel::RegistrationPanel(QFrame *frame, const Sources &sources, std::function<void()> closePanels)
    : QObject(frame), m_frame(frame), m_sources(sources), m_closePanels(std::move(closePanels)) {
    Text11 = addBox("Text11", QStringLiteral(" :کد"), 5340, 300, 675, 600);
    Text11->setAlignment(Qt::AlignCenter);
    keepAsciiDigits(Text11);
    Text6 = addBox("Text6", QStringLiteral(" :نام"), 3180, 300, 1515, 585);
    Text4 = addBox("Text4", QStringLiteral(" :نام خانوادگي"), 120, 300, 1815, 1185);
    Text5 = addBox("Text5", QStringLiteral(" :سن"), 5400, 840, 675, 540);
    Text5->setMaxLength(2);
    DigitKeyFilter::install(Text5, '0', Notices::digitsOnly);
    Text15 = addHiddenBox("Text15");
    Combo1 = addList("Combo1", FieldValues::maritalStatuses(), QStringLiteral(" :تاهل"), 4005, 855, 915, 450, Text15);
    Text8 = addBox("Text8", QStringLiteral(" :تاريخ"), 2220, 840, 1155, 570);
    // The date fills its narrow box: no inner margins, or wider fonts cut off its first digit.
    Text8->setAlignment(Qt::AlignCenter);
    Text8->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
    Text9 = addBox("Text9", QStringLiteral(" :ساعت"), 120, 840, 1455, 585);
    Text16 = addHiddenBox("Text16");
    Combo2 = addList("Combo2", FieldValues::sexes(), QStringLiteral(" :جنس"), 4920, 1380, 1035, 660, Text16);
    Text17 = addHiddenBox("Text17");
    Combo3 = addList("Combo3", FieldValues::groups(), QStringLiteral(" :گروه"), 2940, 1380, 1395, 525, Text17);
    Text7 = addBox("Text7", QStringLiteral(" :تحصيلات"), 120, 1320, 1815, 945);

    Command8 = new QPushButton(QStringLiteral("ذخيره"), frame);
    Command8->setObjectName(QStringLiteral("Command8"));
    Command8->setGeometry(twipsRect(2040, 2220, 975, 555));
    connect(Command8, &QPushButton::clicked, this, &RegistrationPanel::save);
    Command10 = new QPushButton(QStringLiteral("انصراف"), frame);
    Command10->setObjectName(QStringLiteral("Command10"));
    Command10->setGeometry(twipsRect(960, 2220, 975, 555));
    connect(Command10, &QPushButton::clicked, this, &RegistrationPanel::cancel);

    ExamineeBoxes::bind(m_frame, ExamineeBoxes::Registration, m_sources.examinees);
}

QLineEdit *RegistrationPanel::addBox(const char *name, const QString &label, int left, int top, int width,
                                     int labelWidth) {
    auto *box = new QLineEdit(m_frame);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(twipsRect(left, top, width, boxHeight));
    addLabel(label, left + width + labelGap, top, labelWidth)->setBuddy(box);
    return box;
}

QComboBox *RegistrationPanel::addList(const char *name, const QStringList &items, const QString &label, int left,
                                      int top, int width, int labelWidth, QLineEdit *hiddenBox) {
    auto *list = new QComboBox(m_frame);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(twipsRect(left, top, width, listHeight));
    list->addItems(items);
    // Nothing shows until the user picks; the program never clears a pick.
    list->setCurrentIndex(-1);
    connect(list, &QComboBox::currentTextChanged, hiddenBox, &QLineEdit::setText);
    addLabel(label, left + width + labelGap, top, labelWidth)->setBuddy(list);
    return list;
}

QLineEdit *RegistrationPanel::addHiddenBox(const char *name) {
    auto *box = new QLineEdit(m_frame);
    box->setObjectName(QString::fromLatin1(name));
    box->hide();
    return box;
}

SkinLabel *RegistrationPanel::addLabel(const QString &caption, int left, int top, int width) {
    auto *label = new SkinLabel(m_frame);
    label->setWordWrap(false);
    label->setGeometry(twipsRect(left, top, width, boxHeight));
    label->setCaption(caption);
    return label;
}

void RegistrationPanel::begin() {
    m_sources.examinees->addNew();
    Text9->setText(ExamineeRows::timeOfDayText());
    Text8->setText(PersianDateText(QDateTime::currentDateTime(), 0));
    Text11->setFocus();
}

void RegistrationPanel::copyListPicks() {
    Text15->setText(Combo1->currentText());
    Text16->setText(Combo2->currentText());
    Text17->setText(Combo3->currentText());
}

bool RegistrationPanel::reportFirstEmptyField() {
    struct Check {
        QLineEdit *field;
        QWidget *focus;
        const Notice &notice;
    };
    const Check checks[] = {
        {Text11, Text11, Notices::codeMissing},   {Text6, Text6, Notices::firstNameMissing},
        {Text4, Text4, Notices::lastNameMissing}, {Text16, Combo2, Notices::sexMissing},
        {Text5, Text5, Notices::ageMissing},      {Text15, Combo1, Notices::maritalStatusMissing},
        {Text17, Combo3, Notices::groupMissing},  {Text7, Text7, Notices::educationMissing},
    };
    for (const Check &check : checks) {
        // Only a text that is exactly empty fails: spaces are a text.
        if (check.field->text().isEmpty()) {
            refuse(check.focus, check.notice);
            return true;
        }
    }
    return false;
}

void RegistrationPanel::refuse(QWidget *focus, const Notice &notice) {
    showNotice(m_frame->window(), notice);
    focus->setFocus();
}

void RegistrationPanel::save() {
    copyListPicks();
    if (reportFirstEmptyField())
        return;
    if (ExamineeRows::codeInUse(*m_sources.examineeCheck, *m_sources.answerCheck, Text11->text())) {
        refuse(Text11, Notices::codeInUse);
        Text11->selectAll();
        return;
    }
    QString error;
    if (!ExamineeRows::registerExaminee(*m_sources.examinees, *m_sources.answers, &error)) {
        // Nothing is stored; the panel keeps what was typed, so the save can be tried again.
        WaitingMessageBox::show(m_frame->window(), error, QStringLiteral("Error"), QMessageBox::Warning);
        return;
    }
    m_sources.examinees->refresh();
    m_sources.answers->refresh();
    m_closePanels();
}

void RegistrationPanel::cancel() {
    m_sources.examinees->refresh();
    m_closePanels();
}
