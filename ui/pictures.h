// The program's pictures, drawn from the SVG files in the resources at the screen's pixel
// density.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace nimbalo {

// `name` is a file under ":/images/", e.g. "main_screen.svg"; `size` in device-independent
// pixels.
QPixmap Picture(const QString& name, QSize size, qreal devicePixelRatio = 0);
QIcon AppIcon();

}  // namespace nimbalo
