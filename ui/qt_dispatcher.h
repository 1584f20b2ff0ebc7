// The user-interface thread's dispatcher on Qt's event loop.
#pragma once

#include "platform/dispatcher.h"

namespace nimbalo {

class QtDispatcher : public Dispatcher {
 public:
  void Post(std::function<void()> fn) override;
  void ProcessEvents() override;
};

}  // namespace nimbalo
