#include "support/FileBytes.h"
#include "support/ModalDriver.h"
#include "support/PdfText.h"
#include "support/ProgramEnd.h"
#include "support/RoadSteps.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "app/KeltoStart.h"
#include "scoring/ScoringKey.h"
#include "store/Database.h"
#include "widgets/Notices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {
const Examinee complete{"R1", "سارا", "کريمي", "زن", "34", "متأهل", "B", "ليسانس"};
const Examinee incomplete{"R2", "علي", "رضايي", "مرد", "41", "مجرد", "C", "ديپلم"};
const Examinee later{"R3", "مينا", "احمدي", "زن", "29", "مجرد", "A", "دکتري"};

// The answers the complete examinee gives, item by item; every other one is typed on a Persian
// keyboard, whose digits are stored as the ASCII ones.
QString answerOf(int item) { return QString::number(item * 7 % 9 + 1); }
QString keyFor(int item) { return item % 2 ? QString(QChar(0x06F0 + answerOf(item).toInt())) : answerOf(item); }

const QStringList keltoTables{"IDE", "Answer", "QUS", "Theme"};

QString notice(const Notice &n) { return QString::fromUtf8(n.text); }

// The rows the query gives, each row's fields joined, read through a connection of its own, so
// nothing the program keeps in memory can stand in for the file.
QStringList readFromFile(const QString &file, const QString &sql, const QString &code = {}) {
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("road-check"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(db);
        if (db.open() && query.prepare(sql)) {
            if (!code.isNull())
                query.addBindValue(code);
            query.exec();
            while (query.next()) {
                QStringList fields;
                for (int i = 0; i < query.record().count(); ++i)
                    fields << query.value(i).toString();
                rows << fields.join(QLatin1Char('|'));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("road-check"));
    return rows;
}

QStringList rowsInFile(const QString &file, const QString &table) {
    return readFromFile(file, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
}

// The expression over the rows of the table that hold the code.
QString fieldInFile(const QString &file, const QString &table, const QString &expression, const QString &code) {
    return readFromFile(file, QStringLiteral("SELECT %1 FROM \"%2\" WHERE Code = ?").arg(expression, table), code)
        .join(QLatin1Char(';'));
}

// The 40 answers of an answer row, an unanswered item as "-".
QString answersExpression() {
    QStringList fields;
    for (int item = 1; item <= 40; ++item)
        fields << QStringLiteral("COALESCE(NULLIF(\"%1\", ''), '-')").arg(item);
    return fields.join(QStringLiteral("||"));
}

} // namespace

// One examinee's road through the program's windows, as a user takes it, against one database
// file in a program folder: registration, the test, scoring, the result sheet, the report, the
// directory, leaving with a backup, and a later start that restores it.
class WholeRoadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void registersTwoExaminees();
    void oneAnswersEveryItemTheOtherNot();
    void scoringRefusesTheIncompleteOne();
    void correctedNameIsSaved();
    void reportPrintsToPdf();
    void directoryFindsBothAndDeletesOne();
    void leavingWithTheBackupBoxTicked();
    void laterStartRestoresTheBackup();

private:
    void start();
    // From the main window's exit button to the backup window, the backup box ticked.
    void leaveToBackupWindow(QWidget **backup);
    QString database() const { return m_folder->filePath(Database::relativePath()); }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<KeltoStart> m_start;
    QPointer<QWidget> m_sheet;
    QString m_backup;
    // The rows of each table the backup holds.
    QHash<QString, QStringList> m_backedUp;
    // Each step starts where the one before left the program: after a failed step the rest of
    // the road is skipped instead of running against windows that are not there.
    bool m_roadBroken = false;
};

void WholeRoadTest::initTestCase() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->isValid());
    start();
}

void WholeRoadTest::cleanupTestCase() {
    endProcess();
    m_start.reset();
    m_folder.reset();
}

void WholeRoadTest::init() {
    if (m_roadBroken)
        QSKIP("an earlier step of the road failed");
}

void WholeRoadTest::cleanup() { m_roadBroken = m_roadBroken || QTest::currentTestFailed(); }

void WholeRoadTest::start() {
    m_start = std::make_unique<KeltoStart>(m_folder->path());
    QCOMPARE(m_start->run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QVERIFY(QTest::qWaitForWindowExposed(m_start->mainWindow()));
}

void WholeRoadTest::registersTwoExaminees() {
    // The clinic first, for the report's head.
    QWidget *main = mainWindow();
    click(main, "Command9");
    click(main, "Command67");
    retype(child(main, "Text2"), QStringLiteral("کلينيک مهر"));
    retype(child(main, "Text14"), QStringLiteral("شيراز خيابان زند"));
    click(main, "Command64");
    QCOMPARE(rowsInFile(database(), "Theme").size(), 1);
    QVERIFY(rowsInFile(database(), "Theme").first().contains(QStringLiteral("کلينيک مهر|شيراز خيابان زند")));

    registerExaminee(complete);
    registerExaminee(incomplete);
    const QString today = child<QLineEdit>(mainWindow(), "Text8")->text();
    const QString details = QStringLiteral("Code||'|'||FName||'|'||LName||'|'||Jens||'|'||Sen||'|'||Taahol||'|'||"
                                           "\"Group\"||'|'||Tahsil||'|'||Date");
    for (const Examinee &e : {complete, incomplete})
        QCOMPARE(
            fieldInFile(database(), "IDE", details, e.code),
            QStringList({e.code, e.firstName, e.lastName, e.sex, e.age, e.maritalStatus, e.group, e.education, today})
                .join(QLatin1Char('|')));
    QCOMPARE(fieldInFile(database(), "Answer", answersExpression(), complete.code), QString(40, QLatin1Char('-')));
    QCOMPARE(rowsInFile(database(), "Answer").size(), 2);
}

void WholeRoadTest::oneAnswersEveryItemTheOtherNot() {
    QStringList itemsShown;
    QCOMPARE(runTest(complete.code,
                     [&](QWidget *window) {
                         click(window, "Command1");
                         for (int item = 1; item <= 40; ++item) {
                             itemsShown << child<QGroupBox>(window, "Frame2")->title();
                             typeText(child(window, "Text12"), keyFor(item));
                             if (item < 40)
                                 click(window, "CmdNext");
                         }
                         click(window, "Command5");
                     }),
             QString());
    QStringList items;
    QString answers;
    for (int item = 1; item <= 40; ++item) {
        items << QString::number(item);
        answers += answerOf(item);
    }
    QCOMPARE(itemsShown, items);
    QCOMPARE(fieldInFile(database(), "Answer", answersExpression(), complete.code), answers);

    // The other one stops at the last item, leaves items 7 and 40 unanswered, and closes the window
    // by its close box: what was typed is kept.
    QCOMPARE(runTest(incomplete.code,
                     [](QWidget *window) {
                         click(window, "Command1");
                         for (int item = 1; item < 40; ++item) {
                             if (item != 7)
                                 typeText(child(window, "Text12"), QStringLiteral("5"));
                             click(window, "CmdNext");
                         }
                         window->close();
                     }),
             QString());
    QString partial(40, QLatin1Char('5'));
    partial[6] = partial[39] = QLatin1Char('-');
    QCOMPARE(fieldInFile(database(), "Answer", answersExpression(), incomplete.code), partial);
    QCOMPARE(rowsInFile(database(), "Answer").size(), 2);
}

void WholeRoadTest::scoringRefusesTheIncompleteOne() {
    click(mainWindow(), "Command3");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!mainWindow());
    m_sheet = visibleWindow(QStringLiteral("FrmkLID"));
    QVERIFY(m_sheet);

    SeenBox asked, refusal;
    answerNextInputBox(&asked, incomplete.code);
    answerNextMessageBox(&refusal);
    click(m_sheet, "Command1");
    QVERIFY(asked.seen);
    QCOMPARE(refusal.title, QStringLiteral("خطا"));
    QCOMPARE(refusal.icon, QMessageBox::Warning);
    QVERIFY2(refusal.text.endsWith(QStringLiteral("\r\n\r\n7  40  ")), qPrintable(refusal.text));
    QVERIFY(!child(m_sheet, "Frame3")->isVisible());
    QCOMPARE(child<QLineEdit>(m_sheet, "Text5")->text(), QString());

    answerNextInputBox(&asked, complete.code);
    QCOMPARE(boxTextsShownBy([&]() { click(m_sheet, "Command1"); }), QString());
    QVERIFY(child(m_sheet, "Frame3")->isVisible());
    QStringList answers;
    for (int item = 1; item <= 40; ++item)
        answers << answerOf(item);
    QCOMPARE(shownScores(m_sheet), scoreTexts(answers));
    QCOMPARE(child<QLineEdit>(m_sheet, "Text23_3")->text(), complete.firstName);
    QCOMPARE(child<QLineEdit>(m_sheet, "Text12")->text(), complete.lastName);
}

void WholeRoadTest::correctedNameIsSaved() {
    QVERIFY(m_sheet);
    retype(child(m_sheet, "Text23_3"), QStringLiteral("ساره"));
    SeenBox saved;
    answerNextMessageBox(&saved);
    click(m_sheet, "Command2");
    QCOMPARE(saved.text, notice(Notices::changesSaved));
    QCOMPARE(fieldInFile(database(), "IDE", "FName||'|'||LName||'|'||Sen", complete.code),
             QStringLiteral("ساره|کريمي|34"));
    QCOMPARE(fieldInFile(database(), "IDE", "FName", incomplete.code), incomplete.firstName);
    QCOMPARE(rowsInFile(database(), "IDE").size(), 2);
}

void WholeRoadTest::reportPrintsToPdf() {
    QVERIFY(m_sheet);
    const QStringList scores{child<QLineEdit>(m_sheet, "Text3_0")->text(),
                             child<QLineEdit>(m_sheet, "Text3_22")->text()};
    click(m_sheet, "Command6");
    QPrintPreviewDialog *preview = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && qobject_cast<QPrintPreviewDialog *>(widget))
            preview = static_cast<QPrintPreviewDialog *>(widget);
    QVERIFY(preview);
    auto *saveAsPdf = preview->findChild<QAction *>(QStringLiteral("saveAsPdf"));
    QVERIFY(saveAsPdf);
    const QString pdf = m_folder->filePath(QStringLiteral("گزارش ساره.pdf"));
    SeenFileDialog dialog;
    answerNextFileDialog(&dialog, pdf);
    QCOMPARE(boxTextsShownBy([&]() { saveAsPdf->trigger(); }), QString());
    QVERIFY(dialog.saving);
    preview->close();

    const QString page = pdfText(pdf);
    QVERIFY2(!page.isEmpty(), qPrintable(pdf));
    for (const QString &shown : {QStringLiteral("کلينيک مهر"), QStringLiteral("شيراز خيابان زند"),
                                 QStringLiteral("ساره"), complete.lastName, complete.education})
        QVERIFY2(page.contains(foldedText(shown)), qPrintable(shown + QLatin1Char('\n') + page));
    for (const QString &score : scores)
        QVERIFY2(page.contains(score), qPrintable(score));
    // Nothing of the examinee refused before, nor the name as it was before the correction.
    QVERIFY(!page.contains(foldedText(incomplete.lastName)));
    QVERIFY(!page.contains(foldedText(complete.firstName)));

    click(m_sheet, "Command4");
    QVERIFY(mainWindow());
}

void WholeRoadTest::directoryFindsBothAndDeletesOne() {
    QStringList byLastName, byGroup, afterDeletion;
    int correctedOnOffer = -1, formerOnOffer = -1;
    QList<SeenBox> boxes;
    actOnNextWindow(QStringLiteral("FrmCode"), [&](QWidget *directory) {
        chooseFromList(child<QComboBox>(directory, "DataCombo1"), complete.lastName);
        byLastName = gridCodes(directory);
        chooseFromList(child<QComboBox>(directory, "Combo3"), incomplete.group);
        byGroup = gridCodes(directory);
        // The first names on offer are those of the file, the correction included.
        auto *firstNames = child<QComboBox>(directory, "DataCombo6");
        correctedOnOffer = firstNames->findText(QStringLiteral("ساره"));
        formerOnOffer = firstNames->findText(complete.firstName);
        typeText(child(directory, "Text3"), incomplete.code);
        answerMessageBoxes(&boxes, {QMessageBox::Yes, QMessageBox::Ok});
        click(directory, "Command2");
        afterDeletion = gridCodes(directory);
        click(directory, "Command6");
    });
    click(mainWindow(), "Command4");
    QCOMPARE(byLastName, QStringList{complete.code});
    QCOMPARE(byGroup, QStringList{incomplete.code});
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.last().text, notice(Notices::deleteDone));
    QCOMPARE(afterDeletion, QStringList{complete.code});
    QVERIFY(correctedOnOffer >= 0);
    QCOMPARE(formerOnOffer, -1);
    QCOMPARE(fieldInFile(database(), "IDE", "Code", incomplete.code), QString());
    QCOMPARE(fieldInFile(database(), "Answer", "Code", incomplete.code), QString());
    QCOMPARE(rowsInFile(database(), "IDE").size(), 1);
    QCOMPARE(rowsInFile(database(), "Answer").size(), 1);
}

void WholeRoadTest::leaveToBackupWindow(QWidget **backup) {
    *backup = nullptr;
    click(mainWindow(), "Command6");
    QWidget *dialog = visibleWindow(QStringLiteral("exitpro"));
    QVERIFY(dialog);
    QVERIFY(!mainWindow());
    // The box is ticked by a click on its square, at the right end of a right-to-left line.
    auto *backupBox = child<QCheckBox>(dialog, "Check1");
    QStyleOptionButton option;
    option.initFrom(backupBox);
    option.text = backupBox->text();
    QTest::mouseClick(backupBox, Qt::LeftButton, {},
                      backupBox->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, backupBox).center());
    QVERIFY(backupBox->isChecked());
    // The confirm picture lights up under the pointer; the click lands on the lit one.
    QTest::mouseMove(dialog, QPoint(4, 4));
    QTest::mouseMove(dialog, child(dialog, "k1")->geometry().center());
    QWidget *lit = child(dialog, "k2");
    QTRY_VERIFY(lit->isVisible());
    QTest::mouseClick(lit, Qt::LeftButton, {}, lit->rect().center());
    *backup = visibleWindow(QStringLiteral("Frmbackup"));
}

void WholeRoadTest::leavingWithTheBackupBoxTicked() {
    QWidget *backup = nullptr;
    leaveToBackupWindow(&backup);
    QVERIFY(backup);
    m_backup = QDir(m_folder->filePath(QStringLiteral("Back"))).filePath(QStringLiteral("پس از حذف (1).mdbB"));
    SeenFileDialog dialog;
    answerNextFileDialog(&dialog, m_backup);
    click(backup, "b1");
    QVERIFY(dialog.saving);
    QCOMPARE(dialog.folder, QFileInfo(m_folder->filePath(QStringLiteral("Back"))).absoluteFilePath());
    QList<SeenBox> made;
    answerMessageBoxes(&made, {QMessageBox::Ok});
    QVERIFY(endsProgram([&]() { click(backup, "VisualButtonEx2"); }));
    QCOMPARE(made.size(), 1);
    QVERIFY2(made.first().text.startsWith(QStringLiteral("نسخه پشتيبان تهيه گرديد")), qPrintable(made.first().text));
    QCOMPARE(readFile(m_backup), readFile(database()));
    for (const QString &table : keltoTables)
        m_backedUp.insert(table, rowsInFile(m_backup, table));
    QCOMPARE(m_backedUp.value("IDE").size(), 1);
    QVERIFY(m_backedUp.value("IDE").first().contains(QStringLiteral("ساره|کريمي")));
    QCOMPARE(m_backedUp.value("Answer").size(), 1);
    QCOMPARE(m_backedUp.value("QUS").size(), 40);
}

void WholeRoadTest::laterStartRestoresTheBackup() {
    QVERIFY(!m_backup.isEmpty());
    endProcess();
    m_start.reset();
    start();
    // Work done after the backup, which the restore takes back.
    registerExaminee(later);
    QCOMPARE(rowsInFile(database(), "IDE").size(), 2);

    QWidget *backup = nullptr;
    leaveToBackupWindow(&backup);
    QVERIFY(backup);
    SeenFileDialog dialog;
    answerNextFileDialog(&dialog, m_backup);
    click(backup, "b2");
    QVERIFY(dialog.seen && !dialog.saving);
    QList<SeenBox> boxes;
    answerMessageBoxes(&boxes, {QMessageBox::Yes, QMessageBox::Ok});
    QVERIFY(endsProgram([&]() { click(backup, "VisualButtonEx3"); }));
    QCOMPARE(boxes.size(), 2);
    QVERIFY2(boxes.last().text.startsWith(QStringLiteral("بازيابي اطلاعات انجام شد")), qPrintable(boxes.last().text));

    endProcess();
    m_start.reset();
    start();
    for (const QString &table : keltoTables)
        QCOMPARE(rowsInFile(database(), table), m_backedUp.value(table));
    // The restored examinee scores as before.
    click(mainWindow(), "Command3");
    m_sheet = visibleWindow(QStringLiteral("FrmkLID"));
    QVERIFY(m_sheet);
    SeenBox asked;
    answerNextInputBox(&asked, complete.code);
    QCOMPARE(boxTextsShownBy([&]() { click(m_sheet, "Command1"); }), QString());
    QCOMPARE(child<QLineEdit>(m_sheet, "Text23_3")->text(), QStringLiteral("ساره"));
    QVERIFY(child(m_sheet, "Frame3")->isVisible());
}

QTEST_MAIN(WholeRoadTest)
#include "WholeRoadTest.moc"
