#pragma once

#include <QString>
#include <QWidget>

// The picture of the vendor's web address on the main window: a banner with a globe and the
// address, drawn here. It is a link: a click on it, Enter or Space while it has the focus (Tab
// reaches it), or the press of assistive tools, which see a link named by its address, reports
// clicked().
class SitePicture : public QWidget {
    Q_OBJECT
public:
    explicit SitePicture(const QString &address, QWidget *parent = nullptr);
    QString address() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void paintGlobe(QPainter &painter, const QRectF &box) const;
    QString m_address;
    bool m_pressed = false;
};
