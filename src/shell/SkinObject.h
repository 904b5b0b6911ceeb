#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The skin object of one window: loads a .skn file by bare name from the working folder (the
// program's folder) and applies it to a window. Applying without a loaded skin gives the window
// the plain default look.
class SkinObject : public QObject {
    Q_OBJECT
public:
    explicit SkinObject(QObject *parent = nullptr);
    // False when the file is missing or unreadable; nothing is loaded then.
    bool loadSkin(const QString &fileName);
    void applySkin(QWidget *window);
    QString loadedFile() const;
};

// The skin file for a theme number ("metallic.skn" for 8); empty unless the number is exactly
// one of the whole numbers 1 to 11.
QString skinFileForTheme(double themeNumber);

// What every skinned window does while it loads: read the theme number from the text of its box
// bound to TH, load the matching skin file (if any) and apply the skin to the window.
void applyTheme(SkinObject *skin, QWidget *window, const QString &themeText);
