#include "testrun/FrmTest.h"

#include "common/TextValue.h"
#include "common/Twips.h"
#include "examinees/ExamineeDetailsForm.h"
#include "examinees/ExamineeRows.h"
#include "store/DataSource.h"
#include "store/ItemTexts.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/FieldBinding.h"
#include "widgets/Notices.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"
#include "widgets/WaitingMessageBox.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int firstItem = 1;
constexpr int lastItem = 40;

const QString codeField = QStringLiteral("Code");

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
    auto source = [this](const char *name, const char *table) {
        auto *dataSource = new DataSource(QString::fromLatin1(table), this);
        dataSource->setObjectName(QString::fromLatin1(name));
        return dataSource;
    };
    Adodc1 = source("Adodc1", "Theme");
    Adodc2 = source("Adodc2", "Answer");
    Adodc3 = source("Adodc3", "IDE");
    Adodc4 = source("Adodc4", "Answer");
    Adodc5 = source("Adodc5", "IDE");
    Adodc6 = source("Adodc6", "QUS");
    connect(Adodc2, &DataSource::valueChanged, this, &FrmTest::storeAnswer);

    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->hide();
    FieldBinding::bind(Text2, Adodc1, QStringLiteral("TH"));

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
    FieldBinding::bind(Lbl1, Adodc6, QStringLiteral("QU"));

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
    m_details = new ExamineeDetailsForm(Frame1, ExamineeBoxes::TestWindow);
    m_details->bind(Adodc3);
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
    m_details->codeBox()->setFocus();
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
    Adodc6->setFilter(QStringLiteral("ID"), number);
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
    QString error;
    switch (ExamineeRows::saveExaminee(*Adodc3, *Adodc2, Adodc2->value(codeField), *Adodc5, *Adodc4, &error)) {
    case ExamineeRows::DetailsSave::Saved:
        return true;
    case ExamineeRows::DetailsSave::CodeMissing:
        showNotice(this, Notices::codeMissing);
        m_details->codeBox()->setFocus();
        return false;
    case ExamineeRows::DetailsSave::CodeInUse:
        showNotice(this, Notices::codeInUse);
        m_details->codeBox()->setFocus();
        m_details->codeBox()->selectAll();
        return false;
    case ExamineeRows::DetailsSave::Failed:
        break;
    }
    WaitingMessageBox::show(this, error, QStringLiteral("Error"), QMessageBox::Warning);
    return false;
}
