// TLoadingFrm: the splash window shown while the program starts.
#pragma once

#include <QWidget>

namespace nimbalo {

class TLoadingFrm : public QWidget {
  Q_OBJECT

 public:
  TLoadingFrm();

  // Shows the window centred on the screen and paints it at once.
  void ShowNow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QPixmap picture_;
  bool was_active_ = false;
};

}  // namespace nimbalo
