#include "app/prompt.h"

#include <cstdio>

#include "platform/encoding.h"

namespace nimbalo {

namespace {
class StderrPrompt : public Prompt {
 public:
  PromptResult MessageBox(const std::string& text, const std::string& caption, PromptIcon,
                          PromptButtons buttons) override {
    std::string message;
    for (std::size_t i = 0; i < text.size(); ++i) {
      // "\n\r" pairs are one line break on a terminal.
      if (text[i] == '\r' && i > 0 && text[i - 1] == '\n') continue;
      message += text[i];
    }
    std::fprintf(stderr, "%s: %s\n", Cp1252ToUtf8(caption).c_str(), Cp1252ToUtf8(message).c_str());
    switch (buttons) {
      case PromptButtons::Ok:
        return PromptResult::Ok;
      case PromptButtons::OkCancel:
        return PromptResult::Cancel;
      case PromptButtons::YesNo:
      case PromptButtons::YesNoCancel:
        return PromptResult::No;
    }
    return PromptResult::Cancel;
  }
};

StderrPrompt default_prompt;
Prompt* current = nullptr;
}  // namespace

Prompt& UiPrompt() {
  return current != nullptr ? *current : default_prompt;
}
void SetUiPrompt(Prompt* prompt) {
  current = prompt;
}

}  // namespace nimbalo
