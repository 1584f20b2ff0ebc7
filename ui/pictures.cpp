#include "ui/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

// The pictures are compiled into the static GUI library, whose resource registration the
// linker would drop unless something refers to it.
static void InitPictureResources() {
  Q_INIT_RESOURCE(images);
}

namespace nimbalo {

QPixmap Picture(const QString& name, QSize size, qreal devicePixelRatio) {
  static const bool registered = (InitPictureResources(), true);
  Q_UNUSED(registered);
  if (devicePixelRatio <= 0) devicePixelRatio = qApp ? qApp->devicePixelRatio() : 1.0;
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(QStringLiteral(":/images/") + name);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QIcon AppIcon() {
  // Drawn at the usual sizes by ourselves, so no icon-engine plug-in is needed.
  static const QIcon icon = [] {
    QIcon result;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
      result.addPixmap(Picture(QStringLiteral("nimbalo.svg"), QSize(side, side), 1.0));
    }
    return result;
  }();
  return icon;
}

}  // namespace nimbalo
