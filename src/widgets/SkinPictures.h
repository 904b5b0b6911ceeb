#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The pictures of the theme-change window and of the exit dialog's buttons, drawn here so that their Persian words are shaped and
// joined by the text engine. Pixmaps carry a pixel ratio of 2 so they stay sharp when scaled.
namespace SkinPictures {
// The heading "change the program's theme" and the sentence "the changes were completed".
QString headingText();
QString doneText();
// The word for confirm, beside a tick.
QString confirmText();
// The word for cancel, beside a no-entry sign.
QString cancelText();

// The whole face of the window: both texts as one picture.
QPixmap themeChangeFace(const QSize &size);
// The confirm button: normal, or highlighted while the mouse is over it.
QPixmap confirmPicture(const QSize &size, bool highlighted);
// The cancel button, the same way.
QPixmap cancelPicture(const QSize &size, bool highlighted);
} // namespace SkinPictures
