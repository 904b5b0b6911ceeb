#pragma once

#include "widgets/ThemeTable.h"

#include <QObject>
#include <QString>

class QWidget;

// The skin object of one window: loads a .skn file by bare name from the working folder (the
// program's folder) and applies it to a window. Our .skn files are Qt style sheets. Applying
// without a loaded skin gives the window the plain default look.
class SkinObject : public QObject {
    Q_OBJECT
public:
    explicit SkinObject(QObject *parent = nullptr);
    // False when the file is missing or unreadable; nothing is loaded then.
    bool loadSkin(const QString &fileName);
    // The window and all its controls (and the boxes it owns) are drawn in the loaded skin.
    void applySkin(QWidget *window);
    // The file of the loaded skin; empty when none is loaded.
    QString loadedFile() const;
    // The style sheet of the loaded skin; empty when none is loaded.
    QString styleSheet() const;

    // The dynamic property that marks a skinned window, so a skin can paint the window's face
    // apart from the panels and controls on it: *[skinWindow="true"] { ... }.
    static const char *windowProperty();

private:
    QString m_fileName;
    QString m_styleSheet;
};

// What every skinned window does while it loads: read the theme number from the text of its box
// bound to TH, load the matching skin file (if any) and apply the skin to the window.
void applyTheme(SkinObject *skin, QWidget *window, const QString &themeText);
