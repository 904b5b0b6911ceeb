#pragma once

#include <QLabel>

// A caption or hint line drawn in the window's skin: shows its caption right to left as stored,
// wrapped at word breaks when it is longer than the label, and can be shown, hidden and moved
// (positions in twips). The window gives it its objectName.
class SkinLabel : public QLabel {
    Q_OBJECT
public:
    explicit SkinLabel(QWidget *parent = nullptr);
    void setCaption(const QString &caption);
    QString caption() const;
    void moveTwips(int left, int top);
};
