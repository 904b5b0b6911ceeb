#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

// The theme-change window: shown alone after a theme is chosen, it tells that the change is done
// and brings the main window back (loaded anew, so in the new look) through its confirm picture.
// Unskinned; its face is one picture. The confirm picture has a normal image k1 and a
// highlighted image k2 at the same place: the mouse over k1 shows k2, the mouse over the face
// shows k1 again, and a click on k2 confirms. Closed any other way, it leaves no window open.
class Frmskin : public QWidget {
    Q_OBJECT
public:
    explicit Frmskin(QWidget *parent = nullptr);
    // Creates the window and shows it, not modal; it deletes itself when closed.
    static Frmskin *showNew();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *makeConfirmImage(const char *name, bool highlighted);
    void showNormalImage();
    void showHighlightedImage();
    void confirm();

    QPixmap m_face;
    QLabel *k1 = nullptr;
    QLabel *k2 = nullptr;
    bool m_pressedOnK2 = false;
};
