#pragma once

#include "examinees/ExamineeFields.h"

#include <QString>

class DataSource;
class QWidget;

// Which box shows each of the examinee's fields: in the main window's registration panel, and in
// the details form of the result sheet and of the test window. Boxes are known by their object
// names; a list's pick goes into its field as a box's text does.
namespace ExamineeBoxes {
enum Form { Registration, ResultSheet, TestWindow };

// The object name of the box that shows the field in the form.
QString name(ExamineeFields::Field field, Form form);

// Binds the form's boxes, found by name among the container's children, to the fields of the
// examinee source's current row.
void bind(const QWidget *container, Form form, DataSource *examinee);
} // namespace ExamineeBoxes
