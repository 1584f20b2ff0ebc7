// Hands work to the user-interface thread. The GUI implements it on Qt's event loop; the
// command-line modes and the tests use QueueDispatcher.
#pragma once

#include <functional>

namespace nimbalo {

class Dispatcher {
 public:
  virtual ~Dispatcher() = default;
  // Queues `fn` to run on the user-interface thread and returns at once. Safe from any thread.
  virtual void Post(std::function<void()> fn) = 0;
  // Runs whatever is pending for the user-interface thread, then returns. Called on that
  // thread by waits that must keep the program responsive (Delay, RunAndWait).
  virtual void ProcessEvents() = 0;
};

// The dispatcher of the running program; a QueueDispatcher until the GUI installs its own.
Dispatcher& UiDispatcher();
// Installs `dispatcher` (nullptr restores the default). Not thread-safe: call at start-up.
void SetUiDispatcher(Dispatcher* dispatcher);

}  // namespace nimbalo
