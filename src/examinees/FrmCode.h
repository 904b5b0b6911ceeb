#pragma once

#include <QDialog>

class DataSource;
class DataSourceModel;
class DistinctValuesModel;
class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;
class SkinLabel;
class SkinObject;

// The examinee directory, opened modal over the main window: the registered examinees in a grid,
// narrowed by a last name, a first name or a group (one at a time), and the deletion of an
// examinee by code. It keeps nothing of its own; the grid and the name lists read the file as
// they are scrolled, so 100,000 examinees open as quickly as a few.
class FrmCode : public QDialog {
    Q_OBJECT
public:
    explicit FrmCode(QWidget *parent = nullptr);

    // The button "حذف ": asks, then deletes the examinee of the code typed, both rows at once.
    void deleteExaminee();
    // "نيمرخ نمرات": the profile of the examinee in a row of the grid (double-click, Enter or the
    // grid's menu).
    void openProfile(int row);
    // "خروجي CSV" (Ctrl+E, or the grid's menu): the examinees the grid shows, to a CSV file.
    void exportShown();

private:
    void buildControls();
    void buildSelectors();
    void buildGrid();
    void buildDeletionFrame();
    void buildGridActions();
    void showGridMenu(const QPoint &position);
    void createDataSources();
    SkinLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int left, int top, int width);
    SkinLabel *addSelectorLabel(const char *name, const QString &caption, int left, int width);
    QComboBox *addNameList(const char *name, DistinctValuesModel *values, int left);

    void chooseLastName(int row);
    void chooseFirstName(int row);
    void chooseGroup(const QString &group);
    // Empties the selectors other than the one the user operated; applies no filter of its own.
    void clearSelectorsExcept(const QComboBox *operated);
    // The grid and the name lists show the examinees of the file as it is now.
    void rereadExaminees();

    SkinObject *Skin1;
    DataSource *Adodc1; // settings row: the theme number
    DataSource *Adodc2; // examinees: the grid, under the look-up filter
    DataSource *Adodc3; // examinees: the row to delete
    DataSource *Adodc4; // answer rows: the row to delete
    // Examinees for the name lists, never filtered: every name stays on offer whatever the grid shows.
    DataSource *m_names;
    QLineEdit *Text1; // theme number (TH), hidden

    QTableView *DataGrid1;
    DataSourceModel *m_grid;
    SkinLabel *m_gridCaption;
    QComboBox *DataCombo1; // last names
    QComboBox *DataCombo6; // first names
    QComboBox *Combo3;     // groups
    QGroupBox *Frame1;
    QLineEdit *Text3; // the code to delete
    QPushButton *Command2;
    QPushButton *Command6;
    QAction *m_profileAction;
    QAction *m_exportAction;
};
