#include "testrun/FrmTest.h"

#include "common/TextValue.h"
#include "common/Twips.h"
#include "examinees/ExamineeRows.h"
#include "store/DataSource.h"
#include "store/FieldValues.h"
#include "store/ItemTexts.h"
#include "store/Schema.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/FieldBinding.h"
#include "widgets/Notices.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"
#include "widgets/WaitingMessageBox.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int firstItem = 1;
constexpr int lastItem = 40;
constexpr int boxHeight = 435;
constexpr int listHeight = 405;

const QString codeField = Schema::code;

// The instructions, then the scale's legend, each ending with a line break.
// clang-format off
const char *const instructionsText = "پرسشنامه حاضر در برگيرنده عبارت هايي در مورد نگرش شخصي شماست، بدين خاطر پاسخ هاي درست و غلط در آن وجود ندارد. لطفا ميزان موافقت خود را با جمله هاي زير با انتخاب يکي از گزينه هاي مقياس زير مشخص نماييد";
// clang-format on
const char *const scaleLegend = "کاملا مخالفم =1 ...2 ... 3 ...4 ... 5 ... 6.... 7 ... 8  ... 9= کاملا موافقم";

QString instructions() {
    return QString::fromUtf8(instructionsText) + QLatin1Char('\n') + QString::fromUtf8(scaleLegend) + QLatin1Char('\n');
}
} // namespace

FrmTest::FrmTest(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmTest"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("صفحه اجراي تست"));
    setFixedSize(twipsSize(10215, 8055));
    buildControls();

    // Loading: the place on the screen, the skin, the start screen's labels, the answer frame.
    move(twipsPoint(2340, 765));
    applyTheme(Skin1, this, Text2->text());
    SkinLabel4->setGeometry(twipsRect(600, 2700, 9075, 4095));
    SkinLabel4->show();
    SkinLabel3->setGeometry(twipsRect(1200, 600, 7635, 1515));
    SkinLabel3->show();
    CmdNext->hide();
    CmdBack->hide();
    Frame2->setGeometry(twipsRect(4140, 3600, 1335, 1275));
    fitInstructions();
}

// The instructions stay visible during the test: whatever the skin's font, they must end above the
// answer frame and the buttons, so a font that would run into them is made smaller.
void FrmTest::fitInstructions() {
    SkinLabel4->ensurePolished();
    QFont font = SkinLabel4->font();
    const QString text = SkinLabel4->caption().trimmed();
    const QRect room(0, 0, SkinLabel4->width(), twips(3600 - 2700));
    auto fits = [&](const QFont &candidate) {
        return QFontMetrics(candidate).boundingRect(room, Qt::TextWordWrap, text).height() <= room.height();
    };
    while (font.pointSizeF() > 6 && !fits(font))
        font.setPointSizeF(font.pointSizeF() - 0.5);
    SkinLabel4->setFont(font);
}

void FrmTest::buildControls() {
    Skin1 = new SkinObject(this);
    Skin1->setObjectName(QStringLiteral("Skin1"));
    auto source = [this](const char *name, const QString &table) {
        auto *dataSource = new DataSource(table, this);
        dataSource->setObjectName(QString::fromLatin1(name));
        return dataSource;
    };
    Adodc1 = source("Adodc1", Schema::settingsTable);
    Adodc2 = source("Adodc2", Schema::answerTable);
    Adodc3 = source("Adodc3", Schema::examineeTable);
    Adodc4 = source("Adodc4", Schema::answerTable);
    Adodc5 = source("Adodc5", Schema::examineeTable);
    Adodc6 = source("Adodc6", Schema::itemTable);
    connect(Adodc2, &DataSource::valueChanged, this, &FrmTest::storeAnswer);

    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->hide();
    FieldBinding::bind(Text2, Adodc1, Schema::theme);

    SkinLabel3 = new SkinLabel(this);
    SkinLabel3->setObjectName(QStringLiteral("SkinLabel3"));
    SkinLabel3->setAlignment(Qt::AlignCenter);
    QFont titleFont = SkinLabel3->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    SkinLabel3->setFont(titleFont);
    SkinLabel3->setCaption(questionnaireTitle());

    SkinLabel4 = new SkinLabel(this);
    SkinLabel4->setObjectName(QStringLiteral("SkinLabel4"));
    SkinLabel4->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    SkinLabel4->setCaption(instructions());

    buildDetailsFrame();

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setAlignment(Qt::AlignHCenter);
    Frame2->hide();
    Text12 = new QLineEdit(Frame2);
    Text12->setObjectName(QStringLiteral("Text12"));
    Text12->setGeometry(twipsRect(225, 360, 870, 645));
    Text12->setMaxLength(1);
    Text12->setAlignment(Qt::AlignCenter);
    QFont answerFont = Text12->font();
    answerFont.setPointSizeF(answerFont.pointSizeF() * 2);
    answerFont.setBold(true);
    Text12->setFont(answerFont);
    DigitKeyFilter::install(Text12, '1', Notices::answerOutOfScale);

    CmdBack = addButton("CmdBack", QStringLiteral("قبلي"), 2205, 3735, 1455, 975);
    CmdNext = addButton("CmdNext", QStringLiteral("بعدي"), 5940, 3735, 1455, 975);
    connect(CmdBack, &QPushButton::clicked, this, &FrmTest::previousItem);
    connect(CmdNext, &QPushButton::clicked, this, &FrmTest::nextItem);

    SkinLbl5 = new SkinLabel(this);
    SkinLbl5->setObjectName(QStringLiteral("SkinLbl5"));
    SkinLbl5->setGeometry(twipsRect(480, 5115, 8535, 1035));
    QFont questionFont = SkinLbl5->font();
    questionFont.setPointSizeF(questionFont.pointSizeF() * 1.3);
    SkinLbl5->setFont(questionFont);
    SkinLbl5->hide();
    Lbl1 = new QLabel(this);
    Lbl1->setObjectName(QStringLiteral("Lbl1"));
    Lbl1->hide();
    FieldBinding::bind(Lbl1, Adodc6, Schema::itemText);

    Text6 = new QLineEdit(this);
    Text6->setObjectName(QStringLiteral("Text6"));
    Text6->setGeometry(twipsRect(9060, 5115, 615, 495));
    Text6->setAlignment(Qt::AlignCenter);
    Text6->hide();
    DigitKeyFilter::install(Text6, '0', Notices::digitsOnly);
    Text6->setAccessibleName(QStringLiteral("شماره سؤال"));
    connect(Text6, &QLineEdit::textChanged, this, &FrmTest::loadItem);

    Command1 = addButton("Command1", QStringLiteral("شروع"), 4710, 7320, 975, 555);
    Command5 = addButton("Command5", QStringLiteral("ذخيره و خروج"), 4110, 7320, 1575, 555);
    Command5->hide();
    connect(Command1, &QPushButton::clicked, this, &FrmTest::start);
    connect(Command5, &QPushButton::clicked, this, &FrmTest::saveAndExit);

    // From the answer, Tab goes on to "بعدي" and only then back to "قبلي", though "بعدي" stands on
    // the right: answer, Tab, Enter is the keyboard's way through the items.
    setTabOrder(Text12, CmdNext);
}

void FrmTest::buildDetailsFrame() {
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(360, 480, 9495, 2115));
    Frame1->hide();
    // Each label stands to the right of its box; its width reaches to the next control.
    Text1 = addDetailsBox("Text1", codeField, 8040, 180, 675);
    keepAsciiDigits(Text1);
    addDetailsLabel(Text1, QStringLiteral(" :کد"), 8700, 180, 765);
    Text3 = addDetailsBox("Text3", Schema::firstName, 5880, 180, 1515);
    addDetailsLabel(Text3, QStringLiteral(" :نام"), 7380, 180, 630);
    Text4 = addDetailsBox("Text4", Schema::lastName, 3000, 180, 1635);
    addDetailsLabel(Text4, QStringLiteral(" :نام خانوادگي"), 4620, 240, 1230);
    Combo2 = addDetailsList("Combo2", FieldValues::sexes(), Schema::sex, 1440, 180, 990);
    addDetailsLabel(Combo2, QStringLiteral(" :جنس"), 2400, 240, 570);
    Text5 = addDetailsBox("Text5", Schema::age, 180, 180, 675);
    Text5->setMaxLength(3);
    DigitKeyFilter::install(Text5, '0', Notices::digitsOnly);
    addDetailsLabel(Text5, QStringLiteral(" :سن"), 840, 240, 570);
    Combo1 = addDetailsList("Combo1", FieldValues::maritalStatuses(), Schema::maritalStatus, 7290, 855, 915);
    addDetailsLabel(Combo1, QStringLiteral(" :وضعيت تاهل"), 8160, 900, 1305);
    Text7 = addDetailsBox("Text7", Schema::education, 4260, 840, 1455);
    addDetailsLabel(Text7, QStringLiteral(" :ميزان تحصيلات"), 5700, 900, 1560);
    Text8 = addDetailsBox("Text8", Schema::date, 2220, 840, 1455);
    addDetailsLabel(Text8, QStringLiteral(" :تاريخ"), 3660, 900, 570);
    Text9 = addDetailsBox("Text9", Schema::time, 120, 840, 1455);
    addDetailsLabel(Text9, QStringLiteral(" :ساعت"), 1560, 900, 630);
    Combo3 = addDetailsList("Combo3", FieldValues::groups(), Schema::group, 6930, 1305, 1395);
    addDetailsLabel(Combo3, QStringLiteral(" :گروه"), 8325, 1305, 1140);
}

QLineEdit *FrmTest::addDetailsBox(const char *name, const QString &field, int left, int top, int width) {
    auto *box = new QLineEdit(Frame1);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(twipsRect(left, top, width, boxHeight));
    FieldBinding::bind(box, Adodc3, field);
    return box;
}

QComboBox *FrmTest::addDetailsList(const char *name, const QStringList &items, const QString &field, int left, int top,
                                   int width) {
    auto *list = new QComboBox(Frame1);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(twipsRect(left, top, width, listHeight));
    list->addItems(items);
    FieldBinding::bind(list, Adodc3, field);
    return list;
}

void FrmTest::addDetailsLabel(QWidget *box, const QString &caption, int left, int top, int width) {
    auto *label = new SkinLabel(Frame1);
    label->setBuddy(box);
    label->setWordWrap(false);
    label->setGeometry(twipsRect(left, top, width, boxHeight));
    label->setCaption(caption);
}

QPushButton *FrmTest::addButton(const char *name, const QString &caption, int left, int top, int width, int height) {
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twipsRect(left, top, width, height));
    // Enter in a box is a key of that box, never a click on a button of the window.
    button->setAutoDefault(false);
    return button;
}

// Escape does not end a test: the window closes by "ذخيره و خروج" or its close box.
void FrmTest::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmTest::rereadSources() {
    Adodc2->refresh();
    Adodc3->refresh();
}

bool FrmTest::selectExaminee(const QString &code) {
    Adodc2->setFilter(codeField, code);
    if (Adodc2->noCurrentRow())
        return false;
    Adodc3->setFilter(codeField, code);
    // With no examinee row there is nowhere to store details: they are shown empty and locked.
    Frame1->setEnabled(!Adodc3->noCurrentRow());
    return true;
}

void FrmTest::prepareForNextRun() {
    SkinLabel4->show();
    Command1->show();
    CmdBack->hide();
    SkinLabel3->hide();
    CmdNext->hide();
    Frame1->show();
    SkinLbl5->show();
    Text6->setText(QStringLiteral("0"));
}

void FrmTest::start() {
    SkinLabel3->hide();
    Frame2->show();
    Frame1->show();
    SkinLbl5->show();
    Text6->show();
    CmdNext->show();
    // Parked first, so that the step to 1 loads item 1 even when the box already held 1.
    setItemNumber(0);
    CmdBack->show();
    Text1->setFocus();
    Command1->hide();
    Command5->show();
    setItemNumber(firstItem);
}

int FrmTest::itemNumber() const { return static_cast<int>(qBound(-1.0, textValue(Text6->text()), 1e9)); }

void FrmTest::setItemNumber(int item) { Text6->setText(QString::number(item)); }

void FrmTest::nextItem() {
    setItemNumber(itemNumber() + 1);
    focusAnswer();
}

void FrmTest::previousItem() {
    setItemNumber(itemNumber() - 1);
    focusAnswer();
}

// The stored answer comes selected, so that a digit typed over it replaces it.
void FrmTest::focusAnswer() {
    Text12->setFocus();
    Text12->selectAll();
}

void FrmTest::loadItem() {
    if (Text6->text().isEmpty()) {
        SkinLbl5->setCaption(QString());
        setItemNumber(firstItem);
        return;
    }
    const int item = itemNumber();
    if (item < 0) {
        showNotice(this, Notices::itemBeforeFirst);
        setItemNumber(firstItem);
        focusAnswer();
    } else if (item > lastItem) {
        showNotice(this, Notices::endReached);
        setItemNumber(lastItem);
        focusAnswer();
    } else if (item > 0) {
        // Typed with leading zeros (05), the item is still that number.
        showItem(item);
    }
    // At 0 the window is parked: the item shown before stays.
}

void FrmTest::showItem(int item) {
    const QString number = QString::number(item);
    Adodc6->setFilter(Schema::id, number);
    SkinLbl5->setCaption(Lbl1->text());
    FieldBinding::bind(Text12, Adodc2, number);
    Frame2->setTitle(number);
    // The answer box is known by the item it answers.
    Text12->setAccessibleName(SkinLbl5->caption());
}

// An answer is stored the moment it is typed, so no way of closing the window loses it.
void FrmTest::storeAnswer(const QString &field) {
    if (field == codeField || Adodc2->save())
        return;
    WaitingMessageBox::show(this, Adodc2->lastError(), QStringLiteral("Error"), QMessageBox::Warning);
}

void FrmTest::saveAndExit() {
    if (!storeDetails())
        return;
    Adodc2->refresh();
    Adodc3->refresh();
    close();
}

// The details as corrected, with a changed code carried to the answer row; false, with the window
// kept open, when the code is empty or another examinee's, or when storing failed.
bool FrmTest::storeDetails() {
    if (Adodc3->noCurrentRow())
        return true;
    const QString code = Text1->text();
    const QString oldCode = Adodc2->value(codeField);
    if (code.isEmpty()) {
        showNotice(this, Notices::codeMissing);
        Text1->setFocus();
        return false;
    }
    if (code != oldCode && ExamineeRows::codeInUse(*Adodc5, *Adodc4, code, oldCode)) {
        showNotice(this, Notices::codeInUse);
        Text1->setFocus();
        Text1->selectAll();
        return false;
    }
    QString error;
    if (ExamineeRows::saveExaminee(*Adodc3, *Adodc2, &error))
        return true;
    WaitingMessageBox::show(this, error, QStringLiteral("Error"), QMessageBox::Warning);
    return false;
}
