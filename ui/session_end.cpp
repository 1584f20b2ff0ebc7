#include "ui/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace nimbalo {

namespace {
int signal_pipe[2] = {-1, -1};
constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signal_pipe[1], &byte, 1);
  errno = saved;
}
}  // namespace

SessionEndWatcher::SessionEndWatcher(QObject* parent) : QObject(parent) {
  if (::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEndWatcher::SignalArrived);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
      ::sigaction(number, &action, nullptr);
  }
  connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
    // Not cancelling the request agrees that the session may end.
    if (OnSessionEnding) OnSessionEnding();
  });
}

SessionEndWatcher::~SessionEndWatcher() {
  if (notifier_ == nullptr) return;
  for (const int number : kSignals)
    ::signal(number, SIG_DFL);
  ::close(signal_pipe[0]);
  ::close(signal_pipe[1]);
  signal_pipe[0] = signal_pipe[1] = -1;
}

void SessionEndWatcher::SignalArrived() {
  char buffer[16];
  while (::read(signal_pipe[0], buffer, sizeof buffer) > 0) {
  }
  if (OnTerminate) OnTerminate();
}

}  // namespace nimbalo
