#include "ui/error_handler.h"

#include "app/program_info.h"
#include "app/prompt.h"

namespace nimbalo {

void ShowError(const std::string& text) {
  try {
    UiPrompt().MessageBox(text, ApplicationTitle, PromptIcon::Error, PromptButtons::Ok);
  } catch (...) {
    // Nothing is left to tell the user with; the program runs on.
  }
}

}  // namespace nimbalo
