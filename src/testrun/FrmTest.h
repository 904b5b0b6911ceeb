#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class DataSource;
class ExamineeDetailsForm;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SkinLabel;
class SkinObject;

// The test window: one examinee answers the 40 items, one at a time, each from 1 to 9. The item
// number box decides which item shows; the answer box is bound to that item's field of the
// examinee's answer row, and every answer is stored as it is typed. The examinee's details can be
// corrected on the way and are stored by "ذخيره و خروج".
class FrmTest : public QDialog {
    Q_OBJECT
public:
    explicit FrmTest(QWidget *parent = nullptr);

    // Re-reads the answer and examinee sources, before a code is asked for.
    void rereadSources();
    // Narrows the answer and examinee sources to the examinee; false when no answer row holds the
    // code. An examinee without an examinee row answers with empty details that cannot be edited.
    bool selectExaminee(const QString &code);
    // The start screen of later test runs: details shown, title hidden, item number parked at 0.
    void prepareForNextRun();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void start();
    void nextItem();
    void previousItem();
    void saveAndExit();
    // The item-loading rule, run on every change of the item number box.
    void loadItem();
    void storeAnswer(const QString &field);

private:
    void buildControls();
    void fitInstructions();
    void buildDetailsFrame();
    QPushButton *addButton(const char *name, const QString &caption, int left, int top, int width, int height);
    void showItem(int item);
    void focusAnswer();
    void setItemNumber(int item);
    int itemNumber() const;
    bool storeDetails();

    SkinObject *Skin1 = nullptr;
    DataSource *Adodc1 = nullptr; // settings row (TH)
    DataSource *Adodc2 = nullptr; // the examinee's answer row
    DataSource *Adodc3 = nullptr; // the examinee's row
    DataSource *Adodc4 = nullptr; // answer rows: whether a changed code is free
    DataSource *Adodc5 = nullptr; // examinee rows: whether a changed code is free
    DataSource *Adodc6 = nullptr; // the current item's text
    QLineEdit *Text2 = nullptr;   // theme number, hidden

    SkinLabel *SkinLabel3 = nullptr; // title
    SkinLabel *SkinLabel4 = nullptr; // instructions

    QGroupBox *Frame1 = nullptr;              // examinee details
    ExamineeDetailsForm *m_details = nullptr; // on Frame1

    QGroupBox *Frame2 = nullptr; // answer frame, captioned with the item number
    QLineEdit *Text12 = nullptr; // answer box
    QPushButton *CmdBack = nullptr;
    QPushButton *CmdNext = nullptr;
    SkinLabel *SkinLbl5 = nullptr;   // question
    QLabel *Lbl1 = nullptr;          // the item text (QU), hidden; copied to the question
    QLineEdit *Text6 = nullptr;      // item number
    QPushButton *Command1 = nullptr; // start
    QPushButton *Command5 = nullptr; // save and exit
};
