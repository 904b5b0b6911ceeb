#include "widgets/FieldBinding.h"

#include "store/DataSource.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace {
// The tie between one control and one field. It is a child of the control, so it goes with the
// control; its connections to the source go with it, and a destroyed source leaves it idle.
// Binding the control again replaces it.
class FieldTie : public QObject {
    Q_OBJECT
public:
    FieldTie(QWidget *control, DataSource *source, const QString &field)
        : QObject(control), m_source(source), m_field(source ? source->fieldName(field) : QString()) {
        if (!source)
            return;
        if (m_field.isEmpty() && !field.isEmpty())
            source->value(field); // an unknown field: let the source report it
        connect(source, &DataSource::currentRowChanged, this, &FieldTie::show);
        connect(source, &DataSource::valueChanged, this, [this](const QString &changed, const QString &) {
            if (changed == m_field)
                show();
        });
    }

    // Shows the field in the control, without writing it back.
    void show() {
        if (!m_source || m_field.isEmpty())
            return;
        const bool wasShowing = m_showing;
        m_showing = true; // the control's change signal must not write the shown text back
        showText(m_source->value(m_field));
        m_showing = wasShowing;
    }

    // The control's text changed (typed or set by the program): write it into the field.
    void write(const QString &text) {
        if (m_showing || !m_source || m_field.isEmpty())
            return;
        m_source->setValue(m_field, text);
    }

    // Drops the control's tie at once. The tie object itself goes later, as it may be the one
    // whose handler is running (a window that rebinds from a change of the box).
    static void drop(QWidget *control) {
        const auto ties = control->findChildren<FieldTie *>(QString(), Qt::FindDirectChildrenOnly);
        for (FieldTie *tie : ties) {
            tie->m_source = nullptr;
            tie->setParent(nullptr);
            tie->deleteLater();
        }
    }

protected:
    virtual void showText(const QString &text) = 0;

private:
    QPointer<DataSource> m_source;
    QString m_field;
    bool m_showing = false;
};

class LineEditTie : public FieldTie {
public:
    LineEditTie(QLineEdit *box, DataSource *source, const QString &field) : FieldTie(box, source, field), m_box(box) {
        connect(box, &QLineEdit::textChanged, this, &FieldTie::write);
    }

protected:
    void showText(const QString &text) override {
        if (m_box->text() != text) // keeps the cursor where the user is typing
            m_box->setText(text);
    }

private:
    QLineEdit *m_box;
};

class LabelTie : public FieldTie {
public:
    LabelTie(QLabel *label, DataSource *source, const QString &field)
        : FieldTie(label, source, field), m_label(label) {}

protected:
    void showText(const QString &text) override { m_label->setText(text); }

private:
    QLabel *m_label;
};

class ComboBoxTie : public FieldTie {
public:
    ComboBoxTie(QComboBox *list, DataSource *source, const QString &field)
        : FieldTie(list, source, field), m_list(list) {
        connect(list, &QComboBox::currentTextChanged, this, &FieldTie::write);
    }

protected:
    // An editable list shows any text; a fixed list selects the matching entry, or none.
    void showText(const QString &text) override {
        if (m_list->isEditable())
            m_list->setEditText(text);
        else
            m_list->setCurrentIndex(m_list->findText(text, Qt::MatchExactly));
    }

private:
    QComboBox *m_list;
};

template <typename Tie, typename Control> void tie(Control *control, DataSource *source, const QString &field) {
    FieldTie::drop(control);
    if (!source)
        return;
    auto *newTie = new Tie(control, source, field);
    newTie->show();
}
} // namespace

namespace FieldBinding {
void bind(QLineEdit *box, DataSource *source, const QString &field) { tie<LineEditTie>(box, source, field); }
void bind(QLabel *label, DataSource *source, const QString &field) { tie<LabelTie>(label, source, field); }
void bind(QComboBox *list, DataSource *source, const QString &field) { tie<ComboBoxTie>(list, source, field); }
void unbind(QWidget *control) { FieldTie::drop(control); }
} // namespace FieldBinding

#include "FieldBinding.moc"
