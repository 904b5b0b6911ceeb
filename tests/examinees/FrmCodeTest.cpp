#include "examinees/FrmCode.h"

#include "app/Frm1.h"
#include "widgets/Notices.h"
#include "store/DataSourceModel.h"
#include "store/Database.h"
#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
struct Examinee {
    QString code, firstName, lastName, group;
    bool answerRow = true;
};

// Codes and names that a careless filter would take for SQL or patterns.
const QList<Examinee> examinees{
    {"C1", "Ali", "Ahmadi", "A"},
    {"C2", "Sara", "AHMADI", "B"},
    {"C3", "Ali", "Karimi", "B"},
    {"123", "Reza", "Nouri", "C"},
    {"o'k", "Qu\"ote", "O'Brien", "D"},
    {"50%\\", "Maryam", "100%\\", "E"},
    {"IDEONLY", "Hasan", "Rahimi", "A", false},
};

const QString question = QStringLiteral("آيا براي حذف کردن مطمئن هستيد؟");

void insert(const QString &sql, const QStringList &values) {
    QSqlQuery query(Database::connection());
    query.prepare(sql);
    for (const QString &value : values)
        query.addBindValue(value);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
}
} // namespace

class FrmCodeTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void selectorFilters_data();
    void selectorFilters();
    void nameListsHoldEachNameOnce();
    void deletion_data();
    void deletion();
    void failedDeletionKeepsBothRows();
    void readsOnlyWhatIsShown();
    void mainWindowOpensItModal();

private:
    template <typename T> T *control(const char *name) { return m_window->findChild<T *>(QLatin1String(name)); }
    QStringList gridCodes();
    void open();

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<FrmCode> m_window;
};

void FrmCodeTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    for (const Examinee &e : examinees) {
        insert("INSERT INTO IDE (Code, FName, LName, \"Group\") VALUES (?, ?, ?, ?)",
               {e.code, e.firstName, e.lastName, e.group});
        if (e.answerRow)
            insert("INSERT INTO Answer (Code) VALUES (?)", {e.code});
    }
    insert("INSERT INTO Answer (Code) VALUES (?)", {"ANSWERONLY"});
}

void FrmCodeTest::cleanup() {
    m_window.reset();
    m_folder.reset();
}

void FrmCodeTest::open() {
    m_window = std::make_unique<FrmCode>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

QStringList FrmCodeTest::gridCodes() {
    const QAbstractItemModel *grid = control<QTableView>("DataGrid1")->model();
    QStringList codes;
    for (int row = 0; row < grid->rowCount(); ++row)
        codes << grid->index(row, 0).data().toString();
    return codes;
}

// Steps "selector=value": a group in the list is chosen from it, any other typed; names are chosen.
void FrmCodeTest::selectorFilters_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("codes"); // in the grid after the last step
    QTest::newRow("last name, either case") << QStringList{"DataCombo1=AHMADI"} << QStringList{"C1", "C2"};
    QTest::newRow("last name with a quote") << QStringList{"DataCombo1=O'Brien"} << QStringList{"o'k"};
    QTest::newRow("last name with % and \\") << QStringList{"DataCombo1=100%\\"} << QStringList{"50%\\"};
    QTest::newRow("first name with a double quote") << QStringList{"DataCombo6=Qu\"ote"} << QStringList{"o'k"};
    QTest::newRow("group typed in lower case") << QStringList{"Combo3=b"} << QStringList{"C2", "C3"};
    QTest::newRow("group nobody is in") << QStringList{"Combo3=G"} << QStringList{};
    QTest::newRow("each replaces the last")
        << QStringList{"DataCombo1=Karimi", "DataCombo6=Ali", "Combo3=B", "DataCombo1=AHMADI"}
        << QStringList{"C1", "C2"};
    QTest::newRow("group, then first name") << QStringList{"Combo3=A", "DataCombo6=Ali"} << QStringList{"C1", "C3"};
}

void FrmCodeTest::selectorFilters() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, codes);
    open();
    QCOMPARE(gridCodes().size(), examinees.size());
    const QList<QComboBox *> selectors{control<QComboBox>("DataCombo1"), control<QComboBox>("DataCombo6"),
                                       control<QComboBox>("Combo3")};
    for (const QString &step : steps) {
        auto *operated = control<QComboBox>(qPrintable(step.section('=', 0, 0)));
        const QString value = step.section('=', 1);
        if (operated->isEditable() && operated->findText(value) < 0)
            QTest::keyClicks(operated->lineEdit(), value);
        else
            chooseFromList(operated, value);
        for (QComboBox *other : selectors) {
            if (other != operated)
                QCOMPARE(other->currentText(), QString());
        }
    }
    QCOMPARE(gridCodes(), codes);
}

void FrmCodeTest::nameListsHoldEachNameOnce() {
    open();
    auto entries = [this](const char *name) {
        QStringList texts;
        for (int row = 0; row < control<QComboBox>(name)->count(); ++row)
            texts << control<QComboBox>(name)->itemText(row);
        return texts;
    };
    QCOMPARE(entries("DataCombo1"), QStringList({"100%\\", "AHMADI", "Karimi", "Nouri", "O'Brien", "Rahimi"}));
    QCOMPARE(entries("DataCombo6"), QStringList({"Ali", "Hasan", "Maryam", "Qu\"ote", "Reza", "Sara"}));
}

void FrmCodeTest::deletion_data() {
    const QString missing = QString::fromUtf8(Notices::examineeCodeMissing.text);
    const QString notFound = QString::fromUtf8(Notices::deleteCodeNotFound.text);
    const QString done = QString::fromUtf8(Notices::deleteDone.text);
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("gone");     // the stored code whose rows are deleted; empty: none
    QTest::addColumn<QString>("lostName"); // a last name no longer on offer afterwards
    const int yes = QMessageBox::Yes;
    QTest::newRow("empty code") << "" << yes << QStringList{missing} << ""
                                << "";
    QTest::newRow("spaces only") << "   " << yes << QStringList{notFound} << ""
                                 << "";
    QTest::newRow("unknown code") << "ZZ" << yes << QStringList{notFound} << ""
                                  << "";
    QTest::newRow("percent is no pattern") << "%" << yes << QStringList{notFound} << ""
                                           << "";
    QTest::newRow("answer row without examinee") << "ANSWERONLY" << yes << QStringList{notFound} << ""
                                                 << "";
    QTest::newRow("No keeps the examinee") << "C1" << int(QMessageBox::No) << QStringList{question} << ""
                                           << "";
    QTest::newRow("Yes, code in the other case") << "c1" << yes << QStringList{question, done} << "C1"
                                                 << "";
    QTest::newRow("code with a quote") << "o'k" << yes << QStringList{question, done} << "o'k"
                                       << "O'Brien";
    QTest::newRow("code with % and \\") << "50%\\" << yes << QStringList{question, done} << "50%\\"
                                        << "";
    QTest::newRow("Persian digits") << "۱۲۳" << yes << QStringList{question, done} << "123"
                                    << "Nouri";
    QTest::newRow("examinee without answer row") << "IDEONLY" << yes << QStringList{question, done} << "IDEONLY"
                                                 << "";
}

void FrmCodeTest::deletion() {
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(QString, gone);
    QFETCH(QString, lostName);
    open();
    const QStringList examineesBefore = columnInFile("SELECT Code FROM IDE ORDER BY ID");
    const QStringList answersBefore = columnInFile("SELECT Code FROM Answer ORDER BY ID");
    typeText(control<QLineEdit>("Text3"), typed);
    QList<QMessageBox::StandardButton> buttons;
    for (const QString &box : boxes)
        buttons << (box == question ? QMessageBox::StandardButton(answer) : QMessageBox::Ok);
    QList<SeenBox> seen;
    answerMessageBoxes(&seen, buttons);
    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
    QStringList texts;
    for (const SeenBox &box : seen)
        texts << box.text;
    QCOMPARE(texts, boxes);

    QStringList examineesAfter = examineesBefore, answersAfter = answersBefore;
    examineesAfter.removeAll(gone);
    answersAfter.removeAll(gone);
    QCOMPARE(columnInFile("SELECT Code FROM IDE ORDER BY ID"), examineesAfter);
    QCOMPARE(columnInFile("SELECT Code FROM Answer ORDER BY ID"), answersAfter);
    QCOMPARE(gridCodes(), examineesAfter);
    if (!lostName.isEmpty())
        QCOMPARE(control<QComboBox>("DataCombo1")->findText(lostName), -1);
}

// The answer row cannot go: the examinee row stays as well, and the failure is told as it is.
void FrmCodeTest::failedDeletionKeepsBothRows() {
    QSqlQuery(Database::connection())
        .exec("CREATE TRIGGER keep BEFORE DELETE ON Answer BEGIN SELECT RAISE(ABORT, 'answer row kept'); END");
    open();
    typeText(control<QLineEdit>("Text3"), "C1");
    QList<SeenBox> seen;
    answerMessageBoxes(&seen, {QMessageBox::Yes, QMessageBox::Ok});
    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[1].title, QStringLiteral("Error"));
    QCOMPARE(seen[1].icon, QMessageBox::Warning);
    QVERIFY2(seen[1].text.contains("answer row kept"), qPrintable(seen[1].text));
    QCOMPARE(columnInFile("SELECT Code FROM IDE WHERE Code = 'C1'"), QStringList{"C1"});
    QCOMPARE(columnInFile("SELECT Code FROM Answer WHERE Code = 'C1'"), QStringList{"C1"});
    QCOMPARE(gridCodes(), QStringList{"C1"});
}

// Many examinees: the grid and the name lists read what comes into view, not the table.
void FrmCodeTest::readsOnlyWhatIsShown() {
    constexpr int many = 20000;
    QSqlQuery(Database::connection()).exec("BEGIN");
    for (int i = 0; i < many; ++i)
        insert("INSERT INTO IDE (Code, LName) VALUES (?, ?)", {QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0')),
                                                               QStringLiteral("L%1").arg(i, 5, 10, QLatin1Char('0'))});
    QSqlQuery(Database::connection()).exec("COMMIT");
    open();
    auto *view = control<QTableView>("DataGrid1");
    auto *grid = qobject_cast<DataSourceModel *>(view->model());
    QCOMPARE(grid->rowCount(), many + examinees.size());
    QVERIFY2(grid->heldRows() < many / 20, qPrintable(QString::number(grid->heldRows())));
    view->scrollToBottom();
    QTest::qWait(0);
    QCOMPARE(view->indexAt(QPoint(1, view->viewport()->height() - 2)).siblingAtColumn(0).data().toString(), "M19999");
    QVERIFY2(grid->heldRows() < many / 20, qPrintable(QString::number(grid->heldRows())));

    auto *lastNames = control<QComboBox>("DataCombo1");
    QVERIFY(lastNames->count() < many / 20);
    QCOMPARE(lastNames->itemText(lastNames->count() - 1),
             QStringLiteral("L%1").arg(lastNames->count() - 4, 5, 10, QLatin1Char('0')));
    const int firstPage = lastNames->count();
    lastNames->showPopup();
    lastNames->view()->scrollToBottom();
    QTRY_VERIFY(lastNames->count() > firstPage);
    lastNames->hidePopup();
}

void FrmCodeTest::mainWindowOpensItModal() {
    Frm1 main;
    main.show();
    QString opened;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened = modal->objectName();
            modal->close();
            poll.stop();
        }
    });
    poll.start(20);
    QTest::mouseClick(main.findChild<QPushButton *>("Command4"), Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("FrmCode"));
}

QTEST_MAIN(FrmCodeTest)
#include "FrmCodeTest.moc"
