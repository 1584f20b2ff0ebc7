// A data folder of its own for each test, with the settings and weather at their defaults.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/paths.h"
#include "app/prompt.h"
#include "config/options.h"
#include "tests/support/test_home.h"
#include "weather/weather.h"

namespace nimbalo::test {

class SignatureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DataFolder = home_.DataHome() + "/Nimbalo/";
    Options = TOptions{};
    Options.SigFolder = DataFolder + "sigs/";
    Options.CookieFile = DataFolder + "cookies.txt";
    CurrentWeather = TWeather{};
    MakeFolders(ImagesFolder());
    MakeFolders(Options.SigFolder);
  }

  static void Template(const std::string& name, const std::string& bytes) {
    WriteFile(TemplatesFolder() + name, bytes);
  }
  static std::string Output(const std::string& name) {
    return ReadFile(Options.SigFolder + "SIG_" + name);
  }
  static bool OutputExists(const std::string& name) {
    return FileExists(Options.SigFolder + "SIG_" + name);
  }

  TestHome home_;
};

// Keeps every message instead of showing it.
class RecordingPrompt : public Prompt {
 public:
  struct Message {
    std::string text;
    std::string caption;
    PromptIcon icon;
    PromptButtons buttons;
  };

  PromptResult MessageBox(const std::string& text, const std::string& caption, PromptIcon icon,
                          PromptButtons buttons) override {
    messages.push_back({text, caption, icon, buttons});
    return PromptResult::Ok;
  }

  std::vector<Message> messages;
};

}  // namespace nimbalo::test
