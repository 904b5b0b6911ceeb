#pragma once

#include "common/Twips.h"
#include "widgets/SkinLabel.h"

#include <QPushButton>

// The controls the main window and its panels place, named and at their place in twips.
inline QPushButton *addButton(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
                              int height) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twipsRect(left, top, width, height));
    return button;
}

inline SkinLabel *addLabel(QWidget *parent, const char *name, int left, int top, int width, int height) {
    auto *label = new SkinLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(twipsRect(left, top, width, height));
    return label;
}
