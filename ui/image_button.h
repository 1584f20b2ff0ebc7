// A button drawn from a picture, with a second picture and the hand pointer while the mouse
// is over it.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace nimbalo {

class TImageButton : public QAbstractButton {
  Q_OBJECT

 public:
  // `picture` and `hoverPicture` name SVG files of the resources.
  TImageButton(const QString& name, const QString& picture, const QString& hoverPicture,
               QWidget* parent);

  bool Hovered() const { return hovered_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QPixmap normal_;
  QPixmap hover_;
  bool hovered_ = false;
};

}  // namespace nimbalo
