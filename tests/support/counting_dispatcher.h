// Installs itself as the user-interface dispatcher for one scope and counts how often the
// event loop was pumped; posted work is dropped.
#pragma once

#include "platform/dispatcher.h"

namespace nimbalo::test {

class CountingDispatcher : public Dispatcher {
 public:
  CountingDispatcher() { SetUiDispatcher(this); }
  ~CountingDispatcher() override { SetUiDispatcher(nullptr); }
  CountingDispatcher(const CountingDispatcher&) = delete;
  CountingDispatcher& operator=(const CountingDispatcher&) = delete;

  void Post(std::function<void()>) override {}
  void ProcessEvents() override { ++pumped; }

  int pumped = 0;
};

}  // namespace nimbalo::test
