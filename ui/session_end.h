// The end of the desktop session and termination signals. The session manager's request
// to save (commitDataRequest) means the session is ending; SIGTERM, SIGINT and SIGHUP ask
// the program to end. Both are handled on the event loop, so the program ends cleanly
// (tray icon removed, single-instance record released).
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace nimbalo {

class SessionEndWatcher : public QObject {
  Q_OBJECT

 public:
  // At most one per process.
  explicit SessionEndWatcher(QObject* parent = nullptr);
  ~SessionEndWatcher() override;

  std::function<void()> OnSessionEnding;
  std::function<void()> OnTerminate;

 private:
  void SignalArrived();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace nimbalo
