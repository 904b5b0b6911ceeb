#pragma once

#include "info/Credits.h"

#include <QDialog>
#include <QList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSvgRenderer;
class QTimer;

// The about box, opened modal over the main window: a small credits screen in which four labels
// roll upwards through the credit list in a loop, two of them change colour, and a line
// assembles itself from its letters. It reads and writes no data.
class About : public QDialog {
    Q_OBJECT
public:
    explicit About(QWidget *parent = nullptr);

public slots:
    // One step of each animation, as its timer runs it.
    void scrollCredits(); // Timer10, every 55 ms
    void changeColours(); // Timer1, every 700 ms
    void revealNext();    // Timer3, as fast as the platform allows, until the line is whole

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();
    void buildFades();
    QTimer *addTimer(const char *name, int intervalMs);

    QSvgRenderer *m_background = nullptr;
    QGroupBox *Frame1 = nullptr;
    // Label1 to Label4, top to bottom at opening.
    QList<QLabel *> m_labels;
    QLineEdit *Text1 = nullptr; // the reveal line
    QPushButton *Command1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer3 = nullptr;
    QTimer *Timer10 = nullptr;

    CreditLoop m_credits;
    RevealLine m_reveal;
    int m_colourCounter = 0;
};
