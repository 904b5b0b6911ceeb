#pragma once

#include <QWidget>

class PictureButton;
class QCheckBox;
class QLabel;
class QTimer;

// The exit dialog: asks whether the user really wants to leave and offers a backup of the database
// on the way out. Borderless; the check box shows the caption, which alternates between two texts.
// It is the only window while it is up: confirming ends the program (or hands over to the backup
// window when the box is ticked), cancelling brings the main window back. Closed any other way
// (Alt+F4, Escape) it cancels, so the program is never left running without a window. The focus
// opens on the check box; Tab goes on to the confirm picture and then the cancel picture.
class exitpro : public QWidget {
    Q_OBJECT
public:
    explicit exitpro(QWidget *parent = nullptr);
    // Shows the loaded dialog, or a new one when none is loaded (not modal), and returns it.
    static exitpro *showDialog();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createTimers();
    QTimer *addTimer(const char *name);
    void confirm();
    void showBackupCaption();
    void showBackingUpCaption();
    void copyCaption();

    QLabel *Label1 = nullptr;
    QCheckBox *Check1 = nullptr;
    PictureButton *m_confirm = nullptr; // the pictures k1 and k2
    PictureButton *m_cancel = nullptr;  // the pictures C1 and C2
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;
    QTimer *tmCaptionAnimate = nullptr;
    // Confirmed: the program ends, or the backup window has taken over.
    bool m_confirmed = false;
};
