// Message boxes of the desktop program, owned by the window that raises them.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/prompt.h"

namespace nimbalo {

class QtPrompt : public Prompt {
 public:
  // Boxes are owned by `owner` while it exists, else by no window.
  void SetOwner(QWidget* owner) { owner_ = owner; }

  PromptResult MessageBox(const std::string& text, const std::string& caption, PromptIcon icon,
                          PromptButtons buttons) override;

 private:
  QPointer<QWidget> owner_;
};

// Line breaks written as LF CR (or CR LF) become one line break.
QString PromptText(const std::string& text);

}  // namespace nimbalo
