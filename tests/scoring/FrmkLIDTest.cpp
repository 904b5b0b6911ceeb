#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"

#include "common/Twips.h"
#include "scoring/FrmkLID.h"
#include "shell/Frm1.h"
#include "shell/Navigation.h"
#include "shell/PersianApplication.h"
#include "store/DataSource.h"
#include "store/FieldValues.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {
const QString inputTitle = QStringLiteral(" کد آزمودني را وارد کنيد");
const QString codeMissing = QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
const QString notFound = QStringLiteral("فردي با اين مشخصات وجود ندارد");
const QString unanswered = QStringLiteral("شما به سوالات زير پاسخ نداده ايد و تا به تمام سوالات پاسخ ندهيد نمي توانيد نمره گذاري را انجام دهيد\r\n\r\n");
const QString saved = QStringLiteral("تغييرات ذخيره شد");
const QString codeInUse = QStringLiteral("فردديگري با اين کد ثبت شده");
const QString printNeedsExaminee = QStringLiteral("ابتدا روي انتخاب آزمودني کليک کرده سپس کد آزمودني را وارد کنيد بعد روي پرينت کليک کنيد ");
const QString codeEmpty = QStringLiteral("کد آزمودني را وارد کنيد");

// An examinee with answer i given by answer(i); an empty text leaves the item unanswered.
void addExaminee(const QString &code, const std::function<QString(int)> &answer) {
    DataSource examinee(QStringLiteral("IDE"));
    examinee.addNew();
    examinee.setValue(QStringLiteral("Code"), code);
    examinee.setValue(QStringLiteral("FName"), QStringLiteral("Sara"));
    examinee.setValue(QStringLiteral("LName"), QStringLiteral("Family ") + code);
    examinee.setValue(QStringLiteral("Jens"), FieldValues::sexes().at(1));
    examinee.setValue(QStringLiteral("Group"), FieldValues::groups().at(2));
    QVERIFY(examinee.save());
    DataSource answers(QStringLiteral("Answer"));
    answers.addNew();
    answers.setValue(QStringLiteral("Code"), code);
    for (int item = 1; item <= 40; ++item)
        answers.setValue(QString::number(item), answer(item));
    QVERIFY(answers.save());
}

int rowsWithCode(const QString &table, const QString &code) {
    DataSource rows(table);
    rows.setFilter(QStringLiteral("Code"), code);
    return rows.recordCount();
}

QWidget *topLevel(const char *name) {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return widget;
    return nullptr;
}

QString stored(const QString &table, const QString &code, const QString &field) {
    DataSource rows(table);
    rows.setFilter(QStringLiteral("Code"), code);
    return rows.value(field);
}

void typeInto(QLineEdit *box, const QString &text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}
} // namespace

class FrmkLIDTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void selection_data();
    void selection();
    void refusedSelectionKeepsTheEarlierExaminee();
    void layout_data();
    void layout();
    void savingTheRecord_data();
    void savingTheRecord();
    void takesTheMainWindowsPlace();
    void printingNeedsANewSelectionEachTime();

private:
    template <class T = QWidget> T *control(const char *name) {
        T *found = m_window ? m_window->findChild<T *>(QString::fromLatin1(name)) : nullptr;
        if (!found)
            qWarning("no control %s", name);
        return found;
    }
    QString text(const char *name) { return control<QLineEdit>(name)->text(); }
    void openWindow();
    // Selects by the code typed into the input box; the box that follows (if one is expected) is
    // answered and recorded.
    void select(const QString &code, bool accept = true, SeenBox *message = nullptr);
    void click(const char *name);
    bool resultShown();

    std::unique_ptr<TempProgramFolder> m_folder;
    QPointer<QWidget> m_window;
};

void FrmkLIDTest::initTestCase() {
    setUpPersianApplication(*qApp);
    Navigation::setMainWindowFactory([]() -> QWidget * { return new Frm1; });
}

void FrmkLIDTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    addExaminee(QStringLiteral("K1"), [](int item) { return QString::number(item % 9 + 1); });
    addExaminee(QStringLiteral("12"), [](int) { return QStringLiteral("9"); });
    addExaminee(QStringLiteral("K3"), [](int item) { return item == 3 || item == 17 ? QString() : QStringLiteral("1"); });
    addExaminee(QStringLiteral("K4"), [](int item) { return item == 40 ? QString() : QStringLiteral("1"); });
    addExaminee(QStringLiteral("K5"), [](int item) { return item == 4 ? QStringLiteral(" ") : QStringLiteral("5"); });
}

void FrmkLIDTest::cleanup() {
    // Closing the result sheet brings a main window back: close until nothing is left.
    for (int round = 0; round < 3; ++round) {
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    m_folder.reset();
}

void FrmkLIDTest::openWindow() {
    m_window = FrmkLID::showNew();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void FrmkLIDTest::select(const QString &code, bool accept, SeenBox *message) {
    SeenBox input;
    answerNextInputBox(&input, code, accept);
    if (message)
        answerNextMessageBox(message);
    click("Command1");
    QVERIFY(input.seen);
    QCOMPARE(input.title, inputTitle);
    QCOMPARE(input.text, QStringLiteral(" Enter Number "));
}

void FrmkLIDTest::click(const char *name) {
    QWidget *target = control(name);
    QVERIFY2(target, name);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

bool FrmkLIDTest::resultShown() {
    const bool shown = control("Frame3")->isVisible();
    for (const char *frame : {"Frame4", "Frame5", "Frame6"})
        if (control(frame)->isVisible() != shown)
            qWarning("%s differs", frame);
    return shown && control("Frame1")->isVisible();
}

void FrmkLIDTest::selection_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("title"); // of the box that follows; empty: none
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("scores"); // boxes 0, 12, 17, 22; empty: not scored
    const QString notice = QStringLiteral("پيام");
    const QString error = QStringLiteral("خطا");
    QTest::newRow("empty") << "" << true << notice << codeMissing << "" << QStringList();
    QTest::newRow("cancelled") << "K1" << false << notice << codeMissing << "" << QStringList();
    QTest::newRow("unknown") << "Z9" << true << notice << notFound << "" << QStringList();
    QTest::newRow("3 and 17 missing") << "K3" << true << error << unanswered + "3  17  " << "" << QStringList();
    QTest::newRow("40 missing") << "K4" << true << error << unanswered + "40  " << "" << QStringList();
    QTest::newRow("complete") << "K1" << true << "" << "" << "K1" << QStringList{"13", "110", "46", "38"};
    QTest::newRow("other case") << "k1" << true << "" << "" << "k1" << QStringList{"13", "110", "46", "38"};
    QTest::newRow("Persian digits") << QStringLiteral("\u06F1\u06F2") << true << "" << ""
                                    << "12" << QStringList{"18", "216", "72", "72"};
    QTest::newRow("blank answer") << "K5" << true << "" << "" << "K5" << QStringList{"5", "115", "40", "40"};
}

void FrmkLIDTest::selection() {
    QFETCH(QString, code);
    QFETCH(bool, accept);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(QString, selected);
    QFETCH(QStringList, scores);
    openWindow();
    SeenBox box;
    select(code, accept, title.isEmpty() ? nullptr : &box);
    QCOMPARE(box.seen, !title.isEmpty());
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, title == QStringLiteral("خطا") ? QMessageBox::Warning : QMessageBox::NoIcon);
    QCOMPARE(text("Text5"), selected);
    QCOMPARE(resultShown(), !scores.isEmpty());
    if (scores.isEmpty())
        return;
    QCOMPARE((QStringList{text("Text3_0"), text("Text3_12"), text("Text3_17"), text("Text3_22")}), scores);
    QCOMPARE(text("Text12"), QStringLiteral("Family ") + selected.toUpper());
    QCOMPARE(control<QComboBox>("Combo3")->currentText(), FieldValues::groups().at(2));
    // Score boxes take no typing.
    auto *score = control<QLineEdit>("Text3_0");
    QTest::keyClicks(score, "7");
    QCOMPARE(score->text(), scores.first());
}

void FrmkLIDTest::refusedSelectionKeepsTheEarlierExaminee() {
    openWindow();
    select(QStringLiteral("K1"));
    SeenBox refusal;
    select(QStringLiteral("K3"), true, &refusal);
    QVERIFY(refusal.seen);
    QVERIFY(!resultShown());
    QCOMPARE(text("Text5"), QStringLiteral("K1"));
    QCOMPARE(text("Text3_12"), QStringLiteral("110"));
    QCOMPARE(text("Text12"), QStringLiteral("Family K1"));
    select(QStringLiteral("12"));
    QVERIFY(resultShown());
    QCOMPARE(text("Text5"), QStringLiteral("12"));
    QCOMPARE(text("Text3_12"), QStringLiteral("216"));
}

void FrmkLIDTest::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twipsInWindow");
    QTest::addColumn<QString>("caption");
    auto row = [](const char *name, QRect rect, const QString &caption = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << rect << caption;
    };
    row("Frame5", {240, 120, 9495, 2115});
    row("Frame3", {270, 2250, 7395, 2310}, QStringLiteral("رشد نايافته"));
    row("Frame1", {7680, 2250, 2055, 2325});
    row("Frame4", {270, 4590, 4695, 1230}, QStringLiteral("رشد يافته"));
    row("Frame6", {5040, 4590, 4695, 1230}, QStringLiteral("روان آزرده"));
    row("Command1", {7680 + 270, 2250 + 270, 1515, 450}, QStringLiteral("انتخاب آزمودني"));
    row("Command6", {7680 + 270, 2250 + 810, 1500, 435}, QStringLiteral("پرينت"));
    row("Command4", {7680 + 270, 2250 + 1350, 1485, 450}, QStringLiteral(" خروج"));
    row("Command2", {240 + 3780, 120 + 1485, 1515, 450}, QStringLiteral("ذخيره تغييرات"));
    row("Text15", {240 + 8040, 120 + 180, 675, 435});
    row("Combo1", {240 + 7290, 120 + 855, 915, 405});
    row("Text9", {240 + 120, 120 + 840, 1455, 435});
    row("Text3_6", {270 + 6075, 2250 + 720, 465, 435});
    row("Text3_12", {270 + 5355, 2250 + 1665, 1230, 435});
    row("Text3_13", {270 + 270, 4590 + 630, 420, 435});
    row("Text3_22", {5040 + 3645, 4590 + 630, 825, 435});
}

// Left and top measured from the window's left edge, as laid out, though the window reads right
// to left.
void FrmkLIDTest::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, twipsInWindow);
    QFETCH(QString, caption);
    openWindow();
    QCOMPARE(m_window->size(), twipsSize(9930, 6030));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("کليد گذاري"));
    QWidget *target = control(name.toLatin1().constData());
    QVERIFY(target);
    QCOMPARE(target->mapTo(m_window, QPoint(0, 0)), twipsPoint(twipsInWindow.left(), twipsInWindow.top()));
    QCOMPARE(target->size(), twipsSize(twipsInWindow.width(), twipsInWindow.height()));
    if (auto *button = qobject_cast<QPushButton *>(target))
        QCOMPARE(button->text(), caption);
    else if (auto *frame = qobject_cast<QGroupBox *>(target))
        QCOMPARE(frame->title(), caption);
}

void FrmkLIDTest::savingTheRecord_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("storedCode"); // the code both rows hold afterwards
    QTest::addColumn<QString>("lastName");
    QTest::newRow("family name") << "Text12" << "Rahimi" << saved << "K1" << "Rahimi";
    QTest::newRow("new code") << "Text15" << "K9" << saved << "K9" << "Family K1";
    QTest::newRow("code in other case") << "Text15" << "k1" << saved << "k1" << "Family K1";
    QTest::newRow("code of another") << "Text15" << "12" << codeInUse << "K1" << "Family K1";
    QTest::newRow("code of another, other case") << "Text15" << "k3" << codeInUse << "K1" << "Family K1";
    QTest::newRow("empty code") << "Text15" << "" << codeEmpty << "K1" << "Family K1";
}

void FrmkLIDTest::savingTheRecord() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, storedCode);
    QFETCH(QString, lastName);
    openWindow();
    select(QStringLiteral("K1"));
    typeInto(control<QLineEdit>(box.toLatin1().constData()), typed);
    SeenBox notice;
    answerNextMessageBox(&notice);
    click("Command2");
    QCOMPARE(notice.text, message);

    // One row in each table holds the code, exactly as stored; the other examinees keep theirs.
    for (const char *table : {"IDE", "Answer"}) {
        DataSource rows(QString::fromLatin1(table));
        rows.setFilter(QStringLiteral("Code"), storedCode);
        QCOMPARE(rows.recordCount(), 1);
        QCOMPARE(rows.value(QStringLiteral("Code")), storedCode);
        QCOMPARE(rowsWithCode(QString::fromLatin1(table), QStringLiteral("12")), 1);
        QCOMPARE(rowsWithCode(QString::fromLatin1(table), QStringLiteral("K9")), int(storedCode == "K9"));
        QCOMPARE(rowsWithCode(QString::fromLatin1(table), QStringLiteral("K1")), int(storedCode != "K9"));
    }
    QCOMPARE(stored(QStringLiteral("IDE"), storedCode, QStringLiteral("LName")), lastName);
    QCOMPARE(stored(QStringLiteral("Answer"), storedCode, QStringLiteral("40")), QStringLiteral("5"));
}

void FrmkLIDTest::takesTheMainWindowsPlace() {
    // With no answer row, the main window's scoring button does nothing.
    for (const char *table : {"Answer", "IDE"}) {
        DataSource rows(QString::fromLatin1(table));
        while (!rows.noCurrentRow())
            QVERIFY(rows.deleteCurrent());
    }
    m_window = Navigation::showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    click("Command3");
    QVERIFY(m_window && m_window->isVisible());

    addExaminee(QStringLiteral("K1"), [](int) { return QStringLiteral("2"); });
    m_window->close();
    m_window = Navigation::showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QPointer<QWidget> mainWindow = m_window;
    click("Command3");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!mainWindow);
    m_window = topLevel("FrmkLID");
    QVERIFY(m_window);
    click("Command4");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window);
    m_window = topLevel("Frm1");
    QVERIFY(m_window);
    QCOMPARE(control<QLineEdit>("Text3")->text(), QStringLiteral("2"));
}

// The report shows the fields as they stand on screen, the edits not yet saved included, in a
// preview that is neither modal nor owned; a second print needs a new selection. A look-up of an
// unknown code in between leaves the shown examinee to be printed, not a blank form.
void FrmkLIDTest::printingNeedsANewSelectionEachTime() {
    {
        DataSource settings(QStringLiteral("Theme"));
        settings.setValue(QStringLiteral("Name"), QStringLiteral("Clinic Mehr"));
        QVERIFY(settings.save());
    }
    openWindow();
    select(QStringLiteral("K1"));
    typeInto(control<QLineEdit>("Text12"), QStringLiteral("Rahimi"));
    SeenBox unknown;
    select(QStringLiteral("Z9"), true, &unknown);
    QCOMPARE(unknown.text, notFound);
    click("Command6");
    QCOMPARE(text("Text5"), QString());
    QList<QPrintPreviewDialog *> previews;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(widget); preview && preview->isVisible())
            previews << preview;
    QCOMPARE(previews.size(), 1);
    QVERIFY(!previews.first()->isModal());
    QVERIFY(!previews.first()->parentWidget());

    const QString pdf = m_folder->filePath(QStringLiteral("report.pdf"));
    previews.first()->printer()->setOutputFormat(QPrinter::PdfFormat);
    previews.first()->printer()->setOutputFileName(pdf);
    previews.first()->findChild<QPrintPreviewWidget *>()->print();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished());
    const QString page = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char *shown : {"Clinic Mehr", "Rahimi", "110", "46", "38"})
        QVERIFY2(page.contains(QLatin1String(shown)), shown);

    SeenBox notice;
    answerNextMessageBox(&notice);
    click("Command6");
    QCOMPARE(notice.text, printNeedsExaminee);
    QVERIFY(resultShown());
}

QTEST_MAIN(FrmkLIDTest)
#include "FrmkLIDTest.moc"
