#pragma once

#include <QDialog>
#include <QList>

class DataSource;
class QLineEdit;
class QPushButton;
class QTextBrowser;
class SkinLabel;
class SkinObject;

// The psychometric-properties pages, opened modal over the main window: five pages of fixed text
// on the questionnaire, shown one at a time, with "بعد" and "قبل" and a page-number box the user
// may also type into. The box's text decides which page is shown.
class Frm2 : public QDialog {
    Q_OBJECT
public:
    explicit Frm2(QWidget *parent = nullptr);

    // The page box of a page number 1 to 5.
    QTextBrowser *page(int number) const;

private slots:
    void pageNumberChanged();
    void nextPage();
    void previousPage();

private:
    void buildControls();
    void buildPages();
    void showPage(int number);

    // The pages 1 to 5, in order (Pic1_1 to Pic1_5).
    QList<QTextBrowser *> Pic1;
    SkinLabel *Label1 = nullptr; // "شماره صفحه"
    QLineEdit *Text2 = nullptr;  // page number
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command6 = nullptr;
    DataSource *Adodc1 = nullptr;
    QLineEdit *Text1 = nullptr; // theme number (TH), hidden
    SkinObject *Skin1 = nullptr;
};
