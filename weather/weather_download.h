// The weather pipeline's driver: when the observation is downloaded, how the request is
// built, and what each outcome does (weather.dat, parse, labels, tray hint, requested
// signatures, status texts). The window side is reached through WeatherHost.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/minute_timer.h"
#include "net/http_fetcher.h"

namespace nimbalo {

class WeatherHost {
 public:
  virtual ~WeatherHost() = default;
  // The status bar's second panel.
  virtual void SetStatusText(const std::string& text) = 0;
  // LocationLBL and TempLBL after a successful download.
  virtual void ShowObservation(const std::string& location, const std::string& temperature) = 0;
  // The tray icon's hint (CR LF between weather and place).
  virtual void SetTrayHint(const std::string& hint) = 0;
  // Runs the signature generator with the window's converter and text view.
  virtual void GenerateSignatures() = 0;
  // The "New Sig Created!" notice.
  virtual void ShowSigCreatedNotice() = 0;
  // Turns the signature timer on (never off).
  virtual void ActivateSigTimer() = 0;
  // The program update check: its automatic mode and proxy, and a start.
  virtual void ConfigureUpdateCheck(bool automatic, const HttpProxySettings& proxy) = 0;
  virtual void StartUpdateCheck() = 0;
};

class WeatherDownload {
 public:
  explicit WeatherDownload(WeatherHost& host, TimerService& timers = TimerService::Shared());
  WeatherDownload(const WeatherDownload&) = delete;
  WeatherDownload& operator=(const WeatherDownload&) = delete;

  void StartDownload();
  void ApplySettings();
  void ShowWeatherStatus();
  void WeatherTimerTimer();

  // Handlers of acHTTP1.
  void acHTTP1Done(const std::string& contentType, std::int64_t fileSize,
                   const std::string& stream);
  void acHTTP1HTTPError(int errorCode);
  void acHTTP1HostUnreachable();
  void acHTTP1OutputFileError();
  void acHTTP1ConnLost();
  void acHTTP1DoneInterrupted();
  void acHTTP1Aborted();
  void acHTTP1WaitTimeoutExpired(bool& terminateThread);

  // The proxy settings of StartDownload, also handed to the update check.
  static void ApplyProxy(HttpProxySettings& proxy);

  HttpFetcher acHTTP1;
  MinuteTimer WeatherTimer;
  bool StartupSigPending = false;
  bool SigRequested = false;

 private:
  WeatherHost& host_;
};

// The current time in the user's long time format.
std::string LongTimeNow();

}  // namespace nimbalo
