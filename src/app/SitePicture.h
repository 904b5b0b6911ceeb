#pragma once

#include <QString>
#include <QWidget>

// The picture of the vendor's web address on the main window: a banner with a globe and the
// address, drawn here; a click on it reports clicked().
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

private:
    void paintGlobe(QPainter &painter, const QRectF &box) const;
    QString m_address;
    bool m_pressed = false;
};
