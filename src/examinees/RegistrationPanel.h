#pragma once

#include <QObject>
#include <QString>

#include <functional>

class DataSource;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QWidget;
class SkinLabel;
struct Notice;

// The main window's registration panel: the examinee's boxes bound to a new row of the examinee
// source, three lists whose picks go into hidden bound boxes (and stay picked for the next
// registration while the main window is loaded), save and cancel. A save checks the fields in a
// fixed order, refuses a code another examinee holds, and stores the examinee row and an answer
// row with forty empty answers together.
class RegistrationPanel : public QObject {
    Q_OBJECT
public:
    struct Sources {
        DataSource *examinees;     // the new row the boxes are bound to
        DataSource *answers;       // the new answer row
        DataSource *examineeCheck; // duplicate check: examinee rows
        DataSource *answerCheck;   // duplicate check: answer rows
    };
    // Makes the controls on the panel's frame. closePanels is the main window's panel-closing step.
    RegistrationPanel(QFrame *frame, const Sources &sources, std::function<void()> closePanels);

    // Once the panel shows: a new examinee row, today's date and time, the focus in the code box.
    void begin();

private slots:
    void save();
    void cancel();

private:
    QLineEdit *addBox(const char *name, const QString &label, int left, int top, int width, int labelWidth);
    QComboBox *addList(const char *name, const QStringList &items, const QString &label, int left, int top, int width,
                       int labelWidth, QLineEdit *hiddenBox);
    QLineEdit *addHiddenBox(const char *name);
    SkinLabel *addLabel(const QString &caption, int left, int top, int width);
    void copyListPicks();
    // The first empty field's notice, with the focus where it sends the user; false when none is empty.
    bool reportFirstEmptyField();
    void refuse(QWidget *focus, const Notice &notice);

    QFrame *m_frame;
    Sources m_sources;
    std::function<void()> m_closePanels;

    QLineEdit *Text11 = nullptr;      // code
    QLineEdit *Text6 = nullptr;       // first name
    QLineEdit *Text4 = nullptr;       // last name
    QLineEdit *Text5 = nullptr;       // age
    QComboBox *Combo1 = nullptr;      // marital status
    QLineEdit *Text15 = nullptr;      // marital status (Taahol), hidden
    QLineEdit *Text8 = nullptr;       // registration date
    QLineEdit *Text9 = nullptr;       // registration time
    QComboBox *Combo2 = nullptr;      // sex
    QLineEdit *Text16 = nullptr;      // sex (Jens), hidden
    QComboBox *Combo3 = nullptr;      // group
    QLineEdit *Text17 = nullptr;      // group (Group), hidden
    QLineEdit *Text7 = nullptr;       // education
    QPushButton *Command8 = nullptr;  // save
    QPushButton *Command10 = nullptr; // cancel
};
