#pragma once

#include <QObject>
#include <QPixmap>
#include <QRect>

class QLabel;
class QWidget;

// A button drawn as two pictures at one place, of which exactly one shows at a time: the plain
// picture, and the highlighted one. The pointer over the plain picture shows the highlighted one;
// the window shows the plain one again (showPlain) when the pointer crosses its background. A
// click therefore lands on the highlighted picture: pressed and released on it with the left
// button, it emits clicked(). The plain picture takes no click. Mouse events over either picture
// never reach the window behind.
class PictureButton : public QObject {
    Q_OBJECT
public:
    // The pictures are labels of the window named plainName and highlightedName.
    PictureButton(QWidget *window, const QRect &geometry, const char *plainName, const QPixmap &plain,
                  const char *highlightedName, const QPixmap &highlighted);

    void showPlain();
    void showHighlighted();

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *makePicture(QWidget *window, const QRect &geometry, const char *name, const QPixmap &picture);

    QLabel *m_plain;
    QLabel *m_highlighted;
    bool m_pressed = false;
};
