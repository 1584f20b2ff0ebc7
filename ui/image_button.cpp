#include "ui/image_button.h"

#include <QPainter>

#include "ui/pictures.h"

namespace nimbalo {

namespace {
constexpr QSize kButtonSize(120, 42);
}

TImageButton::TImageButton(const QString& name, const QString& picture, const QString& hoverPicture,
                           QWidget* parent)
    : QAbstractButton(parent),
      normal_(Picture(picture, kButtonSize)),
      hover_(Picture(hoverPicture, kButtonSize)) {
  setObjectName(name);
  setFixedSize(kButtonSize);
  setFocusPolicy(Qt::TabFocus);
}

QSize TImageButton::sizeHint() const {
  return kButtonSize;
}

void TImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Pressed: the hover picture, nudged down by one pixel.
  const QPoint offset = isDown() ? QPoint(0, 1) : QPoint(0, 0);
  painter.drawPixmap(offset, hovered_ ? hover_ : normal_);
  if (hasFocus()) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1, Qt::DotLine));
    painter.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 6, 6);
  }
}

void TImageButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  setCursor(Qt::PointingHandCursor);
  update();
  QAbstractButton::enterEvent(event);
}

void TImageButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  unsetCursor();
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace nimbalo
