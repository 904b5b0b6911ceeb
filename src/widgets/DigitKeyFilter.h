#pragma once

#include "widgets/Notices.h"

#include <QObject>

class QLineEdit;

// Lets a box take digits only, from a lowest digit up to 9, typed on any keyboard (Persian and
// Arabic-Indic digits are stored as the ASCII digits they are). Backspace, Enter and keys that
// type nothing or run a shortcut (arrows, Tab, copy and paste) pass; any other typed character is
// dropped with a beep, and the box's timed notice says why. Pasted text is held to the same digits.
class DigitKeyFilter : public QObject {
    Q_OBJECT
public:
    static DigitKeyFilter *install(QLineEdit *box, char lowestDigit, const Notice &refusal);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DigitKeyFilter(QLineEdit *box, char lowestDigit, const Notice &refusal);
    bool takes(QChar digit) const;

    QLineEdit *m_box;
    char m_lowestDigit;
    Notice m_refusal;
};
