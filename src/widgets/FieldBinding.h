#pragma once

#include <QObject>
#include <QString>

class DataSource;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// Ties a box, label or list to one field of a data source's current row. The control shows the
// field whenever the current row changes; a box or list that is edited, by the user or by the
// program, writes its text into the field. Binding a control again rebinds it (another source or
// field) and drops the old tie. A control bound with an empty field name shows and writes nothing.
namespace FieldBinding {
void bind(QLineEdit *box, DataSource *source, const QString &field);
void bind(QLabel *label, DataSource *source, const QString &field);
void bind(QComboBox *list, DataSource *source, const QString &field);
// Drops the control's tie, if any.
void unbind(QWidget *control);
} // namespace FieldBinding
