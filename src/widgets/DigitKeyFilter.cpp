#include "widgets/DigitKeyFilter.h"

#include "common/AsciiDigits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {
// Holds pasted or dropped text to the box's digits, folded to ASCII.
class DigitValidator : public QValidator {
public:
    DigitValidator(char lowestDigit, QObject *parent) : QValidator(parent), m_lowestDigit(lowestDigit) {}

    State validate(QString &input, int &) const override {
        input = withAsciiDigits(input);
        for (const QChar ch : std::as_const(input)) {
            if (ch < QLatin1Char(m_lowestDigit) || ch > QLatin1Char('9'))
                return Invalid;
        }
        return Acceptable;
    }

private:
    char m_lowestDigit;
};

// Keys that type nothing of their own: Backspace, Enter, Tab, Escape and the like, and shortcuts.
bool typesNoCharacter(const QKeyEvent *key) {
    const QString text = key->text();
    if (text.isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return true;
    return text.at(0).category() == QChar::Other_Control;
}
} // namespace

DigitKeyFilter *DigitKeyFilter::install(QLineEdit *box, char lowestDigit, const Notice &refusal) {
    return new DigitKeyFilter(box, lowestDigit, refusal);
}

DigitKeyFilter::DigitKeyFilter(QLineEdit *box, char lowestDigit, const Notice &refusal)
    : QObject(box), m_box(box), m_lowestDigit(lowestDigit), m_refusal(refusal) {
    box->setValidator(new DigitValidator(lowestDigit, this));
    box->installEventFilter(this);
}

bool DigitKeyFilter::takes(QChar digit) const {
    return digit >= QLatin1Char(m_lowestDigit) && digit <= QLatin1Char('9');
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_box || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (typesNoCharacter(key))
        return false;
    const QString digits = withAsciiDigits(key->text());
    for (const QChar digit : digits) {
        if (!takes(digit)) {
            QApplication::beep();
            showNotice(m_box->window(), m_refusal);
            return true;
        }
    }
    m_box->insert(digits);
    return true;
}
