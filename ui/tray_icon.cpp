#include "ui/tray_icon.h"

#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "app/program_info.h"
#include "app/prompt.h"
#include "ui/event_sound.h"
#include "ui/pictures.h"

namespace nimbalo {

namespace {
std::function<bool()> availability;

constexpr const char* kNoTrayNotice =
    "This desktop has no notification area (system tray), so Nimbalo cannot hide its "
    "window there.\n\nThe window is minimized to the task bar instead; Nimbalo keeps "
    "running until you choose Exit.";
}  // namespace

bool TTrayIcon::TrayAvailable() {
  return availability ? availability() : QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::SetTrayAvailability(std::function<bool()> probe) {
  availability = std::move(probe);
}

bool TTrayIcon::MinimizedSwitch(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i].compare(QLatin1String("/minimized"), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

TTrayIcon::TTrayIcon(QWidget* window, QMenu* popupMenu) : QObject(window), window_(window) {
  setObjectName("acTrayIcon1");
  icon_.setIcon(window->windowIcon().isNull() ? AppIcon() : window->windowIcon());
  icon_.setToolTip(QLatin1String(ApplicationTitle));
  icon_.setContextMenu(popupMenu);
  connect(&icon_, &QSystemTrayIcon::activated, this, &TTrayIcon::Activated);
}

void TTrayIcon::SetHint(const QString& hint) {
  // Linux notification areas take a tooltip of any length: the whole hint is kept.
  icon_.setToolTip(hint.isEmpty() ? QLatin1String(ApplicationTitle) : hint);
}

void TTrayIcon::HideMainWindow() {
  if (app_hidden_ || ending_ || !window_) return;
  if (!TrayAvailable()) {
    window_->showMinimized();
    // Told from the event loop, and only if the window is still down by then: a start that
    // shows the window right away (the first run) needs no explanation.
    QTimer::singleShot(0, this, [this] {
      if (told_no_tray_ || !window_ || (window_->isVisible() && !window_->isMinimized())) return;
      told_no_tray_ = true;
      UiPrompt().MessageBox(kNoTrayNotice, ApplicationTitle, PromptIcon::Information,
                            PromptButtons::Ok);
    });
    return;
  }
  icon_.show();
  window_->hide();
  app_hidden_ = true;
  PlayEventSound("window-minimized");
}

void TTrayIcon::RestoreMainWindow() {
  if (ending_ || !window_) return;
  window_->showNormal();
  window_->raise();
  window_->activateWindow();
  app_hidden_ = false;
  PlayEventSound("window-unminimized");
}

void TTrayIcon::StartMinimized() {
  starts_minimized_ = true;
  HideMainWindow();
}

void TTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
  if (reason != QSystemTrayIcon::Trigger || !window_) return;
  if (app_hidden_) {
    RestoreMainWindow();
  } else if (window_->isVisible()) {
    window_->raise();
    window_->activateWindow();
  }
}

}  // namespace nimbalo
