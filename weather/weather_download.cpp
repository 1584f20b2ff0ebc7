#include "weather/weather_download.h"

#include <stdexcept>

#include "app/paths.h"
#include "app/program_info.h"
#include "config/ezcrypt.h"
#include "config/options.h"
#include "net/observation_url.h"
#include "platform/atomic_file.h"
#include "platform/local_time.h"
#include "weather/observation_parser.h"
#include "weather/weather.h"

namespace nimbalo {

std::string LongTimeNow() {
  return FormatLocalTime("%X");
}

WeatherDownload::WeatherDownload(WeatherHost& host, TimerService& timers)
    : WeatherTimer(timers), host_(host) {
  acHTTP1.Agent = DownloadAgent();
  acHTTP1.CacheOptions = coReloadIfNoExpireInformation | coReloadUpdatedObjects | coPragmaNoCache |
                         coCreateTempFilesIfCantCache | coUseCacheIfNetFail;
  acHTTP1.OnDone = [this](HttpFetcher&, const std::string& contentType, std::int64_t fileSize,
                          const std::string& stream) {
    acHTTP1Done(contentType, fileSize, stream);
  };
  acHTTP1.OnHTTPError = [this](HttpFetcher&, int errorCode, const std::string&) {
    acHTTP1HTTPError(errorCode);
  };
  acHTTP1.OnHostUnreachable = [this](HttpFetcher&) { acHTTP1HostUnreachable(); };
  acHTTP1.OnOutputFileError = [this](HttpFetcher&) { acHTTP1OutputFileError(); };
  acHTTP1.OnConnLost = [this](HttpFetcher&, const std::string&, std::int64_t, std::int64_t,
                              const std::string&) { acHTTP1ConnLost(); };
  acHTTP1.OnDoneInterrupted = [this](HttpFetcher&) { acHTTP1DoneInterrupted(); };
  acHTTP1.OnAborted = [this](HttpFetcher&) { acHTTP1Aborted(); };
  acHTTP1.OnWaitTimeoutExpired = [this](HttpFetcher&, bool& terminate) {
    acHTTP1WaitTimeoutExpired(terminate);
  };

  WeatherTimer.SetInterval(60000);
  WeatherTimer.SetActive(false);
  WeatherTimer.OnTimer = [this] { WeatherTimerTimer(); };
}

void WeatherDownload::ApplyProxy(HttpProxySettings& proxy) {
  switch (Options.ConnectType) {
    case 0:
      proxy.AccessType = atPreconfig;
      break;
    case 1:
      proxy.AccessType = atDirect;
      break;
    case 2:
      proxy.AccessType = atUseProxy;
      proxy.ProxyPort = Options.ProxyPort;
      proxy.ProxyUsername = Options.ProxyUser;
      proxy.ProxyServer = Options.ProxyServer;
      proxy.ProxyPassword = DecryptText(Options.ProxyPassword, kPasswordKey);
      break;
    default:
      break;  // any other value leaves the proxy as it was
  }
}

void WeatherDownload::StartDownload() {
  acHTTP1.URL = ObservationUrl(Options.StationID);
  acHTTP1.Referer = MakerAddress;
  ApplyProxy(acHTTP1.Proxy);
  acHTTP1.Fetch(false);
}

void WeatherDownload::ApplySettings() {
  if (Options.WeatherAutoUpdate) WeatherTimer.SetActive(true);
  if (Options.AutoUpdateSig) host_.ActivateSigTimer();
  ShowWeatherStatus();
  HttpProxySettings proxy;
  ApplyProxy(proxy);
  host_.ConfigureUpdateCheck(Options.AutoUpdate, proxy);
}

void WeatherDownload::ShowWeatherStatus() {
  if (Options.WeatherAutoUpdate) {
    const long long next = static_cast<long long>(Options.UpdateInterval) -
                           static_cast<long long>(WeatherTimer.TickCount());
    host_.SetStatusText("Auto Weather:True Interval:" + std::to_string(Options.UpdateInterval) +
                        " minute(s) Next update:" + std::to_string(next) + " minute(s)");
  } else {
    host_.SetStatusText("Auto Weather:False");
  }
}

void WeatherDownload::WeatherTimerTimer() {
  WeatherTimer.SetActive(false);
  try {
    if (static_cast<long long>(Options.UpdateInterval) ==
        static_cast<long long>(WeatherTimer.TickCount())) {
      StartDownload();
      WeatherTimer.Reset();
    }
    if (Options.AutoUpdate && Options.UpdateCheckDate != ShortDateToday()) {
      host_.StartUpdateCheck();
    }
  } catch (...) {
    if (Options.WeatherAutoUpdate) WeatherTimer.SetActive(true);
    throw;
  }
  if (Options.WeatherAutoUpdate) WeatherTimer.SetActive(true);
}

void WeatherDownload::acHTTP1Done(const std::string&, std::int64_t fileSize,
                                  const std::string& stream) {
  host_.SetStatusText("Weather Successfully downloaded " + std::to_string(fileSize) +
                      " bytes at:" + LongTimeNow());
  // Replaced whole: a command-line refresh may be reading it at the same moment.
  const std::string path = TempFolder + "/weather.dat";
  if (!WriteFileAtomically(path, stream)) throw std::runtime_error("Error writing " + path);
  ParseObservation();
  host_.ShowObservation(Options.CityState, CurrentWeather.Temperature);
  const std::string& weather = CurrentWeather.PresentWeather != "N/A"
                                   ? CurrentWeather.PresentWeather
                                   : CurrentWeather.SkyConditions;
  host_.SetTrayHint(weather + ", " + CurrentWeather.Temperature + "\r\n" + Options.CityState);
  if (StartupSigPending || SigRequested) {
    if (Options.SigOnStart || SigRequested) host_.GenerateSignatures();
    if (SigRequested) host_.ShowSigCreatedNotice();
    StartupSigPending = false;
    SigRequested = false;
  }
}

void WeatherDownload::acHTTP1HTTPError(int errorCode) {
  std::string text = "HTTP Error #";
  if (errorCode == 404) {
    text += "404: Document not found";
  } else if (errorCode == 500) {
    text += "500: CGI script failed";
  } else {
    text += std::to_string(errorCode);
  }
  host_.SetStatusText(text);
}

void WeatherDownload::acHTTP1HostUnreachable() {
  host_.SetStatusText("Host Unreachable");
}
void WeatherDownload::acHTTP1OutputFileError() {
  host_.SetStatusText("Error writing weather.dat");
}
void WeatherDownload::acHTTP1ConnLost() {
  host_.SetStatusText("Connection Lost");
}
void WeatherDownload::acHTTP1DoneInterrupted() {
  host_.SetStatusText("On Done Interrupted");
}
void WeatherDownload::acHTTP1Aborted() {
  host_.SetStatusText("Transfer Aborted");
}
void WeatherDownload::acHTTP1WaitTimeoutExpired(bool&) {
  host_.SetStatusText("Timed Out");
}

}  // namespace nimbalo
