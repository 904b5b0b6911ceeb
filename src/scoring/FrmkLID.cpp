#include "scoring/FrmkLID.h"

#include "common/Twips.h"
#include "examinees/ExamineeDetailsForm.h"
#include "examinees/ExamineeRows.h"
#include "scoring/DataRPrint.h"
#include "scoring/ScoringKey.h"
#include "store/DataSource.h"
#include "store/ReadSnapshot.h"
#include "widgets/FieldBinding.h"
#include "widgets/InputBox.h"
#include "widgets/Navigation.h"
#include "widgets/Notices.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"
#include "widgets/WaitingMessageBox.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString codeField = QStringLiteral("Code");
constexpr int scoreBoxHeight = 435;
// The rows of score boxes, each from its leftmost box to its rightmost.
constexpr std::pair<int, int> scoreRows[] = {{0, 6}, {7, 12}, {13, 17}, {18, 22}};
// The report's value labels of the score boxes: each run of boxes fills labels numbered on from
// the first.
struct ScoreLabels {
    int firstLabel;
    int firstBox;
    int lastBox;
};
constexpr ScoreLabels reportScoreLabels[] = {{29, 0, 6}, {43, 7, 12}, {55, 13, 17}, {66, 18, 22}};
constexpr qreal largestCaptionSize = 8;
constexpr qreal smallestCaptionSize = 6;
constexpr int captionGap = 4; // pixels between two captions, and between a caption and its frame's edge
} // namespace

FrmkLID::FrmkLID(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FrmkLID"));
    setAttribute(Qt::WA_DeleteOnClose);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(QStringLiteral("کليد گذاري"));
    setFixedSize(twipsSize(9930, 6030));
    move(twipsPoint(2340, 765));
    m_skin = new SkinObject(this);

    createDataSources();
    applyTheme(m_skin, this, Adodc1->value(QStringLiteral("TH")));
    createDetailsFrame();
    createScoreFrames();
    createButtonFrame();
    createAnswerFrame();
    bindFields();
    // The window opens with the buttons alone.
    showResult(false);
}

FrmkLID *FrmkLID::showNew() {
    auto *window = new FrmkLID;
    window->show();
    return window;
}

void FrmkLID::createDataSources() {
    Adodc1 = new DataSource(QStringLiteral("Theme"), this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Adodc2 = new DataSource(QStringLiteral("Answer"), this);
    Adodc2->setObjectName(QStringLiteral("Adodc2"));
    Adodc3 = new DataSource(QStringLiteral("IDE"), this);
    Adodc3->setObjectName(QStringLiteral("Adodc3"));
}

void FrmkLID::createDetailsFrame() {
    Frame5 = new QFrame(this);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    Frame5->setFrameShape(QFrame::StyledPanel);
    Frame5->setGeometry(twipsRect(240, 120, 9495, 2115));
    m_details = new ExamineeDetailsForm(Frame5, ExamineeBoxes::ResultSheet);

    Text13 = addBox(Frame5, "Text13", 0, 0, 0);
    Text13->hide();
    Text16 = addBox(Frame5, "Text16", 0, 0, 0);
    Text16->hide();

    Command2 = addButton(Frame5, "Command2", QStringLiteral("ذخيره تغييرات"), 3780, 1485, 1515, 450);
    connect(Command2, &QPushButton::clicked, this, &FrmkLID::saveChanges);
}

void FrmkLID::createScoreFrames() {
    Text3.resize(ScoringKey::boxCount);
    m_scoreLabels.resize(ScoringKey::boxCount);

    Frame3 = createScoreFrame("Frame3", QString::fromUtf8(ScoringKey::styles[0].caption), 270, 2250, 7395, 2310);
    const int upperRow[] = {405, 1350, 2295, 3240, 4230, 5220, 6075};
    for (int box = 0; box <= 6; ++box)
        addScoreBox(Frame3, box, upperRow[box], 720, 465);
    const int lowerRow[] = {450, 1350, 2250, 3240, 4230};
    for (int box = 7; box <= 11; ++box)
        addScoreBox(Frame3, box, lowerRow[box - 7], 1665, 465);
    addScoreBox(Frame3, 12, 5355, 1665, 1230);

    Frame4 = createScoreFrame("Frame4", QString::fromUtf8(ScoringKey::styles[1].caption), 270, 4590, 4695, 1230);
    addScoreBox(Frame4, 13, 270, 630, 420);
    addScoreBox(Frame4, 14, 1080, 630, 465);
    addScoreBox(Frame4, 15, 1935, 630, 465);
    addScoreBox(Frame4, 16, 2700, 630, 465);
    addScoreBox(Frame4, 17, 3690, 630, 870);

    Frame6 = createScoreFrame("Frame6", QString::fromUtf8(ScoringKey::styles[2].caption), 5040, 4590, 4695, 1230);
    const int neuroticRow[] = {315, 1260, 2070, 2835};
    for (int box = 18; box <= 21; ++box)
        addScoreBox(Frame6, box, neuroticRow[box - 18], 630, 465);
    addScoreBox(Frame6, 22, 3645, 630, 825);
    m_scoreLabels.first()->ensurePolished(); // in the skin's font
    fitScoreCaptions();
}

QGroupBox *FrmkLID::createScoreFrame(const char *name, const QString &caption, int left, int top, int width,
                                     int height) {
    auto *frame = new QGroupBox(caption, this);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(twipsRect(left, top, width, height));
    return frame;
}

void FrmkLID::addScoreBox(QGroupBox *frame, int box, int left, int top, int width) {
    QLineEdit *score =
        addBox(frame, QStringLiteral("Text3_%1").arg(box).toLatin1().constData(), left, top, width, scoreBoxHeight);
    score->setReadOnly(true);
    score->setAlignment(Qt::AlignCenter);
    Text3[box] = score;

    auto *label = new SkinLabel(frame);
    label->setObjectName(QStringLiteral("ScoreLabel_%1").arg(box));
    label->setWordWrap(false);
    label->setAlignment(Qt::AlignCenter);
    label->setCaption(ScoringKey::boxLabel(box));
    label->setBuddy(score);
    m_scoreLabels[box] = label;
}

// Each caption stands on one line centred just above its box, all of them in the skin's font at the
// largest size (8 points at most) at which no two captions of a row touch: the boxes stand closer
// than the longest captions are wide in some skins' fonts.
void FrmkLID::fitScoreCaptions() {
    QFont font = m_scoreLabels.first()->font();
    for (qreal size = largestCaptionSize;; size -= 0.5) {
        font.setPointSizeF(size);
        if (size <= smallestCaptionSize || scoreCaptionsFit(QFontMetrics(font)))
            break;
    }
    const QFontMetrics metrics(font);
    for (int box = 0; box < ScoringKey::boxCount; ++box) {
        SkinLabel *label = m_scoreLabels.at(box);
        const QRect boxRect = Text3.at(box)->geometry();
        const int width = metrics.horizontalAdvance(label->caption()) + 2 * captionGap;
        label->setFont(font);
        label->setGeometry(boxRect.center().x() - width / 2, boxRect.top() - metrics.height(), width, metrics.height());
    }
}

bool FrmkLID::scoreCaptionsFit(const QFontMetrics &metrics) const {
    auto halfWidth = [&](int box) { return metrics.horizontalAdvance(m_scoreLabels.at(box)->caption()) / 2.0; };
    auto centre = [&](int box) { return Text3.at(box)->geometry().center().x(); };
    for (const auto &[first, last] : scoreRows) {
        if (centre(first) - halfWidth(first) < captionGap)
            return false;
        for (int box = first + 1; box <= last; ++box) {
            if (halfWidth(box - 1) + halfWidth(box) + captionGap > centre(box) - centre(box - 1))
                return false;
        }
    }
    return true;
}

void FrmkLID::createButtonFrame() {
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setGeometry(twipsRect(7680, 2250, 2055, 2325));
    Command1 = addButton(Frame1, "Command1", QStringLiteral("انتخاب آزمودني"), 270, 270, 1515, 450);
    Command6 = addButton(Frame1, "Command6", QStringLiteral("پرينت"), 270, 810, 1500, 435);
    Command4 = addButton(Frame1, "Command4", QStringLiteral(" خروج"), 270, 1350, 1485, 450);
    // Run only by the selection; the second has no action.
    Command7 = addButton(Frame1, "Command7", QStringLiteral("محاسبه"), 270, 1890, 1515, 330);
    Command7->hide();
    Command5 = addButton(Frame1, "Command5", QStringLiteral("محاسبه2"), 270, 1890, 1515, 330);
    Command5->hide();
    Text5 = addBox(Frame1, "Text5", 270, 1890, 1515);
    Text5->hide();

    connect(Command1, &QPushButton::clicked, this, &FrmkLID::selectExaminee);
    connect(Command6, &QPushButton::clicked, this, &FrmkLID::printReport);
    connect(Command4, &QPushButton::clicked, this, &QWidget::close);
    connect(Command7, &QPushButton::clicked, this, &FrmkLID::compute);
}

// The answer boxes lie outside the window, never seen; the scoring reads them. Never seen, they
// display nothing: their texts are not laid out at each selection.
void FrmkLID::createAnswerFrame() {
    m_answerFrame = new QFrame(this);
    m_answerFrame->setObjectName(QStringLiteral("AnswerFrame"));
    m_answerFrame->setGeometry(twipsRect(12555, 0, 2000, 1000));
    m_answerFrame->hide();
    for (int item = 0; item <= ScoringKey::itemCount; ++item) {
        Text2 << addBox(m_answerFrame, QStringLiteral("Text2_%1").arg(item).toLatin1().constData(), 0, 0, 465);
        Text2.last()->setEchoMode(QLineEdit::NoEcho);
    }
}

void FrmkLID::bindFields() {
    m_details->bind(Adodc3);
    FieldBinding::bind(Text13, Adodc1, QStringLiteral("Name"));
    FieldBinding::bind(Text16, Adodc1, QStringLiteral("Adress"));
    FieldBinding::bind(Text2.at(0), Adodc2, QString());
    for (int item = 1; item <= ScoringKey::itemCount; ++item)
        FieldBinding::bind(Text2.at(item), Adodc2, QString::number(item));
}

QLineEdit *FrmkLID::addBox(QWidget *parent, const char *name, int left, int top, int width, int height) {
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(twipsRect(left, top, width, height));
    return box;
}

QPushButton *FrmkLID::addButton(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
                                int height) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twipsRect(left, top, width, height));
    return button;
}

QStringList FrmkLID::answers() const {
    QStringList texts;
    for (int item = 1; item <= ScoringKey::itemCount; ++item)
        texts << Text2.at(item)->text();
    return texts;
}

void FrmkLID::showResult(bool shown) {
    // In this order: the immature, mature, details and neurotic frames.
    for (QWidget *frame : {static_cast<QWidget *>(Frame3), static_cast<QWidget *>(Frame4),
                           static_cast<QWidget *>(Frame5), static_cast<QWidget *>(Frame6)})
        frame->setVisible(shown);
}

void FrmkLID::selectExaminee() {
    select(InputBox::ask(this, QStringLiteral(" کد آزمودني ") + QStringLiteral("را وارد کنيد"),
                         QStringLiteral(" Enter Number ")));
}

void FrmkLID::select(const QString &code) {
    if (code.isEmpty()) {
        showNotice(this, Notices::examineeCodeMissing);
        return;
    }
    // A filter reads the table anew: answers stored since the window opened are seen. Both rows
    // are read from the file in one state.
    ReadSnapshot snapshot;
    Adodc2->setFilter(codeField, code);
    if (Adodc2->recordCount() == 0) {
        snapshot.end();
        showNotice(this, Notices::examineeNotFound);
        return;
    }
    const QStringList given = answers();
    const QString missing = missingItems(given);
    if (!missing.isEmpty()) {
        snapshot.end();
        WaitingMessageBox::show(this, QString::fromUtf8(refusalText) + QStringLiteral("\r\n\r\n") + missing,
                                QStringLiteral("خطا"), QMessageBox::Warning);
        showResult(false);
        return;
    }
    Adodc3->setFilter(codeField, code);
    snapshot.end();
    m_storedCode = Adodc3->value(codeField);
    Text5->setText(code);
    showScores(given);
    showResult(true);
}

void FrmkLID::compute() { showScores(answers()); }

void FrmkLID::showScores(const QStringList &answers) {
    const QStringList scores = scoreTexts(answers);
    for (int box = 0; box < ScoringKey::boxCount; ++box)
        Text3.at(box)->setText(scores.at(box));
}

// The report is filled from the fields as they stand on screen (edits not yet saved included) and
// shown in its preview, from which the user prints. Another print needs a new selection.
void FrmkLID::printReport() {
    if (Text5->text().isEmpty()) {
        showNotice(this, Notices::printNeedsExaminee);
        return;
    }
    DataRPrint report;
    // The detail prints once for each answer row under the look-up. A later look-up of a code
    // without an answer row leaves none, yet the sheet still shows the examinee selected before:
    // that result is printed, as after a selection refused for missing answers.
    report.setRowCount(qMax(1, Adodc2->recordCount()));
    using namespace ExamineeFields;
    const std::pair<const char *, QString> details[] = {
        {"Label9", Text13->text()},
        {"Label5", m_details->text(FirstName)},
        {"Label10", m_details->text(LastName)},
        {"Label11", m_details->text(Age)},
        {"Label17", m_details->text(Sex)},
        {"Label19", m_details->text(MaritalStatus)},
        {"Label21", m_details->text(Group)},
        {"Label12", m_details->text(Education)},
        {"Label13", m_details->text(Date)},
        {"Label14", Text16->text()},
    };
    for (const auto &[label, text] : details)
        report.setCaption(QString::fromLatin1(label), text);
    for (const auto &[firstLabel, firstBox, lastBox] : reportScoreLabels) {
        for (int box = firstBox; box <= lastBox; ++box)
            report.setCaption(QStringLiteral("Label%1").arg(firstLabel + box - firstBox), Text3.at(box)->text());
    }
    report.showPreview();
    Text5->clear();
}

void FrmkLID::saveChanges() {
    // The answer row follows the examinee to a new code.
    DataSource answerRow(QStringLiteral("Answer"));
    answerRow.setFilter(codeField, m_storedCode);
    DataSource examineeCheck(QStringLiteral("IDE"));
    DataSource answerCheck(QStringLiteral("Answer"));
    QString error;
    switch (ExamineeRows::saveExaminee(*Adodc3, answerRow, m_storedCode, examineeCheck, answerCheck, &error)) {
    case ExamineeRows::DetailsSave::Saved:
        m_storedCode = Adodc3->value(codeField);
        showNotice(this, Notices::changesSaved);
        break;
    case ExamineeRows::DetailsSave::CodeMissing:
        showNotice(this, Notices::codeMissing);
        m_details->codeBox()->setFocus();
        break;
    case ExamineeRows::DetailsSave::CodeInUse:
        showNotice(this, Notices::codeInUse);
        m_details->codeBox()->setFocus();
        break;
    case ExamineeRows::DetailsSave::Failed:
        reportSaveFailure(error);
        break;
    }
}

void FrmkLID::reportSaveFailure(const QString &error) {
    WaitingMessageBox::show(this, error, QStringLiteral("Error"), QMessageBox::Warning);
}

// Closing brings the main window back, loaded anew, before this one goes.
void FrmkLID::closeEvent(QCloseEvent *event) {
    Navigation::showMainWindow();
    event->accept();
}
