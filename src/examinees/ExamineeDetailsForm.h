#pragma once

#include "examinees/ExamineeBoxes.h"

#include <QWidget>

class DataSource;
class QLineEdit;

// The examinee's details as the result sheet and the test window show them: a box or list for each
// of the examinee's fields, each with its label on its right, filling a frame of the window. The
// controls keep the object names and places each window has always given them.
class ExamineeDetailsForm : public QWidget {
    Q_OBJECT
public:
    // form: ExamineeBoxes::ResultSheet or ExamineeBoxes::TestWindow.
    ExamineeDetailsForm(QWidget *frame, ExamineeBoxes::Form form);

    // Binds the boxes to the fields of the examinee source's current row.
    void bind(DataSource *examinee);
    QLineEdit *codeBox() const;
    // What the field's control shows: a box's text, a list's current pick.
    QString text(ExamineeFields::Field field) const;

private:
    void addLabel(QWidget *box, const QString &caption, int field);

    ExamineeBoxes::Form m_form;
    QWidget *m_boxes[ExamineeFields::count] = {};
};
