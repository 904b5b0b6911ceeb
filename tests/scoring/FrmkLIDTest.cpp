#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"

#include "app/Frm1.h"
#include "scoring/FrmkLID.h"
#include "store/DataSource.h"
#include "widgets/Navigation.h"
#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {
const QString inputTitle = QStringLiteral(" کد آزمودني را وارد کنيد");
const QString codeMissing = QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
const QString notFound = QStringLiteral("فردي با اين مشخصات وجود ندارد");
const QString unanswered = QStringLiteral(
    "شما به سوالات زير پاسخ نداده ايد و تا به تمام سوالات پاسخ ندهيد نمي توانيد نمره گذاري را انجام دهيد\r\n\r\n");
const QString saved = QStringLiteral("تغييرات ذخيره شد");
const QString printNeedsExaminee =
    QStringLiteral("ابتدا روي انتخاب آزمودني کليک کرده سپس کد آزمودني را وارد کنيد بعد روي پرينت کليک کنيد ");

// An examinee whose answer to item i is answer(i); an empty text leaves the item unanswered.
void addExaminee(const QString &code, const std::function<QString(int)> &answer) {
    DataSource examinee(QStringLiteral("IDE")), answers(QStringLiteral("Answer"));
    examinee.addNew();
    examinee.setValue(QStringLiteral("Code"), code);
    examinee.setValue(QStringLiteral("LName"), QStringLiteral("Family ") + code);
    QVERIFY(examinee.save());
    answers.addNew();
    answers.setValue(QStringLiteral("Code"), code);
    for (int item = 1; item <= 40; ++item)
        answers.setValue(QString::number(item), answer(item));
    QVERIFY(answers.save());
}

// The field of the rows holding the code, one value per row.
QStringList stored(const QString &table, const QString &code, const QString &field) {
    DataSource rows(table);
    rows.setFilter(QStringLiteral("Code"), code);
    return rows.fieldValues(field);
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
    void savingTheRecord();
    void refusedSelectionsAndPrinting();
    void takesTheMainWindowsPlace();

private:
    QWidget *control(const char *name) { return m_window->findChild<QWidget *>(QString::fromLatin1(name)); }
    QString text(const char *name) { return static_cast<QLineEdit *>(control(name))->text(); }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    void openWindow();
    // Selects by the code typed into the input box; the message box that follows, if any, is
    // answered and recorded in message.
    void select(const QString &code, SeenBox *message = nullptr, bool accept = true);
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
    addExaminee("K1", [](int item) { return QString::number(item % 9 + 1); });
    addExaminee("12", [](int) { return QStringLiteral("9"); });
    addExaminee("K3", [](int item) { return item == 3 || item == 17 ? QString() : QStringLiteral("1"); });
    addExaminee("K4", [](int item) { return item == 40 ? QString() : QStringLiteral("1"); });
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

void FrmkLIDTest::select(const QString &code, SeenBox *message, bool accept) {
    SeenBox input;
    answerNextInputBox(&input, code, accept);
    if (message)
        answerNextMessageBox(message);
    click("Command1");
    QCOMPARE(input.title, inputTitle);
    QCOMPARE(input.text, QStringLiteral(" Enter Number "));
}

bool FrmkLIDTest::resultShown() {
    const bool shown = control("Frame3")->isVisible();
    for (const char *frame : {"Frame4", "Frame5", "Frame6"})
        if (control(frame)->isVisible() != shown)
            return !shown;
    return shown;
}

void FrmkLIDTest::selection_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("message"); // of the box that follows; empty: none
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("scores"); // boxes 0, 12, 17, 22; empty: not scored
    QTest::newRow("empty") << "" << true << codeMissing << "" << QStringList();
    QTest::newRow("cancelled") << "K1" << false << codeMissing << "" << QStringList();
    QTest::newRow("unknown") << "Z9" << true << notFound << "" << QStringList();
    QTest::newRow("3 and 17 missing") << "K3" << true << unanswered + "3  17  "
                                      << "" << QStringList();
    QTest::newRow("40 missing") << "K4" << true << unanswered + "40  "
                                << "" << QStringList();
    QTest::newRow("complete") << "K1" << true << ""
                              << "K1" << QStringList{"13", "110", "46", "38"};
    QTest::newRow("other case") << "k1" << true << ""
                                << "k1" << QStringList{"13", "110", "46", "38"};
    QTest::newRow("Persian digits") << "\u06F1\u06F2" << true << ""
                                    << "12" << QStringList{"18", "216", "72", "72"};
}

void FrmkLIDTest::selection() {
    QFETCH(QString, code);
    QFETCH(bool, accept);
    QFETCH(QString, message);
    QFETCH(QString, selected);
    QFETCH(QStringList, scores);
    openWindow();
    SeenBox box;
    select(code, message.isEmpty() ? nullptr : &box, accept);
    QCOMPARE(box.text, message);
    // The refusal for unanswered items waits for the user, with a warning; the others are notices.
    const bool refusal = message.startsWith(unanswered);
    QCOMPARE(box.title, message.isEmpty() ? QString() : refusal ? QStringLiteral("خطا") : QStringLiteral("پيام"));
    QCOMPARE(box.icon, refusal ? QMessageBox::Warning : QMessageBox::NoIcon);
    QCOMPARE(text("Text5"), selected);
    QCOMPARE(resultShown(), !scores.isEmpty());
    if (scores.isEmpty())
        return;
    QCOMPARE((QStringList{text("Text3_0"), text("Text3_12"), text("Text3_17"), text("Text3_22")}), scores);
    QCOMPARE(text("Text12"), QStringLiteral("Family ") + selected.toUpper());
    QTest::keyClicks(control("Text3_0"), "7"); // score boxes take no typing
    QCOMPARE(text("Text3_0"), scores.first());
}

// The record is stored through the examinee's rows (whose cases are tested with them): a new code
// goes to both rows, the other examinee keeps its own.
void FrmkLIDTest::savingTheRecord() {
    openWindow();
    select("K1");
    static_cast<QLineEdit *>(control("Text15"))->setText("K9");
    SeenBox notice;
    answerNextMessageBox(&notice);
    click("Command2");
    QCOMPARE(notice.text, saved);
    QCOMPARE(stored("IDE", "K9", "LName"), QStringList{"Family K1"});
    QCOMPARE(stored("Answer", "K9", "40"), QStringList{"5"});
    QCOMPARE(stored("Answer", "12", "40"), QStringList{"9"});
}

// A refused selection keeps the examinee shown before, and so does a look-up of an unknown code:
// the report prints that examinee, with the edits not yet saved, in a preview that is neither
// modal nor owned. A second print needs a new selection.
void FrmkLIDTest::refusedSelectionsAndPrinting() {
    {
        DataSource settings(QStringLiteral("Theme"));
        settings.setValue(QStringLiteral("Name"), QStringLiteral("Clinic Mehr"));
        QVERIFY(settings.save());
    }
    openWindow();
    select("K1");
    static_cast<QLineEdit *>(control("Text12"))->setText(QStringLiteral("Rahimi"));
    SeenBox refusal, unknown, notice;
    select("K3", &refusal);
    QVERIFY(refusal.seen && !resultShown());
    select("Z9", &unknown);
    QCOMPARE(unknown.text, notFound);
    QCOMPARE(text("Text5"), QStringLiteral("K1"));
    QCOMPARE(text("Text3_12"), QStringLiteral("110"));
    click("Command6");
    QCOMPARE(text("Text5"), QString());
    QPrintPreviewDialog *preview = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && qobject_cast<QPrintPreviewDialog *>(widget))
            preview = static_cast<QPrintPreviewDialog *>(widget);
    QVERIFY(preview && !preview->isModal() && !preview->parentWidget());
    const QString pdf = m_folder->filePath(QStringLiteral("report.pdf"));
    preview->printer()->setOutputFormat(QPrinter::PdfFormat);
    preview->printer()->setOutputFileName(pdf);
    preview->findChild<QPrintPreviewWidget *>()->print();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished());
    const QString page = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char *shown : {"Clinic Mehr", "Rahimi", "110", "46", "38"})
        QVERIFY2(page.contains(QLatin1String(shown)), shown);

    answerNextMessageBox(&notice);
    click("Command6");
    QCOMPARE(notice.text, printNeedsExaminee);
}

void FrmkLIDTest::takesTheMainWindowsPlace() {
    // With no answer row, the main window's scoring button does nothing.
    for (const char *table : {"Answer", "IDE"}) {
        DataSource rows(QString::fromLatin1(table));
        while (!rows.noCurrentRow())
            QVERIFY(rows.deleteCurrent());
    }
    m_window = Navigation::showMainWindow();
    click("Command3");
    QVERIFY(m_window->isVisible() && !visibleWindow("FrmkLID"));

    addExaminee("K1", [](int) { return QStringLiteral("2"); });
    m_window->close();
    m_window = Navigation::showMainWindow();
    click("Command3");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window);
    m_window = visibleWindow("FrmkLID");
    QVERIFY(m_window);
    click("Command4");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window);
    m_window = visibleWindow("Frm1");
    QVERIFY(m_window);
    QCOMPARE(text("Text3"), QStringLiteral("2"));
}

QTEST_MAIN(FrmkLIDTest)
#include "FrmkLIDTest.moc"
