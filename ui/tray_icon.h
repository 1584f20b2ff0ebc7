// acTrayIcon1: the program's icon in the notification area. Hides the main window into it
// and restores it; a single left click restores, the right button opens the tray menu.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QSystemTrayIcon>
#include <functional>

class QMenu;
class QWidget;

namespace nimbalo {

class TTrayIcon : public QObject {
  Q_OBJECT

 public:
  TTrayIcon(QWidget* window, QMenu* popupMenu);

  // Whether the desktop has a notification area; replaceable for tests (nullptr restores
  // the desktop's answer).
  static bool TrayAvailable();
  static void SetTrayAvailability(std::function<bool()> probe);

  // Any argument equal to "/minimized", ignoring case.
  static bool MinimizedSwitch(const QStringList& arguments);

  // The tooltip: `hint`, or the application title while it is empty.
  void SetHint(const QString& hint);
  QString Hint() const { return icon_.toolTip(); }

  // Hides the window into the notification area. Without a notification area there would
  // be no way back, so the window is minimised to the task bar instead and the user is
  // told why, once.
  void HideMainWindow();
  void RestoreMainWindow();
  // Hides the window at once and keeps the program from showing it when it starts.
  void StartMinimized();

  bool AppHidden() const { return app_hidden_; }
  bool StartsMinimized() const { return starts_minimized_; }
  // The program is ending: hiding and restoring do nothing from now on.
  void SetEnding() { ending_ = true; }

  QSystemTrayIcon& Icon() { return icon_; }

 private:
  void Activated(QSystemTrayIcon::ActivationReason reason);

  QPointer<QWidget> window_;
  QSystemTrayIcon icon_;
  bool app_hidden_ = false;
  bool starts_minimized_ = false;
  bool ending_ = false;
  bool told_no_tray_ = false;
};

}  // namespace nimbalo
