// The application's default error handler: an error that leaves an event handler is shown
// in a message box with its text, and the program runs on.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace nimbalo {

void ShowError(const std::string& text);

// Runs an event handler; whatever it throws ends up in ShowError.
template <typename Handler>
void Guarded(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError("Unexpected error");
  }
}

}  // namespace nimbalo
