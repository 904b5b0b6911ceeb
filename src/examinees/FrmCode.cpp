#include "examinees/FrmCode.h"

#include "common/AppVersion.h"
#include "common/Twips.h"
#include "examinees/ExamineeDeletion.h"
#include "profile/ExportDialogs.h"
#include "profile/ProfileWindow.h"
#include "store/DataSource.h"
#include "store/DataSourceModel.h"
#include "store/DistinctValuesModel.h"
#include "store/FieldValues.h"
#include "store/Schema.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/FieldBinding.h"
#include "widgets/Notices.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"
#include "widgets/WaitingMessageBox.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>

namespace {
const QString codeField = QStringLiteral("code");
const QString lastNameField = Schema::lastName;
const QString firstNameField = Schema::firstName;
const QString groupField = Schema::group;

constexpr int SelectorTop = 240;
constexpr int BoxHeight = 345;
} // namespace

FrmCode::FrmCode(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCode"));
    setModal(true);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(QStringLiteral("کد آزمودني"));
    createDataSources();
    buildControls();

    move(twipsPoint(2340, 765));
    applyTheme(Skin1, this, Text1->text());
    // The sources and the lists over them have just read the examinees: read again, they would cost
    // the opening twice over (on a server, both name lists are a walk through the whole table).
    clearSelectorsExcept(nullptr);
}

void FrmCode::createDataSources() {
    Adodc1 = new DataSource(Schema::settingsTable, this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Adodc2 = new DataSource(Schema::examineeTable, this);
    Adodc2->setObjectName(QStringLiteral("Adodc2"));
    Adodc3 = new DataSource(Schema::examineeTable, this);
    Adodc3->setObjectName(QStringLiteral("Adodc3"));
    Adodc4 = new DataSource(Schema::answerTable, this);
    Adodc4->setObjectName(QStringLiteral("Adodc4"));
    m_names = new DataSource(Schema::examineeTable, this);
}

void FrmCode::buildControls() {
    setFixedSize(twipsSize(10800, 6840));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    FieldBinding::bind(Text1, Adodc1, Schema::theme);

    buildSelectors();
    buildGrid();
    buildDeletionFrame();
    buildGridActions();

    Command6 = new QPushButton(QStringLiteral("خروج"), this);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command6->setGeometry(twipsRect(240, 5760, 1785, 555));
    // Not the dialog's default either: Enter on a row of the grid opens its profile and must not
    // also close the window.
    Command6->setAutoDefault(false);
    connect(Command6, &QPushButton::clicked, this, &FrmCode::close);

    Skin1 = new SkinObject(this);
    Skin1->setObjectName(QStringLiteral("Skin1"));
}

// Each selector's label stands to the right of its box, its colon towards the box.
void FrmCode::buildSelectors() {
    DataCombo1 = addNameList("DataCombo1", new DistinctValuesModel(m_names, lastNameField, this), 7080);
    addSelectorLabel("SkinLabel1", QStringLiteral(" :نام خانوادگي"), 9180, 1380)->setBuddy(DataCombo1);
    connect(DataCombo1, &QComboBox::activated, this, &FrmCode::chooseLastName);

    DataCombo6 = addNameList("DataCombo6", new DistinctValuesModel(m_names, firstNameField, this), 4200);
    addSelectorLabel("SkinLabel2", QStringLiteral(" :نام "), 6300, 720)->setBuddy(DataCombo6);
    connect(DataCombo6, &QComboBox::activated, this, &FrmCode::chooseFirstName);

    SkinLabel *groupLabel = addSelectorLabel("SkinLabel3", QStringLiteral(" :گروه"), 3360, 780);
    Combo3 = new QComboBox(this);
    groupLabel->setBuddy(Combo3);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    Combo3->setGeometry(twipsRect(240, SelectorTop, 3060, BoxHeight));
    Combo3->setEditable(true);
    // A typed group is a look-up, never a new entry of the list.
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    Combo3->addItems(FieldValues::groups());
    Combo3->lineEdit()->setPlaceholderText(QStringLiteral("جنسيت را انتخاب كنيد"));
    connect(Combo3, &QComboBox::editTextChanged, this, &FrmCode::chooseGroup);
    connect(Combo3, &QComboBox::textActivated, this, &FrmCode::chooseGroup);
}

QComboBox *FrmCode::addNameList(const char *name, DistinctValuesModel *values, int left) {
    auto *list = new QComboBox(this);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(twipsRect(left, SelectorTop, 2040, BoxHeight));
    list->setModel(values);
    // Show as many names as fit on screen.
    list->setMaxVisibleItems(20);
    return list;
}

void FrmCode::buildGrid() {
    m_gridCaption = addLabel(this, "DataGrid1Caption", QStringLiteral("مشخصات آزمودني"), 240, 840, 10320);
    m_gridCaption->setAlignment(Qt::AlignCenter);

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    m_gridCaption->setBuddy(DataGrid1);
    DataGrid1->setGeometry(twipsRect(240, 1200, 10320, 3960));
    m_grid = new DataSourceModel(
        Adodc2, {Schema::code, firstNameField, lastNameField, groupField},
        {QStringLiteral("کد"), QStringLiteral("نام"), QStringLiteral("نام خانوادگي"), QStringLiteral("گروه")}, this);
    DataGrid1->setModel(m_grid);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next control instead of stepping from cell to cell.
    DataGrid1->setTabKeyNavigation(false);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setWordWrap(false);
    // Fixed row heights and column widths: nothing is measured over the rows, which are read
    // only as they come into view.
    DataGrid1->verticalHeader()->hide();
    DataGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DataGrid1->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {2250, 2640, 3450};
    for (int column = 0; column < 3; ++column)
        DataGrid1->setColumnWidth(column, twips(widths[column]));
}

// The profile and the export act on what the grid shows; both are also in the grid's menu. Their
// work is queued, so that the menu has closed before a long export runs its progress dialog.
void FrmCode::buildGridActions() {
    m_profileAction = new QAction(QStringLiteral("نيمرخ نمرات"), this);
    m_profileAction->setObjectName(QStringLiteral("profileAction"));
    connect(
        m_profileAction, &QAction::triggered, this, [this]() { openProfile(DataGrid1->currentIndex().row()); },
        Qt::QueuedConnection);
    m_exportAction = new QAction(QStringLiteral("خروجي CSV"), this);
    m_exportAction->setObjectName(QStringLiteral("exportAction"));
    m_exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_exportAction, &QAction::triggered, this, &FrmCode::exportShown, Qt::QueuedConnection);
    addAction(m_exportAction);

    // Double-click and Enter on a row.
    connect(DataGrid1, &QTableView::activated, this, [this](const QModelIndex &index) { openProfile(index.row()); });
    DataGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DataGrid1, &QWidget::customContextMenuRequested, this, &FrmCode::showGridMenu);
}

void FrmCode::showGridMenu(const QPoint &position) {
    const QModelIndex row = DataGrid1->indexAt(position);
    if (row.isValid())
        DataGrid1->setCurrentIndex(row);
    m_profileAction->setEnabled(row.isValid());
    QMenu menu(this);
    menu.addAction(m_profileAction);
    menu.addAction(m_exportAction);
    menu.exec(DataGrid1->viewport()->mapToGlobal(position));
}

void FrmCode::openProfile(int row) {
    if (row < 0 || row >= m_grid->rowCount())
        return;
    ProfileWindow::open(m_grid->index(row, 0).data().toString(), this);
}

void FrmCode::exportShown() { ExportDialogs::exportExaminees(this, *Adodc2); }

void FrmCode::buildDeletionFrame() {
    Frame1 = new QGroupBox(QStringLiteral("حذف کردن آزمودني"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(2280, 5400, 8280, 1200));

    // The prompt stands next to its box.
    SkinLabel *prompt = addLabel(Frame1, "SkinLabel4", QStringLiteral("کد آزمودني را وارد کنيد"), 5520, 480, 2520);
    prompt->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    Text3 = new QLineEdit(Frame1);
    prompt->setBuddy(Text3);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(twipsRect(2640, 480, 2760, BoxHeight));
    keepAsciiDigits(Text3);
    connect(Text3, &QLineEdit::returnPressed, this, &FrmCode::deleteExaminee);

    Command2 = new QPushButton(QStringLiteral("حذف "), Frame1);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(240, 420, 2160, 465));
    // Enter in the code box is the only way to delete from the keyboard; no button is the default.
    Command2->setAutoDefault(false);
    connect(Command2, &QPushButton::clicked, this, &FrmCode::deleteExaminee);
}

SkinLabel *FrmCode::addLabel(QWidget *parent, const char *name, const QString &caption, int left, int top, int width) {
    auto *label = new SkinLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(twipsRect(left, top, width, BoxHeight));
    label->setWordWrap(false);
    label->setCaption(caption);
    return label;
}

// The captions are written to read left to right with the colon first (" :گروه"): laid out so
// (a left-to-right mark before them), the colon stands on the left, after the word as it reads in
// Persian, and next to the box.
SkinLabel *FrmCode::addSelectorLabel(const char *name, const QString &caption, int left, int width) {
    SkinLabel *label = addLabel(this, name, QChar(0x200E) + caption, left, SelectorTop, width);
    label->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    return label;
}

void FrmCode::chooseLastName(int row) {
    clearSelectorsExcept(DataCombo1);
    Adodc2->setFilter(lastNameField, DataCombo1->itemText(row));
}

void FrmCode::chooseFirstName(int row) {
    Adodc2->setFilter(firstNameField, DataCombo6->itemText(row));
    clearSelectorsExcept(DataCombo6);
}

void FrmCode::chooseGroup(const QString &group) {
    clearSelectorsExcept(Combo3);
    Adodc2->setFilter(groupField, group);
}

void FrmCode::clearSelectorsExcept(const QComboBox *operated) {
    for (QComboBox *name : {DataCombo1, DataCombo6}) {
        if (name == operated)
            continue;
        const QSignalBlocker quiet(name);
        name->setCurrentIndex(-1);
    }
    if (operated != Combo3) {
        const QSignalBlocker quiet(Combo3);
        Combo3->setCurrentIndex(-1);
        Combo3->setEditText(QString());
    }
}

void FrmCode::rereadExaminees() {
    Adodc2->refresh();
    m_names->refresh();
    clearSelectorsExcept(nullptr);
}

void FrmCode::deleteExaminee() {
    const QString code = Text3->text();
    if (code.isEmpty()) {
        showNotice(this, Notices::examineeCodeMissing);
        return;
    }
    // The grid shows the examinee alone while the question is asked; the selectors no longer apply.
    clearSelectorsExcept(nullptr);
    Adodc2->setFilter(codeField, code);
    if (Adodc2->recordCount() == 0) {
        showNotice(this, Notices::deleteCodeNotFound);
        Adodc2->refresh();
        return;
    }
    Adodc3->setFilter(codeField, code);
    Adodc4->setFilter(codeField, code);
    const auto answer = WaitingMessageBox::show(this, QStringLiteral("آيا براي حذف کردن مطمئن هستيد؟"), appTitle(),
                                                QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        QString error;
        if (!deleteExamineeRows(*Adodc3, *Adodc4, &error)) {
            WaitingMessageBox::show(this, error, QStringLiteral("Error"), QMessageBox::Warning);
            return;
        }
        showNotice(this, Notices::deleteDone);
    }
    rereadExaminees();
    Adodc3->refresh();
    Adodc4->refresh();
}
