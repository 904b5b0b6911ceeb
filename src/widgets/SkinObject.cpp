#include "widgets/SkinObject.h"

#include <QFile>
#include <QWidget>

SkinObject::SkinObject(QObject *parent) : QObject(parent) {}

bool SkinObject::loadSkin(const QString &fileName) {
    m_fileName.clear();
    m_styleSheet.clear();
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    m_styleSheet = QString::fromUtf8(contents);
    m_fileName = fileName;
    return true;
}

void SkinObject::applySkin(QWidget *window) {
    if (!window)
        return;
    const bool skinned = !m_fileName.isEmpty();
    window->setProperty(windowProperty(), skinned);
    // A window class of our own only paints a style-sheet background when asked to.
    window->setAttribute(Qt::WA_StyledBackground, skinned);
    window->setStyleSheet(m_styleSheet);
}

QString SkinObject::loadedFile() const { return m_fileName; }

QString SkinObject::styleSheet() const { return m_styleSheet; }

const char *SkinObject::windowProperty() { return "skinWindow"; }

void applyTheme(SkinObject *skin, QWidget *window, const QString &themeText) {
    if (!skin)
        return;
    // A number outside the table gives an empty name, which loads nothing and leaves the skin
    // object without a skin: the window then gets the plain look.
    skin->loadSkin(skinFileForThemeText(themeText));
    skin->applySkin(window);
}
