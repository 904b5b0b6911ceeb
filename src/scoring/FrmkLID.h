#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class DataSource;
class ExamineeDetailsForm;
class QFontMetrics;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class SkinLabel;
class SkinObject;

// The scoring window, a result sheet: it takes the main window's place, selects an examinee by
// code, scores the 40 answers when all are given, and shows the examinee's record (editable,
// saved by its own button) above the 20 mechanism scores and three style scores. Printing hands
// the fields on screen to the report. Closing it brings the main window back.
class FrmkLID : public QWidget {
    Q_OBJECT
public:
    explicit FrmkLID(QWidget *parent = nullptr);
    // Creates the window and shows it, not modal; it deletes itself when closed.
    static FrmkLID *showNew();
    // Selects the examinee by the code as typed into the input box of "select examinee": refuses an
    // empty or unknown code, or an answer row with unanswered items; else scores and shows it.
    void select(const QString &code);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void selectExaminee();
    void compute();
    void printReport();
    void saveChanges();

private:
    void createDataSources();
    void createDetailsFrame();
    void createScoreFrames();
    QGroupBox *createScoreFrame(const char *name, const QString &caption, int left, int top, int width, int height);
    void addScoreBox(QGroupBox *frame, int box, int left, int top, int width);
    void fitScoreCaptions();
    bool scoreCaptionsFit(const QFontMetrics &metrics) const;
    void createButtonFrame();
    void createAnswerFrame();
    void bindFields();
    QLineEdit *addBox(QWidget *parent, const char *name, int left, int top, int width, int height = 435);
    QPushButton *addButton(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
                           int height);

    QStringList answers() const;
    void showScores(const QStringList &answers);
    // The four frames of a result: shown after a scored selection, hidden after a refused one.
    void showResult(bool shown);
    void reportSaveFailure(const QString &error);

    SkinObject *m_skin = nullptr;
    // The code the shown examinee's row holds in the file, so a changed code can be carried over
    // to the answer row.
    QString m_storedCode;

    // Data sources: the settings row, the answer rows, the examinees.
    DataSource *Adodc1 = nullptr;
    DataSource *Adodc2 = nullptr;
    DataSource *Adodc3 = nullptr;

    QFrame *Frame5 = nullptr;                 // examinee details
    ExamineeDetailsForm *m_details = nullptr; // on Frame5
    QLineEdit *Text13 = nullptr;              // clinic name, hidden
    QLineEdit *Text16 = nullptr;              // clinic address, hidden
    QPushButton *Command2 = nullptr;

    QGroupBox *Frame3 = nullptr; // immature
    QGroupBox *Frame4 = nullptr; // mature
    QGroupBox *Frame6 = nullptr; // neurotic
    QList<QLineEdit *> Text3;    // the 23 score boxes
    QList<SkinLabel *> m_scoreLabels;

    QFrame *Frame1 = nullptr; // buttons
    QPushButton *Command1 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command5 = nullptr;
    QLineEdit *Text5 = nullptr; // the code last scored; empty when nothing is selected

    QFrame *m_answerFrame = nullptr;
    QList<QLineEdit *> Text2; // index 0 bound to no field, 1 to 40 to the answers
};
