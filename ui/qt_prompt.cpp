#include "ui/qt_prompt.h"

#include <QMessageBox>

#include "ui/qt_text.h"

namespace nimbalo {

namespace {
QMessageBox::Icon ToQt(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Error:
      return QMessageBox::Critical;
    case PromptIcon::Information:
      return QMessageBox::Information;
    case PromptIcon::Question:
      return QMessageBox::Question;
    case PromptIcon::Warning:
      return QMessageBox::Warning;
    case PromptIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok:
      return QMessageBox::Ok;
    case PromptButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

PromptResult FromQt(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return PromptResult::Ok;
    case QMessageBox::Yes:
      return PromptResult::Yes;
    case QMessageBox::No:
      return PromptResult::No;
    default:
      return PromptResult::Cancel;
  }
}
}  // namespace

QString PromptText(const std::string& text) {
  QString result = FromCp1252(text);
  result.replace(QLatin1String("\n\r"), QLatin1String("\n"));
  result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return result;
}

PromptResult QtPrompt::MessageBox(const std::string& text, const std::string& caption,
                                  PromptIcon icon, PromptButtons buttons) {
  QWidget* parent = owner_ && owner_->isVisible() ? owner_.data() : nullptr;
  QMessageBox box(ToQt(icon), FromCp1252(caption), PromptText(text), ToQt(buttons), parent);
  box.setWindowModality(Qt::ApplicationModal);
  // With none of our windows on screen (the program sits in the tray) the box must still
  // come to the front.
  if (parent == nullptr) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return FromQt(box.exec());
}

}  // namespace nimbalo
