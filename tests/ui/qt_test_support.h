// Shared pieces of the Qt tests: a main that runs on the offscreen platform with the Qt
// dispatcher, a scripted prompt and notice presenter that never block, and a helper that
// answers the next modal dialog.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/notice.h"
#include "app/prompt.h"
#include "platform/dispatcher.h"
#include "ui/qt_dispatcher.h"

namespace nimbalo::test {

struct PromptCall {
  std::string Text;
  std::string Caption;
  PromptIcon Icon;
  PromptButtons Buttons;
};

class ScriptedPrompt : public Prompt {
 public:
  std::vector<PromptCall> Calls;
  // Answers in order; when none is left: Ok for an Ok box, else Cancel.
  std::deque<PromptResult> Answers;

  PromptResult MessageBox(const std::string& text, const std::string& caption, PromptIcon icon,
                          PromptButtons buttons) override {
    Calls.push_back({text, caption, icon, buttons});
    if (!Answers.empty()) {
      const PromptResult answer = Answers.front();
      Answers.pop_front();
      return answer;
    }
    return buttons == PromptButtons::Ok ? PromptResult::Ok : PromptResult::Cancel;
  }
};

class RecordingNotices : public NoticePresenter {
 public:
  std::vector<std::string> Shown;
  NoticeAnswer Answer{true, false};

  NoticeAnswer PresentNotice(const std::string&, const std::string& text) override {
    Shown.push_back(text);
    return Answer;
  }
};

// Calls `act` with the next modal widget as soon as it is open.
inline void OnNextModal(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer(qApp);
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      act(modal);
    }
  });
  poll->start();
}

}  // namespace nimbalo::test

// Like QTEST_MAIN, on the offscreen platform unless told otherwise, with the program's
// dispatcher on Qt's event loop.
#define NIMBALO_QTEST_MAIN(TestClass)                     \
  int main(int argc, char** argv) {                       \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) { \
      qputenv("QT_QPA_PLATFORM", "offscreen");            \
    }                                                     \
    QApplication app(argc, argv);                         \
    app.setApplicationName(QStringLiteral("Nimbalo"));    \
    nimbalo::QtDispatcher dispatcher;                     \
    nimbalo::SetUiDispatcher(&dispatcher);                \
    int result = 0;                                       \
    {                                                     \
      TestClass test;                                     \
      result = QTest::qExec(&test, argc, argv);           \
    }                                                     \
    nimbalo::SetUiDispatcher(nullptr);                    \
    return result;                                        \
  }
