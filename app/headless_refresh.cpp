#include "app/headless_refresh.h"

#include <chrono>
#include <exception>

#include "app/prompt.h"
#include "platform/queue_dispatcher.h"
#include "signature/generator.h"
#include "weather/weather_download.h"

namespace nimbalo {

namespace {
// Passes messages on to standard error and remembers that there were any.
class CountingPrompt : public Prompt {
 public:
  PromptResult MessageBox(const std::string& text, const std::string& caption, PromptIcon icon,
                          PromptButtons buttons) override {
    ++messages;
    return UiPrompt().MessageBox(text, caption, icon, buttons);
  }
  int messages = 0;
};

class HeadlessHost : public WeatherHost {
 public:
  explicit HeadlessHost(bool makeSignatures) : make_signatures_(makeSignatures) {}
  void SetStatusText(const std::string& text) override { status = text; }
  void ShowObservation(const std::string&, const std::string&) override {}
  void SetTrayHint(const std::string&) override {}
  void GenerateSignatures() override {
    if (!make_signatures_) return;
    generated = true;
    if (auto memo = nimbalo::GenerateSignatures(converter_, prompt)) signature = std::move(*memo);
  }
  void ShowSigCreatedNotice() override {}
  void ActivateSigTimer() override {}
  void ConfigureUpdateCheck(bool, const HttpProxySettings&) override {}
  void StartUpdateCheck() override {}

  std::string status;
  bool generated = false;
  std::vector<std::string> signature;
  CountingPrompt prompt;

 private:
  bool make_signatures_;
  DuzTextTemplateConverter converter_;
};
}  // namespace

RefreshResult RunHeadlessRefresh(bool makeSignatures) {
  QueueDispatcher dispatcher;
  Dispatcher* previous = &UiDispatcher();
  SetUiDispatcher(&dispatcher);
  HeadlessHost host(makeSignatures);
  RefreshResult result;
  {
    WeatherDownload download(host);
    std::string failure;
    auto done = download.acHTTP1.OnDone;
    download.acHTTP1.OnDone = [&](HttpFetcher& sender, const std::string& type, std::int64_t size,
                                  const std::string& body) {
      try {
        done(sender, type, size, body);
      } catch (const std::exception& error) {
        failure = error.what();
      }
    };
    download.SigRequested = makeSignatures;
    download.StartDownload();
    dispatcher.RunUntil([&] { return !download.acHTTP1.Busy(); }, std::chrono::minutes(10));
    result.Status = failure.empty() ? host.status : failure;
    result.Ok = failure.empty() && !download.acHTTP1.Busy() &&
                host.status.rfind("Weather Successfully downloaded", 0) == 0 &&
                host.prompt.messages == 0;
  }
  SetUiDispatcher(previous);
  result.Signature = std::move(host.signature);
  if (makeSignatures && result.Ok && !host.generated) result.Ok = false;
  return result;
}

}  // namespace nimbalo
