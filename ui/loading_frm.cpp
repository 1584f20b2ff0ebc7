#include "ui/loading_frm.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

#include "ui/pictures.h"

namespace nimbalo {

namespace {
constexpr QSize kSplashSize(380, 112);
}

TLoadingFrm::TLoadingFrm()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(Picture(QStringLiteral("splash.svg"), kSplashSize)) {
  setObjectName("LoadingFrm");
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kSplashSize);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

void TLoadingFrm::ShowNow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  show();
  raise();
  repaint();
}

void TLoadingFrm::paintEvent(QPaintEvent*) {
  QPainter(this).drawPixmap(0, 0, picture_);
}

void TLoadingFrm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      was_active_ = true;
    } else if (was_active_) {
      close();
    }
  }
  QWidget::changeEvent(event);
}

void TLoadingFrm::closeEvent(QCloseEvent* event) {
  QApplication::restoreOverrideCursor();
  QWidget::closeEvent(event);
}

}  // namespace nimbalo
