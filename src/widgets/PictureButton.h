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
// Tab reaches the button: the keyboard's focus lives on whichever picture shows, and while the
// button has its window's focus the highlighted picture shows, whatever the pointer does. Enter,
// Return or Space then press it. Assistive tools see a button named by its caption.
class PictureButton : public QObject {
    Q_OBJECT
public:
    // The pictures are labels of the window named plainName and highlightedName; caption is what
    // the pictures read.
    PictureButton(QWidget *window, const QRect &geometry, const char *plainName, const QPixmap &plain,
                  const char *highlightedName, const QPixmap &highlighted, const QString &caption);

    void showPlain();
    void showHighlighted();
    // Emits clicked(), as a click on the highlighted picture does.
    void click();

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *makePicture(QWidget *window, const QRect &geometry, const char *name, const QPixmap &picture,
                        const QString &caption);
    bool hasFocus() const;
    bool mouseEvent(QObject *watched, QEvent *event);
    bool keyEvent(QEvent *event);

    QLabel *m_plain;
    QLabel *m_highlighted;
    bool m_pressed = false;
};
