// Message boxes and other questions to the user go through this interface, so that the
// GUI shows real dialogs, the command line prints to standard error and tests script the
// answers without blocking.
#pragma once

#include <string>

namespace nimbalo {

enum class PromptIcon { None, Error, Information, Question, Warning };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptResult { Ok, Cancel, Yes, No };

class Prompt {
 public:
  virtual ~Prompt() = default;
  // `text` and `caption` are Windows-1252; line breaks may be LF CR pairs, as written.
  virtual PromptResult MessageBox(const std::string& text, const std::string& caption,
                                  PromptIcon icon, PromptButtons buttons) = 0;
};

// The prompt of the running program: prints to standard error (answering Cancel/No to
// questions) until the GUI installs its own.
Prompt& UiPrompt();
void SetUiPrompt(Prompt* prompt);

}  // namespace nimbalo
