#pragma once

#include <QPixmap>
#include <QWidget>

class PictureButton;

// The theme-change window: shown alone after a theme is chosen, it tells that the change is done
// and brings the main window back (loaded anew, so in the new look) through its confirm picture.
// Unskinned; its face is one picture. The confirm picture has a normal image k1 and a
// highlighted image k2 at the same place: the mouse over k1 shows k2, the mouse over the face
// shows k1 again, and a click on k2 confirms. By the keyboard: Tab puts the focus on the confirm
// picture, which shows k2 while it has it, and Enter or Space confirms. Closed any other way, it
// leaves no window open.
class Frmskin : public QWidget {
    Q_OBJECT
public:
    explicit Frmskin(QWidget *parent = nullptr);
    // Creates the window and shows it, not modal; it deletes itself when closed.
    static Frmskin *showNew();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void confirm();

    QPixmap m_face;
    PictureButton *m_confirm = nullptr; // the pictures k1 and k2
};
